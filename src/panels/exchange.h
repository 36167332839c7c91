#pragma once
// The commodity exchange page: the last quote with its picture, the history
// of quotes (newest first, at most 100) and the ticker. A double-click on a
// history line trades that commodity.

#include <cstdint>
#include <deque>
#include <string>

#include "panels/panel_pictures.h"
#include "panels/panel_views.h"
#include "panels/ticker.h"

class MainView;

class Exchange {
public:
    Exchange(MainView& view, ExchangeView& page);

    void EnterExchange(const std::string& name);
    void ExchangeBuys(const std::string& name, int32_t price);
    void ExchangeSells(const std::string& name, int32_t price, int32_t stock);

    // HistoryListBoxClick / HistoryListBoxDblClick with the selected line.
    void HistoryListBoxClick(const std::string& line);
    void TradeFromHistory(const std::string& line);

    Ticker& GetTicker() { return ticker; }
    const std::deque<std::string>& History() const { return history; }

    static constexpr std::size_t kHistoryLines = 100;
    static const char* const kHistoryHint;

private:
    void ShowCommodityPicture(const std::string& name);
    void AddHistory(const std::string& line);

    MainView& view;
    ExchangeView& page;
    Ticker ticker;
    std::deque<std::string> history;
    PictureFinder pictures;
};

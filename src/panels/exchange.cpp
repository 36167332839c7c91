#include "panels/exchange.h"

#include "panels/panel_pictures.h"
#include "views/mainview.h"

const char* const Exchange::kHistoryHint = "Double click on an entry to buy or sell that commodity";

Exchange::Exchange(MainView& v, ExchangeView& p)
    : view(v)
    , page(p)
    , ticker(p)
{
}

void Exchange::EnterExchange(const std::string& name)
{
    if (const std::string path = pictures.Find("exchange", "exchange"); !path.empty())
        page.LoadExchangePicture(path);
    page.ShowExchangePage();
    page.SetExchangeCaption(" " + name + " Commodity Exchange ");
    // The ticker's run goes on and refills the line at its next step.
    page.SetCommodity({}, {}, {});
    page.SetTickerText({});
    history.clear();
    page.ClearHistory();
    page.SetHistoryHint(kHistoryHint);
}

void Exchange::ExchangeBuys(const std::string& name, int32_t price)
{
    const std::string at = std::to_string(price) + "/ton";
    ShowCommodityPicture(name);
    page.SetCommodity(name, "Exch buys at " + at, {});
    AddHistory("Exch buys " + name + " at " + at);
    ticker.TickerStep("+++ Exchange buys " + name + " at " + at + " +++");
}

void Exchange::ExchangeSells(const std::string& name, int32_t price, int32_t stock)
{
    const std::string at = std::to_string(price) + "/ton";
    ShowCommodityPicture(name);
    page.SetCommodity(name, std::to_string(stock) + " tons available", "Exch sells at " + at);
    AddHistory("Exch sells " + name + " at " + at + " (" + std::to_string(stock) + ")");
    ticker.TickerStep("+++ Exchange sells " + name + " at " + at + " +++");
}

void Exchange::HistoryListBoxClick(const std::string& line)
{
    page.SetHistoryHint(line);
}

void Exchange::TradeFromHistory(const std::string& line)
{
    // "Exch sells ..." is bought, "Exch buys ..." sold; the commodity is the
    // word after the verb.
    constexpr std::size_t kVerb = 5;
    if (line.size() <= kVerb)
        return;
    const std::string word = line[kVerb] == 's' ? ">buy " : ">sell ";
    const std::size_t first = line.find(' ', kVerb);
    if (first == std::string::npos)
        return;
    const std::size_t second = line.find(' ', first + 1);
    if (second == std::string::npos)
        return;
    const std::string command = word + line.substr(first + 1, second - first - 1);
    view.DisplayText(command);
    view.SendText(command.substr(1) + "\n");
}

void Exchange::ShowCommodityPicture(const std::string& name)
{
    if (const std::string path = pictures.Find(name, "exchange"); !path.empty())
        page.LoadExchangePicture(path);
}

void Exchange::AddHistory(const std::string& line)
{
    history.push_front(line);
    page.InsertHistoryLine(line);
    if (history.size() > kHistoryLines) {
        history.pop_back();
        page.RemoveHistoryLine(static_cast<int>(kHistoryLines));
    }
}

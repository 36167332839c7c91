#pragma once
// What the status panels need of the window, one small interface per page,
// so the records and the ticker run (and are tested) without widgets.

#include <cstdint>
#include <string>

// Bar colours: the neutral one is the system's button face.
enum class BarColour { Neutral, Yellow, Red };

// One page of the statistics panel: "Score" or "Spaceship".
class StatsPageView {
public:
    virtual ~StatsPageView() = default;
    // Grid row 0..7: its label (column 0) and value (column 1).
    virtual void SetRow(int row, const std::string& label, const std::string& value) = 0;
    // The grid's selected row, -1 when none.
    virtual int SelectedRow() const = 0;
    // The group box caption and the bar: position 0..100 and colour.
    virtual void ShowBar(const std::string& caption, int position, BarColour colour) = 0;
    // NameLabel or ClassLabel.
    virtual void SetHeading(const std::string& text) = 0;
    // RankLabel (the Spaceship page has none).
    virtual void SetSubheading(const std::string& text) = 0;
    virtual void LoadPicture(const std::string& path) = 0;
};

// The ticker line of the exchange page and its 50 ms timer.
class TickerView {
public:
    virtual ~TickerView() = default;
    virtual void SetTickerText(const std::string& text) = 0;
    virtual void StartTickerTimer() = 0;
    virtual void StopTickerTimer() = 0;
};

// The "Exch" page.
class ExchangeView : public TickerView {
public:
    virtual void ShowExchangePage() = 0;
    // LastExchGroup's caption.
    virtual void SetExchangeCaption(const std::string& text) = 0;
    // CommodNameLabel, CommodLabel1, CommodLabel2.
    virtual void SetCommodity(const std::string& name, const std::string& line1, const std::string& line2) = 0;
    virtual void LoadExchangePicture(const std::string& path) = 0;
    // HistoryListBox: a new first line, removing a line, emptying, the hint.
    virtual void InsertHistoryLine(const std::string& text) = 0;
    virtual void RemoveHistoryLine(int index) = 0;
    virtual void ClearHistory() = 0;
    virtual void SetHistoryHint(const std::string& text) = 0;
};

struct LightColour {
    uint8_t red, green, blue;
    bool operator==(const LightColour&) const = default;
};

// The ten console lights and their 200 ms timer.
class LightsView {
public:
    virtual ~LightsView() = default;
    virtual void SetLight(int index, LightColour colour) = 0;
    // All ten back to the button face.
    virtual void ResetLights() = 0;
    virtual void StartTwinkleTimer() = 0;
    virtual void StopTwinkleTimer() = 0;
};

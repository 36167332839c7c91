#pragma once
// Recording stand-ins for the status panels' pages.

#include <array>
#include <string>
#include <vector>

#include "panels/panel_views.h"

class FakeStatsPage : public StatsPageView {
public:
    struct Bar {
        std::string caption;
        int position = 0;
        BarColour colour = BarColour::Neutral;
        bool operator==(const Bar&) const = default;
    };
    std::array<std::pair<std::string, std::string>, 8> rows;
    int selected = -1;
    std::vector<Bar> bars;
    std::string heading, subheading, picture;

    // Labels of the rows, empty ones included.
    std::vector<std::string> Labels() const
    {
        std::vector<std::string> out;
        for (const auto& row : rows)
            out.push_back(row.first);
        return out;
    }

    void SetRow(int row, const std::string& label, const std::string& value) override
    {
        rows.at(static_cast<std::size_t>(row)) = {label, value};
    }
    int SelectedRow() const override { return selected; }
    void ShowBar(const std::string& caption, int position, BarColour colour) override
    {
        bars.push_back({caption, position, colour});
    }
    void SetHeading(const std::string& text) override { heading = text; }
    void SetSubheading(const std::string& text) override { subheading = text; }
    void LoadPicture(const std::string& path) override { picture = path; }
};

class FakeExchangePage : public ExchangeView {
public:
    std::string ticker = std::string(74, ' ');
    bool timerRunning = false;
    int pageShown = 0;
    std::string caption = " No Exchange ", name, line1, line2, picture, hint;
    std::vector<std::string> history;

    void SetTickerText(const std::string& text) override { ticker = text; }
    void StartTickerTimer() override { timerRunning = true; }
    void StopTickerTimer() override { timerRunning = false; }
    void ShowExchangePage() override { ++pageShown; }
    void SetExchangeCaption(const std::string& text) override { caption = text; }
    void SetCommodity(const std::string& n, const std::string& l1, const std::string& l2) override
    {
        name = n;
        line1 = l1;
        line2 = l2;
    }
    void LoadExchangePicture(const std::string& path) override { picture = path; }
    void InsertHistoryLine(const std::string& text) override { history.insert(history.begin(), text); }
    void RemoveHistoryLine(int index) override { history.erase(history.begin() + index); }
    void ClearHistory() override { history.clear(); }
    void SetHistoryHint(const std::string& text) override { hint = text; }
};

class FakeLights : public LightsView {
public:
    static constexpr LightColour kButtonFace{240, 240, 240};
    static constexpr LightColour kDefault{0, 0, 0};
    std::array<LightColour, 10> lights{};
    bool timerRunning = false;

    void SetLight(int index, LightColour colour) override { lights.at(static_cast<std::size_t>(index)) = colour; }
    void ResetLights() override { lights.fill(kButtonFace); }
    void StartTwinkleTimer() override { timerRunning = true; }
    void StopTwinkleTimer() override { timerRunning = false; }
};

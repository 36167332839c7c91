#pragma once
// Recording stand-ins for the status panels' pages: they decide nothing.

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "panels/panel_views.h"

class FakeStatsPage : public StatsPageView {
public:
    using Bar = std::tuple<std::string, int, BarColour>; // caption, position, colour
    std::array<std::pair<std::string, std::string>, 8> rows;
    int selected = -1;
    std::vector<Bar> bars;
    std::string heading, subheading, picture;

    std::string Labels() const // "Cash|Stamina||||||"
    {
        std::string out;
        for (const auto& row : rows)
            out += row.first + "|";
        return out;
    }
    void SetRow(int row, const std::string& label, const std::string& value) override { rows.at(row) = {label, value}; }
    int SelectedRow() const override { return selected; }
    void ShowBar(const std::string& caption, int position, BarColour colour) override
    {
        bars.push_back({caption, position, colour});
    }
    void SetHeading(const std::string& text) override { heading = text; }
    void SetSubheading(const std::string& text) override { subheading = text; }
    void LoadPicture(const std::string& path) override { picture = path; }
};

// Every call as one text, e.g. "commodity:Grain|30 tons available|...".
class FakeExchangePage : public ExchangeView {
public:
    std::vector<std::string> calls;
    std::string ticker; // the text last shown

    void SetTickerText(const std::string& text) override { ticker = text; }
    void StartTickerTimer() override { calls.push_back("start"); }
    void StopTickerTimer() override { calls.push_back("stop"); }
    void ShowExchangePage() override { calls.push_back("page"); }
    void SetExchangeCaption(const std::string& text) override { calls.push_back("caption:" + text); }
    void SetCommodity(const std::string& n, const std::string& a, const std::string& b) override
    {
        calls.push_back("commodity:" + n + "|" + a + "|" + b);
    }
    void LoadExchangePicture(const std::string& path) override { calls.push_back("picture:" + path); }
    void InsertHistoryLine(const std::string& text) override { calls.push_back("insert:" + text); }
    void RemoveHistoryLine(int index) override { calls.push_back("remove:" + std::to_string(index)); }
    void ClearHistory() override { calls.push_back("clear"); }
    void SetHistoryHint(const std::string& text) override { calls.push_back("hint:" + text); }
};

// Every call as one text: "start", "stop", "reset", or "3:255,0,0" for a light set.
struct FakeLights : LightsView {
    std::vector<std::string> calls;

    void SetLight(int index, LightColour c) override
    {
        calls.push_back(std::to_string(index) + ":" + std::to_string(c.red) + "," + std::to_string(c.green) + ","
            + std::to_string(c.blue));
    }
    void ResetLights() override { calls.push_back("reset"); }
    void StartTwinkleTimer() override { calls.push_back("start"); }
    void StopTwinkleTimer() override { calls.push_back("stop"); }
};

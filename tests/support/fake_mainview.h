#pragma once
// A recording stand-in for the main window: every call is kept so tests can
// check what the logic showed, sent and applied.

#include <map>
#include <string>
#include <vector>

#include "shell/mainview.h"

class FakeMainView : public MainView {
public:
    struct Shown {
        std::string text;
        bool skipStory;
        bool operator==(const Shown&) const = default;
    };

    std::vector<Shown> displayed;
    std::vector<std::string> story;
    std::vector<std::string> scrollback;
    std::vector<std::string> sent;
    struct Connection {
        std::string host;
        int port;
        std::string avatar;
    };
    std::vector<Connection> connections;
    std::vector<std::string> locations;
    std::vector<std::string> players;
    std::vector<std::string> friendItems;
    std::vector<std::string> sounds;
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::vector<int32_t> coloursApplied;
    std::vector<FontSpec> fontsApplied;
    int bufferLines = 200;
    FontSpec font;
    std::map<Option, bool> options{{Option::ConsoleLights, true},
                                   {Option::StatsPanel, true},
                                   {Option::SoundFx, true}};
    bool statsPanelVisible = true;
    int width = 992, height = 701 + 0, inputHeight = 55;
    int scorePageShown = 0, shipPageShown = 0, spynetResets = 0;
    std::string workDir = ".";
    std::map<int, std::string> status;
    // The report page: its title, its lines since the last opening, its picture.
    int reportOpenings = 0;
    std::string reportTitle;
    std::vector<std::string> reportLines;
    std::string reportPicture;
    int inputEditClears = 0;

    // All text shown, in order, without the skip-story marks.
    std::vector<std::string> DisplayedTexts() const;
    // All bytes sent, joined.
    std::string SentBytes() const;

    void DisplayText(const std::string& text, bool skipStory = false) override;
    void AddToStory(const std::string& text) override { story.push_back(text); }
    void AddToScrollback(const std::string& text) override { scrollback.push_back(text); }
    void SendText(const std::string& text) override { sent.push_back(text); }
    void OpenConnection(const std::string& host, int port, const std::string& avatar) override
    {
        connections.push_back({host, port, avatar});
    }
    void AddLocationItem(const std::string& text) override { locations.push_back(text); }
    void RemoveLocationItem(const std::string& text) override;
    void ClearLocationList() override { locations.clear(); }
    void AddPlayerItem(const std::string& name) override { players.push_back(name); }
    void RemovePlayerItem(const std::string& name) override;
    void ClearPlayerList() override { players.clear(); }
    void AddFriendItem(const std::string& name) override { friendItems.push_back(name); }
    void RemoveFriendItem(const std::string& name) override;
    void ClearFriendList() override { friendItems.clear(); }
    void SetBufferLines(int lines) override;
    int BufferLines() const override { return bufferLines; }
    void ApplyColour(int32_t colour) override { coloursApplied.push_back(colour); }
    void ApplyFont(const FontSpec& f) override
    {
        font = f;
        fontsApplied.push_back(f);
    }
    FontSpec OutputFont() const override { return font; }
    void ShowStatsPanel(bool visible) override;
    bool OptionChecked(Option option) const override;
    void SetOptionChecked(Option option, bool checked) override { options[option] = checked; }
    int WindowWidth() const override { return width; }
    int WindowHeight() const override { return height; }
    void SetWindowSize(int w, int h) override
    {
        width = w;
        height = h;
    }
    int InputPanelHeight() const override { return inputHeight; }
    void SetInputPanelHeight(int h) override { inputHeight = h; }
    void ShowScorePage() override { ++scorePageShown; }
    void ShowShipPage() override { ++shipPageShown; }
    void ResetSpynetView() override { ++spynetResets; }
    std::string WorkDir() const override { return workDir; }
    void PlaySound(const std::string& path) override { sounds.push_back(path); }
    void ShowMessage(MessageKind kind, const std::string& text) override
    {
        messages.emplace_back(kind, text);
    }
    void SetStatusText(int panel, const std::string& text) override { status[panel] = text; }
    void OpenReport(const std::string& title) override
    {
        ++reportOpenings;
        reportTitle = title;
        reportLines.clear();
    }
    void AddReportLine(const std::string& text) override { reportLines.push_back(text); }
    void LoadReportPicture(const std::string& path) override { reportPicture = path; }
    void ClearInputEdit() override { ++inputEditClears; }
};

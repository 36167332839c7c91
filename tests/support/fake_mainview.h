#pragma once
// Recording stand-ins for the main window and its "TB" page. They decide
// nothing: every call is kept in order, and a value set is what the getter
// answers.

#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "views/mainview.h"
#include "social/tb_code.h"

class FakeMainView : public MainView {
public:
    // Each call as "Name" or "Name:argument"; text shown without reaching
    // the story is "DisplayTextSkipStory:text".
    std::vector<std::string> calls;

    // Some calls are also kept apart, for the suites that read them so.
    struct Shown {
        std::string text;
        bool skipStory;
        bool operator==(const Shown&) const = default;
    };
    std::vector<Shown> displayed;
    std::vector<std::string> scrollback, sent;
    std::vector<std::string> connections; // "host:port avatar"
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::vector<int32_t> coloursApplied;
    std::vector<FontSpec> fontsApplied;
    int scorePageShown = 0, shipPageShown = 0, inputEditClears = 0;

    int bufferLines = 200;
    FontSpec font;
    std::map<Option, bool> options{{Option::ConsoleLights, true}, {Option::StatsPanel, true}, {Option::SoundFx, true}};
    bool statsPanelVisible = true;
    int width = 992, height = 701, inputHeight = 55;
    std::string workDir = ".";
    std::map<int, std::string> status; // the last text of each status panel

    std::vector<std::string> DisplayedTexts() const
    {
        std::vector<std::string> out;
        for (const Shown& s : displayed)
            out.push_back(s.text);
        return out;
    }
    std::string SentBytes() const { return std::accumulate(sent.begin(), sent.end(), std::string()); }

    void DisplayText(const std::string& text, bool skipStory = false) override
    {
        displayed.push_back({text, skipStory});
        Log(skipStory ? "DisplayTextSkipStory" : "DisplayText", text);
    }
    void AddToStory(const std::string& text) override { Log("AddToStory", text); }
    void AddToScrollback(const std::string& text) override { Log("AddToScrollback", text, &scrollback); }
    void SendText(const std::string& text) override { Log("SendText", text, &sent); }
    void OpenConnection(const std::string& host, int port, const std::string& avatar) override
    {
        Log("OpenConnection", host + ":" + std::to_string(port) + " " + avatar, &connections);
    }
    void AddLocationItem(const std::string& text) override { Log("AddLocationItem", text); }
    void RemoveLocationItem(const std::string& text) override { Log("RemoveLocationItem", text); }
    void ClearLocationList() override { Log("ClearLocationList"); }
    void AddPlayerItem(const std::string& name) override { Log("AddPlayerItem", name); }
    void RemovePlayerItem(const std::string& name) override { Log("RemovePlayerItem", name); }
    void ClearPlayerList() override { Log("ClearPlayerList"); }
    void AddFriendItem(const std::string& name) override { Log("AddFriendItem", name); }
    void RemoveFriendItem(const std::string& name) override { Log("RemoveFriendItem", name); }
    void ClearFriendList() override { Log("ClearFriendList"); }
    void SetBufferLines(int lines) override { Log("SetBufferLines", std::to_string(bufferLines = lines)); }
    int BufferLines() const override { return bufferLines; }
    void ApplyColour(int32_t colour) override { coloursApplied.push_back(colour); }
    void ApplyFont(const FontSpec& f) override { fontsApplied.push_back(font = f); }
    FontSpec OutputFont() const override { return font; }
    void ShowStatsPanel(bool visible) override
    {
        Log("ShowStatsPanel", (statsPanelVisible = visible) ? "true" : "false");
    }
    bool OptionChecked(Option option) const override { return options.count(option) && options.at(option); }
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
    void ResetSpynetView() override { Log("ResetSpynetView"); }
    std::string WorkDir() const override { return workDir; }
    void PlaySound(const std::string& path) override { Log("PlaySound", path); }
    void ShowMessage(MessageKind kind, const std::string& text) override
    {
        messages.emplace_back(kind, text);
        Log("ShowMessage", text);
    }
    void SetStatusText(int panel, const std::string& text) override
    {
        status[panel] = text;
        Log("SetStatusText", std::to_string(panel) + ":" + text);
    }
    void OpenReport(const std::string& title) override { Log("OpenReport", title); }
    void AddReportLine(const std::string& text) override { Log("AddReportLine", text); }
    void LoadReportPicture(const std::string& path) override { Log("LoadReportPicture", path); }
    void ClearInputEdit() override
    {
        ++inputEditClears;
        Log("ClearInputEdit");
    }

private:
    void Log(const char* name) { calls.emplace_back(name); }
    // Logs the call; `also` keeps the argument in a list of its own too.
    void Log(const char* name, const std::string& argument, std::vector<std::string>* also = nullptr)
    {
        calls.push_back(name + (":" + argument));
        if (also)
            also->push_back(argument);
    }
};

// The "TB" page: its calls go to its own log or to a shared one.
class FakeTightBeamView : public TightBeamView {
public:
    explicit FakeTightBeamView(std::vector<std::string>* shared = nullptr)
        : log(shared ? *shared : calls)
    {
    }
    std::vector<std::string> calls;
    std::vector<std::string>& log;

    void ShowTightBeamPage() override { log.emplace_back("TbPage"); }
    void ShowReportsPage() override { log.emplace_back("TbReportsPage"); }
    void SetTightBeamCaption(const std::string& text) override { log.push_back("TbCaption:" + text); }
    void ClearTightBeamTranscript() override { log.emplace_back("TbClear"); }
    void AddTightBeamLine(const std::string& text) override { log.push_back("TbLine:" + text); }
    void LoadTightBeamPicture(const std::string& path) override { log.push_back("TbPicture:" + path); }
    void PrefillInput(const std::string& text) override { log.push_back("TbPrefill:" + text); }
};

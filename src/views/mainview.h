#pragma once
// The main window's operations that the rest of the program calls. The logic
// classes depend on this interface only, so tests can drive them with a
// recording fake while the program hands them the real window.

#include <cstdint>
#include <string>

// The check-marked menu items: the check mark is the option.
enum class Option {
    AutoLog, // "Log all Sessions"
    ConsoleLights, // "Console Lights"
    StatsPanel, // "Stats Panel"
    SoundFx, // "Sound FX"
    TextAlert, // "Incoming Text Alert"
    LargeBuffer, // "Large Text Buffer"
    SuppressBlankLines, // "Suppress Blank Lines"
    DisplayClientStream, // "Display Client Stream"
    DisplayServerStream, // "Display Server Stream"
};

// A font as init.xml stores it: a negative height is a character height in
// pixels; a positive size is in points and, when set, decides the height.
// The colour is 0x00BBGGRR.
struct FontSpec {
    std::string name = "Arial";
    int32_t colour = 0;
    int32_t height = -15;
    int32_t size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontSpec&) const = default;
};

enum class MessageKind { Error, Information };

class MainView {
public:
    virtual ~MainView() = default;

    // Lines and bytes.
    virtual void DisplayText(const std::string& text, bool skipStory = false) = 0;
    virtual void AddToStory(const std::string& text) = 0;
    virtual void AddToScrollback(const std::string& text) = 0;
    virtual void SendText(const std::string& text) = 0;
    virtual void OpenConnection(const std::string& host, int port, const std::string& avatarName) = 0;

    // Lists.
    virtual void AddLocationItem(const std::string& text) = 0;
    virtual void RemoveLocationItem(const std::string& text) = 0;
    virtual void ClearLocationList() = 0;
    virtual void AddPlayerItem(const std::string& name) = 0;
    virtual void RemovePlayerItem(const std::string& name) = 0;
    virtual void ClearPlayerList() = 0;
    virtual void AddFriendItem(const std::string& name) = 0;
    virtual void RemoveFriendItem(const std::string& name) = 0;
    virtual void ClearFriendList() = 0;

    // Settings applied to and read back from the window.
    virtual void SetBufferLines(int lines) = 0;
    virtual int BufferLines() const = 0;
    virtual void ApplyColour(int32_t colour) = 0;
    virtual void ApplyFont(const FontSpec& font) = 0;
    virtual FontSpec OutputFont() const = 0;
    virtual void ShowStatsPanel(bool visible) = 0;
    virtual bool OptionChecked(Option option) const = 0;
    virtual void SetOptionChecked(Option option, bool checked) = 0;
    virtual int WindowWidth() const = 0;
    virtual int WindowHeight() const = 0;
    virtual void SetWindowSize(int width, int height) = 0;
    virtual int InputPanelHeight() const = 0;
    virtual void SetInputPanelHeight(int height) = 0;

    // Pages and panes.
    virtual void ShowScorePage() = 0;
    virtual void ShowShipPage() = 0;
    virtual void ResetSpynetView() = 0;

    // The working directory captured at start-up; every built path starts here.
    virtual std::string WorkDir() const = 0;

    // A wave file played without waiting; a new sound cuts off the one playing.
    virtual void PlaySound(const std::string& path) = 0;
    // A message box with the error or information icon and a single OK.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    // Text of a status bar panel: 0 connection, 1 logging, 2 players, 3 map.
    virtual void SetStatusText(int panel, const std::string& text) = 0;

    // Server dispatcher: the examine and spynet report page ("Ex/SP").
    // Brings the page to the front, captions it with the title, empties the report.
    virtual void OpenReport(const std::string& title) = 0;
    virtual void AddReportLine(const std::string& text) = 0;
    // Shows the bitmap at path as the report's picture.
    virtual void LoadReportPicture(const std::string& path) = 0;

    // Input line and macros.
    // Empties InputEdit, whoever submitted the command.
    virtual void ClearInputEdit() = 0;
};

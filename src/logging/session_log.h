#pragma once
// The File menu's logging: a log of the player's choosing, the daily log of
// every session, and the screen dump. Keeps the menu items in one of three
// states (no log, manual log, automatic log) and the second status panel.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "base/clock.h"

class Init;
class Logging;
class MainView;

// What the logging needs of the window beyond MainView.
class LogMenuView {
public:
    virtual ~LogMenuView() = default;
    virtual void SetLoggingItems(bool startEnabled, bool stopEnabled) = 0;
    // The file dialog; an empty result when the player cancels.
    virtual std::optional<std::string> ChooseLogFile(const std::string& title, const std::string& folder) = 0;
    // The whole text of the story page, lines joined by line feeds.
    virtual std::string StoryText() const = 0;
};

class SessionLog {
public:
    SessionLog(MainView& view, LogMenuView& menu, Init& init, Clock clock = SystemClock());
    ~SessionLog();

    void StartLoggingItemClick();
    void StopLoggingItemClick();
    // Acts on the check mark of "Log all Sessions" as it was before the click.
    void AutoLogItemClick();
    void SaveScreenItemClick();

    // Every story line. A line that cannot be written stops the log and says
    // so once.
    void WriteLine(const std::string& text);
    bool IsOpen() const { return log != nullptr; }
    // Closes an open log with its banner (the window is going).
    void Close();

private:
    std::unique_ptr<Logging> Open(const std::string& path);
    void CloseLog();
    void SetItems(bool startEnabled, bool stopEnabled, bool autoChecked);
    std::string LogsFolder() const;

    MainView& view;
    LogMenuView& menu;
    Init& init;
    Clock clock;
    std::unique_ptr<Logging> log;
};

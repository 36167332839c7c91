#include "logging/session_log.h"

#include <filesystem>

#include <QFile>

#include "logging/logging.h"
#include "settings/init.h"
#include "base/ansi.h"
#include "views/mainview.h"

namespace {

// A file name as the output window shows it: file names are in the local
// encoding, the window's lines in the game's.
std::string Shown(const std::string& path)
{
    return ToAnsi(QFile::decodeName(path.c_str()));
}

} // namespace

SessionLog::SessionLog(MainView& mainView, LogMenuView& logMenu, Init& settings, Clock now)
    : view(mainView)
    , menu(logMenu)
    , init(settings)
    , clock(std::move(now))
{
}

SessionLog::~SessionLog() = default;

std::string SessionLog::LogsFolder() const
{
    return (std::filesystem::path(view.WorkDir()) / "logs").string();
}

std::unique_ptr<Logging> SessionLog::Open(const std::string& path)
{
    auto opened = std::make_unique<Logging>(path, clock());
    if (!opened->IsOpen()) {
        view.DisplayText("***Unable to open " + Shown(path) + " for logging***");
        return nullptr;
    }
    view.DisplayText(Shown(path) + " opened for logging");
    view.SetStatusText(1, "Logging");
    return opened;
}

void SessionLog::CloseLog()
{
    if (!log)
        return;
    std::unique_ptr<Logging> closing = std::move(log);
    const bool ok = closing->Close(clock());
    view.SetStatusText(1, "");
    if (!ok)
        view.DisplayText("***Unable to write to " + Shown(closing->Path()) + "; the log may be incomplete***");
}

void SessionLog::SetItems(bool startEnabled, bool stopEnabled, bool autoChecked)
{
    menu.SetLoggingItems(startEnabled, stopEnabled);
    view.SetOptionChecked(Option::AutoLog, autoChecked);
}

void SessionLog::StartLoggingItemClick()
{
    const std::optional<std::string> path = menu.ChooseLogFile("Log to file...", LogsFolder());
    if (!path)
        return;
    log = Open(*path);
    if (log)
        SetItems(false, true, false);
}

void SessionLog::StopLoggingItemClick()
{
    view.DisplayText("Logging stopped");
    CloseLog();
    SetItems(true, false, false);
    init.SetAutoLog(false);
}

void SessionLog::AutoLogItemClick()
{
    if (view.OptionChecked(Option::AutoLog)) {
        StopLoggingItemClick();
        return;
    }
    if (!log) {
        log = Open((std::filesystem::path(LogsFolder()) / DailyLogName(clock())).string());
        if (!log) {
            view.SetOptionChecked(Option::AutoLog, false);
            return;
        }
    }
    SetItems(false, false, true);
    init.SetAutoLog(true);
}

void SessionLog::SaveScreenItemClick()
{
    const std::optional<std::string> path = menu.ChooseLogFile("Dump screen buffer to file...", LogsFolder());
    if (!path)
        return;
    switch (AppendScreenDump(*path, menu.StoryText(), clock())) {
    case DumpResult::OpenFailed: view.DisplayText("***Unable to open " + Shown(*path) + " for screen dump***"); return;
    case DumpResult::WriteFailed:
        view.DisplayText("***Unable to write the screen buffer to " + Shown(*path) + "***");
        return;
    case DumpResult::Saved: view.DisplayText("Screen buffer saved to " + Shown(*path)); return;
    }
}

void SessionLog::WriteLine(const std::string& text)
{
    if (!log || log->WriteLine(text))
        return;
    // Closed first: the message below is a story line too.
    std::unique_ptr<Logging> failed = std::move(log);
    failed->Abandon();
    view.SetStatusText(1, "");
    SetItems(true, false, false);
    view.DisplayText("***Unable to write to " + Shown(failed->Path()) + "; logging stopped***");
}

void SessionLog::Close()
{
    CloseLog();
}

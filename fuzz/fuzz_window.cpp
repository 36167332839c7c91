// The server stream through the real main window on the offscreen platform:
// panes, lists, pages and their trimming, the map and its files, with the
// window shown so painting runs too. One window serves the whole run, reset
// between inputs as a reconnection leaves it, so each input runs on a window
// of its own size. Painting the whole window costs ten times what the stream
// does, so an input asks for it with an option bit: the fuzzer keeps such
// inputs for the paths they reach, and the rest run ten times as fast.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

#include "account/login_code.h"
#include "account/new_ac_code.h"
#include "app/application.h"
#include "session/coms.h"
#include "app/mainform.h"
#include "map/world_map.h"
#include "panels/panel_widgets.h"
#include "panels/panels.h"
#include "widgets/textpane.h"
#include "social/players.h"
#include "scratch_dir.h"
#include "support/map_tiles.h"
#include "stream_input.h"

namespace {

// The dialogs are closed unanswered: the conversation goes on with what
// was stored, and nothing connects anywhere.
class ClosedLogon : public LogonPrompt {
    void Open(Login&) override { }
};
class ClosedNewAccount : public NewAccountPrompt {
    void Open(NewAccount&) override { }
};

struct Harness {
    int argc = 1;
    char name[16] = "fuzz_window";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<OrvixApplication> app;
    std::unique_ptr<TMainForm> window;
    ClosedLogon logon;
    ClosedNewAccount newAccount;
    QList<TextPane*> panes;

    Harness()
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app = std::make_unique<OrvixApplication>(argc, argv);
        // With the map tiles the program ships, maps are built and drawn, not
        // refused (and looked for again) on every s-new-map.
        Check(WriteMapTiles(QDir(ScratchDir()).filePath("links.bmp")), "map tiles written");
        // The window takes the working directory it starts in as its own.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(ScratchDir());
        window = std::make_unique<TMainForm>();
        QDir::setCurrent(previous);
        window->SetMessageHook([](MessageKind, const QString&) {});
        window->SetConfirmHook([](const QString&) { return true; });
        TMainForm& w = *window;
        w.GetComs().SetLoginFactory([&w, this] { return std::make_unique<Login>(w, w.Settings(), logon); });
        w.GetComs().SetNewAccountFactory(
            [&w, this] { return std::make_unique<NewAccount>(w, w.Settings(), newAccount); });
        w.show();
        panes = w.findChildren<TextPane*>();
    }
};

} // namespace

// As in the server target: Qt has no frame pointers, so deeper allocation
// stacks are mostly stray words, and storing them cost a twentieth of the
// run. For a full stack in a report, run the input again with
// ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char* __asan_default_options()
{
    return "malloc_context_size=2";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static Harness h;
    TMainForm& w = *h.window;
    const StreamInput in = CutStream(data, size);

    // Each input is a session of its own, on the window a reconnection leaves:
    // the map stored and emptied, the lists and the panes cleared.
    w.GetWorldMap().ClearMap();
    w.GetPlayers().Clear();
    w.ClearLocationList();
    w.GetPanels().Logic().Connected();
    w.GetPanels().Logic().Disconnected();
    for (TextPane* pane : h.panes)
        pane->ClearLines();
    w.SetOptionChecked(Option::DisplayServerStream, (in.flags & 1) != 0);
    w.SetOptionChecked(Option::SuppressBlankLines, (in.flags & 2) != 0);
    w.SetOptionChecked(Option::StatsPanel, (in.flags & 4) == 0);
    w.setUpdatesEnabled((in.flags & 8) != 0);
    Coms& coms = w.GetComs();
    switch (in.phase) {
    case StreamPhase::LoggingOn: coms.StartLogon(); break;
    case StreamPhase::CreatingAccount: coms.StartNewAccount(); break;
    case StreamPhase::AwaitingStream: coms.SetMode(Coms::AwaitingStream); break;
    case StreamPhase::Streaming: coms.SetMode(Coms::Streaming); break;
    }
    for (const std::string& chunk : in.chunks)
        w.ReceiveChunk(chunk);
    QCoreApplication::processEvents();

    // Every pane keeps to the buffer size, with the 100 lines of slack it
    // trims in and the line appended after trimming.
    const int paneLimit = w.BufferLines() + 101;
    for (TextPane* pane : h.panes) {
        if (pane->LineCount() > paneLimit)
            fprintf(stderr, "%s: %d lines\n", qPrintable(pane->objectName()), pane->LineCount());
        Check(pane->LineCount() <= paneLimit, "pane within the buffer size");
    }
    Check(w.PlayerListBox->count() == static_cast<int>(w.GetPlayers().Count()), "players list matches the roster");
    return 0;
}

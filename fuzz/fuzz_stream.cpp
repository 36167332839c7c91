// The server stream without widgets: chunks through the connection's line
// cutting, the logon or account conversation, the scanner and the dispatcher
// into a recording view.
#include <cstdlib>
#include <memory>

#include "account/login_code.h"
#include "account/new_ac_code.h"
#include "macros/macro.h"
#include "dispatch/server_parser.h"
#include "scratch_dir.h"
#include "settings/init.h"
#include "session/coms.h"
#include "social/friends_code.h"
#include "social/players.h"
#include "social/tb_code.h"
#include "stream_input.h"
#include "support/fake_mainview.h"

namespace {

// The dialogs, answered at once: the player accepts what is stored.
class AcceptingLogon : public LogonPrompt {
public:
    void Open(Login& login) override
    {
        LogonEdits edits{"localhost", "30003", "Nova", "demo1", "orvixdemo", opens++ == 0};
        login.Accept(edits, true);
    }
    int opens = 0;
};

class AcceptingNewAccount : public NewAccountPrompt {
public:
    void Open(NewAccount& account) override
    {
        if (opens++ > 3)
            return; // the player gives up after a few refusals
        NewAccountDetails d{"localhost", "30003", "Nova", "demo" + std::to_string(opens), "secret", true,
            "nova@example.org", "Human", "female", "30", "30", "30", "30"};
        account.Send(d);
    }
    int opens = 0;
};

const std::string& SettingsPath()
{
    static const std::string path = ScratchFile("init.xml");
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const StreamInput in = CutStream(data, size);

    FakeMainView view;
    view.workDir = ".";
    view.options[Option::SoundFx] = (in.flags & 1) != 0;
    view.options[Option::SuppressBlankLines] = (in.flags & 2) != 0;
    Friends friends(view);
    friends.SetRanks(0x00F0);
    friends.AddName("Amy");
    Macro macros(view);
    macros.SetMacro(1, {"look", "who"});
    Init init(SettingsPath(), view, friends, macros);
    Players players(view);
    FakeTightBeamView page;
    TightBeam tightBeam(view, page);
    std::unique_ptr<Location> lastLocation;
    DispatchTargets targets;
    targets.players = &players;
    targets.friends = &friends;
    targets.tightBeam = &tightBeam;
    targets.locationArrived = [&](std::unique_ptr<Location> l) { lastLocation = std::move(l); };

    AcceptingLogon logonDialog;
    AcceptingNewAccount newAccountDialog;
    Coms coms(view, std::make_unique<ServerParser>(view, targets), "1.60");
    coms.SetLoginFactory([&] { return std::make_unique<Login>(view, init, logonDialog); });
    coms.SetNewAccountFactory([&] { return std::make_unique<NewAccount>(view, init, newAccountDialog); });
    coms.SetMacroRunner([&](int key) { macros.Send(key); });

    switch (in.phase) {
    case StreamPhase::LoggingOn: coms.StartLogon(); break;
    case StreamPhase::CreatingAccount: coms.StartNewAccount(); break;
    case StreamPhase::AwaitingStream: coms.SetMode(Coms::AwaitingStream); break;
    case StreamPhase::Streaming: coms.SetMode(Coms::Streaming); break;
    }
    for (const std::string& chunk : in.chunks) {
        coms.ProcessChunk(chunk);
        Check(coms.PendingText().size() <= Coms::kMaxPendingText, "pending text bounded");
    }
    // Everything sent to the server is whole lines.
    for (const std::string& s : view.sent)
        Check(!s.empty() && s.back() == '\n', "sent text ends with a line feed");
    return 0;
}

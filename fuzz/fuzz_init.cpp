// init.xml read, written back, and read again: the second read must give the
// same settings as the first, so a file the program wrote never changes what
// the player had.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "macros/macro.h"
#include "scratch_dir.h"
#include "settings/init_parser.h"
#include "social/friends_code.h"
#include "support/fake_mainview.h"

namespace {

struct AccountModel {
    std::string avatarName, host, accountId, password;
    int32_t port;
    bool current, savePassword;
    bool operator==(const AccountModel&) const = default;
};

// Everything init.xml stores, as the program holds it after reading.
struct Model {
    int width, height, inputHeight, bufferLines;
    FontSpec font;
    std::map<Option, bool> options;
    int32_t bufferSize, colour;
    int64_t votingTime;
    bool autoLog;
    std::vector<AccountModel> accounts;
    uint16_t ranks;
    bool audio;
    std::vector<std::string> friendNames;
    std::vector<std::vector<std::string>> macros;
    bool operator==(const Model&) const = default;
};

struct Reader {
    FakeMainView view;
    Friends friends{view};
    Macro macros{view};
    std::unique_ptr<Init> init;

    explicit Reader(const std::string& path)
    {
        InitParser parser(path, view, friends, macros);
        parser.ParseFile();
        init = parser.TakeInit();
    }

    Model Snapshot() const
    {
        Model m{view.width, view.height, view.inputHeight, view.bufferLines, view.font, {}, init->BufferSize(),
            init->BackgroundColour(), init->VotingTime(), init->AutoLog(), {}, friends.Ranks(), friends.Audio(),
            friends.Names(), {}};
        // The audible friend alert alone, with nobody and no rank to announce,
        // is not written: it has no effect.
        if (m.friendNames.empty() && m.ranks == 0)
            m.audio = false;
        for (Option o :
            {Option::StatsPanel, Option::TextAlert, Option::ConsoleLights, Option::SoundFx, Option::SuppressBlankLines})
            m.options[o] = view.OptionChecked(o);
        for (const auto& a : init->Accounts())
            m.accounts.push_back({a->avatarName, a->host, a->accountId, a->savePassword ? a->password : std::string(),
                a->port, a->current, a->savePassword});
        for (int key = Macro::kFirstKey; key <= Macro::kLastKey; ++key) {
            const MacroRec* r = macros.Record(key);
            m.macros.push_back(r ? r->Lines() : std::vector<std::string>{"(none)"});
        }
        return m;
    }
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const std::string path = ScratchFile("init.xml");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Reader first(path);
    const Model model = first.Snapshot();
    if (!first.init->WriteSettings())
        std::abort();
    const std::string written = ReadAll(path);
    Reader second(path);
    if (!(second.Snapshot() == model)) {
        fprintf(stderr, "broken property: init.xml read back differently; written file:\n%s\n", written.c_str());
        std::abort();
    }
    return 0;
}

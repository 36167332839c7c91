// The bundled server's handling of client lines: the logon and new-account
// conversations, then game commands, as a session runs them, against the
// shipped world and an account store in a temporary directory. A second
// player stands in the same world, so commands aimed at others reach someone.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>

#include "accountstore.h"
#include "conversation.h"
#include "game.h"
#include "scratch_dir.h"
#include "world.h"
#include "worldloader.h"

namespace {

class Claims : public NameClaims {
public:
    bool claimAccountId(const QString& id, const void* owner) override { return Claim(ids, id, owner); }
    bool claimAvatarName(const QString& name, const void* owner) override
    {
        return Claim(names, name, owner);
    }
    void release(const void* owner) override
    {
        std::erase_if(ids, [owner](const auto& e) { return e.second == owner; });
        std::erase_if(names, [owner](const auto& e) { return e.second == owner; });
    }

private:
    static bool Claim(std::map<QString, const void*>& held, const QString& name, const void* owner)
    {
        auto [it, added] = held.emplace(name.toLower(), owner);
        return added || it->second == owner;
    }
    std::map<QString, const void*> ids, names;
};

const World& SharedWorld()
{
    static World world;
    static const bool loaded = [] {
        WorldLoader loader;
        if (!loader.load(QStringLiteral(KYRND_WORLD_FILE), world)) {
            fprintf(stderr, "world: %s\n", qPrintable(loader.error()));
            std::abort();
        }
        return true;
    }();
    (void)loaded;
    return world;
}

// A client line as the connection hands it over: tabs become blanks, other
// control bytes are dropped, the rest is decoded from Windows-1252.
QString CleanLine(const QByteArray& raw)
{
    QByteArray clean;
    for (char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t')
            clean += ' ';
        else if (u >= 32 && u != 127)
            clean += c;
    }
    QStringDecoder decode("windows-1252");
    return decode(clean);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const bool quiet = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return true;
    }();
    (void)quiet;
    if (size == 0)
        return 0;
    const World& world = SharedWorld();

    QFile::remove(QDir(ScratchDir()).filePath("accounts.json"));
    AccountStore store(QDir(ScratchDir()).filePath("accounts.json"), 1);
    store.create("demo1", "orvixdemo", "demo@localhost",
                 Avatar::newcomer("Nova", "Human", "female", 35, 35, 35, 35, world.start));
    Account& other = store.create("demo2", "orvixdemo", "demo@localhost",
                                  Avatar::newcomer("Vega", "Human", "male", 35, 35, 35, 35,
                                                   world.start));
    Claims claims;
    Game game(world, store, 7, GameTimings{});
    int received = 0;
    auto sink = [&received](const QStringList& lines) { received += int(lines.size()); };
    game.enter(&other.avatar, &other, sink);

    enum class Phase { Logon, NewAccount, Playing, Closed } phase = Phase::Logon;
    LogonConversation logon(store, [&](const QString&) { ++received; });
    std::unique_ptr<NewAccountConversation> newAccount;
    Account* account = nullptr;
    Player* player = nullptr;
    if (data[0] & 1) {
        // Straight into the game as the first demo avatar.
        account = store.find("demo1");
        phase = Phase::Playing;
        player = game.enter(&account->avatar, account, sink);
    } else {
        logon.start();
    }

    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    for (const QByteArray& raw : bytes.split('\n')) {
        if (raw.size() > 4096)
            continue;  // refused by the connection as too long
        const QString line = CleanLine(raw);
        switch (phase) {
        case Phase::Logon:
            switch (logon.feed(line)) {
            case Outcome::LoggedIn: account = logon.account(); break;
            case Outcome::NewAccount:
                phase = Phase::NewAccount;
                newAccount = std::make_unique<NewAccountConversation>(
                    store, claims, world.start, [&](const QString&) { ++received; });
                newAccount->start();
                break;
            case Outcome::Quit: phase = Phase::Closed; break;
            case Outcome::Continue: break;
            }
            break;
        case Phase::NewAccount:
            switch (newAccount->feed(line)) {
            case Outcome::LoggedIn: account = newAccount->account(); break;
            case Outcome::Quit: phase = Phase::Closed; break;
            default: break;
            }
            break;
        case Phase::Playing:
            if (game.command(player, line) == Game::Result::Quit)
                phase = Phase::Closed;
            break;
        case Phase::Closed:
            break;
        }
        if (account && !player && phase != Phase::Closed) {
            phase = Phase::Playing;
            player = game.enter(&account->avatar, account, sink);
        }
    }
    if (player)
        game.leave(player);
    return 0;
}

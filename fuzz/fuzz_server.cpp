// The bundled server's handling of client lines: the logon and new-account
// conversations, the wait for the client's hello, then game commands, as a
// session runs them, against the shipped world and an account store held
// in memory. The slow work a session hands to other threads (checking a
// password, deriving a new account's key) is done here at once, with one
// iteration. A second player stands in the same world, so commands aimed
// at others reach someone. One server serves the whole run and is put back
// as it was before every input; after every line the game's rules (cash,
// loan, cargo and stocks within their bounds) must still hold.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <QDir>

#include "accountstore.h"
#include "conversation.h"
#include "game.h"
#include "nameclaims.h"
#include "wire.h"
#include "scratch_dir.h"
#include "world.h"
#include "worldloader.h"

namespace {

// The least work Argon2id allows: the fuzzer is after the game, not the hash.
constexpr HashCost kCheap{1, HashCost::kMinMemoryKiB};

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

// Every line the server sends must stay one line of the stream.
void CheckLine(const QString& line)
{
    for (QChar c : line) {
        if (c.unicode() < 32) {
            fprintf(stderr, "control character %d in a line sent: %s\n", c.unicode(), qPrintable(line));
            std::abort();
        }
    }
}

// Stops the run when a figure has left its bounds, naming it and the line.
void CheckRules(const Game& game, const QString& line)
{
    if (const QString broken = game.brokenRule(); !broken.isEmpty()) {
        fprintf(stderr, "rule broken after \"%s\": %s\n", qPrintable(line.left(200)), qPrintable(broken));
        std::abort();
    }
}

class Client {
public:
    Client(AccountStore& store, NameClaims& claims, Game& game)
        : store_(store)
        , claims_(claims)
        , game_(game)
        , logon_([](const QString& l) { CheckLine(l); })
    {
    }
    // The connection closes: the player leaves, as a session's end does.
    ~Client()
    {
        if (player_)
            game_.leave(player_);
    }

    void start() { logon_.start(); }
    void enterAs(Account* account)
    {
        account_ = account;
        phase_ = Phase::AwaitHello;
    }
    bool closed() const { return phase_ == Phase::Closed; }

    void feed(const QString& line)
    {
        switch (phase_) {
        case Phase::Logon: onLogon(logon_.feed(line)); break;
        case Phase::NewAccount: onNewAccount(newAccount_->feed(line)); break;
        case Phase::AwaitHello:
            if (line.startsWith(QLatin1String("<?xml")))
                break;
            {
                const bool orvix = line.startsWith(QLatin1String("<c-orvix"));
                phase_ = Phase::Playing;
                // Without its account: the store stays in memory, as leaving would save it.
                player_ = game_.enter(&account_->avatar, nullptr, SinkChecks, orvix ? Reader::Orvix : Reader::Person);
                if (!orvix)
                    feed(line);
            }
            break;
        case Phase::Playing:
            if (line.trimmed() != QLatin1String("<c-no-op/>") && game_.command(player_, line) == Game::Result::Quit)
                phase_ = Phase::Closed;
            CheckRules(game_, line);
            break;
        case Phase::Closed: break;
        }
    }

    // What the game sends, encoded: whole lines, no other control bytes.
    static void SinkChecks(const QByteArray& bytes)
    {
        for (char c : bytes) {
            if (static_cast<unsigned char>(c) < 32 && c != '\n') {
                fprintf(stderr, "control byte %d sent: %s\n", int(c), bytes.constData());
                std::abort();
            }
        }
        if (!bytes.endsWith('\n'))
            std::abort();
    }

private:
    enum class Phase { Logon, NewAccount, AwaitHello, Playing, Closed };

    void onLogon(Outcome outcome)
    {
        switch (outcome) {
        case Outcome::LoggedIn: enterAs(logon_.account()); break;
        case Outcome::NewAccount:
            phase_ = Phase::NewAccount;
            newAccount_ = std::make_unique<NewAccountConversation>(
                store_, claims_, game_.world().start, [](const QString& l) { CheckLine(l); });
            newAccount_->start();
            break;
        case Outcome::Quit: phase_ = Phase::Closed; break;
        case Outcome::CheckPassword: {
            const bool ok = store_.credentialsFor(logon_.id()).matches(logon_.password());
            onLogon(logon_.passwordChecked(ok ? store_.find(logon_.id()) : nullptr));
            break;
        }
        default: break;
        }
    }

    void onNewAccount(Outcome outcome)
    {
        switch (outcome) {
        case Outcome::CreateAccount:
            newAccount_->create(Credentials::derive(newAccount_->password(), kCheap));
            // Odd-length passwords stand for a save that failed.
            onNewAccount(
                newAccount_->stored(newAccount_->password().size() % 2 ? QString() : QStringLiteral("disk full")));
            break;
        case Outcome::LoggedIn: enterAs(newAccount_->account()); break;
        case Outcome::Quit: phase_ = Phase::Closed; break;
        default: break;
        }
    }

    AccountStore& store_;
    NameClaims& claims_;
    Game& game_;
    Phase phase_ = Phase::Logon;
    LogonConversation logon_;
    std::unique_ptr<NewAccountConversation> newAccount_;
    Account* account_ = nullptr;
    Player* player_ = nullptr;
};

// The world, the accounts and the game, made once and reset for each input.
class Server {
public:
    Server()
        : store_(QDir(ScratchDir()).filePath("accounts.json"), kCheap)
        , game_(SharedWorld(), store_, kSeed, {0, 0, 60000})
    {
        const Credentials c = Credentials::derive("orvixdemo", kCheap);
        nova_ = &store_.create("demo1", c, "demo@localhost", newcomer("Nova", "female"));
        vega_ = &store_.create("demo2", c, "demo@localhost", newcomer("Vega", "male"));
        claims_.reserve({"Mira", "Zed"});
        game_.enter(&vega_->avatar, nullptr, Client::SinkChecks);
    }

    // Accounts made by the last input go; the demo avatars start afresh.
    void reset()
    {
        std::vector<const Account*> made;
        for (const auto& a : store_.accounts()) {
            if (a.get() != nova_ && a.get() != vega_)
                made.push_back(a.get());
        }
        for (const Account* a : made)
            store_.remove(a);
        nova_->avatar = newcomer("Nova", "female");
        vega_->avatar = newcomer("Vega", "male");
        game_.reset(kSeed);
    }

    AccountStore& store() { return store_; }
    NameClaims& claims() { return claims_; }
    Game& game() { return game_; }
    Account* nova() { return nova_; }

private:
    static constexpr quint32 kSeed = 7;
    // On the trading floor next to the start, so trade and credit are one line away.
    static Avatar newcomer(const char* name, const char* gender)
    {
        return Avatar::newcomer(name, "Human", gender, 35, 35, 35, 35, Place{"kyrnos", locNum(29, 30)});
    }

    AccountStore store_;
    NameClaims claims_;
    Game game_;
    Account* nova_ = nullptr;
    Account* vega_ = nullptr;
};

} // namespace

// Qt is built without frame pointers, so the quick unwinder reads stray words
// as return addresses past the allocating function: nearly every allocation
// then counts as a new stack and the sanitizer's stack store grows by tens of
// kilobytes an input. Two frames (the allocator and its caller) stay exact.
// For a full stack in a report, run the input again with
// ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char* __asan_default_options()
{
    return "malloc_context_size=2";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const bool quiet = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        return true;
    }();
    (void)quiet;
    if (size == 0)
        return 0;
    static Server server;
    server.reset();
    Game& game = server.game();

    Client client(server.store(), server.claims(), game);
    if (data[0] & 1)
        client.enterAs(server.nova()); // straight to the hello
    else
        client.start();
    if (data[0] & 2) {
        game.drift();
        CheckRules(game, QStringLiteral("(drift)"));
    }

    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    for (const QByteArray& raw : bytes.split('\n')) {
        if (raw.size() > 4096)
            continue; // refused by the connection as too long
        client.feed(wire::decodeLine(raw));
        if (client.closed())
            break;
    }
    return 0;
}

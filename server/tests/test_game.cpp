// The game's command handlers, without a network: what a command answers
// and what it does to the figures, which never leave their bounds.
#include "kyrnd_test.h"

#include "worldloader.h"

#include <QJsonDocument>

class GameRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        WorldLoader loader;
        ASSERT_TRUE(loader.load(KYRND_WORLD_FILE, world));
        game = std::make_unique<Game>(world, store, 7, GameTimings{0, 0, 600000});
        nova = Avatar::newcomer("Nova", "Human", "female", 35, 35, 35, 35, Place{"kyrnos", locNum(29, 30)});
        vega = Avatar::newcomer("Vega", "Human", "male", 35, 35, 35, 35, Place{"kyrnos", locNum(29, 30)});
        player = enter(nova, novaSaw);
        enter(vega, vegaSaw);
    }
    Player* enter(Avatar& a, QStringList& seen)
    {
        return game->enter(&a, nullptr,
            [&seen](const QByteArray& b) { seen << QString::fromLatin1(b).split('\n', Qt::SkipEmptyParts); });
    }
    // What Nova is told in answer to the command.
    QString answer(const QString& command)
    {
        novaSaw.clear();
        game->command(player, command);
        return novaSaw.join('\n');
    }

    World world;
    QTemporaryDir dir;
    AccountStore store{dir.filePath("accounts.json"), kCheapHash};
    std::unique_ptr<Game> game;
    Avatar nova, vega;
    Player* player = nullptr;
    QStringList novaSaw, vegaSaw;

    struct Deal {
        const char* command;
        const char* answer; // a fragment of Nova's answer
        qint64 cash; // Nova's cash and loan after it
        qint64 loan;
    };
    void play(std::initializer_list<Deal> deals)
    {
        for (const Deal& d : deals) {
            SCOPED_TRACE(d.command);
            const QString said = answer(d.command);
            EXPECT_TRUE(said.contains(d.answer)) << said.toStdString();
            EXPECT_EQ(nova.cash, d.cash);
            EXPECT_EQ(nova.loan, d.loan);
            EXPECT_EQ(game->brokenRule(), QString());
        }
    }
};

TEST_F(GameRules, AmountsTypedCannotWrapTheFiguresAround)
{
    // Luxuries: 20 tons on offer at 1080ig, bought back at 918ig.
    play({
        {"borrow 15000", "lends you 15000ig", 30000, 20000},
        {"buy luxuries 100", "You buy 20 tons of Luxuries for 21600ig", 8400, 20000},
        // Exactly what would fill a 64-bit purse if the sum were formed.
        {"borrow 9223372036854767407", "lends at most 20000ig", 8400, 20000},
        {"borrow 99999999999999999999", "Borrow how much?", 8400, 20000},
        {"borrow -5", "Borrow how much?", 8400, 20000},
        {"repay 9223372036854775807", "You repay 8400ig; you still owe 11600ig", 0, 11600},
        {"repay", "no cash to repay with", 0, 11600},
        {"buy grain -1", "How many tons?", 0, 11600},
        {"sell luxuries 99999999999", "How many tons?", 0, 11600},
        {"sell luxuries 2147483647", "You sell 20 tons of Luxuries for 18360ig", 18360, 11600},
        {"sell luxuries 1", "no Luxuries in your hold", 18360, 11600},
    });
}

TEST_F(GameRules, NoPurseHoldsMoreThanTheClientCanShow)
{
    // Grain is bought back at 60ig a ton here.
    nova.cash = kMaxCash - 50;
    nova.ship.cargo["Grain"] = 10;
    play({
        {"sell grain", "No account holds more than 2147483647ig", kMaxCash - 50, 5000},
        {"borrow 51", "No account holds more than 2147483647ig", kMaxCash - 50, 5000},
        {"borrow 50", "lends you 50ig", kMaxCash, 5050},
    });
}

TEST(AvatarFile, FiguresOutOfBoundsAreBroughtWithinThem)
{
    const auto load = [](const char* json) {
        Avatar a;
        EXPECT_TRUE(a.fromJson(QJsonDocument::fromJson(json).object()));
        return a;
    };
    const Avatar rich = load(R"({"name":"A","cash":9223372036854775807,"loan":-9000,"trader":-4})");
    EXPECT_EQ(rich.cash, kMaxCash);
    EXPECT_EQ(rich.loan, 0);
    EXPECT_EQ(rich.brokenRule(), QString());
    const Avatar indebted = load(R"({"name":"A","cash":-5,"loan":9223372036854775807})");
    EXPECT_EQ(indebted.cash, 0);
    EXPECT_EQ(indebted.loan, kLoanLimit);
    const Avatar laden = load(R"({"name":"A","ship":{"capacity":100,"fuel":[-3,30],
        "cargo":{"Grain":2147483647,"Spices":2147483647}}})");
    EXPECT_EQ(laden.ship.cargoUsed(), 100);
    EXPECT_EQ(laden.ship.fuel.cur, 0);
    EXPECT_EQ(laden.brokenRule(), QString());
}

TEST_F(GameRules, EveryWayOfReachingAnotherPlayerSharesOneTalkLimit)
{
    const QStringList commands{"hug Vega", "kiss Vega", "say hi", "tell Vega hi", "hug Vega", "kiss Vega", "say hi"};
    QStringList refused;
    for (const QString& c : commands) {
        if (answer(c).contains("talking too fast"))
            refused << c;
    }
    // A burst of five, then one every few seconds.
    EXPECT_EQ(refused.join(", "), "kiss Vega, say hi");
    EXPECT_EQ(vegaSaw.filter(QRegularExpression("Nova (hugs|kisses|says|beams)")).size(), 5);
}

// The shipped world file and the accounts file on disk.
#include "test_env.h"

#include "accountstore.h"
#include "worldloader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

TEST(WorldFile, ShippedWorldHasWhatThePlayerNeeds)
{
    World w;
    WorldLoader loader;
    ASSERT_TRUE(loader.load(QStringLiteral(KYRND_WORLD_FILE), w)) << loader.error().toStdString();
    int planets = 0;
    for (const auto& [id, m] : w.maps) {
        if (m.space || m.locations.size() < 15)
            continue;
        ++planets;
        bool pad = false;
        std::array<bool, kDirCount> used{};
        for (const auto& [num, l] : m.locations) {
            pad = pad || l.board.valid();
            for (int i = 0; i < kDirCount; ++i)
                used[i] = used[i] || l.exits[i].valid();
        }
        EXPECT_TRUE(pad) << id.toStdString();
        for (int i = 0; i < kDirCount; ++i)
            EXPECT_TRUE(used[i]) << id.toStdString() << " lacks exit " << dirName(Dir(i)).toStdString();
        EXPECT_FALSE(m.owner.isEmpty());
        EXPECT_FALSE(m.factories.isEmpty());
    }
    EXPECT_GE(planets, 2);
    ASSERT_FALSE(w.exchanges.empty());
    for (const auto& [id, e] : w.exchanges)
        EXPECT_GE(e.commodities.size(), 6) << id.toStdString();
}

TEST(WorldFile, BrokenWorldsAreRefusedWithAReason)
{
    const auto loadText = [](const QByteArray& xml, QString& error) {
        QBuffer b;
        b.setData(xml);
        b.open(QIODevice::ReadOnly);
        World w;
        WorldLoader loader;
        const bool ok = loader.load(b, w);
        error = loader.error();
        return ok;
    };
    QString error;
    EXPECT_TRUE(loadText("<world start='a:1,1'><map id='a'><loc x='1' y='1' name='Here' exits='e'/>"
                         "<loc x='2' y='1' name='There' exits='w'/></map></world>", error))
        << error.toStdString();
    EXPECT_FALSE(loadText("<world start='a:1,1'><map id='a'><loc x='1' y='1' name='Here' exits='e'/></map></world>", error));
    EXPECT_TRUE(error.contains("exit e leads nowhere")) << error.toStdString();
    EXPECT_FALSE(loadText("<world start='a:9,9'><map id='a'><loc x='1' y='1' name='Here'/></map></world>", error));
    EXPECT_TRUE(error.contains("start")) << error.toStdString();
    EXPECT_FALSE(loadText("<world start='a:1,1'><map id='a'><loc x='70' y='1' name='Far'/></map></world>", error));
    EXPECT_FALSE(loadText("<world start='a:1,1'><map id='a'><loc x='1' y='1' name='Here'>", error));
    EXPECT_TRUE(error.contains("line")) << error.toStdString();
}

TEST(AccountsFile, PasswordsAreSaltedHashesAndSurviveARoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("accounts.json");
    {
        AccountStore store(path, 100);
        QString error;
        ASSERT_TRUE(store.load(&error));
        EXPECT_FALSE(store.existed());
        store.create("alpha1", Credentials::derive("samepassword", 100), "a@x", Avatar::newcomer("Ana", "Human", "female", 40, 40, 30, 30, {}));
        store.create("bravo2", Credentials::derive("samepassword", 100), "b@x", Avatar::newcomer("Bo", "Human", "male", 40, 40, 30, 30, {}));
        ASSERT_TRUE(store.save(&error));
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_FALSE(text.contains("samepassword"));
    const QJsonArray list = QJsonDocument::fromJson(text).object()["accounts"].toArray();
    ASSERT_EQ(list.size(), 2);
    EXPECT_NE(list[0].toObject()["salt"], list[1].toObject()["salt"]);
    EXPECT_NE(list[0].toObject()["hash"], list[1].toObject()["hash"]);

    AccountStore again(path);
    QString error;
    ASSERT_TRUE(again.load(&error));
    EXPECT_TRUE(again.credentialsFor("ALPHA1").matches("samepassword"));
    EXPECT_FALSE(again.credentialsFor("alpha1").matches("samepassworD"));
    // An unknown ID is checked against a stand-in of the same cost.
    const Credentials stand_in = again.credentialsFor("charlie");
    EXPECT_EQ(stand_in.iterations, again.iterations());
    EXPECT_FALSE(stand_in.matches("samepassword"));
    ASSERT_NE(again.findByAvatar("bo"), nullptr);
    EXPECT_EQ(again.findByAvatar("bo")->avatar.strength.max, 40);
}

TEST(AccountsFile, UnreadableFileStopsTheServerAndIsLeftAlone)
{
    QTemporaryDir dir;
    const QByteArray junk = "{ this is not an accounts file";
    {
        QFile f(dir.filePath("accounts.json"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    Server server(testOptions(dir.path()));
    QString error;
    EXPECT_FALSE(server.start(&error));
    EXPECT_TRUE(error.contains("accounts.json")) << error.toStdString();
    server.stop();
    QFile f(dir.filePath("accounts.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), junk);
}

TEST(AccountsFile, EntriesThatCannotBeUsedAreKeptOnSave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("accounts.json");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // An entry asking for more work than any sane setting is not used.
        f.write(R"({"accounts": [{"id": "broken", "note": "no hash"},
            {"id": "greedy", "hash": "00ff", "salt": "00", "iterations": 2000000000,
             "avatar": {"name": "Grim"}}]})");
    }
    AccountStore store(path, 50);
    QString error;
    ASSERT_TRUE(store.load(&error));
    EXPECT_EQ(store.find("broken"), nullptr);
    EXPECT_EQ(store.find("greedy"), nullptr);
    store.create("fresh1", Credentials::derive("password1", 50), "f@x", Avatar::newcomer("Fay", "Human", "female", 35, 35, 35, 35, {}));
    ASSERT_TRUE(store.save(&error));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("\"note\": \"no hash\""));
    EXPECT_TRUE(text.contains("2000000000"));
    EXPECT_TRUE(text.contains("fresh1"));
}

TEST(AccountsFile, OnlyTheOwnerCanReadItAndNoTemporaryIsLeftBehind)
{
    QTemporaryDir parent;
    const QString dataDir = parent.filePath("data");
    Server server(testOptions(dataDir));
    QString error;
    ASSERT_TRUE(server.start(&error)) << error.toStdString();
    server.stop();
    EXPECT_EQ(QFileInfo(dataDir).permissions() & 0x0077, 0);
    EXPECT_EQ(QFileInfo(dataDir + "/accounts.json").permissions() & 0x0077, 0);

    // What a save cut short by a kill may leave behind.
    QFile stale(dataDir + "/accounts.json.Ab12Cd");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    Server again(testOptions(dataDir));
    ASSERT_TRUE(again.start(&error)) << error.toStdString();
    again.stop();
    EXPECT_EQ(QDir(dataDir).entryList(QDir::Files | QDir::Hidden), QStringList{"accounts.json"});
}

TEST(WorldFile, ShippedWorldShowsEveryKindOfMapCell)
{
    World w;
    WorldLoader loader;
    ASSERT_TRUE(loader.load(QStringLiteral(KYRND_WORLD_FILE), w)) << loader.error().toStdString();
    bool ownerless = false, border = false, diagonal = false, oneWay = false;
    for (const auto& [id, m] : w.maps) {
        ownerless = ownerless || m.owner.isEmpty();
        for (const auto& [num, l] : m.locations) {
            const int x = num % kMapWidth, y = num / kMapWidth;
            border = border || x == 0 || y == 0 || x == kMapWidth - 1 || y == kMapWidth - 1;
            for (int d = 0; d < 8; ++d) {
                const LocationDef* to = w.location(l.exits[d]);
                if (!to)
                    continue;
                diagonal = diagonal || d % 2 == 1;
                oneWay = oneWay || !(to->exits[int(opposite(Dir(d)))] == Place{id, num});
            }
        }
    }
    EXPECT_TRUE(ownerless);
    EXPECT_TRUE(border);
    EXPECT_TRUE(diagonal);
    EXPECT_TRUE(oneWay);
}

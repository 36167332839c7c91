// The accounts file and the world file on disk.
#include "kyrnd_test.h"

#include "worldloader.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>
#include <QSemaphore>

#include <gtest/gtest-spi.h>

TEST(AccountsFile, PasswordsAreSaltedHashesAndSurviveARoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("accounts.json");
    QString error;
    {
        AccountStore store(path, kCheapHash);
        ASSERT_TRUE(store.load(&error) && !store.existed());
        for (const char* id : {"alpha1", "bravo2"})
            store.create(id, Credentials::derive("samepassword", kCheapHash), "a@x",
                Avatar::newcomer(id, "Human", "male", 40, 40, 30, 30, {}));
        ASSERT_TRUE(store.save(&error));
    }
    const QByteArray text = ReadFile(path);
    const QJsonArray list = QJsonDocument::fromJson(text).object()["accounts"].toArray();
    ASSERT_EQ(list.size(), 2);
    EXPECT_FALSE(text.contains("samepassword"));
    EXPECT_TRUE(list[0]["hash"].toString().startsWith("$argon2id$v=19$m=8,t=1,p=1$")) << text.constData();
    EXPECT_NE(list[0]["hash"], list[1]["hash"]); // salted
    AccountStore again(path, kCheapHash);
    ASSERT_TRUE(again.load(&error));
    EXPECT_TRUE(again.credentialsFor("ALPHA1").matches("samepassword")
        && !again.credentialsFor("alpha1").matches("samepassworD"));
    // An unknown ID is checked against a stand-in of the current cost.
    EXPECT_FALSE(again.credentialsFor("charlie").needsRehash(kCheapHash));
    EXPECT_FALSE(again.credentialsFor("charlie").matches("samepassword"));
    EXPECT_TRUE(
        again.findByAvatar("BRAVO2") && again.findByAvatar("bravo2")->avatar.strength.max == 40); // the avatar too
}

TEST(SaveQueue, RequestsDuringAWriteShareOneMoreWriteOfTheNewestState)
{
    int state = 0;
    QSemaphore gate;
    QMutex mutex;
    std::vector<int> written;
    SaveQueue queue([&]() -> SaveQueue::Write {
        return [&, copy = state] {
            if (copy == 1)
                gate.acquire(); // the first write stays in flight
            const QMutexLocker lock(&mutex);
            written.push_back(copy);
            return QString();
        };
    });
    std::vector<int> newestAtDone; // what had been written when each request was told
    for (int i = 1; i <= 10; ++i) {
        state = i;
        queue.request(nullptr, [&](const QString&) {
            const QMutexLocker lock(&mutex);
            newestAtDone.push_back(written.back());
        });
    }
    gate.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return queue.idle(); }, 5000));
    EXPECT_EQ(written, (std::vector<int>{1, 10}));
    EXPECT_EQ(newestAtDone, (std::vector<int>{1, 10, 10, 10, 10, 10, 10, 10, 10, 10}));
    // Stopping waits for everything asked, without the event loop.
    state = 11;
    queue.request();
    state = 12;
    queue.request();
    queue.flush();
    EXPECT_EQ(written, (std::vector<int>{1, 10, 11, 12}));
}

TEST(AccountsFile, UnreadableFileStopsTheServerAndIsLeftAlone)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("accounts.json"), "{ not accounts");
    EXPECT_NONFATAL_FAILURE(
        TestServer({}, dir.path()), "server did not start: " + dir.filePath("accounts.json").toStdString());
    EXPECT_EQ(ReadFile(dir.filePath("accounts.json")), "{ not accounts");
}

TEST(AccountsFile, EntriesThatCannotBeUsedAreSkippedAndKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("accounts.json");
    // More work than the caps would let whoever edited the file stall every logon;
    // a second entry with a name already taken could not be told apart.
    WriteFile(path, R"({"accounts": [{"id": "broken", "note": "no hash"},
        {"id": "greedy", "hash": "00ff", "salt": "00", "iterations": 10000001, "avatar": {"name": "Grim"}},
        {"id": "hungry", "hash": "$argon2id$v=19$m=1048576,t=1,p=1$c2FsdHNhbHQ$aGFzaA", "avatar": {"name": "Hob"}},
        {"id": "first1", "hash": "$argon2id$v=19$m=8,t=1,p=1$c2FsdHNhbHQ$aGFzaA", "avatar": {"name": "Ada"}},
        {"id": "FIRST1", "hash": "$argon2id$v=19$m=8,t=1,p=1$c2FsdHNhbHQ$aGFzaA", "avatar": {"name": "Bea"}},
        {"id": "second", "hash": "$argon2id$v=19$m=8,t=1,p=1$c2FsdHNhbHQ$aGFzaA", "avatar": {"name": "ADA"}}]})");
    AccountStore store(path, kCheapHash);
    QString error;
    ASSERT_TRUE(store.load(&error));
    ASSERT_EQ(store.accounts().size(), 1);
    EXPECT_EQ(store.accounts()[0]->avatar.name, "Ada");
    store.create("fresh1", Credentials::derive("password1", kCheapHash), "f@x",
        Avatar::newcomer("Fay", "Human", "male", 35, 35, 35, 35, {}));
    ASSERT_TRUE(store.save(&error));
    const QByteArray text = ReadFile(path);
    for (const char* kept : {"\"note\":\"no hash\"", "10000001", "m=1048576", "\"Bea\"", "\"ADA\"", "fresh1"})
        EXPECT_TRUE(text.contains(kept)) << kept;
}

TEST(AccountsFile, OnlyTheOwnerCanReadItAndNoTemporaryIsLeftBehind)
{
    QTemporaryDir parent;
    const QString dataDir = parent.filePath("data");
    {
        TestServer first({}, dataDir);
    }
    EXPECT_EQ((QFileInfo(dataDir).permissions() | QFileInfo(dataDir + "/accounts.json").permissions()) & 0x0077, 0);
    WriteFile(dataDir + "/accounts.json.Ab12Cd", ""); // what a save cut short by a kill leaves
    {
        TestServer again({}, dataDir);
    }
    EXPECT_EQ(QDir(dataDir).entryList(QDir::Files | QDir::Hidden), QStringList{"accounts.json"});
}

TEST(WorldFile, ReadingRules)
{
    const QByteArray map = "<world start='a:1,1'><map id='a'>";
    const std::pair<QByteArray, const char*> rows[] = {
        // and the error; empty: read
        {map + "<loc x='1' y='1' name='Here' exits='e'/><loc x='2' y='1' name='There' exits='w'/></map></world>", ""},
        {map + "<loc x='1' y='1' name='Here' exits='e'/></map></world>", "exit e leads nowhere"},
        {"<world start='a:9,9'><map id='a'><loc x='1' y='1' name='Here'/></map></world>", "start"},
        {map + "<loc x='70' y='1' name='Far'/></map></world>", "outside the 64 x 64 grid"},
        {map + "<loc x='1' y='1' name='Here'>", "line"},
    };
    for (const auto& [xml, error] : rows) {
        QBuffer b(const_cast<QByteArray*>(&xml));
        b.open(QIODevice::ReadOnly);
        World w;
        WorldLoader loader;
        EXPECT_EQ(loader.load(b, w), !*error) << xml.constData();
        EXPECT_TRUE(loader.error().contains(error)) << loader.error().toStdString();
    }
}

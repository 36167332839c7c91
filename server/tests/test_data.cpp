// The accounts file and the world file on disk.
#include "kyrnd_test.h"

#include "worldloader.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest-spi.h>

TEST(AccountsFile, PasswordsAreSaltedHashesAndSurviveARoundTrip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("accounts.json");
    QString error;
    {
        AccountStore store(path, 100);
        ASSERT_TRUE(store.load(&error) && !store.existed());
        for (const char* id : {"alpha1", "bravo2"})
            store.create(id, Credentials::derive("samepassword", 100), "a@x", Avatar::newcomer(id, "Human", "male", 40, 40, 30, 30, {}));
        ASSERT_TRUE(store.save(&error));
    }
    const QByteArray text = ReadFile(path);
    const QJsonArray list = QJsonDocument::fromJson(text).object()["accounts"].toArray();
    ASSERT_EQ(list.size(), 2);
    EXPECT_TRUE(!text.contains("samepassword") && list[0]["salt"] != list[1]["salt"] && list[0]["hash"] != list[1]["hash"]);
    AccountStore again(path, 100);
    ASSERT_TRUE(again.load(&error));
    EXPECT_TRUE(again.credentialsFor("ALPHA1").matches("samepassword") && !again.credentialsFor("alpha1").matches("samepassworD"));
    // An unknown ID is checked against a stand-in of the same cost.
    EXPECT_TRUE(again.credentialsFor("charlie").iterations == 100 && !again.credentialsFor("charlie").matches("samepassword"));
    EXPECT_TRUE(again.findByAvatar("BRAVO2") && again.findByAvatar("bravo2")->avatar.strength.max == 40);  // the avatar too
}

TEST(AccountsFile, UnreadableFileStopsTheServerAndIsLeftAlone)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath("accounts.json"), "{ not accounts");
    EXPECT_NONFATAL_FAILURE(TestServer({}, dir.path()), "server did not start: " + dir.filePath("accounts.json").toStdString());
    EXPECT_EQ(ReadFile(dir.filePath("accounts.json")), "{ not accounts");
}

TEST(AccountsFile, EntriesThatCannotBeUsedAreSkippedAndKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("accounts.json");
    // More work than the cap would let whoever edited the file stall every logon.
    WriteFile(path, R"({"accounts": [{"id": "broken", "note": "no hash"},
        {"id": "greedy", "hash": "00ff", "salt": "00", "iterations": 10000001, "avatar": {"name": "Grim"}}]})");
    AccountStore store(path, 50);
    QString error;
    ASSERT_TRUE(store.load(&error) && store.accounts().empty());
    store.create("fresh1", Credentials::derive("password1", 50), "f@x", Avatar::newcomer("Fay", "Human", "male", 35, 35, 35, 35, {}));
    ASSERT_TRUE(store.save(&error));
    const QByteArray text = ReadFile(path);
    EXPECT_TRUE(text.contains("\"note\": \"no hash\"") && text.contains("10000001") && text.contains("fresh1")) << text.constData();
}

TEST(AccountsFile, OnlyTheOwnerCanReadItAndNoTemporaryIsLeftBehind)
{
    QTemporaryDir parent;
    const QString dataDir = parent.filePath("data");
    { TestServer first({}, dataDir); }
    EXPECT_EQ((QFileInfo(dataDir).permissions() | QFileInfo(dataDir + "/accounts.json").permissions()) & 0x0077, 0);
    WriteFile(dataDir + "/accounts.json.Ab12Cd", "");  // what a save cut short by a kill leaves
    { TestServer again({}, dataDir); }
    EXPECT_EQ(QDir(dataDir).entryList(QDir::Files | QDir::Hidden), QStringList{"accounts.json"});
}

TEST(WorldFile, ReadingRules)
{
    const QByteArray map = "<world start='a:1,1'><map id='a'>";
    const std::pair<QByteArray, const char*> rows[] = {  // and the error; empty: read
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

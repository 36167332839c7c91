// The settings model and init.xml: reading applies to the window, friends and
// macros; writing reproduces the file byte for byte; stored accounts.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "protocol/xml.h"
#include "settings/init.h"
#include "settings/init_parser.h"
#include "support/fake_mainview.h"

namespace {

class FakeFriends : public FriendsSettings {
public:
    uint32_t ranks = 0;
    bool audio = false;
    std::vector<std::string> names;

    void SetRanks(uint32_t r) override { ranks |= r & 0xFFFFu; }
    void SetAudio() override { audio = true; }
    void AddName(const std::string& name) override { names.push_back(name); }
    std::string FriendsBlock() const override
    {
        if (names.empty() && ranks == 0)
            return {};
        std::string out = "   <friends-list ranks='" + std::to_string(ranks) + "' audio='"
                          + (audio ? "true" : "false") + "'>\n";
        for (const std::string& n : names)
            out += "      <friend name='" + n + "'/>\n";
        return out + "   </friends-list>\n\n";
    }
};

class FakeMacros : public MacroSettings {
public:
    std::vector<std::pair<int, std::vector<std::string>>> offered;
    std::map<int, std::vector<std::string>> stored;

    void SetMacro(int key, std::vector<std::string> lines) override
    {
        offered.emplace_back(key, lines);
        if (key >= 1 && key <= 12)
            stored[key] = std::move(lines);
    }
    std::string MacroBlocks() const override
    {
        std::string out;
        for (const auto& [key, lines] : stored) {
            out += "   <macro key='" + std::to_string(key) + "'>\n";
            for (const std::string& l : lines)
                out += "      <command>" + EscapeText(l) + "</command>\n";
            out += "   </macro>\n\n";
        }
        return out;
    }
};

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// What a fresh start with no init.xml writes.
const std::string kDefaultFile = "<?xml version=\"1.0\"?>\n"
                                 "\n"
                                 "<init-file>\n"
                                 "\n"
                                 "   <size width='992' height='701'/>\n"
                                 "   <buffer size='200'/>\n"
                                 "   <input-window height='55'/>\n"
                                 "   <colour bkg='-2147483643'/>\n"
                                 "   <stats-panel visible='true'/>\n"
                                 "   <audio-alert enabled='false'/>\n"
                                 "   <twinkles enabled='true'/>\n"
                                 "   <sound-fx enabled='true'/>\n"
                                 "\n"
                                 "   <font name='Arial' colour='0' height='-15' size='0'/>\n"
                                 "</init-file>\n";

// Every element the writer produces, with values that differ from the
// defaults and text that needs escaping.
const std::string kFullFile = "<?xml version=\"1.0\"?>\n"
                              "\n"
                              "<init-file>\n"
                              "\n"
                              "   <size width='1200' height='800'/>\n"
                              "   <buffer size='500'/>\n"
                              "   <input-window height='90'/>\n"
                              "   <colour bkg='8421376'/>\n"
                              "   <stats-panel visible='false'/>\n"
                              "   <audio-alert enabled='true'/>\n"
                              "   <twinkles enabled='false'/>\n"
                              "   <sound-fx enabled='false'/>\n"
                              "\t<voting time='1700000000'/>\n"
                              "   <no-blank-lines/>\n"
                              "   <autolog logging='true'/>\n"
                              "\n"
                              "   <friends-list ranks='5' audio='true'>\n"
                              "      <friend name='Alice'/>\n"
                              "      <friend name='Bob'/>\n"
                              "   </friends-list>\n"
                              "\n"
                              "   <macro key='1'>\n"
                              "      <command>look</command>\n"
                              "      <command>say hi &amp; bye &lt;grin&gt; it&apos;s me</command>\n"
                              "   </macro>\n"
                              "\n"
                              "   <macro key='12'>\n"
                              "   </macro>\n"
                              "\n"
                              "   <font name='Courier New' colour='255' height='-13' size='10'/>\n"
                              "   <avatar name='Zed'>\n"
                              "      <server host='kyrn.example.org' port='30003'/>\n"
                              "      <account id='zed01' password='it&apos;s&amp;me'/>\n"
                              "   </avatar>\n"
                              "\n"
                              "   <avatar name='Ann'>\n"
                              "      <server host='127.0.0.1' port='4000'/>\n"
                              "      <account id='ann' current='true'/>\n"
                              "   </avatar>\n"
                              "\n"
                              "</init-file>\n";

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("init.xml").toStdString();
    }

    // Reads `path` the way start-up does and keeps the settings.
    void Read()
    {
        InitParser parser(path, view, friends, macros);
        parseResult = parser.ParseFile();
        init = parser.TakeInit();
    }

    void ReadText(const std::string& text)
    {
        WriteBytes(path, text);
        Read();
    }

    // A file holding just these lines inside init-file.
    void ReadLines(const std::string& lines) { ReadText("<init-file>\n" + lines + "</init-file>\n"); }

    std::string Written() const { return ReadBytes(path); }

    QTemporaryDir dir;
    std::string path;
    FakeMainView view;
    FakeFriends friends;
    FakeMacros macros;
    std::unique_ptr<Init> init;
    bool parseResult = false;
};

std::vector<std::string> AvatarNames(const Init& init)
{
    std::vector<std::string> out;
    for (const auto& a : init.Accounts())
        out.push_back(a->avatarName);
    return out;
}

std::unique_ptr<AccountRec> Account(std::string name, bool current = false)
{
    auto a = std::make_unique<AccountRec>();
    a->avatarName = std::move(name);
    a->host = "h";
    a->port = 1;
    a->current = current;
    return a;
}

} // namespace

// --- The whole file ------------------------------------------------------

TEST_F(SettingsTest, MissingFileKeepsEveryDefaultAndWritesTheDefaultFile)
{
    Read();
    EXPECT_FALSE(parseResult);
    EXPECT_TRUE(view.fontsApplied.empty());
    EXPECT_TRUE(view.coloursApplied.empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(init->BufferSize(), 200);
    EXPECT_EQ(init->BackgroundColour(), kDefaultBackgroundColour);
    EXPECT_FALSE(init->AutoLog());
    EXPECT_EQ(init->VotingTime(), 0);
    EXPECT_TRUE(init->Accounts().empty());
    EXPECT_EQ(init->SettingsPath(), path);

    ASSERT_TRUE(init->WriteSettings());
    EXPECT_EQ(Written(), kDefaultFile);
}

TEST_F(SettingsTest, FullFileIsAppliedAndWrittenBackByteForByte)
{
    ReadText(kFullFile);
    EXPECT_TRUE(parseResult);

    EXPECT_EQ(view.width, 1200);
    EXPECT_EQ(view.height, 800);
    EXPECT_EQ(view.inputHeight, 90);
    EXPECT_EQ(view.bufferLines, 500);
    EXPECT_EQ(init->BufferSize(), 500);
    EXPECT_EQ(view.coloursApplied, std::vector<int32_t>{8421376});
    EXPECT_FALSE(view.statsPanelVisible);
    EXPECT_TRUE(view.OptionChecked(Option::LargeBuffer));
    EXPECT_TRUE(view.OptionChecked(Option::TextAlert));
    EXPECT_FALSE(view.OptionChecked(Option::ConsoleLights));
    EXPECT_FALSE(view.OptionChecked(Option::SoundFx));
    EXPECT_TRUE(view.OptionChecked(Option::SuppressBlankLines));
    EXPECT_TRUE(init->AutoLog());
    EXPECT_EQ(init->VotingTime(), 1700000000);
    EXPECT_EQ(view.font, (FontSpec{"Courier New", 255, -13, 10}));
    EXPECT_EQ(friends.ranks, 5u);
    EXPECT_TRUE(friends.audio);
    EXPECT_EQ(friends.names, (std::vector<std::string>{"Alice", "Bob"}));
    ASSERT_EQ(macros.stored.size(), 2u);
    EXPECT_EQ(macros.stored[1], (std::vector<std::string>{"look", "say hi & bye <grin> it's me"}));
    EXPECT_TRUE(macros.stored[12].empty());

    ASSERT_EQ(init->Accounts().size(), 2u);
    const AccountRec& zed = *init->Accounts().front();
    EXPECT_EQ(zed.host, "kyrn.example.org");
    EXPECT_EQ(zed.port, 30003);
    EXPECT_EQ(zed.accountId, "zed01");
    EXPECT_EQ(zed.password, "it's&me");
    EXPECT_TRUE(zed.savePassword);
    EXPECT_FALSE(zed.current);
    const AccountRec& ann = *init->Accounts().back();
    EXPECT_EQ(ann.port, 4000);
    EXPECT_TRUE(ann.password.empty());
    EXPECT_FALSE(ann.savePassword);
    EXPECT_TRUE(ann.current);

    ASSERT_TRUE(init->WriteSettings());
    EXPECT_EQ(Written(), kFullFile);
}

TEST_F(SettingsTest, FileFromTheOriginalPlatformReadsTheSame)
{
    std::string crlf;
    for (char c : kFullFile) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    ReadText(crlf);
    ASSERT_TRUE(init->WriteSettings());
    EXPECT_EQ(Written(), kFullFile);
}

TEST_F(SettingsTest, WriterReadsTheWindowAtTheTimeOfWriting)
{
    Read();
    view.width = 640;
    view.height = 480;
    view.inputHeight = 30;
    view.options[Option::StatsPanel] = false;
    view.options[Option::SuppressBlankLines] = true;
    view.font = FontSpec{"Mono", 1, -20, 0};
    init->SetBufferSize(500);
    init->SetVotingTime(-5); // not positive: no voting line
    init->SetAutoLog(true);
    ASSERT_TRUE(init->WriteSettings());

    const std::string text = Written();
    EXPECT_NE(text.find("   <size width='640' height='480'/>\n"), std::string::npos);
    EXPECT_NE(text.find("   <buffer size='500'/>\n   <input-window height='30'/>\n"), std::string::npos);
    EXPECT_NE(text.find("<stats-panel visible='false'/>"), std::string::npos);
    EXPECT_NE(text.find("   <no-blank-lines/>\n   <autolog logging='true'/>\n\n"), std::string::npos);
    EXPECT_NE(text.find("   <font name='Mono' colour='1' height='-20' size='0'/>\n"), std::string::npos);
    EXPECT_EQ(text.find("voting"), std::string::npos);
    EXPECT_EQ(text.find("friends-list"), std::string::npos);
}

// --- Reading, row by row -------------------------------------------------

TEST_F(SettingsTest, WindowSizeNeedsBothDimensions)
{
    ReadLines("<size width='0' height='600'/>\n<input-window height='0'/>\n");
    EXPECT_EQ(view.width, 992);
    EXPECT_EQ(view.height, 701);
    EXPECT_EQ(view.inputHeight, 55);

    ReadLines("<size width='1' height='1'/>\n<input-window height='1'/>\n");
    EXPECT_EQ(view.width, 1);
    EXPECT_EQ(view.height, 1);
    EXPECT_EQ(view.inputHeight, 1);
}

TEST_F(SettingsTest, BufferSizeDecidesTheLargeBufferCheckMark)
{
    for (const auto& [value, checked] :
         std::vector<std::pair<int, bool>>{{500, true}, {201, true}, {200, false}, {100, false}}) {
        ReadLines("<buffer size='" + std::to_string(value) + "'/>\n");
        EXPECT_EQ(view.bufferLines, value);
        EXPECT_EQ(init->BufferSize(), value);
        EXPECT_EQ(view.OptionChecked(Option::LargeBuffer), checked) << value;
    }
    ReadLines("<buffer/>\n");
    EXPECT_EQ(init->BufferSize(), 200);
}

TEST_F(SettingsTest, StatsPanelHidesOnlyForTheWordFalse)
{
    ReadLines("<stats-panel visible='no'/>\n");
    EXPECT_TRUE(view.statsPanelVisible);
    ReadLines("<stats-panel visible='false'/>\n");
    EXPECT_FALSE(view.statsPanelVisible);
    EXPECT_FALSE(view.OptionChecked(Option::StatsPanel));
    ReadLines("<stats-panel/>\n");
    EXPECT_TRUE(view.statsPanelVisible);
    EXPECT_TRUE(view.OptionChecked(Option::StatsPanel));
}

TEST_F(SettingsTest, TogglesAreOnOnlyForTheWordTrue)
{
    ReadLines("<audio-alert enabled='true'/>\n<twinkles enabled='TRUE'/>\n<sound-fx enabled='1'/>\n");
    EXPECT_TRUE(view.OptionChecked(Option::TextAlert));
    EXPECT_FALSE(view.OptionChecked(Option::ConsoleLights));
    EXPECT_FALSE(view.OptionChecked(Option::SoundFx));
    EXPECT_FALSE(view.OptionChecked(Option::SuppressBlankLines));

    ReadLines("<twinkles enabled='true'/>\n<sound-fx enabled='true'/>\n<no-blank-lines/>\n");
    EXPECT_TRUE(view.OptionChecked(Option::ConsoleLights));
    EXPECT_TRUE(view.OptionChecked(Option::SoundFx));
    EXPECT_TRUE(view.OptionChecked(Option::SuppressBlankLines));
}

TEST_F(SettingsTest, DefaultColourIsStoredButNotApplied)
{
    ReadLines("<colour bkg='-2147483643'/>\n");
    EXPECT_TRUE(view.coloursApplied.empty());
    ReadLines("<colour/>\n");
    EXPECT_TRUE(view.coloursApplied.empty());
    EXPECT_EQ(init->BackgroundColour(), kDefaultBackgroundColour);

    ReadLines("<colour bkg='65280'/>\n");
    EXPECT_EQ(view.coloursApplied, std::vector<int32_t>{65280});
    EXPECT_EQ(init->BackgroundColour(), 65280);
}

TEST_F(SettingsTest, FontTakesItsDefaultsForMissingAttributes)
{
    ReadLines("<font name='Verdana'/>\n");
    ASSERT_EQ(view.fontsApplied.size(), 1u);
    EXPECT_EQ(view.fontsApplied[0], (FontSpec{"Verdana", 0, -15, 0}));
}

TEST_F(SettingsTest, FriendsRanksAudioAndNames)
{
    ReadLines("<friends-list ranks='32769' audio='yes'>\n<friend name='Zoe'/>\n"
              "<friend name='zoe'/>\n</friends-list>\n");
    EXPECT_EQ(friends.ranks, 32769u);
    EXPECT_FALSE(friends.audio);
    EXPECT_EQ(friends.names, (std::vector<std::string>{"Zoe", "zoe"}));

    ReadLines("<friends-list audio='true'>\n");
    EXPECT_TRUE(friends.audio);
}

TEST_F(SettingsTest, VotingAutologAndIgnoredElements)
{
    ReadLines("<voting time='1234'/>\n<autolog logging='false'/>\n<desc2main/>\n"
              "<unknown a='1'/>\n<Buffer size='500'/>\n");
    EXPECT_EQ(init->VotingTime(), 1234);
    EXPECT_TRUE(init->AutoLog()); // the element's presence counts
    EXPECT_EQ(init->BufferSize(), 200);
    EXPECT_TRUE(view.fontsApplied.empty());
    ReadLines("<voting/>\n");
    EXPECT_EQ(init->VotingTime(), 0);
    // A time that wraps negative is no vote, as the writer leaves it out.
    ReadLines("<voting time='3400000000'/>\n");
    EXPECT_EQ(init->VotingTime(), 0);
}

TEST_F(SettingsTest, MacrosAreHandedToTheStoreAtTheirEndTag)
{
    ReadLines("<command>outside</command>\n"
              "<macro key='3'>\n"
              "stray text\n"
              "<command>north</command>\n"
              "<command>\n"
              "get all\n"
              "</command>\n"
              "</macro>\n"
              "<macro key='13'>\n<command>lost</command>\n</macro>\n"
              "<macro>\n</macro>\n"
              "<macro key='5'>\n<command>never closed</command>\n");
    ASSERT_EQ(macros.offered.size(), 3u);
    EXPECT_EQ(macros.offered[0], (std::pair<int, std::vector<std::string>>{3, {"north", "get all"}}));
    EXPECT_EQ(macros.offered[1].first, 13);
    EXPECT_EQ(macros.offered[2], (std::pair<int, std::vector<std::string>>{0, {}}));
    EXPECT_EQ(macros.stored.size(), 1u);
}

TEST_F(SettingsTest, AccountElementsFillTheEnclosingAvatarOnly)
{
    ReadLines("<server host='stray' port='1'/>\n<account id='stray'/>\n"
              "<avatar name='One'>\n<server host='h1'/>\n<account id='a1' current='yes'/>\n</avatar>\n"
              "<avatar name='Dropped'>\n<server host='h2' port='2'/>\n"
              "<avatar name='Two'>\n</avatar>\n"
              "<avatar name='Open'>\n<account id='x' password='p'/>\n");
    EXPECT_EQ(AvatarNames(*init), (std::vector<std::string>{"One", "Two"}));
    const AccountRec& one = *init->Accounts().front();
    EXPECT_EQ(one.host, "h1");
    EXPECT_EQ(one.port, 30003);
    EXPECT_EQ(one.accountId, "a1");
    EXPECT_FALSE(one.current);
    EXPECT_FALSE(one.savePassword);
    const AccountRec& two = *init->Accounts().back();
    EXPECT_EQ(two.host, "");
    EXPECT_EQ(two.port, 0);
    EXPECT_FALSE(two.current);
    EXPECT_FALSE(two.savePassword);
}

// --- Escaping ------------------------------------------------------------

TEST_F(SettingsTest, TextValuesSurviveApostrophesAndAmpersands)
{
    Read();
    auto a = std::make_unique<AccountRec>();
    a->avatarName = "O'Neil <3";
    a->host = "a&b.example";
    a->port = 30003;
    a->accountId = "id'&>";
    a->password = "p'ss&w<rd>\"";
    a->savePassword = true;
    a->current = true;
    init->AddAccount(std::move(a));
    view.font.name = "Bob's & Sons";
    ASSERT_TRUE(init->WriteSettings());
    EXPECT_NE(Written().find("password='p&apos;ss&amp;w&lt;rd&gt;\"'"), std::string::npos);

    FakeMainView again;
    FakeFriends f2;
    FakeMacros m2;
    InitParser parser(path, again, f2, m2);
    ASSERT_TRUE(parser.ParseFile());
    const auto reread = parser.TakeInit();
    ASSERT_EQ(reread->Accounts().size(), 1u);
    const AccountRec& r = *reread->Accounts().front();
    EXPECT_EQ(r.avatarName, "O'Neil <3");
    EXPECT_EQ(r.host, "a&b.example");
    EXPECT_EQ(r.accountId, "id'&>");
    EXPECT_EQ(r.password, "p'ss&w<rd>\"");
    EXPECT_TRUE(r.current);
    EXPECT_EQ(again.font.name, "Bob's & Sons");
}

// --- Writing safely ------------------------------------------------------

TEST_F(SettingsTest, FileIsPrivateToItsOwner)
{
    Read();
    ASSERT_TRUE(init->WriteSettings());
    const auto perms = std::filesystem::status(path).permissions();
    EXPECT_EQ(perms & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // An older file readable by everyone is tightened on the next write.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write
                                           | std::filesystem::perms::group_read
                                           | std::filesystem::perms::others_read);
    ASSERT_TRUE(init->WriteSettings());
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(SettingsTest, UnwritablePathReportsAndCreatesNothing)
{
    // A regular file where the directory should be: not even root can write.
    const std::string blocker = dir.filePath("blocker").toStdString();
    WriteBytes(blocker, "keep");
    FakeMainView v;
    FakeFriends f;
    FakeMacros m;
    Init settings(blocker + "/init.xml", v, f, m);
    settings.AddAccount(Account("Kept", true));

    EXPECT_FALSE(settings.WriteSettings());
    ASSERT_EQ(v.messages.size(), 1u);
    EXPECT_EQ(v.messages[0].first, MessageKind::Error);
    EXPECT_EQ(v.messages[0].second, "Unable to save your personal\nsettings to file init.xml");
    EXPECT_EQ(ReadBytes(blocker), "keep");
    EXPECT_EQ(AvatarNames(settings), std::vector<std::string>{"Kept"});
    EXPECT_TRUE(settings.Accounts().front()->current);
}

TEST_F(SettingsTest, PathThatIsADirectoryIsLeftAloneWithoutLeftovers)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("init.xml"));
    WriteBytes(path + "/inside", "x");
    Read();
    EXPECT_FALSE(init->WriteSettings());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(ReadBytes(path + "/inside"), "x");
    // No half-written temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"init.xml"});
}

// --- Stored accounts -----------------------------------------------------

TEST_F(SettingsTest, CurrentAccountIsTheFirstFlaggedOrElseTheFirst)
{
    ReadLines("<avatar name='A'>\n</avatar>\n<avatar name='B'>\n<account id='b' current='true'/>\n"
              "</avatar>\n<avatar name='C'>\n<account id='c' current='true'/>\n</avatar>\n");
    EXPECT_EQ(init->GetCurrentAccount()->avatarName, "B");

    ReadLines("<avatar name='A'>\n</avatar>\n<avatar name='B'>\n</avatar>\n");
    AccountRec* current = init->GetCurrentAccount();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->avatarName, "A");
    EXPECT_TRUE(current->current);
}

TEST_F(SettingsTest, EmptyListHasNoCurrentAccount)
{
    Read();
    EXPECT_EQ(init->GetCurrentAccount(), nullptr);
    EXPECT_EQ(init->NextAccount(), nullptr);
    EXPECT_EQ(init->PreviousAccount(), nullptr);
    EXPECT_EQ(init->DeleteCurrentAccount(), nullptr);
    EXPECT_EQ(init->AddAccount(nullptr), nullptr);
    EXPECT_TRUE(init->Accounts().empty());
}

TEST_F(SettingsTest, NextAndPreviousWalkTheList)
{
    Read();
    init->AddAccount(Account("A", true));
    init->AddAccount(Account("B"));
    init->AddAccount(Account("C"));
    EXPECT_EQ(init->PreviousAccount(), nullptr); // at the first: stays
    EXPECT_EQ(init->GetCurrentAccount()->avatarName, "A");
    EXPECT_EQ(init->NextAccount()->avatarName, "B");
    EXPECT_EQ(init->NextAccount()->avatarName, "C");
    EXPECT_EQ(init->PreviousAccount()->avatarName, "B");
    EXPECT_EQ(init->NextAccount()->avatarName, "C");
    EXPECT_EQ(init->NextAccount(), nullptr); // past the last: none current
    for (const auto& a : init->Accounts())
        EXPECT_FALSE(a->current);
    EXPECT_EQ(init->NextAccount(), nullptr);
    // With none current, Previous starts from the last.
    EXPECT_EQ(init->PreviousAccount()->avatarName, "C");
    int flagged = 0;
    for (const auto& a : init->Accounts())
        flagged += a->current;
    EXPECT_EQ(flagged, 1);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(SettingsTest, StoreAfterWalkingPastTheEndAppendsAndWrites)
{
    Read();
    init->AddAccount(Account("A", true));
    EXPECT_EQ(init->NextAccount(), nullptr);

    AccountRec entry;
    entry.host = "new.host";
    entry.port = 5000;
    entry.avatarName = "New";
    entry.accountId = "nid";
    entry.password = "pw";
    entry.savePassword = false;
    entry.current = true;
    entry.email = "not@stored";
    init->StoreAccount(entry);

    EXPECT_EQ(AvatarNames(*init), (std::vector<std::string>{"A", "New"}));
    const AccountRec& stored = *init->Accounts().back();
    EXPECT_NE(&stored, &entry);
    EXPECT_EQ(stored.host, "new.host");
    EXPECT_EQ(stored.port, 5000);
    EXPECT_EQ(stored.password, "pw");
    EXPECT_TRUE(stored.current);
    EXPECT_EQ(stored.email, "");
    // Written at once; the password is left out without save-password.
    const std::string text = Written();
    EXPECT_NE(text.find("   <avatar name='New'>\n      <server host='new.host' port='5000'/>\n"
                        "      <account id='nid' current='true'/>\n   </avatar>\n\n</init-file>\n"),
              std::string::npos);
}

TEST_F(SettingsTest, StoreOverwritesTheCurrentEntry)
{
    Read();
    init->AddAccount(Account("A"));
    AccountRec* b = init->AddAccount(Account("B", true));
    AccountRec entry = *b;
    entry.password = "secret";
    entry.savePassword = true;
    entry.avatarName = "B2";
    init->StoreAccount(entry);
    EXPECT_EQ(AvatarNames(*init), (std::vector<std::string>{"A", "B2"}));
    EXPECT_EQ(b->password, "secret");
    EXPECT_NE(Written().find("password='secret' current='true'/>"), std::string::npos);

    // Storing the current entry itself just writes it.
    b->port = 7;
    init->StoreAccount(*b);
    EXPECT_EQ(init->Accounts().size(), 2u);
    EXPECT_NE(Written().find("port='7'"), std::string::npos);
}

TEST_F(SettingsTest, DeleteRemovesTheCurrentWritesAndFlagsTheFirst)
{
    Read();
    init->AddAccount(Account("A"));
    init->AddAccount(Account("B", true));
    init->AddAccount(Account("C"));
    AccountRec* next = init->DeleteCurrentAccount();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->avatarName, "A");
    EXPECT_TRUE(next->current);
    EXPECT_EQ(AvatarNames(*init), (std::vector<std::string>{"A", "C"}));
    const std::string text = Written();
    EXPECT_EQ(text.find("'B'"), std::string::npos);
    EXPECT_NE(text.find("<avatar name='C'>"), std::string::npos);

    // With none current nothing is removed, but the first becomes current.
    next->current = false;
    EXPECT_EQ(init->DeleteCurrentAccount()->avatarName, "A");
    EXPECT_EQ(init->Accounts().size(), 2u);
}

TEST_F(SettingsTest, DeletingTheOnlyAccountWritesAFileWithoutAvatars)
{
    ReadLines("<avatar name='Solo'>\n<server host='h' port='1'/>\n<account id='s' current='true'/>\n"
              "</avatar>\n");
    EXPECT_EQ(init->DeleteCurrentAccount(), nullptr);
    EXPECT_TRUE(init->Accounts().empty());
    EXPECT_EQ(Written(), kDefaultFile);
}

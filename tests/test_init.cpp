// init.xml: what reading hands to the window, the friends list, the macro
// store and the accounts; what writing puts on disk, and how it fails.
#include <filesystem>
#include <sstream>

#include <QDir>
#include <QTemporaryDir>

#include <sys/fsuid.h>
#include <unistd.h>

#include "settings/init_parser.h"
#include "social/friends_code.h"
#include "support/common.h"
#include "support/fake_mainview.h"
#include "support/settings_files.h"

namespace {

namespace fs = std::filesystem;

// The recording window with the real friends list and macro store, and the
// settings read into them.
struct Settings {
    FakeMainView view;
    Friends friends{view};
    Macro macros{view};
    std::unique_ptr<Init> init;

    // Every check mark reading sets shows in the model.
    Settings() { view.options.clear(); }

    // Reads the file the way start-up does.
    bool Read(const QString& path)
    {
        InitParser parser(path.toStdString(), view, friends, macros);
        const bool read = parser.ParseFile();
        init = parser.TakeInit();
        return read;
    }

    // Everything reading changed, in one line.
    std::string Model() const
    {
        const FakeMainView fresh;
        std::ostringstream s;
        const auto add = [&s](bool shown, const auto&... parts) {
            if (shown)
                ((s << (s.tellp() > 0 ? " " : "")) << ... << parts);
        };
        add(view.width != fresh.width || view.height != fresh.height, "size=", view.width, 'x', view.height);
        add(view.inputHeight != fresh.inputHeight, "input=", view.inputHeight);
        add(view.bufferLines != fresh.bufferLines, "lines=", view.bufferLines);
        add(init->BufferSize() != 200, "buffer=", init->BufferSize());
        for (int32_t colour : view.coloursApplied)
            add(true, "colour=", colour);
        add(init->BackgroundColour() != kDefaultBackgroundColour, "bkg=", init->BackgroundColour());
        add(!view.statsPanelVisible, "stats=0");
        for (auto [option, name] : {std::pair{Option::TextAlert, "alert"}, {Option::ConsoleLights, "lights"},
                 {Option::SoundFx, "fx"}, {Option::SuppressBlankLines, "no-blank"}})
            add(view.options.count(option), name, '=', view.options.count(option) && view.options.at(option));
        for (const FontSpec& f : view.fontsApplied)
            add(true, "font=", f.name, '/', f.colour, '/', f.height, '/', f.size);
        add(init->VotingTime(), "voting=", init->VotingTime());
        add(init->AutoLog(), "autolog");
        add(friends.Ranks(), "ranks=", friends.Ranks());
        add(friends.Audio(), "audio");
        for (const std::string& name : friends.Names())
            add(true, "friend=", name);
        add(!StoredMacros(macros).empty(), StoredMacros(macros));
        for (const auto& a : init->Accounts())
            add(true, "avatar=", a->avatarName, '@', a->host, ':', a->port, '/', a->accountId,
                a->savePassword ? "/" + a->password : "", a->current ? "*" : "");
        return s.str();
    }
};

class SettingsFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("init.xml");
    Settings s;
};

TEST_F(SettingsFile, ReadingAppliesEachElementByItsRule)
{
    const std::pair<QByteArray, std::string> rows[] = {
        // The system colour is not applied; names are matched exactly.
        {"<init-file>\n<size width='0' height='600'/>\n<input-window height='0'/>\n<buffer/>\n<stats-panel/>\n"
         "<stats-panel visible='no'/>\n<colour bkg='-2147483643'/>\n<colour/>\n<voting/>\n<desc2main/>\n"
         "<unknown a='1'/>\n<Buffer size='500'/>\n</init-file>\n",
            ""},
        {"<size width='1' height='1'/>\n<input-window height='1'/>\n", "size=1x1 input=1"},
        {"<buffer size='100'/>\n", "lines=100 buffer=100"},
        {"<stats-panel visible='false'/>\n", "stats=0"},
        {"<audio-alert enabled='true'/>\n<twinkles enabled='TRUE'/>\n<sound-fx enabled='1'/>\n",
            "alert=1 lights=0 fx=0"},
        {"<twinkles enabled='true'/>\n<no-blank-lines/>\n", "lights=1 no-blank=1"},
        {"<colour bkg='65280'/>\n", "colour=65280 bkg=65280"},
        {"<font name='Verdana'/>\n", "font=Verdana/0/-15/0"},
        {"<friends-list ranks='32769' audio='yes'>\n<friend name='zoe'/>\n<friend name='ZOE'/>\n",
            "ranks=32769 friend=Zoe"},
        {"<friends-list audio='true'>\n", "audio"},
        {"<voting time='1234'/>\n<autolog logging='false'/>\n", "voting=1234 autolog"},
        {"<voting time='8589934592'/>\n", "voting=8589934592"},
        // A vote before 1970 stays a (long past) vote, so reminders keep coming.
        {"<voting time='-5'/>\n", "voting=1"},
        {"<command>outside</command>\n<macro key='3'>\nstray\n<command>north</command>\n"
         "<command>\nget all\n</command>\n</macro>\n<macro key='13'>\n<command>lost</command>\n"
         "</macro>\n<macro>\n</macro>\n<macro key='12'>\n</macro>\n<macro key='5'>\n<command>open\n",
            "F3=north|get all F12="},
        {"<server host='stray' port='1'/>\n<account id='stray'/>\n<avatar name='One'>\n"
         "<server host='h1'/>\n<account id='a1' current='yes'/>\n</avatar>\n<avatar name='Lost'>\n"
         "<server host='h2' port='2'/>\n<avatar name='Two'>\n</avatar>\n<avatar name='Open'>\n",
            "avatar=One@h1:30003/a1 avatar=Two@:0/"},
        {kFullSettingsFile,
            "size=1200x800 input=90 lines=500 buffer=500 colour=8421376 bkg=8421376 stats=0 alert=1 lights=0 "
            "fx=0 no-blank=1 font=DejaVu Sans Mono/255/-13/10 voting=1700000000 autolog ranks=5 audio friend=Alice "
            "friend=O'neil F1=look|say hi & bye <grin> it's me F12= avatar=Zed's@kyrn.example.org:30003/zed01/"
            "it's&me<>\" avatar=Ann@127.0.0.1:4000/ann*"},
    };
    for (const auto& [file, model] : rows) {
        Settings read;
        WriteFile(path, file);
        EXPECT_TRUE(read.Read(path));
        EXPECT_EQ(read.Model(), model) << file.toStdString();
    }
}

TEST_F(SettingsFile, MissingFileLeavesTheDefaultsAndWritingMakesAPrivateFile)
{
    EXPECT_FALSE(s.Read(path));
    EXPECT_EQ(s.Model(), "");
    // An older file readable by all is tightened; a vote time that is not positive is left out.
    WriteFile(path, "old");
    fs::permissions(path.toStdString(), fs::perms::group_read | fs::perms::others_read, fs::perm_options::add);
    s.init->SetVotingTime(-5);
    s.view.options = FakeMainView().options;
    ASSERT_TRUE(s.init->WriteSettings());
    EXPECT_EQ(ReadFile(path), kDefaultSettingsFile);
    EXPECT_EQ(
        fs::status(path.toStdString()).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsFile, WhatIsReadIsWrittenBackByteForByte)
{
    WriteFile(path, QByteArray(kFullSettingsFile).replace("\n", "\r\n"));
    s.Read(path);
    // The window keeps the stats panel's check mark with the panel.
    s.view.options[Option::StatsPanel] = s.view.statsPanelVisible;
    ASSERT_TRUE(s.init->WriteSettings());
    EXPECT_EQ(ReadFile(path), kFullSettingsFile);
}

// The list as "A B* C" (* = current).
std::string ListOf(const AccountsList& accounts)
{
    std::string out;
    for (const auto& a : accounts)
        out += (out.empty() ? "" : " ") + a->avatarName + (a->current ? "*" : "");
    return out;
}

TEST_F(SettingsFile, AccountOperationsMoveOneCurrentMarkAndWriteOnStoreAndDelete)
{
    WriteFile(path,
        "<avatar name='A'>\n</avatar>\n<avatar name='B'>\n<account id='b' current='true'/>\n"
        "</avatar>\n<avatar name='C'>\n<account id='c' current='true'/>\n</avatar>\n");
    s.Read(path);
    AccountRec stored;
    stored.avatarName = "N";
    stored.host = "new.host";
    stored.port = 5000;
    stored.accountId = "nid";
    stored.password = "pw";
    stored.current = true;
    // get, next, previous, delete, store: what it returns and the list after it. With
    // several flagged the first counts; with none, get and delete flag the first,
    // previous the last, store appends; past the last none is current.
    const struct {
        char op;
        const char* returned;
        std::string list;
    } steps[] = {
        {'g', "B", "A B* C*"},
        {'n', "C", "A B C*"},
        {'n', "-", "A B C"},
        {'n', "-", "A B C"},
        {'p', "C", "A B C*"},
        {'p', "B", "A B* C"},
        {'n', "C", "A B C*"},
        {'n', "-", "A B C"},
        {'g', "A", "A* B C"},
        {'p', "-", "A* B C"},
        {'n', "B", "A B* C"},
        {'d', "A", "A* C"},
        {'s', "-", "N* C"},
        {'n', "C", "N C*"},
        {'n', "-", "N C"},
        {'d', "N", "N* C"},
        {'n', "C", "N C*"},
        {'n', "-", "N C"},
        {'s', "-", "N C N*"},
        {'d', "N", "N* C"},
        {'d', "C", "C*"},
        {'d', "-", ""},
        {'g', "-", ""},
        {'n', "-", ""},
        {'p', "-", ""},
        {'d', "-", ""},
    };
    for (const auto& [op, returned, list] : steps) {
        QFile::remove(path);
        AccountRec* r = nullptr;
        switch (op) {
        case 'g': r = s.init->GetCurrentAccount(); break;
        case 'n': r = s.init->NextAccount(); break;
        case 'p': r = s.init->PreviousAccount(); break;
        case 'd': r = s.init->DeleteCurrentAccount(); break;
        case 's': s.init->StoreAccount(stored); break;
        }
        SCOPED_TRACE(std::string(1, op) + " to " + list);
        EXPECT_EQ(r ? r->avatarName : "-", returned);
        EXPECT_EQ(ListOf(s.init->Accounts()), list);
        // Store and delete write the list at once; the others write nothing.
        EXPECT_EQ(QFile::exists(path) ? ReadFile(path).count("<avatar ") : -1,
            op == 's' || op == 'd' ? static_cast<qsizetype>(s.init->Accounts().size()) : -1);
    }
    s.init->StoreAccount(stored);
    EXPECT_TRUE(ReadFile(path).contains("<avatar name='N'>\n      <server host='new.host' port='5000'/>\n"
                                        "      <account id='nid' current='true'/>\n"));
}

TEST_F(SettingsFile, UnwritablePlaceIsReportedAndLeavesNoLeftovers)
{
    // A folder where the file should be: not even root can write it.
    ASSERT_TRUE(QDir(dir.path()).mkpath("init.xml/inside"));
    Init settings(path.toStdString(), s.view, s.friends, s.macros);
    EXPECT_FALSE(settings.WriteSettings());
    const std::pair<MessageKind, std::string> error{
        MessageKind::Error, "Unable to save your personal\nsettings to file init.xml"};
    EXPECT_EQ(s.view.messages, decltype(s.view.messages){error});
    const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
    EXPECT_EQ(QDir(dir.path()).entryList(all), QStringList{"init.xml"});
    EXPECT_EQ(QDir(path).entryList(all), QStringList{"inside"});
}

TEST_F(SettingsFile, FileInAFolderThePlayerCannotWriteIsWrittenInPlace)
{
    // The player may write the file but not its folder. Run as root, this
    // thread's file access is checked as another user's.
    const bool root = ::geteuid() == 0;
    const uid_t player = root ? 65534 : ::geteuid();
    const gid_t group = root ? 65534 : ::getegid();
    constexpr auto kPrivate = fs::perms::owner_read | fs::perms::owner_write;
    const struct {
        bool playerOwns;
        fs::perms mode, modeAfter; // a mode change the owner refuses keeps the mode and still writes
    } rows[] = {
        {true, fs::perms(0644), kPrivate}, // the player's own file is made private
        {false, fs::perms(0666), fs::perms(0666)}, // a shared install's file: root's, writable by all
    };
    fs::permissions(dir.path().toStdString(), fs::perms::others_exec, fs::perm_options::add);
    for (const auto& row : rows) {
        if (!row.playerOwns && !root) {
            GTEST_SKIP() << "a file owned by someone else needs root to set up";
        }
        const QString folder = dir.filePath(row.playerOwns ? "own" : "shared"), file = folder + "/init.xml";
        ASSERT_TRUE(QDir().mkdir(folder));
        WriteFile(file, QByteArray(5000, 'x')); // longer than the new file: its tail goes
        fs::permissions(file.toStdString(), row.mode);
        if (row.playerOwns) {
            ASSERT_EQ(::chown(file.toUtf8().constData(), player, group), 0);
        }
        fs::permissions(folder.toStdString(), static_cast<fs::perms>(0755));
        FakeMainView v;
        Init settings(file.toStdString(), v, s.friends, s.macros);
        ::setfsgid(group);
        ::setfsuid(player);
        EXPECT_TRUE(settings.WriteSettings()) << row.playerOwns;
        ::setfsuid(::geteuid());
        ::setfsgid(::getegid());
        EXPECT_TRUE(v.messages.empty()) << row.playerOwns;
        EXPECT_EQ(ReadFile(file), kDefaultSettingsFile) << row.playerOwns;
        EXPECT_EQ(fs::status(file.toStdString()).permissions() & fs::perms::all, row.modeAfter) << row.playerOwns;
    }
}

} // namespace

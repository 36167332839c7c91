// The friends list: announcements by rank and by name, alert sounds, the
// settings block, and the "Friend Alerts" dialog on real widgets.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "social/friends.h"
#include "social/friends_code.h"
#include "support/common.h"
#include "support/fake_mainview.h"
#include "support/modal_script.h"
#include "support/scoped_workdir.h"

using Calls = std::vector<std::string>;

struct FriendsTest : ::testing::Test {
    FakeMainView view;
    Friends friends{view};
    TFriendsForm form{friends};

    QStringList Listed() { return ListItems(Control<QListWidget>(&form, "FriendsList")); }
    QCheckBox* Check(const char* name) { return Control<QCheckBox>(&form, name); }
    void Click(const char* name) { QTest::mouseClick(Control<QPushButton>(&form, name), Qt::LeftButton); }
    void Add(const QString& name)
    {
        TypeInto(Control<QLineEdit>(&form, "NewEdit"), name);
        Click("AddBtn");
    }
};

TEST_F(FriendsTest, ArrivalsAndDeparturesAreAnnouncedByRankAndByName)
{
    friends.AddName("Amy");
    friends.AddName("bob");
    friends.SetRanks((1u << 0) | (1u << 4) | (1u << 15));
    const struct {
        int32_t rank;
        std::string name;
        bool in;
        Calls calls;
    } rows[] = {
        {15, "Rich", true, {"DisplayText:Rich is logged into the game."}},
        {1, "Cmdr", true, {}},
        {0, "Rich", false, {}},
        {3, "Bob", true, {"AddFriendItem:Bob", "DisplayText:Bob is logged into the game."}},
        {3, "amy", true, {}}, // names compare exactly
        // A friend of a chosen rank arrives by rank, so is not listed, yet leaves by name.
        {4, "Amy", true, {"DisplayText:Amy is logged into the game."}},
        {0, "Amy", false, {"RemoveFriendItem:Amy", "DisplayText:Amy is logged out of the game."}},
        // Ranks outside the sixteen known ones match nothing.
        {16, "A", true, {}},
        {32, "B", true, {}},
        {48, "C", true, {}},
        {-1, "D", true, {}},
    };
    for (const auto& row : rows) {
        view.calls.clear();
        friends.PlayerChanged(row.rank, row.name, row.in);
        EXPECT_EQ(view.calls, row.calls) << row.rank << " " << row.name;
    }
}

TEST_F(FriendsTest, AlertPlaysTheFriendsSoundElseTheAlertSoundOnlyWithAudio)
{
    ScopedWorkDir dir;
    ScopedWorkDir::Touch("sounds/alert.wav");
    ScopedWorkDir::Touch("sounds/Friends.WAV");
    friends.AddName("Amy");
    auto lastCall = [&] {
        friends.PlayerChanged(0, "Amy", true);
        return view.calls.back();
    };
    EXPECT_EQ(lastCall(), "DisplayText:Amy is logged into the game."); // audio off
    friends.SetAudio();
    EXPECT_EQ(lastCall(), "PlaySound:./sounds/Friends.WAV");
    ASSERT_TRUE(QFile::remove("sounds/Friends.WAV"));
    EXPECT_EQ(lastCall(), "PlaySound:./sounds/alert.wav");
    ASSERT_TRUE(QFile::remove("sounds/alert.wav"));
    EXPECT_EQ(lastCall(), "DisplayText:Amy is logged into the game.");
}

TEST_F(FriendsTest, SettingsMergeRanksKeepNamesCapitalisedOnceAndWriteTheBlock)
{
    EXPECT_EQ(friends.FriendsBlock(), "");
    friends.SetRanks(0x18000u);
    friends.SetRanks(2u);
    EXPECT_EQ(friends.Ranks(), 0x8002);
    EXPECT_EQ(friends.FriendsBlock(), "   <friends-list ranks='32770' audio='false'>\n   </friends-list>\n\n");

    for (const char* name : {"aLICE", "Alice", "bob", ""})
        friends.AddName(name);
    EXPECT_EQ(friends.Names(), (std::vector<std::string>{"Alice", "Bob", ""}));

    friends.Replace(0, true, {"o'neil", "Tom & jerry", "<b>"});
    EXPECT_EQ(friends.FriendsBlock(),
        "   <friends-list ranks='0' audio='true'>\n"
        "      <friend name='O&apos;neil'/>\n"
        "      <friend name='Tom &amp; jerry'/>\n"
        "      <friend name='&lt;b&gt;'/>\n"
        "   </friends-list>\n\n");
}

TEST_F(FriendsTest, DialogShowsTheModelOkCopiesItBackItDeletesOnlyASelectedNameAndCancelKeepsTheModel)
{
    friends.Replace((1u << 2) | (1u << 12), false, {"zed", "amy"});
    form.Open();
    EXPECT_TRUE(form.isVisible() && !form.isModal());
    EXPECT_TRUE(Check("CaptainCheck")->isChecked() && Check("TechnoCheck")->isChecked());
    EXPECT_FALSE(Check("CommanderCheck")->isChecked() || Check("AudioCheck")->isChecked());
    EXPECT_EQ(Listed(), QStringList({"Amy", "Zed"}));

    for (const char* name : {"bob", "ZED", ""})
        Add(name);
    EXPECT_EQ(Listed(), QStringList({"Amy", "bob", "Zed"}));
    EXPECT_TRUE(Control<QLineEdit>(&form, "NewEdit")->text().isEmpty());

    Check("CaptainCheck")->setChecked(false);
    for (const char* box : {"GHogCheck", "SyndicratCheck", "AudioCheck"})
        Check(box)->setChecked(true);
    Click("OKBtn");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(friends.Ranks(), (1u << 0) | (1u << 12) | (1u << 15));
    EXPECT_TRUE(friends.Audio());
    EXPECT_EQ(friends.Names(), (std::vector<std::string>{"Amy", "Bob", "Zed"}));

    // It deletes only a selected name, and Cancel keeps the model.
    friends.Replace(0, false, {"Amy", "Bob"});
    form.Open();
    ModalScript script;
    script.Answer(QMessageBox::Ok);
    Click("DeleteBtn");
    EXPECT_EQ(script.messages, std::vector<QString>{"You need to select a player first!"});
    auto* list = Control<QListWidget>(&form, "FriendsList");
    list->setCurrentRow(1);
    Click("DeleteBtn");
    EXPECT_TRUE(list->selectedItems().isEmpty()); // the neighbour is not chosen for the player
    Add("Eve");
    Check("MogulCheck")->setChecked(true);
    // Shown again by the window system, as after a minimise, then chosen again from the menu: the edits stay.
    form.hide();
    form.show();
    form.Open();
    EXPECT_EQ(Listed(), QStringList({"Amy", "Eve"}));
    EXPECT_TRUE(Check("MogulCheck")->isChecked());
    Click("CancelBtn");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(friends.Names(), (std::vector<std::string>{"Amy", "Bob"}));
    EXPECT_EQ(friends.Ranks(), 0);

    form.Open();
    EXPECT_EQ(Listed(), QStringList({"Amy", "Bob"}));
    EXPECT_FALSE(Check("MogulCheck")->isChecked());
}

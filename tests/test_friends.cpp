// The friends list: announcements by rank and by name, alert sounds, the
// settings block, and the "Friend Alerts" dialog on real widgets.
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "social/friends.h"
#include "social/friends_code.h"
#include "support/fake_mainview.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class FriendsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("sounds"));
        view.workDir = dir.path().toStdString();
    }

    void Touch(const QString& name)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    std::string Sound(const std::string& name) const { return view.workDir + "/sounds/" + name; }

    QTemporaryDir dir;
    FakeMainView view;
    Friends friends{view};
};

} // namespace

TEST_F(FriendsTest, ChosenRanksAreAnnouncedOnArrivalOnly)
{
    friends.SetRanks((1u << 0) | (1u << 15));
    friends.PlayerChanged(15, "Rich", true);
    friends.PlayerChanged(0, "Hog", true);
    friends.PlayerChanged(1, "Cmdr", true);
    friends.PlayerChanged(0, "Rich", false);

    EXPECT_THAT(view.DisplayedTexts(),
                ElementsAre("Rich is logged into the game.", "Hog is logged into the game."));
    EXPECT_THAT(view.friendItems, IsEmpty());
}

TEST_F(FriendsTest, NamedFriendsAreListedWhileInTheGame)
{
    friends.AddName("Amy");
    friends.AddName("bob");
    friends.PlayerChanged(3, "Bob", true);
    friends.PlayerChanged(3, "Amy", true);
    friends.PlayerChanged(3, "amy", true); // names compare exactly
    EXPECT_THAT(view.friendItems, ElementsAre("Bob", "Amy"));

    friends.PlayerChanged(0, "Bob", false);
    EXPECT_THAT(view.friendItems, ElementsAre("Amy"));
    EXPECT_THAT(view.DisplayedTexts(),
                ElementsAre("Bob is logged into the game.", "Amy is logged into the game.",
                            "Bob is logged out of the game."));
}

TEST_F(FriendsTest, AFriendOfAChosenRankArrivesByRankAndLeavesByName)
{
    friends.AddName("Amy");
    friends.SetRanks(1u << 4);
    friends.PlayerChanged(4, "Amy", true);
    EXPECT_THAT(view.friendItems, IsEmpty());
    friends.PlayerChanged(0, "Amy", false);
    EXPECT_THAT(view.DisplayedTexts(),
                ElementsAre("Amy is logged into the game.", "Amy is logged out of the game."));
}

TEST_F(FriendsTest, AlertPlaysFriendsSoundThenAlertSoundThenNothing)
{
    friends.AddName("Amy");
    friends.PlayerChanged(0, "Amy", true);
    EXPECT_THAT(view.sounds, IsEmpty()); // audio off

    friends.SetAudio();
    Touch("sounds/alert.wav");
    Touch("sounds/Friends.WAV");
    friends.PlayerChanged(0, "Amy", true);
    ASSERT_TRUE(QFile::remove(dir.filePath("sounds/Friends.WAV")));
    friends.PlayerChanged(0, "Amy", false);
    ASSERT_TRUE(QFile::remove(dir.filePath("sounds/alert.wav")));
    friends.PlayerChanged(0, "Amy", true);

    EXPECT_THAT(view.sounds, ElementsAre(Sound("Friends.WAV"), Sound("alert.wav")));
    EXPECT_EQ(view.DisplayedTexts().size(), 4u);
}

TEST_F(FriendsTest, SettingsReadMergeRanksAndKeepNamesCapitalisedOnce)
{
    friends.SetRanks(0x10001u);
    friends.SetRanks(2u);
    EXPECT_EQ(friends.Ranks(), 3);

    friends.AddName("aLICE");
    friends.AddName("Alice");
    friends.AddName("bob");
    friends.AddName("");
    EXPECT_THAT(friends.Names(), ElementsAre("Alice", "Bob", ""));
    EXPECT_FALSE(friends.Audio());
    friends.SetAudio();
    EXPECT_TRUE(friends.Audio());
}

TEST_F(FriendsTest, SettingsBlockIsWrittenOnlyWhenThereIsSomethingToKeep)
{
    EXPECT_EQ(friends.FriendsBlock(), "");

    friends.SetRanks(1u << 15);
    EXPECT_EQ(friends.FriendsBlock(),
              "   <friends-list ranks='32768' audio='false'>\n"
              "   </friends-list>\n\n");

    friends.Replace(0, true, {"o'neil", "Tom & jerry", "<b>"});
    EXPECT_EQ(friends.FriendsBlock(),
              "   <friends-list ranks='0' audio='true'>\n"
              "      <friend name='O&apos;neil'/>\n"
              "      <friend name='Tom &amp; jerry'/>\n"
              "      <friend name='&lt;b&gt;'/>\n"
              "   </friends-list>\n\n");
}

namespace {

class FriendsFormTest : public ::testing::Test {
protected:
    template <typename T>
    T* Find(const char* name)
    {
        T* w = form.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    QStringList ListItems()
    {
        QStringList out;
        auto* list = Find<QListWidget>("FriendsList");
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    void Type(const QString& name)
    {
        auto* edit = Find<QLineEdit>("NewEdit");
        edit->setText(name);
        Click("AddBtn");
    }

    FakeMainView view;
    Friends friends{view};
    TFriendsForm form{friends};
};

} // namespace

TEST_F(FriendsFormTest, LooksAsDesigned)
{
    EXPECT_EQ(form.windowTitle(), "Friend Alerts");
    EXPECT_EQ(form.size(), QSize(459, 273));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Find<QLineEdit>("NewEdit")->maxLength(), 31);
    EXPECT_TRUE(Find<QPushButton>("OKBtn")->isDefault());
    EXPECT_EQ(Find<QPushButton>("AddBtn")->text(), "Add Name");
    EXPECT_EQ(Find<QPushButton>("DeleteBtn")->text(), "Delete Name");
    EXPECT_EQ(Find<QPushButton>("CancelBtn")->text(), "Cancel");
    EXPECT_EQ(Find<QCheckBox>("AudioCheck")->text(), "Audible Alert");

    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* merchant = Find<QCheckBox>("MerchantCheck");
    auto* trader = Find<QCheckBox>("TraderCheck");
    EXPECT_LT(merchant->x(), trader->x());
    EXPECT_EQ(merchant->y(), trader->y());
    auto* magnate = Find<QCheckBox>("MagnateCheck");
    auto* syndicrat = Find<QCheckBox>("SyndicratCheck");
    EXPECT_EQ(magnate->x(), syndicrat->x());
    EXPECT_GT(syndicrat->y(), magnate->y());
    form.close();
}

TEST_F(FriendsFormTest, ShowsTheModelAndOkCopiesTheDialogBack)
{
    friends.SetRanks((1u << 2) | (1u << 12));
    friends.AddName("zed");
    friends.AddName("amy");
    form.Open();

    EXPECT_TRUE(Find<QCheckBox>("CaptainCheck")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("TechnoCheck")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("CommanderCheck")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("AudioCheck")->isChecked());
    EXPECT_EQ(ListItems(), QStringList({"Amy", "Zed"}));

    Type("bob");
    Type("ZED");
    Type("");
    EXPECT_EQ(ListItems(), QStringList({"Amy", "bob", "Zed"}));
    EXPECT_TRUE(Find<QLineEdit>("NewEdit")->text().isEmpty());

    Find<QCheckBox>("CaptainCheck")->setChecked(false);
    Find<QCheckBox>("GHogCheck")->setChecked(true);
    Find<QCheckBox>("SyndicratCheck")->setChecked(true);
    Find<QCheckBox>("AudioCheck")->setChecked(true);
    Click("OKBtn");

    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(friends.Ranks(), (1u << 0) | (1u << 12) | (1u << 15));
    EXPECT_TRUE(friends.Audio());
    EXPECT_THAT(friends.Names(), ElementsAre("Amy", "Bob", "Zed"));
}

TEST_F(FriendsFormTest, CancelLeavesTheModelAndTheNextShowingStartsAfresh)
{
    friends.AddName("Amy");
    form.Open();
    Type("Eve");
    Find<QCheckBox>("MogulCheck")->setChecked(true);
    Click("CancelBtn");
    EXPECT_FALSE(form.isVisible());
    EXPECT_THAT(friends.Names(), ElementsAre("Amy"));
    EXPECT_EQ(friends.Ranks(), 0);

    form.Open();
    EXPECT_EQ(ListItems(), QStringList({"Amy"}));
    EXPECT_FALSE(Find<QCheckBox>("MogulCheck")->isChecked());
    form.close();
}

TEST_F(FriendsFormTest, ShowingAgainByTheWindowSystemKeepsUnconfirmedEdits)
{
    friends.AddName("Amy");
    form.Open();
    Type("Eve");
    // As after a minimise and restore.
    form.hide();
    form.show();
    EXPECT_EQ(ListItems(), QStringList({"Amy", "Eve"}));
    form.close();
}

TEST_F(FriendsFormTest, DeletingNeedsASelectedName)
{
    friends.AddName("Amy");
    friends.AddName("Bob");
    form.Open();

    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(10);
    Click("DeleteBtn");
    closer.stop();
    EXPECT_EQ(shown, "You need to select a player first!");
    EXPECT_EQ(ListItems(), QStringList({"Amy", "Bob"}));

    auto* list = Find<QListWidget>("FriendsList");
    list->setCurrentRow(1);
    Click("DeleteBtn");
    EXPECT_EQ(ListItems(), QStringList({"Amy"}));
    // The neighbour is not chosen for the player.
    EXPECT_TRUE(list->selectedItems().isEmpty());
    Click("OKBtn");
    EXPECT_THAT(friends.Names(), ElementsAre("Amy"));
}

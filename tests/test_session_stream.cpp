// A scripted game session over real TCP on 127.0.0.1: the streaming server's
// elements reach the real window's panes, lists, report and TB pages.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "shell/coms.h"
#include "social/friends.h"
#include "social/friends_code.h"
#include "social/tb_code.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

class Session : public WindowFixture {
protected:
    // A connected window whose stream has started.
    TMainForm& Stream()
    {
        TMainForm& w = Window();
        w.OpenConnection("127.0.0.1", server.Port(), "Nova");
        EXPECT_TRUE(server.WaitForClient());
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Connected"; },
                                    5000));
        w.GetComs().SetMode(Coms::AwaitingStream);
        server.Send("<s-default>\n");
        EXPECT_TRUE(server.WaitForReceived("look\n"));
        server.ClearReceived();
        return w;
    }

    static QStringList Items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    static void WritePicture(const QString& path)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(path, "BMP"));
    }

    // Sends lines and waits until the last visible effect has arrived.
    template <typename Pred>
    void SendAndWait(const QByteArray& bytes, Pred done)
    {
        server.Send(bytes);
        ASSERT_TRUE(QTest::qWaitFor(done, 5000));
    }

    ScriptServer server;
};

} // namespace

TEST_F(Session, ProseContentsAndPlayersReachTheirPanes)
{
    TMainForm& w = Stream();
    w.GetFriends().AddName("Amy");

    SendAndWait("<s-new-map system='Sol' name='Earth' owner='Ann'/>\n"
                "<s-new-loc name='Landing Pad' loc-num='455' n='1'>\n"
                "A dusty pad under a red sky.\n"
                "</s-new-loc>\n"
                "<s-contents name='Lamp'>A brass lamp lies here.</s-contents>\n"
                "<s-contents name='crate'/>\n"
                "stray prose between elements\n"
                "<s-add-player name='Zed' rank='2'/>\n"
                "<s-add-player name='Amy' rank='5'/>\n"
                "<s-default>+++ Zed waves. +++</s-default>\n"
                "<s-default>The wind rises.</s-default>\n",
                [&] { return PaneLines(w.OutputEdit).contains("The wind rises."); });

    const QStringList output{"Connected",
                             "Landing Pad",
                             "A dusty pad under a red sky.",
                             "A brass lamp lies here.",
                             "Amy is logged into the game.",
                             "The wind rises."};
    EXPECT_EQ(PaneLines(w.OutputEdit), output);
    EXPECT_EQ(PaneLines(w.MapRepeater), output);
    EXPECT_EQ(PaneLines(w.StoryMemo),
              QStringList({"Connected", "Landing Pad", "A dusty pad under a red sky.",
                           "A brass lamp lies here.", "Amy is logged into the game.",
                           "+++ Zed waves. +++", "The wind rises."}));
    EXPECT_EQ(Items(w.LocListBox), QStringList({"crate", "Lamp"}));
    EXPECT_EQ(Items(w.PlayerListBox), QStringList({"Amy", "Zed"}));
    EXPECT_EQ(Items(w.FriendsListBox), QStringList({"Amy"}));
    EXPECT_EQ(w.StatusPanels[2]->text(), "2 players");

    SendAndWait("<s-remove-contents name='LAMP'>Zed takes the lamp.</s-remove-contents>\n"
                "<s-remove-player name='Amy'/>\n"
                "<s-new-loc name='Market' loc-num='456'>\n"
                "</s-new-loc>\n",
                [&] { return PaneLines(w.OutputEdit).contains("Market"); });
    EXPECT_EQ(Items(w.LocListBox), QStringList());
    EXPECT_EQ(Items(w.PlayerListBox), QStringList({"Zed"}));
    EXPECT_EQ(Items(w.FriendsListBox), QStringList());
    EXPECT_EQ(w.StatusPanels[2]->text(), "1 players");
    EXPECT_TRUE(PaneLines(w.OutputEdit).contains("Zed takes the lamp."));
    EXPECT_TRUE(PaneLines(w.OutputEdit).contains("Amy is logged out of the game."));
    EXPECT_FALSE(PaneLines(w.OutputEdit).contains("stray prose between elements"));
    EXPECT_TRUE(server.Received().isEmpty());
}

TEST_F(Session, KeepAlivesAreAnsweredAndReconnectingEmptiesThePlayers)
{
    TMainForm& w = Stream();
    server.Send("<s-no-op/>\n<s-add-player name='Zed'/>\n   <s-no-op/>\n");
    ASSERT_TRUE(server.WaitForReceived("<c-no-op/>\n<c-no-op/>\n"));
    EXPECT_EQ(server.Received(), QByteArray("<c-no-op/>\n<c-no-op/>\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.PlayerListBox->count() == 1; }, 5000));

    ScriptServer second;
    w.OpenConnection("127.0.0.1", second.Port(), "Nova");
    EXPECT_EQ(w.PlayerListBox->count(), 0);
    EXPECT_TRUE(w.StatusPanels[2]->text().isEmpty());
    ASSERT_TRUE(second.WaitForClient());
    second.Send("<s-add-player name='Zed'/>\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.PlayerListBox->count() == 1; }, 5000));
}

TEST_F(Session, SpynetReportShowsTitlePictureAndLines)
{
    WritePicture(WorkPath("pictures/zed.bmp"));
    ASSERT_FALSE(HasFatalFailure());
    TMainForm& w = Stream();
    w.TopNotebook->setCurrentWidget(w.PrivateTab);

    SendAndWait("<s-spynet-start name='Zed' rank='Captain'/>\n"
                "<s-spynet>\n"
                "Zed trades in spice.\n"
                "Last seen at the Landing Pad.\n"
                "</s-spynet>\n",
                [&] { return w.SpynetOutput->LineCount() == 2; });

    EXPECT_EQ(w.TopNotebook->currentWidget(), w.ExSpTab);
    EXPECT_EQ(w.SpynetNamePanel->text(), "Spynet Report for Captain Zed");
    EXPECT_EQ(PaneLines(w.SpynetOutput),
              QStringList({"Zed trades in spice.", "Last seen at the Landing Pad."}));
    EXPECT_EQ(w.SpynetImage->pixmap().size(), QSize(8, 8));
    EXPECT_TRUE(PaneLines(w.StoryMemo).contains("Spynet Report for Captain Zed"));
    EXPECT_TRUE(PaneLines(w.StoryMemo).contains("Zed trades in spice."));
    EXPECT_FALSE(PaneLines(w.OutputEdit).contains("Zed trades in spice."));
}

TEST_F(Session, TightBeamMessagesReachTheTbPage)
{
    WritePicture(WorkPath("pictures/interference.bmp"));
    ASSERT_FALSE(HasFatalFailure());
    TMainForm& w = Stream();
    SendAndWait("<s-add-player name='Zed'/>\n", [&] { return w.PlayerListBox->count() == 1; });

    // Nothing selected: the player is told so.
    w.findChild<QAction*>("TightBeamItem")->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "You haven't selected\na player to talk to!\n");

    w.PlayerListBox->setCurrentRow(0);
    w.findChild<QAction*>("TightBeamItem")->trigger();
    EXPECT_EQ(w.TopNotebook->currentWidget(), w.PrivateTab);
    EXPECT_EQ(w.TBNamePanel->text(), "Zed - Tight Beam Comms");
    EXPECT_EQ(w.InputEdit->toPlainText(), "Tell Zed ");
    EXPECT_FALSE(w.TBImage->pixmap().isNull());

    SendAndWait("<s-tb name='Zed'>Meet me\n at the dock.</s-tb>\n",
                [&] { return w.TBMemo->LineCount() == 1; });
    EXPECT_EQ(PaneLines(w.TBMemo), QStringList({"Zed says, \"Meet me at the dock.\""}));
    EXPECT_TRUE(PaneLines(w.OutputEdit)
                    .contains("Your comm unit signals a tight beam message from Zed, "
                              "\"Meet me at the dock.\""));

    QTest::mouseClick(w.TBEndBtn, Qt::LeftButton);
    EXPECT_EQ(w.TBMemo->LineCount(), 0);
    EXPECT_EQ(w.TBNamePanel->text(), "Tight beam connection cleared");
    EXPECT_EQ(w.TopNotebook->currentWidget(), w.ExSpTab);
}

TEST_F(Session, TightBeamToAFriendFromTheFriendsPage)
{
    WritePicture(WorkPath("pictures/Amy.bmp"));
    ASSERT_FALSE(HasFatalFailure());
    TMainForm& w = Window();
    w.AddPlayerItem("Zed");
    w.PlayerListBox->setCurrentRow(0);
    w.AddFriendItem("Amy");
    w.PlayersNotebook->setCurrentIndex(1);
    w.FriendsListBox->setCurrentRow(0);
    w.findChild<QAction*>("TightBeamItem")->trigger();
    EXPECT_EQ(w.GetTightBeam().Partner(), "Amy");
    EXPECT_EQ(w.TBNamePanel->text(), "Amy - Tight Beam Comms");
}

TEST_F(Session, FriendsSetUpOpensTheDialogWithoutBlocking)
{
    TMainForm& w = Window();
    w.GetFriends().AddName("Amy");
    w.findChild<QAction*>("Friendsitem")->trigger();
    auto* form = w.findChild<TFriendsForm*>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    auto* list = form->findChild<QListWidget*>("FriendsList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Amy");

    form->findChild<QCheckBox*>("MogulCheck")->setChecked(true);
    QTest::mouseClick(form->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(w.GetFriends().Ranks(), 1u << 11);

    // Opening it again reuses the one dialog.
    w.findChild<QAction*>("Friendsitem")->trigger();
    EXPECT_EQ(w.findChildren<TFriendsForm*>().size(), 1);
}

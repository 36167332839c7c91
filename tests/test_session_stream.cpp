// The real window against a scripted server over TCP on 127.0.0.1: the
// connection's life, the hand-over to the stream, a report page and the tight beam.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include "session/coms.h"
#include "support/common.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

class Session : public WindowFixture {
protected:
    ScriptServer server;
};

// Finishes on "linked".
struct Scripted : Automation {
    int HandleLine(const std::string& l) override { return l == "linked"; }
};

} // namespace

TEST_F(Session, ConnectingClosingRefusalLookUpAndResetLeaveTheWindowUsable)
{
    TMainForm& w = Window();
    ASSERT_TRUE(server.Connect(w));
    EXPECT_EQ(w.windowTitle(), "Orvix - Version 1.60 - Nova logged into 127.0.0.1");
    EXPECT_FALSE(Item("LogonItem")->isEnabled() || Item("NewAccountAvatarItem")->isEnabled());
    EXPECT_TRUE(Item("LogOffItem")->isEnabled());
    // Nothing goes out on connecting: the first bytes are the answer to a keep-alive.
    w.GetComs().SetMode(Coms::Streaming);
    ASSERT_TRUE(server.SendUntil("<s-no-op/>\n", [&] { return server.Received().endsWith("\n"); }));
    EXPECT_EQ(server.Received(), "<c-no-op/>\n");
    server.CloseClient(); // an orderly end is no error
    ASSERT_TRUE(WaitStatus("Disconnected"));
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({"Connected", "Disconnected"}));
    EXPECT_EQ(w.windowTitle(), "Orvix - Version 1.60");
    EXPECT_TRUE(Item("LogonItem")->isEnabled() && Item("NewAccountAvatarItem")->isEnabled());
    EXPECT_FALSE(Item("LogOffItem")->isEnabled() || !messages.empty());

    QTcpSocket bound; // bound but not listening: connecting to it is always refused
    ASSERT_TRUE(bound.bind(QHostAddress::LocalHost, 0));
    w.OpenConnection("127.0.0.1", bound.localPort(), "Nova");
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages.size() == 1; }, 5000));
    EXPECT_EQ(w.Socket()->error(), QAbstractSocket::ConnectionRefusedError);
    // A host that cannot be found is a connection error in the output window, not a box; a name with an empty
    // label fails at once, without asking any name server.
    for (const char* host : {"no..such..host", ""}) {
        w.OutputEdit->ClearLines();
        w.OpenConnection(host, 30003, "Nova");
        ASSERT_TRUE(QTest::qWaitFor([&] { return PaneLines(w.OutputEdit).size() == 5; }, 5000)) << host;
        EXPECT_EQ(PaneLines(w.OutputEdit).at(1), "Your computer has reported an internet connection error.") << host;
        EXPECT_EQ(w.StatusPanels[0]->text(), "Disconnected") << host;
    }
    ScriptServer second;
    ASSERT_TRUE(second.Connect(w));
    // The reset connection is ended before its box shows.
    w.SetMessageHook([&](MessageKind kind, const QString& text) {
        messages.emplace_back(kind,
            text + " | " + w.StatusPanels[0]->text() + (Item("LogOffItem")->isEnabled() ? " | Log Off enabled" : ""));
    });
    second.ResetClient();
    ASSERT_TRUE(WaitStatus("Disconnected"));
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& [kind, text] : messages)
        EXPECT_TRUE(kind == MessageKind::Error && text.startsWith("Connection to the Kyrn server failed: "))
            << text.toStdString();
    EXPECT_TRUE(messages[1].second.endsWith(" | Disconnected")) << messages[1].second.toStdString();
}

TEST_F(Session, HandOverFromLogonToTheStreamThenLogOff)
{
    TMainForm& w = Window();
    w.GetComs().SetLoginFactory([] { return std::make_unique<Scripted>(); });
    w.GetComs().StartLogon();
    ASSERT_TRUE(server.Connect(w));
    ASSERT_TRUE(server.SendUntil("linked\n", [&] { return server.Received().endsWith("<c-orvix version='1.60'>\n"); }));
    EXPECT_EQ(server.Received(), "<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>\n");

    Item("DisplayServerStreamItem")->trigger();
    ASSERT_TRUE(server.SendUntil("Welcome to Ky", [&] { return w.GetComs().PendingText() == "Welcome to Ky"; }));
    ASSERT_TRUE(
        server.SendUntil("rn.\r\nThe bay hums.\n<s-default>\n", [&] { return server.Received().endsWith("look\n"); }));
    // The line feed that ended the logon gives the first blank line.
    const QStringList shown{"Connected", " ", "Welcome to Kyrn.", " ", "The bay hums.", " "};
    EXPECT_EQ(PaneLines(w.OutputEdit), shown);
    EXPECT_EQ(PaneLines(w.ScrollBackMemo).join(""), "Welcome to Kyrn.\nThe bay hums.\n<s-default>\n");

    Item("LogOffItem")->trigger();
    EXPECT_EQ(PaneLines(w.OutputEdit).mid(6), QStringList({"Disconnected", "Connection to Kyrnos II Closed"}));
}

TEST_F(Session, AReportFillsItsPageAndPlayerCommandsAndTheTightBeamNameTheSelectedPlayer)
{
    TMainForm& w = Window();
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(WorkPath("pictures/zed.bmp")));
    ASSERT_TRUE(server.Stream(w));
    ASSERT_TRUE(
        server.SendUntil("<s-add-player name='Zed' rank='2'/>\n<s-no-op/>\n"
                         "<s-spynet-start name='Zed' rank='Captain'/>\n<s-spynet>\nZed trades in spice.\n</s-spynet>\n",
            [&] { return w.SpynetOutput->LineCount() == 1; }));
    EXPECT_EQ(w.TopNotebook->currentWidget(), w.ExSpTab);
    EXPECT_EQ(w.SpynetNamePanel->text(), "Spynet Report for Captain Zed");
    EXPECT_EQ(PaneLines(w.SpynetOutput), QStringList({"Zed trades in spice."}));
    EXPECT_EQ(w.SpynetImage->pixmap().size(), QSize(8, 8));

    // Commands from the player menu; then a reconnection empties the players.
    w.PlayerListBox->setCurrentRow(0);
    Item("ExamineItem")->trigger();
    Item("KissItem")->trigger();
    ASSERT_TRUE(server.WaitForReceived("kiss Zed\n"));
    EXPECT_EQ(server.Received(), "<c-no-op/>\nex Zed\nkiss Zed\n"); // the keep-alive answered once

    // The tight beam to the selected player: the prefilled tell is completed and sent from the input line.
    Item("TightBeamItem")->trigger();
    EXPECT_EQ(w.TopNotebook->currentWidget(), w.PrivateTab);
    EXPECT_EQ(w.TBNamePanel->text(), "Zed - Tight Beam Comms");
    QTest::keyClicks(w.InputEdit, "on my way");
    QTest::keyClick(w.InputEdit, Qt::Key_Return);
    ASSERT_TRUE(server.WaitForReceived("Tell Zed on my way\n"));
    EXPECT_EQ(PaneLines(w.TBMemo).last(), "You say, \"on my way.\"");
    QTest::mouseClick(w.TBEndBtn, Qt::LeftButton);
    EXPECT_EQ(w.TBMemo->LineCount(), 0);
    EXPECT_EQ(w.TopNotebook->currentWidget(), w.ExSpTab);
    // From the friends' page, its own selection.
    w.AddFriendItem("Amy");
    w.PlayersNotebook->setCurrentIndex(1);
    w.FriendsListBox->setCurrentRow(0);
    Item("TightBeamItem")->trigger();
    EXPECT_EQ(w.TBNamePanel->text(), "Amy - Tight Beam Comms");
    ScriptServer second;
    ASSERT_TRUE(second.Connect(w));
    EXPECT_EQ(w.PlayerListBox->count(), 0);
    EXPECT_TRUE(w.StatusPanels[2]->text().isEmpty());
}

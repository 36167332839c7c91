// The real window connected to a scripted server over TCP on 127.0.0.1.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

#include "shell/application.h"
#include "shell/coms.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

class FinishesOn : public Automation {
public:
    explicit FinishesOn(std::string f)
        : fragment(std::move(f))
    {
    }
    int HandleLine(const std::string& line) override
    {
        return line.find(fragment) != std::string::npos ? 1 : 0;
    }

private:
    std::string fragment;
};

class Connection : public WindowFixture {
protected:
    ScriptServer server;

    TMainForm& Connect()
    {
        TMainForm& w = Window();
        w.OpenConnection("127.0.0.1", server.Port(), "Nova");
        EXPECT_TRUE(server.WaitForClient());
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Connected"; }, 5000));
        return w;
    }

    bool WaitForOutput(TMainForm& w, int lines)
    {
        return QTest::qWaitFor([&] { return w.OutputEdit->LineCount() >= lines; }, 5000);
    }

    bool Enabled(TMainForm& w, const char* item) { return w.findChild<QAction*>(item)->isEnabled(); }
};

} // namespace

TEST_F(Connection, ConnectingUpdatesCaptionStatusAndMenus)
{
    TMainForm& w = Connect();
    EXPECT_EQ(w.windowTitle(), "Orvix - Version 1.60 - Nova logged into 127.0.0.1");
    EXPECT_FALSE(Enabled(w, "LogonItem"));
    EXPECT_FALSE(Enabled(w, "NewAccountAvatarItem"));
    EXPECT_TRUE(Enabled(w, "LogOffItem"));
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({"Connected"}));
    // Nothing is sent on connecting.
    QTest::qWait(0);
    EXPECT_TRUE(server.Received().isEmpty());
}

TEST_F(Connection, ProseInAwkwardChunksReachesEveryPane)
{
    TMainForm& w = Connect();
    w.findChild<QAction*>("DisplayServerStreamItem")->trigger();
    w.GetComs().SetMode(Coms::AwaitingStream);

    server.Send("Welcome to Ky");
    server.Send("rn, traveller.\r\nThe docking ");
    server.Send("bay hums.\n");
    ASSERT_TRUE(WaitForOutput(w, 5));
    const QStringList expected{"Connected", "Welcome to Kyrn, traveller.", " ", "The docking bay hums.", " "};
    EXPECT_EQ(PaneLines(w.OutputEdit), expected);
    EXPECT_EQ(PaneLines(w.MapRepeater), expected);
    EXPECT_EQ(PaneLines(w.StoryMemo), expected);
    // The raw stream shows the bytes exactly as they came, carriage return
    // aside, one entry per chunk received.
    EXPECT_EQ(PaneLines(w.ScrollBackMemo).join(""),
              QString("Welcome to Kyrn, traveller.\nThe docking bay hums.\n"));
    EXPECT_LE(w.ScrollBackMemo->LineCount(), 3);

    // The first markup line starts the stream: "look" goes out once.
    server.Send("<s-default>\n");
    ASSERT_TRUE(server.WaitForReceived("look\n"));
    EXPECT_EQ(server.Received(), QByteArray("look\n"));
    EXPECT_EQ(w.GetComs().GetMode(), Coms::Streaming);
    EXPECT_EQ(w.OutputEdit->LineCount(), 5);
}

TEST_F(Connection, CompletedLogonSendsTheHelloAsTwoSends)
{
    TMainForm& w = Window();
    w.findChild<QAction*>("DisplayClientStreamItem")->trigger();
    w.GetComs().SetLoginFactory([] { return std::make_unique<FinishesOn>("Linking to Kyrnos DataSpace"); });
    w.GetComs().StartLogon();
    w.OpenConnection("127.0.0.1", server.Port(), "Nova");
    ASSERT_TRUE(server.WaitForClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Socket()->state() == QAbstractSocket::ConnectedState; }, 5000));

    server.Send("login: \nLinking to Kyrnos DataSpace\n");
    ASSERT_TRUE(server.WaitForReceived("<c-orvix version='1.60'>\n"));
    EXPECT_EQ(server.Received(), QByteArray("<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>\n"));
    EXPECT_EQ(PaneLines(w.ScrollBackMemo),
              QStringList({"<?xml version=\"1.0\"?>\n", "<c-orvix version='1.60'>\n"}));
    EXPECT_EQ(w.GetComs().GetMode(), Coms::AwaitingStream);
}

TEST_F(Connection, ServerClosingRunsTheDisconnection)
{
    TMainForm& w = Connect();
    server.CloseClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Disconnected"; }, 5000));
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({"Connected", "Disconnected"}));
    EXPECT_EQ(w.windowTitle(), "Orvix - Version 1.60");
    EXPECT_TRUE(Enabled(w, "LogonItem"));
    EXPECT_TRUE(Enabled(w, "NewAccountAvatarItem"));
    EXPECT_FALSE(Enabled(w, "LogOffItem"));
    EXPECT_TRUE(messages.empty());

    // Sending after the disconnection reaches nobody and breaks nothing.
    w.SendText("north\n");
    EXPECT_FALSE(server.Received().contains("north"));
}

TEST_F(Connection, ResetByTheServerIsReportedAsAnErrorAndDisconnects)
{
    TMainForm& w = Connect();
    server.ResetClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Disconnected"; }, 5000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MessageKind::Error);
    EXPECT_TRUE(messages[0].second.startsWith("Connection to the Kyrn server failed: "));
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({"Connected", "Disconnected"}));
}

TEST_F(Connection, ReadingGoesOnAfterALineHandlerThrew)
{
    class Throws : public Automation {
    public:
        int HandleLine(const std::string& line) override
        {
            if (line == "boom")
                throw std::runtime_error("bad line");
            return line == "linked" ? 1 : 0;
        }
    };
    auto* app = qobject_cast<OrvixApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QStringList errors;
    app->SetErrorDisplay([&](const QString& message) { errors << message; });
    TMainForm& w = Window();
    w.GetComs().SetLoginFactory([] { return std::make_unique<Throws>(); });
    w.GetComs().StartLogon();
    w.OpenConnection("127.0.0.1", server.Port(), "Nova");
    ASSERT_TRUE(server.WaitForClient());

    server.Send("boom\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !errors.isEmpty(); }, 5000));
    server.Send("linked\n");
    EXPECT_TRUE(server.WaitForReceived("<c-orvix version='1.60'>\n"));
    app->SetErrorDisplay({});
    EXPECT_EQ(errors, QStringList({"bad line"}));
}

TEST_F(Connection, LogOffShowsBothLinesInOrder)
{
    TMainForm& w = Connect();
    w.findChild<QAction*>("LogOffItem")->trigger();
    EXPECT_EQ(PaneLines(w.OutputEdit),
              QStringList({"Connected", "Disconnected", "Connection to Kyrnos II Closed"}));
    EXPECT_EQ(w.StatusPanels[0]->text(), "Disconnected");
    EXPECT_FALSE(Enabled(w, "LogOffItem"));
    EXPECT_TRUE(Enabled(w, "LogonItem"));
}

TEST_F(Connection, TextWaitingForItsLineFeedSurvivesAReconnection)
{
    TMainForm& w = Connect();
    w.GetComs().SetMode(Coms::AwaitingStream);
    server.Send("half a li");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.GetComs().PendingText() == "half a li"; }, 5000));
    w.findChild<QAction*>("LogOffItem")->trigger();

    ScriptServer second;
    w.OpenConnection("127.0.0.1", second.Port(), "Nova");
    ASSERT_TRUE(second.WaitForClient());
    second.Send("ne\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return PaneLines(w.OutputEdit).contains("half a line"); }, 5000));
}

TEST_F(Connection, NothingIsSentBeforeTheFirstConnection)
{
    TMainForm& w = Window();
    w.findChild<QAction*>("DisplayClientStreamItem")->trigger();
    w.SendText("look\n");
    EXPECT_EQ(w.ScrollBackMemo->LineCount(), 0);
}

TEST_F(Connection, RefusedConnectionIsReportedAndMenusStayUsable)
{
    quint16 closedPort;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    TMainForm& w = Window();
    w.OpenConnection("127.0.0.1", closedPort, "Nova");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 5000));
    EXPECT_EQ(messages[0].first, MessageKind::Error);
    EXPECT_TRUE(messages[0].second.contains("refused", Qt::CaseInsensitive)) << messages[0].second.toStdString();
    EXPECT_TRUE(Enabled(w, "LogonItem"));
    EXPECT_FALSE(Enabled(w, "LogOffItem"));
    EXPECT_EQ(w.windowTitle(), "Orvix - Version 1.60");

    // The same window connects fine afterwards.
    w.OpenConnection("127.0.0.1", server.Port(), "Nova");
    ASSERT_TRUE(server.WaitForClient());
}

TEST_F(Connection, UnknownHostIsReported)
{
    TMainForm& w = Window();
    w.OpenConnection("no-such-host.invalid", 30003, "Nova");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }, 10000));
    EXPECT_EQ(messages[0].first, MessageKind::Error);
    EXPECT_FALSE(messages[0].second.isEmpty());
}

TEST_F(Connection, PlayerCommandsAreSentWithALineFeed)
{
    TMainForm& w = Connect();
    w.AddPlayerItem("Zed");
    w.PlayerListBox->setCurrentRow(0);
    w.findChild<QAction*>("ExamineItem")->trigger();
    w.findChild<QAction*>("KissItem")->trigger();
    ASSERT_TRUE(server.WaitForReceived("kiss Zed\n"));
    EXPECT_EQ(server.Received(), QByteArray("ex Zed\nkiss Zed\n"));
}

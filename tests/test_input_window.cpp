// The input line, the macros and the command window inside the real main
// window, talking to a server on 127.0.0.1.
#include <QAction>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include "macros/cmdform.h"
#include "macros/macro.h"
#include "macros/macroform.h"
#include "shell/coms.h"
#include "shell/inputedit.h"
#include "support/window_fixture.h"

namespace {

class ConnectedWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        Window().OpenConnection("127.0.0.1", server.serverPort(), "Zed");
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.hasPendingConnections(); }, 5000));
        peer = server.nextPendingConnection();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->Socket()->state() == QAbstractSocket::ConnectedState; }, 5000));
        // Let the window see its own connect before the test sends anything.
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->OutputEdit->Lines().contains("Connected"); }, 5000));
    }

    // Waits until the server has received at least `count` bytes.
    QByteArray Received(qsizetype count)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] {
            received += peer->readAll();
            return received.size() >= count;
        }, 5000)) << "received so far: " << received.toStdString();
        return received;
    }

    InputEdit& Line() { return *window->InputEdit; }

    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;
};

TEST_F(ConnectedWindow, TypedCommandIsEchoedAndSentOnEnter)
{
    QTest::keyClicks(&Line(), "  north");
    QTest::keyClick(&Line(), Qt::Key_Return);
    EXPECT_EQ(Received(6), "north\n");
    const QStringList lines = window->OutputEdit->Lines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.mid(lines.size() - 2), QStringList({" ", "> north"}));
    EXPECT_TRUE(Line().toPlainText().isEmpty());
}

TEST_F(ConnectedWindow, FunctionKeysSendAndFetchTheStoredMacros)
{
    window->GetMacro().SetMacro(4, {"get all", "score"});
    QTest::keyClick(&Line(), Qt::Key_F4);
    EXPECT_EQ(Received(16), "get all\nscore\n");
    QTest::keyClick(&Line(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(Line().toPlainText(), "get all\nscore");
}

TEST_F(ConnectedWindow, CtrlSpaceAddressesTheSelectedPlayer)
{
    window->AddPlayerItem("Amy");
    window->PlayerListBox->item(0)->setSelected(true);
    QTest::keyClick(&Line(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(Line().toPlainText(), "Tell Amy ");
    QTest::keyClicks(&Line(), "hi");
    QTest::keyClick(&Line(), Qt::Key_Return);
    EXPECT_EQ(Received(13), "Tell Amy hi\n");
}

TEST_F(ConnectedWindow, StreamStartSendsLookAndTheF1Macro)
{
    window->GetMacro().SetMacro(1, {"score", "inv"});
    window->GetComs().SetMode(Coms::AwaitingStream);
    peer->write("Welcome\n<s-default>\n");
    EXPECT_EQ(Received(15), "look\nscore\ninv\n");
    EXPECT_EQ(window->GetComs().GetMode(), Coms::Streaming);
}

TEST_F(ConnectedWindow, CommandWindowSendsAndEmptiesTheInputLine)
{
    QTest::keyClicks(&Line(), "half typed");
    window->CommandBtn->click();
    TCommandForm* form = window->CommandForm();
    ASSERT_TRUE(form->isVisible());
    auto* memo = form->findChild<QPlainTextEdit*>("InputMemo");
    QTest::keyClicks(memo, "look");
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(Received(5), "look\n");
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(Line().toPlainText().isEmpty());
    EXPECT_EQ(window->OutputEdit->Lines().last(), "> look");
}

TEST_F(ConnectedWindow, LocationDoubleClickExaminesAndKeepsTheInputLine)
{
    QTest::keyClicks(&Line(), "say");
    window->AddLocationItem("lamp");
    window->LocListBox->setCurrentRow(0);
    emit window->LocListBox->itemDoubleClicked(window->LocListBox->item(0));
    EXPECT_EQ(Received(8), "ex lamp\n");
    EXPECT_EQ(window->OutputEdit->Lines().last(), "> ex lamp");
    EXPECT_EQ(Line().toPlainText(), "say");
}

using MacroWindow = WindowFixture;

TEST_F(MacroWindow, FKeysMenuItemOpensTheEditorAtF1)
{
    TMainForm& w = Window();
    w.GetMacro().SetMacro(1, {"look"});
    w.findChild<QAction*>("FKeyStartUpItem")->trigger();
    TMacroBox* box = w.MacroBox();
    ASSERT_TRUE(box->isVisible());
    EXPECT_EQ(box->findChild<QGroupBox*>("FKeyGroup")->title(), " Text for F1-Key ");
    EXPECT_EQ(box->findChild<QPlainTextEdit*>("FKeyMemo")->toPlainText(), "look");
    box->findChild<QPushButton*>("CancelBtn")->click();
    EXPECT_FALSE(box->isVisible());
}

TEST_F(MacroWindow, PasteIsEnabledOnlyWhileTheInputLineHasTheFocus)
{
    TMainForm& w = Window();
    QAction* paste = w.findChild<QAction*>("PasteItem");
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.InputEdit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return paste->isEnabled(); }, 2000));
    w.PlayerListBox->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !paste->isEnabled(); }, 2000));
}

} // namespace

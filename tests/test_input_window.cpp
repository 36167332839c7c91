// The input line, the macros and the command window inside the real main
// window, talking to a server on 127.0.0.1.
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "macros/cmdform.h"
#include "macros/macro.h"
#include "macros/macroform.h"
#include "shell/coms.h"
#include "shell/inputedit.h"
#include "social/tb_code.h"
#include "support/modal_script.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

class ConnectedWindow : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        TMainForm& w = Window();
        w.OpenConnection("127.0.0.1", server.Port(), "Zed");
        ASSERT_TRUE(server.WaitForClient());
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Connected"; }, 5000));
    }

    // Everything the server has received once `text` has arrived.
    QByteArray Received(const QByteArray& text)
    {
        EXPECT_TRUE(server.WaitForReceived(text)) << server.Received().toStdString();
        return server.Received();
    }

    InputEdit& Line() { return *window->InputEdit; }

    ScriptServer server;
};

TEST_F(ConnectedWindow, TypedCommandIsEchoedAndSentOnEnter)
{
    QTest::keyClicks(&Line(), "  north");
    QTest::keyClick(&Line(), Qt::Key_Return);
    EXPECT_EQ(Received("north\n"), "north\n");
    const QStringList lines = window->OutputEdit->Lines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.mid(lines.size() - 2), QStringList({" ", "> north"}));
    EXPECT_TRUE(Line().toPlainText().isEmpty());
}

TEST_F(ConnectedWindow, PrivateMessageReachesTheTightBeamTranscript)
{
    window->GetTightBeam().Open("Zed");
    QTest::keyClicks(&Line(), "tb zed see you there");
    QTest::keyClick(&Line(), Qt::Key_Return);
    EXPECT_EQ(Received("tb zed see you there\n"), "tb zed see you there\n");
    EXPECT_EQ(window->TBMemo->Lines(), QStringList{"You say, \"see you there.\""});
}

TEST_F(ConnectedWindow, FunctionKeysSendAndFetchTheStoredMacros)
{
    window->GetMacro().SetMacro(4, {"get all", "score"});
    QTest::keyClick(&Line(), Qt::Key_F4);
    EXPECT_EQ(Received("get all\nscore\n"), "get all\nscore\n");
    QTest::keyClick(&Line(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(Line().toPlainText(), "get all\nscore");
}

TEST_F(ConnectedWindow, StreamStartSendsLookAndTheF1Macro)
{
    window->GetMacro().SetMacro(1, {"score", "inv"});
    window->GetComs().SetMode(Coms::AwaitingStream);
    server.Send("Welcome\n<s-default>\n");
    EXPECT_EQ(Received("look\nscore\ninv\n"), "look\nscore\ninv\n");
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
    EXPECT_EQ(Received("look\n"), "look\n");
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
    EXPECT_EQ(Received("ex lamp\n"), "ex lamp\n");
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

    // Opening the Edit menu takes the focus for a moment: Paste stays.
    auto* edit = qobject_cast<QMenu*>(paste->parent());
    ASSERT_NE(edit, nullptr);
    edit->popup(w.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == edit; }, 2000));
    EXPECT_TRUE(paste->isEnabled());
    edit->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.InputEdit->hasFocus(); }, 2000));
    EXPECT_TRUE(paste->isEnabled());

    w.PlayerListBox->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !paste->isEnabled(); }, 2000));
}

TEST_F(MacroWindow, OnlyAnEnterPressedInTheInputLineSubmits)
{
    TMainForm& w = Window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.InputEdit->setFocus();
    const int before = w.OutputEdit->LineCount();
    // The release of the Enter that closed a dialog.
    QTest::keyRelease(w.InputEdit, Qt::Key_Return);
    EXPECT_EQ(w.OutputEdit->LineCount(), before);
    QTest::keyClicks(w.InputEdit, "look");
    QTest::keyClick(w.InputEdit, Qt::Key_Return);
    EXPECT_EQ(w.OutputEdit->Lines().mid(before), QStringList({" ", "> look"}));
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(MacroWindow, MacrosAreReadFromInitXmlAtStartUp)
{
    QFile file(WorkPath("init.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?>\n\n<init-file>\n\n"
               "   <macro key='2'>\n      <command>get lamp</command>\n"
               "      <command>say a &amp; b</command>\n   </macro>\n\n"
               "   <macro key='13'>\n      <command>lost</command>\n   </macro>\n\n"
               "</init-file>\n");
    file.close();
    TMainForm& w = Window();
    const MacroRec* record = w.GetMacro().Record(2);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Lines(), (std::vector<std::string>{"get lamp", "say a & b"}));
    EXPECT_EQ(w.GetMacro().MacroBlocks(), "   <macro key='2'>\n"
                                          "      <command>get lamp</command>\n"
                                          "      <command>say a &amp; b</command>\n"
                                          "   </macro>\n\n");
}

TEST_F(MacroWindow, StoringAMacroInTheEditorWritesInitXmlAtOnce)
{
    TMainForm& w = Window();
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    w.findChild<QAction*>("FKeyStartUpItem")->trigger();
    auto* memo = w.MacroBox()->findChild<QPlainTextEdit*>("FKeyMemo");
    w.MacroBox()->ShowKey(3);
    memo->setFocus();
    QTest::keyClicks(memo, "wave <big>");
    w.MacroBox()->findChild<QPushButton*>("OkBtn")->click();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_TRUE(ReadFile(WorkPath("init.xml"))
                    .contains("\n\n   <macro key='3'>\n      <command>wave &lt;big&gt;</command>\n"
                              "   </macro>\n\n   <font "));
}

} // namespace

// The F-key macro store, its editor dialog and the command window, driven as
// a player would: keys pressed, buttons clicked, questions answered.
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "macros/cmdform.h"
#include "macros/macro.h"
#include "macros/macroform.h"
#include "shell/input.h"
#include "support/modal_script.h"
#include "support/fake_mainview.h"

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const Macro& store, int key)
{
    const MacroRec* record = store.Record(key);
    return record ? record->Lines() : Lines{};
}

struct StoreTest : ::testing::Test {
    FakeMainView view;
    Macro store{view};
    int writes = 0;
    StoreTest() { store.SetWriteSettings([this] { ++writes; }); }
};

TEST_F(StoreTest, SendSendsEachLineWithALineFeedAndShowsNothing)
{
    store.SetMacro(2, {"get all", "look"});
    store.Send(2);
    EXPECT_EQ(view.sent, (Lines{"get all\n", "look\n"}));
    EXPECT_TRUE(view.displayed.empty());
}

TEST_F(StoreTest, EmptySlotsAndKeysOutOfRangeSendNothing)
{
    store.SetMacro(3, {});
    for (int key : {0, 1, 3, 13, -1})
        store.Send(key);
    EXPECT_TRUE(view.sent.empty());
}

TEST_F(StoreTest, MacrosForKeysOutOfRangeAreDiscarded)
{
    store.SetMacro(0, {"zero"});
    store.SetMacro(13, {"thirteen"});
    store.SetRecord(99, std::make_unique<MacroRec>(Lines{"x"}));
    EXPECT_EQ(store.MacroBlocks(), "");
    EXPECT_EQ(store.Record(0), nullptr);
    EXPECT_EQ(store.Record(13), nullptr);
}

TEST_F(StoreTest, SettingAKeyAgainReplacesItsMacro)
{
    store.SetMacro(4, {"old"});
    store.SetMacro(4, {"new", "newer"});
    store.Send(4);
    EXPECT_EQ(view.SentBytes(), "new\nnewer\n");
}

TEST_F(StoreTest, PasteAppendsTheLinesToTheEdit)
{
    QPlainTextEdit empty, typed;
    typed.setPlainText("say");
    store.SetMacro(7, {"north", "caf\xe9"});
    store.Paste(7, empty);
    store.Paste(7, typed);
    EXPECT_EQ(empty.toPlainText(), QString::fromUtf8("north\ncaf\u00e9"));
    EXPECT_EQ(typed.toPlainText(), QString::fromUtf8("say\nnorth\ncaf\u00e9"));
    EXPECT_TRUE(view.sent.empty());
}

TEST_F(StoreTest, PasteOfAnEmptySlotLeavesTheEditAsItWas)
{
    QPlainTextEdit edit;
    edit.setPlainText("say hi");
    store.Paste(3, edit);
    store.Paste(0, edit);
    EXPECT_EQ(edit.toPlainText(), "say hi");
}

TEST_F(StoreTest, SaveDropsEmptyLinesAndWritesTheSettings)
{
    store.Save(1, {"a", "", "b"});
    EXPECT_EQ(LinesOf(store, 1), (Lines{"a", "b"}));
    EXPECT_EQ(writes, 1);
    store.Send(1);
    EXPECT_EQ(view.sent, (Lines{"a\n", "b\n"}));
}

TEST_F(StoreTest, SavingAnEmptyMemoKeepsAMacroWithoutLines)
{
    store.SetMacro(6, {"old"});
    store.Save(6, {""});
    ASSERT_NE(store.Record(6), nullptr);
    EXPECT_TRUE(store.Record(6)->Lines().empty());
    store.Send(6);
    EXPECT_TRUE(view.sent.empty());
    EXPECT_EQ(store.MacroBlocks(), "   <macro key='6'>\n   </macro>\n\n");
}

TEST_F(StoreTest, SaveToAKeyOutOfRangeChangesAndWritesNothing)
{
    store.Save(13, {"x"});
    store.Save(0, {"x"});
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(store.MacroBlocks(), "");
}

TEST_F(StoreTest, MacroBlocksAreWrittenInKeyOrderWithEscapedCommands)
{
    store.SetMacro(12, {"say <bye> & 'later'"});
    store.SetMacro(1, {"look", "score"});
    store.SetMacro(3, {});
    const std::string expected = "   <macro key='1'>\n"
                                 "      <command>look</command>\n"
                                 "      <command>score</command>\n"
                                 "   </macro>\n"
                                 "\n"
                                 "   <macro key='3'>\n"
                                 "   </macro>\n"
                                 "\n"
                                 "   <macro key='12'>\n"
                                 "      <command>say &lt;bye&gt; &amp; &apos;later&apos;</command>\n"
                                 "   </macro>\n"
                                 "\n";
    EXPECT_EQ(store.MacroBlocks(), expected);
}

const QString kQuestion = "Text has changed. Do you want to save it?";

struct EditorTest : StoreTest {
    TMacroBox box{store};
    QPlainTextEdit* memo = box.findChild<QPlainTextEdit*>("FKeyMemo");
    QGroupBox* group = box.findChild<QGroupBox*>("FKeyGroup");

    EditorTest()
    {
        store.SetMacro(1, {"look"});
        store.SetMacro(12, {"score", "inv"});
    }
    void Click(const char* name) { box.findChild<QPushButton*>(name)->click(); }
    void Type(const QString& text)
    {
        memo->setFocus();
        QTest::keyClicks(memo, text);
    }
};

TEST_F(EditorTest, HasItsCaptionsLabelsAndButtons)
{
    EXPECT_EQ(box.windowTitle(), "Startup and F-Keys ");
    EXPECT_EQ(group->title(), " Text for FX-Key ");
    QStringList labels;
    for (auto* label : box.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"You can assign up to 400 characters to each F-Key. This text",
                             "will be sent to the server when you press the F-Key or placed",
                             "in the input window when you press Ctrl-F-Key. The text for",
                             "the F1 Key is automatically sent  to the server on log on."})
        EXPECT_TRUE(labels.contains(text)) << text;
    const std::pair<const char*, const char*> buttons[] = {
        {"LastBtn", "Previous"}, {"NextBtn", "Next"}, {"CancelBtn", "Cancel"}, {"OkBtn", "OK"}};
    for (auto [name, caption] : buttons) {
        auto* button = box.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), caption);
    }
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(box.isModal());
}

TEST_F(EditorTest, OpensAtF1ThenAtTheKeyShownLast)
{
    box.Open();
    EXPECT_EQ(group->title(), " Text for F1-Key ");
    EXPECT_EQ(memo->toPlainText(), "look");
    EXPECT_EQ(store.EditKey(), 1);
    box.ShowKey(12);
    Click("CancelBtn");
    EXPECT_FALSE(box.isVisible());
    box.Open();
    EXPECT_EQ(group->title(), " Text for F12-Key ");
    EXPECT_EQ(memo->toPlainText(), "score\ninv");
}

TEST_F(EditorTest, NextAndPreviousStepThroughTheKeysWithoutAskingWhenUnchanged)
{
    ModalScript script;
    box.Open();
    Click("NextBtn");
    EXPECT_EQ(group->title(), " Text for F2-Key ");
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    Click("LastBtn");
    Click("LastBtn");
    EXPECT_EQ(box.Key(), 1);
    EXPECT_EQ(memo->toPlainText(), "look");
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(writes, 0);
}

TEST_F(EditorTest, ChangedTextIsSavedOnYesBeforeMovingOn)
{
    ModalScript script;
    QMessageBox::StandardButtons buttons;
    script.Then([&](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        buttons = box->standardButtons();
        box->button(QMessageBox::Yes)->click();
    });
    box.Open();
    Click("NextBtn");
    Type("get all");
    Click("NextBtn");
    EXPECT_EQ(script.messages, std::vector<QString>{kQuestion});
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(LinesOf(store, 2), Lines{"get all"});
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(box.Key(), 3);
    store.Send(2);
    EXPECT_EQ(view.SentBytes(), "get all\n");
}

TEST_F(EditorTest, NextOnF12SavesAndStaysOnF12)
{
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    box.Open();
    box.ShowKey(12);
    memo->moveCursor(QTextCursor::End);
    Type("\rwho");
    Click("NextBtn");
    EXPECT_EQ(box.Key(), 12);
    EXPECT_EQ(group->title(), " Text for F12-Key ");
    EXPECT_EQ(LinesOf(store, 12), (Lines{"score", "inv", "who"}));
    EXPECT_EQ(memo->toPlainText(), "score\ninv\nwho");
    // Saved text is not asked about a second time.
    Click("NextBtn");
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(writes, 1);
}

TEST_F(EditorTest, OkAfterEditingAsksAndNoClosesWithoutSaving)
{
    ModalScript script;
    script.Answer(QMessageBox::No);
    box.Open();
    Type("xyz");
    Click("OkBtn");
    EXPECT_EQ(script.messages, std::vector<QString>{kQuestion});
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(LinesOf(store, 1), Lines{"look"});
    EXPECT_EQ(writes, 0);
}

TEST_F(EditorTest, OkOnYesSavesTheMemoWithoutItsEmptyLines)
{
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    box.Open();
    memo->selectAll();
    Type("a\r\rb\r");
    // Shift+Enter breaks the line too.
    QTest::keyClicks(memo, "c");
    QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(memo, "d");
    Click("OkBtn");
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(LinesOf(store, 1), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(writes, 1);
}

TEST_F(EditorTest, EmptyingTheMemoSavesAMacroWithoutLines)
{
    ModalScript script;
    script.Answer(QMessageBox::Yes);
    box.Open();
    memo->selectAll();
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Delete);
    Click("OkBtn");
    EXPECT_EQ(store.MacroBlocks(), "   <macro key='1'>\n   </macro>\n\n"
                                   "   <macro key='12'>\n"
                                   "      <command>score</command>\n"
                                   "      <command>inv</command>\n"
                                   "   </macro>\n\n");
}

TEST_F(EditorTest, CancelDiscardsTheChangesWithoutAsking)
{
    ModalScript script;
    box.Open();
    Type("xyz");
    Click("CancelBtn");
    EXPECT_FALSE(box.isVisible());
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(script.unexpected, 0);
    box.Open();
    EXPECT_EQ(memo->toPlainText(), "look");
    EXPECT_EQ(LinesOf(store, 1), Lines{"look"});
}

TEST_F(EditorTest, AnsweringNoThenMovingToAnEmptyKeyAsksNothingMore)
{
    ModalScript script;
    script.Answer(QMessageBox::No);
    box.Open();
    Type("xyz");
    Click("NextBtn");
    Click("OkBtn");
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(store.Record(2), nullptr);
}

TEST_F(EditorTest, MemoTakesAtMost400Characters)
{
    box.Open();
    memo->selectAll();
    Type(QString(398, 'x'));
    QTest::keyClick(memo, Qt::Key_Return);
    Type("abc");
    EXPECT_EQ(memo->toPlainText(), QString(398, 'x') + "\na");
    memo->insertPlainText(QString(50, 'y'));
    EXPECT_EQ(memo->document()->characterCount() - 1, TMacroBox::kMaxChars);
}

TEST_F(EditorTest, LongerStoredMacrosAreShownWhole)
{
    const std::string longLine(450, 'z');
    store.SetMacro(5, {longLine});
    box.Open();
    box.ShowKey(5);
    EXPECT_EQ(memo->toPlainText().size(), 450);
    EXPECT_FALSE(memo->document()->isModified());
}

struct CommandFormTest : StoreTest {
    PlayerInput input{view};
    TCommandForm form{input, store};
    QPlainTextEdit* memo = form.findChild<QPlainTextEdit*>("InputMemo");
    QWidget main;
    QWidget* detailGrid = new QWidget(&main);

    CommandFormTest()
    {
        detailGrid->setObjectName("DetailGrid");
        detailGrid->setFocusPolicy(Qt::StrongFocus);
        form.SetDetailGrid(detailGrid);
        store.SetMacro(2, {"get lamp", "light lamp"});
    }
};

TEST_F(CommandFormTest, IsASmallWindowThatStaysOnTop)
{
    form.Open();
    EXPECT_EQ(form.windowTitle(), "Enter Command");
    EXPECT_EQ(form.size(), QSize(292, 62));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(memo->font().family(), "Arial");
    EXPECT_EQ(memo->font().pixelSize(), 15);
}

TEST_F(CommandFormTest, EnterSendsTheCommandAndHidesTheWindow)
{
    main.show();
    form.Open();
    QTest::keyClicks(memo, "  tell bob hi");
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(view.SentBytes(), "tell bob hi\n");
    EXPECT_EQ(view.DisplayedTexts(), (Lines{" ", "> tell bob hi"}));
    EXPECT_EQ(view.inputEditClears, 1);
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return detailGrid->hasFocus(); }, 2000));
}

TEST_F(CommandFormTest, EscapeDoesNothing)
{
    form.Open();
    QTest::keyClicks(memo, "north");
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(memo->toPlainText(), "north");
    EXPECT_TRUE(view.sent.empty());
    form.hide();
}

TEST_F(CommandFormTest, CtrlFunctionKeyPastesAndEnterSendsTheLinesAsOneCommand)
{
    form.Open();
    QTest::keyClick(memo, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(memo->toPlainText(), "get lamp\nlight lamp");
    EXPECT_TRUE(view.sent.empty());
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(view.SentBytes(), "get lamplight lamp\n");
}

TEST_F(CommandFormTest, FunctionKeySendsTheMacroAndTheWindowStays)
{
    form.Open();
    QTest::keyClicks(memo, "half");
    QTest::keyClick(memo, Qt::Key_F2);
    EXPECT_EQ(view.sent, (Lines{"get lamp\n", "light lamp\n"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(memo->toPlainText(), "half");
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(memo, &repeat);
    EXPECT_EQ(view.sent.size(), 2u);
}

} // namespace

// The F-key macro store, its editor and the command window, driven as a
// player would: keys pressed, buttons clicked, questions answered.
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>

#include "macros/cmdform.h"
#include "macros/macroform.h"
#include "input/input.h"
#include "support/common.h"
#include "support/fake_mainview.h"
#include "support/modal_script.h"
#include "support/settings_files.h"

namespace {

using Lines = std::vector<std::string>;

// The real store over a recording window; the settings writes are counted.
struct Store {
    FakeMainView view;
    Macro store{view};
    int writes = 0;
    Store()
    {
        store.SetWriteSettings([this] { ++writes; });
    }
};

TEST(MacroStore, KeysSendTheirLinesCtrlKeysAppendThemAndSavingDropsEmptyLines)
{
    Store s;
    s.store.SetMacro(2, {"get all", "caf\xe9"});
    s.store.SetMacro(4, {"old"});
    s.store.Save(4, {"new", "", "newer"});
    s.store.Save(3, {""}); // a macro without lines: kept, sends nothing
    s.store.Save(13, {"x"});
    s.store.Save(0, {"x"});
    EXPECT_EQ(s.writes, 2);
    EXPECT_EQ(StoredMacros(s.store), "F2=get all|caf\xe9 F3= F4=new|newer");
    for (int key : {0, 1, 2, 3, 4, 13})
        s.store.Send(key);
    EXPECT_EQ(s.view.sent, (Lines{"get all\n", "caf\xe9\n", "new\n", "newer\n"}));
    EXPECT_TRUE(s.view.displayed.empty());
    QPlainTextEdit edit;
    for (int key : {2, 1, 3, 0, 4})
        s.store.Paste(key, edit);
    EXPECT_EQ(edit.toPlainText(), QString::fromUtf8("get all\ncafé\nnew\nnewer"));
}

// The editor over a store holding F1 "look" and F12 "score", "inv".
struct Editor : Store {
    TMacroBox box{store};
    QPlainTextEdit* memo = Control<QPlainTextEdit>(&box, "FKeyMemo");

    Editor()
    {
        store.SetMacro(1, {"look"});
        store.SetMacro(12, {"score", "inv"});
    }

    // A button's name, "open", "F12", "select-all", "shift-enter", or text
    // typed at the end of the memo or over its selection ("\r" is Enter).
    void Do(const std::string& step)
    {
        if (step == "open")
            box.Open();
        else if (step == "F12")
            box.ShowKey(12);
        else if (step == "select-all")
            memo->selectAll();
        else if (step == "shift-enter")
            QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
        else if (!ClickButton(&box, step.c_str())) {
            if (!memo->textCursor().hasSelection())
                memo->moveCursor(QTextCursor::End);
            QTest::keyClicks(memo, QString::fromStdString(step));
        }
    }

    // The key shown, whether the editor is open, the memo, the store.
    std::string Outcome() const
    {
        return Control<QGroupBox>(&box, "FKeyGroup")->title().remove(" Text for ").toStdString()
            + (box.isVisible() ? "open [" : "closed [") + memo->toPlainText().toStdString() + "] " + StoredMacros(store)
            + " writes=" + std::to_string(writes);
    }
};

TEST(MacroEditor, ChangedTextIsOfferedForSavingBeforeTheEditorMovesOrCloses)
{
    using B = QMessageBox::StandardButton;
    const struct {
        Lines steps;
        std::vector<B> answers;
        std::string outcome;
    } rows[] = {
        // Unchanged: nothing asked.
        {{"open", "NextBtn", "LastBtn", "LastBtn"}, {}, "F1-Key open [look] F1=look F12=score|inv writes=0"},
        {{"open", "NextBtn", "get all", "NextBtn"}, {B::Yes},
            "F3-Key open [] F1=look F2=get all F12=score|inv writes=1"},
        // Next on F12 stays; saved text is not asked about again.
        {{"open", "F12", "\rwho", "NextBtn", "NextBtn"}, {B::Yes},
            "F12-Key open [score\ninv\nwho] F1=look F12=score|inv|who writes=1"},
        {{"open", "xyz", "OkBtn"}, {B::No}, "F1-Key closed [lookxyz] F1=look F12=score|inv writes=0"},
        {{"open", "select-all", "a\r\rb\rc", "shift-enter", "d", "OkBtn"}, {B::Yes},
            "F1-Key closed [a\n\nb\nc\nd] F1=a|b|c|d F12=score|inv writes=1"},
        {{"open", "select-all", "\b", "OkBtn"}, {B::Yes}, "F1-Key closed [] F1= F12=score|inv writes=1"},
        {{"open", "xyz", "CancelBtn", "open"}, {}, "F1-Key open [look] F1=look F12=score|inv writes=0"},
        {{"open", "xyz", "NextBtn", "OkBtn"}, {B::No}, "F2-Key closed [] F1=look F12=score|inv writes=0"},
        // It reopens at the key shown last.
        {{"open", "F12", "CancelBtn", "open"}, {}, "F12-Key open [score\ninv] F1=look F12=score|inv writes=0"},
    };
    for (const auto& row : rows) {
        Editor e;
        ModalScript script;
        for (B answer : row.answers)
            script.Answer(answer);
        for (const std::string& step : row.steps)
            e.Do(step);
        EXPECT_EQ(e.Outcome(), row.outcome);
        EXPECT_EQ(
            script.messages, std::vector<QString>(row.answers.size(), "Text has changed. Do you want to save it?"));
    }
}

TEST(MacroEditor, MemoTakesAtMost400CharactersButShowsLongerMacrosWhole)
{
    Editor e;
    e.store.SetMacro(5, {std::string(450, 'z')});
    for (const std::string& step : Lines{"open", "select-all", std::string(398, 'x') + "\rabc"})
        e.Do(step);
    EXPECT_EQ(e.memo->toPlainText(), QString(398, 'x') + "\na");
    e.box.ShowKey(5);
    EXPECT_EQ(e.memo->toPlainText(), QString(450, 'z'));
    EXPECT_FALSE(e.memo->document()->isModified());
}

TEST(CommandWindow, EnterSendsTheTextAsOneCommandAndFunctionKeysWorkAsInTheInputLine)
{
    Store s;
    s.store.SetMacro(2, {"get lamp", "light lamp"});
    PlayerInput input{s.view};
    TCommandForm form{input, s.store};
    auto* memo = Control<QPlainTextEdit>(&form, "InputMemo");
    QWidget main;
    auto* grid = new QWidget(&main);
    form.SetDetailGrid(grid);
    form.Open();

    QTest::keyClick(memo, Qt::Key_F2);
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(memo, &repeat); // a held key sends once
    QTest::keyPress(memo, Qt::Key_F2, Qt::ControlModifier);
    QTest::keyRelease(memo, Qt::Key_F2); // Ctrl let go first: still Ctrl+F2
    QTest::keyClick(memo, Qt::Key_Escape); // does not close the window
    EXPECT_EQ(s.view.sent, (Lines{"get lamp\n", "light lamp\n"}));
    EXPECT_EQ(memo->toPlainText(), "get lamp\nlight lamp");
    ASSERT_TRUE(form.isVisible());

    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(s.view.sent.back(), "get lamplight lamp\n");
    EXPECT_EQ(s.view.inputEditClears, 1);
    EXPECT_TRUE(memo->toPlainText().isEmpty());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(main.focusWidget(), grid);
}

} // namespace

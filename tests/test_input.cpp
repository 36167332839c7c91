// The command input line: what a submitted command shows, hands to the tight
// beam and sends, and what keys in the real InputEdit do.
#include <optional>

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "macros/macro.h"
#include "input/input.h"
#include "session/inputedit.h"
#include "support/fake_mainview.h"

namespace {

TEST(Submit, CleansEchoesHandsOverAndSends)
{
    struct Row {
        const char* typed;
        const char* echo;
        const char* sent;
        std::optional<std::string> tightBeam;
    };
    const Row rows[] = {
        {"", "> ", "\n", {}},
        {"   north", "> north", "north\n", {}},
        {"nor\nth\r\n", "> north", "north\n", {}},
        {"\tsay hi  ", "> \tsay hi  ", "\tsay hi  \n", {}},
        {"TELL bob hi", "> TELL bob hi", "TELL bob hi\n", "bob hi"},
        {"TB bob hi", "> TB bob hi", "TB bob hi\n", "bob hi"},
        {"  tb zed yo", "> tb zed yo", "tb zed yo\n", "zed yo"},
        {"tell", "> tell", "tell\n", ""},
        {"tell ", "> tell ", "tell \n", ""},
        {"take lamp", "> take lamp", "take lamp\n", {}},
        {"tel", "> tel", "tel\n", {}},
        {"Tall bob", "> Tall bob", "Tall bob\n", {}},
        {"look tb", "> look tb", "look tb\n", {}},
    };
    bool clear = false;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        FakeMainView view;
        std::vector<std::string> handed;
        PlayerInput input(view, [&](const std::string& r) { handed.push_back(r); });
        clear = !clear;
        input.Submit(row.typed, clear);
        EXPECT_EQ(view.displayed, (std::vector<FakeMainView::Shown>{{" ", false}, {row.echo, false}}));
        EXPECT_EQ(view.sent, std::vector<std::string>{row.sent});
        EXPECT_EQ(input.LastCommand(), row.sent);
        EXPECT_EQ(handed, row.tightBeam ? std::vector{*row.tightBeam} : std::vector<std::string>{});
        EXPECT_EQ(view.inputEditClears, clear ? 1 : 0);
    }
}

// The real edit, with a window stand-in that empties it as the main window does.
struct WindowView : FakeMainView {
    QPlainTextEdit* edit = nullptr;
    void ClearInputEdit() override
    {
        FakeMainView::ClearInputEdit();
        edit->clear();
    }
};

struct InputLine {
    WindowView view;
    PlayerInput input{view};
    Macro macros{view};
    QListWidget players;
    InputEdit edit;
    std::vector<bool> pasteStates;

    InputLine()
    {
        players.addItems({"Amy", "Zed"});
        view.edit = &edit;
        edit.Attach(input, macros, players);
        edit.SetPasteEnabler([this](bool on) { pasteStates.push_back(on); });
        macros.SetMacro(5, {"get all", "look"});
    }
    void Release(int key, bool repeat)
    {
        QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier, {}, repeat);
        QApplication::sendEvent(&edit, &e);
    }
};

TEST(InputEditKeys, EachKeyDoesItsJob)
{
    // Typed, the caret moved `left`, `selected` chosen in the players list,
    // then the key; `line` is the input line after it.
    struct Row {
        const char* typed;
        int left;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char *selected, *line, *sent;
    };
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, none = Qt::NoModifier;
    const Row rows[] = {
        {"north", 0, Qt::Key_Return, none, nullptr, "", "north\n"},
        {"north", 2, Qt::Key_Return, none, nullptr, "", "north\n"},
        {"look", 0, Qt::Key_Enter, Qt::KeypadModifier, nullptr, "", "look\n"},
        {"abc", 0, Qt::Key_Space, ctrl, nullptr, "abc", ""},
        {"abc", 0, Qt::Key_Space, ctrl | shift, nullptr, "abc", ""},
        {"whatever", 0, Qt::Key_Space, ctrl, "Zed", "Tell Zed ", ""},
        {"hug", 0, Qt::Key_Space, ctrl | shift, "Zed", "hug Zed ", ""},
        {"a", 0, Qt::Key_Space, none, "Zed", "a ", ""},
        {"a", 0, Qt::Key_Space, shift, "Zed", "a ", ""},
        {"x", 0, Qt::Key_F5, none, nullptr, "x", "get all\nlook\n"},
        {"", 0, Qt::Key_F5, shift, nullptr, "", "get all\nlook\n"},
        {"say", 0, Qt::Key_F5, ctrl, nullptr, "say\nget all\nlook", ""},
        {"say", 0, Qt::Key_F3, ctrl, nullptr, "say", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.typed) + " key " + std::to_string(row.key));
        InputLine t;
        if (row.selected)
            t.players.findItems(row.selected, Qt::MatchExactly).first()->setSelected(true);
        QTest::keyClicks(&t.edit, row.typed);
        for (int i = 0; i < row.left; ++i)
            QTest::keyClick(&t.edit, Qt::Key_Left);
        QTest::keyClick(&t.edit, row.key, row.mods);
        EXPECT_EQ(t.edit.toPlainText(), row.line);
        EXPECT_EQ(t.edit.textCursor().position(), t.edit.toPlainText().size());
        EXPECT_EQ(t.view.SentBytes(), row.sent);
    }
}

TEST(InputEditKeys, ModifiersAreThoseHeldWhenTheKeyWasPressed)
{
    // Pressed with `pressed`, released with `released` (Ctrl let go or pressed in between).
    struct Row {
        Qt::Key key;
        Qt::KeyboardModifiers pressed, released;
        const char *line, *sent;
    };
    const Row rows[] = {
        {Qt::Key_F5, Qt::ControlModifier, Qt::NoModifier, "get all\nlook", ""},
        {Qt::Key_F5, Qt::NoModifier, Qt::ControlModifier, "", "get all\nlook\n"},
        {Qt::Key_Space, Qt::ControlModifier, Qt::NoModifier, "Tell Zed ", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.key) + " pressed with " + std::to_string(row.pressed.toInt()));
        InputLine t;
        t.players.findItems("Zed", Qt::MatchExactly).first()->setSelected(true);
        QTest::keyPress(&t.edit, row.key, row.pressed);
        QTest::keyRelease(&t.edit, row.key, row.released);
        EXPECT_EQ(t.edit.toPlainText(), row.line);
        EXPECT_EQ(t.view.SentBytes(), row.sent);
    }
}

TEST(InputEditKeys, ReleasesWithoutAPressDoNothingAccentsGoOutAsWindows1252AndPasteFollowsTheFocus)
{
    InputLine t;
    t.Release(Qt::Key_F5, true);
    t.Release(Qt::Key_Return, true);
    // The release of an Enter that closed a dialog elsewhere.
    QTest::keyRelease(&t.edit, Qt::Key_Return);
    EXPECT_TRUE(t.view.sent.empty());
    t.Release(Qt::Key_F5, false);
    EXPECT_EQ(t.view.SentBytes(), "get all\nlook\n");

    // As an input method delivers them: text without a key code.
    t.view.sent.clear();
    for (QChar c : QString::fromUtf8("say caf\u00e9 \u20ac5 \u2603")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&t.edit, &press);
    }
    QTest::keyClick(&t.edit, Qt::Key_Return);
    // A character the code page lacks cannot go out as itself.
    EXPECT_EQ(t.view.SentBytes(),
        "say caf\xe9 \x80"
        "5 ?\n");

    // Paste follows the focus, but not a menu taking it.
    const std::pair<QEvent::Type, Qt::FocusReason> events[] = {{QEvent::FocusIn, Qt::TabFocusReason},
        {QEvent::FocusOut, Qt::PopupFocusReason}, {QEvent::FocusIn, Qt::PopupFocusReason},
        {QEvent::FocusOut, Qt::MenuBarFocusReason}, {QEvent::FocusOut, Qt::MouseFocusReason}};
    for (auto [type, reason] : events) {
        QFocusEvent e(type, reason);
        QApplication::sendEvent(&t.edit, &e);
    }
    EXPECT_EQ(t.pasteStates, (std::vector<bool>{true, false}));
}

} // namespace

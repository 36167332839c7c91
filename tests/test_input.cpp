// The command input line: what a submitted command shows, hands to the tight
// beam and sends, and what keys released in the real InputEdit do.
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "macros/macro.h"
#include "shell/input.h"
#include "shell/inputedit.h"
#include "support/fake_mainview.h"

namespace {

struct SubmitTest : ::testing::Test {
    FakeMainView view;
    std::vector<std::string> handedToTightBeam;
    PlayerInput input{view, [this](const std::string& r) { handedToTightBeam.push_back(r); }};
};

TEST_F(SubmitTest, EmptyLineEchoesAndSendsALoneLineFeed)
{
    input.Submit("", true);
    EXPECT_EQ(view.DisplayedTexts(), (std::vector<std::string>{" ", "> "}));
    EXPECT_EQ(view.sent, std::vector<std::string>{"\n"});
    EXPECT_EQ(input.LastCommand(), "\n");
}

TEST_F(SubmitTest, LeadingSpacesAreDroppedFromEchoAndCommand)
{
    input.Submit("   north", true);
    EXPECT_EQ(view.DisplayedTexts(), (std::vector<std::string>{" ", "> north"}));
    EXPECT_EQ(view.SentBytes(), "north\n");
    EXPECT_EQ(input.LastCommand(), "north\n");
}

TEST_F(SubmitTest, LineBreaksAnywhereAreRemovedWithoutSeparator)
{
    input.Submit("nor\nth\r\n", true);
    EXPECT_EQ(view.SentBytes(), "north\n");
    input.Submit("get\r\n all", true);
    EXPECT_EQ(view.sent.back(), "get all\n");
}

TEST_F(SubmitTest, OnlyBlanksAreTrimmedAndOnlyAtTheStart)
{
    input.Submit("\tsay hi  ", true);
    EXPECT_EQ(view.SentBytes(), "\tsay hi  \n");
}

TEST_F(SubmitTest, EchoesGoToTheStory)
{
    input.Submit("look", false);
    EXPECT_EQ(view.displayed, (std::vector<FakeMainView::Shown>{{" ", false}, {"> look", false}}));
}

TEST_F(SubmitTest, ClearInputEmptiesTheInputLineOnlyWhenAsked)
{
    input.Submit("ex lamp", false);
    EXPECT_EQ(view.inputEditClears, 0);
    input.Submit("look", true);
    EXPECT_EQ(view.inputEditClears, 1);
}

TEST_F(SubmitTest, PrivateMessagesAreHandedToTheTightBeamAndSentUnchanged)
{
    input.Submit("TELL bob hi", true);
    input.Submit("TB bob hi", true);
    input.Submit("  tb zed yo", true);
    EXPECT_EQ(handedToTightBeam, (std::vector<std::string>{"bob hi", "bob hi", "zed yo"}));
    EXPECT_EQ(view.SentBytes(), "TELL bob hi\nTB bob hi\ntb zed yo\n");
}

TEST_F(SubmitTest, BarePrefixesHandOverAnEmptyRemainder)
{
    input.Submit("tell", true);
    input.Submit("tb", true);
    input.Submit("tell ", true);
    EXPECT_EQ(handedToTightBeam, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(view.SentBytes(), "tell\ntb\ntell \n");
}

TEST_F(SubmitTest, OtherCommandsAreNotHandedOver)
{
    for (const char* text : {"take lamp", "tel", "t", "", "Tall bob", "look tb"})
        input.Submit(text, true);
    EXPECT_TRUE(handedToTightBeam.empty());
    EXPECT_EQ(view.sent.size(), 6u);
}

TEST_F(SubmitTest, WithoutATightBeamHookTellIsStillSent)
{
    PlayerInput bare(view);
    bare.Submit("tell bob hi", true);
    EXPECT_EQ(view.SentBytes(), "tell bob hi\n");
}

// The real edit under the offscreen platform, with a window stand-in that
// empties it as the main window does.
struct WindowView : FakeMainView {
    QPlainTextEdit* edit = nullptr;
    void ClearInputEdit() override
    {
        FakeMainView::ClearInputEdit();
        edit->clear();
    }
};

struct InputEditTest : ::testing::Test {
    WindowView view;
    PlayerInput input{view};
    Macro macros{view};
    QWidget window;
    InputEdit* edit = new InputEdit(&window);
    QListWidget* players = new QListWidget(&window);
    std::vector<bool> pasteStates;

    InputEditTest()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(edit);
        layout->addWidget(players);
        players->setObjectName("PlayerListBox");
        players->addItems({"Amy", "Zed"});
        view.edit = edit;
        edit->Attach(input, macros, *players);
        edit->SetPasteEnabler([this](bool on) { pasteStates.push_back(on); });
        macros.SetMacro(5, {"get all", "look"});
    }

    void SelectPlayer(const QString& name)
    {
        players->findItems(name, Qt::MatchExactly).first()->setSelected(true);
    }
    void Release(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool autoRepeat = false)
    {
        QKeyEvent release(QEvent::KeyRelease, key, mods, QString(), autoRepeat);
        QApplication::sendEvent(edit, &release);
    }
};

TEST_F(InputEditTest, TypedCommandIsSubmittedOnEnterAndTheLineEmptied)
{
    EXPECT_EQ(edit->objectName(), "InputEdit");
    QTest::keyClicks(edit, "north");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(view.SentBytes(), "north\n");
    EXPECT_EQ(view.DisplayedTexts(), (std::vector<std::string>{" ", "> north"}));
    EXPECT_TRUE(edit->toPlainText().isEmpty());
}

TEST_F(InputEditTest, EnterInTheMiddleOfTheTextSendsOneLine)
{
    QTest::keyClicks(edit, "north");
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(3);
    edit->setTextCursor(cursor);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(view.SentBytes(), "north\n");
}

TEST_F(InputEditTest, KeypadEnterSubmitsToo)
{
    QTest::keyClicks(edit, "look");
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(view.SentBytes(), "look\n");
}

TEST_F(InputEditTest, TypedAccentsAreSentAsWindows1252)
{
    // Typed as the platform's input method delivers them: text without a key code.
    for (QChar c : QString::fromUtf8("say caf\u00e9 \u20ac5 \u2603")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
    QTest::keyClick(edit, Qt::Key_Return);
    // A character the code page lacks cannot go out as itself.
    EXPECT_EQ(view.SentBytes(), "say caf\xe9 \x80" "5 ?\n");
}

TEST_F(InputEditTest, CtrlSpaceWithoutASelectedPlayerChangesNothing)
{
    QTest::keyClicks(edit, "abc");
    QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit->toPlainText(), "abc");
    EXPECT_TRUE(view.sent.empty());
}

TEST_F(InputEditTest, CtrlSpaceStartsATellToTheSelectedPlayer)
{
    SelectPlayer("Zed");
    QTest::keyClicks(edit, "whatever");
    QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), "Tell Zed ");
    EXPECT_EQ(edit->textCursor().position(), edit->toPlainText().size());
    EXPECT_TRUE(view.sent.empty());
}

TEST_F(InputEditTest, CtrlShiftSpaceAppendsTheSelectedPlayer)
{
    SelectPlayer("Zed");
    QTest::keyClicks(edit, "hug");
    QTest::keyClick(edit, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit->toPlainText(), "hug Zed ");
    EXPECT_EQ(edit->textCursor().position(), edit->toPlainText().size());
}

TEST_F(InputEditTest, SpaceAloneOrWithShiftIsOrdinaryTyping)
{
    SelectPlayer("Zed");
    QTest::keyClicks(edit, "a");
    QTest::keyClick(edit, Qt::Key_Space);
    QTest::keyClick(edit, Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(edit->toPlainText(), "a  ");
}

TEST_F(InputEditTest, FunctionKeySendsItsMacroWithOrWithoutShift)
{
    QTest::keyClick(edit, Qt::Key_F5);
    QTest::keyClick(edit, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(view.SentBytes(), "get all\nlook\nget all\nlook\n");
    EXPECT_TRUE(view.displayed.empty());
    EXPECT_TRUE(edit->toPlainText().isEmpty());
}

TEST_F(InputEditTest, CtrlFunctionKeyOnlyFillsTheLine)
{
    QTest::keyClicks(edit, "say");
    QTest::keyClick(edit, Qt::Key_F5, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), "say\nget all\nlook");
    EXPECT_TRUE(view.sent.empty());
    QTest::keyClick(edit, Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), "say\nget all\nlook");
}

TEST_F(InputEditTest, AutoRepeatedReleasesAreIgnored)
{
    Release(Qt::Key_F5, Qt::NoModifier, true);
    Release(Qt::Key_Return, Qt::NoModifier, true);
    EXPECT_TRUE(view.sent.empty());
    Release(Qt::Key_F5);
    EXPECT_EQ(view.sent.size(), 2u);
}

TEST_F(InputEditTest, KeysBeforeTheSessionObjectsExistDoNothing)
{
    InputEdit lone;
    QTest::keyClicks(&lone, "north");
    QTest::keyClick(&lone, Qt::Key_Return);
    QTest::keyClick(&lone, Qt::Key_F5);
    EXPECT_TRUE(view.sent.empty());
    EXPECT_EQ(lone.toPlainText(), "north\n");
}

TEST_F(InputEditTest, PasteFollowsTheFocus)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }, 2000));
    players->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return players->hasFocus(); }, 2000));
    ASSERT_GE(pasteStates.size(), 2u);
    EXPECT_EQ(pasteStates[pasteStates.size() - 2], true);
    EXPECT_EQ(pasteStates.back(), false);
}

} // namespace

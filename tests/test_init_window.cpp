// The real main window with init.xml in its folder: the file applied at
// start-up and written when a colour or font is chosen and at close; the
// F-key macros read, stored and sent.
#include <QColorDialog>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QTest>

#include "macros/macroform.h"
#include "support/common.h"
#include "support/modal_script.h"
#include "support/script_server.h"
#include "support/settings_files.h"
#include "support/window_fixture.h"

namespace {

using SettingsWindow = WindowFixture;

TEST_F(SettingsWindow, FileIsAppliedAtStartUpAndWrittenWhenColourOrFontIsChosenAndAtClose)
{
    WriteFile(WorkPath("init.xml"), kFullSettingsFile);
    TMainForm& w = Window();
    w.show();
    // Applied to the window itself, not only kept for writing back.
    EXPECT_TRUE(w.StatsPanel->isHidden());
    EXPECT_EQ(w.OutputEdit->palette().color(QPalette::Base), QColor(0, 128, 128));
    EXPECT_EQ(w.OutputEdit->palette().color(QPalette::Text), QColor(255, 0, 0));
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((QRect(w.pos(), w.size()).center() - centre).manhattanLength(), 2);

    const auto colour = [](QColor c) {
        return [c](QWidget* d) {
            qobject_cast<QColorDialog*>(d)->setCurrentColor(c);
            qobject_cast<QDialog*>(d)->accept();
        };
    };
    ModalScript script;
    script.Then([](QWidget* d) { qobject_cast<QDialog*>(d)->reject(); })
        .Then(colour(QColor(0, 0, 255)))
        .Then([](QWidget* d) {
            QFont f("DejaVu Sans", 14);
            f.setBold(true);
            f.setItalic(true);
            f.setUnderline(true);
            qobject_cast<QFontDialog*>(d)->setCurrentFont(f);
            qobject_cast<QDialog*>(d)->accept();
        })
        .Then(colour(QColor(0, 0, 128))); // the font's colour, asked right after it
    QFile::remove(WorkPath("init.xml"));
    Item("ColorItem")->trigger();
    EXPECT_FALSE(QFile::exists(WorkPath("init.xml")));
    Item("ColorItem")->trigger();
    EXPECT_TRUE(ReadFile(WorkPath("init.xml")).contains("   <colour bkg='16711680'/>\n"));
    Item("FontsItem")->trigger();
    const QFont shown = w.OutputEdit->font(); // its style is kept though not stored
    EXPECT_TRUE(shown.bold() && shown.italic() && shown.underline() && !shown.strikeOut());
    const QByteArray font = "   <font name='" + QByteArray::fromStdString(w.OutputFont().name)
        + "' colour='8388608' height='-19' size='14'/>\n";
    EXPECT_TRUE(ReadFile(WorkPath("init.xml")).contains(font));

    QFile::remove(WorkPath("init.xml"));
    window.reset();
    QByteArray expected = kFullSettingsFile;
    expected.replace("<colour bkg='8421376'/>", "<colour bkg='16711680'/>")
        .replace("   <font name='DejaVu Sans Mono' colour='255' height='-13' size='10'/>\n", font);
    EXPECT_EQ(ReadFile(WorkPath("init.xml")), expected);
}

TEST_F(SettingsWindow, FunctionKeysSendTheMacrosReadAtStartUpAndStoredInTheEditor)
{
    WriteFile(WorkPath("init.xml"),
        "<macro key='2'>\n<command>get lamp</command>\n"
        "<command>say a &amp; b</command>\n</macro>\n");
    TMainForm& w = Window();
    ScriptServer server;
    w.OpenConnection("127.0.0.1", server.Port(), "Zed");
    ASSERT_TRUE(WaitStatus("Connected"));
    QTest::keyClick(w.InputEdit, Qt::Key_F2);

    ModalScript script;
    script.Answer(QMessageBox::Yes);
    Item("FKeyStartUpItem")->trigger();
    w.MacroBox()->ShowKey(3);
    QTest::keyClicks(Control<QPlainTextEdit>(w.MacroBox(), "FKeyMemo"), "wave");
    ASSERT_TRUE(ClickButton(w.MacroBox(), "OkBtn"));
    EXPECT_TRUE(ReadFile(WorkPath("init.xml")).contains("   <macro key='3'>\n      <command>wave</command>\n"));
    QTest::keyClick(w.InputEdit, Qt::Key_F3);
    EXPECT_TRUE(server.WaitForReceived("wave\n"));
    EXPECT_EQ(server.Received(), "get lamp\nsay a & b\nwave\n");
}

} // namespace

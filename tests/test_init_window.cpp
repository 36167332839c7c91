// The real main window with init.xml in its working directory: settings are
// applied at start-up and written back when the window goes.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QScreen>

#include "macros/macro.h"
#include "macros/macro_rec.h"
#include "settings/init.h"
#include "support/modal_script.h"
#include "support/window_fixture.h"

namespace {

std::string ReadBytes(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const QString& path, const std::string& bytes)
{
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
}

const std::string kSaved = "<?xml version=\"1.0\"?>\n"
                           "\n"
                           "<init-file>\n"
                           "\n"
                           "   <size width='900' height='650'/>\n"
                           "   <buffer size='500'/>\n"
                           "   <input-window height='80'/>\n"
                           "   <colour bkg='8421376'/>\n"
                           "   <stats-panel visible='false'/>\n"
                           "   <audio-alert enabled='true'/>\n"
                           "   <twinkles enabled='false'/>\n"
                           "   <sound-fx enabled='false'/>\n"
                           "\t<voting time='1700000000'/>\n"
                           "   <no-blank-lines/>\n"
                           "\n"
                           "   <friends-list ranks='5' audio='true'>\n"
                           "      <friend name='Alice'/>\n"
                           "      <friend name='Bob'/>\n"
                           "   </friends-list>\n"
                           "\n"
                           "   <macro key='1'>\n"
                           "      <command>look</command>\n"
                           "      <command>say R&amp;D</command>\n"
                           "   </macro>\n"
                           "\n"
                           "   <font name='DejaVu Sans Mono' colour='255' height='-13' size='0'/>\n"
                           "   <avatar name='Zed'>\n"
                           "      <server host='kyrn.example.org' port='30003'/>\n"
                           "      <account id='zed01' password='it&apos;s&amp;me' current='true'/>\n"
                           "   </avatar>\n"
                           "\n"
                           "</init-file>\n";

using SettingsWindowTest = WindowFixture;

} // namespace

TEST_F(SettingsWindowTest, StartUpAppliesTheFileAndClosingWritesItBack)
{
    WriteBytes(WorkPath("init.xml"), kSaved);
    TMainForm& w = Window();

    EXPECT_EQ(w.width(), 900);
    EXPECT_EQ(w.height(), 650);
    EXPECT_EQ(w.BufferLines(), 500);
    EXPECT_TRUE(w.MenuItem(Option::LargeBuffer)->isChecked());
    EXPECT_FALSE(w.MenuItem(Option::StatsPanel)->isChecked());
    EXPECT_TRUE(w.StatsPanel->isHidden());
    EXPECT_TRUE(w.MenuItem(Option::TextAlert)->isChecked());
    EXPECT_FALSE(w.MenuItem(Option::ConsoleLights)->isChecked());
    EXPECT_FALSE(w.MenuItem(Option::SoundFx)->isChecked());
    EXPECT_TRUE(w.MenuItem(Option::SuppressBlankLines)->isChecked());
    EXPECT_EQ(w.OutputFont().name, "DejaVu Sans Mono");
    EXPECT_EQ(w.Settings().VotingTime(), 1700000000);
    ASSERT_EQ(w.Settings().Accounts().size(), 1u);
    EXPECT_EQ(w.Settings().Accounts().front()->password, "it's&me");
    ASSERT_NE(w.GetMacro().Record(1), nullptr);
    EXPECT_EQ(w.GetMacro().Record(1)->Lines(), (std::vector<std::string>{"look", "say R&D"}));

    w.show();
    EXPECT_EQ(w.InputPanelHeight(), 80);

    // Writing happens when the window is destroyed after the player confirms.
    std::filesystem::remove(WorkPath("init.xml").toStdString());
    w.close();
    ASSERT_EQ(confirmations, std::vector<QString>{"Close Orvix?"});
    EXPECT_FALSE(QFileInfo::exists(WorkPath("init.xml")));
    window.reset();
    EXPECT_EQ(ReadBytes(WorkPath("init.xml")), kSaved);
}

TEST_F(SettingsWindowTest, WithoutAFileTheDefaultsAreWrittenPrivately)
{
    TMainForm& w = Window();
    EXPECT_EQ(w.BufferLines(), 200);
    EXPECT_FALSE(w.MenuItem(Option::LargeBuffer)->isChecked());
    EXPECT_TRUE(w.MenuItem(Option::StatsPanel)->isChecked());
    EXPECT_TRUE(w.Settings().Accounts().empty());

    // "Large Text Buffer" is stored in the settings and written at exit.
    w.MenuItem(Option::LargeBuffer)->trigger();
    EXPECT_EQ(w.BufferLines(), 500);
    EXPECT_EQ(w.Settings().BufferSize(), 500);

    window.reset();
    const std::string text = ReadBytes(WorkPath("init.xml"));
    EXPECT_NE(text.find("   <buffer size='500'/>\n"), std::string::npos);
    EXPECT_NE(text.find("   <stats-panel visible='true'/>\n"), std::string::npos);
    EXPECT_EQ(text.find("<avatar"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(WorkPath("init.xml").toStdString()).permissions()
                  & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(SettingsWindowTest, UnwritableFileIsReportedAtExit)
{
    // A directory where the file should be: the write fails, the player is told.
    ASSERT_TRUE(QDir(tempDir.path()).mkdir("init.xml"));
    Window();
    window.reset();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MessageKind::Error);
    EXPECT_EQ(messages[0].second, "Unable to save your personal\nsettings to file init.xml");
}

TEST_F(SettingsWindowTest, ChosenColourAndFontAreWrittenAtOnce)
{
    TMainForm& w = Window();
    w.show();

    ModalScript colour;
    colour.Then([](QWidget* d) {
        qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(0, 128, 128));
        qobject_cast<QDialog*>(d)->accept();
    });
    w.findChild<QAction*>("ColorItem")->trigger();
    EXPECT_TRUE(colour.Finished());
    EXPECT_EQ(w.Settings().BackgroundColour(), 0x00808000);
    EXPECT_NE(ReadBytes(WorkPath("init.xml")).find("   <colour bkg='8421376'/>\n"), std::string::npos);

    // The font's style is kept, and its colour chosen right after it.
    ModalScript script;
    script
        .Then([](QWidget* d) {
            QFont f("DejaVu Sans");
            f.setPointSize(14);
            f.setBold(true);
            f.setItalic(true);
            f.setUnderline(true);
            qobject_cast<QFontDialog*>(d)->setCurrentFont(f);
            qobject_cast<QDialog*>(d)->accept();
        })
        .Then([](QWidget* d) {
            qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(255, 0, 0));
            qobject_cast<QDialog*>(d)->accept();
        });
    w.findChild<QAction*>("FontsItem")->trigger();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(w.OutputFont().size, 14);
    const QFont shown = w.OutputEdit->font();
    EXPECT_TRUE(shown.bold() && shown.italic() && shown.underline() && !shown.strikeOut());
    EXPECT_EQ(w.OutputEdit->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_NE(ReadBytes(WorkPath("init.xml")).find("' colour='255' height='-19' size='14'/>\n"),
              std::string::npos);

    // Cancelling writes nothing.
    std::filesystem::remove(WorkPath("init.xml").toStdString());
    ModalScript cancel;
    cancel.Then([](QWidget* d) { qobject_cast<QDialog*>(d)->reject(); });
    w.findChild<QAction*>("ColorItem")->trigger();
    EXPECT_TRUE(cancel.Finished());
    EXPECT_FALSE(QFileInfo::exists(WorkPath("init.xml")));
}

TEST_F(SettingsWindowTest, WindowIsCentredAtTheSizeItOpensWith)
{
    WriteBytes(WorkPath("init.xml"), "<init-file>\n   <size width='600' height='400'/>\n</init-file>\n");
    TMainForm& w = Window();
    ASSERT_EQ(w.size(), QSize(600, 400));
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((QRect(w.pos(), w.size()).center() - centre).manhattanLength(), 2);
}

TEST_F(SettingsWindowTest, StoredMacroIsWrittenAtOnce)
{
    TMainForm& w = Window();
    w.GetMacro().Save(3, {"north", "", "get all"});
    EXPECT_NE(ReadBytes(WorkPath("init.xml"))
                  .find("   <macro key='3'>\n      <command>north</command>\n"
                        "      <command>get all</command>\n   </macro>\n\n"),
              std::string::npos);
}

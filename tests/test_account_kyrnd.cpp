// Logging on to the bundled game server itself, from the menu item to play,
// with a refused password on the way.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QToolButton>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "account/spin_control.h"
#include "logging/logging.h"
#include "map/map_grid.h"
#include "map/world_map.h"
#include "shell/coms.h"
#include "shell/inputedit.h"
#include "social/tb_code.h"
#include "support/modal_script.h"
#include "support/window_fixture.h"

namespace {

class KyrndLogon : public WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        const QString program = QCoreApplication::applicationDirPath() + "/../server/kyrnd";
        if (!QFileInfo(program).isExecutable())
            GTEST_SKIP() << "kyrnd is not built";
        ASSERT_TRUE(dataDir.isValid());
        server.setProgram(program);
        server.setArguments({"--port", "0", "--data-dir", dataDir.path(), "--bots", "0",
                             "--noop-interval", "300", "--seed", "7", "--hash-iterations", "1000"});
        server.start();
        ASSERT_TRUE(server.waitForStarted(5000));
        // The log line names the port it picked.
        const QRegularExpression listening("listening on 127\\.0\\.0\\.1:(\\d+)");
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                log += server.readAllStandardError();
                const auto match = listening.match(QString::fromUtf8(log));
                if (match.hasMatch())
                    port = match.captured(1);
                return !port.isEmpty();
            },
            10000))
            << log.constData();
    }

    void TearDown() override
    {
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            if (!server.waitForFinished(5000))
                server.kill();
        }
        WindowFixture::TearDown();
    }

    TMainForm& LogOnAsNova()
    {
        TMainForm& w = Window();
        script.Then([&](QWidget* dialog) {
            TypeInto(dialog->findChild<QLineEdit*>("PortEdit"), port);
            TypeInto(dialog->findChild<QLineEdit*>("KyrEdit"), "Nova");
            TypeInto(dialog->findChild<QLineEdit*>("AccountEdit"), "demo1");
            TypeInto(dialog->findChild<QLineEdit*>("PasswordEdit"), "orvixdemo");
            ClickButton(dialog, "OKBtn");
        });
        w.findChild<QAction*>("LogonItem")->trigger();
        return w;
    }

    QTemporaryDir dataDir;
    QProcess server;
    QByteArray log;
    QString port;
    ModalScript script;
};

TEST_F(KyrndLogon, DemoAccountLogsOnAfterAWrongPassword)
{
    TMainForm& w = Window();
    w.SetOptionChecked(Option::DisplayClientStream, true);
    w.MenuItem(Option::AutoLog)->trigger();
    script.Then([&](QWidget* dialog) {
        TypeInto(dialog->findChild<QLineEdit*>("PortEdit"), port);
        TypeInto(dialog->findChild<QLineEdit*>("KyrEdit"), "Nova");
        TypeInto(dialog->findChild<QLineEdit*>("AccountEdit"), "demo1");
        TypeInto(dialog->findChild<QLineEdit*>("PasswordEdit"), "not-it");
        ClickButton(dialog, "OKBtn");
    });
    script.Then([&](QWidget* dialog) {
        TypeInto(dialog->findChild<QLineEdit*>("PasswordEdit"), "orvixdemo");
        ClickButton(dialog, "OKBtn");
    });
    w.findChild<QAction*>("LogonItem")->trigger();

    ASSERT_TRUE(QTest::qWaitFor([&] { return w.GetComs().GetMode() == Coms::Streaming; }, 20000))
        << PaneLines(w.OutputEdit).join('\n').toStdString();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.unexpected, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MessageKind::Information);
    const QStringList shown = PaneLines(w.OutputEdit);
    EXPECT_EQ(shown.count("Connected"), 1);
    EXPECT_TRUE(shown.contains("Sorry, the account ID or password is wrong."));
    EXPECT_TRUE(shown.contains("Linking to Kyrnos DataSpace..."));
    // What the client sent, as its stream echo shows it: the keep-alives
    // of the server are answered once play has begun.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return PaneLines(w.ScrollBackMemo).join('\n').contains("<c-no-op/>"); }, 10000));
    const QString sent = PaneLines(w.ScrollBackMemo).join('\n');
    const QStringList expected{"demo1", "not-it", "no", "demo1", "orvixdemo",
                               "<?xml version=\"1.0\"?>", "<c-orvix version='1.60'>", "look",
                               "<c-no-op/>"};
    qsizetype at = 0;
    for (const QString& line : expected) {
        at = sent.indexOf(line, at);
        ASSERT_GE(at, 0) << line.toStdString() << " in " << sent.toStdString();
        at += line.size();
    }
    EXPECT_EQ(w.Socket()->state(), QAbstractSocket::ConnectedState);

    // The session log has the conversation but neither password.
    QFile log(WorkPath("logs/" + QString::fromStdString(DailyLogName(std::time(nullptr)))));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    EXPECT_TRUE(logged.contains("Linking to Kyrnos DataSpace..."));
    EXPECT_FALSE(logged.contains("orvixdemo"));
    EXPECT_FALSE(logged.contains("not-it"));
}

TEST_F(KyrndLogon, NewAccountAndAvatarReachPlay)
{
    TMainForm& w = Window();
    script.Then([&](QWidget* dialog) {
        auto edit = [dialog](const char* name) { return dialog->findChild<QLineEdit*>(name); };
        TypeInto(edit("PortEdit"), port);
        TypeInto(edit("IDEdit"), "newpilot");
        TypeInto(edit("PwEdit"), "password1");
        TypeInto(edit("PwConfEdit"), "password1");
        TypeInto(edit("EMailEdit"), "pilot@example.org");
        TypeInto(edit("NameEdit"), "Rigel");
        TypeInto(edit("RaceEdit"), "Human");
        for (const char* spin : {"StrSpin", "UpDown1", "DexSpin", "UpDown2"})
            for (int i = 0; i < 15; ++i)
                dialog->findChild<SpinControl*>(spin)->StepUp();
        ClickButton(dialog, "SendBtn");
    });
    w.findChild<QAction*>("NewAccountAvatarItem")->trigger();

    ASSERT_TRUE(QTest::qWaitFor([&] { return w.GetComs().GetMode() == Coms::Streaming; }, 20000))
        << PaneLines(w.OutputEdit).join('\n').toStdString();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(PaneLines(w.OutputEdit).contains("Your account newpilot is ready."));
    EXPECT_EQ(w.Socket()->state(), QAbstractSocket::ConnectedState);
}

TEST_F(KyrndLogon, SpynetReportAndTightBeamInPlay)
{
    TMainForm& w = LogOnAsNova();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.GetComs().GetMode() == Coms::Streaming; }, 20000))
        << PaneLines(w.OutputEdit).join('\n').toStdString();
    // The server's first location arrives with its contents.
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.StoryMemo->LineCount() > 0; }, 10000));

    auto submit = [&](const char* command) {
        QTest::keyClicks(w.InputEdit, command);
        QTest::keyClick(w.InputEdit, Qt::Key_Return);
    };
    submit("spynet report Nova");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.SpynetOutput->LineCount() > 0; }, 10000));
    EXPECT_TRUE(w.SpynetNamePanel->text().startsWith("Spynet Report for "));
    EXPECT_TRUE(w.SpynetNamePanel->text().endsWith(" Nova"));
    EXPECT_EQ(w.TopNotebook->currentWidget(), w.ExSpTab);

    // A tight beam to oneself comes straight back from the server.
    w.GetTightBeam().Open("Nova");
    submit("tell Nova meet me at the pad");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.TBMemo->LineCount() == 2; }, 10000));
    EXPECT_EQ(PaneLines(w.TBMemo), QStringList({"You say, \"meet me at the pad.\"",
                                                "Nova says, \"meet me at the pad\""}));
}

TEST_F(KyrndLogon, WalkingAPlanetFillsAndCentresBothGrids)
{
    TMainForm& w = LogOnAsNova();
    const auto current = [&] {
        const KyrMap* map = w.GetWorldMap().Map();
        return map ? map->Current() : -1;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return current() >= 0; }, 20000))
        << PaneLines(w.OutputEdit).join('\n').toStdString();
    EXPECT_TRUE(w.DetailGrid->isVisibleTo(&w));
    EXPECT_GE(w.MapMemo->LineCount(), 4);

    // Three steps along the exits the server gives: the first with a
    // button, the others with keys on the detail grid.
    struct Step {
        int exit, delta;
        const char* button;
        Qt::Key key;
    };
    const Step steps[] = {{0, -64, "NMoveBtn", Qt::Key_Up}, {2, 1, "EMoveBtn", Qt::Key_Right},
                          {4, 64, "SMoveBtn", Qt::Key_Down}, {6, -1, "WMoveBtn", Qt::Key_Left}};
    for (int move = 0; move < 3; ++move) {
        const int at = current();
        const Location& here = *w.GetWorldMap().Map()->Locations().at(at);
        const Step* step = nullptr;
        for (const Step& s : steps)
            if (!step && here.exits[static_cast<std::size_t>(s.exit)])
                step = &s;
        ASSERT_NE(step, nullptr) << here.name;
        if (move == 0)
            w.findChild<QToolButton*>(step->button)->click();
        else
            QTest::keyClick(w.DetailGrid, step->key);
        ASSERT_TRUE(QTest::qWaitFor([&] { return current() == at + step->delta; }, 10000))
            << here.name << " " << step->button;
    }
    const int at = current();
    for (TileGrid* grid : {w.DetailGrid, w.MapGrid}) {
        EXPECT_EQ(grid->SelectedColumn(), 2 * (at % 64) + 1);
        EXPECT_EQ(grid->SelectedRow(), 2 * (at / 64) + 1);
    }
    EXPECT_GE(w.GetWorldMap().Map()->Locations().size(), 2u);
}

} // namespace

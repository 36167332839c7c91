// The kyrnd program itself: options, start-up output, demo accounts, and a
// clean stop on SIGTERM.
#include "test_env.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList baseArgs(const QString& dataDir)
{
    // Saving is put off far beyond the test, so only the stop can save.
    return {"--port", "0", "--data-dir", dataDir, "--world", KYRND_WORLD_FILE, "--bots", "0",
            "--hash-iterations", "500", "--save-interval", "600000"};
}

} // namespace

TEST(Program, HelpAndBadOptions)
{
    QProcess p;
    p.start(KYRND_BINARY, {"--help"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString help = QString::fromLocal8Bit(p.readAllStandardOutput());
    for (const char* option : {"--port", "--data-dir", "--world", "--noop-interval", "--noop-timeout"})
        EXPECT_TRUE(help.contains(option)) << option;

    p.start(KYRND_BINARY, {"--port", "seventy"});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardError().contains("--port"));

    QTemporaryDir dir;
    p.start(KYRND_BINARY, {"--data-dir", dir.path(), "--world", dir.filePath("missing.xml")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("missing.xml"));
}

TEST(Program, ServesTheDemoAccountAndStopsCleanlyOnSigterm)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(KYRND_BINARY, baseArgs(dir.path()));
    QString log;
    quint16 port = 0;
    const QRegularExpression listening("listening on 127\\.0\\.0\\.1:(\\d+)");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        log += QString::fromLocal8Bit(p.readAllStandardError());
        const auto m = listening.match(log);
        port = m.hasMatch() ? m.captured(1).toUShort() : 0;
        return port != 0;
    }, 10000)) << log.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("accounts.json")));

    ScriptClient c;
    ASSERT_TRUE(c.connectTo(port));
    ASSERT_TRUE(logOn(c, "demo1", "orvixdemo"));
    c.send("n");
    ASSERT_FALSE(c.waitFor("<s-new-loc name='Central Plaza' loc-num='1886'").isNull());

    p.terminate();  // SIGTERM
    EXPECT_FALSE(c.waitFor("shutting down").isNull());
    EXPECT_TRUE(c.waitClosed());
    ASSERT_TRUE(p.state() == QProcess::NotRunning || p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    log += QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(log.contains("connection from 127.0.0.1")) << log.toStdString();

    // The next start finds the avatar where it went.
    QFile f(dir.filePath("accounts.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("\"loc\": 1886"));
}

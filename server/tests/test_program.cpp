// The kyrnd program: its options, and a clean stop on SIGTERM that keeps
// what was played.
#include "kyrnd_test.h"

#include "options.h"

TEST(Program, Options)
{
    const struct { QStringList args; bool ok, exitOk; const char* message; } rows[] = {
        {{"--help"}, false, true, "--noop-timeout"},
        {{"--port", "seventy"}, false, false, "--port needs a number from 0 to 65535"},
        {{"--hash-iterations", "10000001"}, false, false, "--hash-iterations"},
        {{"--port", "0", "--login-timeout", "0", "--max-per-address", "0"}, true, false, ""},
    };
    for (const auto& r : rows) {
        ServerOptions o;
        QString message;
        bool exitOk;
        EXPECT_EQ(parseOptions(QStringList{"kyrnd"} + r.args, o, message, exitOk), r.ok) << r.message;
        EXPECT_TRUE(exitOk == r.exitOk && message.contains(r.message)) << message.toStdString();
    }
    // A minute to log on, and a few connections from one address.
    EXPECT_TRUE(ServerOptions().session.loginTimeoutMs == 60000 && ServerOptions().maxPerAddress == 8);
}

TEST(Program, StopsCleanlyOnSigtermAndSavesTheMove)
{
    QTemporaryDir dir;
    QProcess p;
    QString log;
    // Saving is put off beyond the test, so only the stop can save.
    const quint16 port = startKyrnd(p, {"--port", "0", "--data-dir", dir.path(), "--world", KYRND_WORLD_FILE,
                                        "--bots", "0", "--hash-iterations", "500", "--save-interval", "600000"}, &log);
    ASSERT_NE(port, 0) << log.toStdString();
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(port) && logOn(c, "demo1", "orvixdemo"));
    ASSERT_TRUE(c.walk({{"n", "<s-new-loc name='Central Plaza' loc-num='1886'"}}));
    p.terminate();
    EXPECT_TRUE(c.sees("shutting down") && c.waitClosed());
    ASSERT_TRUE(p.state() == QProcess::NotRunning || p.waitForFinished(10000));
    EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0);
    EXPECT_TRUE(ReadFile(dir.filePath("accounts.json")).contains("\"loc\": 1886"));

    p.start(KYRND_BINARY, {"--data-dir", dir.path(), "--world", dir.filePath("missing.xml")});
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_TRUE(p.exitCode() == 1 && p.readAllStandardError().contains("missing.xml"));
}

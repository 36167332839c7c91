// The kyrnd program: the port it reports, and a clean stop on SIGTERM that
// keeps what was played.
#include "kyrnd_test.h"

TEST(Program, StopsCleanlyOnSigtermAndSavesTheMove)
{
    QTemporaryDir dir;
    QProcess p;
    QString log;
    // Saving is put off beyond the test, so only the stop can save.
    const quint16 port = StartKyrnd(p, KYRND_BINARY,
        QuietKyrndOptions(dir.path(), {"--world", KYRND_WORLD_FILE, "--save-interval", "600000"}), &log);
    ASSERT_NE(port, 0) << log.toStdString();
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(port) && logOn(c, "demo1", "orvixdemo")
        && c.walk({{"n", "<s-new-loc name='Central Plaza' loc-num='1886'"}}));
    p.terminate();
    EXPECT_TRUE(c.sees("shutting down") && c.waitClosed());
    ASSERT_TRUE(p.state() == QProcess::NotRunning || p.waitForFinished(10000));
    EXPECT_TRUE(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0);
    EXPECT_TRUE(ReadFile(dir.filePath("accounts.json")).contains("\"loc\":1886"));

    p.start(KYRND_BINARY, {"--data-dir", dir.path(), "--world", dir.filePath("missing.xml")});
    EXPECT_TRUE(p.waitForFinished(10000) && p.exitCode() == 1 && p.readAllStandardError().contains("missing.xml"));
}

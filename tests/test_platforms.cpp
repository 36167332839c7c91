// The real window on the desktops players use, each natively: a Wayland
// compositor (weston's headless backend) and an X server (Xvfb). The
// session program logs on to the bundled server there and plays.
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Runs the session program with these variables set and expects it to pass.
void RunSession(const QList<std::pair<QString, QString>>& variables)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables)
        env.insert(name, value);
    // Leaks inside the platform's own libraries are not ours; the same code
    // is leak-checked on the offscreen platform.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":detect_leaks=0");
    QProcess session;
    session.setProcessEnvironment(env);
    session.setProcessChannelMode(QProcess::MergedChannels);
    session.start(ORVIX_PLATFORM_SESSION, QStringList());
    const bool finished = session.waitForFinished(120000);
    const std::string output = session.readAll().toStdString();
    ASSERT_TRUE(finished) << output;
    EXPECT_EQ(session.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(session.exitCode(), 0) << output;
}

void Stop(QProcess& server)
{
    server.terminate();
    if (!server.waitForFinished(5000))
        server.kill();
    server.waitForFinished();
}

TEST(Platforms, WaylandUnderWestonHeadless)
{
    const QString weston = QStandardPaths::findExecutable("weston");
    if (weston.isEmpty())
        GTEST_SKIP() << "weston is not installed";
    QTemporaryDir runtime;
    ASSERT_TRUE(QFile::setPermissions(
        runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    QProcess compositor;
    compositor.setProcessEnvironment(env);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    compositor.start(weston,
        {"--backend=headless-backend.so", "--socket=orvix-test", "--width=1920", "--height=1080", "--idle-time=0"});
    const QString socket = runtime.filePath("orvix-test");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(socket) || compositor.state() == QProcess::NotRunning; }, 20000));
    ASSERT_TRUE(QFile::exists(socket)) << compositor.readAll().toStdString();
    RunSession(
        {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "orvix-test"}, {"XDG_RUNTIME_DIR", runtime.path()}});
    Stop(compositor);
}

TEST(Platforms, XUnderXvfb)
{
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";
    QProcess server;
    // It picks a free display and prints its number once it accepts clients.
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"});
    QByteArray display;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            display += server.readAllStandardOutput();
            return display.endsWith('\n') || server.state() == QProcess::NotRunning;
        },
        20000));
    ASSERT_FALSE(display.trimmed().isEmpty()) << server.readAllStandardError().toStdString();
    RunSession({{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":" + QString::fromLatin1(display.trimmed())}});
    Stop(server);
}

} // namespace

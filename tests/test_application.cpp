// The general error display: an exception escaping an event handler is shown
// and the message loop goes on.
#include <stdexcept>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "shell/application.h"

namespace {

class Throwing : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            ++handled;
            throw std::runtime_error("Socket error: connection reset");
        }
        return QObject::event(e);
    }
};

} // namespace

TEST(GeneralErrorDisplay, ShowsTheMessageAndKeepsTheLoopRunning)
{
    auto* app = qobject_cast<OrvixApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QStringList shown;
    app->SetErrorDisplay([&](const QString& message) { shown << message; });

    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 2 && timerRan; }, 2000));
    EXPECT_EQ(target.handled, 2);
    EXPECT_EQ(shown[0], "Socket error: connection reset");
    app->SetErrorDisplay({});
}

TEST(GeneralErrorDisplay, NoDisplayNameIsAddedToWindowTitles)
{
    // Qt appends an application display name, once set, to every native
    // title; unset, it follows the application name.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName("probe");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    QCoreApplication::setApplicationName(name);
}

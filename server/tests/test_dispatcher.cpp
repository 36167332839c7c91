// The event loop kyrnd runs on (the suites' main installs it): timers.
#include "epolldispatcher.h"
#include "kyrnd_test.h"

#include <QAbstractEventDispatcher>

TEST(Dispatcher, TimersFireInTheOrderTheyComeDueAndAStoppedOneNever)
{
    ASSERT_NE(qobject_cast<EpollDispatcher*>(QAbstractEventDispatcher::instance()), nullptr);
    QStringList fired;
    QTimer late;
    late.setSingleShot(true);
    QObject::connect(&late, &QTimer::timeout, [&] { fired << "late"; });
    late.start(40);
    QTimer::singleShot(30, [&] {
        fired << "30";
        late.stop();
    });
    QTimer::singleShot(20, [&] { fired << "20"; });
    QTimer::singleShot(0, [&] { fired << "0"; });
    QTimer repeating;
    int beats = 0;
    QObject::connect(&repeating, &QTimer::timeout, [&] { ++beats; });
    repeating.start(5);
    EXPECT_GT(QAbstractEventDispatcher::instance()->remainingTime(repeating.timerId()), 0);
    // Twelve beats of 5 ms end past the stopped timer's 40 ms.
    ASSERT_TRUE(QTest::qWaitFor([&] { return beats >= 12; }, 5000));
    EXPECT_EQ(fired.join(' '), "0 20 30");
}

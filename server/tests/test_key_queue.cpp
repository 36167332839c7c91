// Work shared by every client: key derivations queue per address, so one
// host guessing passwords cannot hold up the logons of everyone else.
#include "keyqueue.h"

#include <QSemaphore>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

TEST(KeyQueue, OneJobPerAddressAtATimeWhileOtherAddressesGoOn)
{
    QThreadPool::globalInstance()->setMaxThreadCount(4);
    KeyQueue keys;
    QObject owner;
    QSemaphore otherHostServed;
    QStringList done;
    const auto job = [&](const QString& name, QSemaphore* waitFor = nullptr) {
        return [&, name, waitFor]() -> KeyQueue::Done {
            if (waitFor)
                waitFor->tryAcquire(1, 5000);
            if (name == QLatin1String("b1"))
                otherHostServed.release();
            return [&done, name] { done << name; };
        };
    };
    bool droppedJobRan = false;
    auto* gone = new QObject;
    keys.run("10.0.0.1", &owner, job("a1", &otherHostServed));
    keys.run("10.0.0.1", &owner, job("a2"));
    keys.run("10.0.0.1", gone, [&]() -> KeyQueue::Done { droppedJobRan = true; return [] {}; });
    keys.run("10.0.0.2", &owner, job("b1"));
    delete gone;  // its session ended before its turn came

    ASSERT_TRUE(QTest::qWaitFor([&] { return keys.size() == 0; }, 10000));
    EXPECT_EQ(done, (QStringList{"b1", "a1", "a2"}));
    EXPECT_FALSE(droppedJobRan);
}

// Work shared by every client: key derivations queue per address, so one
// host guessing passwords cannot hold up the logons of everyone else.
#include "failurepacer.h"
#include "keyqueue.h"
#include "backoff.h"

#include <atomic>

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
    std::atomic<bool> servedMeanwhile = false;
    const auto job = [&](const QString& name, QSemaphore* waitFor = nullptr) {
        return [&, name, waitFor]() -> KeyQueue::Done {
            if (waitFor)
                servedMeanwhile = waitFor->tryAcquire(1, 5000);
            if (name == QLatin1String("b1"))
                otherHostServed.release();
            return [&done, name] { done << name; };
        };
    };
    bool droppedJobRan = false;
    auto* gone = new QObject;
    keys.run("10.0.0.1", &owner, job("a1", &otherHostServed));
    keys.run("10.0.0.1", &owner, job("a2"));
    keys.run("10.0.0.1", gone, [&]() -> KeyQueue::Done {
        droppedJobRan = true;
        return [] {};
    });
    keys.run("10.0.0.2", &owner, job("b1"));
    delete gone; // its session ended before its turn came

    ASSERT_TRUE(QTest::qWaitFor([&] { return keys.size() == 0; }, 10000));
    // The other host was served while a1 still ran; a2 waited for a1.
    EXPECT_TRUE(servedMeanwhile);
    EXPECT_EQ(done.size(), 3);
    EXPECT_LT(done.indexOf("a1"), done.indexOf("a2"));
    EXPECT_FALSE(droppedJobRan);
}

TEST(FailurePacer, AFailureIsAnsweredAsLateAsTheSlowestCheckAndTheDelay)
{
    struct Row {
        qint64 delayMs;
        std::vector<qint64> earlierMs; // checks seen before
        qint64 workedMs; // this failed check
        qint64 holdMs;
    };
    const Row rows[] = {
        {1000, {}, 50, 950}, // a quick hash waits out the delay
        {1000, {}, 1200, 0}, // a slow one is late enough
        {1000, {1780}, 1140, 640}, // an unknown ID after an old, slower record was checked
        {0, {700, 300}, 50, 650}, // no delay set: still as late as the slowest
        {0, {}, 30, 0},
    };
    for (const Row& r : rows) {
        FailurePacer pacer(r.delayMs);
        for (qint64 ms : r.earlierMs)
            pacer.checked(ms);
        pacer.checked(r.workedMs);
        EXPECT_EQ(pacer.holdFor(r.workedMs), r.holdMs) << r.delayMs << " " << r.workedMs;
    }
}

TEST(Backoff, AfterTheFreeFailuresEachCheckWaitsTwiceAsLongUpToTheLongest)
{
    Backoff backoff(1000, 5000, 2);
    const qint64 waits[] = {0, 0, 1000, 2000, 4000, 5000, 5000};
    qint64 now = 0;
    for (qint64 wait : waits) {
        backoff.record("10.0.0.1", now);
        EXPECT_EQ(backoff.waitMs("10.0.0.1", now), wait) << "at " << now;
        now += wait;
    }
    EXPECT_EQ(backoff.waitMs("10.0.0.1", now - 1000), 1000); // still waiting
    EXPECT_EQ(backoff.waitMs("10.0.0.2", now), 0); // another host is not held up

    backoff.clear("10.0.0.1");
    backoff.record("10.0.0.1", now);
    EXPECT_EQ(backoff.waitMs("10.0.0.1", now), 0); // a log-on cleared the record

    backoff.record("10.0.0.3", now + 10001);
    EXPECT_EQ(backoff.size(), 1u); // quiet for twice the longest wait: forgotten
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/PhaseTimer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

using TestSupport::ManualSteadyClock;

// The timer's logic runs against a clock the test moves by hand and wake-ups the test calls;
// how closely the real timer keeps its times is measured by the benchmark, not here.
class PhaseTimerTest : public QObject
{
    Q_OBJECT

private slots:
    void punctualWakeUpsEndThePhaseOnItsMillisecond_data();
    void punctualWakeUpsEndThePhaseOnItsMillisecond();
    void earlyWakeUpsNeverEndThePhaseShort_data();
    void earlyWakeUpsNeverEndThePhaseShort();
    void lateWakeUpEndsThePhaseOnceAndAtOnce();
    void intervalZeroStopsWithoutTimeout();
    void restartCountsFromTheRestart();
    void restartInTheHandlerCountsFromThere();
    void stoppingInTheHandlerEndsTheRepetition();
    void repetitionCountsFromTheScheduledEndNotFromALateOne();
    void realTimerEndsThePhaseNeverEarly();

private:
    // Wakes the timer whenever it asked to be woken, each zero-delay tick taking tickNs, until
    // it ends its phase; returns how many wake-ups that took, -1 if it never ended.
    static int runToTheEnd(PhaseTimer &timer, ManualSteadyClock &clock, QSignalSpy &ended,
                           qint64 tickNs);
};

int PhaseTimerTest::runToTheEnd(PhaseTimer &timer, ManualSteadyClock &clock, QSignalSpy &ended,
                                qint64 tickNs)
{
    const qsizetype before = ended.count();
    for (int wakeUps = 1; wakeUps <= 10000; ++wakeUps) {
        const int delay = timer.wakeUpDelayMs();
        if (delay < 0)
            return -1;
        clock.advanceNs(delay > 0 ? delay * qint64(1000000) : tickNs);
        timer.wakeUp();
        if (ended.count() > before)
            return wakeUps;
    }
    return -1;
}

void PhaseTimerTest::punctualWakeUpsEndThePhaseOnItsMillisecond_data()
{
    QTest::addColumn<int>("interval");
    QTest::newRow("within the last two milliseconds") << 1;
    QTest::newRow("shorter than the lead") << 30;
    QTest::newRow("60 ms") << 60;
    QTest::newRow("past the lead") << 180;
    QTest::newRow("a memorise phase of 9.6 s") << 9600;
}

// Two sleeps bring it to two milliseconds before the end; only those are ticked through.
void PhaseTimerTest::punctualWakeUpsEndThePhaseOnItsMillisecond()
{
    QFETCH(int, interval);
    ManualSteadyClock clock;
    const qint64 startNs = clock.nowNs();
    const qint64 endNs = startNs + interval * qint64(1000000);
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    QSignalSpy started(&timer, &PhaseTimer::started);
    timer.setInterval(interval);
    QCOMPARE(started.count(), 1);
    QVERIFY(timer.isActive());

    constexpr qint64 tickNs = 100000;
    int sleeps = 0;
    while (ended.isEmpty()) {
        const int delay = timer.wakeUpDelayMs();
        QVERIFY(delay >= 0);
        // No sleep reaches past the end; ticking starts only in the last two milliseconds.
        QVERIFY(clock.nowNs() + delay * qint64(1000000) <= endNs);
        if (delay == 0)
            QVERIFY(endNs - clock.nowNs() <= PhaseTimer::SpinMs * qint64(1000000));
        else
            ++sleeps;
        clock.advanceNs(delay > 0 ? delay * qint64(1000000) : tickNs);
        timer.wakeUp();
        QVERIFY(ended.count() <= 1);
    }
    QVERIFY(clock.nowNs() >= endNs);
    QVERIFY(clock.nowNs() < endNs + tickNs);
    QVERIFY(sleeps <= 2);
}

void PhaseTimerTest::earlyWakeUpsNeverEndThePhaseShort_data()
{
    QTest::addColumn<double>("wokenAtMs");
    QTest::newRow("at the start") << 0.0;
    QTest::newRow("half way") << 30.0;
    QTest::newRow("a millisecond short") << 59.0;
    QTest::newRow("a microsecond short") << 59.999;
}

void PhaseTimerTest::earlyWakeUpsNeverEndThePhaseShort()
{
    QFETCH(double, wokenAtMs);
    ManualSteadyClock clock;
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    timer.setInterval(60);
    clock.advanceMs(wokenAtMs);
    timer.wakeUp();
    QCOMPARE(ended.count(), 0);
    QVERIFY(timer.isActive());
    QVERIFY(timer.wakeUpDelayMs() >= 0);
    clock.advanceNs(qint64(60000000) - qint64(wokenAtMs * 1000000));
    timer.wakeUp();
    QCOMPARE(ended.count(), 1);
}

void PhaseTimerTest::lateWakeUpEndsThePhaseOnceAndAtOnce()
{
    ManualSteadyClock clock;
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    connect(&timer, &PhaseTimer::timeout, &timer, &PhaseTimer::stop);
    timer.setInterval(60);
    // A loaded machine wakes the timer long after the end.
    clock.advanceMs(128);
    timer.wakeUp();
    QCOMPARE(ended.count(), 1);
    QVERIFY(!timer.isActive());
    timer.wakeUp();
    QCOMPARE(ended.count(), 1);
}

void PhaseTimerTest::intervalZeroStopsWithoutTimeout()
{
    ManualSteadyClock clock;
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    timer.setInterval(20);
    QVERIFY(timer.isActive());
    timer.setInterval(0);
    QVERIFY(!timer.isActive());
    QCOMPARE(timer.interval(), 0);
    QCOMPARE(timer.wakeUpDelayMs(), -1);
    clock.advanceMs(80);
    timer.wakeUp();
    QCOMPARE(ended.count(), 0);
    timer.setInterval(-5);
    QVERIFY(!timer.isActive());
}

void PhaseTimerTest::restartCountsFromTheRestart()
{
    ManualSteadyClock clock;
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    QSignalSpy started(&timer, &PhaseTimer::started);
    timer.setInterval(100);
    clock.advanceMs(50);
    timer.setInterval(100);
    QCOMPARE(started.count(), 2);
    clock.advanceMs(50);
    timer.wakeUp();
    QCOMPARE(ended.count(), 0);
    QVERIFY(runToTheEnd(timer, clock, ended, 100000) > 0);
    QCOMPARE(ended.count(), 1);
    QVERIFY(clock.nowNs() >= 1000000000 + 150000000);
}

void PhaseTimerTest::restartInTheHandlerCountsFromThere()
{
    ManualSteadyClock clock;
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    bool restarted = false;
    connect(&timer, &PhaseTimer::timeout, this, [&] {
        if (!restarted) {
            restarted = true;
            timer.setInterval(40);
        }
    });
    timer.setInterval(100);
    clock.advanceMs(130);
    timer.wakeUp();
    QCOMPARE(ended.count(), 1);
    QCOMPARE(timer.interval(), 40);
    // The new phase counts from the handler's moment (130 ms), not from the old end.
    clock.advanceMs(39.9);
    timer.wakeUp();
    QCOMPARE(ended.count(), 1);
    clock.advanceMs(0.1);
    timer.wakeUp();
    QCOMPARE(ended.count(), 2);
    timer.stop();
}

void PhaseTimerTest::stoppingInTheHandlerEndsTheRepetition()
{
    ManualSteadyClock clock;
    PhaseTimer timer;
    int count = 0;
    connect(&timer, &PhaseTimer::timeout, this, [&] {
        ++count;
        timer.setInterval(0);
    });
    timer.setInterval(20);
    for (int i = 0; i < 10; ++i) {
        clock.advanceMs(20);
        timer.wakeUp();
    }
    QCOMPARE(count, 1);
    QCOMPARE(timer.wakeUpDelayMs(), -1);
}

void PhaseTimerTest::repetitionCountsFromTheScheduledEndNotFromALateOne()
{
    ManualSteadyClock clock;
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    timer.setInterval(100);
    clock.advanceMs(130);
    timer.wakeUp();
    QCOMPARE(ended.count(), 1);
    QVERIFY(timer.isActive());
    clock.advanceMs(69.9); // 199.9 ms after the start
    timer.wakeUp();
    QCOMPARE(ended.count(), 1);
    clock.advanceMs(0.1);
    timer.wakeUp();
    QCOMPARE(ended.count(), 2);
    QVERIFY(runToTheEnd(timer, clock, ended, 100000) > 0);
    QCOMPARE(ended.count(), 3);
    QVERIFY(clock.nowNs() >= 1000000000 + 300000000);
    timer.stop();
}

// With the real clock and the real event loop: the timer ends its phase, and never before the
// interval has passed. How late it may be is the benchmark's business.
void PhaseTimerTest::realTimerEndsThePhaseNeverEarly()
{
    PhaseTimer timer;
    QSignalSpy ended(&timer, &PhaseTimer::timeout);
    QElapsedTimer clock;
    qint64 endedAfterMs = -1;
    connect(&timer, &PhaseTimer::timeout, this, [&] {
        endedAfterMs = clock.elapsed();
        timer.stop();
    });
    clock.start();
    timer.setInterval(30);
    QVERIFY(ended.wait(60000));
    QVERIFY2(endedAfterMs >= 30, qPrintable(QString::number(endedAfterMs)));
    QVERIFY(!timer.isActive());
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(PhaseTimerTest)
#include "test_phasetimer.moc"

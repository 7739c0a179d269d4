// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/PhaseTimer.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

class PhaseTimerTest : public QObject
{
    Q_OBJECT

private slots:
    void phaseEndsOnTimeWithinAFewMilliseconds_data();
    void phaseEndsOnTimeWithinAFewMilliseconds();
    void intervalZeroStopsWithoutTimeout();
    void restartCountsFromTheRestart();
    void stoppingInTheHandlerEndsTheRepetition();
    void aRunningTimerRepeats();
};

void PhaseTimerTest::phaseEndsOnTimeWithinAFewMilliseconds_data()
{
    QTest::addColumn<int>("interval");
    QTest::newRow("shorter than the lead") << 30;
    QTest::newRow("60 ms") << 60;
    QTest::newRow("past the lead") << 180;
}

// Never early; late only by scheduling noise (generous bound for a loaded machine).
void PhaseTimerTest::phaseEndsOnTimeWithinAFewMilliseconds()
{
    QFETCH(int, interval);
    PhaseTimer timer;
    QElapsedTimer clock;
    qint64 endedAt = -1;
    connect(&timer, &PhaseTimer::timeout, this, [&] {
        endedAt = clock.elapsed();
        timer.stop();
    });
    clock.start();
    timer.setInterval(interval);
    QTRY_VERIFY_WITH_TIMEOUT(endedAt >= 0, 2000);
    QVERIFY2(endedAt >= interval, qPrintable(QString::number(endedAt)));
    QVERIFY2(endedAt <= interval + 30, qPrintable(QString::number(endedAt)));
    QVERIFY(!timer.isActive());
}

void PhaseTimerTest::intervalZeroStopsWithoutTimeout()
{
    PhaseTimer timer;
    QSignalSpy spy(&timer, &PhaseTimer::timeout);
    timer.setInterval(20);
    QVERIFY(timer.isActive());
    timer.setInterval(0);
    QVERIFY(!timer.isActive());
    QCOMPARE(timer.interval(), 0);
    QTest::qWait(80);
    QCOMPARE(spy.count(), 0);
}

void PhaseTimerTest::restartCountsFromTheRestart()
{
    PhaseTimer timer;
    QElapsedTimer clock;
    qint64 endedAt = -1;
    connect(&timer, &PhaseTimer::timeout, this, [&] {
        endedAt = clock.elapsed();
        timer.stop();
    });
    clock.start();
    timer.setInterval(100);
    QTest::qWait(50);
    timer.setInterval(100);
    QTRY_VERIFY_WITH_TIMEOUT(endedAt >= 0, 2000);
    QVERIFY2(endedAt >= 150, qPrintable(QString::number(endedAt)));
}

void PhaseTimerTest::stoppingInTheHandlerEndsTheRepetition()
{
    PhaseTimer timer;
    int count = 0;
    connect(&timer, &PhaseTimer::timeout, this, [&] {
        ++count;
        timer.setInterval(0);
    });
    timer.setInterval(20);
    QTest::qWait(150);
    QCOMPARE(count, 1);
}

void PhaseTimerTest::aRunningTimerRepeats()
{
    PhaseTimer timer;
    QSignalSpy spy(&timer, &PhaseTimer::timeout);
    timer.setInterval(25);
    QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 3, 2000);
    timer.stop();
}

QTEST_MAIN(PhaseTimerTest)
#include "test_phasetimer.moc"

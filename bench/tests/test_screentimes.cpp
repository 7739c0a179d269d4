// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark's arithmetic: its statistics and how observed frames pair with phases.
#include "Figures.h"
#include "ScreenTimes.h"

#include <QTest>

namespace {
constexpr qint64 Ms = 1000000;

ScreenRecord frame(qint64 ns, quint64 hash)
{
    ScreenRecord record;
    record.kind = ScreenRecord::Frame;
    record.ns = ns;
    record.hash = hash;
    return record;
}

Figures figuresOf(std::initializer_list<double> values)
{
    Figures figures;
    for (double value : values)
        figures.add(value);
    return figures;
}
} // namespace

class TestScreenTimes : public QObject
{
    Q_OBJECT

private slots:
    void observerLinesAreRead_data();
    void observerLinesAreRead();
    void brokenObserverLinesAreRefused_data();
    void brokenObserverLinesAreRefused();

    void screenSpanRunsFromTheFrameShownAtTheEndToTheNextChange_data();
    void screenSpanRunsFromTheFrameShownAtTheEndToTheNextChange();
    void phaseFiguresCompareBothSidesWithTheNominalTime();

    void medianAndPercentileFollowTheirDefinitions_data();
    void medianAndPercentileFollowTheirDefinitions();
    void summariesOfNothingSayDash();
    void intervalsAreGapsBetweenNeighbours();

    void deliveryDelayIsReadAcrossTheServersWrapAround_data();
    void deliveryDelayIsReadAcrossTheServersWrapAround();
};

void TestScreenTimes::observerLinesAreRead_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<qint64>("ns");
    QTest::addColumn<quint64>("hash");
    QTest::addColumn<quint64>("window");
    QTest::addColumn<qint64>("pid");
    QTest::addColumn<qint64>("serverMs");
    QTest::newRow("frame") << QByteArray("frame 1892876079166 00ff00aa12345678 1892874")
                           << int(ScreenRecord::Frame) << qint64(1892876079166)
                           << quint64(0x00ff00aa12345678) << quint64(0) << qint64(0)
                           << qint64(1892874);
    QTest::newRow("repaint") << QByteArray("repaint 5000000 4") << int(ScreenRecord::Repaint)
                             << qint64(5000000) << quint64(0) << quint64(0) << qint64(0)
                             << qint64(4);
    QTest::newRow("first frame") << QByteArray("firstframe 77 4194310 29954 0\n")
                                 << int(ScreenRecord::FirstFrame) << qint64(77) << quint64(0)
                                 << quint64(4194310) << qint64(29954) << qint64(0);
}

void TestScreenTimes::observerLinesAreRead()
{
    QFETCH(QByteArray, line);
    const std::optional<ScreenRecord> record = ParseScreenRecord(line);
    QVERIFY(record);
    QTEST(record->ns, "ns");
    QTEST(record->hash, "hash");
    QTEST(record->window, "window");
    QTEST(record->pid, "pid");
    QTEST(record->serverMs, "serverMs");
    QTEST(int(record->kind), "kind");
}

void TestScreenTimes::brokenObserverLinesAreRefused_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("unknown word") << QByteArray("hello");
    QTest::newRow("frame without hash") << QByteArray("frame 12 34");
    QTest::newRow("hash not hex") << QByteArray("frame 12 xyz 34");
    QTest::newRow("time not a number") << QByteArray("repaint soon 3");
    QTest::newRow("first frame cut short") << QByteArray("firstframe 1 2 3");
}

void TestScreenTimes::brokenObserverLinesAreRefused()
{
    QFETCH(QByteArray, line);
    QVERIFY(!ParseScreenRecord(line));
}

void TestScreenTimes::screenSpanRunsFromTheFrameShownAtTheEndToTheNextChange_data()
{
    QTest::addColumn<QList<ScreenRecord>>("frames");
    QTest::addColumn<qint64>("startNs");
    QTest::addColumn<qint64>("endNs");
    QTest::addColumn<bool>("seen");
    QTest::addColumn<qint64>("appearNs");
    QTest::addColumn<qint64>("disappearNs");
    const QList<ScreenRecord> plain = {frame(0, 1), frame(102 * Ms, 2), frame(403 * Ms, 3)};
    QTest::newRow("one frame in, one out")
        << plain << 100 * Ms << 400 * Ms << true << 102 * Ms << 403 * Ms;
    // A repaint that reached the screen in two pieces: the phase shows from the complete one.
    const QList<ScreenRecord> pieces = {frame(0, 1), frame(101 * Ms, 5), frame(102 * Ms, 2),
                                        frame(403 * Ms, 3), frame(404 * Ms, 4)};
    QTest::newRow("repaint in pieces")
        << pieces << 100 * Ms << 400 * Ms << true << 102 * Ms << 403 * Ms;
    QTest::newRow("region unchanged in the phase")
        << QList<ScreenRecord>{frame(0, 1), frame(403 * Ms, 3)} << 100 * Ms << 400 * Ms << false
        << qint64(0) << qint64(0);
    QTest::newRow("nothing seen since the end")
        << QList<ScreenRecord>{frame(0, 1), frame(102 * Ms, 2)} << 100 * Ms << 400 * Ms << false
        << qint64(0) << qint64(0);
    QTest::newRow("no frames") << QList<ScreenRecord>{} << 100 * Ms << 400 * Ms << false
                               << qint64(0) << qint64(0);
}

void TestScreenTimes::screenSpanRunsFromTheFrameShownAtTheEndToTheNextChange()
{
    QFETCH(QList<ScreenRecord>, frames);
    QFETCH(qint64, startNs);
    QFETCH(qint64, endNs);
    QFETCH(bool, seen);
    const std::optional<ScreenSpan> span = SpanOnScreen(frames, startNs, endNs);
    QCOMPARE(bool(span), seen);
    if (!span)
        return;
    QTEST(span->appearNs, "appearNs");
    QTEST(span->disappearNs, "disappearNs");
}

void TestScreenTimes::phaseFiguresCompareBothSidesWithTheNominalTime()
{
    const QList<ScreenRecord> frames = {frame(0, 1), frame(102 * Ms, 2), frame(403 * Ms, 3)};
    ScreenPhaseFigures figures;
    // 300 ms nominal, handler 100.0 .. 400.5 ms, screen 102 .. 403 ms.
    figures.add(300, 100 * Ms, 400 * Ms + Ms / 2, frames);
    QCOMPARE(figures.handlerErrorMs.values(), QList<double>{0.5});
    QCOMPARE(figures.screenErrorMs.values(), QList<double>{1.0});
    QCOMPARE(figures.showDelayMs.values(), QList<double>{2.0});
    QCOMPARE(figures.hideDelayMs.values(), QList<double>{2.5});
    QCOMPARE(figures.unseen, 0);
    // A phase the screen did not show still counts on the handler's side.
    figures.add(300, 500 * Ms, 800 * Ms, frames);
    QCOMPARE(figures.handlerErrorMs.count(), 2);
    QCOMPARE(figures.screenErrorMs.count(), 1);
    QCOMPARE(figures.unseen, 1);
}

void TestScreenTimes::medianAndPercentileFollowTheirDefinitions_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("median");
    QTest::addColumn<double>("p99");
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::newRow("odd count") << QList<double>{5, 1, 3} << 3.0 << 5.0 << 1.0 << 5.0;
    QTest::newRow("even count") << QList<double>{4, 1, 3, 2} << 2.5 << 4.0 << 1.0 << 4.0;
    QList<double> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.append(i);
    QTest::newRow("hundred values") << hundred << 50.5 << 99.0 << 1.0 << 100.0;
    QList<double> twoHundred;
    for (int i = 1; i <= 200; ++i)
        twoHundred.append(i);
    QTest::newRow("two hundred values") << twoHundred << 100.5 << 198.0 << 1.0 << 200.0;
    QTest::newRow("one value") << QList<double>{-7} << -7.0 << -7.0 << -7.0 << -7.0;
}

void TestScreenTimes::medianAndPercentileFollowTheirDefinitions()
{
    QFETCH(QList<double>, values);
    Figures figures;
    for (double value : values)
        figures.add(value);
    QTEST(figures.median(), "median");
    QTEST(figures.percentile(99), "p99");
    QTEST(figures.minimum(), "minimum");
    QTEST(figures.maximum(), "maximum");
}

void TestScreenTimes::summariesOfNothingSayDash()
{
    const Figures none;
    QCOMPARE(none.summary(), QStringLiteral("-"));
    QCOMPARE(none.spreadSummary(), QStringLiteral("-"));
    const Figures some = figuresOf({-2, 1, 3});
    QCOMPARE(some.summary(1), QStringLiteral("-2.0 / 1.0 / 3.0"));
    QCOMPARE(some.absolute().summary(1), QStringLiteral("1.0 / 2.0 / 3.0"));
    QCOMPARE(some.spreadSummary(0), QStringLiteral("1 / 3 / 3"));
}

void TestScreenTimes::intervalsAreGapsBetweenNeighbours()
{
    QCOMPARE(IntervalsMs({10 * Ms, 25 * Ms, 26 * Ms}).values(), (QList<double>{15.0, 1.0}));
    QVERIFY(IntervalsMs({10 * Ms}).isEmpty());
}

void TestScreenTimes::deliveryDelayIsReadAcrossTheServersWrapAround_data()
{
    QTest::addColumn<qint64>("ns");
    QTest::addColumn<qint64>("serverMs");
    QTest::addColumn<bool>("known");
    QTest::addColumn<double>("delay");
    QTest::newRow("plain") << qint64(1892876079166) << qint64(1892874) << true << 2.079166;
    // 2^32 ms after the clock's start the server's 32-bit stamp begins again at 0.
    QTest::newRow("wrapped") << qint64(4294967299) * Ms + Ms / 2 << qint64(2) << true << 1.5;
    QTest::newRow("server on another clock")
        << qint64(5000) * Ms << qint64(9000000) << false << 0.0;
    QTest::newRow("no stamp") << qint64(5000) * Ms << qint64(-1) << false << 0.0;
}

void TestScreenTimes::deliveryDelayIsReadAcrossTheServersWrapAround()
{
    QFETCH(qint64, ns);
    QFETCH(qint64, serverMs);
    QFETCH(bool, known);
    QFETCH(double, delay);
    ScreenRecord record = frame(ns, 1);
    record.serverMs = serverMs;
    const std::optional<double> seen = DeliveryDelayMs(record);
    QCOMPARE(bool(seen), known);
    if (seen)
        QVERIFY(qAbs(*seen - delay) < 1e-6);
}

QTEST_GUILESS_MAIN(TestScreenTimes)
#include "test_screentimes.moc"

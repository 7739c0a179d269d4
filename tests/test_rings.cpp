// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/Numbers.h"
#include "common/SharedState.h"
#include "disturbance/Ringe.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class RingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init();
    void cleanup();

    void radiiFollowTheAreaHeight_data();
    void radiiFollowTheAreaHeight();
    void valuesTargetsAndPlacesStayInTheirRanges();
    void pressOnTheRimScoresTheRing_data();
    void pressOnTheRimScoresTheRing();
    void pressOnOverlappingRingsScoresEveryRingOnce();
    void secondPressOnAHitRingScoresNothing();
    void fifthHitPlacesAllRingsAnew();
    void exactModeCountsDownAboveTheTargetAndWinsOnIt();
    void exceedModeWinsOnlyAboveTheTarget_data();
    void exceedModeWinsOnlyAboveTheTarget();
    void runStartResetsScoreAndSetsTexts();
    void relocationKeepsScoreAndTargetAndFreesHitRings();
    void legendSpreadsOverThePanelHeight();
    void legendEntriesLieInsideThePanel_data();
    void legendEntriesLieInsideThePanel();
    void legendKeepsItsPlacesWhenTheWindowGrows();
    void timeOutInTheOpenTaskStopsTheRingsAndEndsTheGame();
    void ringsAreHitWithKeysAlone();

private:
    // Five rings of radius 20 side by side, red worth 50 .. blue worth 10, none hit.
    static void layRingsInARow();
};

void RingsTest::init()
{
    TestSupport::messages().clear();
    RingsExactMode = 0;
    TaskTimerInterval = 1;
    Form_Ringe->setResult(QDialog::Rejected);
    Form_Ringe->Timer1.stop();
}

void RingsTest::cleanup()
{
    TestSupport::dropPendingActions();
    Form_MuW->StopOverallTime();
    ResultSaved = 1;
}

void RingsTest::layRingsInARow()
{
    RingsState &state = Form_Ringe->rings();
    for (int i = 0; i < RingCount; ++i)
        state.rings[size_t(i)] = {QPointF(50 + 60 * i, 50), 20, 50 - 10 * i, false};
    state.score = 0;
    state.anyHit = false;
}

void RingsTest::radiiFollowTheAreaHeight_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("red");
    QTest::newRow("479") << 479 << 10;
    QTest::newRow("480") << 480 << 14;
    QTest::newRow("639") << 639 << 14;
    QTest::newRow("640") << 640 << 18;
}

void RingsTest::radiiFollowTheAreaHeight()
{
    QFETCH(int, height);
    QFETCH(int, red);
    const std::array<int, RingCount> radii = RingRadiiForHeight(height);
    for (int i = 0; i < RingCount; ++i)
        QCOMPARE(radii[size_t(i)], red * (i + 1));
}

void RingsTest::valuesTargetsAndPlacesStayInTheirRanges()
{
    RingsState state;
    state.chooseRadii(640);
    QSet<int> reds;
    QSet<int> targets;
    for (int run = 0; run < 300; ++run) {
        state.drawValues();
        reds.insert(state.rings[RingRed].value);
        QCOMPARE(state.rings[RingBlue].value, state.rings[RingRed].value - 40);
        targets.insert(DrawRingsTargetScore());
        state.place(300, 200);
        for (const RingData &ring : state.rings) {
            QVERIFY(ring.centre.x() - ring.radius >= 0 && ring.centre.x() + ring.radius <= 300);
            QVERIFY(ring.centre.y() - ring.radius >= 0 && ring.centre.y() + ring.radius <= 200);
        }
    }
    QCOMPARE(reds, (QSet<int>{50, 60, 70, 80, 90}));
    QCOMPARE(targets.size(), 15);
    QCOMPARE(*std::min_element(targets.begin(), targets.end()), 160);
    QCOMPARE(*std::max_element(targets.begin(), targets.end()), 300);
}

void RingsTest::pressOnTheRimScoresTheRing_data()
{
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<bool>("scores");
    QTest::newRow("rim right") << QPointF(120, 100) << true;
    QTest::newRow("rim diagonal") << QPointF(112, 116) << true;
    QTest::newRow("just outside") << QPointF(120.01, 100) << false;
    QTest::newRow("centre") << QPointF(100, 100) << true;
}

void RingsTest::pressOnTheRimScoresTheRing()
{
    QFETCH(QPointF, at);
    QFETCH(bool, scores);
    QCOMPARE(RingContains({QPointF(100, 100), 20, 30, false}, at), scores);
}

void RingsTest::pressOnOverlappingRingsScoresEveryRingOnce()
{
    RingsState state;
    for (int i = 0; i < RingCount; ++i)
        state.rings[size_t(i)] = {QPointF(500, 500), 10, 50 - 10 * i, false};
    // Red lies wholly inside the larger blue ring drawn over it.
    state.rings[RingRed] = {QPointF(100, 100), 10, 50, false};
    state.rings[RingBlue] = {QPointF(105, 100), 40, 10, false};
    QVERIFY(state.press(QPointF(100, 100), 200));
    QCOMPARE(state.score, 60);
    QVERIFY(state.rings[RingRed].hit && state.rings[RingBlue].hit);
    QVERIFY(!state.rings[RingYellow].hit);
}

void RingsTest::secondPressOnAHitRingScoresNothing()
{
    layRingsInARow();
    RingsTargetScore = 300;
    Form_Ringe->PaintBox1MouseDown(50, 50);
    Form_Ringe->PaintBox1MouseDown(50, 50);
    QCOMPARE(Form_Ringe->rings().score, 50);
    QCOMPARE(Form_Ringe->Label_Punkte->text(), QStringLiteral("erreichte Punktzahl:  50"));
}

void RingsTest::fifthHitPlacesAllRingsAnew()
{
    layRingsInARow();
    RingsTargetScore = 300;
    for (int i = 0; i < 4; ++i)
        Form_Ringe->PaintBox1MouseDown(50 + 60 * i, 50);
    QCOMPARE(Form_Ringe->rings().score, 140);
    Form_Ringe->PaintBox1MouseDown(290, 50);
    const RingsState &state = Form_Ringe->rings();
    QCOMPARE(state.score, 150);
    QVERIFY(Form_Ringe->result() != QDialog::Accepted);
    int moved = 0;
    for (int i = 0; i < RingCount; ++i) {
        QVERIFY(!state.rings[size_t(i)].hit);
        moved += state.rings[size_t(i)].centre != QPointF(50 + 60 * i, 50);
    }
    QVERIFY(moved >= 4);
    // The rings lie in the drawing area at their new places.
    const RingData &blue = state.rings[RingBlue];
    QCOMPARE(Form_Ringe->PaintBox1->canvas().pixelColor(blue.centre.toPoint()),
             RingColour(RingBlue));
}

void RingsTest::exactModeCountsDownAboveTheTargetAndWinsOnIt()
{
    layRingsInARow();
    RingsExactMode = 1;
    RingsTargetScore = 200;
    Form_Ringe->rings().score = 190;
    Form_Ringe->rings().rings[RingGreen].value = 30;
    Form_Ringe->rings().rings[RingWhite].value = 20;
    Form_Ringe->Timer1.start(100000);
    Form_Ringe->PaintBox1MouseDown(170, 50);
    QCOMPARE(Form_Ringe->rings().score, 220);
    QVERIFY(Form_Ringe->result() != QDialog::Accepted);
    Form_Ringe->PaintBox1MouseDown(230, 50);
    QCOMPARE(Form_Ringe->rings().score, 200);
    QCOMPARE(Form_Ringe->result(), int(QDialog::Accepted));
    QVERIFY(!Form_Ringe->Timer1.isActive());
    QCOMPARE(Form_Ringe->Label_Punkte->text(), QStringLiteral("0"));
}

void RingsTest::exceedModeWinsOnlyAboveTheTarget_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("ringX");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("won");
    QTest::newRow("reaching 200") << 160 << 110 << 200 << false;
    QTest::newRow("passing 200") << 170 << 110 << 210 << true;
    QTest::newRow("from 200 upwards") << 200 << 290 << 210 << true;
}

void RingsTest::exceedModeWinsOnlyAboveTheTarget()
{
    QFETCH(int, before);
    QFETCH(int, ringX);
    QFETCH(int, after);
    QFETCH(bool, won);
    layRingsInARow();
    RingsTargetScore = 200;
    Form_Ringe->rings().score = before;
    Form_Ringe->PaintBox1MouseDown(ringX, 50);
    QCOMPARE(Form_Ringe->rings().score, after);
    QCOMPARE(Form_Ringe->result() == QDialog::Accepted, won);
    QCOMPARE(RingsRunWon(after, 200, false), won);
}

void RingsTest::runStartResetsScoreAndSetsTexts()
{
    Form_Ringe->rings().score = 120;
    RingsExactMode = 1;
    TaskTimerInterval = 101;
    Form_Ringe->StartRingsRun();
    QCOMPARE(Form_Ringe->rings().score, 0);
    QCOMPARE(Form_Ringe->Label_Punkte->text(), QStringLiteral("erreichte Punktzahl:  0"));
    QCOMPARE(Form_Ringe->Label_PunktGrenze->text(),
             QStringLiteral("genau zu erreichende Punktzahl:  %1").arg(RingsTargetScore));
    QCOMPARE(Form_Ringe->Timer1.interval(), 1212000);
    QVERIFY(Form_Ringe->Timer1.isActive());
    const int red = Form_Ringe->rings().rings[RingRed].value;
    QCOMPARE(Form_Ringe->Label_PunkteRot->text(), QString::number(red));
    QCOMPARE(Form_Ringe->Label_PunkteBlau->text(), QString::number(red - 40));
    QCOMPARE(Form_Ringe->rings().rings[RingBlue].radius,
             RingRadiiForHeight(Form_Ringe->PaintBox1->height())[RingBlue]);
    QVERIFY(Form_Ringe->Label_Punkte->x() >
            Form_Ringe->Label_PunktGrenze->x() + Form_Ringe->Label_PunktGrenze->width());

    RingsExactMode = 0;
    TaskTimerInterval = 1;
    Form_Ringe->StartRingsRun();
    QCOMPARE(Form_Ringe->Label_PunktGrenze->text(),
             QStringLiteral("zu überbietende Punktzahl:  %1").arg(RingsTargetScore));
    QCOMPARE(Form_Ringe->Timer1.interval(), 12000);
}

void RingsTest::relocationKeepsScoreAndTargetAndFreesHitRings()
{
    layRingsInARow();
    RingsTargetScore = 300;
    Form_Ringe->PaintBox1MouseDown(50, 50);
    Form_Ringe->Timer1Timer();
    const RingsState &state = Form_Ringe->rings();
    QCOMPARE(state.score, 50);
    QCOMPARE(RingsTargetScore, 300);
    QVERIFY(!state.anyHit);
    QVERIFY(!state.rings[RingRed].hit);
    QCOMPARE(Form_Ringe->Timer1.interval(), 12000);
    Form_Ringe->Timer1.stop();
}

void RingsTest::legendSpreadsOverThePanelHeight()
{
    QCOMPARE(LegendUnit(1200, 20, 50), 2.0);
    QCOMPARE(LegendUnit(660, 20, 50), 1.0);
    // Unit 2, label 20 high, circle 50 high: 200 - (4 + 20 + 50) / 2.
    QCOMPARE(LegendLabelTop(2, 1, 20, 50), 163);
    QCOMPARE(LegendLabelTop(2, 5, 20, 50), 963);
    QCOMPARE(LegendCircleTop(2, 963, 20), 987);
    QCOMPARE(LegendCentredLeft(60, 25), 18);
}

void RingsTest::legendEntriesLieInsideThePanel_data()
{
    // The legend panel is 440 pixels high at the design size, its labels about 16 and its
    // circles 25; all three grow with the window.
    QTest::addColumn<int>("percent");
    for (int percent : {100, 116, 143, 151, 160, 199, 200, 206, 216, 225, 250, 291, 300, 400})
        QTest::addRow("%d %%", percent) << percent;
}

void RingsTest::legendEntriesLieInsideThePanel()
{
    QFETCH(int, percent);
    const double f = percent / 100.0;
    const int panelHeight = RoundHalfEven(440 * f);
    const int labelHeight = RoundHalfEven(16 * f);
    const int circleHeight = RoundHalfEven(25 * f);
    const double unit = LegendUnit(panelHeight, labelHeight, circleHeight);
    int previousBottom = 0;
    for (int colour = 1; colour <= RingCount; ++colour) {
        const int labelTop = LegendLabelTop(unit, colour, labelHeight, circleHeight);
        const int circleTop = LegendCircleTop(unit, labelTop, labelHeight);
        QVERIFY2(labelTop >= previousBottom, qPrintable(QString::number(colour)));
        QVERIFY2(circleTop + circleHeight <= panelHeight, qPrintable(QString::number(colour)));
        previousBottom = circleTop + circleHeight;
    }
}

void RingsTest::legendKeepsItsPlacesWhenTheWindowGrows()
{
    const QWidget *panel = Form_Ringe->Panel_Punktanzeige;
    QList<QRect> entries;
    for (const QWidget *entry : panel->findChildren<QWidget *>())
        entries.append(entry->geometry());
    QCOMPARE(entries.size(), 2 * RingCount);
    for (const QRect &entry : entries)
        QVERIFY(panel->rect().contains(entry));

    // The maximised window makes the panel taller; the entries stay where creation put them.
    // A hidden window gets its resize event only when shown, so it is delivered here.
    const QSize before = Form_Ringe->size();
    const QSize grown(before.width() + 300, before.height() + 400);
    Form_Ringe->resize(grown);
    QResizeEvent resized(grown, before);
    QCoreApplication::sendEvent(Form_Ringe, &resized);
    QCOMPARE(panel->height(), grown.height() - Form_Ringe->Panel_Punkte->height());
    QList<QRect> after;
    for (const QWidget *entry : panel->findChildren<QWidget *>())
        after.append(entry->geometry());
    Form_Ringe->resize(before);
    QResizeEvent restored(before, grown);
    QCoreApplication::sendEvent(Form_Ringe, &restored);
    QCOMPARE(after, entries);
}

// A disturbed round of a real game opens the task; its close box shows it once more, and then
// the overall time limit runs out while it is open.
void RingsTest::timeOutInTheOpenTaskStopsTheRingsAndEndsTheGame()
{
    Form_MuW->Radio_Stoeren->setItemIndex(StoerenEin);
    Form_MuW->Radio_StoerenClick();
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceKreise);
    Form_MuW->Radio_TextHstRingeClick();
    int showings = 0;
    bool runningInEveryShowing = true;
    QString lastSecondShown;
    TestSupport::afterActivation(Form_Ringe, [&] {
        ++showings;
        runningInEveryShowing = runningInEveryShowing && Form_Ringe->Timer1.isActive();
        TestSupport::afterActivation(Form_Ringe, [&] {
            ++showings;
            runningInEveryShowing = runningInEveryShowing && Form_Ringe->Timer1.isActive();
            RemainingSeconds = 2;
            Form_MuW->Timer_GesamtZeitTimer();
            lastSecondShown = Form_MuW_Zahlen->Panel_RestZeit->text();
            Form_MuW->Timer_GesamtZeitTimer();
        });
        Form_Ringe->close();
    });
    TestSupport::afterActivation(Form_MuW_Zahlen, TestSupport::playToTheFirstDisturbance);
    Form_MuW_Zahlen->StartGame();

    QCOMPARE(showings, 2);
    QVERIFY(runningInEveryShowing);
    QCOMPARE(lastSecondShown, QStringLiteral("00 : 01"));
    // The task: its rings stand still, its window closed with OK.
    QVERIFY(!Form_Ringe->Timer1.isActive());
    QVERIFY(!Form_Ringe->isVisible());
    QCOMPARE(Form_Ringe->result(), int(QDialog::Accepted));
    // The game: ended by the time limit, without reproducing, its result unsaved.
    QVERIFY(!Form_MuW_Zahlen->isVisible());
    QVERIFY(Form_MuW_Zahlen->Edit_Wiedergeben->isHidden());
    QCOMPARE(TimeoutAbort, Byte(1));
    QCOMPARE(RoundNumber, Byte(7));
    QCOMPARE(ResultSaved, Byte(0));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QCOMPARE(Form_MuW_Zahlen->Panel_RestZeit->text(), QString());
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().lastText(), TimeoutMessage);
    QVERIFY(!Form_MuW->But_Start->isHidden());
}

// Escape closes the task like its close box, and it comes again; then Tab moves the highlight
// over the rings not hit, going round, and Space or Enter hits the highlighted one as a click
// at its centre does, until the run is won.
void RingsTest::ringsAreHitWithKeysAlone()
{
    QStringList seen; // per key: highlighted ring, score, whether the highlight rounds it
    TestSupport::afterActivation(Form_Ringe, [&] {
        TestSupport::afterActivation(Form_Ringe, [&] {
            layRingsInARow();
            RingsTargetScore = 60;
            QWidget *keys = Form_Ringe->PaintBox1;
            const QWidget *focused = QApplication::focusWidget();
            seen << (focused ? focused->objectName() : QString());
            for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Tab, Qt::Key_Space,
                                Qt::Key_Tab, Qt::Key_Return}) {
                QTest::keyClick(keys, key,
                                key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
                const int ring = Form_Ringe->highlightedRing();
                const QRectF mark = Form_Ringe->PaintBox1->overlay().boundingRect();
                seen << QStringLiteral("%1 %2 %3")
                            .arg(ring)
                            .arg(Form_Ringe->rings().score)
                            .arg(mark.contains(
                                CircleBounds(Form_Ringe->rings().rings[size_t(ring)].centre, 20)));
            }
            seen << keys->accessibleName();
            Form_Ringe->CloseWithOk(); // were it still open, the test would wait for ever
        });
        QTest::keyClick(Form_Ringe->PaintBox1, Qt::Key_Escape);
        seen << QStringLiteral("closed %1").arg(!Form_Ringe->isVisible());
        Form_Ringe->CloseWithOk();
    });
    RunRingsTask();
    QCOMPARE(seen, (QStringList{"closed 1", "PaintBox1", "0 0 1", "4 0 1", "0 0 1", "0 50 0",
                                "1 50 1", "1 90 1", "Ring gelb, 40 Punkte"}));
    QCOMPARE(Form_Ringe->result(), int(QDialog::Accepted));
    QVERIFY(!Form_Ringe->Timer1.isActive());
}

QTEST_MAIN(RingsTest)
#include "test_rings.moc"

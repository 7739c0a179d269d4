// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/RandomClock.h"
#include "common/SharedState.h"
#include "disturbance/Billard.h"
#include "disturbance/Ringe.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

#include <numbers>

namespace {
constexpr double pi = std::numbers::pi;
}

class BilliardsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init();
    void cleanup();

    void rotatePointTurnsAboutTheCentre_data();
    void rotatePointTurnsAboutTheCentre();
    void shotAngleCoversTheSixCases_data();
    void shotAngleCoversTheSixCases();
    void tableOfHeight700HasItsRadiiAndReach();
    void ballPlacementFallsBackDiagonallyAfter500Draws();
    void ballPlacementTakesTheFirstFreeDraw();
    void cornerCountsTwoCushions();
    void shotEndsOnlyWithTheSetCushionCount_data();
    void shotEndsOnlyWithTheSetCushionCount();
    void pressStartsAShotTowardsThePressPoint();
    void pressIsIgnoredWhileTheBallTouchesACushionLine();
    void correctionOffIgnoresPressesDuringAShot();
    void correctionAfterOneSideCushionSendsTheBallTowardsThePress();
    void drawingTheBallTwiceRestoresThePicture();
    void stepMovesTheBallAndLeavesATrace();
    void lateTickMakesUpTheMissedSteps();
    void tableSetUpReloadsAPositiveStep();
    void timeOutStopsTheRunningBallAndEndsTheGame();
    void shotIsPlayedWithKeysAlone();
    void stepIntervalHasAFloorOf15625Microseconds_data();
    void stepIntervalHasAFloorOf15625Microseconds();
    void ticksEveryMillisecondStillKeepTheStepRate_data();
    void ticksEveryMillisecondStillKeepTheStepRate();
    void timerWakesUpWhenEachStepIsDue();
    void lateWakeUpIsMadeUpAtOnce();

private:
    // A 1000 x 700 table with the ball and the target where the test wants them.
    static BilliardTable &layTable(QPointF ball, QPointF target, double angle, int step);
    // Moves the ball until its shot ends; returns the number of steps, -1 if it never ends.
    static int runShot();
    // Starts a shot along a free row of a 1000 x 700 table at steady-clock time 0.
    static void startShotAtTimeZero(int taskTimerInterval);
    static void endShot();
};

void BilliardsTest::init()
{
    TestSupport::messages().clear();
    CushionCount = 2;
    BilliardCorrection = 1;
    BilliardShotRunning = 0;
    TaskTimerInterval = 1;
    Form_Billard->Timer2.stop();
    Form_Billard->setResult(QDialog::Rejected);
}

void BilliardsTest::cleanup()
{
    TestSupport::dropPendingActions();
    Form_MuW->StopOverallTime();
    ResultSaved = 1;
}

BilliardTable &BilliardsTest::layTable(QPointF ball, QPointF target, double angle, int step)
{
    BilliardTable &table = Form_Billard->table();
    SizeTable(table, 1000, 700);
    table.ballCentre = ball;
    table.targetCentre = target;
    table.shotAngle = angle;
    BilliardStep = step;
    return table;
}

int BilliardsTest::runShot()
{
    BilliardShotRunning = 1;
    for (int steps = 1; steps <= 5000; ++steps) {
        Form_Billard->MoveBall();
        if (BilliardShotRunning == 0)
            return steps;
    }
    return -1;
}

void BilliardsTest::rotatePointTurnsAboutTheCentre_data()
{
    QTest::addColumn<double>("angle");
    QTest::addColumn<QPointF>("expected");
    QTest::newRow("zero") << 0.0 << QPointF(15, 5);
    QTest::newRow("quarter") << pi / 2 << QPointF(5, 15);
    QTest::newRow("half") << pi << QPointF(-5, 5);
    QTest::newRow("three quarters") << 3 * pi / 2 << QPointF(5, -5);
}

void BilliardsTest::rotatePointTurnsAboutTheCentre()
{
    QFETCH(double, angle);
    QFETCH(QPointF, expected);
    const QPointF turned = RotatePoint(QPointF(15, 5), QPointF(5, 5), angle);
    QVERIFY2(std::abs(turned.x() - expected.x()) < 1e-9 &&
                 std::abs(turned.y() - expected.y()) < 1e-9,
             qPrintable(QStringLiteral("%1, %2").arg(turned.x()).arg(turned.y())));
}

void BilliardsTest::shotAngleCoversTheSixCases_data()
{
    QTest::addColumn<double>("dx");
    QTest::addColumn<double>("dy");
    QTest::addColumn<double>("angle");
    QTest::newRow("right and up") << 1.0 << -1.0 << 7 * pi / 4;
    QTest::newRow("right and down") << 1.0 << 1.0 << pi / 4;
    QTest::newRow("right") << 1.0 << 0.0 << 0.0;
    QTest::newRow("straight down") << 0.0 << 1.0 << pi / 2;
    QTest::newRow("on the ball") << 0.0 << 0.0 << 0.0;
    QTest::newRow("left and down") << -1.0 << 1.0 << 3 * pi / 4;
    QTest::newRow("left and up") << -1.0 << -1.0 << 5 * pi / 4;
    QTest::newRow("straight up") << 0.0 << -1.0 << 3 * pi / 2;
}

void BilliardsTest::shotAngleCoversTheSixCases()
{
    QFETCH(double, dx);
    QFETCH(double, dy);
    QFETCH(double, angle);
    QVERIFY(std::abs(ShotAngleTowards(dx, dy) - angle) < 1e-12);
}

void BilliardsTest::tableOfHeight700HasItsRadiiAndReach()
{
    BilliardTable table;
    SizeTable(table, 1000, 700);
    QCOMPARE(table.targetRadius, 70);
    QCOMPARE(table.ballRadius, 17);
    QCOMPARE(TargetReachDistance(table), 93);
    table.targetCentre = QPointF(500, 300);
    table.ballCentre = QPointF(500, 393);
    QVERIFY(BallReachesTarget(table));
    table.ballCentre = QPointF(500, 393.5);
    QVERIFY(!BallReachesTarget(table));
}

void BilliardsTest::ballPlacementFallsBackDiagonallyAfter500Draws()
{
    BilliardTable table;
    SizeTable(table, 1000, 700);
    int calls = 0;
    const RandomFunction alwaysZero = [&calls](int) {
        ++calls;
        return 0;
    };
    PlaceTarget(table, alwaysZero);
    QCOMPARE(table.targetCentre, QPointF(70, 70));
    calls = 0;
    // Every draw lands on (22, 22), touching the target.
    PlaceBall(table, alwaysZero);
    QCOMPARE(calls, 2 * 501);
    QCOMPARE(table.ballCentre, QPointF(70 + 101, 70 + 101));

    table.targetCentre = QPointF(900, 600);
    QCOMPARE(DiagonalBallPlace(table), QPointF(799, 499));
}

void BilliardsTest::ballPlacementTakesTheFirstFreeDraw()
{
    BilliardTable table;
    SizeTable(table, 1000, 700);
    table.targetCentre = QPointF(500, 350);
    int calls = 0;
    PlaceBall(table, [&calls](int n) {
        ++calls;
        return n - 1;
    });
    QCOMPARE(calls, 2);
    QCOMPARE(table.ballCentre, QPointF(1000 - 22 - 1, 700 - 22 - 1));
}

void BilliardsTest::cornerCountsTwoCushions()
{
    BilliardTable table;
    SizeTable(table, 700, 700);
    table.ballCentre = QPointF(679, 679);
    table.shotAngle = pi / 4;
    int step = 14;
    StepBall(table, step);
    QCOMPARE(table.cushionsHit, 2);
    QCOMPARE(table.sideCushionsHit, 1);
    QCOMPARE(step, -14);
    QCOMPARE(table.shotAngle, pi / 4);
    // Negated step along the same angle: straight back out of the corner.
    QVERIFY(std::abs(table.ballCentre.x() - (679 - 14 / std::sqrt(2.0))) < 1e-9);
    QVERIFY(std::abs(table.ballCentre.y() - (679 - 14 / std::sqrt(2.0))) < 1e-9);
    QCOMPARE(HitCushions(table, step), 0);
}

void BilliardsTest::shotEndsOnlyWithTheSetCushionCount_data()
{
    QTest::addColumn<QPointF>("ball");
    QTest::addColumn<QPointF>("target");
    QTest::addColumn<double>("angle");
    QTest::addColumn<int>("cushions");
    QTest::addColumn<bool>("won");
    // Down onto the bottom cushion and back up to the target: one cushion.
    const QPointF ball(850, 350);
    const QPointF above(850, 100);
    QTest::newRow("one of two") << ball << above << pi / 2 << 2 << false;
    QTest::newRow("one of one") << ball << above << pi / 2 << 1 << true;
    // Into the bottom right corner and back along the diagonal: two cushions.
    const QPointF diagonal(650, 350);
    const QPointF behind(450, 150);
    QTest::newRow("two of two") << diagonal << behind << pi / 4 << 2 << true;
    QTest::newRow("two of one") << diagonal << behind << pi / 4 << 1 << false;
}

void BilliardsTest::shotEndsOnlyWithTheSetCushionCount()
{
    QFETCH(QPointF, ball);
    QFETCH(QPointF, target);
    QFETCH(double, angle);
    QFETCH(int, cushions);
    QFETCH(bool, won);
    CushionCount = Byte(cushions);
    layTable(ball, target, angle, 14);
    Form_Billard->Timer2.start(1000);
    QVERIFY(runShot() > 0);
    QVERIFY(!Form_Billard->Timer2.isActive());
    QCOMPARE(Form_Billard->result() == QDialog::Accepted, won);
    if (!won) {
        // A new table: counts reset, ball away from the target, waiting for the next aim.
        const BilliardTable &table = Form_Billard->table();
        QCOMPARE(table.cushionsHit, 0);
        QCOMPARE(table.width, Form_Billard->PaintBox1->width());
        QVERIFY(!BallReachesTarget(table));
        QVERIFY(BilliardStep > 0);
    }
}

void BilliardsTest::pressStartsAShotTowardsThePressPoint()
{
    TaskTimerInterval = 37;
    BilliardTable &table = layTable(QPointF(300, 300), QPointF(800, 100), 1.0, 14);
    Form_Billard->PaintBox1MouseDown(300, 300);
    QCOMPARE(table.shotAngle, 0.0);
    QCOMPARE(BilliardShotRunning, Byte(1));
    QVERIFY(Form_Billard->Timer2.isActive());
    QCOMPARE(Form_Billard->Timer2.interval(), 37);
    Form_Billard->PaintBox1MouseDown(300, 500);
    QCOMPARE(table.shotAngle, pi / 2);
    Form_Billard->Timer2.stop();
}

void BilliardsTest::pressIsIgnoredWhileTheBallTouchesACushionLine()
{
    BilliardTable &table = layTable(QPointF(21, 300), QPointF(800, 100), 1.0, 14);
    Form_Billard->PaintBox1MouseDown(500, 300);
    QCOMPARE(table.shotAngle, 1.0);
    QCOMPARE(BilliardShotRunning, Byte(0));
    table.ballCentre = QPointF(22, 300);
    Form_Billard->PaintBox1MouseDown(500, 300);
    QCOMPARE(BilliardShotRunning, Byte(1));
    Form_Billard->Timer2.stop();
}

void BilliardsTest::correctionOffIgnoresPressesDuringAShot()
{
    BilliardCorrection = 0;
    BilliardTable &table = layTable(QPointF(300, 300), QPointF(800, 100), 1.0, 14);
    BilliardShotRunning = 1;
    Form_Billard->PaintBox1MouseDown(300, 500);
    QCOMPARE(table.shotAngle, 1.0);
    BilliardCorrection = 1;
    Form_Billard->PaintBox1MouseDown(300, 500);
    QCOMPARE(table.shotAngle, pi / 2);
    QVERIFY(!Form_Billard->Timer2.isActive());
}

void BilliardsTest::correctionAfterOneSideCushionSendsTheBallTowardsThePress()
{
    BilliardTable &table = layTable(QPointF(350, 350), QPointF(800, 600), 0.0, -14);
    table.sideCushionsHit = 1;
    BilliardShotRunning = 1;
    Form_Billard->PaintBox1MouseDown(350, 100);
    Form_Billard->MoveBall();
    QVERIFY(std::abs(table.ballCentre.x() - 350) < 1e-9);
    QVERIFY(std::abs(table.ballCentre.y() - 336) < 1e-9);
}

void BilliardsTest::drawingTheBallTwiceRestoresThePicture()
{
    QImage &canvas = Form_Billard->PaintBox1->canvas();
    QRandomGenerator noise(7);
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x)
            canvas.setPixel(x, y, noise.generate() | 0xff000000u);
    }
    const QImage before = canvas.copy();
    layTable(QPointF(200, 200), QPointF(600, 400), 0, 14);
    Form_Billard->drawBall();
    QVERIFY(canvas != before);
    QCOMPARE(canvas.pixel(200 + 17, 200), ~before.pixel(200 + 17, 200) | 0xff000000u);
    Form_Billard->drawBall();
    QVERIFY(canvas == before);
}

void BilliardsTest::stepMovesTheBallAndLeavesATrace()
{
    ClearPaintBox(Form_Billard->PaintBox1);
    const BilliardTable &table = layTable(QPointF(200, 300), QPointF(600, 100), 0, 100);
    const QRect oldArea = BallArea(table, table.ballCentre);
    Form_Billard->drawBall();
    const quint64 steps = Form_Billard->ballSteps();
    Form_Billard->Timer2Timer();
    QCOMPARE(Form_Billard->ballSteps(), steps + 1);
    QCOMPARE(table.ballCentre, QPointF(300, 300));
    const QImage &canvas = Form_Billard->PaintBox1->canvas();
    const QRgb white = qRgb(255, 255, 255);
    const QRgb black = qRgb(0, 0, 0);
    for (int y = oldArea.top(); y <= oldArea.bottom(); ++y) {
        for (int x = oldArea.left(); x <= oldArea.right(); ++x)
            QCOMPARE(canvas.pixel(x, y), black);
    }
    QCOMPARE(canvas.pixel(300, 300), white);
    QCOMPARE(canvas.pixel(317, 300), white);
    QCOMPARE(canvas.pixel(308, 300), black);
}

void BilliardsTest::lateTickMakesUpTheMissedSteps()
{
    // At speed 100 the ball moves a step a millisecond even when the timer wakes up late.
    ClearPaintBox(Form_Billard->PaintBox1);
    layTable(QPointF(500, 350), QPointF(60, 60), 0, 1);
    RandomClock::useFixedSteadyNs(0);
    Form_Billard->PaintBox1MouseDown(999, 350);
    QVERIFY(Form_Billard->Timer2.isActive());
    RandomClock::useFixedSteadyNs(100000000); // six steps due
    const quint64 before = Form_Billard->ballSteps();
    Form_Billard->Timer2Timer();
    QCOMPARE(Form_Billard->ballSteps(), before + 4); // a few at a time, never a leap
    Form_Billard->Timer2.stop();
    Form_Billard->Timer2Timer();
    QCOMPARE(Form_Billard->ballSteps(), before + 5); // a stopped shot takes single steps
    BilliardShotRunning = 0;
    RandomClock::useFixedSteadyNs(-1);
}

void BilliardsTest::tableSetUpReloadsAPositiveStep()
{
    int expected = 0;
    auto *list = Form_MuW->findChild<QComboBox *>(QStringLiteral("Edit_Schrittweite"));
    if (list) {
        list->setCurrentIndex(list->findText(QStringLiteral("30")));
        expected = 30;
    }
    BilliardStep = -7;
    Form_Billard->SetUpTable();
    QVERIFY(BilliardStep > 0);
    if (expected)
        QCOMPARE(BilliardStep, expected);
    if (list)
        list->setCurrentIndex(list->findText(QStringLiteral("14")));
    const BilliardTable &table = Form_Billard->table();
    QCOMPARE(table.targetRadius, Form_Billard->PaintBox1->height() / 10);
    QVERIFY(!BallReachesTarget(table));
    QVERIFY(BallInsideCushions(table));
}

// A disturbed round of a real game opens the task; the player shoots, and while the ball runs
// the overall time limit runs out.
void BilliardsTest::timeOutStopsTheRunningBallAndEndsTheGame()
{
    CushionCount = 7;
    Form_MuW->Radio_Stoeren->setItemIndex(StoerenEin);
    Form_MuW->Radio_StoerenClick();
    Form_MuW->Radio_TextHstRinge->setItemIndex(ChoiceBillard);
    Form_MuW->Radio_TextHstRingeClick();
    QString caption;
    bool ballRan = false;
    TestSupport::afterActivation(Form_Billard, [&] {
        caption = Form_Billard->windowTitle();
        // The ball runs along the bottom, far from the target, so only the time-out ends it.
        BilliardTable &table = Form_Billard->table();
        table.targetCentre = QPointF(table.targetRadius, table.targetRadius);
        table.ballCentre = QPointF(table.width / 2, table.height - table.ballRadius - 10);
        const quint64 stepsAtShot = Form_Billard->ballSteps();
        Form_Billard->PaintBox1MouseDown(table.width - 1, int(table.ballCentre.y()));
        ballRan =
            QTest::qWaitFor([&] { return Form_Billard->ballSteps() > stepsAtShot + 2; }, 60000);
        RemainingSeconds = 1;
        Form_MuW->Timer_GesamtZeitTimer();
    });
    TestSupport::afterActivation(Form_MuW_Zahlen, TestSupport::playToTheFirstDisturbance);
    Form_MuW_Zahlen->StartGame();

    // The keys follow the caption the task is given.
    QCOMPARE(caption,
             QStringLiteral("   Anzahl der vorher zu treffenden Banden:   7") + BilliardKeysHint);
    QVERIFY(ballRan);
    // The task: its ball stands still, its window closed with OK.
    QVERIFY(!Form_Billard->Timer2.isActive());
    QVERIFY(!Form_Billard->isVisible());
    QCOMPARE(Form_Billard->result(), int(QDialog::Accepted));
    // The game: ended by the time limit, without reproducing, its result unsaved.
    QVERIFY(!Form_MuW_Zahlen->isVisible());
    QVERIFY(Form_MuW_Zahlen->Edit_Wiedergeben->isHidden());
    QCOMPARE(TimeoutAbort, Byte(1));
    QCOMPARE(RoundNumber, Byte(7));
    QCOMPARE(ResultSaved, Byte(0));
    QVERIFY(!Form_MuW->Timer_GesamtZeit.isActive());
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().lastText(), TimeoutMessage);
    QVERIFY(!Form_MuW->But_Start->isHidden());
}

void BilliardsTest::startShotAtTimeZero(int taskTimerInterval)
{
    ClearPaintBox(Form_Billard->PaintBox1);
    TaskTimerInterval = taskTimerInterval;
    layTable(QPointF(100, 350), QPointF(900, 100), 0, 1);
    RandomClock::useFixedSteadyNs(0);
    Form_Billard->PaintBox1MouseDown(999, 350);
}

void BilliardsTest::endShot()
{
    Form_Billard->Timer2.stop();
    BilliardShotRunning = 0;
    RandomClock::useFixedSteadyNs(-1);
}

// Escape closes the task like its close box, and it comes again. The arrows turn the aiming
// line, Space shoots along it, straight at the target; before the ball moves, the arrows turn
// back and Space re-aims the running shot, which then ends the task off one cushion.
void BilliardsTest::shotIsPlayedWithKeysAlone()
{
    CushionCount = 1;
    QStringList seen;
    TestSupport::afterActivation(Form_Billard, [&] {
        const QWidget *focused = QApplication::focusWidget();
        seen << (focused ? focused->objectName() : QString());
        TestSupport::afterActivation(Form_Billard, [&] {
            BilliardTable &table = Form_Billard->table();
            table.ballCentre = QPointF(table.width * 0.6, table.height / 2);
            table.targetCentre = QPointF(table.width * 0.2, table.height / 2);
            table.shotAngle = 0;
            const auto press = [&](Qt::Key key, int times) {
                for (int i = 0; i < times; ++i)
                    QTest::keyClick(Form_Billard->PaintBox1, key);
                const QLineF line(table.ballCentre,
                                  Form_Billard->PaintBox1->overlay().pointAtPercent(1));
                seen << QStringLiteral("%1 %2")
                            .arg(qRound(line.angle()))
                            .arg(qRound(table.shotAngle * 180 / pi));
            };
            press(Qt::Key_Left, 36);
            press(Qt::Key_Down, 2);
            press(Qt::Key_Up, 2);
            press(Qt::Key_Space, 1);
            press(Qt::Key_Right, 36);
            press(Qt::Key_Return, 1);
        });
        QTest::keyClick(Form_Billard->PaintBox1, Qt::Key_Escape);
        seen << QStringLiteral("closed %1").arg(!Form_Billard->isVisible());
        Form_Billard->CloseWithOk(); // were it still open, the test would wait for ever
    });
    // Neither would a shot that ends on a new table or never starts.
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (seen.size() > 2 && BilliardShotRunning == 0)
            Form_Billard->CloseWithOk();
    });
    watch.start(50);
    RunBilliardTask();
    // Angles of the line (anticlockwise, as Qt counts them) and of the shot (clockwise).
    QCOMPARE(seen, (QStringList{"PaintBox1", "closed 1", "180 0", "178 0", "180 0", "180 180",
                                "0 180", "0 0"}));
    QCOMPARE(Form_Billard->result(), int(QDialog::Accepted));
    QCOMPARE(Form_Billard->table().cushionsHit, 1);
}

void BilliardsTest::stepIntervalHasAFloorOf15625Microseconds_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<qint64>("intervalNs");
    QTest::newRow("speed 100") << 100 << qint64(15625000);
    QTest::newRow("speed 86") << 86 << qint64(15625000);
    QTest::newRow("speed 85") << 85 << qint64(16000000);
    QTest::newRow("speed 64") << 64 << qint64(37000000);
    QTest::newRow("speed 0") << 0 << qint64(101000000);
}

void BilliardsTest::stepIntervalHasAFloorOf15625Microseconds()
{
    QFETCH(int, speed);
    QFETCH(qint64, intervalNs);
    QCOMPARE(BallStepIntervalNs(TaskTimerIntervalForSpeed(speed)), intervalNs);
}

void BilliardsTest::ticksEveryMillisecondStillKeepTheStepRate_data()
{
    QTest::addColumn<int>("taskTimerInterval");
    QTest::addColumn<int>("stepsInASecond");
    QTest::newRow("1 ms, speed 100") << 1 << 64;
    QTest::newRow("15 ms, speed 86") << 15 << 64;
    QTest::newRow("16 ms, speed 85") << 16 << 62;
    QTest::newRow("37 ms") << 37 << 27;
    QTest::newRow("101 ms, speed 0") << 101 << 9;
}

void BilliardsTest::ticksEveryMillisecondStillKeepTheStepRate()
{
    // However often the timer wakes up, the ball steps at its interval, never faster.
    QFETCH(int, taskTimerInterval);
    QFETCH(int, stepsInASecond);
    startShotAtTimeZero(taskTimerInterval);
    const quint64 before = Form_Billard->ballSteps();
    for (qint64 ms = 1; ms <= 1000; ++ms) {
        RandomClock::useFixedSteadyNs(ms * 1000000);
        Form_Billard->Timer2Timer();
    }
    QCOMPARE(Form_Billard->ballSteps() - before, quint64(stepsInASecond));
    QCOMPARE(BilliardShotRunning, Byte(1));
    endShot();
}

void BilliardsTest::timerWakesUpWhenEachStepIsDue()
{
    // Whole-millisecond waits of 15 and 16 ms that add up to 15.625 ms a step.
    startShotAtTimeZero(1);
    const quint64 before = Form_Billard->ballSteps();
    qint64 ms = 0;
    for (int tick = 1; tick <= 64; ++tick) {
        const int wait = Form_Billard->Timer2.interval();
        QVERIFY2(wait == 15 || wait == 16, qPrintable(QString::number(wait)));
        ms += wait;
        RandomClock::useFixedSteadyNs(ms * 1000000);
        Form_Billard->Timer2Timer();
        QCOMPARE(Form_Billard->ballSteps() - before, quint64(tick));
    }
    QCOMPARE(ms, qint64(1000));
    endShot();
}

void BilliardsTest::lateWakeUpIsMadeUpAtOnce()
{
    startShotAtTimeZero(1);
    const quint64 before = Form_Billard->ballSteps();
    RandomClock::useFixedSteadyNs(100000000); // 6.4 steps' time
    Form_Billard->Timer2Timer();
    QCOMPARE(Form_Billard->ballSteps() - before, quint64(4));
    QCOMPARE(Form_Billard->Timer2.interval(), 0);
    Form_Billard->Timer2Timer();
    QCOMPARE(Form_Billard->ballSteps() - before, quint64(6));
    QCOMPARE(Form_Billard->Timer2.interval(), 10); // the seventh step is due at 109.375 ms
    Form_Billard->Timer2Timer();
    QCOMPARE(Form_Billard->ballSteps() - before, quint64(6)); // an early wake-up steps nothing
    endShot();
}

QTEST_MAIN(BilliardsTest)
#include "test_billiards.moc"

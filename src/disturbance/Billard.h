// SPDX-License-Identifier: GPL-3.0-or-later
// The billiards task: table geometry, the ball's steps and its window.
#pragma once

#include "common/ModalForm.h"
#include "common/SharedState.h"

#include <QLineF>
#include <QPointF>
#include <QRect>
#include <QTimer>

#include <algorithm>
#include <functional>

class TTaskPaintBox;

// ---- Geometry of the billiards table (no widgets) ----

// Width of the target's rim and of the ball's outline; the outline also is the cushion margin.
constexpr Byte TargetPenWidthDefault = 8;
constexpr Byte BallPenWidthDefault = 4;

struct BilliardTable
{
    int width = 0;
    int height = 0;
    int targetRadius = 0;
    int ballRadius = 0;
    Byte targetPenWidth = TargetPenWidthDefault;
    Byte ballPenWidth = BallPenWidthDefault;
    QPointF targetCentre;
    QPointF ballCentre;
    double shotAngle = 0; // radians, 0 = towards +x, pi/2 = down the screen
    int cushionsHit = 0;
    int sideCushionsHit = 0;
};

// Random(n) or a stand-in of the tests.
using RandomFunction = std::function<int(int)>;

// Sizes a table of width x height: radii from the height, pen widths, no cushions touched.
void SizeTable(BilliardTable &table, int width, int height);
void PlaceTarget(BilliardTable &table, const RandomFunction &random);
// Up to 500 random places away from the target, else diagonally beside it.
void PlaceBall(BilliardTable &table, const RandomFunction &random);
QPointF DiagonalBallPlace(const BilliardTable &table);
// The centres' distance at which the ball counts as reaching the target.
int TargetReachDistance(const BilliardTable &table);
bool BallReachesTarget(const BilliardTable &table);

// Direction from the ball to a point dx, dy away, in [0, 2 pi).
double ShotAngleTowards(double dx, double dy);
// The angle a press at `press` gives, compensated while the step is negative.
double AimAngle(const BilliardTable &table, QPointF press);
// The angle a shot in `direction` (radians, as ShotAngleTowards gives them) takes, compensated
// while the step is negative; a press and a key aim alike.
double AimAngleForDirection(const BilliardTable &table, double direction);
// Keyboard play: the direction after turning by `by` radians (positive turns clockwise on the
// screen), in [0, 2 pi).
double TurnedAim(double direction, double by);
// The turn an arrow key gives the aim: 5 degrees for left and right, 1 degree for up and down
// (left and up anticlockwise); 0 for other keys.
double AimTurnForKey(int key);
// The aiming line: from the ball's rim outwards in the direction, as long as the target is wide.
QLineF AimingLine(const BilliardTable &table, double direction);
inline const QString BilliardKeysHint =
    QStringLiteral("   (Pfeiltasten zielen, Leertaste oder Eingabe stößt, Esc schließt)");
// The ball lies strictly inside the cushion lines; only then a press is taken.
bool BallInsideCushions(const BilliardTable &table);
// Reflects at every cushion the unmoved ball touches (a corner counts two); returns how many.
int HitCushions(BilliardTable &table, int &step);
// One step: cushions, then the move by `step` along the shot angle.
void StepBall(BilliardTable &table, int &step);
// The area a ball drawing covers, for partial repaints.
QRect BallArea(const BilliardTable &table, QPointF centre);

QString BilliardCaption(int cushionCount);

// ---- Pace of the ball (no widgets) ----

// The shortest time between two ball steps: 15.625 ms, the tick of the desktop timers the speed
// scale 0..100 was made for. A 1-ms step would decide a shot before the player could follow the
// ball or re-aim it; with the floor, speeds 86..100 play alike.
inline constexpr qint64 BallStepFloorNs = 15625000;
// Time between two ball steps for the task timer interval (ms), never below the floor.
constexpr qint64 BallStepIntervalNs(int taskTimerInterval)
{
    return std::max(qint64(taskTimerInterval) * 1000000, BallStepFloorNs);
}
// Most steps one tick makes up after a late wake-up.
inline constexpr int MaxBallCatchUpSteps = 4;
// Steps due `elapsedNs` into a shot of which `stepsMade` were made: none before the next step's
// time, at most MaxBallCatchUpSteps.
int BallStepsDue(qint64 elapsedNs, qint64 stepsMade, qint64 stepIntervalNs);
// Whole milliseconds from `elapsedNs` into a shot to the next step's time; 0 when it is overdue.
int MsUntilNextBallStep(qint64 elapsedNs, qint64 stepsMade, qint64 stepIntervalNs);

// ---- The window ----

class TForm_Billard : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Billard(QWidget *parent = nullptr);

    TTaskPaintBox *PaintBox1 = nullptr;
    QTimer Timer2;

    void FormActivate() override;
    void SetUpTable();
    void PaintBox1MouseDown(int X, int Y);
    void Timer2Timer();
    void MoveBall();
    // Inverting: drawing the ball twice at one place removes it.
    void drawBall();

    BilliardTable &table() { return m_table; }
    // The direction the arrow keys have aimed at, shown by the aiming line.
    double keyAim() const { return m_keyAim; }
    // Ball steps made since the window was created (for measuring the tick rate).
    quint64 ballSteps() const { return m_ballSteps; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void drawTarget();
    // A press or a key: starts a shot in `direction`, or re-aims a running one.
    void aimAndShoot(double direction);
    // The arrows turn the aim, Space or Enter shoots along it, Escape closes the window.
    bool keyPressed(const QKeyEvent *event);
    void showAimingLine();
    void endShot();
    int ballStepsDue() const;
    // Sets the timer to wake up when the next step is due.
    void scheduleNextStep();

    BilliardTable m_table;
    quint64 m_ballSteps = 0;
    // The running shot's start (RandomClock's steady clock; negative before the first shot)
    // and steps, to keep the ball at the speed the setting gives.
    qint64 m_shotStartNs = -1;
    qint64 m_shotSteps = 0;
    bool m_setUpPending = false;
    double m_keyAim = 0;
};

extern TForm_Billard *Form_Billard;

// Shows the billiards task again and again until it ends with OK.
void RunBilliardTask();

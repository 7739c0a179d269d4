// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ModalForm.h"
#include "common/SharedState.h"

#include <QPointF>
#include <QRect>
#include <QTimer>

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
// The ball lies strictly inside the cushion lines; only then a press is taken.
bool BallInsideCushions(const BilliardTable &table);
// Reflects at every cushion the unmoved ball touches (a corner counts two); returns how many.
int HitCushions(BilliardTable &table, int &step);
// One step: cushions, then the move by `step` along the shot angle.
void StepBall(BilliardTable &table, int &step);
// The area a ball drawing covers, for partial repaints.
QRect BallArea(const BilliardTable &table, QPointF centre);

QString BilliardCaption(int cushionCount);

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
    // Ball steps made since the window was created (for measuring the tick rate).
    quint64 ballSteps() const { return m_ballSteps; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void drawTarget();
    void endShot();
    int ballStepsDue() const;

    BilliardTable m_table;
    quint64 m_ballSteps = 0;
    // When the running shot started (steady clock) and its steps, to keep the ball at the
    // speed the setting gives; -1 before the first shot.
    qint64 m_shotStartNs = -1;
    qint64 m_shotSteps = 0;
    bool m_setUpPending = false;
};

extern TForm_Billard *Form_Billard;

// Shows the billiards task again and again until it ends with OK.
void RunBilliardTask();

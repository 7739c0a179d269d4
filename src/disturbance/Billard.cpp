// SPDX-License-Identifier: GPL-3.0-or-later
// The billiards task: table geometry, the ball's steps and its window.
#include "disturbance/Billard.h"

#include "common/KeyPress.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/ScaleToScreen.h"
#include "disturbance/Ringe.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

TForm_Billard *Form_Billard = nullptr;

// ---- Geometry ----

void SizeTable(BilliardTable &table, int width, int height)
{
    table.width = width;
    table.height = height;
    table.targetRadius = Div(height, 10);
    table.ballRadius = Div(table.targetRadius, 4);
    table.targetPenWidth = TargetPenWidthDefault;
    table.ballPenWidth = BallPenWidthDefault;
    table.cushionsHit = 0;
    table.sideCushionsHit = 0;
}

void PlaceTarget(BilliardTable &table, const RandomFunction &random)
{
    const int r = table.targetRadius;
    table.targetCentre.setX(r + random(table.width - 2 * r));
    table.targetCentre.setY(r + random(table.height - 2 * r));
}

int TargetReachDistance(const BilliardTable &table)
{
    return table.targetRadius + table.ballRadius +
           Div(table.ballPenWidth + table.targetPenWidth, 2);
}

namespace {
double centreDistance(const BilliardTable &table)
{
    const QPointF d = table.ballCentre - table.targetCentre;
    return std::sqrt(d.x() * d.x() + d.y() * d.y());
}
} // namespace

bool BallReachesTarget(const BilliardTable &table)
{
    return centreDistance(table) <= TargetReachDistance(table);
}

QPointF DiagonalBallPlace(const BilliardTable &table)
{
    const int d =
        table.targetRadius + table.targetPenWidth + table.ballPenWidth + table.ballRadius + 2;
    const QPointF t = table.targetCentre;
    return QPointF(t.x() < Div(table.width, 2) ? t.x() + d : t.x() - d,
                   t.y() < Div(table.height, 2) ? t.y() + d : t.y() - d);
}

void PlaceBall(BilliardTable &table, const RandomFunction &random)
{
    constexpr int RandomDraws = 500;
    const int m = table.ballRadius + table.ballPenWidth + 1;
    for (int draw = 1; draw <= RandomDraws + 1; ++draw) {
        const double x = m + random(table.width - 2 * m);
        const double y = m + random(table.height - 2 * m);
        if (draw > RandomDraws)
            break;
        table.ballCentre = QPointF(x, y);
        if (!BallReachesTarget(table))
            return;
    }
    table.ballCentre = DiagonalBallPlace(table);
}

double ShotAngleTowards(double dx, double dy)
{
    constexpr double pi = std::numbers::pi;
    if (dx > 0)
        return dy < 0 ? std::atan(dy / dx) + 2 * pi : std::atan(dy / dx);
    if (dx < 0)
        return std::atan(dy / dx) + pi;
    if (dy > 0)
        return pi / 2;
    if (dy < 0)
        return 3 * pi / 2;
    return 0;
}

double AimAngle(const BilliardTable &table, QPointF press)
{
    const QPointF d = press - table.ballCentre;
    return AimAngleForDirection(table, ShotAngleTowards(d.x(), d.y()));
}

double AimAngleForDirection(const BilliardTable &table, double direction)
{
    // After an odd number of side cushions the step is negative and would run backwards.
    if (table.sideCushionsHit % 2 != 0)
        direction -= std::numbers::pi;
    return direction;
}

double TurnedAim(double direction, double by)
{
    const double turned = std::fmod(direction + by, 2 * std::numbers::pi);
    return turned < 0 ? turned + 2 * std::numbers::pi : turned;
}

double AimTurnForKey(int key)
{
    constexpr double degree = std::numbers::pi / 180;
    switch (key) {
    case Qt::Key_Left:
        return -5 * degree;
    case Qt::Key_Right:
        return 5 * degree;
    case Qt::Key_Up:
        return -degree;
    case Qt::Key_Down:
        return degree;
    default:
        return 0;
    }
}

QLineF AimingLine(const BilliardTable &table, double direction)
{
    const QPointF unit(std::cos(direction), std::sin(direction));
    const double start = table.ballRadius + table.ballPenWidth;
    return QLineF(table.ballCentre + unit * start,
                  table.ballCentre + unit * (start + 2.0 * table.targetRadius));
}

bool BallInsideCushions(const BilliardTable &table)
{
    const double x = table.ballCentre.x();
    const double y = table.ballCentre.y();
    const int reach = table.ballRadius + table.ballPenWidth;
    return x - reach > 0 && x + reach < table.width && y - reach > 0 && y + reach < table.height;
}

int HitCushions(BilliardTable &table, int &step)
{
    const double x = table.ballCentre.x();
    const double y = table.ballCentre.y();
    const int reach = table.ballRadius + table.ballPenWidth;
    const bool bottom = !(table.height > y + reach);
    const bool right = !(table.width > x + reach);
    const bool top = !(y - reach > 0);
    const bool left = !(x - reach > 0);
    int hits = 0;
    // A side cushion also turns the step round, which mirrors the motion horizontally.
    auto reflect = [&](bool touched, bool sideCushion) {
        if (!touched)
            return;
        table.shotAngle = -table.shotAngle;
        ++hits;
        if (sideCushion) {
            step = -step;
            ++table.sideCushionsHit;
        }
    };
    reflect(bottom, false);
    reflect(right, true);
    reflect(top, false);
    reflect(left, true);
    table.cushionsHit += hits;
    return hits;
}

void StepBall(BilliardTable &table, int &step)
{
    HitCushions(table, step);
    const QPointF c = table.ballCentre;
    table.ballCentre = RotatePoint(QPointF(c.x() + step, c.y()), c, table.shotAngle);
}

QRect BallArea(const BilliardTable &table, QPointF centre)
{
    const int margin = table.ballPenWidth + 1;
    return CircleBounds(centre, table.ballRadius).adjusted(-margin, -margin, margin, margin);
}

QString BilliardCaption(int cushionCount)
{
    return QStringLiteral("   Anzahl der vorher zu treffenden Banden:   ") +
           QString::number(cushionCount);
}

// ---- Pace of the ball ----

int BallStepsDue(qint64 elapsedNs, qint64 stepsMade, qint64 stepIntervalNs)
{
    if (stepIntervalNs <= 0)
        return 1;
    const qint64 due = elapsedNs / stepIntervalNs - stepsMade;
    return int(std::clamp<qint64>(due, 0, MaxBallCatchUpSteps));
}

int MsUntilNextBallStep(qint64 elapsedNs, qint64 stepsMade, qint64 stepIntervalNs)
{
    constexpr qint64 NsPerMs = 1000000;
    const qint64 wait = (stepsMade + 1) * stepIntervalNs - elapsedNs;
    if (wait <= 0)
        return 0;
    // Rounded up: a timer never wakes before its interval, so the step is due by then.
    return int(std::min<qint64>((wait + NsPerMs - 1) / NsPerMs, std::numeric_limits<int>::max()));
}

// ---- The window ----

TForm_Billard::TForm_Billard(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Billard"));
    setWindowTitle(QStringLiteral("     Billard"));
    setPalette(QPalette(Qt::black));
    setAutoFillBackground(true);
    setShownMaximized(true);
    resize(640, 480);

    PaintBox1 = new TTaskPaintBox(this);
    PaintBox1->setGeometry(0, 0, 640, 480);
    connect(PaintBox1, &TTaskPaintBox::mouseDown, this, &TForm_Billard::PaintBox1MouseDown);
    PaintBox1->setFocusPolicy(Qt::StrongFocus);
    PaintBox1->setAccessibleName(QStringLiteral("Billardtisch"));
    PaintBox1->setAccessibleDescription(BilliardKeysHint.trimmed());
    PaintBox1->setKeyHandler([this](const QKeyEvent *event) { return keyPressed(event); });

    Timer2.setObjectName(QStringLiteral("Timer2"));
    // The timer wakes up when each step is due; a coarse timer would let the ball stutter.
    Timer2.setTimerType(Qt::PreciseTimer);
    connect(&Timer2, &QTimer::timeout, this, &TForm_Billard::Timer2Timer);
    FormCreate();
}

void TForm_Billard::FormCreate()
{
    ScaleToScreen(this);
    PaintBox1->setGeometry(rect());
    BilliardCorrectionCode = QStringLiteral("j");
}

void TForm_Billard::resizeEvent(QResizeEvent *event)
{
    ModalForm::resizeEvent(event);
    PaintBox1->setGeometry(rect());
    m_table.width = PaintBox1->width();
    m_table.height = PaintBox1->height();
}

void TForm_Billard::showEvent(QShowEvent *event)
{
    m_setUpPending = true;
    ModalForm::showEvent(event);
}

// Activation also follows a switch back from another program; only the first one after
// showing sets up a table.
void TForm_Billard::FormActivate()
{
    if (!m_setUpPending)
        return;
    m_setUpPending = false;
    setWindowTitle(BilliardCaption(CushionCount) + BilliardKeysHint);
    ClearPaintBox(PaintBox1);
    SetUpTable();
    PaintBox1->setFocus(Qt::OtherFocusReason);
}

void TForm_Billard::SetUpTable()
{
    BilliardShotRunning = 0;
    SizeTable(m_table, PaintBox1->width(), PaintBox1->height());
    Randomize();
    PlaceTarget(m_table, Random);
    drawTarget();
    BilliardStep = SettingsStepWidth();
    PlaceBall(m_table, Random);
    drawBall();
    m_keyAim = 0;
    showAimingLine();
}

void TForm_Billard::drawTarget()
{
    QPainter painter(&PaintBox1->canvas());
    painter.setPen(QPen(QColor(255, 0, 0), m_table.targetPenWidth));
    painter.setBrush(QColor(0, 128, 0));
    painter.drawEllipse(CircleBounds(m_table.targetCentre, m_table.targetRadius));
    painter.end();
    PaintBox1->update();
}

void TForm_Billard::drawBall()
{
    QPainter painter(&PaintBox1->canvas());
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, m_table.ballPenWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(CircleBounds(m_table.ballCentre, m_table.ballRadius));
    painter.end();
    PaintBox1->update(BallArea(m_table, m_table.ballCentre));
}

void TForm_Billard::PaintBox1MouseDown(int X, int Y)
{
    const QPointF d = QPointF(X, Y) - m_table.ballCentre;
    aimAndShoot(ShotAngleTowards(d.x(), d.y()));
}

void TForm_Billard::aimAndShoot(double direction)
{
    if (BilliardCorrection == 0 && BilliardShotRunning == 1)
        return;
    if (!BallInsideCushions(m_table))
        return;
    m_table.shotAngle = AimAngleForDirection(m_table, direction);
    m_keyAim = direction;
    if (BilliardShotRunning == 0) {
        BilliardShotRunning = 1;
        m_shotStartNs = RandomClock::steadyNs();
        m_shotSteps = 0;
        Timer2.start(MsUntilNextBallStep(0, 0, BallStepIntervalNs(TaskTimerInterval)));
    }
}

// The line shows where Space or Enter would send the ball; while a shot runs it follows the
// ball, and without correction a running shot cannot be aimed, so it goes.
void TForm_Billard::showAimingLine()
{
    QPainterPath line;
    if (BilliardShotRunning == 0 || BilliardCorrection == 1) {
        const QLineF aim = AimingLine(m_table, m_keyAim);
        line.moveTo(aim.p1());
        line.lineTo(aim.p2());
    }
    PaintBox1->setOverlay(line);
}

bool TForm_Billard::keyPressed(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (const double turn = AimTurnForKey(event->key()); turn != 0) {
        if (BilliardShotRunning == 0 || BilliardCorrection == 1)
            m_keyAim = TurnedAim(m_keyAim, turn);
    } else if (IsPressKey(event)) {
        // One press is one shot or one correction, as a click is.
        if (!event->isAutoRepeat())
            aimAndShoot(m_keyAim);
    } else if (event->key() == Qt::Key_Escape) {
        close();
    } else {
        return false;
    }
    showAimingLine();
    return true;
}

void TForm_Billard::Timer2Timer()
{
    const int steps = ballStepsDue();
    for (int i = 0; i < steps; ++i) {
        drawBall();
        MoveBall();
        ++m_shotSteps;
        if (!Timer2.isActive())
            return; // the shot has ended
    }
    scheduleNextStep();
}

// Timers take whole milliseconds and wake up a fraction of one late, so the steps are counted
// against the shot's clock: the ball moves at the speed the setting gives, makes up missed
// steps a few at a time, and keeps the 15.625 ms floor on average.
int TForm_Billard::ballStepsDue() const
{
    // Only the running timer is paced; a step asked for otherwise is one step.
    if (!Timer2.isActive() || m_shotStartNs < 0)
        return 1;
    return BallStepsDue(RandomClock::steadyNs() - m_shotStartNs, m_shotSteps,
                        BallStepIntervalNs(TaskTimerInterval));
}

void TForm_Billard::scheduleNextStep()
{
    if (!Timer2.isActive() || m_shotStartNs < 0)
        return;
    // Restarted from now, since the wait is counted from now.
    Timer2.start(MsUntilNextBallStep(RandomClock::steadyNs() - m_shotStartNs, m_shotSteps,
                                     BallStepIntervalNs(TaskTimerInterval)));
}

void TForm_Billard::MoveBall()
{
    StepBall(m_table, BilliardStep);
    ++m_ballSteps;
    drawBall();
    showAimingLine();
    const QPoint trace(RoundHalfEven(m_table.ballCentre.x()),
                       RoundHalfEven(m_table.ballCentre.y()));
    if (PaintBox1->canvas().rect().contains(trace))
        PaintBox1->canvas().setPixel(trace, qRgb(255, 255, 255));
    if (!BallReachesTarget(m_table))
        return;
    endShot();
    if (m_table.cushionsHit == CushionCount) {
        done(QDialog::Accepted);
        return;
    }
    ClearPaintBox(PaintBox1);
    SetUpTable();
}

void TForm_Billard::endShot()
{
    Timer2.stop();
    BilliardShotRunning = 0;
    showAimingLine();
}

void RunBilliardTask()
{
    int result = QDialog::Rejected;
    do {
        result = Form_Billard->ShowModal();
    } while (result != QDialog::Accepted);
}

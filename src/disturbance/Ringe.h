// SPDX-License-Identifier: GPL-3.0-or-later
// The rings task: ring geometry, scoring, the legend and its window.
#pragma once

#include "common/ModalForm.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QKeyEvent;
class QLabel;

// ---- Geometry and scoring of the rings task (no widgets) ----

// The five rings in their fixed order; placing, drawing, hit testing and scoring follow it.
constexpr int RingCount = 5;
enum RingIndex
{
    RingRed,
    RingYellow,
    RingGreen,
    RingWhite,
    RingBlue
};

QColor RingColour(int ring);
// "rot", "gelb", "grün", "weiß", "blau".
QString RingColourName(int ring);
// Radii red .. blue for a drawing area of the given height.
std::array<int, RingCount> RingRadiiForHeight(int height);
// The bounding rectangle of a circle, its edges rounded (left, top, right, bottom).
QRect CircleBounds(QPointF centre, double radius);
// p rotated about c by the angle a (radians, from +x towards +y).
QPointF RotatePoint(QPointF p, QPointF c, double a);

struct RingData
{
    QPointF centre;
    int radius = 0;
    int value = 0;
    bool hit = false;
};

// A press on the rim counts.
bool RingContains(const RingData &ring, QPointF at);

struct RingsState
{
    std::array<RingData, RingCount> rings;
    int score = 0;
    bool anyHit = false;

    void chooseRadii(int height);
    // Reseeds; every ring lies wholly inside a width x height area.
    void place(int width, int height);
    // Reseeds; red is worth 50 .. 90, each following colour 10 less.
    void drawValues();
    void clearHits();
    bool allHit() const;
    // Scores every ring not yet hit under the press once; above the target before the press,
    // hits count down. Returns whether any ring was hit.
    bool press(QPointF at, int target);
};

// Keyboard play: the ring Tab highlights after `current` (-1 before the first): the next one
// not hit in the rings' order, going round, or the one before with Shift+Tab; -1 when every
// ring is hit.
int NextRingToHighlight(const RingsState &state, int current, bool forward);
// Where Space or Enter presses on a ring: its centre, as a click there would.
QPoint RingCentrePoint(const RingData &ring);
// The highlight drawn round a ring, clear of its rim.
QPainterPath RingHighlightPath(const RingData &ring);
inline const QString RingsKeysHint =
    QStringLiteral("   (Tab wählt einen Ring, Leertaste oder Eingabe trifft ihn, Esc schließt)");

// 160, 170, ..., 300.
int DrawRingsTargetScore();
bool RingsRunWon(int score, int target, bool exactMode);
QString RingsTargetText(int target, bool exactMode);
QString RingsScoreText(int score);

// Relocation interval of the rings in milliseconds: 12 s at speed 100, 1212 s at speed 0.
constexpr int RingsRelocationMs(int taskTimerInterval)
{
    return taskTimerInterval * 12000;
}

// Legend layout: unit k from the legend's height, and the top of the value label of colour
// number 1 (red) .. 5 (blue) and of its circle. k is the panel height / 600 rounded (at least 1)
// while all five entries fit in the panel with it; where rounding up would push the blue entry
// out, k is the unrounded height / 600, which spreads the entries evenly over the panel.
double LegendUnit(int panelHeight, int labelHeight, int circleHeight);
int LegendLabelTop(double unit, int colourNumber, int labelHeight, int circleHeight);
int LegendCircleTop(double unit, int labelTop, int labelHeight);
int LegendCentredLeft(int containerWidth, int controlWidth);

// ---- Widgets shared by both mouse tasks ----

// Drawing area of a mouse task. Its picture lives in an off-screen image that the handlers
// draw into; the paint event only copies it.
class TTaskPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TTaskPaintBox(QWidget *parent = nullptr);

    // The picture at the box's current size (hidden boxes get no resize events).
    QImage &canvas();
    QColor colour() const { return Qt::black; }
    // A mark over the picture that the keyboard moves (the highlighted ring, the aiming line);
    // it is drawn on top and never into the picture. An empty path removes it.
    void setOverlay(const QPainterPath &path);
    const QPainterPath &overlay() const { return m_overlay; }
    // The task's keys, Tab among them, go to the handler first; true when it took the key.
    void setKeyHandler(std::function<bool(const QKeyEvent *)> handler)
    {
        m_keyHandler = std::move(handler);
    }

signals:
    void mouseDown(int x, int y);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void fitCanvas();
    QRect overlayArea() const;

    QImage m_canvas;
    QPainterPath m_overlay;
    std::function<bool(const QKeyEvent *)> m_keyHandler;
};

// Fills the whole box with its own colour.
void ClearPaintBox(TTaskPaintBox *box);

// The billiards step width chosen in the settings window's Edit_Schrittweite (1..50).
int SettingsStepWidth();

// A filled circle of the legend.
class TRingShape : public QWidget
{
    Q_OBJECT

public:
    TRingShape(QColor colour, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
};

// ---- The window ----

class TForm_Ringe : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Ringe(QWidget *parent = nullptr);

    TTaskPaintBox *PaintBox1 = nullptr;
    QWidget *Panel_Punkte = nullptr;
    QLabel *Label_PunktGrenze = nullptr;
    QLabel *Label_Punkte = nullptr;
    QWidget *Panel_Punktanzeige = nullptr;
    QLabel *Label_PunkteRot = nullptr;
    QLabel *Label_PunkteGelb = nullptr;
    QLabel *Label_PunkteGruen = nullptr;
    QLabel *Label_PunkteWeiss = nullptr;
    QLabel *Label_PunkteBlau = nullptr;
    TRingShape *Shape_rot = nullptr;
    TRingShape *Shape_gelb = nullptr;
    TRingShape *Shape_gruen = nullptr;
    TRingShape *Shape_weiss = nullptr;
    TRingShape *Shape_blau = nullptr;
    QTimer Timer1;

    void FormActivate() override;
    void StartRingsRun();
    void Timer1Timer();
    void PaintBox1MouseDown(int X, int Y);

    void PlaceRings();
    void DrawRingValues();
    void DrawAllRings();
    void DrawRemainingRings();

    RingsState &rings() { return m_rings; }
    // The ring the keyboard has highlighted, -1 for none.
    int highlightedRing() const { return m_highlighted; }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void createBottomPanel();
    void createLegend();
    void layOutControls();
    void layOutLegend();
    void layOutBottomPanel();
    void placeScoreLabel();
    void drawRings(bool skipHit);
    void showScore();
    void highlight(int ring);
    // Tab and Shift+Tab move the highlight; Space or Enter hits it, Escape closes the window.
    bool keyPressed(const QKeyEvent *event);

    std::array<QLabel *, RingCount> valueLabels() const;
    std::array<TRingShape *, RingCount> shapes() const;

    RingsState m_rings;
    int m_highlighted = -1;
    // Activation also follows a switch back from another program; only the first one after
    // showing starts a run.
    bool m_runPending = false;
};

extern TForm_Ringe *Form_Ringe;

// Shows the rings task again and again until it ends with OK.
void RunRingsTask();

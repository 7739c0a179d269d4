// SPDX-License-Identifier: GPL-3.0-or-later
// The rings task: ring geometry, scoring, the legend and its window.
#include "disturbance/Ringe.h"

#include "common/Controls.h"
#include "common/KeyPress.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "exercise/Muw.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

TForm_Ringe *Form_Ringe = nullptr;

// ---- Geometry and scoring ----

QColor RingColour(int ring)
{
    static const std::array<QColor, RingCount> colours = {QColor(255, 0, 0), QColor(255, 255, 0),
                                                          QColor(0, 128, 0), QColor(255, 255, 255),
                                                          QColor(0, 0, 255)};
    return colours[size_t(ring)];
}

QString RingColourName(int ring)
{
    static const std::array<QString, RingCount> names = {
        QStringLiteral("rot"), QStringLiteral("gelb"), QStringLiteral("grün"),
        QStringLiteral("weiß"), QStringLiteral("blau")};
    return names[size_t(ring)];
}

std::array<int, RingCount> RingRadiiForHeight(int height)
{
    const int unit = height < 480 ? 10 : height < 640 ? 14 : 18;
    return {unit, 2 * unit, 3 * unit, 4 * unit, 5 * unit};
}

QRect CircleBounds(QPointF centre, double radius)
{
    const int left = RoundHalfEven(centre.x() - radius);
    const int top = RoundHalfEven(centre.y() - radius);
    const int right = RoundHalfEven(centre.x() + radius);
    const int bottom = RoundHalfEven(centre.y() + radius);
    return QRect(left, top, right - left, bottom - top);
}

QPointF RotatePoint(QPointF p, QPointF c, double a)
{
    if (a == 0)
        return p;
    const double dx = p.x() - c.x();
    const double dy = p.y() - c.y();
    return QPointF(c.x() + std::cos(a) * dx - std::sin(a) * dy,
                   c.y() + std::sin(a) * dx + std::cos(a) * dy);
}

bool RingContains(const RingData &ring, QPointF at)
{
    const double dx = at.x() - ring.centre.x();
    const double dy = at.y() - ring.centre.y();
    return std::sqrt(dx * dx + dy * dy) <= ring.radius;
}

void RingsState::chooseRadii(int height)
{
    const std::array<int, RingCount> radii = RingRadiiForHeight(height);
    for (int i = 0; i < RingCount; ++i)
        rings[size_t(i)].radius = radii[size_t(i)];
}

void RingsState::place(int width, int height)
{
    Randomize();
    for (RingData &ring : rings)
        ring.centre.setX(ring.radius + Random(width - 2 * ring.radius));
    for (RingData &ring : rings)
        ring.centre.setY(ring.radius + Random(height - 2 * ring.radius));
}

void RingsState::drawValues()
{
    Randomize();
    const int red = 10 * (5 + Random(5));
    for (int i = 0; i < RingCount; ++i)
        rings[size_t(i)].value = red - 10 * i;
}

void RingsState::clearHits()
{
    for (RingData &ring : rings)
        ring.hit = false;
}

bool RingsState::allHit() const
{
    for (const RingData &ring : rings) {
        if (!ring.hit)
            return false;
    }
    return true;
}

bool RingsState::press(QPointF at, int target)
{
    const bool countDown = score > target;
    bool hitNow = false;
    for (RingData &ring : rings) {
        if (ring.hit || !RingContains(ring, at))
            continue;
        score += countDown ? -ring.value : ring.value;
        ring.hit = true;
        hitNow = true;
    }
    anyHit = anyHit || hitNow;
    return hitNow;
}

int NextRingToHighlight(const RingsState &state, int current, bool forward)
{
    const int from = current >= 0 ? current : (forward ? -1 : RingCount);
    for (int step = 1; step <= RingCount; ++step) {
        const int ring = ((from + (forward ? step : -step)) % RingCount + RingCount) % RingCount;
        if (!state.rings[size_t(ring)].hit)
            return ring;
    }
    return -1;
}

QPoint RingCentrePoint(const RingData &ring)
{
    return QPoint(RoundHalfEven(ring.centre.x()), RoundHalfEven(ring.centre.y()));
}

QPainterPath RingHighlightPath(const RingData &ring)
{
    constexpr double Clearance = 5;
    QPainterPath path;
    path.addEllipse(ring.centre, ring.radius + Clearance, ring.radius + Clearance);
    return path;
}

int DrawRingsTargetScore()
{
    return 10 * (16 + Random(15));
}

bool RingsRunWon(int score, int target, bool exactMode)
{
    return exactMode ? score == target : score > target;
}

QString RingsTargetText(int target, bool exactMode)
{
    return (exactMode ? QStringLiteral("genau zu erreichende Punktzahl:  ")
                      : QStringLiteral("zu überbietende Punktzahl:  ")) +
           QString::number(target);
}

QString RingsScoreText(int score)
{
    return QStringLiteral("erreichte Punktzahl:  ") + QString::number(score);
}

double LegendUnit(int panelHeight, int labelHeight, int circleHeight)
{
    const int rounded = std::max(1, RoundHalfEven(panelHeight / 600.0));
    const int lastTop = LegendLabelTop(rounded, RingCount, labelHeight, circleHeight);
    const int lastBottom = LegendCircleTop(rounded, lastTop, labelHeight) + circleHeight;
    if (lastBottom <= panelHeight)
        return rounded;
    return panelHeight / 600.0;
}

int LegendLabelTop(double unit, int colourNumber, int labelHeight, int circleHeight)
{
    return RoundHalfEven(100.0 * unit * colourNumber -
                         (2.0 * unit + labelHeight + circleHeight) / 2.0);
}

int LegendCircleTop(double unit, int labelTop, int labelHeight)
{
    return labelTop + labelHeight + RoundHalfEven(2.0 * unit);
}

int LegendCentredLeft(int containerWidth, int controlWidth)
{
    return RoundHalfEven((containerWidth - controlWidth) / 2.0);
}

// ---- Widgets shared by both mouse tasks ----

TTaskPaintBox::TTaskPaintBox(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TTaskPaintBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(event->rect(), canvas(), event->rect());
    if (m_overlay.isEmpty())
        return;
    // White on a black edge stands out on the black table and on every ring colour.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(m_overlay, QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(m_overlay, QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
}

bool TTaskPaintBox::event(QEvent *event)
{
    // Before the widget's own handling, which would take Tab to move the focus.
    if (event->type() == QEvent::KeyPress && m_keyHandler &&
        m_keyHandler(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::event(event);
}

void TTaskPaintBox::setOverlay(const QPainterPath &path)
{
    if (path == m_overlay)
        return;
    update(overlayArea());
    m_overlay = path;
    update(overlayArea());
}

QRect TTaskPaintBox::overlayArea() const
{
    return m_overlay.boundingRect().toAlignedRect().adjusted(-4, -4, 4, 4);
}

void TTaskPaintBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitCanvas();
}

QImage &TTaskPaintBox::canvas()
{
    fitCanvas();
    return m_canvas;
}

// The picture keeps what it had where the new size still covers it.
void TTaskPaintBox::fitCanvas()
{
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (m_canvas.size() == wanted)
        return;
    QImage resized(wanted, QImage::Format_RGB32);
    resized.fill(colour());
    QPainter painter(&resized);
    painter.drawImage(0, 0, m_canvas);
    painter.end();
    m_canvas = resized;
}

void TTaskPaintBox::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    emit mouseDown(at.x(), at.y());
}

void ClearPaintBox(TTaskPaintBox *box)
{
    box->canvas().fill(box->colour());
    box->update();
}

int SettingsStepWidth()
{
    const QComboBox *list = Form_MuW ? Form_MuW->Edit_Schrittweite : nullptr;
    const int width = list ? list->currentText().toInt() : 0;
    return width > 0 ? width : std::max(1, std::abs(BilliardStep));
}

TRingShape::TRingShape(QColor colour, QWidget *parent) : QWidget(parent), m_colour(colour) {}

void TRingShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_colour);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

// ---- The window ----

namespace {
constexpr int DesignWidth = 640;
constexpr int DesignHeight = 480;
constexpr int DesignBottomHeight = 40;
constexpr int DesignLegendWidth = 60;
constexpr int DesignShapeSize = 25;

QWidget *createPanel(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    UseSystemColours(panel);
    SetBackgroundColour(panel, ButtonFaceColour());
    panel->setGeometry(geometry);
    return panel;
}

QLabel *createBoldLabel(QWidget *parent, const QString &name, const QString &text,
                        const QColor &colour)
{
    return CreateBoldLabel(parent, name, text, colour, {}, 10, QStringLiteral("Arial"));
}
} // namespace

TForm_Ringe::TForm_Ringe(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Ringe"));
    setWindowTitle(QStringLiteral("   Störaufgabe 'Ringe treffen'") + RingsKeysHint);
    setPalette(QPalette(Qt::black));
    setAutoFillBackground(true);
    setShownMaximized(true);
    resize(DesignWidth, DesignHeight);

    PaintBox1 = new TTaskPaintBox(this);
    PaintBox1->setGeometry(0, 0, DesignWidth - DesignLegendWidth,
                           DesignHeight - DesignBottomHeight);
    connect(PaintBox1, &TTaskPaintBox::mouseDown, this, &TForm_Ringe::PaintBox1MouseDown);
    PaintBox1->setFocusPolicy(Qt::StrongFocus);
    PaintBox1->setAccessibleName(QStringLiteral("Ringe"));
    PaintBox1->setAccessibleDescription(RingsKeysHint.trimmed());
    PaintBox1->setKeyHandler([this](const QKeyEvent *event) { return keyPressed(event); });
    createBottomPanel();
    createLegend();

    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this, &TForm_Ringe::Timer1Timer);
    FormCreate();
}

void TForm_Ringe::createBottomPanel()
{
    Panel_Punkte =
        createPanel(this, QStringLiteral("Panel_Punkte"),
                    {0, DesignHeight - DesignBottomHeight, DesignWidth, DesignBottomHeight});
    Label_PunktGrenze =
        createBoldLabel(Panel_Punkte, QStringLiteral("Label_PunktGrenze"),
                        RingsTargetText(RingsTargetScore, RingsExactMode == 1), Qt::black);
    Label_Punkte = createBoldLabel(Panel_Punkte, QStringLiteral("Label_Punkte"), RingsScoreText(0),
                                   QColor(255, 0, 0));
}

void TForm_Ringe::createLegend()
{
    Panel_Punktanzeige = createPanel(
        this, QStringLiteral("Panel_Punktanzeige"),
        {DesignWidth - DesignLegendWidth, 0, DesignLegendWidth, DesignHeight - DesignBottomHeight});
    const std::array<QString, RingCount> labelNames = {
        QStringLiteral("Label_PunkteRot"), QStringLiteral("Label_PunkteGelb"),
        QStringLiteral("Label_PunkteGruen"), QStringLiteral("Label_PunkteWeiss"),
        QStringLiteral("Label_PunkteBlau")};
    const std::array<QString, RingCount> shapeNames = {
        QStringLiteral("Shape_rot"), QStringLiteral("Shape_gelb"), QStringLiteral("Shape_gruen"),
        QStringLiteral("Shape_weiss"), QStringLiteral("Shape_blau")};
    std::array<QLabel **, RingCount> labels = {&Label_PunkteRot, &Label_PunkteGelb,
                                               &Label_PunkteGruen, &Label_PunkteWeiss,
                                               &Label_PunkteBlau};
    std::array<TRingShape **, RingCount> circles = {&Shape_rot, &Shape_gelb, &Shape_gruen,
                                                    &Shape_weiss, &Shape_blau};
    for (int i = 0; i < RingCount; ++i) {
        QLabel *label = createBoldLabel(Panel_Punktanzeige, labelNames[size_t(i)],
                                        QString::number(50 - 10 * i), Qt::black);
        label->setAlignment(Qt::AlignCenter);
        label->resize(30, label->height());
        *labels[size_t(i)] = label;
        auto *shape = new TRingShape(RingColour(i), Panel_Punktanzeige);
        shape->setObjectName(shapeNames[size_t(i)]);
        shape->resize(DesignShapeSize, DesignShapeSize);
        *circles[size_t(i)] = shape;
    }
}

std::array<QLabel *, RingCount> TForm_Ringe::valueLabels() const
{
    return {Label_PunkteRot, Label_PunkteGelb, Label_PunkteGruen, Label_PunkteWeiss,
            Label_PunkteBlau};
}

std::array<TRingShape *, RingCount> TForm_Ringe::shapes() const
{
    return {Shape_rot, Shape_gelb, Shape_gruen, Shape_weiss, Shape_blau};
}

void TForm_Ringe::FormCreate()
{
    ScaleToScreen(this);
    layOutControls();
    // The legend and the score labels keep the places they get at creation; the maximised
    // window only moves the panels along its edges.
    layOutLegend();
    layOutBottomPanel();
    BilliardStep = SettingsStepWidth();
    RingsModeCode = QStringLiteral("m");
}

// Panel heights and widths keep their scaled design values; the rest follows the window.
void TForm_Ringe::layOutControls()
{
    const int bottomHeight = Panel_Punkte->height();
    const int legendWidth = Panel_Punktanzeige->width();
    Panel_Punkte->setGeometry(0, height() - bottomHeight, width(), bottomHeight);
    Panel_Punktanzeige->setGeometry(width() - legendWidth, 0, legendWidth, height() - bottomHeight);
    PaintBox1->setGeometry(0, 0, width() - legendWidth, height() - bottomHeight);
}

void TForm_Ringe::layOutLegend()
{
    const double unit =
        LegendUnit(Panel_Punktanzeige->height(), Label_PunkteRot->height(), Shape_rot->height());
    const int labelLeft = LegendCentredLeft(Panel_Punktanzeige->width(), Label_PunkteRot->width());
    const int shapeLeft = LegendCentredLeft(Panel_Punktanzeige->width(), Shape_rot->width());
    const auto labels = valueLabels();
    const auto circles = shapes();
    for (int i = 0; i < RingCount; ++i) {
        QLabel *label = labels[size_t(i)];
        const int top = LegendLabelTop(unit, i + 1, label->height(), circles[size_t(i)]->height());
        label->move(labelLeft, top);
        circles[size_t(i)]->move(shapeLeft, LegendCircleTop(unit, top, label->height()));
    }
}

void TForm_Ringe::layOutBottomPanel()
{
    const int pointSize = std::max(1, RoundHalfEven(Panel_Punkte->height() / 4.0));
    for (QLabel *label : {Label_PunktGrenze, Label_Punkte}) {
        QFont font = label->font();
        font.setPointSize(pointSize);
        label->setFont(font);
        label->adjustSize();
    }
    const int top = RoundHalfEven((Panel_Punkte->height() - Label_Punkte->height()) / 2.0);
    Label_PunktGrenze->move(Div(PaintBox1->width(), 20), top);
    placeScoreLabel();
}

void TForm_Ringe::placeScoreLabel()
{
    Label_Punkte->move(Div(Panel_Punkte->width(), 10) + Label_PunktGrenze->x() +
                           Label_PunktGrenze->width(),
                       Label_PunktGrenze->y());
}

void TForm_Ringe::resizeEvent(QResizeEvent *event)
{
    ModalForm::resizeEvent(event);
    layOutControls();
}

void TForm_Ringe::showEvent(QShowEvent *event)
{
    m_runPending = true;
    ModalForm::showEvent(event);
}

void TForm_Ringe::FormActivate()
{
    if (!m_runPending)
        return;
    m_runPending = false;
    StartRingsRun();
}

void TForm_Ringe::showScore()
{
    Label_Punkte->setText(RingsScoreText(m_rings.score));
    Label_Punkte->adjustSize();
}

void TForm_Ringe::StartRingsRun()
{
    m_rings.score = 0;
    showScore();
    m_rings.chooseRadii(PaintBox1->height());
    PlaceRings();
    DrawRingValues();
    RingsTargetScore = DrawRingsTargetScore();
    Label_PunktGrenze->setText(RingsTargetText(RingsTargetScore, RingsExactMode == 1));
    Label_PunktGrenze->adjustSize();
    ClearPaintBox(PaintBox1);
    m_rings.clearHits();
    m_rings.anyHit = false;
    m_highlighted = -1;
    DrawAllRings();
    Timer1.start(RingsRelocationMs(TaskTimerInterval));
    placeScoreLabel();
    PaintBox1->setFocus(Qt::OtherFocusReason);
}

void TForm_Ringe::PlaceRings()
{
    m_rings.place(PaintBox1->width(), PaintBox1->height());
}

void TForm_Ringe::DrawRingValues()
{
    m_rings.drawValues();
    const auto labels = valueLabels();
    for (int i = 0; i < RingCount; ++i)
        labels[size_t(i)]->setText(QString::number(m_rings.rings[size_t(i)].value));
}

void TForm_Ringe::drawRings(bool skipHit)
{
    QPainter painter(&PaintBox1->canvas());
    painter.setPen(QPen(PaintBox1->colour(), 1));
    for (int i = 0; i < RingCount; ++i) {
        const RingData &ring = m_rings.rings[size_t(i)];
        if (skipHit && ring.hit)
            continue;
        painter.setBrush(RingColour(i));
        painter.drawEllipse(CircleBounds(ring.centre, ring.radius));
    }
    painter.end();
    PaintBox1->update();
    // The highlight follows its ring to a new place and leaves with it when it is hit.
    highlight(m_highlighted);
}

void TForm_Ringe::highlight(int ring)
{
    m_highlighted = ring;
    const bool shown = ring >= 0 && ring < RingCount && !m_rings.rings[size_t(ring)].hit;
    PaintBox1->setOverlay(shown ? RingHighlightPath(m_rings.rings[size_t(ring)]) : QPainterPath());
    // A screen reader tells the ring the highlight stands on.
    const QString name = shown ? QStringLiteral("Ring %1, %2 Punkte")
                                     .arg(RingColourName(ring))
                                     .arg(m_rings.rings[size_t(ring)].value)
                               : QStringLiteral("Ringe");
    if (PaintBox1->accessibleName() != name)
        PaintBox1->setAccessibleName(name);
}

bool TForm_Ringe::keyPressed(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        const bool forward =
            event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        highlight(NextRingToHighlight(m_rings, m_highlighted, forward));
    } else if (IsPressKey(event)) {
        // One press is one hit, as a click is.
        if (!event->isAutoRepeat() && m_highlighted >= 0 &&
            !m_rings.rings[size_t(m_highlighted)].hit) {
            const QPoint at = RingCentrePoint(m_rings.rings[size_t(m_highlighted)]);
            PaintBox1MouseDown(at.x(), at.y());
        }
    } else if (event->key() == Qt::Key_Escape) {
        close();
    } else {
        return false;
    }
    return true;
}

void TForm_Ringe::DrawAllRings()
{
    drawRings(false);
}

void TForm_Ringe::DrawRemainingRings()
{
    ClearPaintBox(PaintBox1);
    drawRings(true);
}

void TForm_Ringe::Timer1Timer()
{
    m_rings.clearHits();
    m_rings.anyHit = false;
    ClearPaintBox(PaintBox1);
    PlaceRings();
    DrawAllRings();
    Timer1.start(RingsRelocationMs(TaskTimerInterval));
}

void TForm_Ringe::PaintBox1MouseDown(int X, int Y)
{
    m_rings.press(QPointF(X, Y), RingsTargetScore);
    showScore();
    if (RingsRunWon(m_rings.score, RingsTargetScore, RingsExactMode == 1)) {
        Label_Punkte->setText(QStringLiteral("0"));
        Timer1.stop();
        done(QDialog::Accepted);
        return;
    }
    if (!m_rings.anyHit)
        return;
    if (m_rings.allHit()) {
        m_rings.clearHits();
        PlaceRings();
    }
    DrawRemainingRings();
}

void RunRingsTask()
{
    int result = QDialog::Rejected;
    do {
        result = Form_Ringe->ShowModal();
    } while (result != QDialog::Accepted);
}

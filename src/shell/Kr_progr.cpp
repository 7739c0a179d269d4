// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with its menu and the pin animation.
#include "shell/Kr_progr.h"

#include "colours/Farben.h"
#include "common/Controls.h"
#include "common/MessageBoxes.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "common/StartupTimes.h"
#include "disturbance/Hauptsta.h"
#include "exercise/Muw.h"
#include "shell/Info.h"

#include <QExposeEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>
#include <QToolButton>
#include <QWindow>

TForm_Prgr *Form_Prgr = nullptr;

Byte PinSetUpOrder = PinsLeftToRight;
Byte CurrentPin = 0;
Byte PinTicks = 0;
std::bitset<PinCount> PinsStanding;
int PinInterval = 0;

namespace {
constexpr int DesignPanelHeight = 33;

QToolButton *createSpeedButton(QWidget *parent, const QString &name, const QString &caption,
                               const QRect &geometry)
{
    QToolButton *button = CreateFlatButton(parent, name, caption);
    button->setGeometry(geometry);
    return button;
}
} // namespace

namespace {
constexpr int PinsPaintInterval = 300;
const QString PinLetters = QStringLiteral("Fokulantorium");

void setTimerInterval(QTimer &timer, int milliseconds)
{
    if (milliseconds > 0)
        timer.start(milliseconds);
    else
        timer.stop();
}
} // namespace

PinMeasures PinMeasuresFor(int width, int height)
{
    PinMeasures m;
    m.height = height;
    m.cx = width / 2;
    m.baseY = height - height / 5;
    m.n = std::max(0, height / 12);
    m.r0 = 2 * RoundHalfEven(m.n / 3.0);
    return m;
}

int PinLift(const PinMeasures &m, int layer)
{
    if (!m.drawable())
        return 0;
    return RoundHalfEven(double(m.height / 2) / m.n * layer);
}

int PinHalfHeight(const PinMeasures &m, int layer)
{
    return RoundHalfEven(m.r0 - layer * 2 / 3.0);
}

PinLayerBounds PinLayerEllipse(const PinMeasures &m, int pin, int layer)
{
    const int x = m.cx - (6 - pin) * layer;
    const int y = m.baseY - PinLift(m, layer);
    const int a = m.n - layer;
    const int b = PinHalfHeight(m, layer);
    return {x - a, y - b, x + a, y + b};
}

QPoint PinLetterTopLeft(const PinMeasures &m, int pin)
{
    const int x = m.cx - (6 - pin) * m.n - PinLetterPointSize(m.height) / 3;
    const int y = m.baseY - PinLift(m, m.n) - PinHalfHeight(m, m.n) - m.height / 8;
    return {x, y};
}

QColor PinColour(int number)
{
    static const std::array<QRgb, 15> colours = {
        qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),   qRgb(0, 0, 128),
        qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128), qRgb(192, 192, 192),
        qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),   qRgb(0, 0, 255),
        qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    if (number < 1 || number > int(colours.size()))
        return Qt::black;
    return QColor(colours[size_t(number - 1)]);
}

QString PinLetter(int pin)
{
    if (pin < 0 || pin >= PinCount)
        return QString();
    return PinLetters.mid(pin, 1);
}

QRegion UncoveredDrawingArea(const QRegion &exposed, const QRect &drawingArea,
                             const QRegion &ownPopupArea)
{
    return exposed.intersected(drawingArea).subtracted(ownPopupArea);
}

namespace {
// Qt deprecates this accessor in favour of paint events, but a widget drawn from the backing
// store gets no paint event when it is uncovered, so the window's exposure is all there is.
QRegion exposedRegion(const QExposeEvent *event)
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    return event->region();
    QT_WARNING_POP
}
} // namespace

TPaintBox::TPaintBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Only copies the picture: a repaint the animation asked for must never start a set-up.
void TPaintBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (MainBitmap.isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), MainBitmap, event->rect());
}

void TPaintBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit sizeChanged();
}

void TPaintBox::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Uncovering reaches only the top-level window, so the area listens there.
    QWindow *handle = window()->windowHandle();
    if (handle && handle != m_watchedWindow) {
        if (m_watchedWindow)
            m_watchedWindow->removeEventFilter(this);
        m_watchedWindow = handle;
        handle->installEventFilter(this);
    }
    emit exposed();
}

void TPaintBox::ignoreExposuresBy(QWidget *popup)
{
    popup->installEventFilter(this);
}

bool TPaintBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedWindow) {
        if (event->type() == QEvent::Expose && m_watchedWindow->isExposed() && isVisible())
            windowExposed(exposedRegion(static_cast<QExposeEvent *>(event)));
    } else if (event->type() == QEvent::Hide) {
        // The platform reports the uncovering only after the popup has gone.
        if (auto *popup = qobject_cast<QWidget *>(watched))
            m_ownPopupArea += popup->frameGeometry();
    }
    return QWidget::eventFilter(watched, event);
}

void TPaintBox::windowExposed(const QRegion &region)
{
    const QWidget *top = window();
    const QPoint origin = top->mapToGlobal(QPoint(0, 0));
    const QRect area(mapTo(top, QPoint(0, 0)), size());
    const QRegion uncovered =
        UncoveredDrawingArea(region, area, m_ownPopupArea.translated(-origin));
    // Each place is reported once after a popup has gone; a later exposure there is another
    // window's.
    m_ownPopupArea -= region.translated(origin);
    if (!uncovered.isEmpty())
        emit exposed();
}

TForm_Prgr::TForm_Prgr(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form_Prgr"));
    setWindowTitle(QStringLiteral("Fokulantorium"));
    resize(640, 480);

    // The window is black; menu and button bar keep the system's button face.
    auto *client = new QWidget(this);
    client->setPalette(QPalette(Qt::black));
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    createButtonBar();
    PaintBox1 = new TPaintBox(client);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setGeometry(0, DesignPanelHeight, 640, 480 - DesignPanelHeight);
    connect(PaintBox1, &TPaintBox::sizeChanged, this, &TForm_Prgr::paintBoxSizeChanged);
    connect(PaintBox1, &TPaintBox::exposed, this, &TForm_Prgr::requestSetUpOnPaint);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this, &TForm_Prgr::Timer1Timer);

    createMenu();
    FormCreate();
}

void TForm_Prgr::createButtonBar()
{
    Panel1 = new QWidget(centralWidget());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    UseSystemColours(Panel1);
    Panel1->setAutoFillBackground(true);
    Panel1->setGeometry(0, 0, 640, DesignPanelHeight);
    SpeedBut_MuW = createSpeedButton(Panel1, QStringLiteral("SpeedBut_MuW"),
                                     QStringLiteral("&Merken und Wiedergeben"), {8, 4, 180, 25});
    SpeedBut_FarbenMerken = createSpeedButton(Panel1, QStringLiteral("SpeedBut_FarbenMerken"),
                                              QStringLiteral("Farben merken"), {196, 4, 120, 25});
    SpeedBut_Kegel = createSpeedButton(Panel1, QStringLiteral("SpeedBut_Kegel"),
                                       QStringLiteral("&Kegel neu setzen"), {324, 4, 140, 25});
    connect(SpeedBut_MuW, &QToolButton::clicked, this, &TForm_Prgr::MerkenundWiedergeben1Click);
    connect(SpeedBut_FarbenMerken, &QToolButton::clicked, this,
            &TForm_Prgr::SpeedBut_FarbenMerkenClick);
    connect(SpeedBut_Kegel, &QToolButton::clicked, this, &TForm_Prgr::SpeedBut_KegelClick);
}

void TForm_Prgr::createMenu()
{
    auto addItem = [this](QMenu *menu, const QString &name, const QString &caption,
                          void (TForm_Prgr::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    Beenden1 = addItem(file, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"),
                       &TForm_Prgr::Beenden1Click);

    QMenu *games = bar->addMenu(QStringLiteral("&Spiele"));
    MerkenundWiedergeben1 =
        addItem(games, QStringLiteral("MerkenundWiedergeben1"),
                QStringLiteral("&Merken und Wiedergeben"), &TForm_Prgr::MerkenundWiedergeben1Click);
    Farben_merken = addItem(games, QStringLiteral("Farben_merken"), QStringLiteral("Farben merken"),
                            &TForm_Prgr::Farben_merkenClick);
    games->addSeparator();
    QMenu *pins = games->addMenu(QStringLiteral("&Kegel neu setzen"));
    Kegelneusetzen1 = pins->menuAction();
    Kegelneusetzen1->setObjectName(QStringLiteral("Kegelneusetzen1"));
    sehrlangsam1 = addItem(pins, QStringLiteral("sehrlangsam1"), QStringLiteral("&sehr langsam"),
                           &TForm_Prgr::sehrlangsam1Click);
    langsam1 = addItem(pins, QStringLiteral("langsam1"), QStringLiteral("&langsam"),
                       &TForm_Prgr::langsam1Click);
    mittel1 = addItem(pins, QStringLiteral("mittel1"), QStringLiteral("&mittel"),
                      &TForm_Prgr::mittel1Click);
    schnell1 = addItem(pins, QStringLiteral("schnell1"), QStringLiteral("&schnell"),
                       &TForm_Prgr::schnell1Click);
    rasend1 = addItem(pins, QStringLiteral("rasend1"), QStringLiteral("&rasend "),
                      &TForm_Prgr::rasend1Click);
    sehrlangsam1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    langsam1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mittel1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    schnell1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    rasend1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));

    QMenu *info = bar->addMenu(QStringLiteral("&Info"));
    Info2 =
        addItem(info, QStringLiteral("Info2"), QStringLiteral("&Info"), &TForm_Prgr::Info2Click);
    Haftung1 = addItem(info, QStringLiteral("Haftung1"), QStringLiteral("Haftung"),
                       &TForm_Prgr::Haftung1Click);

    for (QMenu *menu : bar->findChildren<QMenu *>())
        PaintBox1->ignoreExposuresBy(menu);
}

void TForm_Prgr::FormCreate()
{
    ResultSaved = 1;
    BackgroundTextOn = 0;
    ScaleToScreen(this);
    m_panelHeight = Panel1->height();
    PointsPossible = 0;
    layOutClientArea();
    MainBitmap = QImage(PaintBox1->size(), QImage::Format_RGB32);
    MainBitmap.fill(Qt::black);
    PaintBox1->update();
    FillCapitalsTable();
    PlayerName = NoPlayerName;
    StartupTimes::Mark(StartupTimes::Step::CapitalsStart);
    HandleInOutErrors(WriteAndReadCapitalsFile);
    StartupTimes::Mark(StartupTimes::Step::CapitalsEnd);
    setWindowState(windowState() | Qt::WindowMaximized);
    UseVisibleFocusFrames(this);
}

void TForm_Prgr::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layOutClientArea();
}

void TForm_Prgr::layOutClientArea()
{
    const QWidget *client = centralWidget();
    if (!client || m_panelHeight == 0)
        return;
    Panel1->setGeometry(0, 0, client->width(), m_panelHeight);
    PaintBox1->setGeometry(0, m_panelHeight, client->width(),
                           std::max(0, client->height() - m_panelHeight));
}

void TForm_Prgr::paintBoxSizeChanged()
{
    fitMainBitmapToPaintBox();
    if (PaintBox1->isVisible())
        requestSetUpOnPaint();
}

void TForm_Prgr::requestSetUpOnPaint()
{
    if (m_setUpRequested)
        return;
    m_setUpRequested = true;
    QTimer::singleShot(0, this, [this] {
        m_setUpRequested = false;
        if (PaintBox1->isVisible())
            PaintBox1Paint();
    });
}

void TForm_Prgr::fitMainBitmapToPaintBox()
{
    if (MainBitmap.size() == PaintBox1->size())
        return;
    QImage resized(PaintBox1->size(), QImage::Format_RGB32);
    resized.fill(Qt::black);
    MainBitmap = resized;
}

void TForm_Prgr::MerkenundWiedergeben1Click()
{
    Form_MuW->ShowModal();
}

void TForm_Prgr::SpeedBut_FarbenMerkenClick()
{
    Form_Farben->ShowModal();
}

void TForm_Prgr::Farben_merkenClick()
{
    Form_Farben->ShowModal();
}

void TForm_Prgr::Info2Click()
{
    Form_Info->ShowModal();
}

void TForm_Prgr::Haftung1Click()
{
    ShowInformation(LiabilityNotice, this);
}

void TForm_Prgr::Beenden1Click()
{
    close();
}

void TForm_Prgr::SpeedBut_KegelClick()
{
    SetUpPins(400);
}

void TForm_Prgr::sehrlangsam1Click()
{
    SetUpPins(1000);
}

void TForm_Prgr::langsam1Click()
{
    SetUpPins(600);
}

void TForm_Prgr::mittel1Click()
{
    SetUpPins(400);
}

void TForm_Prgr::schnell1Click()
{
    SetUpPins(140);
}

void TForm_Prgr::rasend1Click()
{
    SetUpPins(50);
}

void TForm_Prgr::PaintBox1Paint()
{
    SetUpPins(PinsPaintInterval);
}

void TForm_Prgr::SetUpPins(int interval)
{
    Randomize();
    PinSetUpOrder = Byte(Random(3));
    PinsStanding.reset();
    if (PinSetUpOrder == PinsLeftToRight) {
        CurrentPin = 0;
    } else if (PinSetUpOrder == PinsRightToLeft) {
        CurrentPin = PinCount - 1;
    } else {
        CurrentPin = Byte(Random(PinCount));
        PinsStanding.set(CurrentPin);
    }
    PinTicks = 0;
    DrawPin(CurrentPin, true);
    PinInterval = interval;
    setTimerInterval(Timer1, interval);
}

void TForm_Prgr::Timer1Timer()
{
    // A tick left over after the last pin must not draw a fourteenth one.
    if (PinTicks >= PinCount - 1) {
        Timer1.stop();
        return;
    }
    Randomize();
    if (PinSetUpOrder == PinsAtRandom) {
        int pin = Random(PinCount);
        while (PinsStanding.test(size_t(pin)))
            pin = Random(PinCount);
        CurrentPin = Byte(pin);
        PinsStanding.set(size_t(pin));
    }
    ++PinTicks;
    if (PinSetUpOrder == PinsLeftToRight)
        ++CurrentPin;
    else if (PinSetUpOrder == PinsRightToLeft)
        --CurrentPin;
    DrawPin(CurrentPin, false);
    if (PinTicks == PinCount - 1)
        Timer1.stop();
}

void TForm_Prgr::DrawPin(int pin, bool clear)
{
    fitMainBitmapToPaintBox();
    if (MainBitmap.isNull())
        return;
    const PinMeasures m = PinMeasuresFor(MainBitmap.width(), MainBitmap.height());
    if (clear)
        MainBitmap.fill(Qt::black);
    QPainter painter(&MainBitmap);
    if (m.drawable()) {
        Randomize();
        const QColor topBand = drawPinLayers(painter, m, pin);
        drawPinLetter(painter, m, pin, topBand);
    }
    painter.end();
    PaintBox1->update();
}

// Returns the fill colour of the top band, which the letter takes.
QColor TForm_Prgr::drawPinLayers(QPainter &painter, const PinMeasures &m, int pin)
{
    QColor fill = Qt::black;
    for (int layer = 0; layer <= m.n; ++layer) {
        if (StartsPinBand(layer)) {
            fill = PinColour(1 + Random(PinColourCount));
            painter.setPen(Qt::black);
        } else {
            painter.setPen(fill);
        }
        painter.setBrush(fill);
        const PinLayerBounds b = PinLayerEllipse(m, pin, layer);
        painter.drawEllipse(QRect(b.left, b.top, b.right - b.left, b.bottom - b.top));
    }
    return fill;
}

void TForm_Prgr::drawPinLetter(QPainter &painter, const PinMeasures &m, int pin,
                               const QColor &colour)
{
    const int pointSize = PinLetterPointSize(m.height);
    if (pointSize <= 0)
        return;
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    painter.setFont(font);
    painter.setPen(colour);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::black);
    const QPoint topLeft = PinLetterTopLeft(m, pin);
    painter.drawText(topLeft.x(), topLeft.y() + painter.fontMetrics().ascent(), PinLetter(pin));
}

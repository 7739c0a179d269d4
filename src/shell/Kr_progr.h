// SPDX-License-Identifier: GPL-3.0-or-later
// The main window with its menu and the pin animation.
#pragma once

#include "common/SharedState.h"

#include <QColor>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <bitset>

class QAction;
class QPainter;
class QToolButton;
class QWindow;

// Pin animation: thirteen pins on one base point, each topped by a letter of the name.
constexpr int PinCount = 13;
constexpr int PinColourCount = 14;

// Measures of the pins for a drawing area of the given size.
struct PinMeasures
{
    int height = 0;
    int cx = 0;    // x of the common base point
    int baseY = 0; // y of the common base point
    int n = 0;     // number of layers minus one, and half-width of the bottom layer
    int r0 = 0;    // half-height of the bottom layer

    // Below 12 pixels there are no layers, and the lift would divide by zero.
    bool drawable() const { return n > 0; }
};
PinMeasures PinMeasuresFor(int width, int height);

// Ellipse bounds of one layer; right and bottom are coordinates, not sizes.
struct PinLayerBounds
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PinLayerBounds &) const = default;
};
// Height of a layer above the base point; layer n is H div 2 up.
int PinLift(const PinMeasures &m, int layer);
int PinHalfHeight(const PinMeasures &m, int layer);
PinLayerBounds PinLayerEllipse(const PinMeasures &m, int pin, int layer);
// Every fourth layer starts a band of a new colour, outlined in black.
constexpr bool StartsPinBand(int layer)
{
    return layer % 4 == 0;
}
constexpr int PinLetterPointSize(int height)
{
    return height / 24;
}
QPoint PinLetterTopLeft(const PinMeasures &m, int pin);
// Colour numbers 1..15 of the standard palette; others are black.
QColor PinColour(int number);
// Letter of pin 0..12: "F", "o", "k", ...
QString PinLetter(int pin);

enum PinOrder : Byte
{
    PinsLeftToRight = 0,
    PinsAtRandom = 1,
    PinsRightToLeft = 2
};

// The part of a window's exposed region (window coordinates) that shows the drawing area and
// was not merely under one of the program's own popups; only this part starts a set-up.
QRegion UncoveredDrawingArea(const QRegion &exposed, const QRect &drawingArea,
                             const QRegion &ownPopupArea);

extern Byte PinSetUpOrder;
extern Byte CurrentPin;
extern Byte PinTicks;
extern std::bitset<PinCount> PinsStanding;
extern int PinInterval;

// The drawing area of the main window; it shows MainBitmap.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TPaintBox(QWidget *parent = nullptr);

    // The closing of this popup (a menu of the window) uncovers the area without being an
    // exposure by another window.
    void ignoreExposuresBy(QWidget *popup);

signals:
    void sizeChanged();
    // The area became visible or another window uncovered it; the program's own repaints and
    // menus never say so.
    void exposed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void windowExposed(const QRegion &region);

    QPointer<QWindow> m_watchedWindow;
    // Global area under the own popups that have gone and whose uncovering is still to come.
    QRegion m_ownPopupArea;
};

class TForm_Prgr : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm_Prgr(QWidget *parent = nullptr);

    QWidget *Panel1 = nullptr;
    QToolButton *SpeedBut_MuW = nullptr;
    QToolButton *SpeedBut_FarbenMerken = nullptr;
    QToolButton *SpeedBut_Kegel = nullptr;
    TPaintBox *PaintBox1 = nullptr;
    QTimer Timer1;

    QAction *Beenden1 = nullptr;
    QAction *MerkenundWiedergeben1 = nullptr;
    QAction *Farben_merken = nullptr;
    QAction *Kegelneusetzen1 = nullptr;
    QAction *sehrlangsam1 = nullptr;
    QAction *langsam1 = nullptr;
    QAction *mittel1 = nullptr;
    QAction *schnell1 = nullptr;
    QAction *rasend1 = nullptr;
    QAction *Info2 = nullptr;
    QAction *Haftung1 = nullptr;

    void MerkenundWiedergeben1Click();
    void SpeedBut_FarbenMerkenClick();
    void Farben_merkenClick();
    void Info2Click();
    void Haftung1Click();
    void Beenden1Click();

    // Pin animation
    void SpeedBut_KegelClick();
    void sehrlangsam1Click();
    void langsam1Click();
    void mittel1Click();
    void schnell1Click();
    void rasend1Click();
    void PaintBox1Paint();
    void Timer1Timer();

    void SetUpPins(int interval);
    void DrawPin(int pin, bool clear);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void createMenu();
    void createButtonBar();
    void layOutClientArea();
    // MainBitmap follows the drawing area's size before the next drawing.
    void fitMainBitmapToPaintBox();
    void paintBoxSizeChanged();
    // Show, uncover and resize can come together; they start one set-up.
    void requestSetUpOnPaint();
    QColor drawPinLayers(QPainter &painter, const PinMeasures &m, int pin);
    void drawPinLetter(QPainter &painter, const PinMeasures &m, int pin, const QColor &colour);

    int m_panelHeight = 0;
    bool m_setUpRequested = false;
};

extern TForm_Prgr *Form_Prgr;

inline const QString LiabilityNotice = QStringLiteral(
    "Programmfehler sind trotz entsprechender Bemühungen\nnicht auszuschließen.\n"
    "Für Folgen, die sich aus evtl. auftretenden Programmfehlern ergeben,\nwird nicht gehaftet!");

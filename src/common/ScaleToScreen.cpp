// SPDX-License-Identifier: GPL-3.0-or-later
// Display scaling: the factor every window applies to itself at creation, and window placement.
#include "common/ScaleToScreen.h"

#include "common/Numbers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
bool scaledMode = true;
int appliedPercent = 100;

QRect scaledRect(const QRect &r, double f)
{
    return QRect(RoundHalfEven(r.x() * f), RoundHalfEven(r.y() * f), RoundHalfEven(r.width() * f),
                 RoundHalfEven(r.height() * f));
}

// Menus and list popups are windows of their own and take no font from the window they belong
// to, so they are collected with it.
bool isPopupOf(const QWidget *child)
{
    return qobject_cast<const QMenu *>(child) ||
           qobject_cast<const QComboBox *>(child->parentWidget());
}

void collectFonts(QWidget *widget, QList<QPair<QWidget *, QFont>> &fonts)
{
    fonts.append({widget, widget->font()});
    for (QObject *object : widget->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && (!child->isWindow() || isPopupOf(child)))
            collectFonts(child, fonts);
    }
}

QFont grown(QFont font, double f)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * f);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, RoundHalfEven(font.pixelSize() * f)));
    return font;
}

// Every font is read before any is changed, so inherited and own fonts grow exactly once.
void scaleFonts(QWidget *window, double f)
{
    // A list builds its popup only when first opened; it must exist to be scaled with the list.
    for (QComboBox *list : window->findChildren<QComboBox *>())
        list->view();
    QList<QPair<QWidget *, QFont>> fonts;
    collectFonts(window, fonts);
    for (auto &[widget, font] : fonts)
        widget->setFont(grown(font, f));
}

void scaleChildGeometries(QWidget *parent, double f)
{
    for (QObject *object : parent->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow())
            continue;
        child->setGeometry(scaledRect(child->geometry(), f));
        scaleChildGeometries(child, f);
    }
}

// Labels sized to their text at design size: a grown font's text is not always exactly as much
// wider as the grown label, so these are sized to their text again once grown.
QList<QLabel *> labelsSizedToTheirText(const QWidget *window)
{
    QList<QLabel *> labels;
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->wordWrap() && label->size() == label->sizeHint())
            labels.append(label);
    }
    return labels;
}

// The width a screen of 4:3 shape and the given height has.
double widthForHeight(double height)
{
    return height * 4.0 / 3.0;
}

double factorForWidth(double w, int p)
{
    if (w > DesignScreenWidth) {
        const double x = w / DesignScreenWidth * 100.0;
        return p > DesignPixelsPerInch ? x * (double(DesignPixelsPerInch) / p) : x;
    }
    if (w == DesignScreenWidth)
        return 100.0 - (p - DesignPixelsPerInch);
    if (w > 0) {
        const double shrink = (DesignScreenWidth / w - 1.0) * 100.0;
        return p <= DesignPixelsPerInch ? 100.0 - shrink : 100.0 - 2.0 * shrink;
    }
    return 100.0;
}

QScreen *screenOf(const QWidget *window)
{
    QScreen *screen = window ? window->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}
} // namespace

int ScaleFactorPercent(int width, int height, int pixelsPerInch)
{
    return RoundHalfEven(std::min(factorForWidth(width, pixelsPerInch),
                                  factorForWidth(widthForHeight(height), pixelsPerInch)));
}

void SetScaledMode(bool on)
{
    scaledMode = on;
}

bool ScaledMode()
{
    return scaledMode;
}

void ScaleWidgetTree(QWidget *window, int percent)
{
    if (percent == 100 || percent <= 0)
        return;
    const double f = percent / 100.0;
    window->resize(RoundHalfEven(window->width() * f), RoundHalfEven(window->height() * f));
    const QList<QLabel *> sizedToText = labelsSizedToTheirText(window);
    scaleFonts(window, f);
    scaleChildGeometries(window, f);
    for (QLabel *label : sizedToText)
        label->resize(label->size().expandedTo(label->sizeHint()));
    // The glyph beside a button's caption keeps its size against the text.
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->icon().isNull())
            button->setIconSize(button->iconSize() * f);
    }
}

void ScaleToScreen(QWidget *window)
{
    if (!scaledMode)
        return;
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const int pixelsPerInch = RoundHalfEven(screen->logicalDotsPerInch());
    const QRect room = screen->availableGeometry().marginsRemoved(WindowFrame);
    appliedPercent = ScaleFactorPercent(room.width(), room.height(), pixelsPerInch);
    ScaleWidgetTree(window, appliedPercent);
    // A window designed larger than the screen's design size would still have to fit.
    window->resize(std::min(window->width(), room.width()),
                   std::min(window->height(), room.height()));
}

int ScreenScalePercent()
{
    return appliedPercent;
}

QFont ScaledFont(const QFont &designFont)
{
    return grown(designFont, appliedPercent / 100.0);
}

void UseScaledFont(QWidget *window)
{
    if (appliedPercent != 100)
        window->setFont(ScaledFont(QApplication::font(window)));
}

QMargins FrameMargins(const QWidget *window)
{
    // A window never shown has no frame yet; it will get about the designed one.
    if (!window->testAttribute(Qt::WA_WState_Created) ||
        window->frameGeometry() == window->geometry())
        return WindowFrame;
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

void CentreOnScreen(QWidget *window)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const QMargins frame = FrameMargins(window);
    const QSize outer = window->size().grownBy(frame);
    const QRect area = screen->availableGeometry();
    // The client area's place: a position given with move() would count the frame on some
    // platforms and not on others before the window was shown.
    window->setGeometry(area.x() + (area.width() - outer.width()) / 2 + frame.left(),
                        area.y() + (area.height() - outer.height()) / 2 + frame.top(),
                        window->width(), window->height());
}

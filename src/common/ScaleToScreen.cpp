// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ScaleToScreen.h"

#include "common/Numbers.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
bool scaledMode = true;

QRect scaledRect(const QRect &r, double f)
{
    return QRect(RoundHalfEven(r.x() * f), RoundHalfEven(r.y() * f), RoundHalfEven(r.width() * f),
                 RoundHalfEven(r.height() * f));
}

void collectFonts(QWidget *widget, QList<QPair<QWidget *, QFont>> &fonts)
{
    fonts.append({widget, widget->font()});
    for (QObject *object : widget->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow())
            collectFonts(child, fonts);
    }
}

// Every font is read before any is changed, so inherited and own fonts grow exactly once.
void scaleFonts(QWidget *window, double f)
{
    QList<QPair<QWidget *, QFont>> fonts;
    collectFonts(window, fonts);
    for (auto &[widget, font] : fonts) {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * f);
        else if (font.pixelSize() > 0)
            font.setPixelSize(std::max(1, RoundHalfEven(font.pixelSize() * f)));
        widget->setFont(font);
    }
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
} // namespace

int ScaleFactorPercent(int w, int p)
{
    double x = 100.0;
    if (w > DesignScreenWidth) {
        x = double(w) / DesignScreenWidth * 100.0;
        if (p > DesignPixelsPerInch)
            x = double(w) / DesignScreenWidth * (double(DesignPixelsPerInch) / p) * 100.0;
    } else if (w == DesignScreenWidth) {
        x = 100.0 - (p - DesignPixelsPerInch);
    } else if (w > 0) {
        const double shrink = (double(DesignScreenWidth) / w - 1.0) * 100.0;
        x = p <= DesignPixelsPerInch ? 100.0 - shrink : 100.0 - 2.0 * shrink;
    }
    return RoundHalfEven(x);
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
    scaleFonts(window, f);
    scaleChildGeometries(window, f);
}

void ScaleToScreen(QWidget *window)
{
    if (!scaledMode)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const int pixelsPerInch = RoundHalfEven(screen->logicalDotsPerInch());
    ScaleWidgetTree(window, ScaleFactorPercent(screen->geometry().width(), pixelsPerInch));
}

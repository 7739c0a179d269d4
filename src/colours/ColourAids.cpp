// SPDX-License-Identifier: GPL-3.0-or-later
// Aids for players who cannot tell the colours apart: names, symbols, contrast and keys.
#include "colours/ColourAids.h"

#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
// Shapes are drawn in a unit square and then fitted to the area; each uses most of the
// square so that all six look equally heavy.
QPainterPath closedPolygon(const QPolygonF &corners)
{
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

QPainterPath unitSymbol(int code)
{
    QPainterPath path;
    switch (code) {
    case 1:
        path.addEllipse(QRectF(0.0, 0.0, 1.0, 1.0));
        break;
    case 2:
        path = closedPolygon({{0.5, 0.04}, {1.0, 0.94}, {0.0, 0.94}});
        break;
    case 3:
        path.addRect(QRectF(0.08, 0.08, 0.84, 0.84));
        break;
    case 4:
        path = closedPolygon({{0.5, 0.0}, {1.0, 0.5}, {0.5, 1.0}, {0.0, 0.5}});
        break;
    case 5: {
        // Five points, drawn as one simple ten-corner outline so no fill rule is involved.
        const double outer = 1.0 / (2.0 * std::cos(std::numbers::pi / 10.0));
        const double inner = outer * 0.4;
        const double height = outer * (1.0 + std::sin(3.0 * std::numbers::pi / 10.0));
        const QPointF centre(0.5, outer + (1.0 - height) / 2.0);
        QPolygonF star;
        for (int corner = 0; corner < 10; ++corner) {
            const double angle = -std::numbers::pi / 2.0 + corner * std::numbers::pi / 5.0;
            const double radius = corner % 2 == 0 ? outer : inner;
            star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
        }
        path = closedPolygon(star);
        break;
    }
    case 6: {
        constexpr double near = 0.32;
        constexpr double far = 0.68;
        path = closedPolygon({{near, 0.0},
                              {far, 0.0},
                              {far, near},
                              {1.0, near},
                              {1.0, far},
                              {far, far},
                              {far, 1.0},
                              {near, 1.0},
                              {near, far},
                              {0.0, far},
                              {0.0, near},
                              {near, near}});
        break;
    }
    default:
        break;
    }
    return path;
}
} // namespace

QString ColourNameOfCode(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("rot");
    case 2:
        return QStringLiteral("blau");
    case 3:
        return QStringLiteral("grün");
    case 4:
        return QStringLiteral("gelb");
    case 5:
        return QStringLiteral("braun");
    case 6:
        return QStringLiteral("grau");
    default:
        return QString();
    }
}

QPainterPath ColourSymbolPath(int code, const QRectF &area)
{
    const QPainterPath unit = unitSymbol(code);
    if (unit.isEmpty() || area.isEmpty())
        return QPainterPath();
    const double side = std::min(area.width(), area.height());
    const QPointF origin = area.center() - QPointF(side / 2.0, side / 2.0);
    QTransform fit;
    fit.translate(origin.x(), origin.y());
    fit.scale(side, side);
    return fit.map(unit);
}

QColor SymbolColourOn(const QColor &background)
{
    return BlackOrWhiteAgainst(background);
}

int ColourCodeOfKey(int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::NoModifier)
        return 0;
    if (key < Qt::Key_1 || key > Qt::Key_6)
        return 0;
    return 1 + (key - Qt::Key_1);
}

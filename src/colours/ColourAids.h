// SPDX-License-Identifier: GPL-3.0-or-later
// Aids for players who cannot tell the colours apart: names, symbols, contrast and keys.
#pragma once

// Relative luminance and contrast ratios come with the controls' helpers.
#include "common/Controls.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QString>

// Colour codes 1..6 by name: "rot", "blau", "grün", "gelb", "braun", "grau"; empty otherwise.
QString ColourNameOfCode(int code);

// The symbol that goes with a colour code, as an outline filling the largest square
// centred in `area`: 1 circle, 2 triangle, 3 square, 4 diamond, 5 star, 6 cross.
// Empty for other codes.
QPainterPath ColourSymbolPath(int code, const QRectF &area);

// Black or white, whichever stands out more against `background`.
QColor SymbolColourOn(const QColor &background);

// The colour code 1..6 that a key answers for (main row or number pad), 0 for any other
// key or when a modifier other than the number pad's is held.
int ColourCodeOfKey(int key, Qt::KeyboardModifiers modifiers);

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// Every window is designed at 640 pixels screen width and 96 pixels per inch.
constexpr int DesignScreenWidth = 640;
constexpr int DesignPixelsPerInch = 96;

// The factor M (percent) for screen width W and logical pixels per inch P.
int ScaleFactorPercent(int screenWidth, int pixelsPerInch);

// Scaled mode: when off, ScaleToScreen leaves windows at their design size.
void SetScaledMode(bool on);
bool ScaledMode();

// Scales the window, all its controls and their fonts once by M / 100.
void ScaleToScreen(QWidget *window);
// The same with a given factor (percent), for tests and for windows built before a screen exists.
void ScaleWidgetTree(QWidget *window, int percent);

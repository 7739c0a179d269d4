// SPDX-License-Identifier: GPL-3.0-or-later
// Display scaling: the factor every window applies to itself at creation, and window placement.
#pragma once

#include <QMargins>

class QFont;
class QWidget;

// Every window is designed for a 640 × 480 screen at 96 pixels per inch.
constexpr int DesignScreenWidth = 640;
constexpr int DesignScreenHeight = 480;
constexpr int DesignPixelsPerInch = 96;

// The frame around a window's client area. Its side borders count in the outer width from which
// the result tables are laid out; the whole frame (a desktop's title bar is at most this high)
// stays free when the scaling fits the windows into the screen.
inline constexpr QMargins WindowFrame(4, 38, 4, 4);

// The factor M (percent) for a screen area of the given width and height at the given logical
// pixels per inch: derived from the width, and from the height as if it were the height of a
// 4:3 screen (height × 4/3 in place of the width); the smaller one holds.
int ScaleFactorPercent(int width, int height, int pixelsPerInch);

// The outer width of a window whose client area is clientWidth wide, with its designed frame.
constexpr int FramedWidth(int clientWidth)
{
    return clientWidth + WindowFrame.left() + WindowFrame.right();
}

// Scaled mode: when off, ScaleToScreen leaves windows at their design size.
void SetScaledMode(bool on);
bool ScaledMode();

// Scales the window, all its controls, their fonts and their popups (menus, list popups) once
// by M / 100, M taken from the room the available screen area leaves inside a window frame.
void ScaleToScreen(QWidget *window);
// The same with a given factor (percent), for tests and for windows built before a screen exists.
void ScaleWidgetTree(QWidget *window, int percent);
// The factor ScaleToScreen applied last (100 before any window was scaled).
int ScreenScalePercent();
// A font at its design size grown like the windows' fonts.
QFont ScaledFont(const QFont &designFont);
// For windows built on demand (message boxes, the platform's dialogs): the application's font
// grown like the windows' fonts.
void UseScaledFont(QWidget *window);

// The frame the desktop puts around a top-level window, or the designed one while it has none.
QMargins FrameMargins(const QWidget *window);
// Places a top-level window so that its frame is centred in the available screen area.
void CentreOnScreen(QWidget *window);

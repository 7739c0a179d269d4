// SPDX-License-Identifier: GPL-3.0-or-later
// The character a key press types, as the key filters judge it.
#pragma once

#include <QChar>

class QKeyEvent;

// The character a key filter judges for a key press: '\r' for Enter, '\b' for Backspace,
// the typed character otherwise; null for keys that type nothing (arrows, F4) and for the
// keys every text field leaves to the toolkit (Tab and Shift+Tab move the focus, Delete
// deletes), which pass unfiltered.
QChar TypedCharacter(const QKeyEvent *event);
// Space or Enter without Ctrl, Alt or Meta: the keys that press what has the focus.
bool IsPressKey(const QKeyEvent *event);

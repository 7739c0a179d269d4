// SPDX-License-Identifier: GPL-3.0-or-later
// The character a key press types, as the key filters judge it.
#include "common/KeyPress.h"

#include <QKeyEvent>

QChar TypedCharacter(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QLatin1Char('\r');
    case Qt::Key_Backspace:
        return QLatin1Char('\b');
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return QChar();
    default:
        return event->text().isEmpty() ? QChar() : event->text().at(0);
    }
}

bool IsPressKey(const QKeyEvent *event)
{
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

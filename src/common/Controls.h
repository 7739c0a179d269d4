// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers that give controls their colours, fonts and look, shared by the windows.
#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

class QComboBox;
class QContextMenuEvent;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;
class QWidget;

// The system's button-face colour: panels and fields on the coloured windows.
QColor ButtonFaceColour();
// Fills a control or a window with a colour behind its text (for an input field: behind what
// is typed).
void SetBackgroundColour(QWidget *widget, const QColor &colour);
// The colour of a control's text: shown, typed or on a button.
void SetTextColour(QWidget *widget, const QColor &colour);
// The system's colours role by role, so that a coloured window around does not shine through.
void UseSystemColours(QWidget *widget);
// Bold text; a point size above 0 replaces the size, a family name the typeface.
void SetBoldFont(QWidget *widget, int pointSize = 0, const QString &family = QString());
// A label in bold plain text of the given colour, sized to its text, at the given place; point
// size and family as for SetBoldFont.
QLabel *CreateBoldLabel(QWidget *parent, const QString &name, const QString &text,
                        const QColor &colour, QPoint position = {}, int pointSize = 0,
                        const QString &family = QString());
// A flat button that shows its frame only under the mouse.
QToolButton *CreateFlatButton(QWidget *parent, const QString &name, const QString &caption);
// The radio indicator reads right on any background: a ring in the text colour, filled when
// selected, greyed with the text when disabled, and as large as the text beside it.
void UseReadableRadioIndicator(QRadioButton *button);
// A fixed drop-down list opens below the field and at most its maxVisibleItems() rows high,
// as a list one can type into does, instead of as tall as the screen.
void UseBoundedListPopup(QComboBox *list);
// Shows a field's own context menu (cut, copy, paste …) in the windows' grown font.
void ShowScaledContextMenu(QLineEdit *field, const QContextMenuEvent *event);

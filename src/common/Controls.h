// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers that give controls their colours, fonts and look, shared by the windows.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPoint>
#include <QString>
#include <QStyle>

#include <functional>

class QComboBox;
class QContextMenuEvent;
class QLabel;
class QPainter;
class QLineEdit;
class QRadioButton;
class QRect;
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
// The style's standard icon, looked up only when it is first drawn or measured: the first
// lookup searches the icon themes, which took longer than building the window that shows it.
QIcon StandardIconWhenNeeded(QStyle::StandardPixmap icon);
// Runs `then` once, just after the widget has been painted for the first time (queued, so that
// the frame reaches the screen first).
void AfterFirstPaint(QWidget *widget, std::function<void()> then);
// A flat button that shows its frame only under the mouse.
QToolButton *CreateFlatButton(QWidget *parent, const QString &name, const QString &caption);
// The radio indicator reads right on any background: a ring in the text colour, filled when
// selected, greyed with the text when disabled, and as large as the text beside it.
void UseReadableRadioIndicator(QRadioButton *button);

// Relative luminance 0..1 of an sRGB colour, as used for contrast ratios.
double RelativeLuminance(const QColor &colour);
// Contrast ratio 1..21 between two colours, as the web's accessibility guidelines measure it;
// the order does not matter.
double ContrastRatio(const QColor &first, const QColor &second);
// Black or white, whichever stands out more against the background: at least 4.5 : 1.
QColor BlackOrWhiteAgainst(const QColor &background);
// The focus frame along the inside of area, over a control painted in background, in black or
// white: more than the 3 : 1 a focus indicator needs.
void DrawFocusFrame(QPainter &painter, const QRect &area, const QColor &background);
void DrawFocusFrame(QWidget *widget, const QRect &area, const QColor &background);
// The window's buttons, radio buttons and check boxes draw their focus frame so, whatever the
// style would draw, on the coloured windows as on the grey ones.
void UseVisibleFocusFrames(QWidget *window);
// A fixed drop-down list opens below the field and at most its maxVisibleItems() rows high,
// as a list one can type into does, instead of as tall as the screen.
void UseBoundedListPopup(QComboBox *list);
// Shows a field's own context menu (cut, copy, paste …) in the windows' grown font.
void ShowScaledContextMenu(QLineEdit *field, const QContextMenuEvent *event);

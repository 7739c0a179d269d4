// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader hears: names taken from labels, panels named for what they show, and
// the announcements of a game.
#pragma once

#include <QString>

class QLabel;
class QWidget;

// The name a label's caption gives the control it stands beside: without the accelerator
// mark, the closing colon and the blanks that only align the captions ("Zeitfaktor-Warten
// (1..400)").
QString AccessibleNameOfCaption(const QString &caption);

// Links the label to the control it names (Alt + its accelerator then reaches the control,
// and the platform reports the label as the control's) and names the control: `name`, or the
// label's caption when it is empty.
void NameAfterLabel(QLabel *label, QWidget *control, const QString &name = QString());

// A panel that shows a changing value (the sequence, the remaining time) is named for what it
// shows, and its name carries the value: "Restzeit: 01 : 40". It tells a screen reader of a
// change only through AnnounceDisplay, not at each change of its text.
void NameAsDisplay(QLabel *panel, const QString &what);
// The panel's name, "what: value", or "what" alone while it shows nothing.
QString DisplayName(const QString &what, const QString &shownText);
// Tells a screen reader that the panel now shows something else.
void AnnounceDisplay(QLabel *panel);

// The remaining time is told every tenth second and in each of the last ten seconds.
constexpr bool RemainingTimeAnnounced(int seconds)
{
    return seconds > 0 && (seconds <= 10 || seconds % 10 == 0);
}
// The window is the one the player works in: shown, and not under another modal window.
bool IsInFrontWindow(const QWidget *widget);

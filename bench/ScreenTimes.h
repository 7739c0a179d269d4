// SPDX-License-Identifier: GPL-3.0-or-later
// What the observer reported, and how its frames pair with the program's own phase times.
#pragma once

#include "Figures.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One line of the observer's report. Times are CLOCK_MONOTONIC nanoseconds, shared by both
// processes; serverMs is the X server's own millisecond stamp of the damage (-1 if none).
struct ScreenRecord
{
    enum Kind
    {
        Frame,      // the watched region changed to the pixels with this hash
        Repaint,    // the watched window was drawn into
        FirstFrame, // a new window with the hunted title was drawn into for the first time
        Error
    };
    Kind kind = Error;
    qint64 ns = 0;
    quint64 hash = 0;
    quint64 window = 0;
    qint64 pid = 0;
    qint64 serverMs = -1;
    QString text;
};

// nullopt for a line that is none of the observer's records.
std::optional<ScreenRecord> ParseScreenRecord(const QByteArray &line);

qint64 MonotonicNs();

// When something was on the screen.
struct ScreenSpan
{
    qint64 appearNs = 0;
    qint64 disappearNs = 0;
    double milliseconds() const { return double(disappearNs - appearNs) / 1e6; }
};

// The stretch of screen time of a phase that the program began at startNs and ended at endNs:
// from the frame the region showed when the phase ended, which must have come after the phase
// began, to the next change. Frames are the region's records in time order. nullopt when the
// region did not change in the phase or has not changed since.
std::optional<ScreenSpan> SpanOnScreen(const QList<ScreenRecord> &frames, qint64 startNs,
                                       qint64 endNs);

// One timed phase seen from both sides.
struct ScreenPhaseFigures
{
    Figures handlerErrorMs; // how much longer than nominal, from start to timeout handler
    Figures screenErrorMs;  // the same, from appearing to disappearing on the screen
    Figures showDelayMs;    // start handler to appearing
    Figures hideDelayMs;    // timeout handler to disappearing
    int unseen = 0;         // phases the region did not show as a change of their own

    void add(int nominalMs, qint64 startNs, qint64 endNs, const QList<ScreenRecord> &frames);
};

// Gaps between consecutive times, in milliseconds.
Figures IntervalsMs(const QList<qint64> &timesNs);

// How long after the X server drew the observer took note, from the server's millisecond
// stamp: 0..1 ms plus the observer's own lateness. nullopt when the server's clock is not
// CLOCK_MONOTONIC (the stamp is then more than a second away).
std::optional<double> DeliveryDelayMs(const ScreenRecord &record);

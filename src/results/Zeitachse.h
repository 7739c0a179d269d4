// SPDX-License-Identifier: GPL-3.0-or-later
// The time axis of the "Verlauf" chart fitted to the games shown, and whether a trend is drawn.
#pragma once

#include "results/Verlaufsdaten.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The range, label format and title of the chart's time axis.
struct TimeAxisRange
{
    QDateTime from;
    QDateTime to;
    QString format;
    QString title;
};
// Fitted to the moments (in order): a twentieth of their span on either side, at least five
// minutes, so that games minutes apart stay minutes apart; the week before `now` without any.
TimeAxisRange FitTimeAxis(const QList<QDateTime> &moments, const QDateTime &now, int tickCount);

// A trend line needs at least three games with points, on at least two days; otherwise the
// German reason why none is drawn.
struct TrendDecision
{
    bool drawn = false;
    QString reason;
};
TrendDecision DecideTrend(const QList<HistoryGame> &games);

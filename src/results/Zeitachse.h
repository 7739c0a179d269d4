// SPDX-License-Identifier: GPL-3.0-or-later
// The "Verlauf" chart's points and time axis fitted to the games shown, and whether a trend is drawn.
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

// Up to this many games the chart shows each; beyond, means over days, weeks or months.
constexpr int MostSingleGames = 300;
// The most days, weeks or months a chart of means spans.
constexpr int MostGroups = 150;

enum class PointGrouping
{
    Games,
    Days,
    Weeks,
    Months
};
// Single games while they are few; else the shortest period of which the games' span has at
// most MostGroups. The games are in time order.
PointGrouping ChoosePointGrouping(const QList<HistoryGame> &games);
// "" for single games, else " (Mittelwerte je Tag)", "… je Woche", "… je Monat".
QString GroupingText(PointGrouping grouping);

// A point of the chart: one game, or the mean share of points of a level's games in a period,
// placed at their mean moment. Games without possible points count as 0 % when alone and are
// left out of a mean.
struct ChartPoint
{
    double x = 0; // milliseconds since the epoch
    double percent = 0;
    int level = 0;
    QString toolTip;
};
QList<ChartPoint> ChartPoints(const QList<HistoryGame> &games, PointGrouping grouping);

// SPDX-License-Identifier: GPL-3.0-or-later
// The time axis of the "Verlauf" chart fitted to the games shown, and whether a trend is drawn.
#include "results/Zeitachse.h"

#include <QSet>

#include <algorithm>

namespace {
constexpr qint64 MsPerMinute = 60 * 1000;
constexpr qint64 MsPerDay = 24 * 60 * MsPerMinute;
constexpr qint64 LeastMarginMs = 5 * MsPerMinute;
constexpr int TrendLeastGames = 3;
} // namespace

TimeAxisRange FitTimeAxis(const QList<QDateTime> &moments, const QDateTime &now, int tickCount)
{
    TimeAxisRange range;
    if (moments.isEmpty()) {
        range.from = now.addDays(-7);
        range.to = now.addDays(1);
    } else {
        const auto [first, last] = std::minmax_element(moments.cbegin(), moments.cend());
        const qint64 margin = std::max<qint64>(first->msecsTo(*last) / 20, LeastMarginMs);
        range.from = first->addMSecs(-margin);
        range.to = last->addMSecs(margin);
    }
    const qint64 span = range.from.msecsTo(range.to);
    const int intervals = std::max(1, tickCount - 1);
    if (range.from.date() == range.to.date()) {
        // Ticks closer than a minute would repeat their labels.
        const bool seconds = span < MsPerMinute * intervals;
        range.format = seconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm");
        range.title = QStringLiteral("Uhrzeit am %1").arg(range.from.toString(QStringLiteral("dd.MM.yyyy")));
    } else if (span < MsPerDay * intervals) {
        // With less than a day between two ticks the dates alone would repeat.
        range.format = QStringLiteral("dd.MM. HH:mm");
        range.title = QStringLiteral("Datum und Uhrzeit");
    } else {
        range.format = QStringLiteral("dd.MM.yyyy");
        range.title = QStringLiteral("Datum");
    }
    return range;
}

TrendDecision DecideTrend(const QList<HistoryGame> &games)
{
    int withPoints = 0;
    QSet<QDate> days;
    for (const HistoryGame &game : games) {
        if (!PercentAchieved(game.record))
            continue;
        ++withPoints;
        days.insert(game.moment.date());
    }
    TrendDecision decision;
    if (withPoints == 0) {
        decision.reason = games.isEmpty() ? QString()
                                          : QStringLiteral("Kein Trend: Keines der Spiele hatte "
                                                           "mögliche Punkte.");
    } else if (withPoints < TrendLeastGames) {
        decision.reason = QStringLiteral("Kein Trend: Erst %1 mit Punkten; ein Trend braucht "
                                         "mindestens drei Spiele an zwei Tagen.")
                              .arg(withPoints == 1 ? QStringLiteral("1 Spiel")
                                                   : QStringLiteral("%1 Spiele").arg(withPoints));
    } else if (days.size() < 2) {
        decision.reason = QStringLiteral("Kein Trend: Alle Spiele sind vom selben Tag; ein Trend "
                                         "braucht Spiele an mindestens zwei Tagen.");
    } else {
        decision.drawn = true;
    }
    return decision;
}

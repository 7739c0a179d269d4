// SPDX-License-Identifier: GPL-3.0-or-later
// The "Verlauf" chart's points and time axis fitted to the games shown, and whether a trend is drawn.
#include "results/Zeitachse.h"

#include <QLocale>
#include <QMap>
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

namespace {
// The first day of the period holding a date.
QDate periodStart(const QDate &date, PointGrouping grouping)
{
    switch (grouping) {
    case PointGrouping::Weeks:
        return date.addDays(1 - date.dayOfWeek());
    case PointGrouping::Months:
        return QDate(date.year(), date.month(), 1);
    default:
        return date;
    }
}

QString periodText(const QDate &start, PointGrouping grouping)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    switch (grouping) {
    case PointGrouping::Weeks:
        return QStringLiteral("Woche ab ") + german.toString(start, QStringLiteral("ddd, dd.MM.yyyy"));
    case PointGrouping::Months:
        return german.toString(start, QStringLiteral("MMMM yyyy"));
    default:
        return german.toString(start, QStringLiteral("ddd, dd.MM.yyyy"));
    }
}
} // namespace

PointGrouping ChoosePointGrouping(const QList<HistoryGame> &games)
{
    if (games.size() <= MostSingleGames)
        return PointGrouping::Games;
    const QDate first = games.constFirst().moment.date();
    const QDate last = games.constLast().moment.date();
    if (first.daysTo(last) < MostGroups)
        return PointGrouping::Days;
    if (first.daysTo(last) / 7 < MostGroups)
        return PointGrouping::Weeks;
    return PointGrouping::Months;
}

QString GroupingText(PointGrouping grouping)
{
    switch (grouping) {
    case PointGrouping::Days:
        return QStringLiteral(" (Mittelwerte je Tag)");
    case PointGrouping::Weeks:
        return QStringLiteral(" (Mittelwerte je Woche)");
    case PointGrouping::Months:
        return QStringLiteral(" (Mittelwerte je Monat)");
    default:
        return QString();
    }
}

QList<ChartPoint> ChartPoints(const QList<HistoryGame> &games, PointGrouping grouping)
{
    QList<ChartPoint> points;
    if (grouping == PointGrouping::Games) {
        points.reserve(games.size());
        for (const HistoryGame &game : games) {
            points.append({double(game.moment.toMSecsSinceEpoch()),
                           PercentAchieved(game.record).value_or(0.0),
                           int(game.record.DifficultyLevel), GameToolTip(game)});
        }
        return points;
    }
    struct Group
    {
        double moments = 0;
        double percents = 0;
        int games = 0;
        int withPoints = 0;
    };
    QMap<std::pair<QDate, int>, Group> groups;
    for (const HistoryGame &game : games) {
        Group &group = groups[{periodStart(game.moment.date(), grouping),
                               int(game.record.DifficultyLevel)}];
        group.moments += double(game.moment.toMSecsSinceEpoch());
        ++group.games;
        if (const std::optional<double> percent = PercentAchieved(game.record)) {
            group.percents += *percent;
            ++group.withPoints;
        }
    }
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        const Group &group = it.value();
        const double percent = group.withPoints > 0 ? group.percents / group.withPoints : 0.0;
        const QString games = group.games == 1 ? QStringLiteral("1 Spiel")
                                               : QStringLiteral("%1 Spiele").arg(group.games);
        const QString mean = group.withPoints > 0
                                 ? QStringLiteral("im Mittel %1 % der Punkte")
                                       .arg(DecimalCommaText(percent))
                                 : QStringLiteral("keine Punkte möglich");
        points.append({group.moments / group.games, percent, it.key().second,
                       QStringLiteral("%1, S-Grad %2\n%3, %4")
                           .arg(periodText(it.key().first, grouping))
                           .arg(it.key().second)
                           .arg(games, mean)});
    }
    std::sort(points.begin(), points.end(),
              [](const ChartPoint &a, const ChartPoint &b) { return a.x < b.x; });
    return points;
}

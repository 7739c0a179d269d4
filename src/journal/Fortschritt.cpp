// SPDX-License-Identifier: GPL-3.0-or-later
// Progress from the journal: training days and streak, the verdict on a game, the level to play next.
#include "journal/Fortschritt.h"

#include <QLocale>

#include <cmath>

namespace {
constexpr int DaysPerWeek = 7;
// A difference smaller than this shows as "genauso viel" rather than "0,0 mehr".
constexpr double SamePercent = 0.05;

QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString countText(int count, const char *one, const char *many)
{
    return count == 1 ? QStringLiteral("1 %1").arg(QLatin1String(one))
                      : QStringLiteral("%1 %2").arg(count).arg(QLatin1String(many));
}

// At least 90 %, below 60 %: compared in whole numbers, so 27 of 30 is exactly 90 %.
bool atLeastNinety(const Score &score)
{
    return score.possible > 0 && qint64(score.achieved) * 10 >= qint64(score.possible) * 9;
}

bool belowSixty(const Score &score)
{
    return score.possible > 0 && qint64(score.achieved) * 10 < qint64(score.possible) * 6;
}
} // namespace

int ShadeOf(int count)
{
    if (count <= 0)
        return 0;
    if (count <= 2)
        return count;
    return count <= 4 ? 3 : HighestShade;
}

QList<TrainingDay> TrainingDaysRow(const QMap<QDate, DayActivity> &activity, const QDate &today)
{
    const QDate thisMonday = today.addDays(1 - today.dayOfWeek());
    const QDate first = thisMonday.addDays(-DaysPerWeek * (TrainingWeeks - 1));
    QList<TrainingDay> days;
    days.reserve(TrainingWeeks * DaysPerWeek);
    for (int i = 0; i < TrainingWeeks * DaysPerWeek; ++i) {
        TrainingDay day;
        day.date = first.addDays(i);
        day.week = i / DaysPerWeek;
        day.weekday = i % DaysPerWeek;
        day.activity = activity.value(day.date);
        day.shade = ShadeOf(day.activity.total());
        day.today = day.date == today;
        day.future = day.date > today;
        days.append(day);
    }
    return days;
}

QString TrainingDayText(const TrainingDay &day)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QString text = german.toString(day.date, QStringLiteral("ddd, dd.MM.yyyy"));
    QStringList parts;
    if (day.activity.games > 0)
        parts.append(countText(day.activity.games, "Spiel", "Spiele"));
    if (day.activity.colourRuns > 0)
        parts.append(countText(day.activity.colourRuns, "Farbenfolge", "Farbenfolgen"));
    text += parts.isEmpty() ? QStringLiteral(": nicht trainiert")
                            : QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    return text;
}

Streak CurrentStreak(const QMap<QDate, DayActivity> &activity, const QDate &today)
{
    const auto trained = [&activity](const QDate &date) {
        return activity.value(date).total() > 0;
    };
    Streak streak;
    streak.includesToday = trained(today);
    QDate day = streak.includesToday ? today : today.addDays(-1);
    while (trained(day)) {
        ++streak.days;
        day = day.addDays(-1);
    }
    return streak;
}

QString StreakText(const Streak &streak)
{
    if (streak.days == 0)
        return QStringLiteral("Heute noch nicht trainiert");
    if (!streak.includesToday) {
        return streak.days == 1
                   ? QStringLiteral("Gestern trainiert, heute noch nicht")
                   : QStringLiteral("%1 Tage in Folge bis gestern").arg(streak.days);
    }
    return streak.days == 1 ? QStringLiteral("1 Tag in Folge")
                            : QStringLiteral("%1 Tage in Folge").arg(streak.days);
}

LevelSuggestion SuggestLevel(int level, const QList<Score> &latestFirst)
{
    if (latestFirst.size() < 2) {
        return {level, QStringLiteral("Auf Stufe %1 stehen noch keine zwei Spiele im Tagebuch:"
                                      "\nBleib bei Stufe %1.")
                           .arg(level)};
    }
    const Score &last = latestFirst[0];
    const Score &before = latestFirst[1];
    if (atLeastNinety(last) && atLeastNinety(before)) {
        const QString why = QStringLiteral("Deine letzten zwei Spiele auf Stufe %1 hatten je "
                                           "mindestens 90 % der Punkte")
                                .arg(level);
        if (level >= TopLevel)
            return {TopLevel, why + QStringLiteral(":\nStufe 15 ist die höchste, bleib dabei.")};
        return {level + 1, why + QStringLiteral(":\nVersuch Stufe %1.").arg(level + 1)};
    }
    if (belowSixty(last) && belowSixty(before)) {
        const QString why =
            QStringLiteral("Deine letzten zwei Spiele auf Stufe %1 lagen unter 60 % der Punkte")
                .arg(level);
        if (level <= LowestLevel)
            return {LowestLevel, why + QStringLiteral(":\nStufe 1 ist die leichteste, bleib dabei.")};
        return {level - 1, why + QStringLiteral(":\nÜbe auf Stufe %1.").arg(level - 1)};
    }
    return {level, QStringLiteral("Deine letzten zwei Spiele auf Stufe %1 hatten weder beide "
                                  "mindestens 90 % noch beide unter 60 % der Punkte:"
                                  "\nBleib bei Stufe %1.")
                       .arg(level)};
}

QString PercentText(const Score &score)
{
    return oneDecimal(score.percent()) + QStringLiteral(" %");
}

QString VerdictText(const Score &game, int level, const std::optional<Score> &previous,
                    const std::optional<Score> &best)
{
    if (!game.hasPercent())
        return QStringLiteral("In diesem Spiel waren keine Punkte möglich: Die Zeit lief vor "
                              "Deiner ersten Eingabe ab.");
    QString text = QStringLiteral("Du hast %1 der Punkte erreicht").arg(PercentText(game));
    if (!previous || !previous->hasPercent())
        return text + QStringLiteral(", Dein erstes Spiel auf Stufe %1 im Tagebuch.").arg(level);
    const double difference = game.percent() - previous->percent();
    if (std::abs(difference) < SamePercent) {
        text += QStringLiteral(", genauso viel wie im letzten Spiel auf Stufe %1").arg(level);
    } else {
        text += QStringLiteral(", %1 Prozentpunkte %2 als im letzten Spiel auf Stufe %3 (%4)")
                    .arg(oneDecimal(std::abs(difference)),
                         difference > 0 ? QStringLiteral("mehr") : QStringLiteral("weniger"))
                    .arg(level)
                    .arg(PercentText(*previous));
    }
    // Compared in whole numbers, so an equal share (12 of 16, 9 of 12) is no new best.
    if (best && qint64(game.achieved) * best->possible > qint64(best->achieved) * game.possible)
        return text + QStringLiteral(" – neue Bestleistung auf Stufe %1!").arg(level);
    return text + QLatin1Char('.');
}

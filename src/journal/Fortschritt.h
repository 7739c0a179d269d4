// SPDX-License-Identifier: GPL-3.0-or-later
// Progress from the journal: training days and streak, the verdict on a game, the level to play next.
#pragma once

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

// Points of one game.
struct Score
{
    int achieved = 0;
    int possible = 0;

    bool hasPercent() const { return possible > 0; }
    double percent() const { return possible > 0 ? 100.0 * achieved / possible : 0.0; }
};

// What was trained on one day.
struct DayActivity
{
    int games = 0;
    int colourRuns = 0;

    int total() const { return games + colourRuns; }
};

constexpr int TrainingWeeks = 12;
constexpr int HighestShade = 4;

// One square of the training days: week column 0..11 (11 is this week), weekday row 0..6
// (Monday first), shaded 0..4 by the number of games and colour runs.
struct TrainingDay
{
    QDate date;
    int week = 0;
    int weekday = 0;
    DayActivity activity;
    int shade = 0;
    bool today = false;
    bool future = false;
};

// 0 for a day without training, then 1, 2, 3 to 4 and 5 or more.
int ShadeOf(int count);
// The twelve calendar weeks up to the one holding today, Monday to Sunday each; the days
// after today are marked as future.
QList<TrainingDay> TrainingDaysRow(const QMap<QDate, DayActivity> &activity, const QDate &today);
// "Mo., 08.12.2026: 3 Spiele, 1 Farbenfolge".
QString TrainingDayText(const TrainingDay &day);

// Days in a row with training up to today, or up to yesterday while today has none yet.
struct Streak
{
    int days = 0;
    bool includesToday = false;
};
Streak CurrentStreak(const QMap<QDate, DayActivity> &activity, const QDate &today);
// "4 Tage in Folge", "3 Tage in Folge bis gestern", "Heute noch nicht trainiert".
QString StreakText(const Streak &streak);

// The next level from the last games at a level (latest first): two in a row with at
// least 90 % of the points go one up, two below 60 % one down, anything else stays.
struct LevelSuggestion
{
    int level = 0;
    QString reason;
};
LevelSuggestion SuggestLevel(int level, const QList<Score> &latestFirst);
constexpr int LowestLevel = 1;
constexpr int TopLevel = 15;

// The line under the individual result: the game's percentage, the comparison with the
// previous game at its level and a new best, in the player's "Du".
QString VerdictText(const Score &game, int level, const std::optional<Score> &previous,
                    const std::optional<Score> &best);
// "83,3 %" style percentage of a score, one decimal with a comma.
QString PercentText(const Score &score);

// SPDX-License-Identifier: GPL-3.0-or-later
// The games of several overall-result files in date order: percentages, trend, CSV and table text.
#pragma once

#include "results/Ergdatei.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The moment a record was saved, from its "dd.MM.yyyy--HH:mm:ss" text; invalid if unreadable.
QDateTime RecordMoment(const QString &dateTime);

// Points achieved as a percentage of points possible; none when no points were possible
// (a game ended by the time limit before its first round was entered).
std::optional<double> PercentAchieved(const OverallResultRecord &record);

// A record the program can have saved: readable date, level 1..15, 0 <= achieved <= possible.
bool IsSavedGame(const OverallResultRecord &record);

// The records of one file for the history, or the German reason the file is refused: the
// runtime's message for a file that cannot be read, or "Datei beschädigt (Datensatz n)".
// Of a file read, what was left unread as the program leaves it: one German cause a line.
struct GameFile
{
    QList<OverallResultRecord> records;
    QString error;
    QStringList ignored;
};
GameFile ReadGameFile(const QString &path);
// What a file of byteSize bytes holds beyond its first 20 whole records.
QStringList IgnoredParts(qint64 byteSize);
// The reason a file's records are refused, or an empty text.
QString DamagedRecordsError(const QList<OverallResultRecord> &records);

struct HistoryGame
{
    OverallResultRecord record;
    QDateTime moment;
};

// Games merged from several files in date and time order; a game found twice (the same
// bytes, apart from the filler that means nothing) counts once.
class GameHistory
{
public:
    // Adds the games of a file whose records passed DamagedRecordsError; returns how many
    // were new.
    int add(const QList<OverallResultRecord> &records, const QString &fileName);

    const QList<HistoryGame> &games() const { return m_games; }
    // The files added, each once, in the order they were added.
    const QStringList &files() const { return m_files; }
    bool isEmpty() const { return m_games.isEmpty(); }

private:
    QList<HistoryGame> m_games;
    QSet<QByteArray> m_seen;
    QStringList m_files;
};

// y = slope * x + intercept.
struct LinearFit
{
    double slope = 0;
    double intercept = 0;
    double at(double x) const { return slope * x + intercept; }
};
// Least squares through the points; none for fewer than two distinct x values.
std::optional<LinearFit> FitLeastSquares(const QList<QPointF> &points);
// The games that have a percentage, as (milliseconds since the epoch, percentage).
QList<QPointF> PercentPoints(const QList<HistoryGame> &games);

// "keine" for an undisturbed game, "Texte", "Hauptstädte (Europa)", "Kreise treffen",
// "Billard"; the stored label itself for anything else.
QString DisturbanceKindText(const QString &label);

// The tooltip of a game's point: moment, name, level, disturbance, points and percentage.
QString GameToolTip(const HistoryGame &game);

// "83,3": one decimal with a comma, as German spreadsheets expect.
QString DecimalCommaText(double value);

// The CSV file: UTF-8 with a byte order mark, ';' between fields, CRLF line ends, a German
// header row and one row per game.
QByteArray HistoryCsv(const QList<HistoryGame> &games);
QStringList HistoryCsvHeader();
QStringList HistoryCsvFields(const HistoryGame &game);
// One cell of every CSV the program writes. A text beginning with '=', '+', '-', '@', a tab
// or a carriage return gets a leading apostrophe, so a spreadsheet shows it as text instead
// of running it as a formula; plain numbers and a lone "-" (no disturbance) stay as they
// are. Then quoted when it holds ';', '"' or a line break.
QString CsvField(const QString &text);

// The games as an aligned text table with a closing count line, for a terminal.
QString HistoryTableText(const QList<HistoryGame> &games);

// SPDX-License-Identifier: GPL-3.0-or-later
// The training journal: every game and colour run in an SQLite database, and the queries on it.
#pragma once

#include "journal/Fortschritt.h"
#include "results/Ergdatei.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <variant>

class QSqlError;
class QSqlQuery;

// How a game of the journal ended; the values are stored.
enum class GameEnd : int
{
    AfterRound6 = 0,
    TimeLimit = 1,
    ImportedFile = 2
};

struct JournalRound
{
    QString presented;
    QString typed;
    QString marks;
    QString disturbance;
    int achieved = 0;
    int possible = 0;
};

// One game of "Merken und Wiedergeben" with the settings it was played with.
struct JournalGame
{
    qint64 id = 0; // 0 until written
    QDateTime end;
    GameEnd endedBy = GameEnd::AfterRound6;
    QString player;
    int level = 0;
    int presentFactor = 0;
    int waitFactor = 0;
    int allowanceSteps = 0;
    QString disturbance;      // the game's label, as in a results file
    int disturbanceKind = -1; // -1 for "Stören aus", else the index of the kind chosen
    int continent = 0;
    int cushions = 0;
    QString speed;
    int billiardStep = 0;
    QString ringsMode;
    QString billiardCorrection;
    bool backgroundText = false;
    bool hintPanel = true;
    bool windowCaption = true;
    bool remainingTime = true;
    int achieved = 0;
    int possible = 0;
    std::array<JournalRound, 6> rounds{};
    // An imported game: the record of its results file.
    QByteArray resultRecord;

    Score score() const { return {achieved, possible}; }
};

// A finished run of "Farben merken".
struct ColourRun
{
    qint64 id = 0;
    QDateTime end;
    int count = 0;
    int showMs = 0;
    int pauseMs = 0;
    int correct = 0;
};

// The game as the record of a results file, dated at its end.
OverallResultRecord OverallRecordOf(const JournalGame &game);
// An imported record as a journal game; its rounds carry only their possible points.
JournalGame JournalGameOf(const OverallResultRecord &record);

// The games of a results file that can go into the journal, and what of the file is left out.
struct ImportFile
{
    QList<OverallResultRecord> records;
    QStringList ignored; // German, one part each ("Datensatz 3 ist beschädigt")
    QString error;       // the whole file could not be read
};
// Reads every whole record of a results file (not only the first 20); damaged records and a
// trailing part record are left out and named.
ImportFile ReadImportFile(const QString &path);

// "3 Spiele übernommen, 2 waren schon im Tagebuch."
QString ImportCountText(int added, int known);

// The journal "Tagebuch.sqlite" in one named SQLite connection, opened once. Each game goes in
// a transaction of its own; a game that cannot be written stays pending in memory and is
// written with the next one. A damaged database is renamed beside itself and a new one begun;
// nothing is ever emptied or deleted except at the player's request.
class Tagebuch
{
public:
    enum class Access
    {
        ReadWrite,
        ReadOnly
    };
    static constexpr int SchemaVersion = 1;
    static constexpr int BusyTimeoutMs = 3000;

    // "$XDG_DATA_HOME/mentaro/Tagebuch.sqlite", also for the program in its build folder.
    static QString DefaultPath();
    // The name a damaged journal is given beside itself on a date.
    static QString DamagedName(const QDate &date);

    Tagebuch(const QString &path, const QString &connectionName, Access access = Access::ReadWrite);
    ~Tagebuch();
    Tagebuch(const Tagebuch &) = delete;
    Tagebuch &operator=(const Tagebuch &) = delete;

    // Opens (creating and migrating when writable); false when the journal cannot be used,
    // with the reason among the messages.
    bool open();
    bool isOpen() const { return m_open; }
    const QString &path() const { return m_path; }
    // What the player should be told since the last call: refusals, files set aside, writes
    // that failed. German, one message each.
    QStringList takeMessages();

    // The player's switch, kept in the journal itself; on unless switched off.
    bool keeping() const { return m_keeping; }
    bool setKeeping(bool on);

    // Writes any pending entries and then this one; false when it stays pending. The id of
    // the game written is in lastGameId().
    bool record(const JournalGame &game);
    bool record(const ColourRun &run);
    qint64 lastGameId() const { return m_lastGameId; }
    qsizetype pendingCount() const { return qsizetype(m_pending.size()); }
    // The German cause of the last statement that failed.
    const QString &lastFailure() const { return m_failure; }
    bool writePending();

    // Many games in one transaction (imports); false when none was written.
    bool insertGames(const QList<JournalGame> &games);
    struct ImportCount
    {
        int added = 0;
        int known = 0;
    };
    // Adds the records not yet in the journal, byte for byte as records; none when it failed.
    std::optional<ImportCount> importRecords(const QList<OverallResultRecord> &records);
    // A game of the journal was also saved in a results file as this record.
    bool noteSavedRecord(qint64 gameId, const OverallResultRecord &record);
    // The records (as bytes) of imported games and of games saved in results files.
    QSet<QByteArray> knownRecords() const;

    // Games in order of their end, from `from` on (all when invalid), without their rounds
    // but (unless not wanted) with each round's possible points.
    QList<JournalGame> games(const QDateTime &from = {}, bool withRoundPoints = true) const;
    // The same, one game after the other; false when the journal could not be read.
    bool eachGame(const QDateTime &from, bool withRoundPoints,
                  const std::function<void(const JournalGame &)> &visit) const;
    // One game with its rounds.
    std::optional<JournalGame> game(qint64 id) const;
    qint64 gameCount() const;
    QList<ColourRun> colourRuns(const QDateTime &from = {}) const;
    // Games and colour runs by day, for the training days.
    QMap<QDate, DayActivity> activityByDay() const;
    // The last `count` games with possible points at a level that ended before `before`
    // (all when invalid), latest first.
    QList<Score> lastScores(int level, int count, const QDateTime &before = {}) const;
    // The best share of points at a level before `before`.
    std::optional<Score> bestScore(int level, const QDateTime &before) const;

    // After a statement found the file damaged: sets it aside and begins a new journal.
    bool repairIfDamaged();

    // Deletes every game and colour run (the switch stays); the file keeps no trace of them.
    bool clear();

private:
    using Entry = std::variant<JournalGame, ColourRun>;

    bool openFile();
    bool refuseUnsafeFile();
    bool connect();
    bool sameFileAsOpened(int descriptor);
    bool checkIntact(bool &damaged);
    bool prepareConnection();
    bool migrate();
    bool migrateTo1();
    void closeConnection();
    bool setAsideAndRestart();
    void readSwitch();

    bool inTransaction(const std::function<bool()> &body);
    bool insertEntry(const Entry &entry);
    bool insertGame(const JournalGame &game);
    bool insertColourRun(const ColourRun &run);
    bool execOrFail(QSqlQuery &query) const;
    bool execSql(const QString &sql) const;
    QSqlQuery query() const;
    void noteFailure(const QSqlError &error) const;
    void addMessage(const QString &text) const;

    QString m_path;
    QString m_connection;
    Access m_access;
    bool m_open = false;
    bool m_keeping = true;
    qint64 m_lastGameId = 0;
    std::deque<Entry> m_pending;
    mutable QStringList m_messages;
    // The cause of the last failed statement, German; and whether it found the file damaged.
    mutable QString m_failure;
    mutable bool m_damaged = false;
    bool m_restarting = false;
};

// The German cause of an SQLite failure, from its (extended) result code.
QString JournalErrorCause(int sqliteCode);

// SPDX-License-Identifier: GPL-3.0-or-later
// The training journal: every game and colour run in an SQLite database, and the queries on it.
#include "journal/Tagebuch.h"

#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "common/WorkingFolder.h"
#include "results/Verlaufsdaten.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// SQLite's primary result codes that the player's messages tell apart.
constexpr int SqlitePerm = 3;
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteNoMem = 7;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteIoErr = 10;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteFull = 13;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteAuth = 23;
constexpr int SqliteNotADb = 26;

const QString SwitchName = QStringLiteral("tagebuch_fuehren");
// Later than any end time, for "before" without a limit.
const QString NoLimit = QStringLiteral("9999");

QString momentText(const QDateTime &moment)
{
    return moment.toString(Qt::ISODateWithMs);
}

// The journal's own "yyyy-MM-ddTHH:mm:ss.zzz", read by hand: Qt's parser takes most of the
// time of reading a large journal.
QDateTime momentOf(const QString &text)
{
    const auto number = [&text](qsizetype at, qsizetype digits) {
        int value = 0;
        for (qsizetype i = at; i < at + digits; ++i) {
            const char16_t c = i < text.size() ? text[i].unicode() : u'x';
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2),
                     text.size() >= 23 ? number(20, 3) : 0);
    if (text.size() < 19 || !date.isValid() || !time.isValid())
        return QDateTime::fromString(text, Qt::ISODateWithMs);
    return QDateTime(date, time);
}

QString fromText(const QDateTime &from)
{
    return from.isValid() ? momentText(from) : QString(QLatin1String(""));
}

QString beforeText(const QDateTime &before)
{
    return before.isValid() ? momentText(before) : NoLimit;
}

// A null text would be stored as NULL; the journal keeps empty texts as empty.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

int disturbanceKindOfLabel(const QString &label)
{
    const QString code = label.trimmed();
    if (code == QLatin1String("T"))
        return 0;
    if (code.startsWith(QLatin1String("H_")))
        return 1;
    if (code.startsWith(QLatin1String("R-")))
        return 2;
    if (code.startsWith(QLatin1String("B-")))
        return 3;
    return -1;
}

// Renames without ever replacing a file that is there already.
int renameNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(),
                    RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    // A file system without RENAME_NOREPLACE: a hard link fails on an existing name too.
    if (::link(source.constData(), target.constData()) != 0)
        return errno;
    ::unlink(source.constData());
    return 0;
}

bool lexists(const QString &path)
{
    struct stat info{};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

Score scoreOf(const QSqlQuery &query, int first)
{
    return {query.value(first).toInt(), query.value(first + 1).toInt()};
}

const char GameColumns[] =
    "id, ende, ende_durch, name, stufe, zeitfaktor_vorgabe, zeitfaktor_warten, zeitzugabe, "
    "stoerung, stoeren_art, kontinent, banden, geschwindigkeit, schrittweite, ringe_modus, "
    "billard_korrektur, hintergrund_text, hinweisfenster, fensterueberschrift, restzeit_anzeige, "
    "punkte, punkte_moeglich";

JournalGame gameOfRow(const QSqlQuery &row)
{
    JournalGame game;
    int column = 0;
    const auto next = [&row, &column] { return row.value(column++); };
    game.id = next().toLongLong();
    game.end = momentOf(next().toString());
    game.endedBy = GameEnd(next().toInt());
    game.player = next().toString();
    game.level = next().toInt();
    game.presentFactor = next().toInt();
    game.waitFactor = next().toInt();
    game.allowanceSteps = next().toInt();
    game.disturbance = next().toString();
    game.disturbanceKind = next().toInt();
    game.continent = next().toInt();
    game.cushions = next().toInt();
    game.speed = next().toString();
    game.billiardStep = next().toInt();
    game.ringsMode = next().toString();
    game.billiardCorrection = next().toString();
    game.backgroundText = next().toBool();
    game.hintPanel = next().toBool();
    game.windowCaption = next().toBool();
    game.remainingTime = next().toBool();
    game.achieved = next().toInt();
    game.possible = next().toInt();
    return game;
}
} // namespace

QString JournalErrorCause(int sqliteCode)
{
    switch (sqliteCode & 0xff) {
    case SqliteBusy:
    case SqliteLocked:
        return QStringLiteral("Das Tagebuch ist gerade von einer anderen Kopie des Programms "
                              "gesperrt.");
    case SqliteReadOnly:
        return QStringLiteral("Das Tagebuch oder sein Ordner ist schreibgeschützt.");
    case SqliteIoErr:
        return QStringLiteral("Die Datei konnte nicht geschrieben oder gelesen werden (ist der "
                              "Datenträger voll?).");
    case SqliteFull:
        return QStringLiteral("Der Datenträger ist voll.");
    case SqliteCantOpen:
        return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case SqlitePerm:
    case SqliteAuth:
        return QStringLiteral("Der Zugriff auf die Datei wurde verweigert.");
    case SqliteCorrupt:
    case SqliteNotADb:
        return QStringLiteral("Die Datei ist beschädigt.");
    case SqliteNoMem:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    default:
        return QStringLiteral("Die Datenbank meldet den Fehler %1.").arg(sqliteCode);
    }
}

OverallResultRecord OverallRecordOf(const JournalGame &game)
{
    if (game.resultRecord.size() == OverallResultRecord::Size)
        return OverallResultRecord::fromBytes(game.resultRecord);
    OverallResultRecord record;
    record.DateTime = RandomClock::shortDateText(game.end) + QStringLiteral("--") +
                      RandomClock::longTimeText(game.end);
    record.PlayerName = game.player;
    record.Disturbance = game.disturbance;
    record.DifficultyLevel = game.level;
    record.PresentTimeFactor = game.presentFactor;
    record.WaitTimeFactor = game.waitFactor;
    record.TimeAllowanceSteps = game.allowanceSteps;
    record.PointsAchieved = game.achieved;
    record.PointsPossible = game.possible;
    for (size_t round = 0; round < game.rounds.size(); ++round)
        record.RoundPointsPossible[round] = quint8(std::clamp(game.rounds[round].possible, 0, 255));
    return record;
}

JournalGame JournalGameOf(const OverallResultRecord &record)
{
    JournalGame game;
    game.end = RecordMoment(record.DateTime.text());
    game.endedBy = GameEnd::ImportedFile;
    game.player = record.PlayerName.text();
    game.level = record.DifficultyLevel;
    game.presentFactor = record.PresentTimeFactor;
    game.waitFactor = record.WaitTimeFactor;
    game.allowanceSteps = record.TimeAllowanceSteps;
    game.disturbance = record.Disturbance.text();
    game.disturbanceKind = disturbanceKindOfLabel(game.disturbance);
    game.achieved = record.PointsAchieved;
    game.possible = record.PointsPossible;
    for (size_t round = 0; round < game.rounds.size(); ++round)
        game.rounds[round].possible = record.RoundPointsPossible[round];
    // Re-encoded, so bytes that carry no meaning cannot make one game two.
    game.resultRecord = record.toBytes();
    return game;
}

ImportFile ReadImportFile(const QString &path)
{
    ImportFile file;
    try {
        RecordFile records(path, OverallResultRecord::Size);
        records.ResetReadOnly();
        const qint64 count = records.FileSize();
        for (qint64 i = 0; i < count; ++i) {
            const OverallResultRecord record = OverallResultRecord::fromBytes(records.Read());
            if (IsSavedGame(record))
                file.records.append(record);
            else
                file.ignored.append(
                    QStringLiteral("Datensatz %1 ist beschädigt und wurde nicht übernommen.")
                        .arg(i + 1));
        }
        records.Close();
    } catch (const InOutError &error) {
        file.records.clear();
        file.ignored.clear();
        file.error = error.message();
        return file;
    }
    const qint64 rest = QFileInfo(path).size() % OverallResultRecord::Size;
    if (rest > 0) {
        file.ignored.append(QStringLiteral("Die letzten %1 Bytes sind kein ganzer Datensatz und "
                                           "wurden nicht übernommen.")
                                .arg(rest));
    }
    return file;
}

QString ImportCountText(int added, int known)
{
    QString text = added == 1 ? QStringLiteral("1 Spiel übernommen")
                              : QStringLiteral("%1 Spiele übernommen").arg(added);
    if (known == 1)
        text += QStringLiteral(", 1 war schon im Tagebuch");
    else if (known > 1)
        text += QStringLiteral(", %1 waren schon im Tagebuch").arg(known);
    return text + QLatin1Char('.');
}

// ---------------------------------------------------------------------------------------------

QString Tagebuch::DefaultPath()
{
    const QString folder = WorkingFolder::UserDataDirectory();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("Tagebuch.sqlite"));
}

QString Tagebuch::DamagedName(const QDate &date)
{
    return QStringLiteral("Tagebuch-beschädigt-%1.sqlite").arg(date.toString(Qt::ISODate));
}

Tagebuch::Tagebuch(const QString &path, const QString &connectionName, Access access)
    : m_path(path), m_connection(connectionName), m_access(access)
{
}

Tagebuch::~Tagebuch()
{
    closeConnection();
}

QStringList Tagebuch::takeMessages()
{
    QStringList messages;
    messages.swap(m_messages);
    return messages;
}

void Tagebuch::addMessage(const QString &text) const
{
    if (!m_messages.contains(text))
        m_messages.append(text);
}

bool Tagebuch::open()
{
    if (m_open)
        return true;
    if (m_path.isEmpty()) {
        addMessage(QStringLiteral("Für das Tagebuch ist kein Datenordner bekannt; es wird nicht "
                                  "geführt."));
        return false;
    }
    if (!openFile())
        return false;
    bool damaged = false;
    if (!checkIntact(damaged)) {
        if (!damaged || m_access == Access::ReadOnly || !setAsideAndRestart())
            return false;
        return m_open;
    }
    if (!prepareConnection() || !migrate()) {
        closeConnection();
        return false;
    }
    readSwitch();
    m_open = true;
    return true;
}

bool Tagebuch::refuseUnsafeFile()
{
    struct stat info{};
    if (::lstat(QFile::encodeName(m_path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return true;
    QString what = QStringLiteral("keine gewöhnliche Datei");
    if (S_ISLNK(info.st_mode))
        what = QStringLiteral("eine symbolische Verknüpfung");
    else if (S_ISFIFO(info.st_mode))
        what = QStringLiteral("eine benannte Pipe (FIFO)");
    else if (S_ISDIR(info.st_mode))
        what = QStringLiteral("ein Ordner");
    addMessage(QStringLiteral("Das Tagebuch\n%1\nist %2 und wird nicht geöffnet. Solange es dort "
                              "liegt, wird kein Tagebuch geführt.")
                   .arg(nativePath(m_path), what));
    return false;
}

// The file is opened here first, without following a symbolic link, and SQLite's file must be
// the same one: SQLite itself follows links, and Qt offers no way to tell it not to.
bool Tagebuch::openFile()
{
    const bool writable = m_access == Access::ReadWrite;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (writable && !QDir().mkpath(folder)) {
        addMessage(QStringLiteral("Der Ordner des Tagebuchs\n%1\nkann nicht angelegt werden; es "
                                  "wird nicht geführt.")
                       .arg(nativePath(folder)));
        return false;
    }
    if (!refuseUnsafeFile())
        return false;
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (writable ? O_RDWR | O_CREAT : O_RDONLY);
    const int descriptor = ::open(QFile::encodeName(m_path).constData(), flags, 0600);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ELOOP) {
            // Made a link since the look above.
            refuseUnsafeFile();
        } else if (error == ENOENT) {
            addMessage(QStringLiteral("Es gibt noch kein Tagebuch:\n%1").arg(nativePath(m_path)));
        } else {
            addMessage(QStringLiteral("Das Tagebuch\n%1\nkann nicht geöffnet werden: %2")
                           .arg(nativePath(m_path), InOutErrorText(OpenErrorCode(error))));
        }
        return false;
    }
    struct stat info{};
    const bool regular = ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
    const bool connected = regular && connect();
    const bool same = connected && sameFileAsOpened(descriptor);
    ::close(descriptor);
    if (same)
        return true;
    if (connected)
        closeConnection();
    // Something else took the name between the looks; it is named when it is no file.
    if (!connected && regular)
        return false;
    if (refuseUnsafeFile()) {
        addMessage(QStringLiteral("Das Tagebuch\n%1\nwurde beim Öffnen gegen eine andere Datei "
                                  "getauscht und wird nicht geöffnet.")
                       .arg(nativePath(m_path)));
    }
    return false;
}

bool Tagebuch::connect()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    QStringList options = {QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs)};
    if (m_access == Access::ReadOnly)
        options.append(QStringLiteral("QSQLITE_OPEN_READONLY"));
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (db.open())
        return true;
    noteFailure(db.lastError());
    addMessage(QStringLiteral("Das Tagebuch\n%1\nkann nicht geöffnet werden: %2")
                   .arg(nativePath(m_path), m_failure));
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
    return false;
}

bool Tagebuch::sameFileAsOpened(int descriptor)
{
    QSqlQuery list = query();
    if (!list.exec(QStringLiteral("PRAGMA database_list")))
        return false;
    QString file;
    while (list.next()) {
        if (list.value(1).toString() == QLatin1String("main"))
            file = list.value(2).toString();
    }
    struct stat opened{};
    struct stat used{};
    return !file.isEmpty() && ::fstat(descriptor, &opened) == 0 &&
           ::stat(QFile::encodeName(file).constData(), &used) == 0 &&
           opened.st_dev == used.st_dev && opened.st_ino == used.st_ino;
}

bool Tagebuch::checkIntact(bool &damaged)
{
    damaged = false;
    QSqlQuery check = query();
    check.setForwardOnly(true);
    if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
        noteFailure(check.lastError());
        damaged = m_damaged;
        if (!damaged || m_access == Access::ReadOnly) {
            addMessage(QStringLiteral("Das Tagebuch\n%1\nkann nicht gelesen werden: %2")
                           .arg(nativePath(m_path), m_failure));
        }
        check = QSqlQuery();
        closeConnection();
        return false;
    }
    const bool intact = check.next() && check.value(0).toString() == QLatin1String("ok");
    check = QSqlQuery();
    if (intact)
        return true;
    damaged = true;
    m_failure = JournalErrorCause(SqliteCorrupt);
    if (m_access == Access::ReadOnly) {
        addMessage(QStringLiteral("Das Tagebuch\n%1\nist beschädigt.").arg(nativePath(m_path)));
    }
    closeConnection();
    return false;
}

bool Tagebuch::prepareConnection()
{
    if (m_access == Access::ReadOnly)
        return true;
    QSqlQuery mode = query();
    if (!mode.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !mode.next()) {
        noteFailure(mode.lastError());
        addMessage(QStringLiteral("Das Tagebuch\n%1\nkann nicht vorbereitet werden: %2")
                       .arg(nativePath(m_path), m_failure));
        return false;
    }
    return execSql(QStringLiteral("PRAGMA synchronous=FULL")) &&
           execSql(QStringLiteral("PRAGMA foreign_keys=ON"));
}

bool Tagebuch::migrate()
{
    QSqlQuery version = query();
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next()) {
        noteFailure(version.lastError());
        addMessage(QStringLiteral("Das Tagebuch\n%1\nkann nicht gelesen werden: %2")
                       .arg(nativePath(m_path), m_failure));
        return false;
    }
    const int found = version.value(0).toInt();
    version = QSqlQuery();
    if (found > SchemaVersion) {
        addMessage(QStringLiteral("Das Tagebuch\n%1\nstammt von einer neueren Version des "
                                  "Programms und bleibt unverändert; es wird nicht geführt.")
                       .arg(nativePath(m_path)));
        return false;
    }
    if (m_access == Access::ReadOnly) {
        if (found == SchemaVersion)
            return true;
        addMessage(QStringLiteral("Die Datei\n%1\nist kein Tagebuch dieses Programms.")
                       .arg(nativePath(m_path)));
        return false;
    }
    // One step per version; each runs in its own transaction with the version it reaches.
    using Step = bool (Tagebuch::*)();
    static const Step steps[SchemaVersion] = {&Tagebuch::migrateTo1};
    for (int from = found; from < SchemaVersion; ++from) {
        const Step step = steps[from];
        const bool done = inTransaction([this, step, from] {
            return (this->*step)() &&
                   execSql(QStringLiteral("PRAGMA user_version = %1").arg(from + 1));
        });
        if (!done) {
            addMessage(QStringLiteral("Das Tagebuch\n%1\nkann nicht eingerichtet werden: %2")
                           .arg(nativePath(m_path), m_failure));
            return false;
        }
    }
    return true;
}

bool Tagebuch::migrateTo1()
{
    const QStringList statements = {
        QStringLiteral("CREATE TABLE spiel ("
                       "id INTEGER PRIMARY KEY, ende TEXT NOT NULL, ende_durch INTEGER NOT NULL, "
                       "name TEXT NOT NULL, stufe INTEGER NOT NULL, "
                       "zeitfaktor_vorgabe INTEGER NOT NULL, zeitfaktor_warten INTEGER NOT NULL, "
                       "zeitzugabe INTEGER NOT NULL, stoerung TEXT NOT NULL, "
                       "stoeren_art INTEGER NOT NULL, kontinent INTEGER NOT NULL, "
                       "banden INTEGER NOT NULL, geschwindigkeit TEXT NOT NULL, "
                       "schrittweite INTEGER NOT NULL, ringe_modus TEXT NOT NULL, "
                       "billard_korrektur TEXT NOT NULL, hintergrund_text INTEGER NOT NULL, "
                       "hinweisfenster INTEGER NOT NULL, fensterueberschrift INTEGER NOT NULL, "
                       "restzeit_anzeige INTEGER NOT NULL, punkte INTEGER NOT NULL, "
                       "punkte_moeglich INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX spiel_nach_ende ON spiel (ende)"),
        QStringLiteral("CREATE INDEX spiel_nach_stufe ON spiel (stufe, ende)"),
        QStringLiteral("CREATE TABLE runde ("
                       "spiel INTEGER NOT NULL REFERENCES spiel (id) ON DELETE CASCADE, "
                       "nr INTEGER NOT NULL CHECK (nr BETWEEN 1 AND 6), "
                       "vorgegeben TEXT NOT NULL, eingabe TEXT NOT NULL, wertung TEXT NOT NULL, "
                       "stoerung TEXT NOT NULL, punkte INTEGER NOT NULL, "
                       "punkte_moeglich INTEGER NOT NULL, PRIMARY KEY (spiel, nr)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE ergebnissatz ("
                       "satz BLOB PRIMARY KEY, "
                       "spiel INTEGER NOT NULL REFERENCES spiel (id) ON DELETE CASCADE) "
                       "WITHOUT ROWID"),
        QStringLiteral("CREATE INDEX ergebnissatz_nach_spiel ON ergebnissatz (spiel)"),
        QStringLiteral("CREATE TABLE farbenfolge ("
                       "id INTEGER PRIMARY KEY, ende TEXT NOT NULL, anzahl INTEGER NOT NULL, "
                       "zeige_dauer INTEGER NOT NULL, pausen_laenge INTEGER NOT NULL, "
                       "richtige INTEGER NOT NULL)"),
        QStringLiteral("CREATE INDEX farbenfolge_nach_ende ON farbenfolge (ende)"),
        QStringLiteral("CREATE TABLE einstellung (name TEXT PRIMARY KEY, wert TEXT NOT NULL) "
                       "WITHOUT ROWID"),
    };
    for (const QString &statement : statements) {
        if (!execSql(statement))
            return false;
    }
    return true;
}

void Tagebuch::readSwitch()
{
    QSqlQuery read = query();
    read.prepare(QStringLiteral("SELECT wert FROM einstellung WHERE name = ?"));
    read.addBindValue(SwitchName);
    m_keeping = !(execOrFail(read) && read.next() && read.value(0).toString() == QLatin1String("0"));
}

void Tagebuch::closeConnection()
{
    m_open = false;
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

// The damaged file keeps its bytes under a new name, with its companions, so nothing in it
// is lost and a new journal never picks up the old write-ahead log.
bool Tagebuch::setAsideAndRestart()
{
    closeConnection();
    const QDir folder = QFileInfo(m_path).absoluteDir();
    const QString base = DamagedName(RandomClock::now().date());
    QString target;
    int error = EEXIST;
    for (int n = 1; n < 1000 && error == EEXIST; ++n) {
        target = folder.filePath(n == 1 ? base
                                        : QString(base).replace(QStringLiteral(".sqlite"),
                                                                QStringLiteral("-%1.sqlite").arg(n)));
        if (lexists(target) || lexists(target + QStringLiteral("-wal")))
            continue;
        error = renameNoReplace(m_path, target);
    }
    for (const char *companion : {"-wal", "-shm"}) {
        if (error == 0 && lexists(m_path + companion))
            error = renameNoReplace(m_path + companion, target + companion);
    }
    if (error != 0) {
        addMessage(QStringLiteral("Das Tagebuch\n%1\nist beschädigt und kann nicht beiseitegelegt "
                                  "werden: %2\nEs wird nicht geführt, bis die Datei entfernt ist.")
                       .arg(nativePath(m_path), InOutErrorText(OpenErrorCode(error))));
        return false;
    }
    addMessage(QStringLiteral("Das Tagebuch war beschädigt. Es wurde unverändert beiseitegelegt "
                              "als\n%1\nund ein neues Tagebuch begonnen.")
                   .arg(nativePath(target)));
    m_damaged = false;
    // A new journal that is found damaged at once is not set aside again and again.
    if (m_restarting)
        return false;
    m_restarting = true;
    const bool opened = open();
    m_restarting = false;
    return opened;
}

bool Tagebuch::repairIfDamaged()
{
    if (!m_damaged || m_access == Access::ReadOnly)
        return false;
    return setAsideAndRestart();
}

// ---------------------------------------------------------------------------------------------

QSqlQuery Tagebuch::query() const
{
    return QSqlQuery(QSqlDatabase::database(m_connection, false));
}

void Tagebuch::noteFailure(const QSqlError &error) const
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    m_failure = numeric ? JournalErrorCause(code) : QStringLiteral("Die Datenbank meldet: %1")
                                                         .arg(error.text());
    const int primary = code & 0xff;
    if (numeric && (primary == SqliteCorrupt || primary == SqliteNotADb))
        m_damaged = true;
}

bool Tagebuch::execOrFail(QSqlQuery &query) const
{
    if (query.exec())
        return true;
    noteFailure(query.lastError());
    return false;
}

bool Tagebuch::execSql(const QString &sql) const
{
    QSqlQuery statement = query();
    if (statement.exec(sql))
        return true;
    noteFailure(statement.lastError());
    return false;
}

bool Tagebuch::inTransaction(const std::function<bool()> &body)
{
    if (!execSql(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (body() && execSql(QStringLiteral("COMMIT")))
        return true;
    // The rollback may fail where SQLite already rolled back; the first failure is the cause.
    const QString failure = m_failure;
    const bool damaged = m_damaged;
    execSql(QStringLiteral("ROLLBACK"));
    m_failure = failure;
    m_damaged = damaged;
    return false;
}

bool Tagebuch::setKeeping(bool on)
{
    if (!m_open)
        return false;
    QSqlQuery write = query();
    write.prepare(QStringLiteral("INSERT OR REPLACE INTO einstellung (name, wert) VALUES (?, ?)"));
    write.addBindValue(SwitchName);
    write.addBindValue(on ? QStringLiteral("1") : QStringLiteral("0"));
    if (!execOrFail(write)) {
        addMessage(QStringLiteral("Die Einstellung des Tagebuchs konnte nicht gespeichert werden: "
                                  "%1")
                       .arg(m_failure));
        return false;
    }
    m_keeping = on;
    return true;
}

bool Tagebuch::record(const JournalGame &game)
{
    m_pending.push_back(game);
    return writePending();
}

bool Tagebuch::record(const ColourRun &run)
{
    m_pending.push_back(run);
    return writePending();
}

bool Tagebuch::writePending()
{
    bool restarted = false;
    while (!m_pending.empty()) {
        if (m_open && inTransaction([this] { return insertEntry(m_pending.front()); })) {
            m_pending.pop_front();
            continue;
        }
        // A journal found damaged is set aside once; the entries go into the new one.
        if (m_open && m_damaged && !restarted) {
            restarted = true;
            if (setAsideAndRestart())
                continue;
        }
        if (m_open) {
            const qsizetype count = pendingCount();
            addMessage(QStringLiteral("Ins Tagebuch konnte nicht geschrieben werden: %1\n%2\n%3")
                           .arg(m_failure, nativePath(m_path),
                                count == 1 ? QStringLiteral("Das Programm behält den Eintrag und "
                                                            "schreibt ihn mit dem nächsten oder "
                                                            "beim Beenden.")
                                           : QStringLiteral("Das Programm behält die %1 Einträge "
                                                            "und schreibt sie mit dem nächsten "
                                                            "oder beim Beenden.")
                                                 .arg(count)));
        }
        return false;
    }
    return true;
}

bool Tagebuch::insertEntry(const Entry &entry)
{
    if (const auto *game = std::get_if<JournalGame>(&entry))
        return insertGame(*game);
    return insertColourRun(std::get<ColourRun>(entry));
}

bool Tagebuch::insertGame(const JournalGame &game)
{
    QSqlQuery insert = query();
    insert.prepare(QStringLiteral(
        "INSERT INTO spiel (ende, ende_durch, name, stufe, zeitfaktor_vorgabe, zeitfaktor_warten, "
        "zeitzugabe, stoerung, stoeren_art, kontinent, banden, geschwindigkeit, schrittweite, "
        "ringe_modus, billard_korrektur, hintergrund_text, hinweisfenster, fensterueberschrift, "
        "restzeit_anzeige, punkte, punkte_moeglich) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &value :
         {QVariant(momentText(game.end)), QVariant(int(game.endedBy)), text(game.player),
          QVariant(game.level), QVariant(game.presentFactor), QVariant(game.waitFactor),
          QVariant(game.allowanceSteps), text(game.disturbance),
          QVariant(game.disturbanceKind), QVariant(game.continent), QVariant(game.cushions),
          text(game.speed), QVariant(game.billiardStep), text(game.ringsMode),
          text(game.billiardCorrection), QVariant(int(game.backgroundText)),
          QVariant(int(game.hintPanel)), QVariant(int(game.windowCaption)),
          QVariant(int(game.remainingTime)), QVariant(game.achieved), QVariant(game.possible)})
        insert.addBindValue(value);
    if (!execOrFail(insert))
        return false;
    const qint64 id = insert.lastInsertId().toLongLong();
    QSqlQuery round = query();
    round.prepare(QStringLiteral("INSERT INTO runde (spiel, nr, vorgegeben, eingabe, wertung, "
                                 "stoerung, punkte, punkte_moeglich) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int nr = 1; nr <= int(game.rounds.size()); ++nr) {
        const JournalRound &r = game.rounds[size_t(nr - 1)];
        for (const QVariant &value :
             {QVariant(id), QVariant(nr), text(r.presented), text(r.typed),
              text(r.marks), text(r.disturbance), QVariant(r.achieved),
              QVariant(r.possible)})
            round.addBindValue(value);
        if (!execOrFail(round))
            return false;
    }
    if (!game.resultRecord.isEmpty()) {
        QSqlQuery known = query();
        known.prepare(QStringLiteral("INSERT INTO ergebnissatz (satz, spiel) VALUES (?, ?)"));
        known.addBindValue(game.resultRecord);
        known.addBindValue(id);
        if (!execOrFail(known))
            return false;
    }
    m_lastGameId = id;
    return true;
}

bool Tagebuch::insertColourRun(const ColourRun &run)
{
    QSqlQuery insert = query();
    insert.prepare(QStringLiteral("INSERT INTO farbenfolge (ende, anzahl, zeige_dauer, "
                                  "pausen_laenge, richtige) VALUES (?, ?, ?, ?, ?)"));
    insert.addBindValue(momentText(run.end));
    insert.addBindValue(run.count);
    insert.addBindValue(run.showMs);
    insert.addBindValue(run.pauseMs);
    insert.addBindValue(run.correct);
    return execOrFail(insert);
}

bool Tagebuch::insertGames(const QList<JournalGame> &games)
{
    if (!m_open)
        return false;
    return inTransaction([this, &games] {
        for (const JournalGame &game : games) {
            if (!insertGame(game))
                return false;
        }
        return true;
    });
}

std::optional<Tagebuch::ImportCount> Tagebuch::importRecords(
    const QList<OverallResultRecord> &records)
{
    if (!m_open)
        return std::nullopt;
    ImportCount count;
    // Looked up inside the transaction, so a second copy importing the same file at the same
    // time cannot add a game twice.
    const bool done = inTransaction([this, &records, &count] {
        QSqlQuery known = query();
        known.prepare(QStringLiteral("SELECT 1 FROM ergebnissatz WHERE satz = ?"));
        for (const OverallResultRecord &record : records) {
            const JournalGame game = JournalGameOf(record);
            known.addBindValue(game.resultRecord);
            if (!execOrFail(known))
                return false;
            const bool there = known.next();
            known.finish();
            if (there) {
                ++count.known;
                continue;
            }
            if (!insertGame(game))
                return false;
            ++count.added;
        }
        return true;
    });
    if (!done) {
        addMessage(QStringLiteral("Die Ergebnisse konnten nicht ins Tagebuch übernommen werden: "
                                  "%1\n%2")
                       .arg(m_failure, nativePath(m_path)));
        return std::nullopt;
    }
    return count;
}

bool Tagebuch::noteSavedRecord(qint64 gameId, const OverallResultRecord &record)
{
    if (!m_open)
        return false;
    QSqlQuery insert = query();
    insert.prepare(QStringLiteral("INSERT OR IGNORE INTO ergebnissatz (satz, spiel) VALUES (?, ?)"));
    insert.addBindValue(record.toBytes());
    insert.addBindValue(gameId);
    return execOrFail(insert);
}

QSet<QByteArray> Tagebuch::knownRecords() const
{
    QSet<QByteArray> known;
    if (!m_open)
        return known;
    QSqlQuery read = query();
    read.setForwardOnly(true);
    if (!read.exec(QStringLiteral("SELECT satz FROM ergebnissatz"))) {
        noteFailure(read.lastError());
        return known;
    }
    while (read.next())
        known.insert(read.value(0).toByteArray());
    return known;
}

// ---------------------------------------------------------------------------------------------

QList<JournalGame> Tagebuch::games(const QDateTime &from, bool withRoundPoints) const
{
    QList<JournalGame> games;
    eachGame(from, withRoundPoints, [&games](const JournalGame &game) { games.append(game); });
    return games;
}

// The rounds' points and the records of imported games are read first, so that a long journal
// never has all its games in memory at once.
bool Tagebuch::eachGame(const QDateTime &from, bool withRoundPoints,
                        const std::function<void(const JournalGame &)> &visit) const
{
    if (!m_open)
        return false;
    QHash<qint64, std::array<int, 6>> roundPoints;
    if (withRoundPoints) {
        QSqlQuery rounds = query();
        rounds.setForwardOnly(true);
        rounds.prepare(QStringLiteral("SELECT r.spiel, r.nr, r.punkte_moeglich FROM runde r "
                                      "JOIN spiel s ON s.id = r.spiel WHERE s.ende >= ?"));
        rounds.addBindValue(fromText(from));
        if (!execOrFail(rounds))
            return false;
        while (rounds.next()) {
            const int nr = rounds.value(1).toInt();
            if (nr >= 1 && nr <= 6)
                roundPoints[rounds.value(0).toLongLong()][size_t(nr - 1)] = rounds.value(2).toInt();
        }
    }
    QHash<qint64, QByteArray> records;
    QSqlQuery imported = query();
    imported.setForwardOnly(true);
    imported.prepare(QStringLiteral("SELECT e.spiel, e.satz FROM ergebnissatz e "
                                    "JOIN spiel s ON s.id = e.spiel "
                                    "WHERE s.ende_durch = ? AND s.ende >= ?"));
    imported.addBindValue(int(GameEnd::ImportedFile));
    imported.addBindValue(fromText(from));
    if (!execOrFail(imported))
        return false;
    while (imported.next())
        records.insert(imported.value(0).toLongLong(), imported.value(1).toByteArray());

    QSqlQuery read = query();
    read.setForwardOnly(true);
    read.prepare(QStringLiteral("SELECT %1 FROM spiel WHERE ende >= ? ORDER BY ende, id")
                     .arg(QLatin1String(GameColumns)));
    read.addBindValue(fromText(from));
    if (!execOrFail(read))
        return false;
    while (read.next()) {
        JournalGame game = gameOfRow(read);
        if (const auto points = roundPoints.constFind(game.id); points != roundPoints.cend()) {
            for (size_t r = 0; r < game.rounds.size(); ++r)
                game.rounds[r].possible = (*points)[r];
        }
        game.resultRecord = records.value(game.id);
        visit(game);
    }
    return true;
}

std::optional<JournalGame> Tagebuch::game(qint64 id) const
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery read = query();
    read.prepare(QStringLiteral("SELECT %1 FROM spiel WHERE id = ?").arg(QLatin1String(GameColumns)));
    read.addBindValue(id);
    if (!execOrFail(read) || !read.next())
        return std::nullopt;
    JournalGame game = gameOfRow(read);
    QSqlQuery rounds = query();
    rounds.prepare(QStringLiteral("SELECT nr, vorgegeben, eingabe, wertung, stoerung, punkte, "
                                  "punkte_moeglich FROM runde WHERE spiel = ? ORDER BY nr"));
    rounds.addBindValue(id);
    if (!execOrFail(rounds))
        return std::nullopt;
    while (rounds.next()) {
        const int nr = rounds.value(0).toInt();
        if (nr < 1 || nr > int(game.rounds.size()))
            continue;
        JournalRound &round = game.rounds[size_t(nr - 1)];
        round.presented = rounds.value(1).toString();
        round.typed = rounds.value(2).toString();
        round.marks = rounds.value(3).toString();
        round.disturbance = rounds.value(4).toString();
        round.achieved = rounds.value(5).toInt();
        round.possible = rounds.value(6).toInt();
    }
    if (game.endedBy == GameEnd::ImportedFile) {
        QSqlQuery record = query();
        record.prepare(QStringLiteral("SELECT satz FROM ergebnissatz WHERE spiel = ?"));
        record.addBindValue(id);
        if (execOrFail(record) && record.next())
            game.resultRecord = record.value(0).toByteArray();
    }
    return game;
}

qint64 Tagebuch::gameCount() const
{
    QSqlQuery count = query();
    if (!m_open || !count.exec(QStringLiteral("SELECT count(*) FROM spiel")) || !count.next())
        return 0;
    return count.value(0).toLongLong();
}

QList<ColourRun> Tagebuch::colourRuns(const QDateTime &from) const
{
    QList<ColourRun> runs;
    if (!m_open)
        return runs;
    QSqlQuery read = query();
    read.setForwardOnly(true);
    read.prepare(QStringLiteral("SELECT id, ende, anzahl, zeige_dauer, pausen_laenge, richtige "
                                "FROM farbenfolge WHERE ende >= ? ORDER BY ende, id"));
    read.addBindValue(fromText(from));
    if (!execOrFail(read))
        return runs;
    while (read.next()) {
        runs.append({read.value(0).toLongLong(), momentOf(read.value(1).toString()),
                     read.value(2).toInt(), read.value(3).toInt(), read.value(4).toInt(),
                     read.value(5).toInt()});
    }
    return runs;
}

QMap<QDate, DayActivity> Tagebuch::activityByDay() const
{
    QMap<QDate, DayActivity> days;
    if (!m_open)
        return days;
    for (const bool games : {true, false}) {
        QSqlQuery read = query();
        read.setForwardOnly(true);
        if (!read.exec(QStringLiteral("SELECT substr(ende, 1, 10), count(*) FROM %1 GROUP BY 1")
                           .arg(games ? QStringLiteral("spiel") : QStringLiteral("farbenfolge")))) {
            noteFailure(read.lastError());
            continue;
        }
        while (read.next()) {
            DayActivity &day = days[QDate::fromString(read.value(0).toString(), Qt::ISODate)];
            (games ? day.games : day.colourRuns) = read.value(1).toInt();
        }
    }
    return days;
}

QList<Score> Tagebuch::lastScores(int level, int count, const QDateTime &before) const
{
    QList<Score> scores;
    if (!m_open)
        return scores;
    QSqlQuery read = query();
    read.prepare(QStringLiteral("SELECT punkte, punkte_moeglich FROM spiel "
                                "WHERE stufe = ? AND punkte_moeglich > 0 AND ende < ? "
                                "ORDER BY ende DESC, id DESC LIMIT ?"));
    read.addBindValue(level);
    read.addBindValue(beforeText(before));
    read.addBindValue(count);
    if (!execOrFail(read))
        return scores;
    while (read.next())
        scores.append(scoreOf(read, 0));
    return scores;
}

std::optional<Score> Tagebuch::bestScore(int level, const QDateTime &before) const
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery read = query();
    read.prepare(QStringLiteral("SELECT punkte, punkte_moeglich FROM spiel "
                                "WHERE stufe = ? AND punkte_moeglich > 0 AND ende < ? "
                                "ORDER BY CAST(punkte AS REAL) / punkte_moeglich DESC LIMIT 1"));
    read.addBindValue(level);
    read.addBindValue(beforeText(before));
    if (!execOrFail(read) || !read.next())
        return std::nullopt;
    return scoreOf(read, 0);
}

bool Tagebuch::clear()
{
    if (!m_open)
        return false;
    const bool cleared = inTransaction([this] {
        for (const char *table : {"runde", "ergebnissatz", "spiel", "farbenfolge"}) {
            if (!execSql(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table))))
                return false;
        }
        return true;
    });
    if (!cleared) {
        addMessage(QStringLiteral("Das Tagebuch konnte nicht gelöscht werden: %1\n%2")
                       .arg(m_failure, nativePath(m_path)));
        return false;
    }
    m_pending.clear();
    // The deleted games must not stay readable in free pages or in the write-ahead log.
    execSql(QStringLiteral("VACUUM"));
    execSql(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    return true;
}

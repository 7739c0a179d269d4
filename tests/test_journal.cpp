// SPDX-License-Identifier: GPL-3.0-or-later
// The journal: every field read back, imports, a full disk, a killed writer, damaged and unsafe
// files, two writers at once, and the progress it shows (training days, verdict, suggestion).
#include "TestSupport.h"

#include "common/RandomClock.h"
#include "journal/Fortschritt.h"
#include "journal/Tagebuch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QDateTime Start(QDate(2026, 12, 8), QTime(9, 30, 15, 250));

JournalGame sampleGame(const QDateTime &end, int level, int achieved, int possible,
                       const QString &player = QStringLiteral("Jörg Bärmann"))
{
    JournalGame game;
    game.end = end;
    game.endedBy = GameEnd::TimeLimit;
    game.player = player;
    game.level = level;
    game.presentFactor = 45;
    game.waitFactor = 120;
    game.allowanceSteps = 7;
    game.disturbance = QStringLiteral("B-n-3-14-080");
    game.disturbanceKind = 3;
    game.continent = 4;
    game.cushions = 3;
    game.speed = QStringLiteral("080");
    game.billiardStep = 14;
    game.ringsMode = QStringLiteral("g");
    game.billiardCorrection = QStringLiteral("n");
    game.backgroundText = true;
    game.hintPanel = false;
    game.windowCaption = false;
    game.remainingTime = true;
    game.achieved = achieved;
    game.possible = possible;
    for (int r = 0; r < 6; ++r) {
        JournalRound &round = game.rounds[size_t(r)];
        round.presented = QStringLiteral("K7M%1").arg(r);
        round.typed = r == 5 ? QString() : QStringLiteral("K7N%1").arg(r);
        round.marks = QStringLiteral("wwfw");
        round.disturbance = r == 2 ? QStringLiteral("B-n-3-14-080") : QStringLiteral("       -");
        round.achieved = r;
        round.possible = 12 + r;
    }
    return game;
}

OverallResultRecord sampleRecord(const QString &dateTime, int achieved)
{
    OverallResultRecord record;
    record.DateTime = dateTime;
    record.PlayerName = QStringLiteral("Ulla Öz");
    record.Disturbance = QStringLiteral("  H_Eu");
    record.DifficultyLevel = 4;
    record.PresentTimeFactor = 60;
    record.WaitTimeFactor = 60;
    record.TimeAllowanceSteps = 13;
    record.PointsAchieved = achieved;
    record.PointsPossible = 40;
    record.RoundPointsPossible = {9, 12, 16, 12, 15, 20};
    return record;
}

QString describe(const JournalGame &g)
{
    QStringList rounds;
    for (const JournalRound &r : g.rounds)
        rounds.append(QStringLiteral("%1/%2/%3/%4/%5/%6")
                          .arg(r.presented, r.typed, r.marks, r.disturbance)
                          .arg(r.achieved)
                          .arg(r.possible));
    return QStringList{g.end.toString(Qt::ISODateWithMs), QString::number(int(g.endedBy)),
                       g.player, QString::number(g.level), QString::number(g.presentFactor),
                       QString::number(g.waitFactor), QString::number(g.allowanceSteps),
                       g.disturbance, QString::number(g.disturbanceKind),
                       QString::number(g.continent), QString::number(g.cushions), g.speed,
                       QString::number(g.billiardStep), g.ringsMode, g.billiardCorrection,
                       QString::number(g.backgroundText), QString::number(g.hintPanel),
                       QString::number(g.windowCaption), QString::number(g.remainingTime),
                       QString::number(g.achieved), QString::number(g.possible),
                       rounds.join(QLatin1Char('|'))}
        .join(QLatin1Char(';'));
}

qint64 sizeOf(const QString &path)
{
    return QFileInfo(path).size();
}

// The exit codes of a forked child say which of its checks failed.
QString childOutcome(pid_t pid, const QStringList &meanings)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return QStringLiteral("the child was lost");
    if (!WIFEXITED(status))
        return QStringLiteral("the child died of signal %1").arg(WTERMSIG(status));
    const int code = WEXITSTATUS(status);
    return code == 0 ? QString() : meanings.value(code - 1, QStringLiteral("code %1").arg(code));
}

// Reads exactly `bytes` from a pipe, waiting at most `timeoutMs` in all.
bool readFully(int fd, char *into, size_t bytes, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    size_t got = 0;
    while (got < bytes) {
        pollfd wait{fd, POLLIN, 0};
        if (::poll(&wait, 1, int(std::max<qint64>(1, deadline.remainingTime()))) <= 0)
            return false;
        const ssize_t n = ::read(fd, into + got, bytes - got);
        if (n <= 0)
            return false;
        got += size_t(n);
    }
    return true;
}

} // namespace

class JournalTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gameAndColourRunReadBackWithEveryField();
    void importCountsARecordOnceAndNamesWhatItLeavesOut();
    void fullDiskKeepsTheGamePendingThenWritesIt();
    void killedWriterLosesNothingCommitted();
    void damagedJournalIsSetAsideAndANewOneBegun_data();
    void damagedJournalIsSetAsideAndANewOneBegun();
    void unsafeFileIsRefusedAndNeverFollowed_data();
    void unsafeFileIsRefusedAndNeverFollowed();
    void twoConnectionsWriteAtOnce();
    void switchNewerVersionAndDeletionStayInTheFile();
    void scoresForVerdictAndSuggestionComeFromTheLevel();

    void suggestionRuleAtItsEdges_data();
    void suggestionRuleAtItsEdges();
    void trainingDaysOfGivenDates();
    void streakInWords_data();
    void streakInWords();
    void verdictLine_data();
    void verdictLine();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("mentaro/Tagebuch.sqlite")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void JournalTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // The date a damaged journal is named after.
    RandomClock::useFixedNow(Start);
}

void JournalTest::cleanup()
{
    RandomClock::useFixedNow({});
    m_dir.reset();
}

void JournalTest::gameAndColourRunReadBackWithEveryField()
{
    JournalGame written = sampleGame(Start, 9, 57, 90);
    {
        Tagebuch journal(path(), QStringLiteral("schreiben"));
        QVERIFY(journal.open());
        QVERIFY(journal.record(written));
        written.id = journal.lastGameId();
        JournalGame ended = sampleGame(Start.addSecs(60), 9, 90, 90);
        ended.endedBy = GameEnd::AfterRound6;
        QVERIFY(journal.record(ended));
        QVERIFY(journal.record(ColourRun{0, Start.addSecs(30), 7, 900, 450, 6}));
        QCOMPARE(journal.pendingCount(), 0);
        QCOMPARE(journal.takeMessages(), QStringList());
    }
    // Read back by a connection of its own, as the next start of the program would.
    Tagebuch journal(path(), QStringLiteral("lesen"), Tagebuch::Access::ReadOnly);
    QVERIFY(journal.open());
    const std::optional<JournalGame> read = journal.game(written.id);
    QVERIFY(read);
    QCOMPARE(describe(*read), describe(written));
    const QList<JournalGame> all = journal.games();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[1].endedBy, GameEnd::AfterRound6);
    // The list carries each round's possible points, for the results-file columns.
    QCOMPARE(OverallRecordOf(all[0]).RoundPointsPossible, (std::array<quint8, 6>{12, 13, 14, 15, 16, 17}));
    QCOMPARE(OverallRecordOf(all[0]).DateTime.text(), QStringLiteral("08.12.2026--09:30:15"));
    const QList<ColourRun> runs = journal.colourRuns();
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].end, Start.addSecs(30));
    QCOMPARE(QList<int>({runs[0].count, runs[0].showMs, runs[0].pauseMs, runs[0].correct}),
             QList<int>({7, 900, 450, 6}));
    const QMap<QDate, DayActivity> days = journal.activityByDay();
    QCOMPARE(days.size(), 1);
    QCOMPARE(days.value(Start.date()).games, 2);
    QCOMPARE(days.value(Start.date()).colourRuns, 1);
}

void JournalTest::importCountsARecordOnceAndNamesWhatItLeavesOut()
{
    const OverallResultRecord first = sampleRecord(QStringLiteral("01.12.2026--18:00:00"), 30);
    const OverallResultRecord second = sampleRecord(QStringLiteral("02.12.2026--18:00:00"), 36);
    OverallResultRecord damaged = first;
    damaged.DifficultyLevel = 40;
    // The same game once more, differing only in a filler byte that means nothing.
    QByteArray sameWithFiller = first.toBytes();
    sameWithFiller[47] = char(0x5a);
    const QString file = m_dir->filePath(QStringLiteral("Ulla.ERG"));
    TestSupport::writeAll(file, first.toBytes() + damaged.toBytes() + second.toBytes() +
                                    sameWithFiller + QByteArray(17, 'x'));
    const ImportFile read = ReadImportFile(file);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.records.size(), 3);
    QCOMPARE(read.ignored,
             QStringList({QStringLiteral("Datensatz 2 ist beschädigt und wurde nicht übernommen."),
                          QStringLiteral("Die letzten 17 Bytes sind kein ganzer Datensatz und "
                                         "wurden nicht übernommen.")}));
    QCOMPARE(ReadImportFile(m_dir->filePath(QStringLiteral("fehlt.ERG"))).error,
             QStringLiteral("Datei nicht gefunden"));

    Tagebuch journal(path(), QStringLiteral("import"));
    QVERIFY(journal.open());
    std::optional<Tagebuch::ImportCount> count = journal.importRecords(read.records);
    QVERIFY(count);
    QCOMPARE(count->added, 2);
    QCOMPARE(count->known, 1);
    count = journal.importRecords(read.records);
    QVERIFY(count);
    QCOMPARE(count->added, 0);
    QCOMPARE(count->known, 3);
    QCOMPARE(ImportCountText(0, 3), QStringLiteral("0 Spiele übernommen, 3 waren schon im Tagebuch."));
    // A game played here and saved in a results file is known by that record too.
    QVERIFY(journal.record(sampleGame(Start, 4, 20, 40)));
    const OverallResultRecord saved = sampleRecord(QStringLiteral("08.12.2026--09:31:00"), 20);
    QVERIFY(journal.noteSavedRecord(journal.lastGameId(), saved));
    count = journal.importRecords({saved});
    QVERIFY(count);
    QCOMPARE(count->known, 1);

    const QList<JournalGame> games = journal.games();
    QCOMPARE(games.size(), 3);
    QCOMPARE(games[0].endedBy, GameEnd::ImportedFile);
    // An imported game is shown exactly as its file holds it.
    QCOMPARE(OverallRecordOf(games[0]).toBytes(), first.toBytes());
    QCOMPARE(OverallRecordOf(games[1]).toBytes(), second.toBytes());
    QCOMPARE(journal.knownRecords().size(), 3);
}

void JournalTest::fullDiskKeepsTheGamePendingThenWritesIt()
{
    {
        Tagebuch created(path(), QStringLiteral("anlegen"));
        QVERIFY(created.open());
    }
    // The limit holds for the whole process, so it is lowered in a child of its own.
    const pid_t pid = ::fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        Tagebuch journal(path(), QStringLiteral("voll"));
        if (!journal.open())
            ::_exit(1);
        {
            // A game is appended to the write-ahead log, which may not grow any more.
            TestSupport::FileSizeLimit full(sizeOf(path() + "-wal"));
            if (journal.record(sampleGame(Start, 3, 10, 20)))
                ::_exit(2);
            if (journal.pendingCount() != 1)
                ::_exit(3);
            const QStringList messages = journal.takeMessages();
            if (messages.size() != 1 ||
                !messages[0].startsWith(QStringLiteral("Ins Tagebuch konnte nicht geschrieben "
                                                       "werden: ")))
                ::_exit(4);
        }
        if (!journal.record(sampleGame(Start.addSecs(90), 3, 15, 20)) || journal.pendingCount() != 0)
            ::_exit(5);
        ::_exit(0);
    }
    QCOMPARE(childOutcome(pid, {"the journal did not open", "the write did not fail",
                                "the game was not kept pending", "no message named the cause",
                                "the pending game was not written with the next"}),
             QString());
    Tagebuch journal(path(), QStringLiteral("nachher"), Tagebuch::Access::ReadOnly);
    QVERIFY(journal.open());
    const QList<JournalGame> games = journal.games();
    QCOMPARE(games.size(), 2);
    QCOMPARE(games[0].end, Start);
    QCOMPARE(games[1].achieved, 15);
}

void JournalTest::killedWriterLosesNothingCommitted()
{
    int ids[2];
    QVERIFY(::pipe(ids) == 0);
    const pid_t pid = ::fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        ::close(ids[0]);
        Tagebuch journal(path(), QStringLiteral("schreiber"));
        if (!journal.open())
            ::_exit(1);
        for (int i = 0;; ++i) {
            if (!journal.record(sampleGame(Start.addSecs(i), 3, i % 20, 20)))
                ::_exit(2);
            const qint64 id = journal.lastGameId();
            if (::write(ids[1], &id, sizeof id) != sizeof id)
                ::_exit(3);
        }
    }
    ::close(ids[1]);
    // Killed while it writes: after 25 games it has committed, somewhere in the next one.
    QList<qint64> committed(25);
    const bool reported = readFully(ids[0], reinterpret_cast<char *>(committed.data()),
                                    sizeof(qint64) * size_t(committed.size()), 60000);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    qint64 later = 0;
    while (readFully(ids[0], reinterpret_cast<char *>(&later), sizeof later, 1000))
        committed.append(later);
    ::close(ids[0]);
    QVERIFY2(reported, "the writer did not report 25 committed games");

    Tagebuch journal(path(), QStringLiteral("danach"));
    QVERIFY(journal.open());
    QCOMPARE(journal.takeMessages(), QStringList());
    for (const qint64 id : std::as_const(committed))
        QVERIFY2(journal.game(id), qPrintable(QStringLiteral("game %1 lost").arg(id)));
    QVERIFY(journal.gameCount() >= committed.size());
    QVERIFY(journal.record(sampleGame(Start.addDays(1), 3, 1, 2)));
}

void JournalTest::damagedJournalIsSetAsideAndANewOneBegun_data()
{
    QTest::addColumn<bool>("wasJournal");
    QTest::newRow("no database at all") << false;
    QTest::newRow("a journal with a damaged page") << true;
}

void JournalTest::damagedJournalIsSetAsideAndANewOneBegun()
{
    QFETCH(bool, wasJournal);
    QByteArray damaged;
    if (wasJournal) {
        {
            Tagebuch journal(path(), QStringLiteral("vorher"));
            QVERIFY(journal.open());
            for (int i = 0; i < 40; ++i)
                QVERIFY(journal.record(sampleGame(Start.addSecs(i), 5, i, 40)));
        }
        // Closed, so every page is in the file; the tables' pages get overwritten.
        QVERIFY(!QFileInfo::exists(path() + "-wal"));
        damaged = TestSupport::readAll(path());
        QVERIFY(damaged.size() > 4 * 4096);
        for (qsizetype at = 4096; at < damaged.size(); at += 4096)
            damaged.replace(at, 64, QByteArray(64, char(0xa5)));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
        damaged = QByteArray("Das ist keine Datenbank.\n").repeated(400);
    }
    TestSupport::writeAll(path(), damaged);

    Tagebuch journal(path(), QStringLiteral("beschaedigt"));
    QVERIFY(journal.open());
    const QString aside =
        QFileInfo(path()).dir().filePath(Tagebuch::DamagedName(Start.date()));
    QCOMPARE(TestSupport::readAll(aside), damaged);
    const QStringList messages = journal.takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QDir::toNativeSeparators(aside)), qPrintable(messages[0]));
    QCOMPARE(journal.gameCount(), 0);
    QVERIFY(journal.record(sampleGame(Start, 5, 1, 2)));
    QCOMPARE(journal.gameCount(), 1);
}

void JournalTest::unsafeFileIsRefusedAndNeverFollowed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("named");
    QTest::newRow("link to a journal") << "link" << "eine symbolische Verknüpfung";
    QTest::newRow("link to nothing") << "dangling" << "eine symbolische Verknüpfung";
    QTest::newRow("fifo") << "fifo" << "eine benannte Pipe (FIFO)";
    QTest::newRow("folder") << "folder" << "ein Ordner";
}

void JournalTest::unsafeFileIsRefusedAndNeverFollowed()
{
    QFETCH(QString, kind);
    QFETCH(QString, named);
    const QString target = m_dir->filePath(QStringLiteral("anderswo.sqlite"));
    if (kind == QLatin1String("link")) {
        Tagebuch elsewhere(target, QStringLiteral("anderswo"));
        QVERIFY(elsewhere.open());
        QVERIFY(elsewhere.record(sampleGame(Start, 2, 1, 1)));
    }
    QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
    const QByteArray name = QFile::encodeName(path());
    if (kind == QLatin1String("link") || kind == QLatin1String("dangling"))
        QVERIFY(::symlink(QFile::encodeName(target).constData(), name.constData()) == 0);
    else if (kind == QLatin1String("fifo"))
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    else
        QVERIFY(QDir().mkdir(path()));
    const QByteArray before = TestSupport::readAll(target);
    const QStringList entries = TestSupport::directoryEntries(m_dir->path());

    Tagebuch journal(path(), QStringLiteral("abgelehnt"));
    QVERIFY(!journal.open());
    const QStringList messages = journal.takeMessages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(named), qPrintable(messages[0]));
    QVERIFY(!journal.record(sampleGame(Start, 2, 1, 1)));
    // Nothing was made or changed where the name points.
    QCOMPARE(TestSupport::directoryEntries(m_dir->path()), entries);
    QCOMPARE(TestSupport::readAll(target), before);
    QCOMPARE(TestSupport::directoryEntries(QFileInfo(path()).path()),
             QStringList{QStringLiteral("Tagebuch.sqlite")});
}

void JournalTest::twoConnectionsWriteAtOnce()
{
    {
        Tagebuch created(path(), QStringLiteral("anlegen"));
        QVERIFY(created.open());
    }
    constexpr int Games = 40;
    int go[2];
    QVERIFY(::pipe(go) == 0);
    const pid_t pid = ::fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        ::close(go[1]);
        Tagebuch journal(path(), QStringLiteral("zweite Kopie"));
        char start = 0;
        if (!journal.open() || !readFully(go[0], &start, 1, 60000))
            ::_exit(1);
        for (int i = 0; i < Games; ++i) {
            if (!journal.record(sampleGame(Start.addMSecs(2 * i + 1), 6, i, Games,
                                           QStringLiteral("Zweite"))))
                ::_exit(2);
        }
        ::_exit(0);
    }
    ::close(go[0]);
    Tagebuch journal(path(), QStringLiteral("erste Kopie"));
    QVERIFY(journal.open());
    QCOMPARE(::write(go[1], "g", 1), ssize_t(1));
    ::close(go[1]);
    int written = 0;
    for (int i = 0; i < Games; ++i)
        written += journal.record(sampleGame(Start.addMSecs(2 * i), 6, i, Games)) ? 1 : 0;
    QCOMPARE(childOutcome(pid, {"the second copy could not start", "a write of the second copy failed"}),
             QString());
    QCOMPARE(written, Games);
    QCOMPARE(journal.takeMessages(), QStringList());
    const QList<JournalGame> games = journal.games();
    QCOMPARE(games.size(), 2 * Games);
    for (int i = 0; i < games.size(); ++i)
        QCOMPARE(games[i].player, i % 2 ? QStringLiteral("Zweite") : QStringLiteral("Jörg Bärmann"));
}

void JournalTest::switchNewerVersionAndDeletionStayInTheFile()
{
    {
        Tagebuch journal(path(), QStringLiteral("schalter"));
        QVERIFY(journal.open());
        QVERIFY(journal.keeping());
        QVERIFY(journal.setKeeping(false));
        QVERIFY(journal.record(sampleGame(Start, 3, 1, 2, QStringLiteral("Geheimname"))));
        QVERIFY(journal.record(ColourRun{0, Start, 4, 1000, 1000, 4}));
        QVERIFY(journal.clear());
        QCOMPARE(journal.gameCount(), 0);
        QCOMPARE(journal.colourRuns().size(), 0);
    }
    // Deleted is gone from the file too, not only from the tables.
    QVERIFY(!TestSupport::readAll(path()).contains("Geheimname"));
    QVERIFY(!TestSupport::readAll(path() + "-wal").contains("Geheimname"));
    {
        Tagebuch journal(path(), QStringLiteral("wieder"));
        QVERIFY(journal.open());
        QVERIFY(!journal.keeping());
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("neuer"));
        db.setDatabaseName(path());
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = 7")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("neuer"));
    const QByteArray newer = TestSupport::readAll(path());
    Tagebuch journal(path(), QStringLiteral("zu neu"));
    QVERIFY(!journal.open());
    QVERIFY(journal.takeMessages().value(0).contains(QStringLiteral("neueren Version")));
    QCOMPARE(TestSupport::readAll(path()), newer);
}

void JournalTest::scoresForVerdictAndSuggestionComeFromTheLevel()
{
    Tagebuch journal(path(), QStringLiteral("stufen"));
    QVERIFY(journal.open());
    QVERIFY(journal.record(sampleGame(Start, 3, 30, 40)));
    QVERIFY(journal.record(sampleGame(Start.addSecs(10), 4, 39, 40)));
    QVERIFY(journal.record(sampleGame(Start.addSecs(20), 3, 0, 0)));
    QVERIFY(journal.record(sampleGame(Start.addSecs(30), 3, 20, 40)));
    const QList<Score> last = journal.lastScores(3, 2);
    QCOMPARE(last.size(), 2);
    // Latest first; the game without possible points has no share and is skipped.
    QCOMPARE(last[0].achieved, 20);
    QCOMPARE(last[1].achieved, 30);
    QCOMPARE(journal.lastScores(3, 5, Start.addSecs(30)).size(), 1);
    QCOMPARE(journal.bestScore(3, Start.addSecs(31))->achieved, 30);
    QVERIFY(!journal.bestScore(3, Start));
}

void JournalTest::suggestionRuleAtItsEdges_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QList<int>>("achievedOf40");
    QTest::addColumn<int>("suggested");
    QTest::newRow("two at exactly 90 %") << 3 << QList<int>{36, 36} << 4;
    QTest::newRow("one just under 90 %") << 3 << QList<int>{36, 35} << 3;
    QTest::newRow("older games do not count") << 3 << QList<int>{40, 20, 40} << 3;
    QTest::newRow("one game only") << 3 << QList<int>{40} << 3;
    QTest::newRow("none") << 3 << QList<int>{} << 3;
    QTest::newRow("two just under 60 %") << 3 << QList<int>{23, 23} << 2;
    QTest::newRow("two at exactly 60 %") << 3 << QList<int>{24, 24} << 3;
    QTest::newRow("top level stays") << 15 << QList<int>{40, 40} << 15;
    QTest::newRow("lowest level stays") << 1 << QList<int>{0, 10} << 1;
}

void JournalTest::suggestionRuleAtItsEdges()
{
    QFETCH(int, level);
    QFETCH(QList<int>, achievedOf40);
    QFETCH(int, suggested);
    QList<Score> scores;
    for (const int achieved : achievedOf40)
        scores.append({achieved, 40});
    const LevelSuggestion suggestion = SuggestLevel(level, scores);
    QCOMPARE(suggestion.level, suggested);
    QVERIFY(suggestion.reason.contains(QStringLiteral("Stufe %1").arg(level)));
    QVERIFY(suggestion.reason.endsWith(QLatin1Char('.')));
}

void JournalTest::trainingDaysOfGivenDates()
{
    // A Wednesday; trained today, the two days before, and earlier with gaps.
    const QDate today(2026, 12, 9);
    QMap<QDate, DayActivity> activity;
    activity[today] = {1, 1};
    activity[today.addDays(-1)] = {5, 0};
    activity[today.addDays(-2)] = {0, 3};
    activity[today.addDays(-4)] = {2, 0};
    activity[today.addDays(-83)] = {1, 0}; // before the twelve weeks
    activity[today.addDays(-79)] = {1, 0}; // the first Monday shown
    const QList<TrainingDay> days = TrainingDaysRow(activity, today);
    QCOMPARE(days.size(), 12 * 7);
    QCOMPARE(days.first().date, QDate(2026, 9, 21));
    QCOMPARE(days.first().date.dayOfWeek(), 1);
    QCOMPARE(days.first().shade, 1);
    int trained = 0;
    int future = 0;
    for (const TrainingDay &day : days) {
        trained += day.activity.total() > 0 ? 1 : 0;
        future += day.future ? 1 : 0;
        QCOMPARE(day.week * 7 + day.weekday, int(days.first().date.daysTo(day.date)));
    }
    QCOMPARE(trained, 5);
    QCOMPARE(future, 4); // Thursday to Sunday of this week
    const TrainingDay &shownToday = days[11 * 7 + 2];
    QVERIFY(shownToday.today);
    QCOMPARE(shownToday.shade, 2);
    QCOMPARE(days[11 * 7 + 1].shade, 4);
    QCOMPARE(days[11 * 7 + 0].shade, 3);
    QCOMPARE(days[10 * 7 + 6].shade, 0);
    QCOMPARE(days[10 * 7 + 5].shade, 2);
    QCOMPARE(TrainingDayText(shownToday), QStringLiteral("Mi., 09.12.2026: 1 Spiel, 1 Farbenfolge"));
    QCOMPARE(TrainingDayText(days[10 * 7 + 6]), QStringLiteral("So., 06.12.2026: nicht trainiert"));
    QCOMPARE(CurrentStreak(activity, today).days, 3);
}

void JournalTest::streakInWords_data()
{
    QTest::addColumn<QList<int>>("daysAgo");
    QTest::addColumn<QString>("text");
    QTest::newRow("four days up to today") << QList<int>{0, 1, 2, 3, 5} << "4 Tage in Folge";
    QTest::newRow("today only") << QList<int>{0, 2} << "1 Tag in Folge";
    QTest::newRow("up to yesterday") << QList<int>{1, 2, 3} << "3 Tage in Folge bis gestern";
    QTest::newRow("yesterday only") << QList<int>{1} << "Gestern trainiert, heute noch nicht";
    QTest::newRow("a gap") << QList<int>{2, 3} << "Heute noch nicht trainiert";
    QTest::newRow("longer than twelve weeks")
        << [] {
               QList<int> all;
               for (int day = 0; day < 100; ++day)
                   all.append(day);
               return all;
           }()
        << "100 Tage in Folge";
}

void JournalTest::streakInWords()
{
    QFETCH(QList<int>, daysAgo);
    QFETCH(QString, text);
    const QDate today(2026, 12, 9);
    QMap<QDate, DayActivity> activity;
    for (const int ago : daysAgo)
        activity[today.addDays(-ago)] = {0, 1};
    QCOMPARE(StreakText(CurrentStreak(activity, today)), text);
}

void JournalTest::verdictLine_data()
{
    QTest::addColumn<int>("achieved");
    QTest::addColumn<int>("possible");
    QTest::addColumn<int>("previous"); // of 40; -1 for none
    QTest::addColumn<int>("best");     // of 40; -1 for none
    QTest::addColumn<QString>("line");
    QTest::newRow("first at the level") << 30 << 40 << -1 << -1
                                        << "Du hast 75,0 % der Punkte erreicht, Dein erstes "
                                           "Spiel auf Stufe 5 im Tagebuch.";
    QTest::newRow("better and best") << 34 << 40 << 30 << 32
                                     << "Du hast 85,0 % der Punkte erreicht, 10,0 Prozentpunkte "
                                        "mehr als im letzten Spiel auf Stufe 5 (75,0 %) – neue "
                                        "Bestleistung auf Stufe 5!";
    QTest::newRow("worse") << 27 << 40 << 30 << 36
                           << "Du hast 67,5 % der Punkte erreicht, 7,5 Prozentpunkte weniger als "
                              "im letzten Spiel auf Stufe 5 (75,0 %).";
    QTest::newRow("equal to the best is no new best") << 36 << 40 << 36 << 36
                                                      << "Du hast 90,0 % der Punkte erreicht, "
                                                         "genauso viel wie im letzten Spiel auf "
                                                         "Stufe 5.";
    QTest::newRow("no points possible") << 0 << 0 << 30 << 36
                                        << "In diesem Spiel waren keine Punkte möglich: Die Zeit "
                                           "lief vor Deiner ersten Eingabe ab.";
}

void JournalTest::verdictLine()
{
    QFETCH(int, achieved);
    QFETCH(int, possible);
    QFETCH(int, previous);
    QFETCH(int, best);
    QFETCH(QString, line);
    const auto of40 = [](int points) {
        return points < 0 ? std::nullopt : std::optional(Score{points, 40});
    };
    QCOMPARE(VerdictText({achieved, possible}, 5, of40(previous), of40(best)), line);
}

QTEST_GUILESS_MAIN(JournalTest)
#include "test_journal.moc"

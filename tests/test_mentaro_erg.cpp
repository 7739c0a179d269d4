// SPDX-License-Identifier: GPL-3.0-or-later
// mentaro-erg run as a program: good, damaged and missing files, wrong arguments, CSV output,
// the journal read and files imported into it.
#include "journal/Tagebuch.h"
#include "results/Verlaufsdaten.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

// The journal of these runs, never the player's own.
QString dataHome;

Run runTool(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MENTARO_ERG), arguments);
    Run run;
    // Bounded only so that a hanging program fails the test instead of blocking ctest.
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

OverallResultRecord game(const QString &dateTime, const QString &name, int achieved, int possible)
{
    OverallResultRecord record;
    record.DateTime = dateTime;
    record.PlayerName = name;
    record.Disturbance = QStringLiteral("  H_As");
    record.DifficultyLevel = 7;
    record.PresentTimeFactor = 100;
    record.WaitTimeFactor = 100;
    record.TimeAllowanceSteps = 12;
    record.PointsAchieved = achieved;
    record.PointsPossible = possible;
    return record;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class ErgToolTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answersEachCase_data();
    void answersEachCase();
    void csvIsTheWindowsCsv();
    void showPrintsTheMergedGames();
    void fileNamesThatAreNotUtf8AreOpened();
    void journalIsReadOnlyAndImportCountsAGameOnce();

private:
    QTemporaryDir m_dir;
    QList<OverallResultRecord> m_first;
    QList<OverallResultRecord> m_second;
};

void ErgToolTest::initTestCase()
{
    dataHome = m_dir.filePath("data");
    m_first = {game("12.04.2024--18:00:00", "Jörg", 40, 80),
               game("10.04.2024--08:00:00", "Jörg", 0, 0)};
    m_second = {m_first[0], game("11.04.2024--12:30:00", "Ulla;Öz", 70, 80)};
    QByteArray first;
    for (const OverallResultRecord &record : m_first)
        first += record.toBytes();
    QByteArray second;
    for (const OverallResultRecord &record : m_second)
        second += record.toBytes();
    writeFile(m_dir.filePath("a.ERG"), first);
    writeFile(m_dir.filePath("b.ERG"), second);
    OverallResultRecord broken = m_first[0];
    broken.DifficultyLevel = 99;
    writeFile(m_dir.filePath("kaputt.ERG"), first + broken.toBytes());
    writeFile(m_dir.filePath("lang.ERG"), first.repeated(11) + "cut");
}

void ErgToolTest::answersEachCase_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("output");

    QTest::newRow("show good") << QStringList{"show", "a.ERG"} << 0 << "" << true;
    QTest::newRow("csv good") << QStringList{"csv", "a.ERG", "b.ERG"} << 0 << "" << true;
    QTest::newRow("missing") << QStringList{"show", "a.ERG", "fehlt.ERG"} << 1
                             << "mentaro-erg: fehlt.ERG: Datei nicht gefunden\n"
                             << false;
    QTest::newRow("damaged") << QStringList{"csv", "kaputt.ERG"} << 1
                             << "mentaro-erg: kaputt.ERG: Datei beschädigt (Datensatz 3)\n"
                             << false;
    QTest::newRow("folder") << QStringList{"show", "."} << 1 << "mentaro-erg: .: Dateizugriff verweigert\n"
                            << false;
    // Read as the program reads it, and what it leaves unread is named.
    QTest::newRow("more than 20 records, a cut one")
        << QStringList{"show", "lang.ERG", "a.ERG"} << 0
        << "mentaro-erg: lang.ERG: Datensätze 21 bis 22 nicht gelesen: eine Ergebnisdatei hält "
           "höchstens 20\nmentaro-erg: lang.ERG: 3 Bytes am Ende nicht gelesen: kein ganzer "
           "Datensatz\n"
        << true;
    QTest::newRow("no file") << QStringList{"show"} << 2 << "Aufruf: mentaro-erg" << false;
    QTest::newRow("no command") << QStringList{} << 2 << "Aufruf: mentaro-erg" << false;
    QTest::newRow("unknown command")
        << QStringList{"zeige", "a.ERG"} << 2 << "Aufruf: mentaro-erg" << false;
    QTest::newRow("help") << QStringList{"--help"} << 0 << "" << true;
    // In this order: the journal is made by the first import.
    QTest::newRow("no journal yet") << QStringList{"journal", "show"} << 1
                                    << "mentaro-erg: Es gibt noch kein Tagebuch: " << false;
    QTest::newRow("import leaves a damaged record out")
        << QStringList{"import", "kaputt.ERG"} << 0
        << "mentaro-erg: kaputt.ERG: Datensatz 3 ist beschädigt und wurde nicht übernommen.\n"
        << true;
    QTest::newRow("import of a missing file")
        << QStringList{"import", "fehlt.ERG", "b.ERG"} << 1
        << "mentaro-erg: fehlt.ERG: Datei nicht gefunden\n" << true;
    QTest::newRow("journal csv") << QStringList{"journal", "csv"} << 0 << "" << true;
    QTest::newRow("journal, no command") << QStringList{"journal"} << 2 << "Aufruf: mentaro-erg"
                                         << false;
    QTest::newRow("journal, unknown command")
        << QStringList{"journal", "zeige"} << 2 << "Aufruf: mentaro-erg" << false;
    QTest::newRow("import, no file") << QStringList{"import"} << 2 << "Aufruf: mentaro-erg"
                                     << false;
}

void ErgToolTest::answersEachCase()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    QFETCH(bool, output);
    QDir::setCurrent(m_dir.path());
    const Run run = runTool(arguments);
    QCOMPARE(run.exitCode, exitCode);
    if (error.isEmpty())
        QCOMPARE(run.err, QString());
    else
        QVERIFY2(run.err.startsWith(error), qPrintable(run.err));
    QCOMPARE(!run.out.isEmpty(), output);
}

void ErgToolTest::csvIsTheWindowsCsv()
{
    GameHistory history;
    history.add(m_first, m_dir.filePath("a.ERG"));
    history.add(m_second, m_dir.filePath("b.ERG"));
    QCOMPARE(history.games().size(), 3);
    const Run run = runTool({"csv", m_dir.filePath("a.ERG"), m_dir.filePath("b.ERG")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, HistoryCsv(history.games()));
}

void ErgToolTest::showPrintsTheMergedGames()
{
    const Run run = runTool({"show", m_dir.filePath("a.ERG"), m_dir.filePath("b.ERG")});
    QCOMPARE(run.exitCode, 0);
    const QStringList lines = QString::fromUtf8(run.out).split('\n');
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[0].startsWith(QStringLiteral("Datum")));
    QVERIFY(lines[1].startsWith(QStringLiteral("10.04.2024  08:00:00  Jörg")));
    QVERIFY(lines[1].endsWith(QStringLiteral("-")));
    QVERIFY(lines[2].contains(QStringLiteral("Ulla;Öz")));
    QVERIFY(lines[2].endsWith(QStringLiteral("87,5")));
    QVERIFY(lines[3].endsWith(QStringLiteral("50,0")));
    QCOMPARE(lines[4], QStringLiteral("3 Spiele"));
}

// A QString cannot hold such names, so the shell passes their bytes: the file is read (no
// complaint), the missing one is named.
void ErgToolTest::fileNamesThatAreNotUtf8AreOpened()
{
    const QByteArray name = QFile::encodeName(m_dir.filePath("J")) + "\xF6rg.ERG";
    QVERIFY(::link(QFile::encodeName(m_dir.filePath("a.ERG")).constData(), name.constData()) == 0);
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(
        "/bin/sh",
        {"-c", "exec \"$0\" csv \"$(printf 'J\\366rg.ERG')\" \"$(printf '\\344')\"", MENTARO_ERG});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             QStringLiteral("mentaro-erg: \uFFFD: Datei nicht gefunden\n"));
}

void ErgToolTest::journalIsReadOnlyAndImportCountsAGameOnce()
{
    const Run again = runTool({"import", m_dir.filePath("a.ERG"), m_dir.filePath("b.ERG")});
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(QString::fromUtf8(again.out),
             m_dir.filePath("a.ERG") + ": 0 Spiele übernommen, 2 waren schon im Tagebuch.\n" +
                 m_dir.filePath("b.ERG") + ": 0 Spiele übernommen, 2 waren schon im Tagebuch.\n");

    const QString journal = dataHome + "/mentaro/Tagebuch.sqlite";
    QFile file(journal);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const Run show = runTool({"journal", "show"});
    QCOMPARE(show.exitCode, 0);
    const QStringList lines = QString::fromUtf8(show.out).split('\n');
    QCOMPARE(lines.value(4), QStringLiteral("3 Spiele"));
    QVERIFY(show.out.contains("\nFarben merken\n0 Folgen\n"));
    // The same CSV as the window writes for the same games.
    GameHistory history;
    history.add(m_first, QString());
    history.add(m_second, QString());
    const Run csv = runTool({"journal", "csv"});
    QCOMPARE(csv.exitCode, 0);
    QCOMPARE(csv.out, HistoryCsv(history.games()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

QTEST_GUILESS_MAIN(ErgToolTest)
#include "test_mentaro_erg.moc"

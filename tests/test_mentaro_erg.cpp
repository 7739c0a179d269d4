// SPDX-License-Identifier: GPL-3.0-or-later
// mentaro-erg run as a program: good, damaged and missing files, wrong arguments, CSV output.
#include "results/Verlaufsdaten.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runTool(const QStringList &arguments)
{
    QProcess process;
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

private:
    QTemporaryDir m_dir;
    QList<OverallResultRecord> m_first;
    QList<OverallResultRecord> m_second;
};

void ErgToolTest::initTestCase()
{
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
    QTest::newRow("no file") << QStringList{"show"} << 2 << "Aufruf: mentaro-erg" << false;
    QTest::newRow("no command") << QStringList{} << 2 << "Aufruf: mentaro-erg" << false;
    QTest::newRow("unknown command")
        << QStringList{"zeige", "a.ERG"} << 2 << "Aufruf: mentaro-erg" << false;
    QTest::newRow("help") << QStringList{"--help"} << 0 << "" << true;
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

QTEST_GUILESS_MAIN(ErgToolTest)
#include "test_mentaro_erg.moc"

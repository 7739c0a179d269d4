// SPDX-License-Identifier: GPL-3.0-or-later
// The games of several results files: merging, percentages, trend, CSV and refused files.
#include "common/RecordFile.h"
#include "results/Verlaufsdaten.h"
#include "results/Zeitachse.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


namespace {

OverallResultRecord game(const QString &dateTime, const QString &name, int level, int achieved,
                         int possible, const QString &disturbance = QStringLiteral("     T"))
{
    OverallResultRecord record;
    record.DateTime = dateTime;
    record.PlayerName = name;
    record.Disturbance = disturbance;
    record.DifficultyLevel = level;
    record.PresentTimeFactor = 100;
    record.WaitTimeFactor = 120;
    record.TimeAllowanceSteps = 6;
    record.PointsAchieved = achieved;
    record.PointsPossible = possible;
    record.RoundPointsPossible = {9, 12, 16, 12, 15, 20};
    return record;
}

QByteArray bytesOf(const QList<OverallResultRecord> &records)
{
    QByteArray bytes;
    for (const OverallResultRecord &record : records)
        bytes += record.toBytes();
    return bytes;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One CSV line split into fields, with quoted fields unquoted.
QStringList csvFields(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(';')) {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

} // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void recordMomentReadsTheSavedDateOnly_data();
    void recordMomentReadsTheSavedDateOnly();
    void twoFilesMergeByDateAndCountAGameFoundTwiceOnce();
    void gameWithoutPossiblePointsHasNoPercentageAndNoTrendWeight();
    void trendIsTheLeastSquaresLine();
    void refusedFilesGiveTheirReason_data();
    void refusedFilesGiveTheirReason();
    void csvWithUmlautsReadsBack();
    void csvCellsCannotRunAsFormulas();
    void disturbanceLabelsReadAsTheirKind_data();
    void disturbanceLabelsReadAsTheirKind();
    void tableAlignsColumnsAndCountsTheGames();
    void timeAxisFitsTheGames_data();
    void timeAxisFitsTheGames();
    void trendNeedsThreeGamesOnTwoDays_data();
    void trendNeedsThreeGamesOnTwoDays();
    void manyGamesAreShownAsMeansOfAPeriod_data();
    void manyGamesAreShownAsMeansOfAPeriod();

private:
    QTemporaryDir m_dir;
};

void HistoryTest::recordMomentReadsTheSavedDateOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("moment");
    QTest::newRow("saved") << "05.03.2024--14:07:09"
                           << QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9));
    QTest::newRow("leap day") << "29.02.2024--00:00:00"
                              << QDateTime(QDate(2024, 2, 29), QTime(0, 0));
    QTest::newRow("no such day") << "30.02.2024--10:00:00" << QDateTime();
    QTest::newRow("no time") << "05.03.2024" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
    QTest::newRow("other format") << "2024-03-05--14:07:09" << QDateTime();
}

void HistoryTest::recordMomentReadsTheSavedDateOnly()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, moment);
    QCOMPARE(RecordMoment(text), moment);
}

void HistoryTest::twoFilesMergeByDateAndCountAGameFoundTwiceOnce()
{
    const OverallResultRecord shared = game("02.03.2024--10:00:00", "Anna", 3, 30, 40);
    const QString first = m_dir.filePath("erste.ERG");
    const QString second = m_dir.filePath("zweite.ERG");
    writeFile(first, bytesOf({game("10.03.2024--09:00:00", "Anna", 4, 45, 60), shared,
                              game("01.03.2024--08:30:00", "Anna", 3, 12, 48)}));
    // The shared game is stored again with other filler bytes: still the same game.
    QByteArray again = shared.toBytes();
    again[47] = 'x';
    again[79] = 'y';
    writeFile(second, again + bytesOf({game("05.03.2024--20:15:00", "Jörg", 5, 50, 50)}));

    GameHistory history;
    const GameFile a = ReadGameFile(first);
    const GameFile b = ReadGameFile(second);
    QVERIFY(a.error.isEmpty() && b.error.isEmpty());
    QCOMPARE(history.add(a.records, first), 3);
    QCOMPARE(history.add(b.records, second), 1);
    QCOMPARE(history.add(b.records, second), 0);
    QCOMPARE(history.files(), QStringList({first, second}));

    QStringList order;
    QList<double> percents;
    for (const HistoryGame &g : history.games()) {
        order.append(g.record.DateTime.text());
        percents.append(PercentAchieved(g.record).value_or(-1));
    }
    QCOMPARE(order, QStringList({"01.03.2024--08:30:00", "02.03.2024--10:00:00",
                                 "05.03.2024--20:15:00", "10.03.2024--09:00:00"}));
    QCOMPARE(percents, QList<double>({25.0, 75.0, 100.0, 75.0}));
}

void HistoryTest::gameWithoutPossiblePointsHasNoPercentageAndNoTrendWeight()
{
    GameHistory history;
    history.add({game("01.03.2024--10:00:00", "Anna", 2, 0, 0),
                 game("02.03.2024--10:00:00", "Anna", 2, 10, 20),
                 game("03.03.2024--10:00:00", "Anna", 2, 15, 20)},
                "a.ERG");
    const HistoryGame &empty = history.games().constFirst();
    QVERIFY(IsSavedGame(empty.record));
    QVERIFY(!PercentAchieved(empty.record).has_value());
    QVERIFY(GameToolTip(empty).contains("keine Punkte möglich"));

    const QList<QPointF> points = PercentPoints(history.games());
    QCOMPARE(points.size(), 2);
    const std::optional<LinearFit> fit = FitLeastSquares(points);
    QVERIFY(fit.has_value());
    // Through 50 % and 75 % one day apart: the 0 % game does not pull it down.
    QCOMPARE(fit->at(points[0].x()), 50.0);
    QCOMPARE(fit->at(points[1].x()), 75.0);

    const QStringList fields = csvFields(
        QString::fromUtf8(HistoryCsv(history.games())).split(QStringLiteral("\r\n")).at(1));
    QCOMPARE(fields.at(8), QStringLiteral("0"));
    QCOMPARE(fields.at(10), QString());
}

void HistoryTest::trendIsTheLeastSquaresLine()
{
    // Huge x values like milliseconds since 1970 must not lose the slope.
    const double day = 86400000.0;
    const double start = 1.7e12;
    const std::optional<LinearFit> fit = FitLeastSquares(
        {{start, 40}, {start + day, 50}, {start + 2 * day, 45}, {start + 3 * day, 65}});
    QVERIFY(fit.has_value());
    QVERIFY(qAbs(fit->slope * day - 7.0) < 1e-9);
    QVERIFY(qAbs(fit->at(start) - 39.5) < 1e-6);
    QVERIFY(!FitLeastSquares({{start, 40}}).has_value());
    QVERIFY(!FitLeastSquares({{start, 40}, {start, 60}}).has_value());
}

void HistoryTest::refusedFilesGiveTheirReason_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const OverallResultRecord good = game("01.03.2024--10:00:00", "Anna", 3, 10, 20);
    OverallResultRecord noDate = good;
    noDate.DateTime = QStringLiteral("Anna hat gespielt");
    OverallResultRecord noLevel = good;
    noLevel.DifficultyLevel = 0;
    OverallResultRecord tooMany = good;
    tooMany.PointsAchieved = 21;
    OverallResultRecord negative = good;
    negative.PointsAchieved = -1;

    QTest::newRow("date unreadable") << bytesOf({good, noDate}) << "Datei beschädigt (Datensatz 2)";
    QTest::newRow("level 0") << bytesOf({noLevel}) << "Datei beschädigt (Datensatz 1)";
    QTest::newRow("more achieved than possible")
        << bytesOf({good, good, tooMany}) << "Datei beschädigt (Datensatz 3)";
    QTest::newRow("negative points") << bytesOf({negative}) << "Datei beschädigt (Datensatz 1)";
    QTest::newRow("text file") << QByteArray(200, 'a') << "Datei beschädigt (Datensatz 1)";
    // A partial record from an interrupted save is not a damage: it is never read.
    QTest::newRow("partial record at the end") << bytesOf({good}) + QByteArray(30, '\x07') << "";
    QTest::newRow("empty file") << QByteArray() << "";
}

void HistoryTest::refusedFilesGiveTheirReason()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const QString path = m_dir.filePath("pruefen.ERG");
    writeFile(path, bytes);
    const GameFile file = ReadGameFile(path);
    QCOMPARE(file.error, error);
    QCOMPARE(file.records.isEmpty(), !error.isEmpty() || bytes.size() < OverallResultRecord::Size);

    QCOMPARE(ReadGameFile(m_dir.filePath("fehlt.ERG")).error, InOutErrorText(2));
    QCOMPARE(ReadGameFile(m_dir.path()).error, InOutErrorText(5));
}

void HistoryTest::csvWithUmlautsReadsBack()
{
    GameHistory history;
    history.add({game("01.03.2024--10:00:00", "Jörg Müßig", 3, 20, 30, "  H_Eu"),
                 game("02.03.2024--11:30:05", "Ä;Ö \"Ü\"", 12, 100, 120, "R-m-14-100")},
                "a.ERG");
    const QString path = m_dir.filePath("verlauf.csv");
    writeFile(path, HistoryCsv(history.games()));

    const QByteArray bytes = readFile(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), 3);
    QCOMPARE(csvFields(lines[0]), HistoryCsvHeader());
    QCOMPARE(csvFields(lines[0]).at(3), QStringLiteral("Störung"));
    QCOMPARE(csvFields(lines[1]),
             QStringList({"01.03.2024", "10:00:00", "Jörg Müßig", "H_Eu", "3", "100", "120", "6",
                          "30", "20", "66,7", "9", "12", "16", "12", "15", "20"}));
    const QStringList second = csvFields(lines[2]);
    QCOMPARE(second.size(), 17);
    QCOMPARE(second.at(2), QStringLiteral("Ä;Ö \"Ü\""));
    QCOMPARE(second.at(3), QStringLiteral("R-m-14-100"));
    QCOMPARE(second.at(10), QStringLiteral("83,3"));
    QVERIFY(lines[2].contains(QStringLiteral("\"Ä;Ö \"\"Ü\"\"\"")));
}

// A spreadsheet runs a cell beginning with one of six characters as a formula; a number and the
// "-" of an undisturbed game are none.
void HistoryTest::csvCellsCannotRunAsFormulas()
{
    const QStringList texts = {"=1+1", "+49 30", "-2+3", "@A1", "\t=1", "\r=\"a\"", "-83,3", "-"};
    const QStringList cells = {"'=1+1", "'+49 30",           "'-2+3", "'@A1",
                               "'\t=1", "\"'\r=\"\"a\"\"\"", "-83,3", "-"};
    for (qsizetype i = 0; i < texts.size(); ++i)
        QCOMPARE(CsvField(texts[i]), cells[i]);
}

void HistoryTest::disturbanceLabelsReadAsTheirKind_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("kind");
    QTest::newRow("none") << "      -"
                          << "keine";
    QTest::newRow("texts") << "     T"
                           << "Texte";
    QTest::newRow("capitals") << "  H_Au"
                              << "Hauptstädte (Australien)";
    QTest::newRow("all continents") << "  H_Er"
                                    << "Hauptstädte (allen Kontinenten)";
    QTest::newRow("rings") << "R-g-5-60"
                           << "Kreise treffen (R-g-5-60)";
    QTest::newRow("billiards") << "B-j-2-14-100"
                               << "Billard (B-j-2-14-100)";
    QTest::newRow("timed out") << ""
                               << "keine Angabe";
    QTest::newRow("unknown") << "  H_Xy"
                             << "H_Xy";
}

void HistoryTest::disturbanceLabelsReadAsTheirKind()
{
    QFETCH(QString, label);
    QFETCH(QString, kind);
    QCOMPARE(DisturbanceKindText(label), kind);
}

void HistoryTest::tableAlignsColumnsAndCountsTheGames()
{
    GameHistory history;
    QCOMPARE(HistoryTableText(history.games()).split('\n').at(1), QStringLiteral("Keine Spiele"));
    history.add({game("01.03.2024--10:00:00", "Jörg", 3, 7, 9),
                 game("02.03.2024--11:00:00", "Anna-Lena", 12, 120, 120),
                 game("03.03.2024--12:00:00", "Bo\nb", 1, 0, 0)},
                "a.ERG");
    const QStringList lines = HistoryTableText(history.games()).split('\n');
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines[0].startsWith(QStringLiteral("Datum       Zeit      Name")));
    // Right-aligned numbers end in the same column; the line break in a name is not kept.
    QVERIFY(lines[1].endsWith(QStringLiteral("    7/9     77,8")));
    QVERIFY(lines[2].endsWith(QStringLiteral("120/120    100,0")));
    QVERIFY(lines[3].endsWith(QStringLiteral("    0/0        -")));
    QCOMPARE(lines[1].size(), lines[2].size());
    QVERIFY(lines[3].contains(QStringLiteral("Bo\uFFFDb")));
    QCOMPARE(lines[4], QStringLiteral("3 Spiele"));
}

void HistoryTest::timeAxisFitsTheGames_data()
{
    QTest::addColumn<QStringList>("moments");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("title");
    QTest::newRow("two games two minutes apart")
        << QStringList{"2026-12-09T18:00:00", "2026-12-09T18:02:00"} << "2026-12-09T17:55:00"
        << "2026-12-09T18:07:00" << "HH:mm" << "Uhrzeit am 09.12.2026";
    QTest::newRow("one game") << QStringList{"2026-12-09T18:00:00"} << "2026-12-09T17:55:00"
                              << "2026-12-09T18:05:00" << "HH:mm" << "Uhrzeit am 09.12.2026";
    QTest::newRow("minutes apart over midnight")
        << QStringList{"2026-12-09T23:58:00", "2026-12-10T00:03:00"} << "2026-12-09T23:53:00"
        << "2026-12-10T00:08:00" << "dd.MM. HH:mm" << "Datum und Uhrzeit";
    QTest::newRow("two days") << QStringList{"2026-12-07T08:00:00", "2026-12-09T08:00:00"}
                              << "2026-12-07T05:36:00" << "2026-12-09T10:24:00"
                              << "dd.MM. HH:mm" << "Datum und Uhrzeit";
    QTest::newRow("twenty days") << QStringList{"2026-11-19T08:00:00", "2026-12-09T08:00:00"}
                                 << "2026-11-18T08:00:00" << "2026-12-10T08:00:00"
                                 << "dd.MM.yyyy" << "Datum";
    QTest::newRow("none") << QStringList{} << "2026-12-02T20:00:00" << "2026-12-10T20:00:00"
                          << "dd.MM.yyyy" << "Datum";
}

void HistoryTest::timeAxisFitsTheGames()
{
    QFETCH(QStringList, moments);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, format);
    QFETCH(QString, title);
    QList<QDateTime> times;
    for (const QString &moment : moments)
        times.append(QDateTime::fromString(moment, Qt::ISODate));
    const TimeAxisRange range =
        FitTimeAxis(times, QDateTime::fromString("2026-12-09T20:00:00", Qt::ISODate), 6);
    QCOMPARE(range.from.toString(Qt::ISODate), from);
    QCOMPARE(range.to.toString(Qt::ISODate), to);
    QCOMPARE(range.format, format);
    QCOMPARE(range.title, title);
}

void HistoryTest::trendNeedsThreeGamesOnTwoDays_data()
{
    QTest::addColumn<QStringList>("games"); // "date time achieved/possible"
    QTest::addColumn<QString>("reason");
    QTest::newRow("three on two days")
        << QStringList{"01.03.2024--09:00:00 1/2", "01.03.2024--10:00:00 1/2",
                       "02.03.2024--09:00:00 1/2"}
        << "";
    QTest::newRow("two") << QStringList{"01.03.2024--09:00:00 1/2", "02.03.2024--09:00:00 1/2"}
                         << "Kein Trend: Erst 2 Spiele mit Punkten; ein Trend braucht mindestens "
                            "drei Spiele an zwei Tagen.";
    QTest::newRow("three, one without points")
        << QStringList{"01.03.2024--09:00:00 1/2", "02.03.2024--09:00:00 0/0",
                       "03.03.2024--09:00:00 1/2"}
        << "Kein Trend: Erst 2 Spiele mit Punkten; ein Trend braucht mindestens drei Spiele an "
           "zwei Tagen.";
    QTest::newRow("all on one day")
        << QStringList{"01.03.2024--09:00:00 1/2", "01.03.2024--09:02:00 1/2",
                       "01.03.2024--21:00:00 2/2"}
        << "Kein Trend: Alle Spiele sind vom selben Tag; ein Trend braucht Spiele an mindestens "
           "zwei Tagen.";
    QTest::newRow("none with points") << QStringList{"01.03.2024--09:00:00 0/0"}
                                      << "Kein Trend: Keines der Spiele hatte mögliche Punkte.";
    QTest::newRow("no games") << QStringList{} << "";
}

void HistoryTest::trendNeedsThreeGamesOnTwoDays()
{
    QFETCH(QStringList, games);
    QFETCH(QString, reason);
    QList<HistoryGame> history;
    for (const QString &line : games) {
        const QStringList parts = line.split(' ');
        const QStringList points = parts.value(1).split('/');
        const OverallResultRecord record =
            game(parts.value(0), "Jörg", 3, points.value(0).toInt(), points.value(1).toInt());
        history.append({record, RecordMoment(parts.value(0))});
    }
    const TrendDecision decision = DecideTrend(history);
    QCOMPARE(decision.reason, reason);
    QCOMPARE(decision.drawn, reason.isEmpty() && !games.isEmpty());
}

void HistoryTest::manyGamesAreShownAsMeansOfAPeriod_data()
{
    QTest::addColumn<int>("games");
    QTest::addColumn<int>("everyHours");
    QTest::addColumn<int>("grouping");
    QTest::addColumn<int>("points");
    QTest::newRow("300 games, each shown") << 300 << 1 << int(PointGrouping::Games) << 300;
    QTest::newRow("301 games in 13 days") << 301 << 1 << int(PointGrouping::Days) << 13;
    QTest::newRow("301 games in 150 days") << 301 << 12 << int(PointGrouping::Weeks) << 22;
    QTest::newRow("400 games in 3 years") << 400 << 66 << int(PointGrouping::Months) << 37;
}

void HistoryTest::manyGamesAreShownAsMeansOfAPeriod()
{
    QFETCH(int, games);
    QFETCH(int, everyHours);
    QFETCH(int, grouping);
    QFETCH(int, points);
    // Monday 4 March 2024, 00:30; every other game has no possible points.
    const QDateTime start(QDate(2024, 3, 4), QTime(0, 30));
    QList<HistoryGame> history;
    for (int i = 0; i < games; ++i) {
        const QDateTime moment = start.addSecs(qint64(i) * everyHours * 3600);
        const QString text = moment.toString("dd.MM.yyyy--HH:mm:ss");
        history.append({game(text, "Jörg", 3, i % 4 == 0 ? 10 : 30, i % 2 ? 0 : 40), moment});
    }
    const PointGrouping chosen = ChoosePointGrouping(history);
    QCOMPARE(int(chosen), grouping);
    const QList<ChartPoint> chart = ChartPoints(history, chosen);
    QCOMPARE(chart.size(), points);
    if (chosen == PointGrouping::Games) {
        QCOMPARE(chart[1].percent, 0.0);
        QCOMPARE(chart[1].toolTip, GameToolTip(history[1]));
        return;
    }
    // The first period's mean leaves out the games without possible points.
    QVERIFY(chart[0].percent > 25.0 && chart[0].percent < 75.0);
    QVERIFY(chart[0].x >= double(start.toMSecsSinceEpoch()));
    const QString period = chosen == PointGrouping::Days    ? "Mo., 04.03.2024, S-Grad 3\n"
                           : chosen == PointGrouping::Weeks ? "Woche ab Mo., 04.03.2024, S-Grad 3\n"
                                                            : "März 2024, S-Grad 3\n";
    QVERIFY2(chart[0].toolTip.startsWith(period), qPrintable(chart[0].toolTip));
    QVERIFY(chart[0].toolTip.contains(" Spiele, im Mittel "));
}

QTEST_GUILESS_MAIN(HistoryTest)
#include "test_history.moc"

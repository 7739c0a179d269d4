// SPDX-License-Identifier: GPL-3.0-or-later
// The "Verlauf" window: opened from the results window, more files, chart, print and exports.
#include "TestSupport.h"

#include "common/FileDialogs.h"
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "exercise/Muw.h"
#include "results/Speicher.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Trainingstage.h"
#include "results/Verlauf.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#include <QtTest>

#include <memory>

namespace {

OverallResultRecord game(const QString &dateTime, const QString &name, int level, int achieved,
                         int possible, const QString &disturbance = QStringLiteral("  H_Eu"))
{
    OverallResultRecord record;
    record.DateTime = dateTime;
    record.PlayerName = name;
    record.Disturbance = disturbance;
    record.DifficultyLevel = level;
    record.PresentTimeFactor = 50;
    record.WaitTimeFactor = 60;
    record.TimeAllowanceSteps = 3;
    record.PointsAchieved = achieved;
    record.PointsPossible = possible;
    return record;
}

void writeRecords(const QString &path, const QList<OverallResultRecord> &records)
{
    QByteArray bytes;
    for (const OverallResultRecord &record : records)
        bytes += record.toBytes();
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QList<OverallResultRecord> firstFile = {
    game("03.03.2024--10:00:00", "Jörg", 3, 30, 40),
    game("01.03.2024--09:00:00", "Jörg", 3, 20, 40),
    game("02.03.2024--09:30:00", "Jörg", 5, 0, 0, QStringLiteral("      -"))};
const QList<OverallResultRecord> secondFile = {
    game("02.03.2024--09:30:00", "Jörg", 5, 0, 0, QStringLiteral("      -")),
    game("04.03.2024--18:00:00", "Jörg", 5, 36, 40, QStringLiteral("B-j-2-14-100"))};

QList<QScatterSeries *> scatterSeries(TForm_Verlauf &window)
{
    QList<QScatterSeries *> found;
    const auto all = window.Chart_Verlauf->chart()->series();
    for (QAbstractSeries *series : all)
        if (auto *scatter = qobject_cast<QScatterSeries *>(series))
            found.append(scatter);
    return found;
}

QLineSeries *trendSeries(TForm_Verlauf &window)
{
    const auto all = window.Chart_Verlauf->chart()->series();
    for (QAbstractSeries *series : all)
        if (series->type() == QAbstractSeries::SeriesTypeLine)
            return static_cast<QLineSeries *>(series);
    return nullptr;
}

} // namespace

class VerlaufTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init() { TestSupport::messages().clear(); }
    void cleanup();

    void menuItemFollowsThePrintItem();
    void menuOpensTheChartOfTheFileShown();
    void damagedRecordShownInTheTableOpensNoChart();
    void chartHasOneSeriesPerLevelATrendAndGermanAxes();
    void addedFilesMergeAndDamagedOnesChangeNothing();
    void hoveredPointNamesItsDisturbance();
    void printsToPdfThroughThePrintDialog();
    void savesPngAndCsv();
    void failedCsvSaveSaysSoAndWritesNothing();
    void emptyHistoryCannotBeExported();
    void settingsMenuOpensTheJournalWithItsTrainingDays();
    void spanAndLevelChooseTheGamesShown();
    void importCountsAGameOnceAndDeletingAsksFirst();
    void gamesMinutesApartGetAnAxisOfMinutes();

private:
    QTemporaryDir m_dir;
    QString m_first;
    QString m_second;
};

void VerlaufTest::initTestCase()
{
    TestSupport::createProgram();
    m_first = m_dir.filePath("Jörg-März.ERG");
    m_second = m_dir.filePath("zweite.ERG");
    writeRecords(m_first, firstFile);
    writeRecords(m_second, secondFile);
}

void VerlaufTest::cleanup()
{
    FileDialogs::answerForTests({});
    FileDialogs::answerManyForTests({});
    answerPrintDialogForTests({});
}

void VerlaufTest::menuItemFollowsThePrintItem()
{
    const QList<QAction *> items = Form_Speich_MuW->Datei1->menu()->actions();
    const qsizetype print = items.indexOf(Form_Speich_MuW->druckenGesamtergebnisse1);
    QVERIFY(print >= 0);
    QCOMPARE(items.value(print + 1), Form_Speich_MuW->VerlaufGesamtergebnisse1);
    QCOMPARE(Form_Speich_MuW->VerlaufGesamtergebnisse1->text(),
             QStringLiteral("&Verlauf (Gesamtergebnisse)"));
}

void VerlaufTest::menuOpensTheChartOfTheFileShown()
{
    SetResultsFileName(m_first);
    LoadOverallResults();
    FillOverallResultsGrid();
    // A failed open leaves the table (and the caption) at the first file.
    FileDialogs::answerForTests([this](QFileDialog *) { return m_dir.filePath("fehlt.ERG"); });
    Form_Speich_MuW->DateiffnenGesamtergebnisse1->trigger();
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Datei nicht gefunden"));

    qsizetype games = -1;
    QStringList files;
    QString title;
    bool maximised = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!Form_Verlauf || !Form_Verlauf->isVisible())
            return;
        poll.stop();
        games = Form_Verlauf->history().games().size();
        files = Form_Verlauf->history().files();
        title = Form_Verlauf->windowTitle();
        maximised = Form_Verlauf->windowState().testFlag(Qt::WindowMaximized);
        QTest::keyClick(Form_Verlauf, Qt::Key_Escape);
    });
    poll.start(5);
    Form_Speich_MuW->VerlaufGesamtergebnisse1->trigger();
    QCOMPARE(games, 3);
    QCOMPARE(files, QStringList({m_first}));
    QCOMPARE(title, QStringLiteral("Verlauf"));
    QVERIFY(maximised);
    QCOMPARE(Form_Verlauf, nullptr);
}

void VerlaufTest::damagedRecordShownInTheTableOpensNoChart()
{
    OverallResultsTable[0] = game("kein Datum", "X", 3, 1, 2);
    LoadedRecordCount = 1;
    bool opened = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (Form_Verlauf) {
            opened = true;
            Form_Verlauf->close();
        }
    });
    poll.start(5);
    Form_Speich_MuW->VerlaufGesamtergebnisse1->trigger();
    QVERIFY(!opened);
    QVERIFY(TestSupport::messages().lastText().startsWith("Datei beschädigt (Datensatz 1)\n"));
}

void VerlaufTest::chartHasOneSeriesPerLevelATrendAndGermanAxes()
{
    TForm_Verlauf window;
    window.AddGames(firstFile, m_first);
    const QList<QScatterSeries *> levels = scatterSeries(window);
    QCOMPARE(levels.size(), 2);
    QCOMPARE(levels[0]->name(), QStringLiteral("S-Grad 3"));
    QCOMPARE(levels[1]->name(), QStringLiteral("S-Grad 5"));
    QCOMPARE(levels[0]->count(), 2);
    QCOMPARE(levels[0]->at(0).y(), 50.0);
    QCOMPARE(levels[0]->at(1).y(), 75.0);
    // The game without possible points sits on the 0 line.
    QCOMPARE(levels[1]->at(0).y(), 0.0);
    QVERIFY(levels[0]->color() != levels[1]->color() ||
            levels[0]->markerShape() != levels[1]->markerShape());

    // Two games with points make no trend, and the window says why.
    QVERIFY(!trendSeries(window));
    QVERIFY(window.Label_Trend->isVisibleTo(&window));
    QCOMPARE(window.Label_Trend->text(),
             QStringLiteral("Kein Trend: Erst 2 Spiele mit Punkten; ein Trend braucht mindestens "
                            "drei Spiele an zwei Tagen."));

    // A third on the same line: the trend runs through the games with points only, 50 % to
    // 100 % in four days.
    window.AddGames({game("05.03.2024--11:00:00", "Jörg", 3, 40, 40)}, m_first);
    QLineSeries *trend = trendSeries(window);
    QVERIFY(trend);
    QCOMPARE(trend->name(), QStringLiteral("Trend"));
    QCOMPARE(trend->count(), 2);
    QVERIFY(qAbs(trend->at(0).y() - 50.0) < 1e-6);
    QVERIFY(qAbs(trend->at(1).y() - 100.0) < 1e-6);
    QVERIFY(!window.Label_Trend->isVisibleTo(&window));

    auto *dates =
        qobject_cast<QDateTimeAxis *>(window.Chart_Verlauf->chart()->axes(Qt::Horizontal).value(0));
    auto *percent =
        qobject_cast<QValueAxis *>(window.Chart_Verlauf->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(dates && percent);
    QCOMPARE(dates->titleText(), QStringLiteral("Datum und Uhrzeit"));
    QCOMPARE(dates->format(), QStringLiteral("dd.MM. HH:mm"));
    QVERIFY(dates->min() < QDateTime(QDate(2024, 3, 1), QTime(9, 0)));
    QVERIFY(dates->max() > QDateTime(QDate(2024, 3, 3), QTime(10, 0)));
    QCOMPARE(percent->titleText(), QStringLiteral("erreichte Punkte in %"));
    QVERIFY(percent->min() < 0 && percent->max() > 100);
    QCOMPARE(percent->tickAnchor(), 0.0);
    QVERIFY(window.Label_Dateien->text().contains(QStringLiteral("Jörg-März.ERG")));
}

void VerlaufTest::addedFilesMergeAndDamagedOnesChangeNothing()
{
    const QString damaged = m_dir.filePath("kaputt.ERG");
    QFile text(damaged);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(160, 'z'));
    text.close();
    const QString missing = m_dir.filePath("weg.ERG");

    TForm_Verlauf window;
    window.AddGames(firstFile, m_first);
    FileDialogs::answerManyForTests([&](QFileDialog *) {
        return QStringList({damaged, m_second, missing});
    });
    window.But_Hinzufuegen->click();

    QCOMPARE(window.history().games().size(), 4);
    QCOMPARE(window.history().files(), QStringList({m_first, m_second}));
    QCOMPARE(window.history().games().constLast().record.DateTime.text(),
             QStringLiteral("04.03.2024--18:00:00"));
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Error);
    QCOMPARE(TestSupport::messages().lastText(),
             "Datei beschädigt (Datensatz 1)\n" + damaged + "\n\nDatei nicht gefunden\n" + missing);
    QCOMPARE(scatterSeries(window).value(1)->count(), 2);

    // Cancelling the dialog changes nothing.
    FileDialogs::answerManyForTests([](QFileDialog *) { return QStringList(); });
    window.DateienHinzufuegenClick();
    QCOMPARE(window.history().games().size(), 4);
}

void VerlaufTest::hoveredPointNamesItsDisturbance()
{
    TForm_Verlauf window;
    window.AddGames(secondFile, m_second);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScatterSeries *level5 = scatterSeries(window).value(0);
    QVERIFY(level5);
    emit level5->hovered(level5->at(1), true);
    QTRY_VERIFY(QToolTip::isVisible());
    QVERIFY(QToolTip::text().contains(QStringLiteral("Störung: Billard (B-j-2-14-100)")));
    QVERIFY(QToolTip::text().contains(QStringLiteral("36 von 40 Punkten (90,0 %)")));
    emit level5->hovered(level5->at(0), true);
    QTRY_VERIFY(QToolTip::text().contains(QStringLiteral("Störung: keine\n")));
    // The view shows the chart's own tooltip once the cursor rests; it must be the game's.
    QCOMPARE(window.Chart_Verlauf->chart()->toolTip(), QToolTip::text());
    emit level5->hovered(level5->at(0), false);
    QTRY_VERIFY(!QToolTip::isVisible());
    QCOMPARE(window.Chart_Verlauf->chart()->toolTip(), QString());
}

void VerlaufTest::printsToPdfThroughThePrintDialog()
{
    TForm_Verlauf window;
    window.AddGames(firstFile, m_first);
    const QString pdf = m_dir.filePath("verlauf.pdf");
    bool asked = false;
    answerPrintDialogForTests([&](QPrinter &printer) {
        asked = true;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    window.But_Drucken->click();
    QVERIFY(asked);
    QVERIFY(readFile(pdf).startsWith("%PDF"));

    // Cancelled: nothing printed.
    QFile::remove(pdf);
    answerPrintDialogForTests([](QPrinter &) { return false; });
    window.DruckenClick();
    QVERIFY(!QFile::exists(pdf));
}

void VerlaufTest::savesPngAndCsv()
{
    TForm_Verlauf window;
    window.AddGames(firstFile, m_first);
    window.AddGames(secondFile, m_second);
    const QString png = m_dir.filePath("verlauf.png");
    const QString csv = m_dir.filePath("verlauf.csv");
    FileDialogs::answerForTests([&](QFileDialog *dialog) {
        return dialog == window.SaveDialog_PNG   ? png
               : dialog == window.SaveDialog_CSV ? csv
                                                 : QString();
    });
    window.But_PNG->click();
    window.But_CSV->click();
    QVERIFY(TestSupport::messages().shown.isEmpty());
    const QImage image(png);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), window.Chart_Verlauf->grab().size());
    QCOMPARE(readFile(csv), HistoryCsv(window.history().games()));
    QCOMPARE(readFile(csv).count("\r\n"), 5);
}

// A full disk (the file size limit stands in for it) keeps an old file byte for byte and
// leaves no new or temporary file; the player is told.
void VerlaufTest::failedCsvSaveSaysSoAndWritesNothing()
{
    TForm_Verlauf window;
    window.AddGames(firstFile, m_first);
    window.AddGames(secondFile, m_second);
    QTemporaryDir dir;
    const QString old = dir.filePath("alt.csv");
    const QByteArray oldBytes("Datum;Name\r\n");
    QFile file(old);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(oldBytes);
    file.close();
    const QString fresh = dir.filePath("neu.csv");
    for (const QString &target : {old, fresh}) {
        TestSupport::messages().clear();
        FileDialogs::answerForTests([&](QFileDialog *) { return target; });
        {
            TestSupport::FileSizeLimit limit(100);
            window.AlsCSVspeichernClick();
        }
        QCOMPARE(TestSupport::messages().shown.size(), 1);
        QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Error);
        QCOMPARE(TestSupport::messages().lastText(),
                 InOutErrorText(101) + "\n" + target + "\nDie Datei wurde nicht gespeichert.");
    }
    QCOMPARE(readFile(old), oldBytes);
    QCOMPARE(TestSupport::directoryEntries(dir.path()), QStringList({"alt.csv"}));
}

void VerlaufTest::emptyHistoryCannotBeExported()
{
    TForm_Verlauf window;
    window.AddGames({}, m_dir.filePath("leer.ERG"));
    QVERIFY(!window.But_CSV->isEnabled());
    QVERIFY(!window.But_PNG->isEnabled());
    QVERIFY(!window.But_Drucken->isEnabled());
    QVERIFY(!window.AlsCSVspeichern1->isEnabled());
    QVERIFY(window.But_Hinzufuegen->isEnabled());
    QCOMPARE(window.Chart_Verlauf->chart()->title(), QStringLiteral("Keine Spiele"));
    window.AddGames(secondFile, m_second);
    QVERIFY(window.But_CSV->isEnabled());
}

namespace {
// A journal holding exactly these games (level, points of 40, days before the fixed now).
Tagebuch *journalOf(const QList<std::array<int, 3>> &games)
{
    Tagebuch *journal = JournalKeeping::Journal();
    if (!journal || !journal->clear())
        return nullptr;
    for (const auto &[level, achieved, daysAgo] : games) {
        JournalGame game;
        game.end = RandomClock::now().addDays(-daysAgo).addSecs(-60 * achieved);
        game.level = level;
        game.achieved = achieved;
        game.possible = 40;
        game.player = QStringLiteral("Jörg");
        if (!journal->record(game))
            return nullptr;
    }
    return journal;
}
} // namespace

void VerlaufTest::settingsMenuOpensTheJournalWithItsTrainingDays()
{
    RandomClock::useFixedNow(QDateTime(QDate(2026, 12, 9), QTime(20, 0)));
    QVERIFY(journalOf({{3, 36, 0}, {3, 37, 0}, {4, 20, 1}, {3, 30, 20}}));
    JournalKeeping::Journal()->record(ColourRun{0, RandomClock::now(), 4, 1000, 1000, 3});
    Form_MuW->Edit_S_MuW->setEditText(QStringLiteral("03"));
    QList<TrainingDay> days;
    QStringList texts;
    qsizetype shown = -1;
    bool journalPanel = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        if (!Form_Verlauf || !Form_Verlauf->isVisible())
            return;
        poll.stop();
        days = Form_Verlauf->Trainingstage->days();
        texts = QStringList{Form_Verlauf->Label_Dateien->text(), Form_Verlauf->Label_Serie->text(),
                            Form_Verlauf->Label_Farben->text(),
                            Form_Verlauf->Label_Vorschlag->text()};
        shown = Form_Verlauf->shownGames().size();
        journalPanel = Form_Verlauf->Panel_Tagebuch->isVisibleTo(Form_Verlauf);
        QTest::keyClick(Form_Verlauf, Qt::Key_Escape);
    });
    poll.start(5);
    Form_MuW->Verlauf1->trigger();
    RandomClock::useFixedNow({});
    QVERIFY(journalPanel);
    QCOMPARE(shown, 4);
    QCOMPARE(days.size(), 84);
    // Wednesday of the last week: two games and a colour run.
    QVERIFY(days[11 * 7 + 2].today);
    QCOMPARE(days[11 * 7 + 2].activity.total(), 3);
    QCOMPARE(days[11 * 7 + 2].shade, 3);
    QCOMPARE(days[11 * 7 + 1].shade, 1);
    QCOMPARE(texts, QStringList({QStringLiteral("Tagebuch"), QStringLiteral("2 Tage in Folge"),
                                 QStringLiteral("Farben merken: 1 Folge in diesem Zeitraum, "
                                                "zuletzt 3 von 4 Farben richtig"),
                                 QStringLiteral("Vorschlag für das nächste Spiel: Stufe 4\n"
                                                "Deine letzten zwei Spiele auf Stufe 3 hatten je "
                                                "mindestens 90 % der Punkte:\nVersuch Stufe 4.")}));
}

void VerlaufTest::spanAndLevelChooseTheGamesShown()
{
    RandomClock::useFixedNow(QDateTime(QDate(2026, 12, 9), QTime(20, 0)));
    Tagebuch *journal = journalOf({{3, 36, 0}, {4, 20, 1}, {3, 30, 20}, {3, 10, 200}, {5, 40, 700}});
    QVERIFY(journal);
    TForm_Verlauf window;
    window.ShowJournal(journal, 3);
    const auto shownAt = [&window](int span, int level) {
        window.Combo_Zeitraum->setCurrentIndex(span);
        window.Combo_Stufe->setCurrentIndex(level);
        return window.shownGames().size();
    };
    QCOMPARE(window.Combo_Zeitraum->currentText(), QStringLiteral("12 Monate"));
    QCOMPARE(shownAt(TForm_Verlauf::TwelveMonths, 0), 4);
    QCOMPARE(shownAt(TForm_Verlauf::FourWeeks, 0), 3);
    QCOMPARE(shownAt(TForm_Verlauf::AllTime, 0), 5);
    QCOMPARE(shownAt(TForm_Verlauf::AllTime, 3), 3);
    QCOMPARE(shownAt(TForm_Verlauf::FourWeeks, 4), 1);
    QVERIFY(window.Label_Vorschlag->text().startsWith(
        QStringLiteral("Vorschlag für das nächste Spiel: Stufe 4\nAuf Stufe 4 stehen noch keine")));
    // The CSV holds the games shown.
    QCOMPARE(HistoryCsv(window.shownGames()).count("\r\n"), 2);
    RandomClock::useFixedNow({});
}

void VerlaufTest::importCountsAGameOnceAndDeletingAsksFirst()
{
    Tagebuch *journal = journalOf({});
    QVERIFY(journal);
    TForm_Verlauf window;
    window.ShowJournal(journal, 3);
    window.Combo_Zeitraum->setCurrentIndex(TForm_Verlauf::AllTime);
    QVERIFY(window.But_Uebernehmen->isVisibleTo(&window));
    FileDialogs::answerManyForTests([this](QFileDialog *) { return QStringList{m_first, m_second}; });
    window.But_Uebernehmen->click();
    QCOMPARE(TestSupport::messages().lastText(),
             QStringLiteral("4 Spiele übernommen, 1 war schon im Tagebuch."));
    window.ErgebnisdateienUebernehmen1->trigger();
    QCOMPARE(TestSupport::messages().lastText(),
             QStringLiteral("0 Spiele übernommen, 5 waren schon im Tagebuch."));
    QCOMPARE(journal->gameCount(), 4);
    // A file in the view beside the journal does not show its games twice.
    window.But_Hinzufuegen->click();
    QCOMPARE(window.shownGames().size(), 4);

    TestSupport::messages().clear();
    TestSupport::messages().answers = {false};
    window.TagebuchLoeschen1->trigger();
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().shown[0].defaultAnswer, MessageBoxes::DefaultAnswer::No);
    QCOMPARE(journal->gameCount(), 4);
    TestSupport::messages().answers = {true};
    window.TagebuchLoeschen1->trigger();
    QCOMPARE(journal->gameCount(), 0);
    // The files added stay in the view; the journal's games are gone from it.
    QCOMPARE(window.shownGames().size(), 4);
    QCOMPARE(window.Label_Dateien->text(), QStringLiteral("Tagebuch und Dateien: Jörg-März.ERG, zweite.ERG"));
}

void VerlaufTest::gamesMinutesApartGetAnAxisOfMinutes()
{
    TForm_Verlauf window;
    window.AddGames({game("09.12.2026--18:00:00", "Jörg", 3, 30, 40),
                     game("09.12.2026--18:02:00", "Jörg", 3, 34, 40)},
                    m_first);
    auto *dates =
        qobject_cast<QDateTimeAxis *>(window.Chart_Verlauf->chart()->axes(Qt::Horizontal).value(0));
    QVERIFY(dates);
    QVERIFY(dates->min() < QDateTime(QDate(2026, 12, 9), QTime(18, 0)));
    QVERIFY(dates->max() > QDateTime(QDate(2026, 12, 9), QTime(18, 2)));
    QVERIFY(dates->min().secsTo(dates->max()) <= 15 * 60);
    QCOMPARE(dates->format(), QStringLiteral("HH:mm"));
    QCOMPARE(dates->titleText(), QStringLiteral("Uhrzeit am 09.12.2026"));
    QVERIFY(!trendSeries(window));
    QVERIFY(window.Label_Trend->text().startsWith(QStringLiteral("Kein Trend: Erst 2 Spiele")));
}

QTEST_MAIN(VerlaufTest)
#include "test_verlauf.moc"

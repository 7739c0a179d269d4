// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Verlauf": the journal's games and those of results files as a chart with a trend.
#include "results/Verlauf.h"

#include "common/Controls.h"
#include "common/FileDialogs.h"
#include "common/MessageBoxes.h"
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "common/ScaleToScreen.h"
#include "journal/Tagebuch.h"
#include "results/Speicher.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Trainingstage.h"
#include "results/Zeigen.h"
#include "results/Zeitachse.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

TForm_Verlauf *Form_Verlauf = nullptr;

namespace {
constexpr int DesignWidth = 640;
constexpr int DesignHeight = 480;

QString fileListText(const QStringList &files)
{
    QStringList names;
    for (const QString &file : files)
        names.append(QFileInfo(file).fileName());
    return names.join(QStringLiteral(", "));
}

QString gameCountText(qsizetype count)
{
    if (count == 1)
        return QStringLiteral("1 Spiel");
    return QStringLiteral("%1 Spiele").arg(count);
}

// The trend between two moments, cut to the axis range 0..100 so it never leaves the plot.
QList<QPointF> trendSegment(const LinearFit &fit, double fromX, double toX)
{
    double x0 = fromX;
    double x1 = toX;
    if (fit.slope != 0) {
        // Where the line crosses 0 and 100; keep the part between them.
        const double atLow = (0.0 - fit.intercept) / fit.slope;
        const double atHigh = (100.0 - fit.intercept) / fit.slope;
        x0 = std::max(x0, std::min(atLow, atHigh));
        x1 = std::min(x1, std::max(atLow, atHigh));
    } else if (fit.intercept < 0 || fit.intercept > 100) {
        return {};
    }
    if (x0 > x1)
        return {};
    return {QPointF(x0, std::clamp(fit.at(x0), 0.0, 100.0)),
            QPointF(x1, std::clamp(fit.at(x1), 0.0, 100.0))};
}
} // namespace

QColor LevelColour(int level)
{
    static const QColor colours[] = {
        QColor(0x2e, 0x7d, 0x32), QColor(0x55, 0x8b, 0x2f), QColor(0x7c, 0xb3, 0x42),
        QColor(0xaf, 0xb4, 0x2b), QColor(0xf9, 0xa8, 0x25), QColor(0xef, 0x6c, 0x00),
        QColor(0xe6, 0x4a, 0x19), QColor(0xd3, 0x2f, 0x2f), QColor(0xad, 0x14, 0x57),
        QColor(0x88, 0x0e, 0x4f), QColor(0x7b, 0x1f, 0xa2), QColor(0x51, 0x2d, 0xa8),
        QColor(0x30, 0x3f, 0x9f), QColor(0x15, 0x65, 0xc0), QColor(0x00, 0x2f, 0x6c)};
    return colours[std::clamp(level, 1, 15) - 1];
}

QScatterSeries::MarkerShape LevelShape(int level)
{
    static const QScatterSeries::MarkerShape shapes[] = {
        QScatterSeries::MarkerShapeCircle, QScatterSeries::MarkerShapeRectangle,
        QScatterSeries::MarkerShapeTriangle, QScatterSeries::MarkerShapeRotatedRectangle};
    return shapes[(std::clamp(level, 1, 15) - 1) % 4];
}

TForm_Verlauf::TForm_Verlauf(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Verlauf"));
    setWindowTitle(QStringLiteral("Verlauf"));
    setShownMaximized(true);
    resize(DesignWidth, DesignHeight);
    SetBackgroundColour(this, GridCellColor);

    auto *layout = new QVBoxLayout(this);
    createMenu();
    layout->setMenuBar(MainMenu1);

    Label_Dateien = new QLabel(this);
    Label_Dateien->setObjectName(QStringLiteral("Label_Dateien"));
    Label_Dateien->setWordWrap(true);
    SetTextColour(Label_Dateien, Qt::white);
    layout->addWidget(Label_Dateien);
    createJournalPanel(layout);
    createChoices(layout);

    auto *chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::German, QLocale::Germany));
    Chart_Verlauf = new QChartView(chart, this);
    Chart_Verlauf->setObjectName(QStringLiteral("Chart_Verlauf"));
    Chart_Verlauf->setAccessibleName(QStringLiteral("Verlauf der Gesamtergebnisse"));
    Chart_Verlauf->setRenderHint(QPainter::Antialiasing);
    // The chart changes as a whole; partial updates left old axis labels behind.
    Chart_Verlauf->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    layout->addWidget(Chart_Verlauf, 1);

    Label_Trend = new QLabel(this);
    Label_Trend->setObjectName(QStringLiteral("Label_Trend"));
    Label_Trend->setWordWrap(true);
    SetTextColour(Label_Trend, Qt::white);
    layout->addWidget(Label_Trend);

    createButtons(layout);

    FormCreate();
    rebuildChart();
}

void TForm_Verlauf::createMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    // The menu keeps the system's colours on the navy window.
    MainMenu1->setAutoFillBackground(true);
    UseSystemColours(MainMenu1);
    QMenu *file = MainMenu1->addMenu(QStringLiteral("&Datei"));
    Datei1 = file->menuAction();
    Datei1->setObjectName(QStringLiteral("Datei1"));
    const auto addItem = [&](const char *name, const QString &caption,
                             void (TForm_Verlauf::*handler)(), const QKeySequence &keys) {
        QAction *action = file->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    DateienHinzufuegen1 = addItem("DateienHinzufuegen1", QStringLiteral("Dateien &hinzufügen…"),
                                  &TForm_Verlauf::DateienHinzufuegenClick, QKeySequence::Open);
    ErgebnisdateienUebernehmen1 =
        addItem("ErgebnisdateienUebernehmen1", QStringLiteral("&Ergebnisdateien übernehmen…"),
                &TForm_Verlauf::ErgebnisdateienUebernehmenClick, {});
    ErgebnisdateienUebernehmen1->setVisible(false);
    file->addSeparator();
    Drucken1 = addItem("Drucken1", QStringLiteral("&Drucken…"), &TForm_Verlauf::DruckenClick,
                       QKeySequence::Print);
    AlsPNGspeichern1 = addItem("AlsPNGspeichern1", QStringLiteral("Als &PNG speichern…"),
                               &TForm_Verlauf::AlsPNGspeichernClick, {});
    AlsCSVspeichern1 = addItem("AlsCSVspeichern1", QStringLiteral("Als &CSV speichern…"),
                               &TForm_Verlauf::AlsCSVspeichernClick, QKeySequence::Save);
    file->addSeparator();
    TagebuchLoeschen1 = addItem("TagebuchLoeschen1", QStringLiteral("Tagebuch &löschen…"),
                                &TForm_Verlauf::TagebuchLoeschenClick, {});
    TagebuchLoeschen1->setVisible(false);
    Beenden1 = addItem("Beenden1", QStringLiteral("&Beenden"), &TForm_Verlauf::Beenden1Click, {});
}

void TForm_Verlauf::createButtons(QVBoxLayout *layout)
{
    auto *row = new QHBoxLayout;
    const auto addButton = [&](const char *name, const QString &caption,
                               void (TForm_Verlauf::*handler)()) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        // Enter in the window must not press a button the player did not choose.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handler);
        row->addWidget(button);
        return button;
    };
    But_Hinzufuegen = addButton("But_Hinzufuegen", QStringLiteral("Dateien hinzufügen…"),
                                &TForm_Verlauf::DateienHinzufuegenClick);
    row->addStretch(1);
    But_Drucken =
        addButton("But_Drucken", QStringLiteral("Drucken…"), &TForm_Verlauf::DruckenClick);
    But_PNG = addButton("But_PNG", QStringLiteral("Als PNG speichern…"),
                        &TForm_Verlauf::AlsPNGspeichernClick);
    But_CSV = addButton("But_CSV", QStringLiteral("Als CSV speichern…"),
                        &TForm_Verlauf::AlsCSVspeichernClick);
    row->addStretch(1);
    But_Schliessen =
        addButton("But_Schliessen", QStringLiteral("Schließen"), &TForm_Verlauf::Beenden1Click);
    layout->addLayout(row);
}

// The training days, the streak, the colour runs and the suggestion: shown with the journal.
void TForm_Verlauf::createJournalPanel(QVBoxLayout *layout)
{
    Panel_Tagebuch = new QWidget(this);
    Panel_Tagebuch->setObjectName(QStringLiteral("Panel_Tagebuch"));
    auto *row = new QHBoxLayout(Panel_Tagebuch);
    row->setContentsMargins(0, 0, 0, 0);
    Trainingstage = new TTrainingDays(Panel_Tagebuch);
    SetTextColour(Trainingstage, Qt::white);
    row->addWidget(Trainingstage, 0, Qt::AlignTop);
    auto *texts = new QVBoxLayout;
    const auto addText = [&](const char *name, bool bold) {
        auto *label = new QLabel(Panel_Tagebuch);
        label->setObjectName(QString::fromLatin1(name));
        label->setWordWrap(true);
        SetTextColour(label, Qt::white);
        if (bold)
            SetBoldFont(label);
        texts->addWidget(label);
        return label;
    };
    Label_Serie = addText("Label_Serie", true);
    Label_Farben = addText("Label_Farben", false);
    Label_Vorschlag = addText("Label_Vorschlag", false);
    texts->addStretch(1);
    row->addLayout(texts, 1);
    Panel_Tagebuch->hide();
    layout->addWidget(Panel_Tagebuch);
}

void TForm_Verlauf::createChoices(QVBoxLayout *layout)
{
    auto *row = new QHBoxLayout;
    const auto addChoice = [&](const char *name, const char *labelName, const QString &caption,
                               const QStringList &entries) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(labelName));
        SetTextColour(label, Qt::white);
        auto *list = new QComboBox(this);
        list->setObjectName(QString::fromLatin1(name));
        list->addItems(entries);
        list->setMaxVisibleItems(16);
        label->setBuddy(list);
        row->addWidget(label);
        row->addWidget(list);
        row->addSpacing(20);
        return list;
    };
    Combo_Zeitraum =
        addChoice("Combo_Zeitraum", "Label_Zeitraum", QStringLiteral("&Zeitraum:"),
                  {QStringLiteral("4 Wochen"), QStringLiteral("12 Monate"), QStringLiteral("alle")});
    Combo_Zeitraum->setCurrentIndex(AllTime);
    QStringList levels = {QStringLiteral("alle Stufen")};
    for (int level = LowestLevel; level <= TopLevel; ++level)
        levels.append(QStringLiteral("Stufe %1").arg(level));
    Combo_Stufe = addChoice("Combo_Stufe", "Label_Stufe", QStringLiteral("S&tufe:"), levels);
    row->addStretch(1);
    // Here rather than among the buttons below, which fill a 1024 pixel wide screen already.
    But_Uebernehmen = new QPushButton(QStringLiteral("Ergebnisdateien übernehmen…"), this);
    But_Uebernehmen->setObjectName(QStringLiteral("But_Uebernehmen"));
    But_Uebernehmen->setAutoDefault(false);
    But_Uebernehmen->hide();
    connect(But_Uebernehmen, &QPushButton::clicked, this,
            &TForm_Verlauf::ErgebnisdateienUebernehmenClick);
    row->addWidget(But_Uebernehmen);
    layout->addLayout(row);
    connect(Combo_Zeitraum, &QComboBox::currentIndexChanged, this,
            &TForm_Verlauf::Combo_ZeitraumChange);
    connect(Combo_Stufe, &QComboBox::currentIndexChanged, this, &TForm_Verlauf::Combo_StufeChange);
}

void TForm_Verlauf::FormCreate()
{
    ScaleToScreen(this);
    fitChartFonts();
}

void TForm_Verlauf::changeEvent(QEvent *event)
{
    ModalForm::changeEvent(event);
    if (event->type() == QEvent::FontChange && Chart_Verlauf)
        fitChartFonts();
}

// The chart draws with fonts of its own; they follow the window's scaled font.
void TForm_Verlauf::fitChartFonts()
{
    QChart *chart = Chart_Verlauf->chart();
    const QFont base = font();
    QFont bold = base;
    bold.setBold(true);
    QFont title = bold;
    if (title.pointSizeF() > 0)
        title.setPointSizeF(title.pointSizeF() * 1.2);
    chart->setTitleFont(title);
    chart->legend()->setFont(base);
    const auto axes = chart->axes();
    for (QAbstractAxis *axis : axes) {
        axis->setLabelsFont(base);
        axis->setTitleFont(bold);
    }
    const qreal markerSize = std::max(8, QFontMetrics(base).height() * 4 / 5);
    const auto series = chart->series();
    for (QAbstractSeries *one : series) {
        if (auto *scatter = qobject_cast<QScatterSeries *>(one))
            scatter->setMarkerSize(markerSize);
    }
}

void TForm_Verlauf::AddGames(const QList<OverallResultRecord> &records, const QString &fileName)
{
    m_history.add(records, fileName);
    rebuildChart();
}

void TForm_Verlauf::ShowJournal(Tagebuch *journal, int level)
{
    m_journal = journal;
    m_suggestionLevel = level;
    Panel_Tagebuch->show();
    But_Uebernehmen->show();
    ErgebnisdateienUebernehmen1->setVisible(true);
    TagebuchLoeschen1->setVisible(true);
    // A year of games at first: ten years of daily training would crowd the chart.
    const QSignalBlocker quiet(Combo_Zeitraum);
    Combo_Zeitraum->setCurrentIndex(TwelveMonths);
    ReloadJournal();
}

void TForm_Verlauf::ReloadJournal()
{
    if (!m_journal)
        return;
    loadJournalGames(false);
    m_journalKnown = m_journal->knownRecords();
    showJournalSummary();
    rebuildChart();
    m_journal->repairIfDamaged();
    JournalKeeping::ShowMessages(this);
}

// Each round's possible points are read only for the CSV, which alone shows them.
void TForm_Verlauf::loadJournalGames(bool withRoundPoints)
{
    m_journalGames.clear();
    m_journal->eachGame(spanStart(), withRoundPoints, [this](const JournalGame &game) {
        m_journalGames.append({OverallRecordOf(game), game.end});
    });
}

QDateTime TForm_Verlauf::spanStart() const
{
    const QDate today = RandomClock::now().date();
    switch (Combo_Zeitraum->currentIndex()) {
    case FourWeeks:
        return today.addDays(-4 * 7).startOfDay();
    case TwelveMonths:
        return today.addMonths(-12).startOfDay();
    default:
        return {};
    }
}

// Journal and files merged in time order, a game found in both counted once (the journal
// knows the records of the games it holds), then cut to the level chosen. The journal's games
// come in the time span and in order already.
void TForm_Verlauf::selectShownGames()
{
    const int level = Combo_Stufe->currentIndex();
    const auto wanted = [level](const HistoryGame &game) {
        return level == 0 || game.record.DifficultyLevel == level;
    };
    m_shown.clear();
    for (const HistoryGame &game : std::as_const(m_journalGames)) {
        if (wanted(game))
            m_shown.append(game);
    }
    const QDateTime from = spanStart();
    QList<HistoryGame> fromFiles;
    for (const HistoryGame &game : m_history.games()) {
        if (wanted(game) && !(from.isValid() && game.moment < from) &&
            !m_journalKnown.contains(game.record.toBytes()))
            fromFiles.append(game);
    }
    if (fromFiles.isEmpty())
        return;
    QList<HistoryGame> merged;
    merged.reserve(m_shown.size() + fromFiles.size());
    std::merge(m_shown.cbegin(), m_shown.cend(), fromFiles.cbegin(), fromFiles.cend(),
               std::back_inserter(merged),
               [](const HistoryGame &a, const HistoryGame &b) { return a.moment < b.moment; });
    m_shown = merged;
}

void TForm_Verlauf::showJournalSummary()
{
    if (!m_journal)
        return;
    const QDate today = RandomClock::now().date();
    const QMap<QDate, DayActivity> activity = m_journal->activityByDay();
    Trainingstage->setDays(TrainingDaysRow(activity, today));
    Label_Serie->setText(StreakText(CurrentStreak(activity, today)));
    const QList<ColourRun> runs = m_journal->colourRuns(spanStart());
    if (runs.isEmpty()) {
        Label_Farben->setText(QStringLiteral("Farben merken: keine Folge in diesem Zeitraum"));
    } else {
        const ColourRun &last = runs.constLast();
        Label_Farben->setText(
            QStringLiteral("Farben merken: %1 in diesem Zeitraum, zuletzt %2 von %3 Farben richtig")
                .arg(runs.size() == 1 ? QStringLiteral("1 Folge")
                                      : QStringLiteral("%1 Folgen").arg(runs.size()))
                .arg(last.correct)
                .arg(last.count));
    }
    const int level = Combo_Stufe->currentIndex() > 0 ? Combo_Stufe->currentIndex()
                                                      : m_suggestionLevel;
    if (level < LowestLevel || level > TopLevel) {
        Label_Vorschlag->clear();
        return;
    }
    const LevelSuggestion suggestion = SuggestLevel(level, m_journal->lastScores(level, 2));
    Label_Vorschlag->setText(QStringLiteral("Vorschlag für das nächste Spiel: Stufe %1\n%2")
                                 .arg(suggestion.level)
                                 .arg(suggestion.reason));
}

void TForm_Verlauf::Combo_ZeitraumChange()
{
    if (m_journal)
        ReloadJournal();
    else
        rebuildChart();
}

void TForm_Verlauf::Combo_StufeChange()
{
    showJournalSummary();
    rebuildChart();
}

void TForm_Verlauf::rebuildChart()
{
    QToolTip::hideText();
    QChart *chart = Chart_Verlauf->chart();
    chart->removeAllSeries();
    const auto oldAxes = chart->axes();
    for (QAbstractAxis *axis : oldAxes) {
        chart->removeAxis(axis);
        delete axis;
    }
    m_levelPoints.clear();

    auto *axisX = new QDateTimeAxis;
    axisX->setTickCount(6);
    auto *axisY = new QValueAxis;
    axisY->setTitleText(QStringLiteral("erreichte Punkte in %"));
    // A little room below 0 and above 100, so markers there are not cut in half; the
    // ticks stay at 0, 10, ..., 100.
    axisY->setRange(-4, 104);
    axisY->setTickType(QValueAxis::TicksDynamic);
    axisY->setTickAnchor(0);
    axisY->setTickInterval(10);
    axisY->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);

    selectShownGames();
    const QList<HistoryGame> &games = m_shown;
    // Thousands of markers would hide each other and take seconds to lay out: many games are
    // shown as means over days, weeks or months.
    const PointGrouping grouping = ChoosePointGrouping(games);
    QMap<int, QScatterSeries *> levels;
    for (const ChartPoint &point : ChartPoints(games, grouping)) {
        QScatterSeries *&series = levels[point.level];
        if (!series) {
            series = new QScatterSeries;
            series->setName(QStringLiteral("S-Grad %1").arg(point.level));
        }
        // A game without possible points sits on the 0 line; the trend leaves it out.
        series->append(point.x, point.percent);
        m_levelPoints[point.level].append(point);
    }
    for (auto it = levels.cbegin(); it != levels.cend(); ++it) {
        QScatterSeries *series = it.value();
        chart->addSeries(series);
        series->attachAxis(axisX);
        series->attachAxis(axisY);
        const QColor colour = LevelColour(it.key());
        series->setColor(colour);
        series->setBorderColor(colour.darker(160));
        series->setMarkerShape(LevelShape(it.key()));
        const int level = it.key();
        connect(series, &QScatterSeries::hovered, this,
                [this, level](const QPointF &point, bool state) {
                    SeriesHovered(level, point, state);
                });
    }

    const QList<QPointF> points = PercentPoints(games);
    const TrendDecision trendDecision = DecideTrend(games);
    Label_Trend->setText(trendDecision.reason);
    Label_Trend->setVisible(!trendDecision.reason.isEmpty());
    const std::optional<LinearFit> fit =
        trendDecision.drawn ? FitLeastSquares(points) : std::nullopt;
    if (fit) {
        const auto [first, last] =
            std::minmax_element(points.cbegin(), points.cend(),
                                [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
        auto *trend = new QLineSeries;
        trend->setName(QStringLiteral("Trend"));
        trend->append(trendSegment(*fit, first->x(), last->x()));
        chart->addSeries(trend);
        trend->attachAxis(axisX);
        trend->attachAxis(axisY);
        trend->setPen(QPen(QColor(60, 60, 60), 2, Qt::DashLine));
    }

    QList<QDateTime> moments;
    moments.reserve(games.size());
    for (const HistoryGame &game : games)
        moments.append(game.moment);
    const TimeAxisRange range = FitTimeAxis(moments, RandomClock::now(), axisX->tickCount());
    axisX->setRange(range.from, range.to);
    axisX->setFormat(range.format);
    axisX->setTitleText(range.title);

    chart->setTitle(games.isEmpty() ? QStringLiteral("Keine Spiele")
                                    : QStringLiteral("Merken und Wiedergeben: %1%2")
                                          .arg(gameCountText(games.size()), GroupingText(grouping)));
    for (QWidget *exporter : {static_cast<QWidget *>(But_Drucken), static_cast<QWidget *>(But_PNG),
                              static_cast<QWidget *>(But_CSV)})
        exporter->setEnabled(!games.isEmpty());
    for (QAction *exporter : {Drucken1, AlsPNGspeichern1, AlsCSVspeichern1})
        exporter->setEnabled(!games.isEmpty());
    showFiles();
    fitChartFonts();
}

void TForm_Verlauf::showFiles()
{
    const QStringList &files = m_history.files();
    const QString journal = m_journal ? QStringLiteral("Tagebuch") : QString();
    if (files.isEmpty()) {
        Label_Dateien->setText(journal);
        Label_Dateien->setToolTip(m_journal ? QDir::toNativeSeparators(m_journal->path())
                                            : QString());
        return;
    }
    Label_Dateien->setText(
        (journal.isEmpty() ? QString() : journal + QStringLiteral(" und ")) +
        (files.size() == 1 ? QStringLiteral("Datei: ") : QStringLiteral("Dateien: ")) +
        fileListText(files));
    Label_Dateien->setToolTip(files.join(QLatin1Char('\n')));
}

void TForm_Verlauf::SeriesHovered(int level, const QPointF &point, bool state)
{
    // The view's own tooltip handling shows the chart's tooltip once the cursor rests (and
    // would hide any other), so the text goes there as well.
    QChart *chart = Chart_Verlauf->chart();
    if (!state) {
        chart->setToolTip(QString());
        QToolTip::hideText();
        return;
    }
    const QList<ChartPoint> points = m_levelPoints.value(level);
    // The point hovered is one of the series' own points; the nearest one is it.
    qsizetype best = -1;
    double bestDistance = 0;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const double distance =
            std::abs(points[i].x - point.x()) + std::abs(points[i].percent - point.y());
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    if (best < 0)
        return;
    // As large as the window's text; the lines stay as they are.
    const QString text = QStringLiteral("<div style=\"white-space:pre; font-size:%1pt\">%2</div>")
                             .arg(font().pointSizeF())
                             .arg(points[best].toolTip.toHtmlEscaped());
    chart->setToolTip(text);
    QToolTip::showText(QCursor::pos(), text, Chart_Verlauf->viewport());
}

QFileDialog *TForm_Verlauf::OpenDialog()
{
    return FileDialogs::BuiltWhenNeeded(
        OpenDialog_Verlauf, QStringLiteral("OpenDialog_Verlauf"),
        [this] { return FileDialogs::CreateResultsOpenManyDialog(this); });
}

// An export's dialog: "SaveDialog_CSV" for "csv", offering "Verlauf.csv".
QFileDialog *TForm_Verlauf::exportDialog(QFileDialog *&slot, const QString &suffix)
{
    const QString kind = suffix.toUpper();
    return FileDialogs::BuiltWhenNeeded(slot, QStringLiteral("SaveDialog_") + kind, [&] {
        QFileDialog *dialog = FileDialogs::CreateExportSaveDialog(
            this, QStringLiteral("%1 (*.%2)").arg(kind, suffix), suffix);
        dialog->selectFile(QStringLiteral("Verlauf.") + suffix);
        return dialog;
    });
}

QFileDialog *TForm_Verlauf::CsvDialog()
{
    return exportDialog(SaveDialog_CSV, QStringLiteral("csv"));
}

QFileDialog *TForm_Verlauf::PngDialog()
{
    return exportDialog(SaveDialog_PNG, QStringLiteral("png"));
}

void TForm_Verlauf::DateienHinzufuegenClick()
{
    const QStringList paths = FileDialogs::ExecuteMany(OpenDialog());
    if (paths.isEmpty())
        return;
    QStringList refused;
    for (const QString &path : paths) {
        const GameFile file = ReadGameFile(path);
        if (!file.error.isEmpty())
            refused.append(file.error + QLatin1Char('\n') + path);
        else
            m_history.add(file.records, path);
    }
    rebuildChart();
    if (!refused.isEmpty())
        ShowError(refused.join(QStringLiteral("\n\n")), this);
}

void TForm_Verlauf::ErgebnisdateienUebernehmenClick()
{
    if (!m_journal)
        return;
    const QStringList paths = FileDialogs::ExecuteMany(OpenDialog());
    if (paths.isEmpty())
        return;
    Tagebuch::ImportCount total;
    QStringList problems;
    for (const QString &path : paths) {
        const ImportFile file = ReadImportFile(path);
        if (!file.error.isEmpty()) {
            problems.append(file.error + QLatin1Char('\n') + path);
            continue;
        }
        if (const std::optional<Tagebuch::ImportCount> count =
                m_journal->importRecords(file.records)) {
            total.added += count->added;
            total.known += count->known;
        }
        if (!file.ignored.isEmpty())
            problems.append(path + QLatin1Char('\n') + file.ignored.join(QLatin1Char('\n')));
    }
    ReloadJournal();
    ShowInformation(ImportCountText(total.added, total.known), this);
    if (!problems.isEmpty())
        ShowError(problems.join(QStringLiteral("\n\n")), this);
}

void TForm_Verlauf::TagebuchLoeschenClick()
{
    if (!m_journal)
        return;
    if (!AskYesNo(QStringLiteral("Willst Du wirklich alle Spiele und Farbenfolgen aus dem "
                                 "Tagebuch löschen?\nDas lässt sich nicht rückgängig machen."),
                  this, DefaultAnswer::No))
        return;
    m_journal->clear();
    ReloadJournal();
}

void TForm_Verlauf::PaintPage(QPainter &painter, const QRectF &page)
{
    painter.save();
    QFont font = this->font();
    font.setPixelSize(std::max(1, int(page.height() / 40)));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, painter.device());
    const QDateTime moment = RandomClock::now();
    const QString heading = QStringLiteral("Verlauf: Merken und Wiedergeben    gedruckt am    ") +
                            RandomClock::shortDateText(moment) + QStringLiteral(" um    ") +
                            RandomClock::longTimeText(moment) + QStringLiteral(" Uhr");
    qreal y = page.top();
    painter.drawText(QPointF(page.left(), y + metrics.ascent()), heading);
    y += metrics.lineSpacing();
    const QString files = metrics.elidedText(Label_Dateien->text(), Qt::ElideMiddle, page.width());
    painter.drawText(QPointF(page.left(), y + metrics.ascent()), files);
    y += 1.5 * metrics.lineSpacing();
    // The chart is laid out once more with the page's proportions, at the width it has on
    // the screen so that its texts keep their size relative to it, and then put back.
    const QRectF target(page.left(), y, page.width(), page.bottom() - y);
    QChart *chart = Chart_Verlauf->chart();
    const QSizeF shown = chart->size();
    const qreal width = std::max<qreal>(shown.width(), DesignWidth);
    chart->resize(QSizeF(width, width * target.height() / target.width()));
    chart->scene()->render(&painter, target, chart->sceneBoundingRect(), Qt::KeepAspectRatio);
    chart->resize(shown);
    painter.restore();
}

void TForm_Verlauf::DruckenClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(QStringLiteral("Verlauf"));
    if (!RunPrintDialog(printer, this))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowError(QStringLiteral("Der Ausdruck konnte nicht begonnen werden."), this);
        return;
    }
    PaintPage(painter, QRectF(QPointF(0, 0),
                              printer.pageLayout().paintRectPixels(printer.resolution()).size()));
    painter.end();
}

void TForm_Verlauf::saveExport(QFileDialog *dialog, const QByteArray &bytes)
{
    const QString path = FileDialogs::Execute(dialog);
    if (path.isEmpty())
        return;
    try {
        // Either way the file appears or changes only once every byte is on the disk.
        const QString target = RecordSave::ChosenFile(path);
        if (RecordFile::Exists(target))
            RecordSave::Replace(target, bytes);
        else
            RecordSave::Create(target, bytes);
    } catch (const InOutError &error) {
        ShowError(error.message() + QLatin1Char('\n') + path +
                      QStringLiteral("\nDie Datei wurde nicht gespeichert."),
                  this);
    }
}

void TForm_Verlauf::AlsPNGspeichernClick()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Chart_Verlauf->grab().toImage().save(&buffer, "PNG");
    saveExport(PngDialog(), bytes);
}

void TForm_Verlauf::AlsCSVspeichernClick()
{
    if (m_journal) {
        loadJournalGames(true);
        selectShownGames();
    }
    saveExport(CsvDialog(), HistoryCsv(m_shown));
}

void TForm_Verlauf::Beenden1Click()
{
    close();
}

void TForm_Verlauf::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    ModalForm::keyPressEvent(event);
}

void ShowVerlauf(QWidget *parent, const QList<OverallResultRecord> &records,
                 const QString &fileName)
{
    const QString damaged = DamagedRecordsError(records);
    if (!damaged.isEmpty()) {
        ShowError(damaged + QLatin1Char('\n') + fileName, parent);
        return;
    }
    TForm_Verlauf window(parent);
    window.AddGames(records, fileName);
    Form_Verlauf = &window;
    window.ShowModal();
    Form_Verlauf = nullptr;
}

void ShowJournalVerlauf(QWidget *parent, int level)
{
    Tagebuch *journal = JournalKeeping::Journal();
    TForm_Verlauf window(parent);
    if (journal)
        window.ShowJournal(journal, level);
    else
        window.Label_Dateien->setText(QStringLiteral("Das Tagebuch ist nicht verfügbar."));
    Form_Verlauf = &window;
    window.ShowModal();
    Form_Verlauf = nullptr;
}

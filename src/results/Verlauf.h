// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Verlauf": the journal's games and those of results files as a chart with a trend.
#pragma once

#include "common/ModalForm.h"
#include "results/Verlaufsdaten.h"
#include "results/Zeitachse.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QtCharts/QScatterSeries>

class QAction;
class QChartView;
class QComboBox;
class QFileDialog;
class QLabel;
class QMenuBar;
class QPainter;
class QPushButton;
class QRectF;
class QVBoxLayout;
class TTrainingDays;
class Tagebuch;

// The colour and the marker shape that stand for a level 1..15: colours run from green
// (easy) to blue (hard), and neighbouring levels differ in shape as well.
QColor LevelColour(int level);
QScatterSeries::MarkerShape LevelShape(int level);

class TForm_Verlauf : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Verlauf(QWidget *parent = nullptr);

    // The choices of the time span, in the order of Combo_Zeitraum.
    enum Span
    {
        FourWeeks = 0,
        TwelveMonths = 1,
        AllTime = 2
    };

    QMenuBar *MainMenu1 = nullptr;
    QAction *Datei1 = nullptr;
    QAction *DateienHinzufuegen1 = nullptr;
    QAction *ErgebnisdateienUebernehmen1 = nullptr;
    QAction *TagebuchLoeschen1 = nullptr;
    QAction *Drucken1 = nullptr;
    QAction *AlsPNGspeichern1 = nullptr;
    QAction *AlsCSVspeichern1 = nullptr;
    QAction *Beenden1 = nullptr;
    QLabel *Label_Dateien = nullptr;
    QWidget *Panel_Tagebuch = nullptr;
    TTrainingDays *Trainingstage = nullptr;
    QLabel *Label_Serie = nullptr;
    QLabel *Label_Farben = nullptr;
    QLabel *Label_Vorschlag = nullptr;
    QComboBox *Combo_Zeitraum = nullptr;
    QComboBox *Combo_Stufe = nullptr;
    QChartView *Chart_Verlauf = nullptr;
    QLabel *Label_Trend = nullptr;
    QPushButton *But_Hinzufuegen = nullptr;
    QPushButton *But_Uebernehmen = nullptr;
    QPushButton *But_Drucken = nullptr;
    QPushButton *But_PNG = nullptr;
    QPushButton *But_CSV = nullptr;
    QPushButton *But_Schliessen = nullptr;
    // The file dialogs, built when first asked for and kept from then on.
    QFileDialog *OpenDialog();
    QFileDialog *CsvDialog();
    QFileDialog *PngDialog();
    QFileDialog *OpenDialog_Verlauf = nullptr;
    QFileDialog *SaveDialog_CSV = nullptr;
    QFileDialog *SaveDialog_PNG = nullptr;

    // Adds games whose records passed DamagedRecordsError and shows the chart again.
    void AddGames(const QList<OverallResultRecord> &records, const QString &fileName);
    // Shows the journal's games beside those of the files, with the training days and the
    // level suggestion for `level` (used while "alle Stufen" is chosen).
    void ShowJournal(Tagebuch *journal, int level);
    // Reads the journal again (after an import, a deletion or a change of the time span).
    void ReloadJournal();

    void DateienHinzufuegenClick();
    void ErgebnisdateienUebernehmenClick();
    void TagebuchLoeschenClick();
    void Combo_ZeitraumChange();
    void Combo_StufeChange();
    void DruckenClick();
    void AlsPNGspeichernClick();
    void AlsCSVspeichernClick();
    void Beenden1Click();
    // A point of a level's series is hovered (state true) or left.
    void SeriesHovered(int level, const QPointF &point, bool state);

    // The games of the files added.
    const GameHistory &history() const { return m_history; }
    // The games the chart shows: journal and files, in the time span and at the level chosen.
    const QList<HistoryGame> &shownGames() const { return m_shown; }
    // Paints the printed page: heading, files and the chart, inside the page rectangle.
    void PaintPage(QPainter &painter, const QRectF &page);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QFileDialog *exportDialog(QFileDialog *&slot, const QString &suffix);
    void FormCreate();
    void createMenu();
    void createButtons(QVBoxLayout *layout);
    void fitChartFonts();
    void createJournalPanel(QVBoxLayout *layout);
    void createChoices(QVBoxLayout *layout);
    void rebuildChart();
    void selectShownGames();
    void showFiles();
    void showJournalSummary();
    QDateTime spanStart() const;
    void loadJournalGames(bool withRoundPoints);
    void saveExport(QFileDialog *dialog, const QByteArray &bytes);

    GameHistory m_history;
    Tagebuch *m_journal = nullptr;
    int m_suggestionLevel = 0;
    QList<HistoryGame> m_journalGames;
    QSet<QByteArray> m_journalKnown;
    QList<HistoryGame> m_shown;
    // Each level's points, in the order of its series.
    QHash<int, QList<ChartPoint>> m_levelPoints;
};

// The open "Verlauf" window, while one is shown.
extern TForm_Verlauf *Form_Verlauf;

// Results menu "&Verlauf (Gesamtergebnisse)": the chart of the records shown. A damaged
// record is refused with a message and no window opens.
void ShowVerlauf(QWidget *parent, const QList<OverallResultRecord> &records,
                 const QString &fileName);
// Settings menu "&Verlauf": the journal's games, with the suggestion for the level given.
void ShowJournalVerlauf(QWidget *parent, int level);

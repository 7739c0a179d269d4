// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Verlauf": the games of one or more overall-result files as a chart with a trend.
#pragma once

#include "common/ModalForm.h"
#include "results/Verlaufsdaten.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QtCharts/QScatterSeries>

class QAction;
class QChartView;
class QFileDialog;
class QLabel;
class QMenuBar;
class QPainter;
class QPushButton;
class QRectF;
class QVBoxLayout;

// The colour and the marker shape that stand for a level 1..15: colours run from green
// (easy) to blue (hard), and neighbouring levels differ in shape as well.
QColor LevelColour(int level);
QScatterSeries::MarkerShape LevelShape(int level);

class TForm_Verlauf : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Verlauf(QWidget *parent = nullptr);

    QMenuBar *MainMenu1 = nullptr;
    QAction *Datei1 = nullptr;
    QAction *DateienHinzufuegen1 = nullptr;
    QAction *Drucken1 = nullptr;
    QAction *AlsPNGspeichern1 = nullptr;
    QAction *AlsCSVspeichern1 = nullptr;
    QAction *Beenden1 = nullptr;
    QLabel *Label_Dateien = nullptr;
    QChartView *Chart_Verlauf = nullptr;
    QPushButton *But_Hinzufuegen = nullptr;
    QPushButton *But_Drucken = nullptr;
    QPushButton *But_PNG = nullptr;
    QPushButton *But_CSV = nullptr;
    QPushButton *But_Schliessen = nullptr;
    QFileDialog *OpenDialog_Verlauf = nullptr;
    QFileDialog *SaveDialog_CSV = nullptr;
    QFileDialog *SaveDialog_PNG = nullptr;

    // Adds games whose records passed DamagedRecordsError and shows the chart again.
    void AddGames(const QList<OverallResultRecord> &records, const QString &fileName);

    void DateienHinzufuegenClick();
    void DruckenClick();
    void AlsPNGspeichernClick();
    void AlsCSVspeichernClick();
    void Beenden1Click();
    // A point of a level's series is hovered (state true) or left.
    void SeriesHovered(int level, const QPointF &point, bool state);

    const GameHistory &history() const { return m_history; }
    // Paints the printed page: heading, files and the chart, inside the page rectangle.
    void PaintPage(QPainter &painter, const QRectF &page);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void FormCreate();
    void createMenu();
    void createButtons(QVBoxLayout *layout);
    void fitChartFonts();
    void rebuildChart();
    void showFiles();
    void saveExport(QFileDialog *dialog, const QByteArray &bytes);

    GameHistory m_history;
    // The games behind each level's points, in the order of the series' points.
    QHash<int, QList<int>> m_levelGames;
};

// The open "Verlauf" window, while one is shown.
extern TForm_Verlauf *Form_Verlauf;

// Results menu "&Verlauf (Gesamtergebnisse)": the chart of the records shown. A damaged
// record is refused with a message and no window opens.
void ShowVerlauf(QWidget *parent, const QList<OverallResultRecord> &records,
                 const QString &fileName);

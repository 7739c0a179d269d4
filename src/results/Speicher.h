// SPDX-License-Identifier: GPL-3.0-or-later
// The overall-result record and file, the overall-results window and its printout.
#pragma once

#include "common/ModalForm.h"
#include "common/ShortString.h"
#include "results/Ergdatei.h"

#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class QAction;
class QMenuBar;
class QPainter;
class QPaintDevice;
class QPrinter;
class TStringGrid;

// ---- The overall-result record and file ----

inline const QString FullResultsFileQuestion = QStringLiteral(
    "Die gewählte Datei kann keinen Datensatz mehr aufnehmen! \nSollen die Datensätze dieser "
    "Datei gelöscht werden, \nso daß der neue Datensatz unter diesem Datei-Namen gespeichert "
    "werden kann ?");
inline const QString NothingToSaveNotice =
    QStringLiteral("Es liegen keine Daten vor,\ndie noch nicht gespeichert wurden.");

// The record of the last game, made by BuildOverallRecord.
extern OverallResultRecord RecordBuffer;
// The records of the file loaded last: slot i (1..20) is OverallResultsTable[i - 1].
extern std::array<OverallResultRecord, ResultsFileCapacity> OverallResultsTable;
extern quint8 LoadedRecordCount;
// The whole path of ResultsFileName, which keeps only 79 characters; files are opened by this.
extern QString ResultsFilePath;

// Sets ResultsFilePath and its cut copy ResultsFileName.
void SetResultsFileName(const QString &path);

// The record of the last game at the given moment, with the settings it was played with.
OverallResultRecord MakeOverallRecord(const QDateTime &moment);
void BuildOverallRecord();

// Appends the last game's record to the file, after the full-file question if it is full.
// A symbolic link the player picked is saved into its target (RecordSave::ChosenFile).
// Returns false when the player kept a full file, so nothing was written. A failed file
// operation throws InOutError and leaves the file byte for byte as it was.
bool SaveOverallResult(const QString &fileName);
// Reads ResultsFilePath (its first 20 records) into OverallResultsTable and sets
// LoadedRecordCount; throws InOutError and changes nothing when the file cannot be read.
void LoadOverallResults();

// The settings window's save dialog, never asking about overwriting: the chosen path or empty.
QString ChooseResultsFileToSave();
// Saves into the chosen file and counts the result as saved when a record was written.
// Returns false when nothing was written: the player kept a full file, or the save failed
// and an input/output error was shown.
bool StoreOverallResult(const QString &fileName);

// ---- The overall-results table ----

// Column widths of the overall-results table for the window's outer and client width.
QList<int> OverallGridColumnWidths(int outerWidth, int clientWidth);
// Column 0 of record row n: "     1" .. "     9", "   10" .. "   20".
QString RecordNumberText(int number);
// Columns 1..6 of a record's row.
QStringList OverallRecordCells(const OverallResultRecord &record);
// Heading cell (5,0) and row 1.
inline const QString OverallGridTopHeading = QStringLiteral(" Zeitfaktor");
inline const QStringList OverallGridHeadings = {
    QStringLiteral("   Nr."),    QStringLiteral(" Name"),           QStringLiteral(" Datum-Zeit"),
    QStringLiteral(" Stoerung"), QStringLiteral(" S-Grad/ Zeitz."), QStringLiteral(" Vor.- War."),
    QStringLiteral(" Punkte")};
inline const QString OverallCaptionPrefix =
    QStringLiteral("gespeicherte Gesamtergebnisse aus     ");

// ---- The printout ----

// The table's texts as (row, column), 22 rows of 7 cells.
using GridTexts = QList<QStringList>;
// Paints the printout of a table with recordCount records in device pixels.
void PaintOverallResults(QPainter &painter, const GridTexts &cells, int recordCount,
                         const QDateTime &moment);
// Arial whose cell height (internal leading included) is the given number of device pixels.
QFont PrinterFont(QPaintDevice *device, int cellHeight);

// A text of the printout's table with its top left corner, in device pixels.
struct PrintedText
{
    int x;
    int y;
    QString text;
};
// A column line of the printout: its x and its pen width.
struct PrintedColumnLine
{
    int x;
    int width;
};
// The printout's table texts (headings and records) where they are printed.
QList<PrintedText> OverallPrintoutTexts(const GridTexts &cells, int recordCount);
// The column lines, drawn from y = 360 to the line under the last record.
const QList<PrintedColumnLine> &OverallPrintoutColumnLines();
// The space kept between the end of a text and the column line after it, in device pixels.
constexpr int PrintedTextClearance = 6;
// Left and right end of the ink of a text drawn at x in the font.
QPair<qreal, qreal> PrintedInkExtent(const QFont &font, int x, const QString &text);
// True when every text's ink begins after the column line before it and ends at least the
// clearance before the column line after it.
bool PrintedTextsClearColumnLines(const QFont &font, const QList<PrintedText> &texts);
// The cell height of the table texts: the designed 50 pixels, made smaller where that is
// needed so that no text crosses or touches a column line.
int PrinterTableCellHeight(QPaintDevice *device, const QList<PrintedText> &texts);

constexpr int PrinterResolution = 300;

// Tests: instead of showing the print dialog, the function prepares the printer and returns
// whether to print. An empty function restores the real dialog.
using PrintDialogAnswerer = std::function<bool(QPrinter &)>;
void answerPrintDialogForTests(PrintDialogAnswerer answerer);
// The print dialog (or the tests' answer to it); true to print.
bool RunPrintDialog(QPrinter &printer, QWidget *parent);

class TForm_Speich_MuW : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_Speich_MuW(QWidget *parent = nullptr);

    TStringGrid *StringGrid1 = nullptr;
    QMenuBar *MainMenu1 = nullptr;
    QAction *Datei1 = nullptr;
    QAction *DateiffnenGesamtergebnisse1 = nullptr;
    QAction *N1 = nullptr;
    QAction *druckenGesamtergebnisse1 = nullptr;
    QAction *VerlaufGesamtergebnisse1 = nullptr;
    QAction *Beenden1 = nullptr;

    void DateiffnenGesamtergebnisse1Click();
    void druckenGesamtergebnisse1Click();
    void VerlaufGesamtergebnisse1Click();
    void Beenden1Click();
    void StringGrid1KeyDown(int key);

    GridTexts gridTexts() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void createMenu();
};

extern TForm_Speich_MuW *Form_Speich_MuW;

// Shows OverallResultsTable in the window's table and sets its caption.
void FillOverallResultsGrid();

// Settings menu "&Datei öffnen (Gesamtergebnisse)": choose a file, load it, show it.
void OpenOverallResultsFile();
// Settings menu "speichern &unter (Gesamtergebnis)".
void SaveOverallResultAs();

// SPDX-License-Identifier: GPL-3.0-or-later
// The overall-result record and file, the overall-results window and its printout.
#include "results/Speicher.h"

#include "common/Controls.h"
#include "common/FileDialogs.h"
#include "common/MessageBoxes.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "exercise/Muw.h"
#include "results/Name.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Verlauf.h"
#include "results/Zeigen.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QMenuBar>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <algorithm>

TForm_Speich_MuW *Form_Speich_MuW = nullptr;

OverallResultRecord RecordBuffer;
std::array<OverallResultRecord, ResultsFileCapacity> OverallResultsTable;
quint8 LoadedRecordCount = 0;
QString ResultsFilePath;

namespace {
constexpr int DesignWidth = 640;
constexpr int DesignHeight = 480;
// All 22 rows fit the window's design height below its menu.
constexpr int DesignRowHeight = 20;
constexpr int DesignMenuHeight = 22;
constexpr int GridColumns = 7;
constexpr int GridRows = 22;

PrintDialogAnswerer printDialogAnswerer;

QString numberText(qint32 value)
{
    return QString::number(value);
}
} // namespace

void SetResultsFileName(const QString &path)
{
    ResultsFilePath = path;
    ResultsFileName = path;
}

OverallResultRecord MakeOverallRecord(const QDateTime &moment)
{
    OverallResultRecord record;
    record.DateTime = RandomClock::shortDateText(moment) + QStringLiteral("--") +
                      RandomClock::longTimeText(moment);
    record.PlayerName = PlayerName.text();
    // The settings the game was played with, not what the settings window shows now.
    record.DifficultyLevel = DifficultyLevel;
    record.PresentTimeFactor = PresentTimeFactor;
    record.WaitTimeFactor = WaitTimeFactor;
    record.TimeAllowanceSteps = TimeAllowanceSteps;
    record.Disturbance = GameDisturbanceLabel.text();
    record.PointsAchieved = PointsAchieved;
    record.PointsPossible = PointsPossible;
    for (int round = 1; round <= RoundsPerGame; ++round)
        record.RoundPointsPossible[size_t(round - 1)] = RoundPointsPossible[round];
    return record;
}

void BuildOverallRecord()
{
    RecordBuffer = MakeOverallRecord(RandomClock::now());
    JournalKeeping::NoteSavedRecord(RecordBuffer);
}

// ---- File ----

bool SaveOverallResult(const QString &fileName)
{
    SetResultsFileName(fileName);
    BuildOverallRecord();
    const QByteArray record = RecordBuffer.toBytes();
    const QString target = RecordSave::ChosenFile(ResultsFilePath);
    const qint64 count = RecordSave::CountRecords(target, OverallResultRecord::Size);
    if (count < 0) {
        RecordSave::Create(target, record);
    } else if (count >= ResultsFileCapacity) {
        // A longer file is never written by the program; it counts as full.
        // Yes empties a file of 20 saved games, so Enter alone must not.
        if (!AskYesNo(FullResultsFileQuestion, nullptr, DefaultAnswer::No))
            return false;
        RecordSave::Replace(target, record);
    } else {
        RecordSave::Append(target, record, OverallResultRecord::Size);
    }
    return true;
}

void LoadOverallResults()
{
    const QList<OverallResultRecord> records = ReadOverallResultsFile(ResultsFilePath);
    std::copy(records.begin(), records.end(), OverallResultsTable.begin());
    LoadedRecordCount = quint8(records.size());
}

QString ChooseResultsFileToSave()
{
    return FileDialogs::Execute(Form_MuW->SaveDialog());
}

bool StoreOverallResult(const QString &fileName)
{
    bool saved = false;
    HandleInOutErrors([&] {
        saved = SaveOverallResult(fileName);
        if (saved)
            ResultSaved = 1;
    });
    return saved;
}

// ---- Table ----

QList<int> OverallGridColumnWidths(int outerWidth, int clientWidth)
{
    const double w = outerWidth;
    QList<int> widths = {RoundHalfEven(w / 16.2), RoundHalfEven(w / 6),   RoundHalfEven(w / 5),
                         RoundHalfEven(w / 8.2),  RoundHalfEven(w / 6.5), RoundHalfEven(w / 8.1)};
    int last = clientWidth - 30;
    for (int width : widths)
        last -= width;
    widths.append(last);
    return widths;
}

QString RecordNumberText(int number)
{
    return (number < 10 ? QStringLiteral("     ") : QStringLiteral("   ")) +
           QString::number(number);
}

QStringList OverallRecordCells(const OverallResultRecord &record)
{
    return {
        QLatin1Char(' ') + record.PlayerName.text(),
        QLatin1Char(' ') + record.DateTime.text(),
        QStringLiteral("   ") + record.Disturbance.text(),
        QStringLiteral("  ") + numberText(record.DifficultyLevel) + QStringLiteral("/ ") +
            numberText(record.TimeAllowanceSteps),
        QStringLiteral("  ") + PadNumber(record.PresentTimeFactor) + QStringLiteral("-  ") +
            PadNumber(record.WaitTimeFactor),
        QLatin1Char(' ') + PadNumber(record.PointsAchieved) + QStringLiteral("/ ") +
            PadNumber(record.PointsPossible),
    };
}

void FillOverallResultsGrid()
{
    TStringGrid *grid = Form_Speich_MuW->StringGrid1;
    for (int row = 2; row < GridRows; ++row)
        for (int column = 1; column < GridColumns; ++column)
            grid->setCell(column, row, QString());
    Form_Speich_MuW->setWindowTitle(OverallCaptionPrefix + ResultsFilePath);
    for (int i = 1; i <= std::min<int>(LoadedRecordCount, ResultsFileCapacity); ++i) {
        const QStringList cells = OverallRecordCells(OverallResultsTable[size_t(i - 1)]);
        for (int column = 1; column < GridColumns; ++column)
            grid->setCell(column, i + 1, cells[column - 1]);
    }
}

// ---- Printout ----

namespace {
const int HeadingX[GridColumns] = {185, 330, 730, 1180, 1475, 1810, 2080};
const int RecordX[GridColumns] = {180, 330, 730, 1150, 1475, 1780, 2030};
constexpr int LeftX = 180;
constexpr int RightX = 2276;

QString cellOf(const GridTexts &cells, int row, int column)
{
    if (row < 0 || row >= cells.size() || column < 0 || column >= cells[row].size())
        return {};
    return cells[row][column];
}

void setPenWidth(QPainter &painter, int width)
{
    QPen pen = painter.pen();
    pen.setWidth(width);
    painter.setPen(pen);
}

void drawTextAt(QPainter &painter, int x, int y, const QString &text)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(x, y + metrics.ascent()), text);
}

void drawRule(QPainter &painter, int y)
{
    painter.drawLine(LeftX, y, RightX, y);
}

void drawVerticalLines(QPainter &painter, int bottom)
{
    for (const PrintedColumnLine &line : OverallPrintoutColumnLines()) {
        setPenWidth(painter, line.width);
        painter.drawLine(line.x, 360, line.x, bottom);
    }
}

bool runPrintDialog(QPrinter &printer, QWidget *parent)
{
    if (printDialogAnswerer)
        return printDialogAnswerer(printer);
    QPrintDialog PrintDialog1(&printer, parent);
    PrintDialog1.setObjectName(QStringLiteral("PrintDialog1"));
    UseScaledFont(&PrintDialog1);
    PrintDialog1.adjustSize();
    // The printer list is filled only as the dialog is shown, after the dialog took its size, so
    // the printers' names were cut; the dialog grows to them about its middle.
    for (QComboBox *list : PrintDialog1.findChildren<QComboBox *>())
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    QTimer::singleShot(0, &PrintDialog1, [&PrintDialog1] {
        const int before = PrintDialog1.width();
        PrintDialog1.adjustSize();
        PrintDialog1.move(PrintDialog1.x() - (PrintDialog1.width() - before) / 2,
                          PrintDialog1.y());
    });
    return PrintDialog1.exec() == QDialog::Accepted;
}
} // namespace

QFont PrinterFont(QPaintDevice *device, int cellHeight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(cellHeight);
    const qreal height = QFontMetricsF(font, device).height();
    if (height > 0)
        font.setPixelSize(std::max(1, RoundHalfEven(cellHeight * cellHeight / height)));
    return font;
}

QList<PrintedText> OverallPrintoutTexts(const GridTexts &cells, int recordCount)
{
    const int count = std::clamp(recordCount, 0, ResultsFileCapacity);
    QList<PrintedText> texts = {{1810, 400, cellOf(cells, 0, 5)}};
    for (int column = 0; column < GridColumns; ++column)
        texts.append({HeadingX[column], 480, cellOf(cells, 1, column)});
    for (int i = 1; i <= count; ++i) {
        for (int column = 0; column < GridColumns; ++column)
            texts.append({RecordX[column], 490 + 100 * i, cellOf(cells, i + 1, column)});
    }
    return texts;
}

const QList<PrintedColumnLine> &OverallPrintoutColumnLines()
{
    static const QList<PrintedColumnLine> lines = {{180, 3},  {300, 3},  {700, 1},  {1150, 1},
                                                   {1470, 1}, {1780, 1}, {2030, 1}, {2276, 3}};
    return lines;
}

QPair<qreal, qreal> PrintedInkExtent(const QFont &font, int x, const QString &text)
{
    QPainterPath outline;
    outline.addText(0, 0, font, text);
    const QRectF ink = outline.boundingRect();
    if (ink.isEmpty())
        return {x, x};
    return {x + ink.left(), x + ink.right()};
}

bool PrintedTextsClearColumnLines(const QFont &font, const QList<PrintedText> &texts)
{
    const QList<PrintedColumnLine> &lines = OverallPrintoutColumnLines();
    for (const PrintedText &text : texts) {
        const auto [left, right] = PrintedInkExtent(font, text.x, text.text);
        if (right <= left)
            continue;
        // Lines are ordered from left to right; a text starts on or after the line of its
        // column, its leading blanks keeping the ink off it.
        for (const PrintedColumnLine &line : lines) {
            const qreal halfWidth = line.width / 2.0;
            if (line.x <= text.x && left <= line.x + halfWidth)
                return false;
            if (line.x > text.x) {
                if (right > line.x - halfWidth - PrintedTextClearance)
                    return false;
                break;
            }
        }
    }
    return true;
}

int PrinterTableCellHeight(QPaintDevice *device, const QList<PrintedText> &texts)
{
    // The smallest size still prints field values far beyond what the program writes.
    constexpr int DesignCellHeight = 50;
    constexpr int SmallestCellHeight = 12;
    for (int cellHeight = DesignCellHeight; cellHeight > SmallestCellHeight; --cellHeight) {
        if (PrintedTextsClearColumnLines(PrinterFont(device, cellHeight), texts))
            return cellHeight;
    }
    return SmallestCellHeight;
}

void PaintOverallResults(QPainter &painter, const GridTexts &cells, int recordCount,
                         const QDateTime &moment)
{
    const int count = std::clamp(recordCount, 0, ResultsFileCapacity);
    painter.setFont(PrinterFont(painter.device(), 50));
    painter.setPen(QPen(Qt::black, 1));
    drawTextAt(painter, 180, 200,
               QStringLiteral("Merken und Wiedergeben    gedruckt am    ") +
                   RandomClock::shortDateText(moment) + QStringLiteral(" um    ") +
                   RandomClock::longTimeText(moment) + QStringLiteral(" Uhr"));
    setPenWidth(painter, 3);
    drawRule(painter, 360);
    const QList<PrintedText> texts = OverallPrintoutTexts(cells, count);
    painter.setFont(PrinterFont(painter.device(), PrinterTableCellHeight(painter.device(), texts)));
    // Headings first, then each record row followed by the line under it; the line under the
    // last record is heavy.
    int textIndex = 0;
    for (; textIndex < 1 + GridColumns; ++textIndex)
        drawTextAt(painter, texts[textIndex].x, texts[textIndex].y, texts[textIndex].text);
    drawRule(painter, 560);
    for (int i = 1; i <= count; ++i) {
        setPenWidth(painter, i < count ? 1 : 3);
        for (int column = 0; column < GridColumns; ++column, ++textIndex)
            drawTextAt(painter, texts[textIndex].x, texts[textIndex].y, texts[textIndex].text);
        drawRule(painter, 560 + 100 * i);
    }
    drawVerticalLines(painter, 560 + 100 * count);
}

void answerPrintDialogForTests(PrintDialogAnswerer answerer)
{
    printDialogAnswerer = std::move(answerer);
}

bool RunPrintDialog(QPrinter &printer, QWidget *parent)
{
    return runPrintDialog(printer, parent);
}

// ---- Window ----

TForm_Speich_MuW::TForm_Speich_MuW(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_Speich_MuW"));
    setShownMaximized(true);
    resize(DesignWidth, DesignHeight);
    SetBackgroundColour(this, GridCellColor);
    createMenu();
    StringGrid1 = new TStringGrid(GridColumns, GridRows, 1, 2, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Gesamtergebnisse"));
    StringGrid1->setGeometry(0, DesignMenuHeight, DesignWidth, DesignHeight - DesignMenuHeight);
    connect(StringGrid1, &TStringGrid::keyDown, this, &TForm_Speich_MuW::StringGrid1KeyDown);
    FormCreate();
}

void TForm_Speich_MuW::createMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setGeometry(0, 0, DesignWidth, DesignMenuHeight);
    // The menu keeps the system's colours on the navy window.
    MainMenu1->setAutoFillBackground(true);
    UseSystemColours(MainMenu1);
    QMenu *file = MainMenu1->addMenu(QStringLiteral("&Datei"));
    Datei1 = file->menuAction();
    Datei1->setObjectName(QStringLiteral("Datei1"));
    DateiffnenGesamtergebnisse1 =
        file->addAction(QStringLiteral("Datei ö&ffnen (Gesamtergebnisse)"));
    DateiffnenGesamtergebnisse1->setObjectName(QStringLiteral("DateiffnenGesamtergebnisse1"));
    connect(DateiffnenGesamtergebnisse1, &QAction::triggered, this,
            &TForm_Speich_MuW::DateiffnenGesamtergebnisse1Click);
    N1 = file->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    druckenGesamtergebnisse1 = file->addAction(QStringLiteral("&drucken (Gesamtergebnisse)"));
    druckenGesamtergebnisse1->setObjectName(QStringLiteral("druckenGesamtergebnisse1"));
    connect(druckenGesamtergebnisse1, &QAction::triggered, this,
            &TForm_Speich_MuW::druckenGesamtergebnisse1Click);
    VerlaufGesamtergebnisse1 = file->addAction(QStringLiteral("&Verlauf (Gesamtergebnisse)"));
    VerlaufGesamtergebnisse1->setObjectName(QStringLiteral("VerlaufGesamtergebnisse1"));
    connect(VerlaufGesamtergebnisse1, &QAction::triggered, this,
            &TForm_Speich_MuW::VerlaufGesamtergebnisse1Click);
    Beenden1 = file->addAction(QStringLiteral("&Beenden"));
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    connect(Beenden1, &QAction::triggered, this, &TForm_Speich_MuW::Beenden1Click);
}

void TForm_Speich_MuW::FormCreate()
{
    ScaleToScreen(this);
    StringGrid1->setRowHeight(RoundHalfEven(DesignRowHeight * double(width()) / DesignWidth));
    // The window has never been shown, so its outer width is the one its frame will give it.
    StringGrid1->setColumnWidths(OverallGridColumnWidths(FramedWidth(width()), width()));
    StringGrid1->setCell(5, 0, OverallGridTopHeading);
    for (int column = 0; column < GridColumns; ++column)
        StringGrid1->setCell(column, 1, OverallGridHeadings[column]);
    QStringList rowHeadings(2);
    for (int number = 1; number <= ResultsFileCapacity; ++number) {
        StringGrid1->setCell(0, number + 1, RecordNumberText(number));
        rowHeadings << QString::number(number);
    }
    QStringList columnHeadings;
    for (const QString &head : OverallGridHeadings)
        columnHeadings << head.trimmed();
    // The time factors stand under a heading of their own in the row above.
    columnHeadings[5] = OverallGridTopHeading.trimmed() + QLatin1Char(' ') + columnHeadings[5];
    StringGrid1->setAccessibleHeadings(columnHeadings, rowHeadings);
}

void TForm_Speich_MuW::resizeEvent(QResizeEvent *event)
{
    ModalForm::resizeEvent(event);
    const int menuHeight = MainMenu1->sizeHint().height();
    MainMenu1->setGeometry(0, 0, width(), menuHeight);
    StringGrid1->setGeometry(0, menuHeight, width(), height() - menuHeight);
}

GridTexts TForm_Speich_MuW::gridTexts() const
{
    GridTexts texts;
    for (int row = 0; row < GridRows; ++row) {
        QStringList cells;
        for (int column = 0; column < GridColumns; ++column)
            cells.append(StringGrid1->cell(column, row));
        texts.append(cells);
    }
    return texts;
}

void TForm_Speich_MuW::DateiffnenGesamtergebnisse1Click()
{
    const QString fileName = FileDialogs::Execute(Form_MuW->OpenDialog());
    if (fileName.isEmpty())
        return;
    HandleInOutErrors([&] {
        SetResultsFileName(fileName);
        LoadOverallResults();
        FillOverallResultsGrid();
    });
}

void TForm_Speich_MuW::druckenGesamtergebnisse1Click()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(PrinterResolution);
    // The layout is fixed in device pixels; narrow margins keep it on an A4 or Letter page.
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    if (!runPrintDialog(printer, this))
        return;
    printer.setResolution(PrinterResolution);
    QPainter painter;
    if (!painter.begin(&printer)) {
        ShowError(QStringLiteral("Der Ausdruck konnte nicht begonnen werden."));
        return;
    }
    PaintOverallResults(painter, gridTexts(), LoadedRecordCount, RandomClock::now());
    painter.end();
}

// The chart of the games the table shows; the caption names their file, which
// ResultsFilePath no longer does after a failed open.
void TForm_Speich_MuW::VerlaufGesamtergebnisse1Click()
{
    const auto shown =
        OverallResultsTable.cbegin() + std::min<int>(LoadedRecordCount, ResultsFileCapacity);
    const QString caption = windowTitle();
    ShowVerlauf(this, QList<OverallResultRecord>(OverallResultsTable.cbegin(), shown),
                caption.startsWith(OverallCaptionPrefix) ? caption.mid(OverallCaptionPrefix.size())
                                                         : ResultsFilePath);
}

void TForm_Speich_MuW::Beenden1Click()
{
    close();
}

void TForm_Speich_MuW::StringGrid1KeyDown(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

// ---- Settings menu ----

void OpenOverallResultsFile()
{
    const QString fileName = FileDialogs::Execute(Form_MuW->OpenDialog());
    if (fileName.isEmpty())
        return;
    const bool loaded = HandleInOutErrors([&] {
        SetResultsFileName(fileName);
        LoadOverallResults();
    });
    if (!loaded)
        return;
    FillOverallResultsGrid();
    Form_Speich_MuW->ShowModal();
}

void SaveOverallResultAs()
{
    if (ResultSaved != 0) {
        ShowInformation(NothingToSaveNotice);
        return;
    }
    RequestPlayerName();
    const QString fileName = ChooseResultsFileToSave();
    if (!fileName.isEmpty())
        StoreOverallResult(fileName);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The individual-result window and the text grid of the result tables.
#include "results/Zeigen.h"

#include "common/Controls.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "results/Name.h"
#include "results/Speicher.h"
#include "results/Tagebuchfuehrung.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>

TForm_zeigen *Form_zeigen = nullptr;

namespace {
constexpr int DesignWidth = 640;
constexpr int DesignHeight = 480;
constexpr int DesignMenuHeight = 22;
constexpr int DesignPanelHeight = 125;
constexpr int DesignRowHeight = 30;
constexpr int DesignGridPointSize = 8;
constexpr int RowTextMargin = 2;

const QStringList ColumnHeads = {QStringLiteral("   Nr."),   QStringLiteral(" vorgegeben"),
                                 QStringLiteral(" Störung"), QStringLiteral(" Ihre Eingabe"),
                                 QStringLiteral(" Wertung"), QStringLiteral(" Punkte")};

// The long captions shrink, never below a readable size, until they fit their button.
void fitCaption(QToolButton *button, qreal designPointSize)
{
    QFont font = button->font();
    const QString caption = QString(button->text()).remove(QLatin1Char('&'));
    const int room = button->width() - 12;
    for (qreal size = designPointSize; size > 6; size -= 0.5) {
        font.setPointSizeF(size);
        if (QFontMetrics(font).horizontalAdvance(caption) <= room)
            break;
    }
    button->setFont(font);
}

QToolButton *createFlatButton(QWidget *parent, const QString &name, const QString &caption,
                              const QColor &textColor)
{
    QToolButton *button = CreateFlatButton(parent, name, caption);
    SetBoldFont(button);
    SetTextColour(button, textColor);
    return button;
}

QString roundPointsText(int round)
{
    return PadNumber(RoundPointsAchieved[round]) + QLatin1Char('/') +
           PadNumber(RoundPointsPossible[round]);
}
} // namespace

QString PadNumber(int number)
{
    const QString digits = QString::number(number);
    if (digits.size() == 1)
        return QStringLiteral("    ") + digits;
    if (digits.size() == 2)
        return QStringLiteral("  ") + digits;
    return digits;
}

TStringGrid::TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget *parent)
    : QTableWidget(rows, columns, parent), m_fixedColumns(fixedColumns), m_fixedRows(fixedRows)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The arrows move between the cells; Tab leaves the grid for the window's buttons instead
    // of going round its cells for ever.
    setTabKeyNavigation(false);
    // Cells clip their text like a text grid instead of shortening it with dots.
    setTextElideMode(Qt::ElideNone);
    setWordWrap(false);
    QFont bold(QStringLiteral("Arial"), DesignGridPointSize);
    bold.setBold(true);
    setFont(bold);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, GridCellColor);
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            auto *item = new QTableWidgetItem;
            item->setBackground(isFixed(column, row) ? GridFixedColor : GridCellColor);
            item->setForeground(Qt::white);
            item->setFlags(isFixed(column, row) ? Qt::ItemIsEnabled
                                                : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            setItem(row, column, item);
        }
    }
    if (fixedRows < rows && fixedColumns < columns)
        setCurrentCell(fixedRows, fixedColumns);
}

bool TStringGrid::isFixed(int column, int row) const
{
    return column < m_fixedColumns || row < m_fixedRows;
}

QString TStringGrid::cell(int column, int row) const
{
    const QTableWidgetItem *cellItem = item(row, column);
    return cellItem ? cellItem->text() : QString();
}

void TStringGrid::setCell(int column, int row, const QString &text)
{
    if (QTableWidgetItem *cellItem = item(row, column))
        cellItem->setText(text);
}

void TStringGrid::setAccessibleHeadings(const QStringList &columns, const QStringList &rows)
{
    setHorizontalHeaderLabels(columns);
    setVerticalHeaderLabels(rows);
}

void TStringGrid::setRowHeight(int height)
{
    m_rowHeight = height;
    fitRowHeight();
}

// Rows never clip the dots of capital umlauts or the descenders, whatever the font.
void TStringGrid::fitRowHeight()
{
    const int textHeight = fontMetrics().height() + 2 * RowTextMargin;
    verticalHeader()->setDefaultSectionSize(std::max(m_rowHeight, textHeight));
}

void TStringGrid::changeEvent(QEvent *event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowHeight();
}

void TStringGrid::setColumnWidths(const QList<int> &widths)
{
    for (int column = 0; column < widths.size() && column < columnCount(); ++column)
        setColumnWidth(column, widths[column]);
}

void TStringGrid::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event->key());
    QTableWidget::keyPressEvent(event);
}

QList<int> IndividualGridColumnWidths(int outerWidth, int clientWidth)
{
    const double w = outerWidth;
    QList<int> widths = {RoundHalfEven(w / 16.2), RoundHalfEven(w / 4.4), RoundHalfEven(w / 6),
                         RoundHalfEven(w / 4.4), RoundHalfEven(w / 7)};
    int last = clientWidth - RoundHalfEven(w / 20);
    for (int width : widths)
        last -= width;
    widths.append(last);
    return widths;
}

QString MomentCellText(const QDateTime &moment)
{
    return QLatin1Char(' ') + RandomClock::shortDateText(moment) + QLatin1Char('-') +
           RandomClock::longTimeText(moment);
}

QList<GridCellText> IndividualResultCells()
{
    QList<GridCellText> cells;
    // Before the first game ends the cell keeps the program's start.
    if (GameEndTime.isValid())
        cells.append({1, 0, MomentCellText(GameEndTime)});
    cells << QList<GridCellText>{
        {3, 0, QStringLiteral(" Pkte (ges.): %1/ %2").arg(PointsAchieved).arg(PointsPossible)},
        {4, 0, QLatin1Char(' ') + PlayerName.text()},
        {1, 1, QStringLiteral(" S-Grad = %1").arg(DifficultyLevel)},
        {1, 2, QStringLiteral(" Zeitzugabe = %1").arg(TimeAllowanceSteps)},
        {3, 1, QStringLiteral(" Zeit-F.-Vorg. = %1").arg(PresentTimeFactor)},
        {3, 2, QStringLiteral(" Zeit-F.-Wart. = %1").arg(WaitTimeFactor)},
    };
    for (int round = 1; round <= RoundsPerGame; ++round) {
        const int row = round + 3;
        cells.append({1, row, QLatin1Char(' ') + PresentedSequences[round].text()});
        cells.append({2, row, QLatin1Char(' ') + RoundDisturbanceLabels[round].text()});
        cells.append({3, row, QLatin1Char(' ') + ReproducedSequences[round].text()});
        cells.append({4, row, QLatin1Char(' ') + SymbolMarks[round].text()});
        cells.append({5, row, roundPointsText(round)});
    }
    return cells;
}

TForm_zeigen::TForm_zeigen(QWidget *parent) : ModalForm(parent)
{
    setObjectName(QStringLiteral("Form_zeigen"));
    setWindowTitle(QStringLiteral("letztes Einzelergebnis"));
    setShownMaximized(true);
    resize(DesignWidth, DesignHeight);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setGeometry(0, 0, DesignWidth, DesignMenuHeight);
    QMenu *file = MainMenu1->addMenu(QStringLiteral("&Datei"));
    Datei1 = file->menuAction();
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Beenden1 = file->addAction(QStringLiteral("&Beenden"));
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    connect(Beenden1, &QAction::triggered, this, &TForm_zeigen::Beenden1Click);

    StringGrid1 = new TStringGrid(6, 10, 1, 4, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("Einzelergebnis"));
    StringGrid1->setGeometry(0, DesignMenuHeight, DesignWidth,
                             DesignHeight - DesignMenuHeight - DesignPanelHeight);
    connect(StringGrid1, &TStringGrid::keyDown, this, &TForm_zeigen::StringGrid1KeyDown);

    createButtonPanel();
    FormCreate();
}

void TForm_zeigen::createButtonPanel()
{
    Panel_zurueck_gesamt = new QWidget(this);
    Panel_zurueck_gesamt->setObjectName(QStringLiteral("Panel_zurueck_gesamt"));
    Panel_zurueck_gesamt->setAutoFillBackground(true);
    Panel_zurueck_gesamt->setGeometry(0, DesignHeight - DesignPanelHeight, DesignWidth,
                                      DesignPanelHeight);
    SpeedBut_zurueck_ohne_Sp =
        createFlatButton(Panel_zurueck_gesamt, QStringLiteral("SpeedBut_zurueck_ohne_Sp"),
                         QStringLiteral("zurück &ohne Speichern des Gesamtergebnisses"), Qt::black);
    SpeedBut_zurueck_ohne_Sp->setGeometry(10, 40, 300, 45);
    connect(SpeedBut_zurueck_ohne_Sp, &QToolButton::clicked, this,
            &TForm_zeigen::SpeedBut_zurueck_ohne_SpClick);
    SpeedBut_zurueck_mit_Sp =
        createFlatButton(Panel_zurueck_gesamt, QStringLiteral("SpeedBut_zurueck_mit_Sp"),
                         QStringLiteral("zurück &mit Speichern des Gesamtergebnisses"), Qt::red);
    SpeedBut_zurueck_mit_Sp->setGeometry(330, 40, 300, 45);
    connect(SpeedBut_zurueck_mit_Sp, &QToolButton::clicked, this,
            &TForm_zeigen::SpeedBut_zurueck_mit_SpClick);
    Label_Urteil = new QLabel(Panel_zurueck_gesamt);
    Label_Urteil->setObjectName(QStringLiteral("Label_Urteil"));
    Label_Urteil->setAlignment(Qt::AlignCenter);
    Label_Urteil->setWordWrap(true);
    SetBoldFont(Label_Urteil);
    // Two lines of text fit above the buttons, which start at 40.
    Label_Urteil->setGeometry(10, 1, 620, 38);
    SpeedBut_zurueck_ohne_Sp->installEventFilter(this);
    SpeedBut_zurueck_mit_Sp->installEventFilter(this);
}

// Flat buttons take only Space; Return presses the focused one as on the other windows.
bool TForm_zeigen::eventFilter(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QToolButton *>(watched);
    if (button && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
    }
    return ModalForm::eventFilter(watched, event);
}

void TForm_zeigen::FormCreate()
{
    ScaleToScreen(this);
    m_panelHeight = Panel_zurueck_gesamt->height();
    m_buttonPointSize = SpeedBut_zurueck_ohne_Sp->font().pointSizeF();
    StringGrid1->setRowHeight(RoundHalfEven(DesignRowHeight * double(width()) / DesignWidth));
    // The window has never been shown, so its outer width is the one its frame will give it.
    StringGrid1->setColumnWidths(IndividualGridColumnWidths(FramedWidth(width()), width()));
    StringGrid1->setCell(1, 0, MomentCellText(RandomClock::now()));
    // The name takes the empty cell beside it too: at its column's width a name of twelve
    // characters in the grown bold font does not fit.
    StringGrid1->setSpan(0, 4, 1, 2);
    for (int column = 0; column < ColumnHeads.size(); ++column)
        StringGrid1->setCell(column, 3, ColumnHeads[column]);
    QStringList rowHeadings(4);
    for (int round = 1; round <= RoundsPerGame; ++round) {
        StringGrid1->setCell(0, round + 3, QStringLiteral("     %1").arg(round));
        rowHeadings << QString::number(round);
    }
    QStringList columnHeadings;
    for (const QString &head : ColumnHeads)
        columnHeadings << head.trimmed();
    StringGrid1->setAccessibleHeadings(columnHeadings, rowHeadings);
}

void TForm_zeigen::resizeEvent(QResizeEvent *event)
{
    ModalForm::resizeEvent(event);
    const int menuHeight = MainMenu1->sizeHint().height();
    MainMenu1->setGeometry(0, 0, width(), menuHeight);
    Panel_zurueck_gesamt->setGeometry(0, height() - m_panelHeight, width(), m_panelHeight);
    // The two buttons share the panel's width, so their long captions fit a maximised window.
    const int margin = SpeedBut_zurueck_ohne_Sp->x();
    const int buttonWidth = (width() - 3 * margin) / 2;
    SpeedBut_zurueck_ohne_Sp->setGeometry(margin, SpeedBut_zurueck_ohne_Sp->y(), buttonWidth,
                                          SpeedBut_zurueck_ohne_Sp->height());
    SpeedBut_zurueck_mit_Sp->setGeometry(2 * margin + buttonWidth, SpeedBut_zurueck_mit_Sp->y(),
                                         buttonWidth, SpeedBut_zurueck_mit_Sp->height());
    StringGrid1->setGeometry(0, menuHeight, width(), height() - menuHeight - m_panelHeight);
    Label_Urteil->setGeometry(margin, Label_Urteil->y(), width() - 2 * margin,
                              Label_Urteil->height());
    if (m_buttonPointSize > 0) {
        fitCaption(SpeedBut_zurueck_ohne_Sp, m_buttonPointSize);
        fitCaption(SpeedBut_zurueck_mit_Sp, m_buttonPointSize);
    }
}

void TForm_zeigen::SpeedBut_zurueck_ohne_SpClick()
{
    done(QDialog::Accepted);
}

void TForm_zeigen::SpeedBut_zurueck_mit_SpClick()
{
    RequestPlayerName();
    const QString fileName = ChooseResultsFileToSave();
    // After a failed save, or a full file the player kept, the window stays open: the result
    // is still unsaved and the player can try another file.
    if (!fileName.isEmpty() && !StoreOverallResult(fileName))
        return;
    done(QDialog::Accepted);
}

void TForm_zeigen::StringGrid1KeyDown(int key)
{
    if (key == Qt::Key_Escape)
        close();
}

void TForm_zeigen::Beenden1Click()
{
    close();
}

bool TForm_zeigen::FormCloseQuery()
{
    // However the window is closed, it ends with OK.
    done(QDialog::Accepted);
    return true;
}

void FillIndividualResult()
{
    TStringGrid *grid = Form_zeigen->StringGrid1;
    QFont font = grid->font();
    font.setPointSize(10);
    // 10 points at the design size: the text grows with the window like its rows.
    grid->setFont(ScaledFont(font));
    for (const GridCellText &cell : IndividualResultCells())
        grid->setCell(cell.column, cell.row, cell.text);
    Form_zeigen->Label_Urteil->setText(JournalKeeping::Verdict());
}

void ShowIndividualResult()
{
    FillIndividualResult();
    Form_zeigen->ShowModal();
}

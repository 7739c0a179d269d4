// SPDX-License-Identifier: GPL-3.0-or-later
// The individual-result window and the text grid of the result tables.
#pragma once

#include "common/ModalForm.h"

#include <QColor>
#include <QDateTime>
#include <QStringList>
#include <QTableWidget>

#include <array>

class QAction;
class QLabel;
class QMenuBar;
class QToolButton;

// A number with leading blanks so that it takes about three digits' width in a proportional
// font (a digit is as wide as two blanks): "    7", "  12", "120".
QString PadNumber(int number);

// Colours of the result tables.
inline const QColor GridCellColor(0, 0, 128);
inline const QColor GridFixedColor(0, 128, 0);

// A text grid addressed as (column, row); the first rows and columns are fixed (green) and
// the others navy, all in white bold text.
class TStringGrid : public QTableWidget
{
    Q_OBJECT

public:
    TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget *parent);

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString &text);
    void setColumnWidths(const QList<int> &widths);
    // The rows' height, raised where the font needs more.
    void setRowHeight(int height);
    // The headings a screen reader gives the columns and rows; the grid shows its headings in
    // its own cells and the header bars stay hidden.
    void setAccessibleHeadings(const QStringList &columns, const QStringList &rows);
    bool isFixed(int column, int row) const;

signals:
    void keyDown(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitRowHeight();

    int m_fixedColumns;
    int m_fixedRows;
    int m_rowHeight = 0;
};

// Column widths of the individual-result table for the window's outer and client width.
QList<int> IndividualGridColumnWidths(int outerWidth, int clientWidth);

// The texts of the individual-result table that come from the last game: rows 0..9 of
// columns 0..5 as (column, row) -> text; cells the game does not fill are absent.
struct GridCellText
{
    int column;
    int row;
    QString text;
};
QList<GridCellText> IndividualResultCells();
// The text of the date cell for a moment: " dd.MM.yyyy-HH:mm:ss".
QString MomentCellText(const QDateTime &moment);

class TForm_zeigen : public ModalForm
{
    Q_OBJECT

public:
    explicit TForm_zeigen(QWidget *parent = nullptr);

    TStringGrid *StringGrid1 = nullptr;
    QWidget *Panel_zurueck_gesamt = nullptr;
    QToolButton *SpeedBut_zurueck_ohne_Sp = nullptr;
    QToolButton *SpeedBut_zurueck_mit_Sp = nullptr;
    // The journal's verdict on the game, above the buttons; empty with the journal off.
    QLabel *Label_Urteil = nullptr;
    QMenuBar *MainMenu1 = nullptr;
    QAction *Datei1 = nullptr;
    QAction *Beenden1 = nullptr;

    void SpeedBut_zurueck_ohne_SpClick();
    void SpeedBut_zurueck_mit_SpClick();
    void StringGrid1KeyDown(int key);
    void Beenden1Click();

protected:
    bool FormCloseQuery() override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void createButtonPanel();

    int m_panelHeight = 0;
    qreal m_buttonPointSize = 0;
};

extern TForm_zeigen *Form_zeigen;

// Fills the individual-result window from the last game.
void FillIndividualResult();
// Fills the window and shows it modally.
void ShowIndividualResult();

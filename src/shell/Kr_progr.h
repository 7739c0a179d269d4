// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <QWidget>

class QAction;
class QToolButton;

// The drawing area of the main window; it shows MainBitmap.
class TPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TPaintBox(QWidget *parent = nullptr);

signals:
    void sizeChanged();
    void painted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

class TForm_Prgr : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm_Prgr(QWidget *parent = nullptr);

    QWidget *Panel1 = nullptr;
    QToolButton *SpeedBut_MuW = nullptr;
    QToolButton *SpeedBut_FarbenMerken = nullptr;
    QToolButton *SpeedBut_Kegel = nullptr;
    TPaintBox *PaintBox1 = nullptr;
    QTimer Timer1;

    QAction *Beenden1 = nullptr;
    QAction *MerkenundWiedergeben1 = nullptr;
    QAction *Farben_merken = nullptr;
    QAction *Kegelneusetzen1 = nullptr;
    QAction *sehrlangsam1 = nullptr;
    QAction *langsam1 = nullptr;
    QAction *mittel1 = nullptr;
    QAction *schnell1 = nullptr;
    QAction *rasend1 = nullptr;
    QAction *Info2 = nullptr;
    QAction *Haftung1 = nullptr;

    void MerkenundWiedergeben1Click();
    void SpeedBut_FarbenMerkenClick();
    void Farben_merkenClick();
    void Info2Click();
    void Haftung1Click();
    void Beenden1Click();

    // Pin animation
    void SpeedBut_KegelClick();
    void sehrlangsam1Click();
    void langsam1Click();
    void mittel1Click();
    void schnell1Click();
    void rasend1Click();
    void PaintBox1Paint();
    void Timer1Timer();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void createMenu();
    void createButtonBar();
    void layOutClientArea();
    // MainBitmap follows the drawing area's size before the next drawing.
    void fitMainBitmapToPaintBox();

    int m_panelHeight = 0;
};

extern TForm_Prgr *Form_Prgr;

inline const QString LiabilityNotice = QStringLiteral(
    "Programmfehler sind trotz entsprechender Bemühungen\nnicht auszuschließen.\n"
    "Für Folgen, die sich aus evtl. auftretenden Programmfehlern ergeben,\nwird nicht gehaftet!");

// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Kr_progr.h"

#include "colours/Farben.h"
#include "common/MessageBoxes.h"
#include "common/RecordFile.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "disturbance/Hauptsta.h"
#include "exercise/Muw.h"
#include "shell/Info.h"

#include <QApplication>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>
#include <QToolButton>

TForm_Prgr *Form_Prgr = nullptr;

namespace {
constexpr int DesignPanelHeight = 33;

QToolButton *createSpeedButton(QWidget *parent, const QString &name, const QString &caption,
                               const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setGeometry(geometry);
    return button;
}
} // namespace

TPaintBox::TPaintBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (MainBitmap.isNull())
        painter.fillRect(event->rect(), Qt::black);
    else
        painter.drawImage(event->rect(), MainBitmap, event->rect());
    emit painted();
}

void TPaintBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit sizeChanged();
}

TForm_Prgr::TForm_Prgr(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form_Prgr"));
    setWindowTitle(QStringLiteral("Fokulantorium"));
    setPalette(QPalette(Qt::black));
    setAutoFillBackground(true);
    resize(640, 480);

    auto *client = new QWidget(this);
    setCentralWidget(client);
    createButtonBar();
    PaintBox1 = new TPaintBox(client);
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    PaintBox1->setGeometry(0, DesignPanelHeight, 640, 480 - DesignPanelHeight);
    connect(PaintBox1, &TPaintBox::sizeChanged, this, &TForm_Prgr::fitMainBitmapToPaintBox);
    connect(PaintBox1, &TPaintBox::painted, this, &TForm_Prgr::PaintBox1Paint);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    connect(&Timer1, &QTimer::timeout, this, &TForm_Prgr::Timer1Timer);

    createMenu();
    FormCreate();
}

void TForm_Prgr::createButtonBar()
{
    Panel1 = new QWidget(centralWidget());
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    Panel1->setPalette(QApplication::palette());
    Panel1->setGeometry(0, 0, 640, DesignPanelHeight);
    SpeedBut_MuW = createSpeedButton(Panel1, QStringLiteral("SpeedBut_MuW"),
                                     QStringLiteral("&Merken und Wiedergeben"), {8, 4, 180, 25});
    SpeedBut_FarbenMerken = createSpeedButton(Panel1, QStringLiteral("SpeedBut_FarbenMerken"),
                                              QStringLiteral("Farben merken"), {196, 4, 120, 25});
    SpeedBut_Kegel = createSpeedButton(Panel1, QStringLiteral("SpeedBut_Kegel"),
                                       QStringLiteral("&Kegel neu setzen"), {324, 4, 140, 25});
    connect(SpeedBut_MuW, &QToolButton::clicked, this, &TForm_Prgr::MerkenundWiedergeben1Click);
    connect(SpeedBut_FarbenMerken, &QToolButton::clicked, this,
            &TForm_Prgr::SpeedBut_FarbenMerkenClick);
    connect(SpeedBut_Kegel, &QToolButton::clicked, this, &TForm_Prgr::SpeedBut_KegelClick);
}

void TForm_Prgr::createMenu()
{
    auto addItem = [this](QMenu *menu, const QString &name, const QString &caption,
                          void (TForm_Prgr::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setAutoFillBackground(true);
    bar->setPalette(QApplication::palette());

    QMenu *file = bar->addMenu(QStringLiteral("&Datei"));
    Beenden1 = addItem(file, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"),
                       &TForm_Prgr::Beenden1Click);

    QMenu *games = bar->addMenu(QStringLiteral("&Spiele"));
    MerkenundWiedergeben1 =
        addItem(games, QStringLiteral("MerkenundWiedergeben1"),
                QStringLiteral("&Merken und Wiedergeben"), &TForm_Prgr::MerkenundWiedergeben1Click);
    Farben_merken = addItem(games, QStringLiteral("Farben_merken"), QStringLiteral("Farben merken"),
                            &TForm_Prgr::Farben_merkenClick);
    games->addSeparator();
    QMenu *pins = games->addMenu(QStringLiteral("&Kegel neu setzen"));
    Kegelneusetzen1 = pins->menuAction();
    Kegelneusetzen1->setObjectName(QStringLiteral("Kegelneusetzen1"));
    sehrlangsam1 = addItem(pins, QStringLiteral("sehrlangsam1"), QStringLiteral("&sehr langsam"),
                           &TForm_Prgr::sehrlangsam1Click);
    langsam1 = addItem(pins, QStringLiteral("langsam1"), QStringLiteral("&langsam"),
                       &TForm_Prgr::langsam1Click);
    mittel1 = addItem(pins, QStringLiteral("mittel1"), QStringLiteral("&mittel"),
                      &TForm_Prgr::mittel1Click);
    schnell1 = addItem(pins, QStringLiteral("schnell1"), QStringLiteral("&schnell"),
                       &TForm_Prgr::schnell1Click);
    rasend1 = addItem(pins, QStringLiteral("rasend1"), QStringLiteral("&rasend "),
                      &TForm_Prgr::rasend1Click);
    sehrlangsam1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    langsam1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mittel1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    schnell1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    rasend1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));

    QMenu *info = bar->addMenu(QStringLiteral("&Info"));
    Info2 = addItem(info, QStringLiteral("Info2"), QStringLiteral("&Info"), &TForm_Prgr::Info2Click);
    Haftung1 = addItem(info, QStringLiteral("Haftung1"), QStringLiteral("Haftung"),
                       &TForm_Prgr::Haftung1Click);
}

void TForm_Prgr::FormCreate()
{
    ResultSaved = 1;
    BackgroundTextOn = 0;
    ScaleToScreen(this);
    m_panelHeight = Panel1->height();
    PointsPossible = 0;
    layOutClientArea();
    MainBitmap = QImage(PaintBox1->size(), QImage::Format_RGB32);
    MainBitmap.fill(Qt::black);
    PaintBox1->update();
    FillCapitalsTable();
    PlayerName = NoPlayerName;
    HandleInOutErrors(WriteAndReadCapitalsFile);
    setWindowState(windowState() | Qt::WindowMaximized);
}

void TForm_Prgr::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    layOutClientArea();
}

void TForm_Prgr::layOutClientArea()
{
    const QWidget *client = centralWidget();
    if (!client || m_panelHeight == 0)
        return;
    Panel1->setGeometry(0, 0, client->width(), m_panelHeight);
    PaintBox1->setGeometry(0, m_panelHeight, client->width(),
                           std::max(0, client->height() - m_panelHeight));
}

void TForm_Prgr::fitMainBitmapToPaintBox()
{
    if (MainBitmap.size() == PaintBox1->size())
        return;
    QImage resized(PaintBox1->size(), QImage::Format_RGB32);
    resized.fill(Qt::black);
    MainBitmap = resized;
}

void TForm_Prgr::MerkenundWiedergeben1Click()
{
    Form_MuW->ShowModal();
}

void TForm_Prgr::SpeedBut_FarbenMerkenClick()
{
    Form_Farben->ShowModal();
}

void TForm_Prgr::Farben_merkenClick()
{
    Form_Farben->ShowModal();
}

void TForm_Prgr::Info2Click()
{
    Form_Info->ShowModal();
}

void TForm_Prgr::Haftung1Click()
{
    ShowInformation(LiabilityNotice, this);
}

void TForm_Prgr::Beenden1Click()
{
    close();
}

void TForm_Prgr::SpeedBut_KegelClick()
{
}

void TForm_Prgr::sehrlangsam1Click()
{
}

void TForm_Prgr::langsam1Click()
{
}

void TForm_Prgr::mittel1Click()
{
}

void TForm_Prgr::schnell1Click()
{
}

void TForm_Prgr::rasend1Click()
{
}

void TForm_Prgr::PaintBox1Paint()
{
}

void TForm_Prgr::Timer1Timer()
{
}

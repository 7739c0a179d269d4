// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/SharedState.h"
#include "disturbance/Billard.h"
#include "disturbance/Hauptsta.h"
#include "exercise/Muw.h"
#include "shell/Kr_progr.h"
#include "shell/Mentaro.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

class ShellTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }

    void startValuesAreSetByTheMainWindow();
    void mainWindowCarriesItsMenuWithShortcuts();
    void liabilityNoticeChangesNothing();
    void mainBitmapFollowsTheDrawingArea();
    void capitalsFileIsWrittenAtStart();
    void qtsOwnButtonsSpeakGerman();
    void firstInputCreatesTheOtherWindows_data();
    void firstInputCreatesTheOtherWindows();
};

void ShellTest::startValuesAreSetByTheMainWindow()
{
    QCOMPARE(Form_Prgr->windowTitle(), QStringLiteral("Fokulantorium"));
    QCOMPARE(PlayerName.text(), QStringLiteral("Wer ist da?"));
    QCOMPARE(ResultSaved, Byte(1));
    QCOMPARE(BackgroundTextOn, Byte(0));
    QCOMPARE(QApplication::applicationName(), QStringLiteral("Mentaro"));
}

void ShellTest::mainWindowCarriesItsMenuWithShortcuts()
{
    const QList<QAction *> menus = Form_Prgr->menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("&Datei"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Spiele"));
    QCOMPARE(menus[2]->text(), QStringLiteral("&Info"));
    const QList<QAction *> games = menus[1]->menu()->actions();
    QCOMPARE(games.size(), 4);
    QVERIFY(games[2]->isSeparator());
    QCOMPARE(Form_Prgr->rasend1->text(), QStringLiteral("&rasend "));
    QCOMPARE(Form_Prgr->sehrlangsam1->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    QCOMPARE(Form_Prgr->langsam1->shortcut(), QKeySequence(QStringLiteral("Ctrl+L")));
    QCOMPARE(Form_Prgr->mittel1->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
    QCOMPARE(Form_Prgr->schnell1->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(Form_Prgr->rasend1->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
    QVERIFY(Form_Prgr->findChild<QAction *>(QStringLiteral("Haftung1")));
    QCOMPARE(Form_Prgr->SpeedBut_MuW->text(), QStringLiteral("&Merken und Wiedergeben"));
}

void ShellTest::liabilityNoticeChangesNothing()
{
    TestSupport::messages().clear();
    Form_Prgr->Haftung1->trigger();
    Form_Prgr->Haftung1->trigger();
    QCOMPARE(TestSupport::messages().shown.size(), 2);
    QCOMPARE(TestSupport::messages().shown[1].text,
             QStringLiteral("Programmfehler sind trotz entsprechender Bemühungen\nnicht "
                            "auszuschließen.\nFür Folgen, die sich aus evtl. auftretenden "
                            "Programmfehlern ergeben,\nwird nicht gehaftet!"));
    QCOMPARE(TestSupport::messages().shown[1].kind, MessageBoxes::Kind::Information);
}

void ShellTest::mainBitmapFollowsTheDrawingArea()
{
    Form_Prgr->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form_Prgr));
    QCOMPARE(MainBitmap.size(), Form_Prgr->PaintBox1->size());
    Form_Prgr->setWindowState(Qt::WindowNoState);
    Form_Prgr->resize(500, 400);
    QTRY_COMPARE(MainBitmap.size(), Form_Prgr->PaintBox1->size());
    QVERIFY(Form_Prgr->PaintBox1->height() > 0);
}

void ShellTest::capitalsFileIsWrittenAtStart()
{
    QFile file(TestSupport::workingDirectory() + QStringLiteral("/Hauptsta.FKL"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), CapitalsTableBytes());
}

void ShellTest::qtsOwnButtonsSpeakGerman()
{
    QMessageBox box(QMessageBox::Warning, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ja"));
    QCOMPARE(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
}

void ShellTest::firstInputCreatesTheOtherWindows_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("creates");
    QTest::newRow("key") << int(QEvent::KeyPress) << true;
    QTest::newRow("mouse") << int(QEvent::MouseButtonPress) << true;
    QTest::newRow("close request") << int(QEvent::Close) << true;
    QTest::newRow("paint") << int(QEvent::Paint) << false;
}

// The program shows its main window before the other twelve exist; whatever reaches the
// program first as input must find them.
void ShellTest::firstInputCreatesTheOtherWindows()
{
    QFETCH(int, kind);
    QFETCH(bool, creates);
    Mentaro::DestroyWindows();
    Mentaro::CreateMainWindow();
    QVERIFY(!Form_MuW);
    QWidget target;
    {
        const Mentaro::OtherWindowsBeforeInput guard;
        if (kind == QEvent::KeyPress) {
            QTest::keyClick(&target, Qt::Key_A);
        } else if (kind == QEvent::MouseButtonPress) {
            QTest::mouseClick(&target, Qt::LeftButton);
        } else if (kind == QEvent::Close) {
            QCloseEvent close;
            QCoreApplication::sendEvent(&target, &close);
        } else {
            QPaintEvent paint(QRect(0, 0, 1, 1));
            QCoreApplication::sendEvent(&target, &paint);
        }
        QCOMPARE(Form_MuW != nullptr, creates);
        QCOMPARE(Form_Billard != nullptr, creates);
    }
    Mentaro::CreateOtherWindows();
    QVERIFY(Form_MuW && Form_Billard);
}

QTEST_MAIN(ShellTest)
#include "test_shell.moc"

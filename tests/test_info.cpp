// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/AppIcon.h"
#include "common/ScaleToScreen.h"
#include "shell/Info.h"
#include "shell/Kr_progr.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QScreen>
#include <QtTest>

class InfoTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }

    void namesProductAndVersion();
    void infoItemOpensItAndOkClosesItWithOk();
    void programIconHasEverySize();
    void aboutWindowShowsTheProgramIcon();
    void everyWindowCarriesTheProgramIcon();
    void aboutWindowHasADialogBorder();
    void aboutWindowIsCentredOnTheScreenNotOnTheMainWindow();
};

void InfoTest::namesProductAndVersion()
{
    QCOMPARE(Form_Info->ProductName->text(), QStringLiteral("Fokulantorium"));
    QVERIFY(Form_Info->ProductName->font().bold());
    static const QRegularExpression versionLine(
        QStringLiteral("^Version 3\\.0 {7}\\d\\d\\.\\d\\d\\.\\d{4}$"));
    QVERIFY(versionLine.match(Form_Info->Version->text()).hasMatch());
    QVERIFY(Form_Info->Version->y() > Form_Info->ProductName->y());
    QVERIFY(Form_Info->OKButton->y() >= Form_Info->Panel1->geometry().bottom());
    QVERIFY(!Form_Info->ProgramIcon->pixmap().isNull());
}

void InfoTest::infoItemOpensItAndOkClosesItWithOk()
{
    bool wasShown = false;
    bool okHadFocus = false;
    TestSupport::afterActivation(Form_Info, [&] {
        wasShown = Form_Info->isVisible();
        okHadFocus = Form_Info->focusWidget() == Form_Info->OKButton;
        QTest::mouseClick(Form_Info->OKButton, Qt::LeftButton);
    });
    Form_Prgr->Info2->trigger();
    QVERIFY(wasShown);
    QVERIFY(okHadFocus);
    QVERIFY(!Form_Info->isVisible());
    QCOMPARE(Form_Info->result(), int(QDialog::Accepted));
}

void InfoTest::programIconHasEverySize()
{
    const QIcon icon = AppIcon::Icon();
    QVERIFY(!icon.isNull());
    for (const int size : AppIcon::Sizes()) {
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
        const QImage image = icon.pixmap(size, size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // The corners are transparent, the middle is the target's red.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QVERIFY(qRed(image.pixel(size / 2, size / 2)) > 180);
    }
}

void InfoTest::aboutWindowShowsTheProgramIcon()
{
    const QImage shown = Form_Info->ProgramIcon->pixmap().toImage();
    QCOMPARE(shown, AppIcon::Icon().pixmap(64, 64).toImage());
    const QImage information =
        Form_Info->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(64, 64).toImage();
    QVERIFY(shown != information);
}

void InfoTest::everyWindowCarriesTheProgramIcon()
{
    AppIcon::Install();
    const qint64 programIcon = QApplication::windowIcon().cacheKey();
    int windows = 0;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->objectName().startsWith(QStringLiteral("Form_")))
            continue;
        ++windows;
        QVERIFY2(window->windowIcon().cacheKey() == programIcon, qPrintable(window->objectName()));
    }
    QVERIFY(windows >= 13);
}

void InfoTest::aboutWindowHasADialogBorder()
{
    const Qt::WindowFlags flags = Form_Info->windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(Form_Info->minimumSize(), Form_Info->maximumSize());
}

void InfoTest::aboutWindowIsCentredOnTheScreenNotOnTheMainWindow()
{
    // The main window in a corner of the screen, so that its middle is not the screen's.
    Form_Prgr->showNormal();
    Form_Prgr->setGeometry(20, 20, 400, 300);
    QVERIFY(QTest::qWaitForWindowExposed(Form_Prgr));
    const QPoint middle = Form_Info->screen()->availableGeometry().center();
    auto offCentre = [&] {
        QRect frame;
        QTimer::singleShot(0, Form_Info, [&] {
            frame = Form_Info->frameGeometry();
            Form_Info->OKButton->click();
        });
        Form_Prgr->Info2->trigger();
        return (frame.center() - middle).manhattanLength();
    };
    // A first showing can only expect the designed frame; later ones know the real one.
    QVERIFY(offCentre() <= WindowFrame.top());
    QVERIFY(offCentre() <= 2);
    Form_Prgr->hide();
}

QTEST_MAIN(InfoTest)
#include "test_info.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The "Verlauf" window on a 1366x768 screen (set up for this test): inside the screen, usable.
#include "results/Verlauf.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QtCharts/QChartView>
#include <QtTest>

class VerlaufScreenTest : public QObject
{
    Q_OBJECT

private slots:
    void screenIsTheLaptopScreen();
    void windowFitsTheScreenRestoredAndMaximised();
};

void VerlaufScreenTest::screenIsTheLaptopScreen()
{
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1366, 768));
}

void VerlaufScreenTest::windowFitsTheScreenRestoredAndMaximised()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    TForm_Verlauf window;
    // Scaled by the screen width alone the design would be 1363 x 1022 pixels.
    QVERIFY(window.width() <= screen.width());
    QVERIFY(window.height() <= screen.height());
    QVERIFY(window.font().pointSizeF() > QApplication::font().pointSizeF());

    for (const bool maximised : {false, true}) {
        window.setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.windowState().testFlag(Qt::WindowMaximized) == maximised);
        if (!maximised)
            window.move(screen.topLeft());
        QTRY_VERIFY2(screen.contains(window.frameGeometry()),
                     qPrintable(QStringLiteral("%1 %2x%3")
                                    .arg(maximised)
                                    .arg(window.frameGeometry().width())
                                    .arg(window.frameGeometry().height())));
        // Every button is inside the window and shows its whole caption.
        for (QPushButton *button : {window.But_Hinzufuegen, window.But_Drucken, window.But_PNG,
                                    window.But_CSV, window.But_Schliessen}) {
            QVERIFY(window.rect().contains(
                QRect(button->mapTo(&window, QPoint(0, 0)), button->size())));
            QVERIFY(button->width() >= button->sizeHint().width());
        }
        // The chart takes most of the window.
        QVERIFY(window.Chart_Verlauf->height() > window.height() / 2);
        window.hide();
    }
}

QTEST_MAIN(VerlaufScreenTest)
#include "test_verlauf_screen.moc"

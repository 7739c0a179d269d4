// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/SharedState.h"
#include "shell/Kr_progr.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QToolButton>
#include <QtTest>

#include <set>

class PinsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { TestSupport::destroyProgram(); }

    void measuresForADrawingArea600High();
    void layerBoundsFollowTheRules_data();
    void layerBoundsFollowTheRules();
    void everyOrderSetsUpEachPinOnce_data();
    void everyOrderSetsUpEachPinOnce();
    void speedsSetTheTimer_data();
    void speedsSetTheTimer();
    void rasendDuringASlowSetUpRestartsWithAClearedPicture();
    void letterTakesTheTopBandsColour();
    void areaUnder12PixelsDrawsNothing();
    void mainBitmapFollowsTheDrawingAreaBeforeDrawing();
    void showingOrResizingStartsASetUpButItsOwnRepaintsDoNot();
    void uncoveredAreaLeavesOutOwnPopupsAndTheBars_data();
    void uncoveredAreaLeavesOutOwnPopupsAndTheBars();
    void menuSpeedChoiceSurvivesTheMenuClosing();
    void closingAnotherWindowOverTheAreaStartsASetUp();

private:
    // Shows the main window and lets the set-up that showing starts run to its end.
    static void showMainWindowAtRest();
    // The uncovering the platform reports, in window coordinates.
    static void exposeMainWindow(const QRegion &region);
    // Delivers every event already waiting, so what a step set off has happened.
    static void flushEvents();
    static void useDrawingArea(int width, int height);
    static Byte setUpWithOrder(Byte order, int interval);
    static QPoint layerCentre(int pin, int layer);
};

void PinsTest::initTestCase()
{
    TestSupport::createProgram();
}

void PinsTest::flushEvents()
{
    for (int pass = 0; pass < 3; ++pass) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void PinsTest::useDrawingArea(int width, int height)
{
    Form_Prgr->PaintBox1->resize(width, height);
}

// Set-ups draw their order at random; repeat until the wanted one comes up.
Byte PinsTest::setUpWithOrder(Byte order, int interval)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        Form_Prgr->SetUpPins(interval);
        if (PinSetUpOrder == order)
            return CurrentPin;
    }
    qFatal("order %d never drawn", order);
}

QPoint PinsTest::layerCentre(int pin, int layer)
{
    const PinMeasures m = PinMeasuresFor(MainBitmap.width(), MainBitmap.height());
    const PinLayerBounds b = PinLayerEllipse(m, pin, layer);
    return {(b.left + b.right) / 2, (b.top + b.bottom) / 2};
}

void PinsTest::measuresForADrawingArea600High()
{
    const PinMeasures m = PinMeasuresFor(800, 600);
    QCOMPARE(m.cx, 400);
    QCOMPARE(m.n, 50);
    QCOMPARE(m.r0, 34);
    QCOMPARE(m.baseY, 480);
    QCOMPARE(PinLift(m, m.n), 300);
    QCOMPARE(PinLetterPointSize(600), 25);
    // Top layer: half-height Round(34 - 100/3) = 1; letter 600 div 8 above that.
    QCOMPARE(PinLetterTopLeft(m, 0), QPoint(400 - 6 * 50 - 8, 480 - 300 - 1 - 75));
    QCOMPARE(PinLetterTopLeft(m, 12), QPoint(400 + 6 * 50 - 8, 104));
    QCOMPARE(PinLetter(0), QStringLiteral("F"));
    QCOMPARE(PinLetter(12), QStringLiteral("m"));
}

void PinsTest::layerBoundsFollowTheRules_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pin");
    QTest::addColumn<int>("layer");
    QTest::addColumn<PinLayerBounds>("bounds");
    QTest::newRow("upright bottom") << 600 << 6 << 0 << PinLayerBounds{350, 446, 450, 514};
    // s = 60, d = 60, a = 40, b = Round(34 - 20/3) = 27
    QTest::newRow("leftmost layer 10") << 600 << 0 << 10 << PinLayerBounds{300, 393, 380, 447};
    QTest::newRow("rightmost top") << 600 << 12 << 50 << PinLayerBounds{700, 179, 700, 181};
    // H = 100: n = 8, r0 = 6, lift of layer 3 = Round(50 / 8 * 3) = Round(18.75) = 19,
    // b = Round(6 - 2) = 4
    QTest::newRow("small area") << 100 << 5 << 3 << PinLayerBounds{42, 57, 52, 65};
    // H = 1080: n = 90, lift of layer 45 = 540 / 90 * 45 = 270, b = Round(60 - 30) = 30
    QTest::newRow("full hd") << 1080 << 9 << 45 << PinLayerBounds{1050, 564, 1140, 624};
}

void PinsTest::layerBoundsFollowTheRules()
{
    QFETCH(int, height);
    QFETCH(int, pin);
    QFETCH(int, layer);
    QFETCH(PinLayerBounds, bounds);
    const int width = height == 1080 ? 1920 : height == 600 ? 800 : 100;
    const PinLayerBounds got = PinLayerEllipse(PinMeasuresFor(width, height), pin, layer);
    QCOMPARE(QRect(QPoint(got.left, got.top), QPoint(got.right, got.bottom)),
             QRect(QPoint(bounds.left, bounds.top), QPoint(bounds.right, bounds.bottom)));
}

void PinsTest::everyOrderSetsUpEachPinOnce_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<int>("firstPin");
    QTest::newRow("left to right") << int(PinsLeftToRight) << 0;
    QTest::newRow("random") << int(PinsAtRandom) << -1;
    QTest::newRow("right to left") << int(PinsRightToLeft) << 12;
}

void PinsTest::everyOrderSetsUpEachPinOnce()
{
    QFETCH(int, order);
    QFETCH(int, firstPin);
    useDrawingArea(400, 300);
    QList<int> drawn{setUpWithOrder(Byte(order), 1000)};
    if (firstPin >= 0)
        QCOMPARE(drawn.first(), firstPin);
    for (int tick = 1; tick <= 12; ++tick) {
        QVERIFY(Form_Prgr->Timer1.isActive());
        Form_Prgr->Timer1Timer();
        drawn.append(CurrentPin);
    }
    QVERIFY(!Form_Prgr->Timer1.isActive());
    QCOMPARE(PinTicks, Byte(12));
    QCOMPARE(std::set<int>(drawn.begin(), drawn.end()).size(), size_t(13));
    if (order == PinsLeftToRight)
        QVERIFY(std::is_sorted(drawn.begin(), drawn.end()));
    // A late tick after the thirteenth pin draws nothing more.
    Form_Prgr->Timer1Timer();
    QCOMPARE(PinTicks, Byte(12));
    QCOMPARE(int(CurrentPin), drawn.last());
}

void PinsTest::speedsSetTheTimer_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("interval");
    QTest::newRow("sehr langsam") << "sehrlangsam1" << 1000;
    QTest::newRow("langsam") << "langsam1" << 600;
    QTest::newRow("mittel") << "mittel1" << 400;
    QTest::newRow("schnell") << "schnell1" << 140;
    QTest::newRow("rasend") << "rasend1" << 50;
    QTest::newRow("button") << "SpeedBut_Kegel" << 400;
}

void PinsTest::speedsSetTheTimer()
{
    QFETCH(QString, trigger);
    QFETCH(int, interval);
    if (auto *action = Form_Prgr->findChild<QAction *>(trigger))
        action->trigger();
    else
        Form_Prgr->SpeedBut_Kegel->click();
    QCOMPARE(PinInterval, interval);
    QCOMPARE(Form_Prgr->Timer1.interval(), interval);
    QVERIFY(Form_Prgr->Timer1.isActive());
    QCOMPARE(PinTicks, Byte(0));
}

void PinsTest::rasendDuringASlowSetUpRestartsWithAClearedPicture()
{
    useDrawingArea(800, 600);
    Form_Prgr->sehrlangsam1Click();
    for (int tick = 0; tick < 5; ++tick)
        Form_Prgr->Timer1Timer();
    Form_Prgr->rasend1->trigger();
    QCOMPARE(PinInterval, 50);
    QCOMPARE(Form_Prgr->Timer1.interval(), 50);
    QCOMPARE(PinTicks, Byte(0));
    // High up the pins stand apart: only the new first pin may show there.
    for (int pin = 0; pin < PinCount; ++pin) {
        const QColor colour = MainBitmap.pixelColor(layerCentre(pin, 37));
        if (pin == CurrentPin)
            QVERIFY(colour != QColor(Qt::black));
        else
            QCOMPARE(colour, QColor(Qt::black));
    }
}

void PinsTest::letterTakesTheTopBandsColour()
{
    useDrawingArea(800, 600);
    Form_Prgr->DrawPin(6, true);
    // Layer 50 lies in the band begun at layer 48, drawn without a black outline.
    const QColor topBand = MainBitmap.pixelColor(layerCentre(6, 50));
    QVERIFY(topBand != QColor(Qt::black));
    const PinMeasures m = PinMeasuresFor(800, 600);
    const QPoint corner = PinLetterTopLeft(m, 6);
    const QImage letter = MainBitmap.copy(QRect(corner, QSize(40, 40)));
    int inTopColour = 0;
    for (int y = 0; y < letter.height(); ++y) {
        for (int x = 0; x < letter.width(); ++x)
            inTopColour += letter.pixelColor(x, y) == topBand;
    }
    QVERIFY2(inTopColour > 20, qPrintable(QString::number(inTopColour)));
}

void PinsTest::areaUnder12PixelsDrawsNothing()
{
    useDrawingArea(300, 11);
    QVERIFY(!PinMeasuresFor(300, 11).drawable());
    MainBitmap.fill(Qt::white);
    Form_Prgr->DrawPin(3, true);
    QCOMPARE(MainBitmap.size(), QSize(300, 11));
    for (int x = 0; x < 300; x += 7)
        QCOMPARE(MainBitmap.pixelColor(x, 5), QColor(Qt::black));
    Form_Prgr->SetUpPins(50);
    for (int tick = 0; tick < 12; ++tick)
        Form_Prgr->Timer1Timer();
    QVERIFY(!Form_Prgr->Timer1.isActive());
}

void PinsTest::mainBitmapFollowsTheDrawingAreaBeforeDrawing()
{
    useDrawingArea(321, 123);
    Form_Prgr->DrawPin(0, true);
    QCOMPARE(MainBitmap.size(), QSize(321, 123));
}

void PinsTest::showingOrResizingStartsASetUpButItsOwnRepaintsDoNot()
{
    Form_Prgr->Timer1.stop();
    PinInterval = 0;
    Form_Prgr->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form_Prgr));
    QTRY_COMPARE(PinInterval, 300);
    // Maximising is a resize of its own; wait until the window has its full size.
    QTRY_COMPARE(Form_Prgr->frameGeometry().size(),
                 Form_Prgr->screen()->availableGeometry().size());
    flushEvents();
    QCOMPARE(MainBitmap.size(), Form_Prgr->PaintBox1->size());

    // Run the set-up to its end; the pins' own repaints must not start another.
    while (Form_Prgr->Timer1.isActive())
        Form_Prgr->Timer1Timer();
    PinInterval = 0;
    Form_Prgr->PaintBox1->repaint();
    flushEvents();
    QVERIFY(!Form_Prgr->Timer1.isActive());
    QCOMPARE(PinInterval, 0);

    Form_Prgr->setWindowState(Qt::WindowNoState);
    Form_Prgr->resize(Form_Prgr->width() - 50, Form_Prgr->height() - 40);
    QTRY_COMPARE(PinInterval, 300);
    QVERIFY(Form_Prgr->Timer1.isActive());
    QCOMPARE(MainBitmap.size(), Form_Prgr->PaintBox1->size());
}

void PinsTest::showMainWindowAtRest()
{
    Form_Prgr->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form_Prgr));
    QCoreApplication::processEvents();
    while (Form_Prgr->Timer1.isActive())
        Form_Prgr->Timer1Timer();
}

void PinsTest::exposeMainWindow(const QRegion &region)
{
    QExposeEvent expose(region);
    QCoreApplication::sendEvent(Form_Prgr->windowHandle(), &expose);
    // A set-up that the exposure asks for starts once the events are through.
    QCoreApplication::processEvents();
}

void PinsTest::uncoveredAreaLeavesOutOwnPopupsAndTheBars_data()
{
    const QRect area(0, 50, 800, 500);
    QTest::addColumn<QRegion>("exposed");
    QTest::addColumn<QRegion>("ownPopups");
    QTest::addColumn<QRegion>("uncovered");
    QTest::newRow("whole window") << QRegion(0, 0, 800, 550) << QRegion() << QRegion(area);
    QTest::newRow("menu bar only") << QRegion(0, 0, 300, 50) << QRegion() << QRegion();
    QTest::newRow("under a closed menu")
        << QRegion(90, 30, 200, 150) << QRegion(90, 30, 200, 150) << QRegion();
    QTest::newRow("under a menu and its submenu")
        << (QRegion(90, 30, 200, 150) + QRegion(290, 120, 150, 120))
        << (QRegion(90, 30, 200, 150) + QRegion(290, 120, 150, 120)) << QRegion();
    QTest::newRow("larger than the menu")
        << QRegion(90, 30, 400, 150) << QRegion(90, 30, 200, 150) << QRegion(290, 50, 200, 130);
}

void PinsTest::uncoveredAreaLeavesOutOwnPopupsAndTheBars()
{
    QFETCH(QRegion, exposed);
    QFETCH(QRegion, ownPopups);
    QFETCH(QRegion, uncovered);
    QCOMPARE(UncoveredDrawingArea(exposed, QRect(0, 50, 800, 500), ownPopups), uncovered);
}

void PinsTest::menuSpeedChoiceSurvivesTheMenuClosing()
{
    showMainWindowAtRest();
    QMenu *pins = Form_Prgr->Kegelneusetzen1->menu();
    QVERIFY(pins);
    const QPoint inArea = Form_Prgr->PaintBox1->mapToGlobal(QPoint(100, 100));
    pins->popup(inArea);
    QVERIFY(QTest::qWaitForWindowExposed(pins));
    const QRect menuArea(Form_Prgr->mapFromGlobal(pins->frameGeometry().topLeft()),
                         pins->frameGeometry().size());
    QTest::keyClick(pins, Qt::Key_R);
    QTRY_VERIFY(!pins->isVisible());
    QCOMPARE(PinInterval, 50);

    // What the platform reports when the menu has gone: the area under it was uncovered.
    exposeMainWindow(menuArea);
    QCOMPARE(PinInterval, 50);
    QCOMPARE(Form_Prgr->Timer1.interval(), 50);
    QVERIFY(Form_Prgr->Timer1.isActive());

    // Merely opening and closing another menu of the window starts nothing either.
    QMenu *info = Form_Prgr->Info2->associatedObjects().isEmpty()
                      ? nullptr
                      : qobject_cast<QMenu *>(Form_Prgr->Info2->associatedObjects().constFirst());
    QVERIFY(info);
    info->popup(inArea);
    QVERIFY(QTest::qWaitForWindowExposed(info));
    const QRect infoArea(Form_Prgr->mapFromGlobal(info->frameGeometry().topLeft()),
                         info->frameGeometry().size());
    QTest::keyClick(info, Qt::Key_Escape);
    QTRY_VERIFY(!info->isVisible());
    exposeMainWindow(infoArea);
    QCOMPARE(PinInterval, 50);
}

void PinsTest::closingAnotherWindowOverTheAreaStartsASetUp()
{
    showMainWindowAtRest();
    Form_Prgr->rasend1Click();
    exposeMainWindow(QRegion(Form_Prgr->rect()));
    QCOMPARE(PinInterval, 300);
    QVERIFY(Form_Prgr->Timer1.isActive());
    QCOMPARE(PinTicks, Byte(0));
}

QTEST_MAIN(PinsTest)
#include "test_pins.moc"

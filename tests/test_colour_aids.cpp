// SPDX-License-Identifier: GPL-3.0-or-later
// Names, symbols, symbol contrast and answer keys of the six colours.
#include "colours/ColourAids.h"
#include "colours/Farben.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

class ColourAidsTest : public QObject
{
    Q_OBJECT

private slots:
    void symbolContrastsMoreWithItsPanel_data();
    void symbolContrastsMoreWithItsPanel();
    void contrastRatioSpansOneToTwentyOne();
    void symbolsAreDistinctAndFitTheirArea();
    void codesOutsideOneToSixHaveNoNameAndNoSymbol();
    void keysGiveColourCodes_data();
    void keysGiveColourCodes();

private:
    static QImage rendered(int code);
};

QImage ColourAidsTest::rendered(int code)
{
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.fillPath(ColourSymbolPath(code, QRectF(0, 0, 64, 64)), Qt::black);
    return image;
}

void ColourAidsTest::symbolContrastsMoreWithItsPanel_data()
{
    QTest::addColumn<QColor>("panel");
    QTest::addColumn<QColor>("symbol");
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    QTest::newRow("rot") << ColourOfCode(1) << black;
    QTest::newRow("blau") << ColourOfCode(2) << white;
    QTest::newRow("grün") << ColourOfCode(3) << white;
    QTest::newRow("gelb") << ColourOfCode(4) << black;
    QTest::newRow("braun") << ColourOfCode(5) << white;
    QTest::newRow("grau") << ColourOfCode(6) << black;
    QTest::newRow("white") << white << black;
    QTest::newRow("black") << black << white;
}

void ColourAidsTest::symbolContrastsMoreWithItsPanel()
{
    QFETCH(QColor, panel);
    QFETCH(QColor, symbol);
    QCOMPARE(SymbolColourOn(panel), symbol);
    const QColor other = symbol == QColor(0, 0, 0) ? QColor(255, 255, 255) : QColor(0, 0, 0);
    QVERIFY(ContrastRatio(panel, symbol) > ContrastRatio(panel, other));
    // Every one of the six stays readable by the usual rule for large shapes.
    QVERIFY(ContrastRatio(panel, symbol) >= 3.0);
}

void ColourAidsTest::contrastRatioSpansOneToTwentyOne()
{
    QCOMPARE(ContrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(ContrastRatio(Qt::white, Qt::black), 21.0);
    QCOMPARE(ContrastRatio(ColourOfCode(5), ColourOfCode(5)), 1.0);
    QVERIFY(qAbs(RelativeLuminance(ColourOfCode(6)) - 0.2159) < 0.0005);
}

void ColourAidsTest::symbolsAreDistinctAndFitTheirArea()
{
    const QRectF area(10, 20, 200, 100);
    QImage images[7];
    for (int code = 1; code <= 6; ++code) {
        const QPainterPath path = ColourSymbolPath(code, area);
        QVERIFY(!path.isEmpty());
        QVERIFY(area.adjusted(-0.01, -0.01, 0.01, 0.01).contains(path.boundingRect()));
        QVERIFY(path.boundingRect().height() > 80);
        QVERIFY(path.contains(area.center()));
        images[code] = rendered(code);
    }
    for (int first = 1; first <= 6; ++first) {
        for (int second = first + 1; second <= 6; ++second) {
            int differing = 0;
            for (int y = 0; y < 64; ++y) {
                for (int x = 0; x < 64; ++x)
                    differing += images[first].pixel(x, y) != images[second].pixel(x, y);
            }
            // At least a tenth of the square tells any two shapes apart.
            QVERIFY2(differing > 64 * 64 / 10,
                     qPrintable(QStringLiteral("%1 and %2 look alike").arg(first).arg(second)));
        }
    }
}

void ColourAidsTest::codesOutsideOneToSixHaveNoNameAndNoSymbol()
{
    for (int code : {0, 7, -1}) {
        QVERIFY(ColourNameOfCode(code).isEmpty());
        QVERIFY(ColourSymbolPath(code, QRectF(0, 0, 50, 50)).isEmpty());
    }
    QVERIFY(ColourSymbolPath(1, QRectF()).isEmpty());
}

void ColourAidsTest::keysGiveColourCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("1") << int(Qt::Key_1) << int(Qt::NoModifier) << 1;
    QTest::newRow("6") << int(Qt::Key_6) << int(Qt::NoModifier) << 6;
    QTest::newRow("pad 3") << int(Qt::Key_3) << int(Qt::KeypadModifier) << 3;
    QTest::newRow("0") << int(Qt::Key_0) << int(Qt::NoModifier) << 0;
    QTest::newRow("7") << int(Qt::Key_7) << int(Qt::NoModifier) << 0;
    QTest::newRow("A") << int(Qt::Key_A) << int(Qt::NoModifier) << 0;
    QTest::newRow("Alt+2") << int(Qt::Key_2) << int(Qt::AltModifier) << 0;
    QTest::newRow("Ctrl+pad 2") << int(Qt::Key_2) << int(Qt::ControlModifier | Qt::KeypadModifier)
                                << 0;
}

void ColourAidsTest::keysGiveColourCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    QCOMPARE(ColourCodeOfKey(key, Qt::KeyboardModifiers(modifiers)), code);
}

QTEST_MAIN(ColourAidsTest)
#include "test_colour_aids.moc"

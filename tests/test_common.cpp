// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Manual.h"
#include "common/MessageBoxes.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "common/ShortString.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QUrl>
#include <QTimer>
#include <QtTest>

class CommonTest : public QObject
{
    Q_OBJECT

public:
    // Stands in for the desktop's browser while a test has it handle file URLs.
    Q_INVOKABLE void openInBrowser(const QUrl &url) { m_opened.append(url); }

private slots:
    void scaleFactorFollowsScreenWidthAndPixelsPerInch_data();
    void scaleFactorFollowsScreenWidthAndPixelsPerInch();
    void scalingGrowsGeometryAndFontsOnce();
    void scalingGrowsMenusListPopupsAndButtonGlyphsOnce();
    void messageBoxesGrowAndKeepTheirLineBreaks();
    void helpOffersTheManualExactlyWhenOneIsFound_data();
    void helpOffersTheManualExactlyWhenOneIsFound();
    void boxesOverAWindowCloseAsAnsweredNo();
    void roundingSendsHalvesToTheEvenNeighbour();
    void shortStringsCutToTheirSizeAndStoreCp1252();
    void loadedLengthBytesAreCutToTheField();
    void randomStaysInRangeAndFixedSeedsRepeat();
    void dateAndTimeTextsAreGermanWhateverTheLocale();
    void recordFileReportsTheRuntimeErrors();
    void recordFileWritesReadsAndSizesRecords();
    void roundArraysNeverLeaveTheirSixRounds();

private:
    QList<QUrl> m_opened;
};

void CommonTest::scaleFactorFollowsScreenWidthAndPixelsPerInch_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("ppi");
    QTest::addColumn<int>("percent");
    // 4:3 screens keep the factors of the width alone.
    QTest::newRow("640x480 at 96") << 640 << 480 << 96 << 100;
    QTest::newRow("800x600 at 96") << 800 << 600 << 96 << 125;
    QTest::newRow("1024x768 at 120") << 1024 << 768 << 120 << 128;
    QTest::newRow("640x480 at 120") << 640 << 480 << 120 << 76;
    QTest::newRow("600x450 at 96") << 600 << 450 << 96 << 93;
    QTest::newRow("600x450 at 120") << 600 << 450 << 120 << 87;
    QTest::newRow("1680x1260 at 96, 262.5 to even") << 1680 << 1260 << 96 << 262;
    // Today's screens: the smaller of the width's and the height's factor.
    QTest::newRow("1024x768") << 1024 << 768 << 96 << 160;
    QTest::newRow("1280x1024, width decides") << 1280 << 1024 << 96 << 200;
    QTest::newRow("1366x768, height decides") << 1366 << 768 << 96 << 160;
    QTest::newRow("1920x1080") << 1920 << 1080 << 96 << 225;
    QTest::newRow("2560x1440") << 2560 << 1440 << 96 << 300;
    QTest::newRow("1920x1080 at 120") << 1920 << 1080 << 120 << 180;
    QTest::newRow("a wide strip shrinks like a small screen") << 1920 << 300 << 96 << 40;
}

void CommonTest::scaleFactorFollowsScreenWidthAndPixelsPerInch()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, ppi);
    QFETCH(int, percent);
    QCOMPARE(ScaleFactorPercent(width, height, ppi), percent);
    // A window of the design size scaled by that factor fits the area.
    QVERIFY(RoundHalfEven(DesignScreenWidth * percent / 100.0) <= width);
    QVERIFY(RoundHalfEven(DesignScreenHeight * percent / 100.0) <= height);
}

void CommonTest::scalingGrowsGeometryAndFontsOnce()
{
    QWidget window;
    window.resize(640, 480);
    QFont font = window.font();
    font.setPointSize(10);
    window.setFont(font);
    auto *inherits = new QLabel(&window);
    inherits->setGeometry(10, 20, 100, 30);
    auto *own = new QLabel(&window);
    QFont big = own->font();
    big.setPointSize(20);
    own->setFont(big);
    own->setGeometry(40, 40, 200, 50);

    ScaleWidgetTree(&window, 150);

    QCOMPARE(window.size(), QSize(960, 720));
    QCOMPARE(inherits->geometry(), QRect(15, 30, 150, 45));
    QCOMPARE(own->geometry(), QRect(60, 60, 300, 75));
    QCOMPARE(window.font().pointSizeF(), 15.0);
    QCOMPARE(inherits->font().pointSizeF(), 15.0);
    QCOMPARE(own->font().pointSizeF(), 30.0);
}

void CommonTest::scalingGrowsMenusListPopupsAndButtonGlyphsOnce()
{
    QWidget window;
    window.resize(640, 480);
    auto *bar = new QMenuBar(&window);
    QMenu *menu = bar->addMenu(QStringLiteral("&Datei"));
    QMenu *submenu = menu->addMenu(QStringLiteral("&speichern"));
    auto *list = new QComboBox(&window);
    list->addItems({QStringLiteral("01"), QStringLiteral("02")});
    auto *ok = new QPushButton(window.style()->standardIcon(QStyle::SP_DialogOkButton),
                               QStringLiteral("OK"), &window);
    const qreal menuSize = menu->font().pointSizeF();
    const qreal listSize = list->font().pointSizeF();
    const QSize glyphSize = ok->iconSize();

    ScaleWidgetTree(&window, 200);

    QCOMPARE(ok->iconSize(), 2 * glyphSize);
    QCOMPARE(menu->font().pointSizeF(), 2 * menuSize);
    QCOMPARE(submenu->font().pointSizeF(), 2 * menuSize);
    QCOMPARE(list->view()->window()->font().pointSizeF(), 2 * listSize);
    QCOMPARE(list->view()->font().pointSizeF(), 2 * listSize);
}

void CommonTest::messageBoxesGrowAndKeepTheirLineBreaks()
{
    QWidget window;
    window.resize(DesignScreenWidth, DesignScreenHeight);
    ScaleToScreen(&window);
    QVERIFY(ScreenScalePercent() > 100);
    const QString text = QStringLiteral("Eine kurze Zeile\nund eine zweite, viel längere Zeile, "
                                        "die der Kasten nicht umbrechen darf");
    qreal pointSize = 0;
    int labelWidth = 0;
    int longestLine = 0;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        pointSize = box->font().pointSizeF();
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        labelWidth = label->width();
        longestLine = label->fontMetrics().horizontalAdvance(text.section(QLatin1Char('\n'), 1));
        box->done(QMessageBox::Ok);
    });
    ShowInformation(text);
    QCOMPARE(pointSize, QApplication::font("QMessageBox").pointSizeF() *
                            ScreenScalePercent() / 100.0);
    QVERIFY2(labelWidth >= longestLine, qPrintable(QStringLiteral("%1 < %2")
                                                      .arg(labelWidth)
                                                      .arg(longestLine)));
}

void CommonTest::helpOffersTheManualExactlyWhenOneIsFound_data()
{
    QTest::addColumn<QStringList>("made");  // files under a temporary root
    QTest::addColumn<QString>("program");   // the executable's folder
    QTest::addColumn<QString>("manual");    // the manual found; empty for none
    const QString installed = QStringLiteral("usr/share/doc/mentaro/Anleitung.html");
    const QString built = QStringLiteral("build/doc/Anleitung.html");
    QTest::newRow("installed") << QStringList{installed} << "usr/bin" << installed;
    QTest::newRow("build folder") << QStringList{built} << "build" << built;
    QTest::newRow("installed one first")
        << QStringList{installed, QStringLiteral("usr/bin/doc/Anleitung.html")} << "usr/bin"
        << installed;
    QTest::newRow("only the docx")
        << QStringList{QStringLiteral("usr/share/doc/mentaro/Anleitung.docx")} << "usr/bin"
        << QString();
    QTest::newRow("none") << QStringList() << "build" << QString();
}

void CommonTest::helpOffersTheManualExactlyWhenOneIsFound()
{
    QFETCH(QStringList, made);
    QFETCH(QString, program);
    QFETCH(QString, manual);
    QTemporaryDir root;
    QVERIFY(QDir().mkpath(root.filePath(program)));
    for (const QString &path : made) {
        QVERIFY(QDir().mkpath(QFileInfo(root.filePath(path)).path()));
        QFile file(root.filePath(path));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString found = Manual::HtmlPath(root.filePath(program));
    QCOMPARE(found,
             manual.isEmpty() ? manual : QFileInfo(root.filePath(manual)).canonicalFilePath());

    // The box keeps its text with its line breaks, and has OK and, with a manual, its button.
    const QString text = QStringLiteral("Eine Anleitung finden Sie\nin der <beigefügten> Datei!");
    const std::unique_ptr<QMessageBox> box = MessageBoxes::CreateHelpBox(text, found);
    QCOMPARE(box->text(), text);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    auto *open = box->findChild<QPushButton *>(MessageBoxes::OpenManualButtonName);
    QCOMPARE(open != nullptr, !manual.isEmpty());
    QCOMPARE(box->buttons().size(), open ? 2 : 1);
    if (!open)
        return;
    QCOMPARE(open->text(), QStringLiteral("Anleitung öffnen"));
    m_opened.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openInBrowser");
    open->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(m_opened, QList<QUrl>{QUrl::fromLocalFile(found)});
}

// A question open over a window, and a notice shown over that question, both close when the
// window's boxes are closed; the question then counts as answered No. A box over another window
// stays.
void CommonTest::boxesOverAWindowCloseAsAnsweredNo()
{
    QWidget game;
    QWidget other;
    int openBefore = 0;
    int openAfter = 0;
    // Only reached when the boxes did not close: they are ended so that the test can fail.
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [] {
        while (auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            box->done(0);
    });
    deadline.start(30000);
    QTimer::singleShot(0, this, [&] {
        QTimer::singleShot(0, this, [&] {
            QTimer::singleShot(0, this, [&] {
                openBefore = MessageBoxes::OpenBoxCount();
                MessageBoxes::CloseBoxesOver({&game});
                openAfter = MessageBoxes::OpenBoxCount();
                MessageBoxes::CloseBoxesOver({&other});
            });
            ShowInformation(QStringLiteral("Frage über einem anderen Fenster"), &other);
        });
        ShowInformation(QStringLiteral("Hinweis über der Frage"));
    });
    QVERIFY(!AskYesNo(QStringLiteral("Frage über dem Spiel"), &game));
    QVERIFY2(deadline.isActive(), "the boxes stayed open");
    QCOMPARE(openBefore, 3);
    QCOMPARE(openAfter, 1);
}

void CommonTest::roundingSendsHalvesToTheEvenNeighbour()
{
    QCOMPARE(RoundHalfEven(262.5), 262);
    QCOMPARE(RoundHalfEven(263.5), 264);
    QCOMPARE(RoundHalfEven(-2.5), -2);
    QCOMPARE(RoundHalfEven(2.4999), 2);
    QCOMPARE(Div(-7, 2), -3);
    QCOMPARE(Mod(-7, 2), -1);
}

void CommonTest::shortStringsCutToTheirSizeAndStoreCp1252()
{
    const ShortString<12> name(QStringLiteral("Jürgen Großmann"));
    QCOMPARE(name.text(), QStringLiteral("Jürgen Großm"));
    char bytes[13];
    name.store(bytes);
    QCOMPARE(int(quint8(bytes[0])), 12);
    QCOMPARE(quint8(bytes[2]), quint8(0xFC));  // ü
    QCOMPARE(quint8(bytes[11]), quint8(0xDF)); // ß

    const ShortString<5> shortName(QStringLiteral("Al"));
    char padded[6];
    shortName.store(padded);
    QCOMPARE(QByteArray(padded, 6), QByteArray("\x02"
                                               "Al\0\0\0",
                                               6));
    QCOMPARE(ShortString<5>::load(padded).text(), QStringLiteral("Al"));
    QCOMPARE(fromCp1252(toCp1252(QStringLiteral("Äöü€"))), QStringLiteral("Äöü€"));
}

void CommonTest::loadedLengthBytesAreCutToTheField()
{
    // A damaged length byte must not read past the field.
    const char stored[4] = {char(200), 'a', 'b', 'c'};
    QCOMPARE(ShortString<3>::load(stored).text(), QStringLiteral("abc"));
}

void CommonTest::randomStaysInRangeAndFixedSeedsRepeat()
{
    RandomClock::useFixedSeed(7);
    Randomize();
    QList<int> first;
    for (int i = 0; i < 200; ++i) {
        const int value = Random(4);
        QVERIFY(value >= 0 && value < 4);
        first << value;
    }
    RandomClock::useFixedSeed(7);
    Randomize();
    QList<int> second;
    for (int i = 0; i < 200; ++i)
        second << Random(4);
    QCOMPARE(first, second);
    QCOMPARE(Random(0), 0);
}

void CommonTest::dateAndTimeTextsAreGermanWhateverTheLocale()
{
    const QDateTime moment(QDate(2026, 3, 7), QTime(9, 5, 4));
    QCOMPARE(RandomClock::shortDateText(moment), QStringLiteral("07.03.2026"));
    QCOMPARE(RandomClock::longTimeText(moment), QStringLiteral("09:05:04"));
    RandomClock::useFixedNow(moment);
    QCOMPARE(RandomClock::shortDateText(), QStringLiteral("07.03.2026"));
    RandomClock::useFixedNow(QDateTime());
}

void CommonTest::recordFileReportsTheRuntimeErrors()
{
    QTemporaryDir dir;
    RecordFile missing(dir.filePath(QStringLiteral("missing.dat")), 10);
    try {
        missing.Reset();
        QFAIL("opening a missing file must fail");
    } catch (const InOutError &error) {
        QCOMPARE(error.message(), QStringLiteral("Datei nicht gefunden"));
    }
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing.dat"))));

    try {
        missing.Read();
        QFAIL("reading a closed file must fail");
    } catch (const InOutError &error) {
        QCOMPARE(error.message(), QStringLiteral("E/A-Fehler 103"));
    }
    QCOMPARE(InOutErrorText(5), QStringLiteral("Dateizugriff verweigert"));

    RecordFile file(dir.filePath(QStringLiteral("short.dat")), 10);
    file.Rewrite();
    file.Write("12345");
    file.Seek(0);
    file.Read();
    QVERIFY_THROWS_EXCEPTION(InOutError, file.Read());
    file.Close();
}

void CommonTest::recordFileWritesReadsAndSizesRecords()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("records.dat"));
    QVERIFY(!RecordFile::Exists(name));
    RecordFile file(name, 4);
    file.Rewrite();
    file.Write("abcd");
    file.Write("ef"); // padded with zero bytes
    QCOMPARE(file.FileSize(), 2);
    file.Seek(1);
    QCOMPARE(file.Read(), QByteArray("ef\0\0", 4));
    file.Close();
    QVERIFY(RecordFile::Exists(name));
    QCOMPARE(QFileInfo(name).size(), 8);
}

void CommonTest::roundArraysNeverLeaveTheirSixRounds()
{
    QVERIFY(!IsGameRound(0));
    QVERIFY(IsGameRound(1));
    QVERIFY(IsGameRound(6));
    QVERIFY(!IsGameRound(7));
    RoundArray<int> points;
    points[6] = 9;
    QCOMPARE(points[6], 9);
}

QTEST_MAIN(CommonTest)
#include "test_common.moc"

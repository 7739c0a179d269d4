// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/FileDialogs.h"
#include "common/Numbers.h"
#include "common/RandomClock.h"
#include "common/RecordFile.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "results/Speicher.h"
#include "results/Zeigen.h"

#include <QFile>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using TestSupport::readAll;
using TestSupport::writeAll;

namespace {

// Records what a printout draws: texts with their top left corner, lines with their pen.
class RecordingEngine : public QPaintEngine
{
public:
    struct Text
    {
        QPointF topLeft;
        QString text;
    };
    struct Line
    {
        QLineF line;
        int width;
    };
    QList<Text> texts;
    QList<Line> lines;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawLines(const QLineF *line, int count) override
    {
        for (int i = 0; i < count; ++i)
            lines.append({line[i], painter()->pen().width()});
    }
    void drawTextItem(const QPointF &baseline, const QTextItem &item) override
    {
        texts.append({QPointF(baseline.x(), baseline.y() - item.ascent()), item.text()});
    }
};

// A 300 dpi A4 page.
class RecordingDevice : public QPaintDevice
{
public:
    mutable RecordingEngine engine;
    QPaintEngine *paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return 2480;
        case PdmHeight:
            return 3508;
        case PdmWidthMM:
            return 210;
        case PdmHeightMM:
            return 297;
        case PdmNumColors:
            return std::numeric_limits<int>::max();
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 300;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }
};

OverallResultRecord sampleRecord(int number)
{
    OverallResultRecord record;
    record.DateTime = QStringLiteral("01.02.2024--10:00:%1").arg(number, 2, 10, QLatin1Char('0'));
    record.PlayerName = QStringLiteral("Spieler %1").arg(number);
    record.Disturbance = QStringLiteral("Ringe (m)");
    record.PresentTimeFactor = 60;
    record.WaitTimeFactor = 60;
    record.PointsAchieved = number;
    record.PointsPossible = 100;
    record.DifficultyLevel = 3;
    record.TimeAllowanceSteps = 13;
    return record;
}

QByteArray sampleFile(int records)
{
    QByteArray bytes;
    for (int i = 1; i <= records; ++i)
        bytes += sampleRecord(i).toBytes();
    return bytes;
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

class ResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestSupport::createProgram(); }
    void cleanupTestCase() { TestSupport::destroyProgram(); }
    void init();
    void cleanup();

    void recordFieldsLieAtTheirOffsets();
    void damagedLengthBytesAreCutToTheirFields_data();
    void damagedLengthBytesAreCutToTheirFields();
    void recordKeepsTheSettingsTheGameWasPlayedWith();
    void savingIntoANewFileWritesExactlyOneRecord();
    void savingAppendsUntilTheFileIsFullAndYesRestartsIt();
    void fullFileAnsweredNoKeepsFileAndResultUnsaved();
    void fileOfMoreThanTwentyRecordsCountsAsFullAndLoadsTwenty();
    void failedSaveKeepsTheFileAndTheResultUnsaved();
    void failedWriteIsReportedAndKeepsFileAndResult_data();
    void failedWriteIsReportedAndKeepsFileAndResult();
    void writeProtectedFileIsNeitherChangedNorReplaced();
    void writableFileInAReadOnlyFolderTakesTheRecord();
    void savingLeavesNothingBesideTheFile();
    void recordCutShortIsNeitherLoadedNorKept();
    void resultsFileThatIsNoRegularFileIsRefusedAtOnce_data();
    void resultsFileThatIsNoRegularFileIsRefusedAtOnce();
    void longFileNamesAreKeptWhole();
    void loadingCountsWholeRecords_data();
    void loadingCountsWholeRecords();
    void loadingReadsWriteProtectedFiles();
    void failedLoadReportsItsCauseAndKeepsTheTable();
    void columnWidthsFollowTheWindowWidth();
    void gridColumnsComeFromTheFramedWindowWidth();
    void recordRowsShowPaddedNumbers_data();
    void recordRowsShowPaddedNumbers();
    void smallerFileEmptiesTheRowsOfALargerOne();
    void printoutOfAnEmptyFileHasHeadingsAndFrame();
    void printoutOfAFullFileEndsWithAHeavyLine();
    void printingGoesThroughThePrintDialog();
    void printedTextsKeepClearOfTheColumnLines_data();
    void printedTextsKeepClearOfTheColumnLines();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void loadFile(const QString &fileName);

    QTemporaryDir m_dir;
};

void ResultsTest::init()
{
    TestSupport::messages().clear();
    RandomClock::useFixedNow(QDateTime(QDate(2024, 3, 5), QTime(9, 7, 3)));
    PlayerName = QStringLiteral("Jörg");
    DifficultyLevel = 5;
    PresentTimeFactor = 7;
    WaitTimeFactor = 120;
    TimeAllowanceSteps = 13;
    GameDisturbanceLabel = QStringLiteral("Hauptstädte");
    PointsAchieved = 50;
    PointsPossible = 90;
    for (int round = 1; round <= RoundsPerGame; ++round)
        RoundPointsPossible[round] = Byte(10 + round);
    ResultSaved = 0;
}

void ResultsTest::cleanup()
{
    FileDialogs::answerForTests({});
    answerPrintDialogForTests({});
    RandomClock::useFixedNow(QDateTime());
}

void ResultsTest::loadFile(const QString &fileName)
{
    SetResultsFileName(fileName);
    QVERIFY(HandleInOutErrors(&LoadOverallResults));
    FillOverallResultsGrid();
}

void ResultsTest::recordFieldsLieAtTheirOffsets()
{
    OverallResultRecord record = sampleRecord(1);
    record.PlayerName = QStringLiteral("Jörg Müßig");
    record.PresentTimeFactor = 400;
    record.WaitTimeFactor = -2;
    record.RoundPointsPossible = {9, 12, 15, 18, 21, 48};
    const QByteArray bytes = record.toBytes();
    QCOMPARE(bytes.size(), 80);
    QCOMPARE(int(quint8(bytes[0])), 20);
    QCOMPARE(bytes.mid(1, 20), QByteArray("01.02.2024--10:00:01"));
    QCOMPARE(int(quint8(bytes[21])), 10);
    QCOMPARE(bytes.mid(22, 10), QByteArray("J\xF6rg M\xFC\xDFig"));
    QCOMPARE(int(quint8(bytes[34])), 9);
    QCOMPARE(bytes.mid(35, 9), QByteArray("Ringe (m)"));
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 48), 400);
    QCOMPARE(bytes.mid(48, 4), QByteArray("\x90\x01\x00\x00", 4));
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 52), -2);
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 56), 1);
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 60), 100);
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 64), 3);
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 68), 13);
    QCOMPARE(bytes.mid(72, 6), QByteArray("\x09\x0C\x0F\x12\x15\x30"));

    const OverallResultRecord back = OverallResultRecord::fromBytes(bytes);
    QCOMPARE(back.PlayerName.text(), QStringLiteral("Jörg Müßig"));
    QCOMPARE(back.WaitTimeFactor, -2);
    QCOMPARE(back.toBytes(), bytes);
}

void ResultsTest::damagedLengthBytesAreCutToTheirFields_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("size");
    QTest::newRow("date and time") << 0 << 20;
    QTest::newRow("name") << 21 << 12;
    QTest::newRow("disturbance") << 34 << 12;
}

void ResultsTest::damagedLengthBytesAreCutToTheirFields()
{
    QFETCH(int, offset);
    QFETCH(int, size);
    QByteArray bytes(80, 'x');
    bytes[offset] = char(255);
    const OverallResultRecord record = OverallResultRecord::fromBytes(bytes);
    const QString loaded = offset == 0    ? record.DateTime.text()
                           : offset == 21 ? record.PlayerName.text()
                                          : record.Disturbance.text();
    QCOMPARE(loaded.size(), size);
    QCOMPARE(loaded, QString(size, QLatin1Char('x')));
}

void ResultsTest::recordKeepsTheSettingsTheGameWasPlayedWith()
{
    BuildOverallRecord();
    QCOMPARE(RecordBuffer.DateTime.text(), QStringLiteral("05.03.2024--09:07:03"));
    QCOMPARE(RecordBuffer.PlayerName.text(), QStringLiteral("Jörg"));
    QCOMPARE(RecordBuffer.Disturbance.text(), QStringLiteral("Hauptstädte"));
    QCOMPARE(RecordBuffer.DifficultyLevel, 5);
    QCOMPARE(RecordBuffer.PresentTimeFactor, 7);
    QCOMPARE(RecordBuffer.WaitTimeFactor, 120);
    QCOMPARE(RecordBuffer.TimeAllowanceSteps, 13);
    QCOMPARE(RecordBuffer.PointsAchieved, 50);
    QCOMPARE(RecordBuffer.PointsPossible, 90);
    QCOMPARE(RecordBuffer.RoundPointsPossible[5], quint8(16));

    GameDisturbanceLabel = QStringLiteral("Billard (9/j)x");
    PlayerName = NoPlayerName;
    BuildOverallRecord();
    QCOMPARE(RecordBuffer.Disturbance.text(), QStringLiteral("Billard (9/j"));
    QCOMPARE(RecordBuffer.PlayerName.text(), QStringLiteral("Wer ist da?"));
}

void ResultsTest::savingIntoANewFileWritesExactlyOneRecord()
{
    const QString fileName = path(QStringLiteral("neu.ERG"));
    QVERIFY(StoreOverallResult(fileName));
    const QByteArray bytes = readAll(fileName);
    QCOMPARE(bytes.size(), 80);
    QCOMPARE(bytes, RecordBuffer.toBytes());
    QCOMPARE(ResultSaved, Byte(1));
    QCOMPARE(ResultsFileName.text(), fileName);
    QVERIFY(TestSupport::messages().shown.isEmpty());
}

void ResultsTest::savingAppendsUntilTheFileIsFullAndYesRestartsIt()
{
    const QString fileName = path(QStringLiteral("fast.ERG"));
    const QByteArray old = sampleFile(19);
    writeAll(fileName, old);
    QVERIFY(StoreOverallResult(fileName));
    QByteArray bytes = readAll(fileName);
    QCOMPARE(bytes.size(), 1600);
    QCOMPARE(bytes.left(1520), old);
    QCOMPARE(bytes.mid(1520), RecordBuffer.toBytes());
    QVERIFY(TestSupport::messages().shown.isEmpty());

    ResultSaved = 0;
    PointsAchieved = 77;
    TestSupport::messages().answers = {true};
    QVERIFY(StoreOverallResult(fileName));
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Question);
    QCOMPARE(TestSupport::messages().shown[0].text,
             QStringLiteral("Die gewählte Datei kann keinen Datensatz mehr aufnehmen! \nSollen "
                            "die Datensätze dieser Datei gelöscht werden, \nso daß der neue "
                            "Datensatz unter diesem Datei-Namen gespeichert werden kann ?"));
    bytes = readAll(fileName);
    QCOMPARE(bytes.size(), 80);
    QCOMPARE(OverallResultRecord::fromBytes(bytes).PointsAchieved, 77);
    QCOMPARE(ResultSaved, Byte(1));
}

void ResultsTest::fullFileAnsweredNoKeepsFileAndResultUnsaved()
{
    const QString fileName = path(QStringLiteral("voll.ERG"));
    const QByteArray old = sampleFile(20);
    writeAll(fileName, old);
    TestSupport::messages().answers = {false};
    QVERIFY(!StoreOverallResult(fileName));
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(readAll(fileName), old);
    // Nothing was written, so the result still waits to be saved.
    QCOMPARE(ResultSaved, Byte(0));
}

void ResultsTest::fileOfMoreThanTwentyRecordsCountsAsFullAndLoadsTwenty()
{
    const QString fileName = path(QStringLiteral("lang.ERG"));
    writeAll(fileName, sampleFile(21));
    loadFile(fileName);
    QCOMPARE(int(LoadedRecordCount), 20);
    QCOMPARE(Form_Speich_MuW->StringGrid1->cell(1, 21), QStringLiteral(" Spieler 20"));

    TestSupport::messages().answers = {false};
    QVERIFY(!StoreOverallResult(fileName));
    QCOMPARE(TestSupport::messages().shown.size(), 1);
    QCOMPARE(readAll(fileName).size(), 21 * 80);
}

void ResultsTest::failedSaveKeepsTheFileAndTheResultUnsaved()
{
    QVERIFY(!StoreOverallResult(path(QStringLiteral("fehlt/neu.ERG"))));
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Dateizugriff verweigert"));
    QCOMPARE(TestSupport::messages().shown[0].kind, MessageBoxes::Kind::Error);
    QCOMPARE(ResultSaved, Byte(0));
    QVERIFY(!QFile::exists(path(QStringLiteral("fehlt"))));
}

void ResultsTest::failedWriteIsReportedAndKeepsFileAndResult_data()
{
    QTest::addColumn<int>("oldRecords");   // -1: no file yet
    QTest::addColumn<qint64>("sizeLimit"); // 0: none
    QTest::addColumn<int>("openError");    // 0: none
    QTest::addColumn<QString>("message");
    const QString failedWrite = QStringLiteral("E/A-Fehler 101");
    const QString denied = QStringLiteral("Dateizugriff verweigert");
    QTest::newRow("append on a full disk") << 19 << qint64(19 * 80) << 0 << failedWrite;
    QTest::newRow("append to an empty file on a full disk") << 0 << qint64(10) << 0 << failedWrite;
    QTest::newRow("emptying after Ja on a full disk") << 20 << qint64(40) << 0 << failedWrite;
    QTest::newRow("new file on a full disk") << -1 << qint64(40) << 0 << failedWrite;
    // Root opens write-protected files for writing, so the refusal comes from the seam.
    QTest::newRow("write-protected file") << 3 << qint64(0) << EACCES << denied;
    QTest::newRow("full write-protected file") << 20 << qint64(0) << EACCES << denied;
    QTest::newRow("read-only file system") << 3 << qint64(0) << EROFS << denied;
}

void ResultsTest::failedWriteIsReportedAndKeepsFileAndResult()
{
    QFETCH(int, oldRecords);
    QFETCH(qint64, sizeLimit);
    QFETCH(int, openError);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("voll.ERG"));
    const QByteArray old = sampleFile(std::max(oldRecords, 0));
    if (oldRecords >= 0)
        writeAll(fileName, old);
    RecordSave::injectFaultsForTests([openError](RecordSave::Step step) {
        return step == RecordSave::Step::OpenFile ? openError : 0;
    });
    bool saved = true;
    {
        std::optional<TestSupport::FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit.emplace(sizeLimit);
        saved = StoreOverallResult(fileName);
    }
    RecordSave::injectFaultsForTests({});
    QVERIFY(!saved);
    QCOMPARE(TestSupport::messages().lastText(), message);
    QCOMPARE(TestSupport::messages().shown.last().kind, MessageBoxes::Kind::Error);
    QCOMPARE(ResultSaved, Byte(0));
    QCOMPARE(QFile::exists(fileName), oldRecords >= 0);
    QCOMPARE(readAll(fileName), old);
    QCOMPARE(TestSupport::directoryEntries(dir.path()),
             oldRecords >= 0 ? QStringList{QStringLiteral("voll.ERG")} : QStringList());
}

void ResultsTest::writeProtectedFileIsNeitherChangedNorReplaced()
{
    if (runningAsRoot())
        QSKIP("root writes into write-protected files");
    const QString fileName = path(QStringLiteral("schreibgeschuetzt.ERG"));
    writeAll(fileName, sampleFile(3));
    QVERIFY(QFile::setPermissions(fileName, QFileDevice::ReadOwner));
    QVERIFY(!StoreOverallResult(fileName));
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Dateizugriff verweigert"));
    QCOMPARE(readAll(fileName), sampleFile(3));
    QCOMPARE(ResultSaved, Byte(0));
}

void ResultsTest::writableFileInAReadOnlyFolderTakesTheRecord()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("alt.ERG"));
    writeAll(fileName, sampleFile(3));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool saved = StoreOverallResult(fileName);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(saved);
    QCOMPARE(readAll(fileName), sampleFile(3) + RecordBuffer.toBytes());
    QCOMPARE(ResultSaved, Byte(1));
    QVERIFY(TestSupport::messages().shown.isEmpty());
}

void ResultsTest::savingLeavesNothingBesideTheFile()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("sauber.ERG"));
    for (int saves = 1; saves <= ResultsFileCapacity; ++saves) {
        QVERIFY(StoreOverallResult(fileName));
        QCOMPARE(TestSupport::directoryEntries(dir.path()),
                 QStringList{QStringLiteral("sauber.ERG")});
    }
    TestSupport::messages().answers = {true};
    QVERIFY(StoreOverallResult(fileName));
    QCOMPARE(readAll(fileName), RecordBuffer.toBytes());
    QCOMPARE(TestSupport::directoryEntries(dir.path()), QStringList{QStringLiteral("sauber.ERG")});
    // A link the player picks is saved into its target.
    QVERIFY(QFile::link(QStringLiteral("sauber.ERG"), dir.filePath(QStringLiteral("verweis.ERG"))));
    QVERIFY(StoreOverallResult(dir.filePath(QStringLiteral("verweis.ERG"))));
    QCOMPARE(readAll(fileName).size(), 160);
}

// What a crash leaves of a record is not shown, and the next save writes over it.
void ResultsTest::recordCutShortIsNeitherLoadedNorKept()
{
    const QString fileName = path(QStringLiteral("abgebrochen.ERG"));
    writeAll(fileName, sampleFile(4) + sampleRecord(5).toBytes().left(33));
    loadFile(fileName);
    QCOMPARE(int(LoadedRecordCount), 4);
    QVERIFY(StoreOverallResult(fileName));
    QCOMPARE(readAll(fileName), sampleFile(4) + RecordBuffer.toBytes());
    loadFile(fileName);
    QCOMPARE(int(LoadedRecordCount), 5);
    QCOMPARE(OverallResultsTable[4].PlayerName.text(), QStringLiteral("Jörg"));
}

void ResultsTest::resultsFileThatIsNoRegularFileIsRefusedAtOnce_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("FIFO") << true;
    QTest::newRow("directory") << false;
}

// A FIFO without a writer would block an ordinary open for ever.
void ResultsTest::resultsFileThatIsNoRegularFileIsRefusedAtOnce()
{
    QFETCH(bool, fifo);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("rohr.ERG"));
    if (fifo)
        QVERIFY(::mkfifo(QFile::encodeName(fileName).constData(), 0666) == 0);
    else
        QVERIFY(QDir().mkdir(fileName));
    QVERIFY(!StoreOverallResult(fileName));
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Dateizugriff verweigert"));
    QCOMPARE(ResultSaved, Byte(0));

    LoadedRecordCount = 3;
    SetResultsFileName(fileName);
    // Loading says what saving said.
    QVERIFY(!HandleInOutErrors(&LoadOverallResults));
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Dateizugriff verweigert"));
    QCOMPARE(int(LoadedRecordCount), 3);
    QCOMPARE(TestSupport::directoryEntries(dir.path()), QStringList{QStringLiteral("rohr.ERG")});
}

void ResultsTest::longFileNamesAreKeptWhole()
{
    const QString directory = path(QString(60, QLatin1Char('d')));
    QVERIFY(QDir().mkpath(directory));
    const QString fileName =
        directory + QLatin1Char('/') + QString(30, QLatin1Char('n')) + QStringLiteral(".ERG");
    QVERIFY(fileName.size() > 79);
    QVERIFY(StoreOverallResult(fileName));
    QCOMPARE(readAll(fileName).size(), 80);
    QCOMPARE(ResultsFileName.length(), 79);
    QCOMPARE(ResultsFilePath, fileName);
    loadFile(fileName);
    QCOMPARE(int(LoadedRecordCount), 1);
}

void ResultsTest::loadingCountsWholeRecords_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("records");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("partial record ignored") << 170 << 2;
    QTest::newRow("full") << 1600 << 20;
}

void ResultsTest::loadingCountsWholeRecords()
{
    QFETCH(int, bytes);
    QFETCH(int, records);
    const QString fileName = path(QStringLiteral("zaehlen.ERG"));
    writeAll(fileName, (sampleFile(20) + QByteArray(80, 'z')).left(bytes));
    LoadedRecordCount = 99;
    loadFile(fileName);
    QCOMPARE(int(LoadedRecordCount), records);
    if (records > 0)
        QCOMPARE(OverallResultsTable[size_t(records - 1)].PointsAchieved, records);
}

void ResultsTest::loadingReadsWriteProtectedFiles()
{
    // Not telling as root, who opens anything for writing, but the load must work for all.
    const QString fileName = path(QStringLiteral("nurlesen.ERG"));
    writeAll(fileName, sampleFile(4));
    QVERIFY(QFile::setPermissions(fileName, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    loadFile(fileName);
    QCOMPARE(int(LoadedRecordCount), 4);
    QVERIFY(TestSupport::messages().shown.isEmpty());
}

void ResultsTest::failedLoadReportsItsCauseAndKeepsTheTable()
{
    const QString fileName = path(QStringLiteral("zwei.ERG"));
    writeAll(fileName, sampleFile(2));
    loadFile(fileName);
    const QString caption = Form_Speich_MuW->windowTitle();

    SetResultsFileName(path(QStringLiteral("gibtsnicht.ERG")));
    QVERIFY(!HandleInOutErrors(&LoadOverallResults));
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Datei nicht gefunden"));
    QCOMPARE(int(LoadedRecordCount), 2);
    QCOMPARE(OverallResultsTable[1].PlayerName.text(), QStringLiteral("Spieler 2"));
    QCOMPARE(Form_Speich_MuW->windowTitle(), caption);

    if (runningAsRoot())
        QSKIP("root reads unreadable files");
    const QString locked = path(QStringLiteral("gesperrt.ERG"));
    writeAll(locked, sampleFile(1));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    SetResultsFileName(locked);
    QVERIFY(!HandleInOutErrors(&LoadOverallResults));
    QCOMPARE(TestSupport::messages().lastText(), QStringLiteral("Dateizugriff verweigert"));
}

void ResultsTest::columnWidthsFollowTheWindowWidth()
{
    QCOMPARE(OverallGridColumnWidths(800, 800), QList<int>({49, 133, 160, 98, 123, 99, 108}));
    QCOMPARE(IndividualGridColumnWidths(800, 800), QList<int>({49, 182, 133, 182, 114, 100}));
    // 770 / 20 = 38.5 goes to the even neighbour 38.
    QCOMPARE(IndividualGridColumnWidths(770, 770)[4], 110);
    QCOMPARE(IndividualGridColumnWidths(770, 770)[5], 770 - 48 - 175 - 128 - 175 - 110 - 38);
}

void ResultsTest::gridColumnsComeFromTheFramedWindowWidth()
{
    // Both grids are laid out at creation, before the window ever had a frame: the outer width
    // is the client width and the designed border, never the client width alone.
    QCOMPARE(FramedWidth(640), 648);
    QCOMPARE(IndividualGridColumnWidths(FramedWidth(640), 640),
             QList<int>({40, 147, 108, 147, 93, 73}));
    const TForm_zeigen individualWindow;
    const int width = individualWindow.width();
    const QList<int> individual = IndividualGridColumnWidths(FramedWidth(width), width);
    for (int column = 0; column < individual.size(); ++column)
        QCOMPARE(individualWindow.StringGrid1->columnWidth(column), individual[column]);
    const TForm_Speich_MuW overallWindow;
    const QList<int> overall =
        OverallGridColumnWidths(FramedWidth(overallWindow.width()), overallWindow.width());
    for (int column = 0; column < overall.size(); ++column)
        QCOMPARE(overallWindow.StringGrid1->columnWidth(column), overall[column]);
}

void ResultsTest::recordRowsShowPaddedNumbers_data()
{
    QTest::addColumn<int>("present");
    QTest::addColumn<int>("wait");
    QTest::addColumn<int>("achieved");
    QTest::addColumn<int>("possible");
    QTest::addColumn<QString>("factors");
    QTest::addColumn<QString>("points");
    QTest::newRow("7 and 120") << 7 << 120 << 12 << 237 << QStringLiteral("      7-  120")
                               << QStringLiteral("   12/ 237");
    QTest::newRow("0 of 0") << 60 << 60 << 0 << 0 << QStringLiteral("    60-    60")
                            << QStringLiteral("     0/     0");
}

void ResultsTest::recordRowsShowPaddedNumbers()
{
    QFETCH(int, present);
    QFETCH(int, wait);
    QFETCH(int, achieved);
    QFETCH(int, possible);
    OverallResultRecord record = sampleRecord(1);
    record.PresentTimeFactor = present;
    record.WaitTimeFactor = wait;
    record.PointsAchieved = achieved;
    record.PointsPossible = possible;
    record.DifficultyLevel = 15;
    record.TimeAllowanceSteps = 6;
    const QStringList cells = OverallRecordCells(record);
    QCOMPARE(cells[0], QStringLiteral(" Spieler 1"));
    QCOMPARE(cells[1], QStringLiteral(" 01.02.2024--10:00:01"));
    QCOMPARE(cells[2], QStringLiteral("   Ringe (m)"));
    QCOMPARE(cells[3], QStringLiteral("  15/ 6"));
    QTEST(cells[4], "factors");
    QTEST(cells[5], "points");
}

void ResultsTest::smallerFileEmptiesTheRowsOfALargerOne()
{
    const QString large = path(QStringLiteral("gross.ERG"));
    const QString small = path(QStringLiteral("klein.ERG"));
    writeAll(large, sampleFile(8));
    writeAll(small, sampleFile(3));
    loadFile(large);
    loadFile(small);
    const TStringGrid *grid = Form_Speich_MuW->StringGrid1;
    QCOMPARE(grid->cell(1, 4), QStringLiteral(" Spieler 3"));
    for (int row = 5; row <= 21; ++row)
        for (int column = 1; column <= 6; ++column)
            QVERIFY2(grid->cell(column, row).isEmpty(), qPrintable(grid->cell(column, row)));
    QCOMPARE(grid->cell(0, 5), QStringLiteral("     4"));
    QCOMPARE(grid->cell(0, 21), QStringLiteral("   20"));
    QCOMPARE(grid->cell(5, 0), QStringLiteral(" Zeitfaktor"));
    QCOMPARE(grid->cell(4, 1), QStringLiteral(" S-Grad/ Zeitz."));
    QCOMPARE(Form_Speich_MuW->windowTitle(),
             QStringLiteral("gespeicherte Gesamtergebnisse aus     ") + small);
}

void ResultsTest::printoutOfAnEmptyFileHasHeadingsAndFrame()
{
    RecordingDevice device;
    {
        QPainter painter(&device);
        PaintOverallResults(painter, Form_Speich_MuW->gridTexts(), 0, RandomClock::now());
    }
    const auto &texts = device.engine.texts;
    QCOMPARE(texts.size(), 1 + 1 + 7);
    QCOMPARE(texts[0].text, QStringLiteral("Merken und Wiedergeben    gedruckt am    05.03.2024 "
                                           "um    09:07:03 Uhr"));
    QCOMPARE(texts[0].topLeft.toPoint(), QPoint(180, 200));
    QCOMPARE(texts[1].text, QStringLiteral(" Zeitfaktor"));
    QCOMPARE(texts[1].topLeft.toPoint(), QPoint(1810, 400));
    const int headingX[] = {185, 330, 730, 1180, 1475, 1810, 2080};
    for (int column = 0; column < 7; ++column) {
        QCOMPARE(texts[2 + column].text, OverallGridHeadings[column]);
        QCOMPARE(texts[2 + column].topLeft.toPoint(), QPoint(headingX[column], 480));
    }
    const auto &lines = device.engine.lines;
    QCOMPARE(lines.size(), 2 + 8);
    QCOMPARE(lines[0].line, QLineF(180, 360, 2276, 360));
    QCOMPARE(lines[1].line, QLineF(180, 560, 2276, 560));
    QCOMPARE(lines[0].width, 3);
    QCOMPARE(lines[1].width, 3);
    const int verticalX[] = {180, 300, 700, 1150, 1470, 1780, 2030, 2276};
    const int verticalWidth[] = {3, 3, 1, 1, 1, 1, 1, 3};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(lines[2 + i].line, QLineF(verticalX[i], 360, verticalX[i], 560));
        QCOMPARE(lines[2 + i].width, verticalWidth[i]);
    }
}

void ResultsTest::printoutOfAFullFileEndsWithAHeavyLine()
{
    const QString fileName = path(QStringLiteral("druck.ERG"));
    writeAll(fileName, sampleFile(20));
    loadFile(fileName);
    RecordingDevice device;
    {
        QPainter painter(&device);
        PaintOverallResults(painter, Form_Speich_MuW->gridTexts(), LoadedRecordCount,
                            RandomClock::now());
    }
    const auto &texts = device.engine.texts;
    QCOMPARE(texts.size(), 9 + 20 * 7);
    const auto &last = texts.mid(texts.size() - 7);
    const int recordX[] = {180, 330, 730, 1150, 1475, 1780, 2030};
    for (int column = 0; column < 7; ++column) {
        QCOMPARE(last[column].topLeft.toPoint(), QPoint(recordX[column], 2490));
        QCOMPARE(last[column].text, Form_Speich_MuW->StringGrid1->cell(column, 21));
    }
    QCOMPARE(texts[9].text, QStringLiteral("     1"));
    QCOMPARE(texts[9].topLeft.toPoint(), QPoint(180, 590));

    const auto &lines = device.engine.lines;
    QCOMPARE(lines.size(), 2 + 20 + 8);
    QCOMPARE(lines[2].line, QLineF(180, 660, 2276, 660));
    QCOMPARE(lines[2].width, 1);
    QCOMPARE(lines[20].line, QLineF(180, 2460, 2276, 2460));
    QCOMPARE(lines[20].width, 1);
    QCOMPARE(lines[21].line, QLineF(180, 2560, 2276, 2560));
    QCOMPARE(lines[21].width, 3);
    QCOMPARE(lines.last().line, QLineF(2276, 360, 2276, 2560));
}

void ResultsTest::printingGoesThroughThePrintDialog()
{
    const QString pdf = path(QStringLiteral("ausdruck.pdf"));
    int resolution = 0;
    answerPrintDialogForTests([&](QPrinter &printer) {
        resolution = printer.resolution();
        return false;
    });
    Form_Speich_MuW->druckenGesamtergebnisse1->trigger();
    QCOMPARE(resolution, 300);
    QVERIFY(!QFile::exists(pdf));

    answerPrintDialogForTests([&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    Form_Speich_MuW->druckenGesamtergebnisse1->trigger();
    QVERIFY(readAll(pdf).startsWith("%PDF"));
    QVERIFY(TestSupport::messages().shown.isEmpty());
}

void ResultsTest::printedTextsKeepClearOfTheColumnLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("disturbance");
    QTest::addColumn<QString>("dateTime");
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("points");
    QTest::newRow("usual") << QStringLiteral("Jörg") << QStringLiteral("Ringe (m)")
                           << QStringLiteral("28.12.2026-23:58:58") << 60 << 120;
    QTest::newRow("widest fields")
        << QStringLiteral("WWWWWWWWWWWW") << QStringLiteral("WWWWWWWWWWWW")
        << QStringLiteral("28.12.2026--23:58:58") << 400 << 237;
    QTest::newRow("numbers beyond the game's")
        << QStringLiteral("Ä") << QString() << QString() << -2147483647 << 99999;
}

// The printout on a 300 dpi page: beside every column line, within the rows of text, no pixel
// is inked, so no text crosses or touches a line.
void ResultsTest::printedTextsKeepClearOfTheColumnLines()
{
    QFETCH(QString, name);
    QFETCH(QString, disturbance);
    QFETCH(QString, dateTime);
    QFETCH(int, factor);
    QFETCH(int, points);
    OverallResultRecord record = sampleRecord(1);
    record.PlayerName = name;
    record.Disturbance = disturbance;
    record.DateTime = dateTime;
    record.PresentTimeFactor = factor;
    record.WaitTimeFactor = factor;
    record.PointsAchieved = points;
    record.PointsPossible = points;
    record.DifficultyLevel = 15;
    record.TimeAllowanceSteps = 60;
    QByteArray bytes;
    for (int i = 0; i < ResultsFileCapacity; ++i)
        bytes += record.toBytes();
    const QString fileName = path(QStringLiteral("breit.ERG"));
    writeAll(fileName, bytes);
    loadFile(fileName);

    QImage page(2480, 3508, QImage::Format_RGB32);
    page.setDotsPerMeterX(11811);
    page.setDotsPerMeterY(11811);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        PaintOverallResults(painter, Form_Speich_MuW->gridTexts(), LoadedRecordCount,
                            RandomClock::now());
    }
    QList<int> textRows = {400, 480};
    for (int i = 1; i <= ResultsFileCapacity; ++i)
        textRows.append(490 + 100 * i);
    // Texts end a little before the next line and begin after their own.
    constexpr int BeforeLine = 3;
    for (const PrintedColumnLine &line : OverallPrintoutColumnLines()) {
        const int halfWidth = line.width / 2;
        for (int top : textRows) {
            for (int y = top; y < top + 50; ++y) {
                for (int x = line.x - halfWidth - BeforeLine; x <= line.x + halfWidth + 1; ++x) {
                    if (x >= line.x - halfWidth && x <= line.x + halfWidth)
                        continue;
                    QVERIFY2(page.pixelColor(x, y) == Qt::white,
                             qPrintable(QStringLiteral("ink at %1, %2").arg(x).arg(y)));
                }
            }
        }
    }

    // The texts are no smaller than they must be.
    const QList<PrintedText> texts =
        OverallPrintoutTexts(Form_Speich_MuW->gridTexts(), LoadedRecordCount);
    const int cellHeight = PrinterTableCellHeight(&page, texts);
    QVERIFY(PrintedTextsClearColumnLines(PrinterFont(&page, cellHeight), texts));
    QVERIFY(cellHeight == 50 ||
            !PrintedTextsClearColumnLines(PrinterFont(&page, cellHeight + 1), texts));
}

QTEST_MAIN(ResultsTest)
#include "test_results.moc"

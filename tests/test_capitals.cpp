// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/RecordFile.h"
#include "common/SharedState.h"
#include "disturbance/Hauptsta.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray FileBytes()
{
    QFile file(CapitalsFileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFileBytes(const QByteArray &bytes)
{
    QFile file(CapitalsFileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The error a call raises, or 0 when it raises none.
int RaisedCode(void (*call)(), QString *message = nullptr)
{
    try {
        call();
    } catch (const InOutError &error) {
        if (message)
            *message = error.message();
        return error.code();
    }
    return 0;
}

bool InFilledRange(int recordNumber)
{
    for (const CapitalRange &range :
         {EuropeRecords, AsiaRecords, AfricaRecords, AmericaRecords, OceaniaRecords}) {
        if (recordNumber >= range.First && recordNumber <= range.Last)
            return true;
    }
    return false;
}

} // namespace

class CapitalsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void recordsHoldLengthByteAndCp1252Characters_data();
    void recordsHoldLengthByteAndCp1252Characters();
    void onlyTheContinentRangesAreFilled_data();
    void onlyTheContinentRangesAreFilled();
    void longestNamesFitTheirFields();
    void startWritesTheTableOverTheExistingFile_data();
    void startWritesTheTableOverTheExistingFile();
    void missingFileIsReportedAndNeverCreated();
    void capitalsFileThatIsNoRegularFileIsRefusedAtOnce_data();
    void capitalsFileThatIsNoRegularFileIsRefusedAtOnce();
    void gameReadsTheFileAsItIsNow();
    void shortFileFailsAndKeepsTheBuffer();
    void emptyBufferIsAllocatedOnLoad();
    void damagedLengthBytesAreCutToTheirFields();
    void recordNumbersOutsideTheBufferGiveEmptyRecords_data();
    void recordNumbersOutsideTheBufferGiveEmptyRecords();

private:
    QTemporaryDir m_directory;
};

void CapitalsTest::initTestCase()
{
    QVERIFY(m_directory.isValid());
    QVERIFY(QDir::setCurrent(m_directory.path()));
}

void CapitalsTest::init()
{
    FillCapitalsTable();
    QFile::remove(CapitalsFileName);
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
}

void CapitalsTest::recordsHoldLengthByteAndCp1252Characters_data()
{
    QTest::addColumn<int>("recordNumber");
    QTest::addColumn<QByteArray>("country");
    QTest::addColumn<QByteArray>("capital");
    QTest::addColumn<QString>("countryText");
    QTest::newRow("first") << 1 << QByteArray("Albanien") << QByteArray("Tirana")
                           << QStringLiteral("Albanien");
    QTest::newRow("last") << 212 << QByteArray("Vanuata") << QByteArray("Port Vila")
                          << QStringLiteral("Vanuata");
    QTest::newRow("umlaut") << 20 << QByteArray("\xD6sterreich") << QByteArray("Wien")
                            << QStringLiteral("Österreich");
    QTest::newRow("sharp s") << 42
                             << QByteArray("Wei\xDFru\xDF"
                                           "land")
                             << QByteArray("Minsk") << QStringLiteral("Weißrußland");
    QTest::newRow("umlaut capital") << 71 << QByteArray("Korea-Nord") << QByteArray("Pj\xF6ngjang")
                                    << QStringLiteral("Korea-Nord");
    QTest::newRow("longest country")
        << 94 << QByteArray("Vereinigte Arabische Emirate") << QByteArray("Abu Dhabi")
        << QStringLiteral("Vereinigte Arabische Emirate");
    QTest::newRow("apostrophe") << 147 << QByteArray("Tschad") << QByteArray("N'Djamena")
                                << QStringLiteral("Tschad");
    QTest::newRow("second Bamako")
        << 77 << QByteArray("Malediven") << QByteArray("Bamako") << QStringLiteral("Malediven");
}

void CapitalsTest::recordsHoldLengthByteAndCp1252Characters()
{
    QFETCH(int, recordNumber);
    QFETCH(QByteArray, country);
    QFETCH(QByteArray, capital);
    QFETCH(QString, countryText);
    QByteArray expected(CapitalRecordSize, '\0');
    expected[0] = char(country.size());
    expected.replace(1, country.size(), country);
    expected[29] = char(capital.size());
    expected.replace(30, capital.size(), capital);
    const QByteArray table = CapitalsTableBytes();
    QCOMPARE(table.size(), CapitalsBufferSize);
    QCOMPARE(table.mid((recordNumber - 1) * CapitalRecordSize, CapitalRecordSize), expected);
    QCOMPARE(CapitalRecordAt(table, recordNumber).Country, countryText);
}

void CapitalsTest::onlyTheContinentRangesAreFilled_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<int>("count");
    QTest::newRow("Europa") << EuropeRecords.First << EuropeRecords.Last << 44;
    QTest::newRow("Asien") << AsiaRecords.First << AsiaRecords.Last << 47;
    QTest::newRow("Afrika") << AfricaRecords.First << AfricaRecords.Last << 53;
    QTest::newRow("Amerika") << AmericaRecords.First << AmericaRecords.Last << 35;
    QTest::newRow("Ozeanien") << OceaniaRecords.First << OceaniaRecords.Last << 13;
    QTest::newRow("all") << 1 << CapitalRecordCount << 192;
}

void CapitalsTest::onlyTheContinentRangesAreFilled()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(int, count);
    const QByteArray table = CapitalsTableBytes();
    int filled = 0;
    for (int n = first; n <= last; ++n) {
        const QByteArray bytes = table.mid((n - 1) * CapitalRecordSize, CapitalRecordSize);
        const CapitalRecord record = CapitalRecordFromBytes(bytes);
        if (InFilledRange(n)) {
            QVERIFY2(!record.Country.isEmpty() && !record.Capital.isEmpty(),
                     qPrintable(QString::number(n)));
            ++filled;
        } else {
            QCOMPARE(bytes, QByteArray(CapitalRecordSize, '\0'));
        }
    }
    QCOMPARE(filled, count);
}

void CapitalsTest::longestNamesFitTheirFields()
{
    const QByteArray table = CapitalsTableBytes();
    qsizetype longestCountry = 0;
    qsizetype longestCapital = 0;
    for (int n = 1; n <= CapitalRecordCount; ++n) {
        const CapitalRecord record = CapitalRecordAt(table, n);
        longestCountry = std::max(longestCountry, record.Country.size());
        longestCapital = std::max(longestCapital, record.Capital.size());
    }
    // Nothing was cut: the longest names are exactly those of the list.
    QCOMPARE(longestCountry, 28);
    QCOMPARE(longestCapital, 19);
    QCOMPARE(CapitalRecordAt(table, 56).Capital, QStringLiteral("Bandar Seri Begawan"));
    QCOMPARE(CapitalRecordAt(table, 211).Capital, QStringLiteral("Vaiaku auf Funafuti"));
}

void CapitalsTest::startWritesTheTableOverTheExistingFile_data()
{
    QTest::addColumn<int>("oldSize");
    QTest::newRow("empty") << 0;
    QTest::newRow("shorter") << 4321;
    QTest::newRow("same size") << CapitalsBufferSize;
    QTest::newRow("longer") << CapitalsBufferSize + 123;
}

void CapitalsTest::startWritesTheTableOverTheExistingFile()
{
    QFETCH(int, oldSize);
    WriteFileBytes(QByteArray(oldSize, '\xAB'));
    const QByteArray table = CapitalsTableBytes();
    WriteAndReadCapitalsFile();
    const QByteArray bytes = FileBytes();
    QCOMPARE(bytes.size(), std::max(oldSize, CapitalsBufferSize));
    QCOMPARE(bytes.left(CapitalsBufferSize), table);
    QCOMPARE(bytes.mid(CapitalsBufferSize), QByteArray(bytes.size() - CapitalsBufferSize, '\xAB'));
    QCOMPARE(CapitalsTableBytes(), table);
}

void CapitalsTest::missingFileIsReportedAndNeverCreated()
{
    QString message;
    QCOMPARE(RaisedCode(WriteAndReadCapitalsFile, &message), InOutCodes::FileNotFound);
    QCOMPARE(message, QStringLiteral("Datei nicht gefunden"));
    QVERIFY(!QFile::exists(CapitalsFileName));
    const QByteArray before = CapitalsBuffer;
    QCOMPARE(RaisedCode(LoadCapitalsBuffer, &message), InOutCodes::FileNotFound);
    QCOMPARE(message, QStringLiteral("Datei nicht gefunden"));
    QVERIFY(!QFile::exists(CapitalsFileName));
    QCOMPARE(CapitalsBuffer, before);
}

void CapitalsTest::capitalsFileThatIsNoRegularFileIsRefusedAtOnce_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("FIFO") << true;
    QTest::newRow("directory") << false;
}

// A FIFO without a writer would block the start for ever, before the main window shows.
void CapitalsTest::capitalsFileThatIsNoRegularFileIsRefusedAtOnce()
{
    QFETCH(bool, fifo);
    if (fifo)
        QVERIFY(::mkfifo(QFile::encodeName(CapitalsFileName).constData(), 0666) == 0);
    else
        QVERIFY(QDir().mkdir(CapitalsFileName));
    auto remove = qScopeGuard([] {
        QFile::remove(CapitalsFileName);
        QDir().rmdir(CapitalsFileName);
    });
    QString message;
    QCOMPARE(RaisedCode(WriteAndReadCapitalsFile, &message), InOutCodes::AccessDenied);
    QCOMPARE(message, QStringLiteral("Dateizugriff verweigert"));
    CapitalsBuffer.fill('\x11');
    const QByteArray before = CapitalsBuffer;
    QCOMPARE(RaisedCode(LoadCapitalsBuffer), InOutCodes::AccessDenied);
    QCOMPARE(CapitalsBuffer, before);
}

void CapitalsTest::gameReadsTheFileAsItIsNow()
{
    WriteFileBytes(QByteArray());
    WriteAndReadCapitalsFile();
    QByteArray changed = FileBytes();
    changed.replace(5 * CapitalRecordSize, CapitalRecordSize,
                    CapitalRecordBytes({QStringLiteral("Deutschland"), QStringLiteral("Bonn")}));
    WriteFileBytes(changed);
    LoadCapitalsBuffer();
    QCOMPARE(CapitalsBuffer.size(), CapitalsBufferSize);
    QCOMPARE(CapitalRecordAt(CapitalsBuffer, 6).Capital, QStringLiteral("Bonn"));
    QCOMPARE(CapitalRecordAt(CapitalsBuffer, 5).Country, QStringLiteral("Dänemark"));
}

void CapitalsTest::shortFileFailsAndKeepsTheBuffer()
{
    WriteFileBytes(CapitalsTableBytes().left(CapitalsBufferSize - 1));
    CapitalsBuffer.fill('\x11');
    const QByteArray before = CapitalsBuffer;
    QString message;
    QCOMPARE(RaisedCode(LoadCapitalsBuffer, &message), InOutCodes::ReadPastEnd);
    QCOMPARE(message, QStringLiteral("E/A-Fehler 100"));
    QCOMPARE(CapitalsBuffer, before);
}

void CapitalsTest::emptyBufferIsAllocatedOnLoad()
{
    WriteFileBytes(CapitalsTableBytes());
    CapitalsBuffer = QByteArray();
    LoadCapitalsBuffer();
    QCOMPARE(CapitalsBuffer, CapitalsTableBytes());
}

void CapitalsTest::damagedLengthBytesAreCutToTheirFields()
{
    // A file of 0xFF bytes claims 255 characters in every field.
    WriteFileBytes(QByteArray(CapitalsBufferSize, '\xFF'));
    LoadCapitalsBuffer();
    for (int n : {1, 100, CapitalRecordCount}) {
        const CapitalRecord record = CapitalRecordAt(CapitalsBuffer, n);
        QCOMPARE(record.Country, QString(28, QChar(0xFF)));
        QCOMPARE(record.Capital, QString(20, QChar(0xFF)));
    }
}

void CapitalsTest::recordNumbersOutsideTheBufferGiveEmptyRecords_data()
{
    QTest::addColumn<int>("recordNumber");
    QTest::addColumn<int>("bufferSize");
    QTest::newRow("zero") << 0 << CapitalsBufferSize;
    QTest::newRow("negative") << -1 << CapitalsBufferSize;
    QTest::newRow("221") << 221 << CapitalsBufferSize;
    QTest::newRow("buffer released") << 1 << 0;
    QTest::newRow("record cut short") << 220 << CapitalsBufferSize - 1;
}

void CapitalsTest::recordNumbersOutsideTheBufferGiveEmptyRecords()
{
    QFETCH(int, recordNumber);
    QFETCH(int, bufferSize);
    const QByteArray buffer(bufferSize, 'x');
    QVERIFY(CapitalRecordAt(buffer, recordNumber).isEmpty());
}

QTEST_MAIN(CapitalsTest)
#include "test_capitals.moc"

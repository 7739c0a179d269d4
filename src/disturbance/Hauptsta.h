// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in capitals table and the capitals data file.
#pragma once

#include "common/ShortString.h"

#include <QByteArray>
#include <QString>

constexpr int CapitalRecordSize = 50;
constexpr int CapitalRecordCount = 220;
constexpr int CapitalsTableSize = CapitalRecordSize * CapitalRecordCount;
inline const QString CapitalsFileName = QStringLiteral("Hauptsta.FKL");

// Field layout of a 50-byte record: String[28] country at 0, String[20] capital at 29.
using CountryName = ShortString<28>;
using CapitalName = ShortString<20>;
constexpr int CountryOffset = 0;
constexpr int CapitalOffset = 1 + CountryName::capacity();
static_assert(CapitalOffset + 1 + CapitalName::capacity() == CapitalRecordSize);

// One country with its capital, as stored in the table, the file and CapitalsBuffer.
struct CapitalRecord
{
    QString Country;
    QString Capital;

    bool isEmpty() const { return Country.isEmpty() && Capital.isEmpty(); }
    friend bool operator==(const CapitalRecord &, const CapitalRecord &) = default;
};

// The record numbers (1-based, inclusive) of one continent's countries.
struct CapitalRange
{
    int First;
    int Last;
    constexpr int count() const { return Last - First + 1; }
};

constexpr CapitalRange EuropeRecords{1, 44};
constexpr CapitalRange AsiaRecords{50, 96};
constexpr CapitalRange AfricaRecords{100, 152};
constexpr CapitalRange AmericaRecords{160, 194};
constexpr CapitalRange OceaniaRecords{200, 212};

constexpr bool IsCapitalRecordNumber(int recordNumber)
{
    return recordNumber >= 1 && recordNumber <= CapitalRecordCount;
}

// The 50 bytes of a record; names longer than their field are cut to it.
QByteArray CapitalRecordBytes(const CapitalRecord &record);
// Decodes 50 record bytes; length bytes beyond a field's size are cut to it, so a damaged
// file never makes a reader look outside the record. Fewer than 50 bytes give an empty record.
CapitalRecord CapitalRecordFromBytes(const QByteArray &bytes);
// Record recordNumber (1..220) of an 11000-byte buffer such as CapitalsBuffer; an empty
// record when the number is out of range or the buffer does not hold it.
CapitalRecord CapitalRecordAt(const QByteArray &buffer, int recordNumber);

// Fills the built-in table of countries and capitals.
void FillCapitalsTable();
// Writes the table over the first 220 records of the existing capitals file and reads it back.
void WriteAndReadCapitalsFile();
// Reads the capitals file's 220 records into CapitalsBuffer.
void LoadCapitalsBuffer();

// The table's 11000 bytes as they stand in the file.
QByteArray CapitalsTableBytes();

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/ShortString.h"

#include <QByteArray>
#include <QString>

constexpr int CapitalRecordSize = 50;
constexpr int CapitalRecordCount = 220;
inline const QString CapitalsFileName = QStringLiteral("Hauptsta.FKL");

// Fills the built-in table of countries and capitals.
void FillCapitalsTable();
// Writes the table over the first 220 records of the existing capitals file and reads it back.
void WriteAndReadCapitalsFile();
// Reads the capitals file's 220 records into CapitalsBuffer.
void LoadCapitalsBuffer();

// The table's 11000 bytes as they stand in the file.
QByteArray CapitalsTableBytes();

// SPDX-License-Identifier: GPL-3.0-or-later
// The overall-result record (80 bytes) and the reading of overall-result files, without windows.
#pragma once

#include "common/ShortString.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>

// One saved game: 80 bytes, little-endian, written field by field at fixed offsets.
struct OverallResultRecord
{
    static constexpr int Size = 80;

    ShortString<20> DateTime;
    ShortString<12> PlayerName;
    ShortString<12> Disturbance;
    qint32 PresentTimeFactor = 0;
    qint32 WaitTimeFactor = 0;
    qint32 PointsAchieved = 0;
    qint32 PointsPossible = 0;
    qint32 DifficultyLevel = 0;
    qint32 TimeAllowanceSteps = 0;
    std::array<quint8, 6> RoundPointsPossible{};

    QByteArray toBytes() const;
    // Reads the first Size bytes (missing bytes count as 0); length bytes are cut to the fields.
    static OverallResultRecord fromBytes(const QByteArray &bytes);
};

// Offsets of the fields in a stored record.
namespace OverallRecordOffsets {
constexpr int DateTime = 0;
constexpr int PlayerName = 21;
constexpr int Disturbance = 34;
constexpr int PresentTimeFactor = 48;
constexpr int WaitTimeFactor = 52;
constexpr int PointsAchieved = 56;
constexpr int PointsPossible = 60;
constexpr int DifficultyLevel = 64;
constexpr int TimeAllowanceSteps = 68;
constexpr int RoundPointsPossible = 72;
} // namespace OverallRecordOffsets

constexpr int ResultsFileCapacity = 20;

// The first 20 whole records of a results file, in file order; a record cut short at the end
// is not read. Throws InOutError when the file cannot be read. byteSize, if given, gets the
// file's whole size.
QList<OverallResultRecord> ReadOverallResultsFile(const QString &fileName,
                                                  qint64 *byteSize = nullptr);

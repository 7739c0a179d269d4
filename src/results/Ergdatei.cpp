// SPDX-License-Identifier: GPL-3.0-or-later
// The overall-result record (80 bytes) and the reading of overall-result files, without windows.
#include "results/Ergdatei.h"

#include "common/RecordFile.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {
void putInt(char *record, int offset, qint32 value)
{
    qToLittleEndian<qint32>(value, record + offset);
}

qint32 getInt(const char *record, int offset)
{
    return qFromLittleEndian<qint32>(record + offset);
}
} // namespace

QByteArray OverallResultRecord::toBytes() const
{
    namespace at = OverallRecordOffsets;
    QByteArray bytes(Size, '\0');
    char *data = bytes.data();
    DateTime.store(data + at::DateTime);
    PlayerName.store(data + at::PlayerName);
    Disturbance.store(data + at::Disturbance);
    putInt(data, at::PresentTimeFactor, PresentTimeFactor);
    putInt(data, at::WaitTimeFactor, WaitTimeFactor);
    putInt(data, at::PointsAchieved, PointsAchieved);
    putInt(data, at::PointsPossible, PointsPossible);
    putInt(data, at::DifficultyLevel, DifficultyLevel);
    putInt(data, at::TimeAllowanceSteps, TimeAllowanceSteps);
    std::memcpy(data + at::RoundPointsPossible, RoundPointsPossible.data(),
                RoundPointsPossible.size());
    return bytes;
}

OverallResultRecord OverallResultRecord::fromBytes(const QByteArray &bytes)
{
    namespace at = OverallRecordOffsets;
    QByteArray padded = bytes.left(Size);
    padded.resize(Size, '\0');
    const char *data = padded.constData();
    OverallResultRecord record;
    record.DateTime = ShortString<20>::load(data + at::DateTime);
    record.PlayerName = ShortString<12>::load(data + at::PlayerName);
    record.Disturbance = ShortString<12>::load(data + at::Disturbance);
    record.PresentTimeFactor = getInt(data, at::PresentTimeFactor);
    record.WaitTimeFactor = getInt(data, at::WaitTimeFactor);
    record.PointsAchieved = getInt(data, at::PointsAchieved);
    record.PointsPossible = getInt(data, at::PointsPossible);
    record.DifficultyLevel = getInt(data, at::DifficultyLevel);
    record.TimeAllowanceSteps = getInt(data, at::TimeAllowanceSteps);
    std::memcpy(record.RoundPointsPossible.data(), data + at::RoundPointsPossible,
                record.RoundPointsPossible.size());
    return record;
}

QList<OverallResultRecord> ReadOverallResultsFile(const QString &fileName, qint64 *byteSize)
{
    RecordFile file(fileName, OverallResultRecord::Size);
    // Reading only, so a write-protected file can be shown.
    file.ResetReadOnly();
    if (byteSize)
        *byteSize = file.ByteSize();
    const qint64 count = std::min<qint64>(file.FileSize(), ResultsFileCapacity);
    QList<OverallResultRecord> records;
    for (qint64 i = 0; i < count; ++i)
        records.append(OverallResultRecord::fromBytes(file.Read()));
    file.Close();
    return records;
}

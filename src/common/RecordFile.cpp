// SPDX-License-Identifier: GPL-3.0-or-later
// Files of fixed-size records with the runtime's input/output errors.
#include "common/RecordFile.h"

#include "common/MessageBoxes.h"

#include <QFileInfo>

QString InOutError::message() const
{
    return InOutErrorText(m_code);
}

QString InOutErrorText(int code)
{
    switch (code) {
    case InOutCodes::FileNotFound:
        return QStringLiteral("Datei nicht gefunden");
    case InOutCodes::AccessDenied:
        return QStringLiteral("Dateizugriff verweigert");
    default:
        return QStringLiteral("E/A-Fehler %1").arg(code);
    }
}

int OpenFailureCode(const QFile &file, QIODevice::OpenMode mode)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        return InOutCodes::FileNotFound;
    const bool denied = file.error() == QFileDevice::PermissionsError || !info.isReadable() ||
                        ((mode & QIODevice::WriteOnly) && !info.isWritable());
    return denied ? InOutCodes::AccessDenied : InOutCodes::FileNotOpen;
}

bool HandleInOutErrors(const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const InOutError &error) {
        ShowError(error.message());
        return false;
    }
}

RecordFile::RecordFile(const QString &fileName, int recordSize)
    : m_file(fileName), m_recordSize(recordSize)
{
}

bool RecordFile::Exists(const QString &fileName)
{
    return QFileInfo(fileName).isFile();
}

void RecordFile::open(QIODevice::OpenMode mode)
{
    if (m_file.isOpen())
        m_file.close();
    if (!m_file.open(mode))
        throw InOutError(OpenFailureCode(m_file, mode));
}

void RecordFile::Reset()
{
    // Without ExistingOnly, QFile would create a missing file; the runtime's reset never does.
    open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
}

void RecordFile::ResetReadOnly()
{
    open(QIODevice::ReadOnly | QIODevice::ExistingOnly);
}

void RecordFile::Rewrite()
{
    open(QIODevice::ReadWrite | QIODevice::Truncate);
}

void RecordFile::requireOpen() const
{
    if (!m_file.isOpen())
        throw InOutError(InOutCodes::FileNotOpen);
}

qint64 RecordFile::FileSize()
{
    requireOpen();
    return m_file.size() / m_recordSize;
}

void RecordFile::Seek(qint64 record)
{
    requireOpen();
    if (record < 0 || !m_file.seek(record * m_recordSize))
        throw InOutError(InOutCodes::ReadPastEnd);
}

QByteArray RecordFile::Read()
{
    requireOpen();
    const QByteArray record = m_file.read(m_recordSize);
    if (record.size() != m_recordSize)
        throw InOutError(InOutCodes::ReadPastEnd);
    return record;
}

void RecordFile::Write(const QByteArray &record)
{
    requireOpen();
    if (!m_file.isWritable())
        throw InOutError(InOutCodes::AccessDenied);
    QByteArray bytes = record.left(m_recordSize);
    bytes.resize(m_recordSize, '\0');
    if (m_file.write(bytes) != m_recordSize)
        throw InOutError(InOutCodes::WriteFailed);
}

void RecordFile::Close()
{
    requireOpen();
    const bool flushed = m_file.flush();
    m_file.close();
    if (!flushed)
        throw InOutError(InOutCodes::WriteFailed);
}

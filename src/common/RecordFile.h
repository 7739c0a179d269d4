// SPDX-License-Identifier: GPL-3.0-or-later
// Files of fixed-size records with the runtime's input/output errors.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <exception>
#include <functional>

// The runtime's input/output error: code 2 file not found, 5 access denied, 100 read past
// the end, 101 write failed, 103 file not open, others as the system reports them.
class InOutError : public std::exception
{
public:
    explicit InOutError(int code) : m_code(code) {}
    int code() const { return m_code; }
    QString message() const;
    const char *what() const noexcept override { return "input/output error"; }

private:
    int m_code;
};

namespace InOutCodes {
constexpr int FileNotFound = 2;
constexpr int AccessDenied = 5;
constexpr int ReadPastEnd = 100;
constexpr int WriteFailed = 101;
constexpr int FileNotOpen = 103;
} // namespace InOutCodes

// "Datei nicht gefunden", "Dateizugriff verweigert", "E/A-Fehler <code>".
QString InOutErrorText(int code);
// The code for a file that could not be opened in the given mode: not found, access denied
// (also a write-protected file opened for writing) or "file not open".
int OpenFailureCode(const QFile &file, QIODevice::OpenMode mode = QIODevice::ReadOnly);

// Runs an event handler's body; an input/output error is shown in an error box, the rest
// of the body is skipped and the program goes on. Returns false when an error occurred.
bool HandleInOutErrors(const std::function<void()> &body);

// A file of fixed-size records, positioned by record number (0-based).
class RecordFile
{
public:
    RecordFile(const QString &fileName, int recordSize);

    static bool Exists(const QString &fileName);

    void Reset();         // open an existing file for reading and writing, at record 0
    void ResetReadOnly(); // open an existing file for reading only, at record 0
    void Rewrite();       // create or empty the file, open for reading and writing
    qint64 FileSize();    // size in whole records
    void Seek(qint64 record);
    QByteArray Read(); // one record
    void Write(const QByteArray &record);
    void Close();
    bool isOpen() const { return m_file.isOpen(); }

private:
    void open(QIODevice::OpenMode mode);
    void requireOpen() const;

    QFile m_file;
    int m_recordSize;
};

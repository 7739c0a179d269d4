// SPDX-License-Identifier: GPL-3.0-or-later
// Files of fixed-size records, the runtime's input/output errors, and saves that lose nothing.
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
// The code for a file that the system refused to open with the given errno: not found,
// access denied (also a write-protected file opened for writing) or "file not open".
int OpenErrorCode(int systemError);

// Called first at program start. A write past the file size limit (ulimit -f) then fails with
// EFBIG, which every save reports and takes back, instead of ending the program.
void IgnoreFileSizeLimitSignal();

// Runs an event handler's body; an input/output error is shown in an error box, the rest
// of the body is skipped and the program goes on. Returns false when an error occurred.
bool HandleInOutErrors(const std::function<void()> &body);

// A file of fixed-size records, positioned by record number (0-based). Only regular files are
// opened: anything else (a FIFO, a device, a directory) fails at once with "access denied".
// It holds the program's own data, rewritten without asking, so a file opened for writing
// must be the user's own with a single name: a symbolic link, a hard link or another user's
// file is refused with "access denied" and never written.
class RecordFile
{
public:
    RecordFile(const QString &fileName, int recordSize);

    static bool Exists(const QString &fileName);

    void Reset();         // open an existing file for reading and writing, at record 0
    void ResetReadOnly(); // open an existing file for reading only, at record 0
    void Rewrite();       // create or empty the file, open for reading and writing
    qint64 FileSize();    // size in whole records
    qint64 ByteSize();    // size in bytes, a record cut short included
    void Seek(qint64 record);
    QByteArray Read(); // one record
    void Write(const QByteArray &record);
    void Close();
    bool isOpen() const { return m_file.isOpen(); }

private:
    void open(int flags);
    void requireOpen() const;

    QString m_fileName;
    QFile m_file;
    int m_recordSize;
};

// Saving records so that a saved record is never lost: each call either leaves its bytes on
// the disk or throws InOutError with the file exactly as it was before.
namespace RecordSave {

// Every save below opens the name itself, never a symbolic link's target. It first removes
// what saves killed half-way left in the same folder: files named "<file>.<pid>.<n>" for a
// file of a kind the program saves (.ERG, .csv, .png), regular and the user's own, last
// written before the process now holding that pid started, if any does.

// The file to save into for a name the player picked in a dialog. A symbolic link the player
// picked is resolved here, once: its target must be a regular file the user may write, or
// "access denied" is thrown. Any other name is returned as it is.
QString ChosenFile(const QString &picked);

// Whole records of an existing file opened for reading and writing, or -1 when no file of
// that name exists. Anything but a regular file, a symbolic link too, is refused with
// "access denied".
qint64 CountRecords(const QString &fileName, int recordSize);
// Writes record in place after the last whole record of an existing file, so owner, mode and
// hard links stay; a record cut short by an earlier crash is written over.
void Append(const QString &fileName, const QByteArray &record, int recordSize);
// Creates a file holding exactly bytes; it appears only once they are all written.
void Create(const QString &fileName, const QByteArray &bytes);
// Replaces the contents of an existing file by bytes, keeping its owner and mode.
void Replace(const QString &fileName, const QByteArray &bytes);

// The system calls of a save that tests can make fail.
enum class Step
{
    OpenFile,
    CreateTemporary,
    Write,
    Sync,
    Rename
};
// Tests: before each step the function gives the errno to fail it with, or 0 to go on.
// An empty function ends the faults.
using FaultInjector = std::function<int(Step)>;
void injectFaultsForTests(FaultInjector injector);

} // namespace RecordSave

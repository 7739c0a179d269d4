// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/MessageBoxes.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>

#include <csignal>
#include <sys/resource.h>

namespace TestSupport {

struct ShownMessage
{
    MessageBoxes::Kind kind;
    QString text;
    MessageBoxes::DefaultAnswer defaultAnswer = MessageBoxes::DefaultAnswer::Yes;
};

// Message boxes are not shown in tests: each one is recorded and answered from `answers`
// (Yes when the queue is empty).
struct MessageRecorder
{
    QList<ShownMessage> shown;
    std::deque<bool> answers;

    void clear()
    {
        shown.clear();
        answers.clear();
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.constLast().text; }
};
MessageRecorder &messages();

// Creates the program's thirteen windows once per test process, in a fresh temporary
// working directory holding an empty capitals file, with message boxes recorded and a
// fixed random seed. Safe to call from every test's initTestCase().
void createProgram();
// Destroys the windows and the working directory; call from cleanupTestCase().
void destroyProgram();
// The temporary working directory of this test process.
QString workingDirectory();

// While it lives, writes that would make a file longer than `bytes` fail with EFBIG, as on
// a full disk; no root needed. Keep its scope to the write under test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    struct rlimit m_old;
    struct sigaction m_oldAction;
};

// The names in a directory other than "." and "..", sorted.
QStringList directoryEntries(const QString &directory);

} // namespace TestSupport

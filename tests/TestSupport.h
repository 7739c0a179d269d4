// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/MessageBoxes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

class QWidget;

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
    // Runs while a box is open, before it is answered: what happens meanwhile (a time-out).
    std::function<void(const ShownMessage &)> whileOpen;

    void clear()
    {
        shown.clear();
        answers.clear();
        whileOpen = nullptr;
    }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.constLast().text; }
};
MessageRecorder &messages();

// Creates the program's thirteen windows once per test process, in a fresh temporary
// working directory holding an empty capitals file (and, below it, the data folder with the
// journal), with message boxes recorded and a fixed random seed. Safe to call from every
// test's initTestCase().
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
// The whole content of a file; empty when it cannot be read.
QByteArray readAll(const QString &path);
// Makes bytes the whole content of a file; a failure fails the calling test.
void writeAll(const QString &path, const QByteArray &bytes);

// Runs action once, from the event loop, when window has become the active modal window and
// its activation handler has run: the first moment a player could act on it. Call it before
// the window is shown; the modal loop that shows it runs the action. A window that never
// comes up ends the test process with a message instead of hanging it.
void afterActivation(QWidget *window, std::function<void()> action);
// Forgets the actions still waiting, so a failed test leaves none behind; call from cleanup().
void dropPendingActions();

// Inside the exercise window of a started game: plays the rounds, typing each sequence right,
// until the first disturbed round has ended its waiting, which opens the disturbance task.
void playToTheFirstDisturbance();

// Holds the steady clock of RandomClock still while it lives; the test moves it on by hand.
class ManualSteadyClock
{
public:
    explicit ManualSteadyClock(qint64 startNs = 1000000000);
    ~ManualSteadyClock();
    ManualSteadyClock(const ManualSteadyClock &) = delete;
    ManualSteadyClock &operator=(const ManualSteadyClock &) = delete;

    qint64 nowNs() const { return m_nowNs; }
    void advanceNs(qint64 ns);
    void advanceMs(double ms) { advanceNs(qint64(ms * 1000000)); }

private:
    qint64 m_nowNs;
};

} // namespace TestSupport

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/RandomClock.h"
#include "common/SharedState.h"
#include "shell/Mentaro.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace TestSupport {
namespace {
QTemporaryDir *temporaryDirectory = nullptr;
bool created = false;

} // namespace

void destroyProgram()
{
    if (!created)
        return;
    created = false;
    Mentaro::DestroyWindows();
    MessageBoxes::answerForTests({});
    delete temporaryDirectory;
    temporaryDirectory = nullptr;
}

MessageRecorder &messages()
{
    static MessageRecorder recorder;
    return recorder;
}

QString workingDirectory()
{
    return temporaryDirectory ? temporaryDirectory->path() : QDir::currentPath();
}

void createProgram()
{
    if (created)
        return;
    created = true;
    temporaryDirectory = new QTemporaryDir;
    QDir::setCurrent(temporaryDirectory->path());
    QFile capitals(QStringLiteral("Hauptsta.FKL"));
    capitals.open(QIODevice::WriteOnly);
    capitals.close();
    QApplication::setApplicationName(QStringLiteral("Mentaro"));
    Mentaro::InstallGermanTranslation(*QCoreApplication::instance());
    MessageBoxes::answerWithDefaultsForTests([](MessageBoxes::Kind kind, const QString &text,
                                                MessageBoxes::DefaultAnswer defaultAnswer) {
        MessageRecorder &recorder = messages();
        recorder.shown.append({kind, text, defaultAnswer});
        if (recorder.answers.empty())
            return true;
        const bool answer = recorder.answers.front();
        recorder.answers.pop_front();
        return answer;
    });
    RandomClock::useFixedSeed(12345);
    Mentaro::CreateWindows();
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &m_oldAction);
    ::getrlimit(RLIMIT_FSIZE, &m_old);
    struct rlimit lowered = m_old;
    lowered.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &lowered);
}

FileSizeLimit::~FileSizeLimit()
{
    ::setrlimit(RLIMIT_FSIZE, &m_old);
    ::sigaction(SIGXFSZ, &m_oldAction, nullptr);
}

QStringList directoryEntries(const QString &directory)
{
    return QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace TestSupport

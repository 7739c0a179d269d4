// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "common/RandomClock.h"
#include "common/SharedState.h"
#include "exercise/Muw_zahl.h"
#include "results/Tagebuchfuehrung.h"
#include "shell/Mentaro.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace TestSupport {
namespace {
QTemporaryDir *temporaryDirectory = nullptr;
bool created = false;

// Far beyond any activation on a loaded machine; only reached when a window never comes up.
constexpr int ActivationDeadlineMs = 60000;

bool isActiveModalWindow(QWidget *window)
{
    return window->isVisible() && QApplication::activeModalWidget() == window &&
           QApplication::activeWindow() == window;
}

// Waits for the window's activation event; once the window's own handler has run (the event
// filter sees the event first), the queued check runs the action.
class ActivationWatcher : public QObject
{
public:
    ActivationWatcher(QWidget *window, std::function<void()> action)
        : QObject(pendingActions()), m_window(window), m_action(std::move(action))
    {
        window->installEventFilter(this);
        m_deadline.setSingleShot(true);
        connect(&m_deadline, &QTimer::timeout, this, [this] {
            qFatal("%s was never shown as the active modal window",
                   m_window ? qPrintable(m_window->objectName()) : "A window");
        });
        m_deadline.start(ActivationDeadlineMs);
    }

    // Owned by the application, so no watcher outlives the event loop it needs.
    static QObject *pendingActions()
    {
        static QPointer<QObject> owner;
        if (!owner)
            owner = new QObject(QCoreApplication::instance());
        return owner;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::WindowActivate)
            QMetaObject::invokeMethod(this, &ActivationWatcher::actIfUp, Qt::QueuedConnection);
        return false;
    }

private:
    void actIfUp()
    {
        if (m_done || !m_window || !isActiveModalWindow(m_window))
            return;
        m_done = true;
        m_deadline.stop();
        m_window->removeEventFilter(this);
        deleteLater();
        m_action();
    }

    QPointer<QWidget> m_window;
    std::function<void()> m_action;
    QTimer m_deadline;
    bool m_done = false;
};

} // namespace

void afterActivation(QWidget *window, std::function<void()> action)
{
    new ActivationWatcher(window, std::move(action));
}

void dropPendingActions()
{
    qDeleteAll(ActivationWatcher::pendingActions()->children());
}

void playToTheFirstDisturbance()
{
    TForm_MuW_Zahlen *window = Form_MuW_Zahlen;
    while (IsGameRound(RoundNumber)) {
        const bool disturbed = RoundNumber == DisturbanceRound1 || RoundNumber == DisturbanceRound2;
        window->Timer_MuW_MerkenTimer();
        window->Timer_MuW_WartenTimer();
        if (disturbed)
            return;
        window->Edit_Wiedergeben->setText(PresentedSequences[RoundNumber]);
        QTest::keyClick(window->Edit_Wiedergeben, Qt::Key_Return);
    }
}

ManualSteadyClock::ManualSteadyClock(qint64 startNs) : m_nowNs(startNs)
{
    RandomClock::useFixedSteadyNs(m_nowNs);
}

ManualSteadyClock::~ManualSteadyClock()
{
    RandomClock::useFixedSteadyNs(-1);
}

void ManualSteadyClock::advanceNs(qint64 ns)
{
    m_nowNs += ns;
    RandomClock::useFixedSteadyNs(m_nowNs);
}

void destroyProgram()
{
    if (!created)
        return;
    created = false;
    JournalKeeping::Close();
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
    // The journal lives here too, never in the player's own data folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(temporaryDirectory->filePath(QStringLiteral("data"))));
    QFile capitals(QStringLiteral("Hauptsta.FKL"));
    capitals.open(QIODevice::WriteOnly);
    capitals.close();
    QApplication::setApplicationName(QStringLiteral("Mentaro"));
    Mentaro::InstallGermanTranslation(*QCoreApplication::instance());
    MessageBoxes::answerWithDefaultsForTests([](MessageBoxes::Kind kind, const QString &text,
                                                MessageBoxes::DefaultAnswer defaultAnswer) {
        MessageRecorder &recorder = messages();
        const ShownMessage shown{kind, text, defaultAnswer};
        recorder.shown.append(shown);
        bool answer = true;
        if (!recorder.answers.empty()) {
            answer = recorder.answers.front();
            recorder.answers.pop_front();
        }
        if (recorder.whileOpen)
            recorder.whileOpen(shown);
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

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace TestSupport

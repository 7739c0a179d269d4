// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how exactly the program keeps its times, how fast it starts and how small it stays,
// and, under an X server, how much of that reaches the screen, seen by a second X client.
// Unless a column says otherwise a figure is min / median / max; nothing here fails.
#include "Figures.h"
#include "ObserverLink.h"
#include "ScreenTimes.h"

#include "colours/Farben.h"
#include "common/MessageBoxes.h"
#include "common/SharedState.h"
#include "common/StartupTimes.h"
#include "disturbance/Billard.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"
#include "journal/Tagebuch.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Verlauf.h"
#include "results/Zeigen.h"
#include "shell/Kr_progr.h"
#include "shell/Mentaro.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtCharts/QChartView>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <type_traits>
#include <unistd.h>

namespace {

// The second process that watches the screen; null unless running on an X server.
ObserverLink *observer = nullptr;
QString observerMissing;

// A row of the table of what the player sees: the program's own figure beside the screen's.
struct ScreenRow
{
    QString what;
    QString handler;
    QString screen;
    QString unit;
};
QList<ScreenRow> screenRows;

struct GoalRow
{
    QString goal;
    QString figure;
    QString verdict;
};
QList<GoalRow> goalRows;

void printRow(const QString &what, const QString &figures, const QString &unit)
{
    std::printf("| %-62s | %-28s | %-6s |\n", qPrintable(what), qPrintable(figures),
                qPrintable(unit));
    std::fflush(stdout);
}

void addScreenRow(const QString &what, const QString &handler, const QString &screen,
                  const QString &unit)
{
    screenRows.append({what, handler, screen, unit});
}

void addGoal(const QString &goal, const QString &figure, std::optional<bool> met)
{
    const QString verdict = !met   ? QStringLiteral("not measured")
                            : *met ? QStringLiteral("met")
                                   : QStringLiteral("**missed**");
    goalRows.append({goal, figure, verdict});
}

// Where the benchmark is, for whoever reads the output while it runs.
void progress(const QString &what)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(what));
}

double peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

QString cpuModel()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : info.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QStringLiteral("unknown CPU");
}

// The load averages over 1, 5 and 15 minutes: how busy the machine was around the figures.
QString loadAverage()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    if (!load.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    return QString::fromUtf8(load.readAll().split(' ').mid(0, 3).join(" / "));
}

// How long the threads of a process have run on a CPU, and waited for one, in milliseconds: the
// part of a time that is the program's own work, and the part that is a busy machine's.
struct CpuTimes
{
    double runMs = 0;
    double waitMs = 0;
};

std::optional<CpuTimes> cpuTimesOf(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (threads.isEmpty())
        return std::nullopt;
    CpuTimes times;
    for (const QString &thread : threads) {
        QFile stat(tasks.filePath(thread + QStringLiteral("/schedstat")));
        if (!stat.open(QIODevice::ReadOnly))
            continue; // the thread has ended meanwhile
        const QList<QByteArray> fields = stat.readAll().trimmed().split(' ');
        times.runMs += fields.value(0).toDouble() / 1e6;
        times.waitMs += fields.value(1).toDouble() / 1e6;
    }
    return times;
}

QString cpuSummary(const Figures &run, const Figures &wait)
{
    if (run.isEmpty())
        return QStringLiteral("-");
    return QStringLiteral("%1 / %2").arg(run.median(), 0, 'f', 1).arg(wait.median(), 0, 'f', 1);
}

void prepareWorkingDirectory(QTemporaryDir &dir)
{
    QDir::setCurrent(dir.path());
    QFile capitals(QStringLiteral("Hauptsta.FKL"));
    capitals.open(QIODevice::WriteOnly);
}

// Runs the event loop until `condition` holds; false when it did not within the time.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer check;
    check.setInterval(5);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition() || deadline.hasExpired())
            loop.quit();
    });
    if (condition())
        return true;
    check.start();
    loop.exec();
    return condition();
}

bool isExposed(QWidget *window)
{
    return window->windowHandle() && window->windowHandle()->isExposed();
}

// The part of a window a control covers, in the window's device pixels.
QRect areaInWindow(QWidget *control)
{
    const qreal ratio = control->devicePixelRatioF();
    const QRect logical(control->mapTo(control->window(), QPoint(0, 0)), control->size());
    return QRect(qRound(logical.x() * ratio), qRound(logical.y() * ratio),
                 qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

// Starts watching what a control shows; false (and why, on stderr) when the observer cannot.
bool watchControl(QWidget *control)
{
    if (!observer)
        return false;
    const QRect area = areaInWindow(control);
    const QString command = QStringLiteral("region %1 %2 %3 %4 %5")
                                .arg(control->window()->winId())
                                .arg(area.x())
                                .arg(area.y())
                                .arg(area.width())
                                .arg(area.height());
    if (observer->send(command))
        return true;
    progress(QStringLiteral("observer: %1").arg(observer->failure()));
    return false;
}

// How long after the X server's own time stamp the observer took note of its damage events:
// the resolution of every on-screen figure.
Figures deliveryDelays;

// What the observer reports while it watches.
class ScreenWatch
{
public:
    // True once the observer has seen a change later than `ns`.
    bool changedAfter(qint64 ns)
    {
        collect();
        return std::any_of(m_records.begin(), m_records.end(), [ns](const ScreenRecord &r) {
            return r.kind != ScreenRecord::Error && r.ns > ns;
        });
    }
    // Ends every watch and hands back the records of one kind, in time order.
    QList<ScreenRecord> finish(ScreenRecord::Kind kind)
    {
        collect();
        QList<ScreenRecord> seen;
        for (const ScreenRecord &record : std::as_const(m_records)) {
            if (record.kind == kind) {
                seen.append(record);
                if (const std::optional<double> delay = DeliveryDelayMs(record))
                    deliveryDelays.add(*delay);
            } else if (record.kind == ScreenRecord::Error) {
                progress(QStringLiteral("observer: %1").arg(record.text));
            }
        }
        m_records.clear();
        if (observer)
            observer->send(QStringLiteral("stop"));
        return seen;
    }

private:
    void collect()
    {
        if (observer)
            m_records.append(observer->report());
    }

    QList<ScreenRecord> m_records;
};

QString noScreenFigure()
{
    return observer ? QStringLiteral("-") : QStringLiteral("n/a");
}

// ---- start-up (runs in a child process of its own) ----

int runStartupChild(int argc, char **argv)
{
    using StartupTimes::Step;
    StartupTimes::Mark(Step::Main);
    struct FirstPaint : QObject
    {
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && !StartupTimes::MarkOf(Step::FirstPaint)) {
                StartupTimes::Mark(Step::FirstPaint);
                // The windows behind the main one follow its first frame: they are measured
                // too, whichever of the two queued calls comes first.
                QTimer::singleShot(0, qApp, [] {
                    Mentaro::CreateOtherWindows();
                    QCoreApplication::quit();
                });
            }
            return false;
        }
    } filter;
    // The program's own start, up to its message loop; quit at the first frame.
    Mentaro::Run(argc, argv, [&filter] { Form_Prgr->PaintBox1->installEventFilter(&filter); });
    const CpuTimes cpu = cpuTimesOf(getpid()).value_or(CpuTimes{});
    for (int step = 0; step < int(Step::Count); ++step)
        std::printf("%lld ", static_cast<long long>(StartupTimes::MarkOf(Step(step)).value_or(-1)));
    std::printf("%.1f %.1f %.1f\n", peakResidentMegabytes(), cpu.runMs, cpu.waitMs);
    return 0;
}

// The steps of the start-up as the benchmark reports them: from the moment before the first
// of each pair to the second.
struct StartupPart
{
    const char *label;
    std::optional<StartupTimes::Step> from; // none: the launch
    StartupTimes::Step to;
};

constexpr StartupPart StartupParts[] = {
    {"libraries loaded, up to main", std::nullopt, StartupTimes::Step::Main},
    {"QApplication constructed", StartupTimes::Step::Main, StartupTimes::Step::Application},
    {"translation, data folder", StartupTimes::Step::Application, StartupTimes::Step::Prepared},
    {"main window created", StartupTimes::Step::Prepared, StartupTimes::Step::MainWindow},
    {"of the main window: capitals file written and read", StartupTimes::Step::CapitalsStart,
     StartupTimes::Step::CapitalsEnd},
    {"shown, up to the first paint", StartupTimes::Step::MainWindow,
     StartupTimes::Step::FirstPaint},
    {"after the first frame: the 12 other windows", StartupTimes::Step::FirstPaint,
     StartupTimes::Step::Windows},
};

struct StartupFigures
{
    Figures firstFrameMs;
    Figures runMs;
    Figures waitMs;
    QList<Figures> partsMs = QList<Figures>(std::size(StartupParts));
};

// The words a child process printed, split at blanks; none when it did not end in time.
std::optional<QList<QByteArray>>
childWords(const QString &program, const QStringList &arguments, int timeoutMs,
           const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
           const QString &workingDirectory = QString())
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(workingDirectory);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, arguments);
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished(5000);
        return std::nullopt;
    }
    return child.readAllStandardOutput().simplified().split(' ');
}

// A player's first start: a fresh home and data folder, an empty working folder holding only
// the capitals file (when given).
struct FreshStart
{
    explicit FreshStart(const QString &capitalsFile = QString())
    {
        QDir(scratch.path()).mkpath(QStringLiteral("home/.local/share"));
        QDir(scratch.path()).mkpath(QStringLiteral("work"));
        if (!capitalsFile.isEmpty())
            QFile::copy(capitalsFile, workFolder() + QStringLiteral("/Hauptsta.FKL"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("HOME"), scratch.path() + QStringLiteral("/home"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           scratch.path() + QStringLiteral("/home/.local/share"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.path());
    }
    QString workFolder() const { return scratch.path() + QStringLiteral("/work"); }

    QTemporaryDir scratch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

// Seven starts of the program in a child process each, from the launch on the steady clock,
// with the steps in between as the program marked them.
StartupFigures measureStartup(const QString &self)
{
    using StartupTimes::Step;
    StartupFigures figures;
    const QString capitals =
        QCoreApplication::applicationDirPath() + QStringLiteral("/Hauptsta.FKL");
    constexpr int Marks = int(Step::Count);
    for (int i = 0; i < 7; ++i) {
        const FreshStart start(capitals);
        QProcessEnvironment environment = start.environment;
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
        const qint64 launchNs = MonotonicNs();
        const auto words = childWords(self, {QStringLiteral("--startup-child")}, 30000, environment,
                                      start.workFolder());
        if (!words || words->size() != Marks + 3) {
            progress(QStringLiteral("start-up child: no figures"));
            continue;
        }
        const auto markMs = [&](std::optional<Step> step) -> std::optional<double> {
            if (!step)
                return 0.0;
            const qint64 ns = (*words)[int(*step)].toLongLong();
            return ns < 0 ? std::nullopt : std::optional(double(ns - launchNs) / 1e6);
        };
        if (const auto first = markMs(Step::FirstPaint))
            figures.firstFrameMs.add(*first);
        for (std::size_t part = 0; part < std::size(StartupParts); ++part) {
            const auto from = markMs(StartupParts[part].from);
            const auto to = markMs(StartupParts[part].to);
            if (from && to)
                figures.partsMs[qsizetype(part)].add(*to - *from);
        }
        figures.runMs.add((*words)[Marks + 1].toDouble());
        figures.waitMs.add((*words)[Marks + 2].toDouble());
    }
    printRow(QStringLiteral("start-up: launch to first frame of the main window"),
             figures.firstFrameMs.summary(1), QStringLiteral("ms"));
    for (std::size_t part = 0; part < std::size(StartupParts); ++part)
        printRow(QStringLiteral("start-up: %1").arg(QLatin1String(StartupParts[part].label)),
                 figures.partsMs[qsizetype(part)].summary(1), QStringLiteral("ms"));
    return figures;
}

// What the start-up of the real program is measured with: the installed layout when the
// build has install rules, else the build's own binary.
struct LaunchTarget
{
    QString program;
    QString capitalsFile; // copied into the empty working folder when set
    QString note;
};

LaunchTarget prepareLaunchTarget(const QString &buildDir, const QString &prefix)
{
    LaunchTarget target;
    QString why = QStringLiteral("no install rules yet");
    if (QFileInfo::exists(buildDir + QStringLiteral("/cmake_install.cmake"))) {
        QProcess install;
        install.start(QStringLiteral("cmake"),
                      {QStringLiteral("--install"), buildDir, QStringLiteral("--prefix"), prefix});
        const bool finished = install.waitForFinished(120000);
        const QString installed = prefix + QStringLiteral("/bin/mentaro");
        if (finished && install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0 &&
            QFileInfo(installed).isExecutable()) {
            target.program = installed;
            target.note = QStringLiteral("installed layout");
            return target;
        }
        if (!finished) {
            install.kill();
            install.waitForFinished(5000);
            why = QStringLiteral("cmake --install hung");
        } else if (install.exitCode() != 0) {
            why = QStringLiteral("cmake --install failed");
            progress(QString::fromUtf8(install.readAllStandardError()).trimmed());
        }
    }
    target.program = buildDir + QStringLiteral("/mentaro");
    target.capitalsFile = buildDir + QStringLiteral("/Hauptsta.FKL");
    target.note = QStringLiteral("build binary, %1").arg(why);
    return target;
}

// What launches of a program measured: from the launch to the X server's first drawing into
// its window, and how long it had run on a CPU and waited for one up to then.
struct LaunchFigures
{
    Figures firstFrameMs;
    Figures runMs;
    Figures waitMs;
    QString trouble;
};

// One launch, as a player starts a program: a fresh home, an empty working folder (with the
// capitals file where the target needs one), nothing but the X server's time stamps of its
// first drawing into a window whose title begins with `title`. `prepare` may fill the scratch
// folder first; the data folder is <scratch>/home/.local/share. False (with the trouble noted)
// when no first frame came.
bool launchOnce(const LaunchTarget &target, const QString &title,
                const std::function<void(const QString &scratch)> &prepare, LaunchFigures &figures)
{
    const FreshStart start(target.capitalsFile);
    if (prepare)
        prepare(start.scratch.path());
    QProcess program;
    program.setProcessEnvironment(start.environment);
    program.setWorkingDirectory(start.workFolder());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!observer->send(QStringLiteral("hunt %1 %2").arg(getpid()).arg(title))) {
        figures.trouble = observer->failure();
        return false;
    }
    const qint64 launchNs = MonotonicNs();
    program.start(target.program, {});
    std::optional<ScreenRecord> first;
    const QDeadlineTimer deadline(30000);
    while (!first && !deadline.hasExpired() && program.state() != QProcess::NotRunning) {
        for (const ScreenRecord &record : observer->report()) {
            if (record.kind == ScreenRecord::FirstFrame)
                first = record;
        }
        if (!first)
            program.waitForFinished(2); // wakes early only if the program ends
    }
    if (first) {
        figures.firstFrameMs.add(double(first->ns - launchNs) / 1e6);
        if (const std::optional<CpuTimes> cpu =
                cpuTimesOf(first->pid > 0 ? first->pid : program.processId())) {
            figures.runMs.add(cpu->runMs);
            figures.waitMs.add(cpu->waitMs);
        }
        // Closed as the player would, so a launcher that waits for the program ends too.
        observer->send(QStringLiteral("close %1").arg(first->window));
    } else {
        figures.trouble = program.state() == QProcess::NotRunning
                              ? QStringLiteral("program ended before showing its window")
                              : QStringLiteral("no window within 30 s");
    }
    if (!program.waitForFinished(10000)) {
        program.terminate();
        if (!program.waitForFinished(5000)) {
            program.kill();
            program.waitForFinished(5000);
        }
    }
    observer->send(QStringLiteral("stop"));
    return first.has_value();
}

// Launch to first frame of the real program, as a player starts it.
LaunchFigures measureInstalledStartup(const StartupFigures &inProcess, const LaunchTarget &target)
{
    const QString label = QStringLiteral("start-up to first frame of the main window");
    const QString cpuLabel =
        QStringLiteral("start-up to first frame: on a CPU / waiting for one, medians");
    LaunchFigures figures;
    if (!observer) {
        addScreenRow(label, inProcess.firstFrameMs.summary(1), QStringLiteral("n/a"),
                     QStringLiteral("ms"));
        addScreenRow(cpuLabel, cpuSummary(inProcess.runMs, inProcess.waitMs), QStringLiteral("n/a"),
                     QStringLiteral("ms"));
        addGoal(QStringLiteral("first frame < 300 ms (median)"), QStringLiteral("-"), std::nullopt);
        return figures;
    }
    progress(QStringLiteral("start-up of the real program"));
    for (int run = 0; run < 7; ++run) {
        if (!launchOnce(target, QStringLiteral("Fokulantorium"), {}, figures))
            break;
    }
    if (!figures.trouble.isEmpty())
        progress(QStringLiteral("start-up: %1").arg(figures.trouble));
    const Figures &firstFrame = figures.firstFrameMs;
    addScreenRow(QStringLiteral("%1 (%2)").arg(label, target.note),
                 inProcess.firstFrameMs.summary(1), firstFrame.summary(1), QStringLiteral("ms"));
    addScreenRow(cpuLabel, cpuSummary(inProcess.runMs, inProcess.waitMs),
                 cpuSummary(figures.runMs, figures.waitMs), QStringLiteral("ms"));
    addGoal(QStringLiteral("first frame < 300 ms (median; %1)").arg(target.note),
            firstFrame.isEmpty() ? QStringLiteral("-")
                                 : QStringLiteral("median %1, max %2 ms")
                                       .arg(firstFrame.median(), 0, 'f', 1)
                                       .arg(firstFrame.maximum(), 0, 'f', 1),
            firstFrame.isEmpty() ? std::nullopt : std::optional(firstFrame.median() < 300));
    return figures;
}

QString ratioText(const Figures &program, const Figures &floor)
{
    if (program.isEmpty() || floor.isEmpty() || floor.median() <= 0)
        return QStringLiteral("-");
    return QStringLiteral("%1x").arg(program.median() / floor.median(), 0, 'f', 2);
}

// The floor under every start-up figure: a bare Qt Widgets program showing one maximised black
// window, measured the same two ways as the program, and the program's start-up against it.
void measureFloor(const StartupFigures &inProcess, const LaunchFigures &onScreen)
{
    progress(QStringLiteral("start-up of a bare Qt Widgets program"));
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/mentaro_floor");
    if (!QFileInfo(program).isExecutable()) {
        printRow(QStringLiteral("floor: mentaro_floor was not built"), QStringLiteral("-"),
                 QStringLiteral("ms"));
        return;
    }
    Figures firstPaint;
    Figures upToMain;
    for (int i = 0; i < 7; ++i) {
        const FreshStart start;
        QProcessEnvironment environment = start.environment;
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
        const qint64 launchNs = MonotonicNs();
        const auto words = childWords(program, {QStringLiteral("--print-first-paint")}, 30000,
                                      environment, start.workFolder());
        bool main = false;
        bool painted = false;
        const qint64 mainNs = words && words->size() == 2 ? words->at(0).toLongLong(&main) : 0;
        const qint64 paintNs = words && words->size() == 2 ? words->at(1).toLongLong(&painted) : 0;
        if (main && painted) {
            upToMain.add(double(mainNs - launchNs) / 1e6);
            firstPaint.add(double(paintNs - launchNs) / 1e6);
        }
    }
    printRow(QStringLiteral("floor: bare Qt Widgets program, launch to first frame"),
             firstPaint.summary(1), QStringLiteral("ms"));
    printRow(QStringLiteral("floor: libraries loaded, up to main"), upToMain.summary(1),
             QStringLiteral("ms"));
    LaunchFigures floor;
    if (observer) {
        const LaunchTarget target{program, QString(), QStringLiteral("build binary")};
        for (int run = 0; run < 7; ++run) {
            if (!launchOnce(target, QStringLiteral("Leeres Fenster"), {}, floor))
                break;
        }
        if (!floor.trouble.isEmpty())
            progress(QStringLiteral("floor: %1").arg(floor.trouble));
    }
    addScreenRow(QStringLiteral("floor: bare Qt Widgets program, one maximised black window, "
                                "start-up to first frame"),
                 firstPaint.summary(1), observer ? floor.firstFrameMs.summary(1) : noScreenFigure(),
                 QStringLiteral("ms"));
    addScreenRow(QStringLiteral("start-up of the program as a multiple of the floor, medians"),
                 ratioText(inProcess.firstFrameMs, firstPaint),
                 observer ? ratioText(onScreen.firstFrameMs, floor.firstFrameMs) : noScreenFigure(),
                 QStringLiteral("x"));
    const bool measured = !inProcess.firstFrameMs.isEmpty() && !firstPaint.isEmpty();
    addGoal(QStringLiteral("start-up within 2 x the floor (launch to first paint, medians of 7)"),
            measured ? QStringLiteral("%1 / %2 ms = %3")
                           .arg(inProcess.firstFrameMs.median(), 0, 'f', 1)
                           .arg(firstPaint.median(), 0, 'f', 1)
                           .arg(ratioText(inProcess.firstFrameMs, firstPaint))
                     : QStringLiteral("-"),
            measured ? std::optional(inProcess.firstFrameMs.median() <= 2 * firstPaint.median())
                     : std::nullopt);
}

// ---- the journal ----

constexpr int JournalGames = 20000;

// A journal of ten years of daily training: 20 000 whole games ending every few hours, the
// level wandering between 1 and 15, each with its six rounds.
bool buildJournal(const QString &path)
{
    Tagebuch journal(path, QStringLiteral("bench-anlegen"));
    if (!journal.open())
        return false;
    std::mt19937 random(20000);
    const QDateTime last = QDateTime::currentDateTime().addSecs(-3600);
    const qint64 stepSecs = qint64(3652) * 24 * 3600 / JournalGames;
    int level = 3;
    QList<JournalGame> batch;
    for (int i = 0; i < JournalGames; ++i) {
        JournalGame game;
        game.end = last.addSecs(-stepSecs * (JournalGames - 1 - i));
        game.endedBy = i % 17 == 0 ? GameEnd::TimeLimit : GameEnd::AfterRound6;
        game.player = QStringLiteral("Jörg Bärmann");
        if (i % 40 == 0)
            level = std::clamp(level + int(random() % 3) - 1, 1, 15);
        game.level = level;
        game.presentFactor = 60;
        game.waitFactor = 60;
        game.allowanceSteps = 13;
        game.disturbance = QStringLiteral("  H_Eu");
        game.disturbanceKind = 1;
        game.speed = QStringLiteral("100");
        game.cushions = 2;
        game.billiardStep = 14;
        game.ringsMode = QStringLiteral("m");
        game.billiardCorrection = QStringLiteral("j");
        for (int r = 0; r < 6; ++r) {
            JournalRound &round = game.rounds[size_t(r)];
            round.presented = QStringLiteral("K7M4P2");
            round.typed = QStringLiteral("K7M4Q2");
            round.marks = QStringLiteral("wwwwfw");
            round.disturbance = r == 1 || r == 3 ? QStringLiteral("  H_Eu") : QStringLiteral("      -");
            round.possible = 21;
            round.achieved = int(random() % 22);
            game.possible += round.possible;
            game.achieved += round.achieved;
        }
        batch.append(game);
        if (batch.size() == 1000) {
            if (!journal.insertGames(batch))
                return false;
            batch.clear();
        }
    }
    return journal.gameCount() == JournalGames;
}

struct VerlaufTimes
{
    double openMs = -1;
    double allMs = -1;
};

// "Verlauf" opened on the journal until its chart has painted, then switched to all games
// until it has painted again.
VerlaufTimes timeVerlauf(Tagebuch *journal)
{
    struct PaintWatch : QObject
    {
        std::function<void(qint64)> painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, this, [this, ns = MonotonicNs()] { painted(ns); });
            return false;
        }
    };
    VerlaufTimes times;
    const qint64 startNs = MonotonicNs();
    qint64 switchedNs = 0;
    TForm_Verlauf window(Form_MuW);
    window.ShowJournal(journal, 3);
    PaintWatch watch;
    watch.painted = [&](qint64 paintedNs) {
        if (times.openMs < 0) {
            times.openMs = double(MonotonicNs() - startNs) / 1e6;
            switchedNs = MonotonicNs();
            window.Combo_Zeitraum->setCurrentIndex(TForm_Verlauf::AllTime);
        } else if (times.allMs < 0 && paintedNs > switchedNs) {
            times.allMs = double(MonotonicNs() - switchedNs) / 1e6;
            window.CloseWithOk();
        }
    };
    window.Chart_Verlauf->viewport()->installEventFilter(&watch);
    QTimer overrun;
    overrun.setSingleShot(true);
    QObject::connect(&overrun, &QTimer::timeout, &window, &ModalForm::CloseWithOk);
    overrun.start(60000);
    window.ShowModal();
    return times;
}

// The shared state of a whole game at level 3, for recording it.
void fillLastGame()
{
    DifficultyLevel = 3;
    PresentTimeFactor = 60;
    WaitTimeFactor = 60;
    TimeAllowanceSteps = 13;
    TimeoutAbort = 0;
    PointsAchieved = 0;
    PointsPossible = 0;
    GameDisturbanceLabel = QStringLiteral("      -");
    for (int round = 1; round <= RoundsPerGame; ++round) {
        PresentedSequences[round] = QStringLiteral("K7M4P2");
        ReproducedSequences[round] = QStringLiteral("K7M4Q2");
        SymbolMarks[round] = QStringLiteral("wwwwfw");
        RoundDisturbanceLabels[round] = QStringLiteral("      -");
        RoundPointsPossible[round] = 21;
        RoundPointsAchieved[round] = 17;
        PointsAchieved += 17;
        PointsPossible += 21;
    }
}

// In a process of its own, so that its peak memory is the journal's: the journal at
// XDG_DATA_HOME opened, "Verlauf" shown, ten games recorded.
int runJournalChild(int argc, char **argv)
{
    MentaroApplication app(argc, argv);
    QTemporaryDir dir;
    prepareWorkingDirectory(dir);
    MessageBoxes::answerForTests([](MessageBoxes::Kind, const QString &text) {
        progress(QStringLiteral("message: %1").arg(text));
        return false;
    });
    Mentaro::InstallGermanTranslation(app);
    Mentaro::CreateWindows();
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
    const qint64 openNs = MonotonicNs();
    Tagebuch *journal = JournalKeeping::Journal();
    const double openMs = double(MonotonicNs() - openNs) / 1e6;
    if (!journal || journal->gameCount() < JournalGames)
        return 1;
    const VerlaufTimes verlauf = timeVerlauf(journal);
    fillLastGame();
    Figures record;
    for (int i = 0; i < 10; ++i) {
        JournalKeeping::GameStarted();
        const qint64 startNs = MonotonicNs();
        JournalKeeping::RecordGame();
        record.add(double(MonotonicNs() - startNs) / 1e6);
    }
    std::printf("%.1f %.1f %.1f %.2f %.2f %.1f\n", openMs, verlauf.openMs, verlauf.allMs,
                record.median(), record.maximum(), peakResidentMegabytes());
    JournalKeeping::Close();
    Mentaro::DestroyWindows();
    return 0;
}

void measureJournal(const std::optional<LaunchTarget> &target)
{
    progress(QStringLiteral("a journal of %1 games").arg(JournalGames));
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("mentaro/Tagebuch.sqlite"));
    const qint64 buildNs = MonotonicNs();
    if (!buildJournal(path)) {
        printRow(QStringLiteral("journal of 20 000 games: could not be built"), QStringLiteral("-"),
                 QStringLiteral("ms"));
        return;
    }
    printRow(QStringLiteral("journal of 20 000 games: built in 20 transactions (%1 MB)")
                 .arg(double(QFileInfo(path).size()) / 1e6, 0, 'f', 1),
             QString::number(double(MonotonicNs() - buildNs) / 1e6, 'f', 0), QStringLiteral("ms"));
    Figures open;
    Figures verlauf;
    Figures all;
    Figures record;
    Figures recordMax;
    Figures rss;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    for (int run = 0; run < 5; ++run) {
        const auto words = childWords(QCoreApplication::applicationFilePath(),
                                      {QStringLiteral("--journal-child")}, 120000, environment);
        if (!words || words->size() != 6)
            continue;
        const QList<QByteArray> &parts = *words;
        open.add(parts[0].toDouble());
        verlauf.add(parts[1].toDouble());
        all.add(parts[2].toDouble());
        record.add(parts[3].toDouble());
        recordMax.add(parts[4].toDouble());
        rss.add(parts[5].toDouble());
    }
    printRow(QStringLiteral("journal of 20 000 games: opening (with its quick_check)"),
             open.summary(1), QStringLiteral("ms"));
    printRow(QStringLiteral("journal: \"Verlauf\" opens and draws (12 Monate)"),
             verlauf.summary(1), QStringLiteral("ms"));
    printRow(QStringLiteral("journal: \"Verlauf\" switched to \"alle\" and drawn (20 000 games)"),
             all.summary(1), QStringLiteral("ms"));
    printRow(QStringLiteral("journal: recording a game with its verdict, median of 10 per run"),
             record.summary(2), QStringLiteral("ms"));
    printRow(QStringLiteral("journal: recording a game, slowest of 10 per run"),
             recordMax.summary(2), QStringLiteral("ms"));
    printRow(QStringLiteral("journal: peak RSS with the journal open and \"Verlauf\" shown"),
             rss.summary(1), QStringLiteral("MB"));
    addGoal(QStringLiteral("journal of 20 000 games: \"Verlauf\" opens and draws <= 300 ms (median)"),
            verlauf.isEmpty() ? QStringLiteral("-")
                              : QStringLiteral("median %1, max %2 ms")
                                    .arg(verlauf.median(), 0, 'f', 1)
                                    .arg(verlauf.maximum(), 0, 'f', 1),
            verlauf.isEmpty() ? std::nullopt : std::optional(verlauf.median() <= 300));
    addGoal(QStringLiteral("journal of 20 000 games: recording a game <= 20 ms (median)"),
            record.isEmpty() ? QStringLiteral("-")
                             : QStringLiteral("median %1, slowest %2 ms")
                                   .arg(record.median(), 0, 'f', 2)
                                   .arg(recordMax.maximum(), 0, 'f', 2),
            record.isEmpty() ? std::nullopt : std::optional(record.median() <= 20));
    addGoal(QStringLiteral("journal of 20 000 games: peak RSS < 80 MB"),
            rss.isEmpty() ? QStringLiteral("-") : QStringLiteral("%1 MB").arg(rss.maximum(), 0, 'f', 1),
            rss.isEmpty() ? std::nullopt : std::optional(rss.maximum() < 80));

    if (!observer || !target) {
        addGoal(QStringLiteral("start-up with 20 000 games within 1.15x of start-up without"),
                QStringLiteral("-"), std::nullopt);
        return;
    }
    // Taken in turns, so that a machine that gets busier weighs on both alike.
    progress(QStringLiteral("start-up with and without the journal"));
    LaunchFigures without;
    LaunchFigures with;
    const auto placeJournal = [&path](const QString &scratch) {
        const QString folder = scratch + QStringLiteral("/home/.local/share/mentaro");
        QDir().mkpath(folder);
        QFile::copy(path, folder + QStringLiteral("/Tagebuch.sqlite"));
    };
    for (int run = 0; run < 7; ++run) {
        if (!launchOnce(*target, QStringLiteral("Fokulantorium"), {}, without) ||
            !launchOnce(*target, QStringLiteral("Fokulantorium"), placeJournal, with))
            break;
    }
    if (!without.trouble.isEmpty() || !with.trouble.isEmpty())
        progress(QStringLiteral("start-up with the journal: %1").arg(without.trouble + with.trouble));
    addScreenRow(QStringLiteral("start-up to first frame without a journal (%1)").arg(target->note),
                 QStringLiteral("-"), without.firstFrameMs.summary(1), QStringLiteral("ms"));
    addScreenRow(QStringLiteral("start-up to first frame with 20 000 games (%1)").arg(target->note),
                 QStringLiteral("-"), with.firstFrameMs.summary(1), QStringLiteral("ms"));
    const bool measured = !without.firstFrameMs.isEmpty() && !with.firstFrameMs.isEmpty();
    const double ratio = measured ? with.firstFrameMs.median() / without.firstFrameMs.median() : 0;
    addGoal(QStringLiteral("start-up with 20 000 games within 1.15x of start-up without (medians)"),
            measured ? QStringLiteral("%1 / %2 ms = %3x")
                           .arg(with.firstFrameMs.median(), 0, 'f', 1)
                           .arg(without.firstFrameMs.median(), 0, 'f', 1)
                           .arg(ratio, 0, 'f', 3)
                     : QStringLiteral("-"),
            measured ? std::optional(ratio <= 1.15) : std::nullopt);
}

// ---- phase accuracy ----

struct PhaseErrors
{
    Figures program;
    Figures coarse;
    Figures precise;
};

// One phase as the program timed it, in CLOCK_MONOTONIC nanoseconds.
struct PhaseRecord
{
    const PhaseTimer *timer = nullptr;
    int nominal = 0;
    qint64 startNs = 0;
    qint64 endNs = 0;
};

// Measures every phase the program times, and beside each a plain default QTimer and a single
// precise QTimer started at the same moment with the same interval. The program's phase counts
// until its timeout handler has run, that is until the next phase is on its way to the screen.
class PhaseProbe : public QObject
{
public:
    QMap<int, PhaseErrors> errors; // by nominal length
    QList<PhaseRecord> phases;     // in the order they ended

    void watch(PhaseTimer &timer)
    {
        connect(&timer, &PhaseTimer::started, this, [this, &timer] { begin(timer); });
        connect(&timer, &PhaseTimer::timeout, this, [this, &timer] {
            const qint64 now = MonotonicNs();
            const Running running = m_running.take(&timer);
            if (running.nominal <= 0)
                return;
            errors[running.nominal].program.add(double(now - running.startNs) / 1e6 -
                                                running.nominal);
            phases.append({&timer, running.nominal, running.startNs, now});
        });
    }
    qsizetype samples(int nominal) const { return errors.value(nominal).program.count(); }

private:
    struct Running
    {
        int nominal = 0;
        qint64 startNs = 0;
    };

    void begin(PhaseTimer &timer)
    {
        Running running;
        running.nominal = timer.interval();
        running.startNs = MonotonicNs();
        m_running[&timer] = running;
        startBaseline(Qt::CoarseTimer, running, &PhaseErrors::coarse);
        startBaseline(Qt::PreciseTimer, running, &PhaseErrors::precise);
    }
    void startBaseline(Qt::TimerType type, const Running &running, Figures PhaseErrors::*figures)
    {
        auto *timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setTimerType(type);
        connect(timer, &QTimer::timeout, this, [this, timer, running, figures] {
            (errors[running.nominal].*figures)
                .add(double(MonotonicNs() - running.startNs) / 1e6 - running.nominal);
            timer->deleteLater();
        });
        timer->start(running.nominal);
    }

    QHash<PhaseTimer *, Running> m_running;
};

void setFactorText(QComboBox *list, int factor)
{
    list->setEditText(QStringLiteral("%1").arg(factor, 3, 10, QLatin1Char('0')));
}

void setFactors(int level, int factor)
{
    Form_MuW->Edit_S_MuW->setEditText(QStringLiteral("%1").arg(level, 2, 10, QLatin1Char('0')));
    setFactorText(Form_MuW->Edit_Zeitfaktor_Vorgaben, factor);
    setFactorText(Form_MuW->Edit_Zeitfaktor_Warten, factor);
    Form_MuW->Edit_ZeitZugabe->setCurrentIndex(Form_MuW->Edit_ZeitZugabe->count() - 1);
    Form_MuW->Radio_Stoeren->setItemIndex(StoerenAus);
    Form_MuW->Radio_StoerenClick();
}

void typeBack(QLineEdit *input)
{
    input->setText(PresentedSequences[RoundNumber]);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(input, &press);
}

void endGameByTimeLimit()
{
    RemainingSeconds = 1;
    Form_MuW->Timer_GesamtZeitTimer();
}

// Closes the individual result as soon as a game shows it.
class ResultCloser : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            QTimer::singleShot(0, Form_zeigen, [] { Form_zeigen->CloseWithOk(); });
        return false;
    }
};

// Plays one real game. The player answers each round a moment after the input field shows,
// unless `finished` says the game has served its purpose; then the time limit ends it, as it
// does when the game overruns `limitMs`.
void playGame(
    const std::function<bool()> &finished, const std::function<void()> &beforeAnswer = [] {},
    int limitMs = 120000)
{
    constexpr int ThinkMs = 40;
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    QTimer answer;
    answer.setSingleShot(true);
    answer.setInterval(ThinkMs);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (!w->isVisible() || w->Edit_Wiedergeben->isHidden() || !IsGameRound(RoundNumber))
            return;
        if (finished()) {
            endGameByTimeLimit();
            return;
        }
        beforeAnswer();
        typeBack(w->Edit_Wiedergeben);
    });
    // The waiting phase's handler, connected first, has shown the input field by now.
    const QMetaObject::Connection reproduce = QObject::connect(
        &w->Timer_MuW_Warten, &PhaseTimer::timeout, &answer, qOverload<>(&QTimer::start));
    QTimer overrun;
    overrun.setSingleShot(true);
    QObject::connect(&overrun, &QTimer::timeout, [] {
        progress(QStringLiteral("a game overran its time; ended by the time limit"));
        endGameByTimeLimit();
    });
    overrun.start(limitMs);
    ResultCloser closer;
    Form_zeigen->installEventFilter(&closer);
    w->StartGame();
    Form_MuW->StopOverallTime();
    Form_zeigen->removeEventFilter(&closer);
    QObject::disconnect(reproduce);
}

// Lets the baselines still running for the last phase come in (a plain timer may be late by
// up to 5 %).
void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void printPhaseRows(PhaseProbe &probe, int nominal)
{
    settle(nominal / 20 + 100);
    const PhaseErrors &e = probe.errors[nominal];
    const QString label = QStringLiteral("phase %1 ms, error of ").arg(nominal);
    printRow(label + QStringLiteral("the program's phase timer"), e.program.summary(),
             QStringLiteral("ms"));
    printRow(label + QStringLiteral("a plain QTimer"), e.coarse.summary(), QStringLiteral("ms"));
    printRow(label + QStringLiteral("one PreciseTimer"), e.precise.summary(), QStringLiteral("ms"));
    printRow(QStringLiteral("phase %1 ms, |error| of the program's phase timer").arg(nominal),
             e.program.absolute().summary(), QStringLiteral("ms"));
}

// The rows of one kind of phase seen from both sides.
void addScreenPhaseRows(const QString &label, const ScreenPhaseFigures &f)
{
    const QString seen = f.unseen ? QStringLiteral(" (%1 not seen)").arg(f.unseen) : QString();
    addScreenRow(
        QStringLiteral("%1, error (n = %2)%3").arg(label).arg(f.handlerErrorMs.count()).arg(seen),
        f.handlerErrorMs.summary(), observer ? f.screenErrorMs.summary() : noScreenFigure(),
        QStringLiteral("ms"));
    addScreenRow(QStringLiteral("%1, |error|").arg(label), f.handlerErrorMs.absolute().summary(),
                 observer ? f.screenErrorMs.absolute().summary() : noScreenFigure(),
                 QStringLiteral("ms"));
    addScreenRow(QStringLiteral("%1, screen behind the handler at start / end").arg(label),
                 QStringLiteral("-"),
                 observer ? QStringLiteral("med %1 / %2, max %3 / %4")
                                .arg(f.showDelayMs.median(), 0, 'f', 1)
                                .arg(f.hideDelayMs.median(), 0, 'f', 1)
                                .arg(f.showDelayMs.maximum(), 0, 'f', 1)
                                .arg(f.hideDelayMs.maximum(), 0, 'f', 1)
                          : noScreenFigure(),
                 QStringLiteral("ms"));
}

// The on-screen goal for a whole family of phases: median and maximum of |error|.
void addScreenGoal(const QString &goal, const Figures &screenErrors)
{
    if (!observer || screenErrors.isEmpty()) {
        addGoal(goal, QStringLiteral("-"), std::nullopt);
        return;
    }
    const Figures magnitudes = screenErrors.absolute();
    addGoal(goal,
            QStringLiteral("median %1, max %2 ms (n = %3)")
                .arg(magnitudes.median(), 0, 'f', 2)
                .arg(magnitudes.maximum(), 0, 'f', 2)
                .arg(magnitudes.count()),
            magnitudes.median() <= 2 && magnitudes.maximum() <= 5);
}

// Games whose memorise phases the observer watches. Level 1 shows 3 symbols in rounds 1 and 2,
// so the memorise phases of rounds 2 and 3 both last factor x 30 ms; they begin in a window
// that is already on the screen, where round 1 begins with the window's first frame. The
// waiting phases are kept short (factor 1).
ScreenPhaseFigures measureMemoriseOnScreen(PhaseProbe &probe, int nominal, int wanted)
{
    progress(QStringLiteral("memorise phases of %1 ms").arg(nominal));
    ScreenPhaseFigures figures;
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    int measured = 0;
    for (int game = 0; game < wanted && measured < wanted; ++game) {
        setFactors(1, nominal / 30);
        setFactorText(Form_MuW->Edit_Zeitfaktor_Warten, 1);
        bool watching = false;
        qint64 watchFromNs = 0;
        playGame([] { return RoundNumber >= 3; },
                 [&] {
                     if (watching || !waitUntil([w] { return isExposed(w); }, 10000))
                         return;
                     watching = watchControl(w->Panel_MuW_Zahlen);
                     watchFromNs = MonotonicNs();
                 },
                 nominal * 3 * 3 + 30000);
        const QList<ScreenRecord> frames = ScreenWatch().finish(ScreenRecord::Frame);
        for (const PhaseRecord &phase : probe.phases) {
            if (phase.timer != &w->Timer_MuW_Merken || phase.nominal != nominal ||
                watchFromNs == 0 || phase.startNs < watchFromNs)
                continue;
            figures.add(nominal, phase.startNs, phase.endNs, frames);
            ++measured;
        }
    }
    return figures;
}

void measurePhases()
{
    PhaseProbe probe;
    probe.watch(Form_MuW_Zahlen->Timer_MuW_Merken);
    probe.watch(Form_MuW_Zahlen->Timer_MuW_Warten);
    // Level 1 starts with 3 digits: round 1's memorise and waiting phases last factor x 30 ms.
    progress(QStringLiteral("phases of 30 ms"));
    setFactors(1, 1);
    for (int game = 0; game < 12 && probe.samples(30) < 12; ++game)
        playGame([&] { return RoundNumber > 1 || probe.samples(30) >= 12; });
    printPhaseRows(probe, 30);

    Figures allScreenErrors;
    const QList<QPair<int, int>> observedCases = {{300, 12}, {2400, 8}, {9600, 4}};
    for (const auto &[nominal, wanted] : observedCases) {
        const ScreenPhaseFigures figures = measureMemoriseOnScreen(probe, nominal, wanted);
        printPhaseRows(probe, nominal);
        addScreenPhaseRows(QStringLiteral("memorise %1 ms").arg(nominal), figures);
        allScreenErrors.add(figures.screenErrorMs);
    }
    addScreenGoal(QStringLiteral("memorise on screen, 300 ms to 9.6 s: median |error| <= 2 ms, "
                                 "max <= 5 ms"),
                  allScreenErrors);

    // 48 s needs 12 symbols at factor 400: level 15 reaches them in round 3. The factors are
    // read when a phase starts, so the earlier phases run short.
    progress(QStringLiteral("phases of 48 s"));
    setFactors(15, 1);
    playGame([&] { return probe.samples(48000) >= 2; },
             [] {
                 if (RoundNumber == 2)
                     setFactorText(Form_MuW->Edit_Zeitfaktor_Warten, 400);
                 if (RoundNumber == 3) {
                     setFactorText(Form_MuW->Edit_Zeitfaktor_Vorgaben, 400);
                     setFactorText(Form_MuW->Edit_Zeitfaktor_Warten, 1);
                 }
             },
             400000);
    printPhaseRows(probe, 48000);

    Figures handlerMagnitudes;
    for (int nominal : {300, 2400, 9600, 48000})
        handlerMagnitudes.add(probe.errors.value(nominal).program.absolute());
    addGoal(QStringLiteral("phase timer, 300 ms to 48 s: median |error| <= 1 ms, max <= 3 ms"),
            QStringLiteral("median %1, max %2 ms")
                .arg(handlerMagnitudes.median(), 0, 'f', 2)
                .arg(handlerMagnitudes.maximum(), 0, 'f', 2),
            handlerMagnitudes.isEmpty() ? std::nullopt
                                        : std::optional(handlerMagnitudes.median() <= 1 &&
                                                        handlerMagnitudes.maximum() <= 3));
}

// ---- colour sequence ----

// One sequence of "Farben merken" with display and pause times of `ms`, watched on screen.
// The first pause follows "Start" on a blank panel, so the screen cannot show when it began.
void measureColoursOnScreen(int ms, int colours, ScreenPhaseFigures &display,
                            ScreenPhaseFigures &pause)
{
    progress(QStringLiteral("colour sequence at %1 ms").arg(ms));
    TForm_Farben *w = Form_Farben;
    PhaseProbe probe;
    probe.watch(w->Timer1);
    probe.watch(w->Timer2);
    qint64 watchFromNs = 0;
    bool ready = false;
    QTimer::singleShot(0, w, [&] {
        if (!waitUntil([w] { return isExposed(w); }, 10000)) {
            w->CloseWithOk();
            return;
        }
        w->Edit_Anzahl->setText(QString::number(colours));
        w->Edit_Zeige_Dauer->setText(QString::number(ms));
        w->Edit_Pausen_Laenge->setText(QString::number(ms));
        ready = w->Edit_AnzahlExit() && w->Edit_Zeige_DauerExit() && w->Edit_Pausen_LaengeExit();
        if (!ready) {
            w->CloseWithOk();
            return;
        }
        watchControl(w->Panel_Farbe);
        watchFromNs = MonotonicNs();
        w->StartClick();
    });
    ScreenWatch watch;
    // The sequence is over when the answer panels show; once the last colour has left the
    // screen, closing the window ends it.
    const QMetaObject::Connection answered =
        QObject::connect(&w->Timer2, &PhaseTimer::timeout, w, [w, &watch] {
            if (!w->isAnswering())
                return;
            const qint64 endNs = MonotonicNs();
            QTimer::singleShot(0, w, [w, &watch, endNs] {
                if (observer)
                    waitUntil([&watch, endNs] { return watch.changedAfter(endNs); }, 5000);
                w->CloseWithOk();
            });
        });
    QTimer overrun;
    overrun.setSingleShot(true);
    QObject::connect(&overrun, &QTimer::timeout, w, [w] {
        progress(QStringLiteral("the colour sequence overran its time"));
        w->CloseWithOk();
    });
    overrun.start(2 * colours * 2 * ms + 30000);
    w->ShowModal();
    QObject::disconnect(answered);
    const QList<ScreenRecord> frames = watch.finish(ScreenRecord::Frame);
    if (!ready)
        return;
    bool firstPause = true;
    for (const PhaseRecord &phase : probe.phases) {
        if (phase.startNs < watchFromNs)
            continue;
        if (phase.timer == &w->Timer2) {
            display.add(ms, phase.startNs, phase.endNs, frames);
        } else if (firstPause) {
            firstPause = false;
        } else {
            pause.add(ms, phase.startNs, phase.endNs, frames);
        }
    }
}

void measureColours()
{
    Figures allScreenErrors;
    const QList<QPair<int, int>> cases = {{100, 12}, {1000, 8}, {5000, 4}};
    for (const auto &[ms, colours] : cases) {
        ScreenPhaseFigures display;
        ScreenPhaseFigures pause;
        measureColoursOnScreen(ms, colours, display, pause);
        addScreenPhaseRows(QStringLiteral("colours: display %1 ms").arg(ms), display);
        addScreenPhaseRows(QStringLiteral("colours: pause %1 ms").arg(ms), pause);
        allScreenErrors.add(display.screenErrorMs);
        allScreenErrors.add(pause.screenErrorMs);
    }
    addScreenGoal(QStringLiteral("colours on screen, 100 ms to 5 s: median |error| <= 2 ms, "
                                 "max <= 5 ms"),
                  allScreenErrors);
}

// ---- billiards ----

// The machine's own wake-up noise: a bare precise timer doing nothing, for `seconds`.
Figures bareTimerIntervals(int intervalMs, int seconds)
{
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(intervalMs);
    QEventLoop loop;
    QList<qint64> ticks;
    const qint64 endNs = MonotonicNs() + qint64(seconds) * 1000000000;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = MonotonicNs();
        ticks.append(now);
        if (now > endNs)
            loop.quit();
    });
    timer.start();
    loop.exec();
    return IntervalsMs(ticks);
}

void selectSpeed(int speed)
{
    QComboBox *list = Form_MuW->Edit_Speed;
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).toInt() == speed)
            list->setCurrentIndex(i);
    }
}

struct BallRun
{
    QList<qint64> ticksNs;
    QList<qint64> repaintsNs;
    quint64 steps = 0;
    double seconds = 0;
    int timerIntervalMs = 0;
};

// Keeps one shot running for `seconds` at the speed chosen in the settings window: the target
// out of the ball's way, and a new shot should a fresh table have been laid.
BallRun runBall(int speed, int seconds)
{
    BallRun run;
    selectSpeed(speed);
    CushionCount = 9;
    QTimer keeper;
    keeper.setInterval(20);
    const auto keepShotRunning = [] {
        BilliardTable &t = Form_Billard->table();
        t.targetCentre = QPointF(t.targetRadius, t.targetRadius);
        if (BilliardShotRunning)
            return;
        t.ballCentre = QPointF(t.width / 2.0, t.height - t.ballRadius - 10);
        Form_Billard->PaintBox1MouseDown(t.width - 1, int(t.ballCentre.y()));
    };
    QObject::connect(&keeper, &QTimer::timeout, keepShotRunning);
    QMetaObject::Connection counter;
    qint64 startNs = 0;
    quint64 stepsAtStart = 0;
    QTimer::singleShot(0, Form_Billard, [&] {
        if (!waitUntil([] { return isExposed(Form_Billard); }, 10000) && observer)
            progress(QStringLiteral("billiards window not on the screen"));
        if (observer && !observer->send(QStringLiteral("repaints %1").arg(Form_Billard->winId())))
            progress(QStringLiteral("observer: %1").arg(observer->failure()));
        keeper.start();
        keepShotRunning();
        run.timerIntervalMs = Form_Billard->Timer2.interval();
        startNs = MonotonicNs();
        stepsAtStart = Form_Billard->ballSteps();
        // Whichever timer class drives the ball, its timeout is one step.
        using BallTimer = std::remove_reference_t<decltype(Form_Billard->Timer2)>;
        counter = QObject::connect(&Form_Billard->Timer2, &BallTimer::timeout,
                                   [&] { run.ticksNs.append(MonotonicNs()); });
        QTimer::singleShot(seconds * 1000, Form_Billard, [&] {
            run.steps = Form_Billard->ballSteps() - stepsAtStart;
            run.seconds = double(MonotonicNs() - startNs) / 1e9;
            keeper.stop();
            Form_Billard->Timer2.stop();
            BilliardShotRunning = 0;
            Form_Billard->CloseWithOk();
        });
    });
    const QSize screen = Form_Billard->screen()->availableGeometry().size();
    Form_Billard->setShownMaximized(false);
    Form_Billard->resize(QSize(1280, 960).boundedTo(screen));
    Form_Billard->ShowModal();
    QObject::disconnect(counter);
    for (const ScreenRecord &record : ScreenWatch().finish(ScreenRecord::Repaint)) {
        if (record.ns >= startNs)
            run.repaintsNs.append(record.ns);
    }
    return run;
}

void measureBall()
{
    constexpr int Seconds = 10;
    constexpr double FloorMs = 15.625;
    for (int speed : {100, 50}) {
        progress(QStringLiteral("billiards at speed %1").arg(speed));
        const BallRun run = runBall(speed, Seconds);
        const Figures ticks = IntervalsMs(run.ticksNs);
        const Figures repaints = IntervalsMs(run.repaintsNs);
        const double rate = run.seconds > 0 ? double(run.steps) / run.seconds : 0;
        printRow(QStringLiteral("billiards at speed %1: ball steps per second (%2 s)")
                     .arg(speed)
                     .arg(Seconds),
                 QString::number(rate, 'f', 0), QStringLiteral("1/s"));
        const QString label =
            QStringLiteral("billiards at speed %1 (timer %2 ms): step interval, med / p99 / max")
                .arg(speed)
                .arg(run.timerIntervalMs);
        addScreenRow(label, ticks.spreadSummary(),
                     observer ? repaints.spreadSummary() : noScreenFigure(), QStringLiteral("ms"));
        const Figures bare = bareTimerIntervals(std::max(1, run.timerIntervalMs), Seconds);
        addScreenRow(QStringLiteral("baseline: bare %1 ms PreciseTimer, interval, med / p99 / max")
                         .arg(std::max(1, run.timerIntervalMs)),
                     bare.spreadSummary(), QStringLiteral("-"), QStringLiteral("ms"));
        if (speed == 100) {
            addGoal(QStringLiteral("billiards at speed 100: step interval median within 0.5 ms of "
                                   "15.625 ms, p99 <= 20 ms"),
                    QStringLiteral("median %1, p99 %2 ms")
                        .arg(ticks.median(), 0, 'f', 3)
                        .arg(ticks.percentile(99), 0, 'f', 2),
                    ticks.isEmpty() ? std::nullopt
                                    : std::optional(std::abs(ticks.median() - FloorMs) <= 0.5 &&
                                                    ticks.percentile(99) <= 20));
        }
    }
}

// ---- pins ----

void measurePins()
{
    Form_Prgr->setWindowState(Qt::WindowNoState);
    Form_Prgr->show();
    Form_Prgr->PaintBox1->setFixedSize(1920, 1080);
    QApplication::processEvents();
    Form_Prgr->Timer1.stop();
    Figures perPin;
    for (int round = 0; round < 20; ++round) {
        for (int pin = 0; pin < 13; ++pin) {
            const qint64 start = MonotonicNs();
            Form_Prgr->DrawPin(pin, pin == 0);
            perPin.add(double(MonotonicNs() - start) / 1e6);
        }
    }
    Form_Prgr->Timer1.stop();
    printRow(QStringLiteral("pins: one DrawPin at a 1920 x 1080 drawing area"), perPin.summary(3),
             QStringLiteral("ms"));
    Form_Prgr->hide();
    addGoal(QStringLiteral("DrawPin < 2 ms at 1920 x 1080 (median)"),
            QStringLiteral("median %1 ms").arg(perPin.median(), 0, 'f', 3),
            perPin.isEmpty() ? std::nullopt : std::optional(perPin.median() < 2));
}

// ---- output ----

void printScreenTable()
{
    std::printf("\n## What the player sees\n\n");
    if (observer) {
        std::printf("Seen by a second X client (bench/observer.cpp, %s priority) through the X "
                    "server's damage events, on the same CLOCK_MONOTONIC as the handler figures "
                    "of the same phases.\n\n",
                    qPrintable(observer->priority()));
    } else {
        std::printf("No observer: %s. Run `make bench` for the on-screen figures.\n\n",
                    qPrintable(observerMissing));
    }
    std::printf("| %-74s | %-26s | %-30s | %-4s |\n", "figure (min / median / max unless named)",
                "handler", "on screen", "unit");
    std::printf("|%s|%s|%s|%s|\n", QByteArray(76, '-').constData(), QByteArray(28, '-').constData(),
                QByteArray(32, '-').constData(), QByteArray(6, '-').constData());
    if (observer) {
        addScreenRow(QStringLiteral("observer: damage noted after the server's stamp, "
                                    "med / p99 / max"),
                     QStringLiteral("-"), deliveryDelays.spreadSummary(), QStringLiteral("ms"));
    }
    for (const ScreenRow &row : screenRows) {
        std::printf("| %-74s | %-26s | %-30s | %-4s |\n", qPrintable(row.what),
                    qPrintable(row.handler), qPrintable(row.screen), qPrintable(row.unit));
    }
}

void printGoalTable()
{
    std::printf("\n## Goals in this run\n\n| %-86s | %-36s | %-12s |\n", "goal", "figure",
                "verdict");
    std::printf("|%s|%s|%s|\n", QByteArray(88, '-').constData(), QByteArray(38, '-').constData(),
                QByteArray(14, '-').constData());
    for (const GoalRow &row : goalRows) {
        std::printf("| %-86s | %-36s | %-12s |\n", qPrintable(row.goal), qPrintable(row.figure),
                    qPrintable(row.verdict));
    }
    std::printf("\n");
    std::fflush(stdout);
}

std::unique_ptr<ObserverLink> startObserver()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        observerMissing = QStringLiteral("platform %1 has no X server to watch")
                              .arg(QGuiApplication::platformName());
        return nullptr;
    }
    const QString program =
        QCoreApplication::applicationDirPath() + QStringLiteral("/mentaro_observer");
    if (!QFileInfo(program).isExecutable()) {
        observerMissing = QStringLiteral("mentaro_observer was not built (X11 headers missing)");
        return nullptr;
    }
    auto link = std::make_unique<ObserverLink>();
    if (!link->start(program)) {
        observerMissing = link->failure();
        return nullptr;
    }
    return link;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--startup-child") == 0)
        return runStartupChild(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--journal-child") == 0)
        return runJournalChild(argc, argv);
    // A session has one; without it Qt warns at every start of a child.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));

    // The games played here go into a journal of their own, never the player's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));

    MentaroApplication app(argc, argv);
    QTemporaryDir dir;
    prepareWorkingDirectory(dir);
    MessageBoxes::answerForTests([](MessageBoxes::Kind, const QString &) { return false; });
    const std::unique_ptr<ObserverLink> link = startObserver();
    observer = link.get();

    const QSize screen = QGuiApplication::primaryScreen()->size();
    std::printf("# Mentaro benchmark\n\n%s; %s, %d cores; Qt %s; platform %s, screen %d x %d\n\n"
                "Load average (1 / 5 / 15 min) at the start: %s\n\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(cpuModel()), int(sysconf(_SC_NPROCESSORS_ONLN)), qVersion(),
                qPrintable(QGuiApplication::platformName()), screen.width(), screen.height(),
                qPrintable(loadAverage()));
    std::printf("| %-62s | %-28s | %-6s |\n", "figure", "min / median / max", "unit");
    std::printf("|%s|%s|%s|\n", QByteArray(64, '-').constData(), QByteArray(30, '-').constData(),
                QByteArray(8, '-').constData());

    const QStringList args = QCoreApplication::arguments().mid(1);
    auto wanted = [&args](const char *section) {
        return args.isEmpty() || args.contains(QLatin1String(section));
    };
    // Installed once, for every launch of the real program.
    QTemporaryDir prefix;
    std::optional<LaunchTarget> target;
    if (observer && (wanted("startup") || wanted("journal")))
        target = prepareLaunchTarget(QCoreApplication::applicationDirPath(), prefix.path());
    if (wanted("startup")) {
        progress(QStringLiteral("start-up in a child process"));
        const StartupFigures inProcess = measureStartup(QCoreApplication::applicationFilePath());
        const LaunchFigures onScreen =
            target ? measureInstalledStartup(inProcess, *target)
                   : measureInstalledStartup(inProcess, LaunchTarget{});
        measureFloor(inProcess, onScreen);
    }
    if (wanted("journal"))
        measureJournal(target);

    Mentaro::CreateWindows();
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
    const double windowsMb = peakResidentMegabytes();
    printRow(QStringLiteral("peak RSS after all 13 windows exist"),
             QString::number(windowsMb, 'f', 1), QStringLiteral("MB"));

    setFactors(3, 1);
    playGame([] { return false; });
    const double gameMb = peakResidentMegabytes();
    printRow(QStringLiteral("peak RSS after one whole game"), QString::number(gameMb, 'f', 1),
             QStringLiteral("MB"));
    addGoal(QStringLiteral("peak RSS < 60 MB after a whole game"),
            QStringLiteral("%1 MB").arg(gameMb, 0, 'f', 1), gameMb < 60);
    addGoal(
        QStringLiteral("peak RSS after a whole game not above 43 MB (before the start-up work)"),
        QStringLiteral("%1 MB").arg(gameMb, 0, 'f', 1), gameMb <= 43);

    if (wanted("pins"))
        measurePins();
    if (wanted("ball"))
        measureBall();
    if (wanted("phases"))
        measurePhases();
    if (wanted("colours"))
        measureColours();

    std::printf("\nLoad average (1 / 5 / 15 min) at the end: %s\n", qPrintable(loadAverage()));
    printScreenTable();
    printGoalTable();

    JournalKeeping::Close();
    Mentaro::DestroyWindows();
    return 0;
}

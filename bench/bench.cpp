// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how exactly the program keeps its times, how fast it starts and how small it stays.
// Each figure is min / median / max over repeated runs on this machine; nothing here fails.
#include "common/MessageBoxes.h"
#include "common/SharedState.h"
#include "disturbance/Billard.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"
#include "results/Zeigen.h"
#include "shell/Kr_progr.h"
#include "shell/Mentaro.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

struct Figures
{
    QList<double> values;
    void add(double v) { values.append(v); }
    QString summary(int decimals = 2) const
    {
        if (values.isEmpty())
            return QStringLiteral("-");
        QList<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const qsizetype n = sorted.size();
        const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        return QStringLiteral("%1 / %2 / %3")
            .arg(sorted.first(), 0, 'f', decimals)
            .arg(median, 0, 'f', decimals)
            .arg(sorted.last(), 0, 'f', decimals);
    }
    QString absoluteSummary(int decimals = 2) const
    {
        Figures magnitudes;
        for (double v : values)
            magnitudes.add(std::abs(v));
        return magnitudes.summary(decimals);
    }
};

void printRow(const QString &what, const QString &figures, const QString &unit)
{
    std::printf("| %-62s | %-28s | %-6s |\n", qPrintable(what), qPrintable(figures),
                qPrintable(unit));
    std::fflush(stdout);
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

// Milliseconds since the kernel started this process (clock-tick resolution, 10 ms).
double millisecondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

void prepareWorkingDirectory(QTemporaryDir &dir)
{
    QDir::setCurrent(dir.path());
    QFile capitals(QStringLiteral("Hauptsta.FKL"));
    capitals.open(QIODevice::WriteOnly);
}

// ---- start-up (runs in a child process of its own) ----

int runStartupChild(int argc, char **argv)
{
    MentaroApplication app(argc, argv);
    QTemporaryDir dir;
    prepareWorkingDirectory(dir);
    Mentaro::InstallGermanTranslation(app);
    Mentaro::CreateWindows();
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
    double firstFrame = -1;
    struct FirstPaint : QObject
    {
        double *result = nullptr;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint && *result < 0) {
                *result = millisecondsSinceProcessStart();
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
            return false;
        }
    } filter;
    filter.result = &firstFrame;
    Form_Prgr->PaintBox1->installEventFilter(&filter);
    Form_Prgr->show();
    QApplication::exec();
    std::printf("%.1f %.1f\n", firstFrame, peakResidentMegabytes());
    Mentaro::DestroyWindows();
    return 0;
}

void measureStartup(const QString &self)
{
    Figures firstFrame;
    for (int i = 0; i < 7; ++i) {
        QProcess child;
        child.start(self, {QStringLiteral("--startup-child")});
        child.waitForFinished(30000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() == 2)
            firstFrame.add(parts[0].toDouble());
    }
    printRow(QStringLiteral("start-up: process start to first frame of the main window"),
             firstFrame.summary(1), QStringLiteral("ms"));
}

// ---- phase accuracy ----

struct PhaseErrors
{
    Figures program;
    Figures coarse;
    Figures precise;
};

// Measures every phase the program times, and beside each a plain default QTimer and a single
// precise QTimer started at the same moment with the same interval. The program's phase counts
// until its timeout handler has run, that is until the next phase is on the screen.
class PhaseProbe : public QObject
{
public:
    QMap<int, PhaseErrors> errors; // by nominal length

    void watch(PhaseTimer &timer)
    {
        connect(&timer, &PhaseTimer::started, this, [this, &timer] { begin(timer); });
        connect(&timer, &PhaseTimer::timeout, this, [this, &timer] {
            const Running running = m_running.take(&timer);
            if (running.nominal > 0)
                errors[running.nominal].program.add(running.clock.nsecsElapsed() / 1e6 -
                                                    running.nominal);
        });
    }
    qsizetype samples(int nominal) const { return errors.value(nominal).program.values.size(); }

private:
    struct Running
    {
        int nominal = 0;
        QElapsedTimer clock;
    };

    void begin(PhaseTimer &timer)
    {
        Running running;
        running.nominal = timer.interval();
        running.clock.start();
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
                .add(running.clock.nsecsElapsed() / 1e6 - running.nominal);
            timer->deleteLater();
        });
        timer->start(running.nominal);
    }

    QHash<PhaseTimer *, Running> m_running;
};

void setFactors(int level, int factor)
{
    Form_MuW->Edit_S_MuW->setEditText(QStringLiteral("%1").arg(level, 2, 10, QLatin1Char('0')));
    const QString factorText = QStringLiteral("%1").arg(factor, 3, 10, QLatin1Char('0'));
    Form_MuW->Edit_Zeitfaktor_Vorgaben->setEditText(factorText);
    Form_MuW->Edit_Zeitfaktor_Warten->setEditText(factorText);
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

// Plays one real game, answering each round as soon as the input field shows, until
// `finished` says so; then the time limit ends it.
void playGame(
    const std::function<bool()> &finished, const std::function<void()> &beforeAnswer = [] {})
{
    TForm_MuW_Zahlen *w = Form_MuW_Zahlen;
    QTimer driver;
    driver.setInterval(2);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (!w->isVisible())
            return;
        if (finished()) {
            RemainingSeconds = 1;
            Form_MuW->Timer_GesamtZeitTimer();
            return;
        }
        if (w->Edit_Wiedergeben->isHidden() || !IsGameRound(RoundNumber))
            return;
        beforeAnswer();
        typeBack(w->Edit_Wiedergeben);
    });
    QTimer resultCloser;
    resultCloser.setInterval(5);
    QObject::connect(&resultCloser, &QTimer::timeout, [] { Form_zeigen->CloseWithOk(); });
    driver.start();
    resultCloser.start();
    w->StartGame();
    Form_MuW->StopOverallTime();
}

void setFactorText(QComboBox *list, int factor)
{
    list->setEditText(QStringLiteral("%1").arg(factor, 3, 10, QLatin1Char('0')));
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
             e.program.absoluteSummary(), QStringLiteral("ms"));
}

void measurePhases()
{
    PhaseProbe probe;
    probe.watch(Form_MuW_Zahlen->Timer_MuW_Merken);
    probe.watch(Form_MuW_Zahlen->Timer_MuW_Warten);
    // Level 1 starts with 3 digits: round 1's memorise and waiting phases last factor x 30 ms.
    const QList<QPair<int, qsizetype>> shortCases = {{30, 12}, {300, 12}, {2400, 8}, {9600, 4}};
    for (const auto &[nominal, wanted] : shortCases) {
        setFactors(1, nominal / 30);
        while (probe.samples(nominal) < wanted)
            playGame([&] { return RoundNumber > 1 || probe.samples(nominal) >= wanted; });
        printPhaseRows(probe, nominal);
    }
    // 48 s needs 12 symbols at factor 400: level 15 reaches them in round 3. The factors are
    // read when a phase starts, so the earlier phases run short.
    setFactors(15, 1);
    playGame([&] { return probe.samples(48000) >= 2; },
             [] {
                 if (RoundNumber == 2)
                     setFactorText(Form_MuW->Edit_Zeitfaktor_Warten, 400);
                 if (RoundNumber == 3) {
                     setFactorText(Form_MuW->Edit_Zeitfaktor_Vorgaben, 400);
                     setFactorText(Form_MuW->Edit_Zeitfaktor_Warten, 1);
                 }
             });
    printPhaseRows(probe, 48000);
}

// ---- billiards ----

// The machine's own wake-up noise: a bare 1 ms precise timer doing nothing, for 5 s.
double longestGapOfBareTimer()
{
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    QEventLoop loop;
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longest = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0)
            longest = std::max(longest, now - last);
        last = now;
        if (now > 5000000000LL)
            loop.quit();
    });
    clock.start();
    timer.start();
    loop.exec();
    return longest / 1e6;
}

void measureBall()
{
    Figures rates;
    Figures gaps;
    TaskTimerInterval = 1;
    CushionCount = 9;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer clock;
        QList<qint64> tickTimes;
        quint64 stepsAtStart = 0;
        quint64 stepsAtEnd = 0;
        QMetaObject::Connection counter;
        // Keeps one shot running: the target out of the ball's way, and a new shot should a
        // fresh table have been laid.
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
        QTimer::singleShot(0, Form_Billard, [&] {
            keeper.start();
            keepShotRunning();
            clock.start();
            stepsAtStart = Form_Billard->ballSteps();
            counter = QObject::connect(&Form_Billard->Timer2, &QTimer::timeout,
                                       [&] { tickTimes.append(clock.nsecsElapsed()); });
            QTimer::singleShot(5000, Form_Billard, [&] {
                stepsAtEnd = Form_Billard->ballSteps();
                tickTimes.append(clock.nsecsElapsed());
                keeper.stop();
                Form_Billard->Timer2.stop();
                BilliardShotRunning = 0;
                Form_Billard->CloseWithOk();
            });
        });
        Form_Billard->setShownMaximized(false);
        Form_Billard->resize(1280, 960);
        Form_Billard->ShowModal();
        QObject::disconnect(counter);
        if (tickTimes.size() < 2)
            continue;
        rates.add(double(stepsAtEnd - stepsAtStart) / (tickTimes.last() / 1e9));
        // The gaps between the timer's ticks; the first tick comes with the window's first paint.
        qint64 longest = 0;
        for (qsizetype i = 2; i < tickTimes.size(); ++i)
            longest = std::max(longest, tickTimes[i] - tickTimes[i - 1]);
        gaps.add(longest / 1e6);
    }
    printRow(QStringLiteral("billiards at speed 100: ball steps per second (5 s)"),
             rates.summary(0), QStringLiteral("1/s"));
    printRow(QStringLiteral("billiards at speed 100: longest gap between two timer ticks"),
             gaps.summary(2), QStringLiteral("ms"));
    Figures bare;
    for (int run = 0; run < 3; ++run)
        bare.add(longestGapOfBareTimer());
    printRow(QStringLiteral("baseline: bare 1 ms PreciseTimer, longest gap (5 s)"), bare.summary(2),
             QStringLiteral("ms"));
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
            QElapsedTimer clock;
            clock.start();
            Form_Prgr->DrawPin(pin, pin == 0);
            perPin.add(clock.nsecsElapsed() / 1e6);
        }
    }
    Form_Prgr->Timer1.stop();
    printRow(QStringLiteral("pins: one DrawPin at a 1920 x 1080 drawing area"), perPin.summary(3),
             QStringLiteral("ms"));
    Form_Prgr->hide();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && qstrcmp(argv[1], "--startup-child") == 0)
        return runStartupChild(argc, argv);

    MentaroApplication app(argc, argv);
    QTemporaryDir dir;
    prepareWorkingDirectory(dir);
    MessageBoxes::answerForTests([](MessageBoxes::Kind, const QString &) { return false; });

    std::printf("# Mentaro benchmark\n\n%s, %d cores, Qt %s, platform %s\n\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                int(sysconf(_SC_NPROCESSORS_ONLN)), qVersion(),
                qPrintable(QGuiApplication::platformName()));
    std::printf("| %-62s | %-28s | %-6s |\n", "figure", "min / median / max", "unit");
    std::printf("|%s|%s|%s|\n", QByteArray(64, '-').constData(), QByteArray(30, '-').constData(),
                QByteArray(8, '-').constData());

    const QStringList args = QCoreApplication::arguments().mid(1);
    auto wanted = [&args](const char *section) {
        return args.isEmpty() || args.contains(QLatin1String(section));
    };
    if (wanted("startup"))
        measureStartup(QCoreApplication::applicationFilePath());

    Mentaro::CreateWindows();
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
    printRow(QStringLiteral("peak RSS after all 13 windows exist"),
             QString::number(peakResidentMegabytes(), 'f', 1), QStringLiteral("MB"));

    setFactors(3, 1);
    playGame([] { return false; });
    printRow(QStringLiteral("peak RSS after one whole game"),
             QString::number(peakResidentMegabytes(), 'f', 1), QStringLiteral("MB"));

    if (wanted("pins"))
        measurePins();
    if (wanted("ball"))
        measureBall();
    if (wanted("phases"))
        measurePhases();

    Mentaro::DestroyWindows();
    return 0;
}

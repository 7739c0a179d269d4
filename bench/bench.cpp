// SPDX-License-Identifier: GPL-3.0-or-later
// Prints how exactly the program keeps its times, how fast it starts and how small it stays.
// Figures are min / median / max over repeated runs on this machine; nothing here fails.
#include "common/SharedState.h"
#include "shell/Kr_progr.h"
#include "shell/Mentaro.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
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
        const double median = sorted.size() % 2
                                  ? sorted[sorted.size() / 2]
                                  : (sorted[sorted.size() / 2 - 1] + sorted[sorted.size() / 2]) / 2;
        return QStringLiteral("%1 / %2 / %3")
            .arg(sorted.first(), 0, 'f', decimals)
            .arg(median, 0, 'f', decimals)
            .arg(sorted.last(), 0, 'f', decimals);
    }
};

void printRow(const QString &what, const QString &figures, const QString &unit)
{
    std::printf("| %-58s | %-26s | %-5s |\n", qPrintable(what), qPrintable(figures),
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

// Milliseconds since this process was started by the kernel.
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
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// How late a plain timer of the given type ends, in ms (negative: early).
double timerError(Qt::TimerType type, int nominalMs)
{
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(type);
    QEventLoop loop;
    QElapsedTimer clock;
    double measured = 0;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        measured = clock.nsecsElapsed() / 1e6;
        loop.quit();
    });
    clock.start();
    timer.start(nominalMs);
    loop.exec();
    return measured - nominalMs;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    MentaroApplication app(argc, argv);
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    QFile capitals(QStringLiteral("Hauptsta.FKL"));
    capitals.open(QIODevice::WriteOnly);
    capitals.close();

    std::printf("| %-58s | %-26s | %-5s |\n", "figure", "min / median / max", "unit");
    std::printf("|%s|%s|%s|\n", QByteArray(60, '-').constData(), QByteArray(28, '-').constData(),
                QByteArray(7, '-').constData());

    Mentaro::CreateWindows();
    CapitalsBuffer = QByteArray(CapitalsBufferSize, '\0');
    printRow(QStringLiteral("peak RSS after all 13 windows exist"),
             QString::number(peakResidentMegabytes(), 'f', 1), QStringLiteral("MB"));

    Figures coarse;
    Figures precise;
    for (int i = 0; i < 5; ++i) {
        coarse.add(timerError(Qt::CoarseTimer, 300));
        precise.add(timerError(Qt::PreciseTimer, 300));
    }
    printRow(QStringLiteral("300 ms: plain QTimer (coarse), error"), coarse.summary(),
             QStringLiteral("ms"));
    printRow(QStringLiteral("300 ms: single precise QTimer, error"), precise.summary(),
             QStringLiteral("ms"));

    Mentaro::DestroyWindows();
    return 0;
}

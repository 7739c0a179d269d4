// SPDX-License-Identifier: GPL-3.0-or-later
// The one source of random numbers and of the clock.
#include "common/RandomClock.h"

#include <QElapsedTimer>

#include <optional>
#include <random>

namespace RandomClock {
namespace {
std::mt19937 generator{1};
std::optional<quint32> fixedSeed;
quint32 reseedCount = 0;
QDateTime fixedNow;
qint64 fixedMonotonicNsecs = -1;
} // namespace

void Randomize()
{
    // Under a fixed seed successive reseeds still differ, as they would with a running clock.
    const quint32 seed =
        fixedSeed ? *fixedSeed + reseedCount++ : quint32(now().time().msecsSinceStartOfDay());
    generator.seed(seed);
}

int Random(int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(generator);
}

void useFixedSeed(quint32 seed)
{
    fixedSeed = seed;
    reseedCount = 0;
    generator.seed(seed);
}

void useFixedNow(const QDateTime &moment)
{
    fixedNow = moment;
}

QDateTime now()
{
    return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTime();
}

qint64 monotonicNsecs()
{
    if (fixedMonotonicNsecs >= 0)
        return fixedMonotonicNsecs;
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.nsecsElapsed();
}

void useFixedMonotonicNsecs(qint64 nsecs)
{
    fixedMonotonicNsecs = nsecs;
}

QString shortDateText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("dd.MM.yyyy"));
}

QString longTimeText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace RandomClock

// SPDX-License-Identifier: GPL-3.0-or-later
// The one source of random numbers and of the clock.
#include "common/RandomClock.h"

#include <chrono>
#include <optional>
#include <random>

namespace RandomClock {
namespace {
std::mt19937 generator{1};
std::optional<quint32> fixedSeed;
quint32 reseedCount = 0;
QDateTime fixedNow;
qint64 fixedSteadyNs = -1;
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

qint64 steadyNs()
{
    if (fixedSteadyNs >= 0)
        return fixedSteadyNs;
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(sinceStart).count();
}

void useFixedSteadyNs(qint64 ns)
{
    fixedSteadyNs = ns < 0 ? -1 : ns;
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The one source of random numbers and of the clock.
#pragma once

#include <QDateTime>
#include <QString>

// The one source of randomness and of the wall clock, so tests can make both deterministic.
namespace RandomClock {

// Seeds the generator from the time of day in milliseconds (or from the fixed test seed).
void Randomize();
// An integer 0 .. n - 1; 0 when n <= 0.
int Random(int n);

// Tests: later Randomize() calls reseed with seed, seed + 1, ... instead of the clock.
void useFixedSeed(quint32 seed);
// Tests: the clock returns this moment instead of the real one; an invalid value restores it.
void useFixedNow(const QDateTime &now);

QDateTime now();

// A clock that only moves forward, in nanoseconds from an arbitrary start: what phases and the
// billiards ball measure their time with.
qint64 steadyNs();
// Tests: the steady clock stands at ns until it is set again; a negative value lets it run.
void useFixedSteadyNs(qint64 ns);
// "dd.MM.yyyy", whatever the machine's locale.
QString shortDateText(const QDateTime &moment = now());
// "HH:mm:ss", whatever the machine's locale.
QString longTimeText(const QDateTime &moment = now());

} // namespace RandomClock

using RandomClock::Random;
using RandomClock::Randomize;

// SPDX-License-Identifier: GPL-3.0-or-later
// The moments of the program's start-up on the steady clock, for the benchmark's breakdown.
#include "common/StartupTimes.h"

#include "common/RandomClock.h"

#include <algorithm>
#include <array>

namespace StartupTimes {
namespace {
std::array<std::optional<qint64>, std::size_t(Step::Count)> marks;

std::size_t indexOf(Step step)
{
    return std::min(std::size_t(step), marks.size() - 1);
}
} // namespace

void Mark(Step step)
{
    if (step == Step::Count)
        return;
    std::optional<qint64> &mark = marks[indexOf(step)];
    if (!mark)
        mark = RandomClock::steadyNs();
}

std::optional<qint64> MarkOf(Step step)
{
    return step == Step::Count ? std::nullopt : marks[indexOf(step)];
}

void Clear()
{
    marks.fill(std::nullopt);
}

} // namespace StartupTimes

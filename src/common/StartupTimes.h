// SPDX-License-Identifier: GPL-3.0-or-later
// The moments of the program's start-up on the steady clock, for the benchmark's breakdown.
#pragma once

#include <QtGlobal>

#include <optional>

namespace StartupTimes {

// The steps of the start-up, in the order the program passes them.
enum class Step
{
    Main,          // the program's own code begins: libraries loaded, statics built
    Application,   // the application object exists
    Prepared,      // German translation, window icon, data folder
    CapitalsStart, // the main window begins writing and reading the capitals file
    CapitalsEnd,
    MainWindow, // the main window exists
    FirstPaint, // the main window's drawing area is painted the first time
    Windows,    // all thirteen windows exist
    Count
};

// Notes the steady clock's moment of a step; a step passed again keeps its first moment.
void Mark(Step step);
// The moment noted for a step, in nanoseconds of the steady clock.
std::optional<qint64> MarkOf(Step step);
// Tests and the benchmark: forgets every moment.
void Clear();

} // namespace StartupTimes

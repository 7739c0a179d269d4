// SPDX-License-Identifier: GPL-3.0-or-later
// How long ago the kernel started this process: the clock of the in-process start-up figures.
#pragma once

// Milliseconds since the kernel started this process (clock-tick resolution, 10 ms).
double MillisecondsSinceProcessStart();

// SPDX-License-Identifier: GPL-3.0-or-later
// Rounding and integer division as the program computes them.
#include "common/Numbers.h"

#include <cmath>

int RoundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return int(std::nearbyint(value));
}

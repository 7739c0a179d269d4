// SPDX-License-Identifier: GPL-3.0-or-later
// Rounding and integer division as the program computes them.
#pragma once

// "Rounded": to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);
// "div": integer division truncating toward zero (C++'s own / on int).
constexpr int Div(int a, int b)
{
    return a / b;
}
// "mod" matching Div.
constexpr int Mod(int a, int b)
{
    return a % b;
}

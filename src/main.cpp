// SPDX-License-Identifier: GPL-3.0-or-later
// The executable: runs the program.
#include "shell/Mentaro.h"

int main(int argc, char **argv)
{
    return Mentaro::Run(argc, argv);
}

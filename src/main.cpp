// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Mentaro.h"

int main(int argc, char **argv)
{
    return Mentaro::Run(argc, argv);
}

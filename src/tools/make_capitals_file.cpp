// SPDX-License-Identifier: GPL-3.0-or-later
// Build step: writes the capitals file that the program expects in its working directory.
#include "disturbance/Hauptsta.h"

#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_capitals_file FILE\n");
        return 2;
    }
    FillCapitalsTable();
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray bytes = CapitalsTableBytes();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

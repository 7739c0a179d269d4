// SPDX-License-Identifier: GPL-3.0-or-later
#include "disturbance/Hauptsta.h"

void FillCapitalsTable()
{
}

void WriteAndReadCapitalsFile()
{
}

void LoadCapitalsBuffer()
{
}

QByteArray CapitalsTableBytes()
{
    return QByteArray(CapitalRecordSize * CapitalRecordCount, '\0');
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Length-prefixed texts of a fixed capacity in the Windows-1252 code page.
#include "common/ShortString.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

QByteArray toCp1252(const QString &text)
{
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Default);
    return encoder.encode(text);
}

QString fromCp1252(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252", QStringConverter::Flag::Default);
    return decoder.decode(bytes);
}

void storeShortString(const QString &text, int capacity, char *dest)
{
    const QByteArray bytes = toCp1252(text.left(capacity)).left(capacity);
    std::memset(dest, 0, size_t(capacity) + 1);
    dest[0] = char(quint8(bytes.size()));
    std::memcpy(dest + 1, bytes.constData(), size_t(bytes.size()));
}

QString loadShortString(const char *src, int capacity)
{
    const int length = std::min(int(quint8(src[0])), capacity);
    return fromCp1252(QByteArray(src + 1, length));
}

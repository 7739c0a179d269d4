// SPDX-License-Identifier: GPL-3.0-or-later
// Length-prefixed texts of a fixed capacity in the Windows-1252 code page.
#pragma once

#include <QByteArray>
#include <QString>

// Texts in the program's files are Windows-1252, one byte per character.
QByteArray toCp1252(const QString &text);
QString fromCp1252(const QByteArray &bytes);

// Store and load helpers of ShortString: length byte, then capacity cp1252 bytes.
void storeShortString(const QString &text, int capacity, char *dest);
QString loadShortString(const char *src, int capacity);

// A length-prefixed text of at most N characters (String[N]): longer values are cut to N.
template <int N> class ShortString
{
    static_assert(N >= 1 && N <= 255, "a short string holds 1..255 characters");

public:
    ShortString() = default;
    ShortString(const QString &text) : m_text(text.left(N)) {}
    ShortString(const char *text) : ShortString(QString::fromUtf8(text)) {}

    ShortString &operator=(const QString &text)
    {
        m_text = text.left(N);
        return *this;
    }

    static constexpr int capacity() { return N; }
    const QString &text() const { return m_text; }
    operator const QString &() const { return m_text; }
    int length() const { return int(m_text.size()); }
    bool isEmpty() const { return m_text.isEmpty(); }

    // Writes length byte and N cp1252 bytes (zero-filled) into dest, which holds N + 1 bytes.
    void store(char *dest) const { storeShortString(m_text, N, dest); }
    // Reads a stored value; a length byte larger than N is cut to N.
    static ShortString load(const char *src) { return ShortString(loadShortString(src, N)); }

    friend bool operator==(const ShortString &a, const ShortString &b)
    {
        return a.m_text == b.m_text;
    }
    friend bool operator==(const ShortString &a, const QString &b) { return a.m_text == b; }

private:
    QString m_text;
};

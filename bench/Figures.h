// SPDX-License-Identifier: GPL-3.0-or-later
// A set of measured values and the summaries the benchmark prints of them.
#pragma once

#include <QList>
#include <QString>

class Figures
{
public:
    void add(double value) { m_values.append(value); }
    void add(const Figures &other) { m_values.append(other.m_values); }
    const QList<double> &values() const { return m_values; }
    qsizetype count() const { return m_values.size(); }
    bool isEmpty() const { return m_values.isEmpty(); }

    double minimum() const;
    double maximum() const;
    double median() const;
    // Nearest rank: the smallest value that at least `percent` % of the values do not exceed.
    double percentile(double percent) const;
    // The same values as magnitudes.
    Figures absolute() const;

    // "min / median / max", or "-" without values.
    QString summary(int decimals = 2) const;
    // "median / 99th percentile / max", or "-" without values.
    QString spreadSummary(int decimals = 2) const;

private:
    QList<double> sorted() const;

    QList<double> m_values;
};

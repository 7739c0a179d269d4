// SPDX-License-Identifier: GPL-3.0-or-later
// A set of measured values and the summaries the benchmark prints of them.
#include "Figures.h"

#include <algorithm>
#include <cmath>

QList<double> Figures::sorted() const
{
    QList<double> values = m_values;
    std::sort(values.begin(), values.end());
    return values;
}

double Figures::minimum() const
{
    return m_values.isEmpty() ? 0 : *std::min_element(m_values.begin(), m_values.end());
}

double Figures::maximum() const
{
    return m_values.isEmpty() ? 0 : *std::max_element(m_values.begin(), m_values.end());
}

double Figures::median() const
{
    if (m_values.isEmpty())
        return 0;
    const QList<double> values = sorted();
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Figures::percentile(double percent) const
{
    if (m_values.isEmpty())
        return 0;
    const QList<double> values = sorted();
    const auto rank = qsizetype(std::ceil(percent / 100.0 * double(values.size())));
    return values[std::clamp<qsizetype>(rank, 1, values.size()) - 1];
}

Figures Figures::absolute() const
{
    Figures magnitudes;
    for (double value : m_values)
        magnitudes.add(std::abs(value));
    return magnitudes;
}

QString Figures::summary(int decimals) const
{
    if (m_values.isEmpty())
        return QStringLiteral("-");
    return QStringLiteral("%1 / %2 / %3")
        .arg(minimum(), 0, 'f', decimals)
        .arg(median(), 0, 'f', decimals)
        .arg(maximum(), 0, 'f', decimals);
}

QString Figures::spreadSummary(int decimals) const
{
    if (m_values.isEmpty())
        return QStringLiteral("-");
    return QStringLiteral("%1 / %2 / %3")
        .arg(median(), 0, 'f', decimals)
        .arg(percentile(99), 0, 'f', decimals)
        .arg(maximum(), 0, 'f', decimals);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/PhaseTimer.h"

#include <algorithm>

PhaseTimer::PhaseTimer(QObject *parent) : QObject(parent)
{
    for (QTimer *timer : {&m_leadTimer, &m_finishTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_leadTimer, &QTimer::timeout, this, &PhaseTimer::leadTimerFired);
    connect(&m_finishTimer, &QTimer::timeout, this, &PhaseTimer::finishTimerFired);
}

void PhaseTimer::setInterval(int milliseconds)
{
    ++m_generation;
    m_leadTimer.stop();
    m_finishTimer.stop();
    m_interval = std::max(0, milliseconds);
    if (m_interval == 0)
        return;
    m_clock.start();
    armFor(m_interval);
    emit started();
}

void PhaseTimer::armFor(qint64 deadline)
{
    m_deadline = deadline;
    const qint64 left = m_deadline - m_clock.elapsed();
    if (left > FinishLeadMs)
        m_leadTimer.start(int(left - FinishLeadMs));
    else
        m_finishTimer.start(int(std::max<qint64>(0, left)));
}

void PhaseTimer::leadTimerFired()
{
    m_finishTimer.start(int(std::max<qint64>(0, m_deadline - m_clock.elapsed())));
}

void PhaseTimer::finishTimerFired()
{
    const qint64 left = m_deadline - m_clock.elapsed();
    if (left > 0) {
        // The finishing timer may wake a millisecond early; never end a phase short.
        m_finishTimer.start(int(left));
        return;
    }
    const quint64 generation = m_generation;
    emit timeout();
    // The next period counts from the scheduled end, so a repeating timer does not drift.
    if (generation == m_generation && m_interval > 0)
        armFor(m_deadline + m_interval);
}

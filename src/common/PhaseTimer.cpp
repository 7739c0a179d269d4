// SPDX-License-Identifier: GPL-3.0-or-later
// The timer of the exercise phases and colour sequences, exact to the millisecond.
#include "common/PhaseTimer.h"

#include "common/RandomClock.h"

#include <algorithm>

namespace {
constexpr qint64 NsPerMs = 1000000;
}

PhaseTimer::PhaseTimer(QObject *parent) : QObject(parent)
{
    m_wakeTimer.setSingleShot(true);
    m_wakeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_wakeTimer, &QTimer::timeout, this, &PhaseTimer::wakeUp);
}

void PhaseTimer::setInterval(int milliseconds)
{
    ++m_generation;
    m_wakeTimer.stop();
    m_interval = std::max(0, milliseconds);
    if (m_interval == 0)
        return;
    m_endNs = RandomClock::steadyNs() + m_interval * NsPerMs;
    sleepTowardsTheEnd();
    emit started();
}

int PhaseTimer::wakeUpDelayMs() const
{
    return isActive() && m_wakeTimer.isActive() ? m_wakeTimer.interval() : -1;
}

void PhaseTimer::sleepTowardsTheEnd()
{
    const qint64 leftNs = m_endNs - RandomClock::steadyNs();
    if (leftNs > FinishLeadMs * NsPerMs)
        m_wakeTimer.start(int(leftNs / NsPerMs) - FinishLeadMs);
    else if (leftNs > SpinMs * NsPerMs)
        m_wakeTimer.start(int(leftNs / NsPerMs) - SpinMs);
    else
        m_wakeTimer.start(0);
}

void PhaseTimer::wakeUp()
{
    if (!isActive())
        return;
    if (RandomClock::steadyNs() < m_endNs) {
        // Never end a phase short.
        sleepTowardsTheEnd();
        return;
    }
    const quint64 generation = m_generation;
    emit timeout();
    if (generation != m_generation || m_interval == 0)
        return;
    // The next period counts from the scheduled end, so a repeating timer does not drift.
    m_endNs += m_interval * NsPerMs;
    sleepTowardsTheEnd();
}

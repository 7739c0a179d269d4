// SPDX-License-Identifier: GPL-3.0-or-later
// A timer that keeps the phases of a game to the millisecond.
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

namespace {
constexpr qint64 NsPerMs = 1000000;
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
    armFor(m_interval * NsPerMs);
    emit started();
}

void PhaseTimer::armFor(qint64 deadlineNs)
{
    m_deadlineNs = deadlineNs;
    scheduleRest();
}

void PhaseTimer::scheduleRest()
{
    const qint64 leftNs = m_deadlineNs - m_clock.nsecsElapsed();
    if (leftNs > FinishLeadMs * NsPerMs)
        m_leadTimer.start(int(leftNs / NsPerMs) - FinishLeadMs);
    else if (leftNs > SpinMs * NsPerMs)
        m_finishTimer.start(int(leftNs / NsPerMs) - SpinMs);
    else
        m_finishTimer.start(0);
}

void PhaseTimer::leadTimerFired()
{
    scheduleRest();
}

void PhaseTimer::finishTimerFired()
{
    if (m_clock.nsecsElapsed() < m_deadlineNs) {
        // Never end a phase short.
        scheduleRest();
        return;
    }
    const quint64 generation = m_generation;
    emit timeout();
    // The next period counts from the scheduled end, so a repeating timer does not drift.
    if (generation == m_generation && m_interval > 0)
        armFor(m_deadlineNs + m_interval * NsPerMs);
}

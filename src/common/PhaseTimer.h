// SPDX-License-Identifier: GPL-3.0-or-later
// A timer that keeps the phases of a game to the millisecond.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// A timer for the phases of a game, which must last what the time factor says to the
// millisecond. Qt's coarse timers drift by up to 5 % and precise ones come late by about
// 0.1 % of the interval, so a precise timer runs to shortly before the end and a second one
// finishes the rest, measured against an elapsed-time clock. Timer wake-ups are rounded up
// to whole milliseconds, so the last two milliseconds are waited out by zero-interval ticks,
// which keep the event loop running.
//
// Interval semantics as a window timer: setInterval(0) stops it, a positive interval starts it
// (again) from now; it repeats every interval until stopped.
class PhaseTimer : public QObject
{
    Q_OBJECT

public:
    // How long before the end the second, short timer takes over.
    static constexpr int FinishLeadMs = 50;
    // The stretch before the end that is waited out tick by tick.
    static constexpr int SpinMs = 2;

    explicit PhaseTimer(QObject *parent = nullptr);

    void setInterval(int milliseconds);
    int interval() const { return m_interval; }
    bool isActive() const { return m_interval > 0; }
    void start(int milliseconds) { setInterval(milliseconds); }
    void stop() { setInterval(0); }

signals:
    // A phase began: the timer was (re)started with a positive interval.
    void started();
    void timeout();

private:
    void armFor(qint64 deadlineNs);
    void scheduleRest();
    void leadTimerFired();
    void finishTimerFired();

    int m_interval = 0;
    // Tells a restart inside a timeout handler from a timer that simply goes on.
    quint64 m_generation = 0;
    qint64 m_deadlineNs = 0;
    QElapsedTimer m_clock;
    QTimer m_leadTimer;
    QTimer m_finishTimer;
};

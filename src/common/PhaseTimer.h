// SPDX-License-Identifier: GPL-3.0-or-later
// The timer of the exercise phases and colour sequences, exact to the millisecond.
#pragma once

#include <QObject>
#include <QTimer>

// A phase must last what the time factor says to the millisecond. Qt's coarse timers drift by
// up to 5 % and precise ones come late by about 0.1 % of the interval, so one precise timer
// sleeps until shortly before the end and then once more until just before it, each time
// measured against the steady clock of RandomClock. Timer wake-ups are rounded up to whole
// milliseconds, so the last two milliseconds are waited out by zero-interval ticks, which keep
// the event loop running.
//
// Interval semantics as a window timer: setInterval(0) stops it, a positive interval starts it
// (again) from now; it repeats every interval until stopped.
class PhaseTimer : public QObject
{
    Q_OBJECT

public:
    // How long before the end the second, short sleep begins.
    static constexpr int FinishLeadMs = 50;
    // The stretch before the end that is waited out tick by tick.
    static constexpr int SpinMs = 2;

    explicit PhaseTimer(QObject *parent = nullptr);

    void setInterval(int milliseconds);
    int interval() const { return m_interval; }
    bool isActive() const { return m_interval > 0; }
    void start(int milliseconds) { setInterval(milliseconds); }
    void stop() { setInterval(0); }

    // What the internal timer triggers: ends the phase once the clock has reached its end,
    // otherwise sleeps again towards it. Does nothing while stopped.
    void wakeUp();
    // Milliseconds the timer sleeps before its next wake-up; -1 while stopped.
    int wakeUpDelayMs() const;

signals:
    // A phase began: the timer was (re)started with a positive interval.
    void started();
    void timeout();

private:
    void sleepTowardsTheEnd();

    int m_interval = 0;
    // Tells a restart inside a timeout handler from a timer that simply goes on.
    quint64 m_generation = 0;
    qint64 m_endNs = 0;
    QTimer m_wakeTimer;
};

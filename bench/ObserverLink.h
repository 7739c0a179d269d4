// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark's line-by-line link to the observer, a second X client it starts.
#pragma once

#include "ScreenTimes.h"

#include <QProcess>

#include <optional>

class ObserverLink
{
public:
    ObserverLink() = default;
    ~ObserverLink();
    ObserverLink(const ObserverLink &) = delete;
    ObserverLink &operator=(const ObserverLink &) = delete;

    // Starts the observer program; false (see failure()) when it cannot reach the X server.
    bool start(const QString &program);
    bool isRunning() const;
    // Sends a command and waits until the observer has it in force.
    bool send(const QString &command);
    // Everything seen since the last report; errors of the observer come as Error records.
    QList<ScreenRecord> report();
    QString failure() const { return m_failure; }
    // How the observer is scheduled: "real-time", "raised" or "normal".
    QString priority() const { return m_priority; }

    static constexpr int AnswerTimeoutMs = 10000;

private:
    std::optional<QByteArray> nextLine(int timeoutMs);
    void stop();

    QProcess m_process;
    QByteArray m_pending;
    QString m_failure;
    QString m_priority;
};

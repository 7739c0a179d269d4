// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark's line-by-line link to the observer, a second X client it starts.
#include "ObserverLink.h"

#include <QDeadlineTimer>

#include <algorithm>

ObserverLink::~ObserverLink()
{
    stop();
}

bool ObserverLink::start(const QString &program)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, {});
    if (!m_process.waitForStarted(AnswerTimeoutMs)) {
        m_failure = QStringLiteral("observer %1 did not start").arg(program);
        return false;
    }
    const std::optional<QByteArray> greeting = nextLine(AnswerTimeoutMs);
    if (!greeting || !greeting->startsWith("hello")) {
        m_failure =
            greeting ? QString::fromUtf8(*greeting) : QStringLiteral("observer did not answer");
        stop();
        return false;
    }
    m_priority = QString::fromUtf8(greeting->mid(6));
    return true;
}

bool ObserverLink::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

std::optional<QByteArray> ObserverLink::nextLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const qsizetype end = m_pending.indexOf('\n');
        if (end >= 0) {
            const QByteArray line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            return line;
        }
        if (m_process.state() != QProcess::Running && m_process.bytesAvailable() == 0)
            return std::nullopt;
        if (deadline.hasExpired())
            return std::nullopt;
        if (m_process.bytesAvailable() == 0)
            m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        m_pending += m_process.readAllStandardOutput();
    }
}

bool ObserverLink::send(const QString &command)
{
    if (!isRunning()) {
        m_failure = QStringLiteral("observer not running");
        return false;
    }
    m_process.write(command.toUtf8() + '\n');
    m_process.waitForBytesWritten(AnswerTimeoutMs);
    const std::optional<QByteArray> answer = nextLine(AnswerTimeoutMs);
    if (answer == QByteArray("ready"))
        return true;
    m_failure = answer ? QString::fromUtf8(*answer)
                       : QStringLiteral("observer did not answer \"%1\"").arg(command);
    return false;
}

QList<ScreenRecord> ObserverLink::report()
{
    QList<ScreenRecord> records;
    if (!isRunning())
        return records;
    m_process.write("report\n");
    m_process.waitForBytesWritten(AnswerTimeoutMs);
    for (;;) {
        const std::optional<QByteArray> line = nextLine(AnswerTimeoutMs);
        if (!line) {
            m_failure = QStringLiteral("observer's report broke off");
            ScreenRecord broken;
            broken.text = m_failure;
            records.append(broken);
            break;
        }
        if (*line == "end")
            break;
        if (const std::optional<ScreenRecord> record = ParseScreenRecord(*line))
            records.append(*record);
    }
    return records;
}

void ObserverLink::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.write("quit\n");
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(AnswerTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(AnswerTimeoutMs);
    }
}

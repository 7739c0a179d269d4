// SPDX-License-Identifier: GPL-3.0-or-later
// What the observer reported, and how its frames pair with the program's own phase times.
#include "ScreenTimes.h"

#include <cmath>
#include <ctime>

qint64 MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::optional<ScreenRecord> ParseScreenRecord(const QByteArray &line)
{
    const QList<QByteArray> words = line.trimmed().split(' ');
    const QByteArray &kind = words.first();
    ScreenRecord record;
    if (kind == "error") {
        record.kind = ScreenRecord::Error;
        record.text = QString::fromUtf8(line.trimmed().mid(6));
        return record;
    }
    bool ok = true;
    auto number = [&](qsizetype index) {
        bool good = false;
        const qint64 value = words.value(index).toLongLong(&good);
        ok = ok && good;
        return value;
    };
    if (kind == "frame" && words.size() == 4) {
        record.kind = ScreenRecord::Frame;
        record.ns = number(1);
        bool good = false;
        record.hash = words[2].toULongLong(&good, 16);
        ok = ok && good;
        record.serverMs = number(3);
    } else if (kind == "repaint" && words.size() == 3) {
        record.kind = ScreenRecord::Repaint;
        record.ns = number(1);
        record.serverMs = number(2);
    } else if (kind == "firstframe" && words.size() == 5) {
        record.kind = ScreenRecord::FirstFrame;
        record.ns = number(1);
        record.window = quint64(number(2));
        record.pid = number(3);
        record.serverMs = number(4);
    } else {
        return std::nullopt;
    }
    if (!ok)
        return std::nullopt;
    return record;
}

std::optional<ScreenSpan> SpanOnScreen(const QList<ScreenRecord> &frames, qint64 startNs,
                                       qint64 endNs)
{
    qsizetype shown = -1;
    for (qsizetype i = 0; i < frames.size() && frames[i].ns <= endNs; ++i)
        shown = i;
    if (shown < 0 || frames[shown].ns < startNs || shown + 1 >= frames.size())
        return std::nullopt;
    return ScreenSpan{frames[shown].ns, frames[shown + 1].ns};
}

void ScreenPhaseFigures::add(int nominalMs, qint64 startNs, qint64 endNs,
                             const QList<ScreenRecord> &frames)
{
    handlerErrorMs.add(double(endNs - startNs) / 1e6 - nominalMs);
    const std::optional<ScreenSpan> span = SpanOnScreen(frames, startNs, endNs);
    if (!span) {
        ++unseen;
        return;
    }
    screenErrorMs.add(span->milliseconds() - nominalMs);
    showDelayMs.add(double(span->appearNs - startNs) / 1e6);
    hideDelayMs.add(double(span->disappearNs - endNs) / 1e6);
}

Figures IntervalsMs(const QList<qint64> &timesNs)
{
    Figures gaps;
    for (qsizetype i = 1; i < timesNs.size(); ++i)
        gaps.add(double(timesNs[i] - timesNs[i - 1]) / 1e6);
    return gaps;
}

std::optional<double> DeliveryDelayMs(const ScreenRecord &record)
{
    if (record.serverMs <= 0)
        return std::nullopt;
    // The server's stamp is CLOCK_MONOTONIC in milliseconds, cut to 32 bits.
    constexpr double Wrap = 4294967296.0;
    double delay = std::fmod(double(record.ns) / 1e6 - double(record.serverMs), Wrap);
    if (delay < -Wrap / 2)
        delay += Wrap;
    else if (delay >= Wrap / 2)
        delay -= Wrap;
    if (std::abs(delay) > 1000)
        return std::nullopt;
    return delay;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up figures: a bare Qt Widgets program, one maximised black window.
// With --print-first-paint it prints the steady clock's nanoseconds on entering main and at its
// first paint, and ends; otherwise it runs until its window is closed.
#include "ScreenTimes.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {
class BlackWindow : public QWidget
{
public:
    BlackWindow(bool printFirstPaint, qint64 mainNs) : m_print(printFirstPaint), m_mainNs(mainNs)
    {
        setWindowTitle(QStringLiteral("Leeres Fenster"));
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter(this).fillRect(event->rect(), Qt::black);
        if (m_print && !m_painted) {
            std::printf("%lld %lld\n", static_cast<long long>(m_mainNs),
                        static_cast<long long>(MonotonicNs()));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        m_painted = true;
    }

private:
    bool m_print;
    qint64 m_mainNs;
    bool m_painted = false;
};
} // namespace

int main(int argc, char **argv)
{
    const qint64 mainNs = MonotonicNs();
    QApplication app(argc, argv);
    BlackWindow window(argc > 1 && qstrcmp(argv[1], "--print-first-paint") == 0, mainNs);
    window.showMaximized();
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The observer against real windows on an X server: what it reports, and when.
#include "ObserverLink.h"
#include "ScreenTimes.h"

#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QTest>
#include <QWidget>

#include <functional>
#include <unistd.h>

#include <X11/Xlib.h>

namespace {

class ProbeWindow : public QWidget
{
public:
    explicit ProbeWindow(const QString &title)
    {
        setWindowTitle(title);
        resize(320, 200);
        panel = new QLabel(this);
        panel->setGeometry(20, 20, 120, 80);
        panel->setAutoFillBackground(true);
        elsewhere = new QLabel(this);
        elsewhere->setGeometry(180, 20, 120, 80);
        elsewhere->setAutoFillBackground(true);
        paint(panel, Qt::gray);
        paint(elsewhere, Qt::gray);
    }
    static void paint(QLabel *label, const QColor &colour)
    {
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, colour);
        label->setPalette(palette);
    }
    QLabel *panel = nullptr;
    QLabel *elsewhere = nullptr;
    bool closeAsked = false;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        closeAsked = true;
        QWidget::closeEvent(event);
    }
};

} // namespace

class TestObserver : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void aChangeOfTheRegionIsReportedOnceDrawn();
    void thePixelsDecideTheHash();
    void changesBesideTheRegionAreNoFrames();
    void everyRepaintOfTheWindowIsReported();
    void aDrawingBeforeTheCaptureIsDatedFromItsOwnSending();
    void theFirstFrameOfANewWindowIsFound();
    void windowsOfTheIgnoredProcessAreNotHunted();
    void closeAsksTheWindowToClose();
    void watchesThatCannotWorkAreRefused_data();
    void watchesThatCannotWorkAreRefused();

private:
    // Collects reports until one record matches, as QTRY_VERIFY would.
    bool waitFor(const std::function<bool(const ScreenRecord &)> &match, ScreenRecord *found);
    QString regionCommand(QWidget *control) const;
    bool showProbe(ProbeWindow &window);

    ObserverLink m_observer;
    QList<ScreenRecord> m_seen;
};

void TestObserver::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)");
    QVERIFY2(m_observer.start(QStringLiteral(MENTARO_OBSERVER)), qPrintable(m_observer.failure()));
}

void TestObserver::cleanup()
{
    QVERIFY(m_observer.send(QStringLiteral("stop")));
    m_observer.report();
    m_seen.clear();
}

bool TestObserver::waitFor(const std::function<bool(const ScreenRecord &)> &match,
                           ScreenRecord *found)
{
    const QDeadlineTimer deadline(10000);
    do {
        m_seen.append(m_observer.report());
        for (const ScreenRecord &record : std::as_const(m_seen)) {
            if (match(record)) {
                if (found)
                    *found = record;
                return true;
            }
        }
        QTest::qWait(5);
    } while (!deadline.hasExpired());
    return false;
}

QString TestObserver::regionCommand(QWidget *control) const
{
    const QRect area(control->mapTo(control->window(), QPoint(0, 0)), control->size());
    return QStringLiteral("region %1 %2 %3 %4 %5")
        .arg(control->window()->winId())
        .arg(area.x())
        .arg(area.y())
        .arg(area.width())
        .arg(area.height());
}

// Shows the window and waits until it is drawn; ends every watch.
bool TestObserver::showProbe(ProbeWindow &window)
{
    window.move(0, 0);
    if (!m_observer.send(QStringLiteral("repaints %1").arg(window.winId())))
        return false;
    window.show();
    const bool drawn =
        QTest::qWaitForWindowExposed(&window) &&
        waitFor([](const ScreenRecord &r) { return r.kind == ScreenRecord::Repaint; }, nullptr);
    m_observer.send(QStringLiteral("stop"));
    m_seen.clear();
    return drawn;
}

void TestObserver::aChangeOfTheRegionIsReportedOnceDrawn()
{
    ProbeWindow window(QStringLiteral("Probe"));
    QVERIFY(showProbe(window));
    QVERIFY2(m_observer.send(regionCommand(window.panel)), qPrintable(m_observer.failure()));
    ScreenRecord before;
    QVERIFY(waitFor([](const ScreenRecord &r) { return r.kind == ScreenRecord::Frame; }, &before));

    const qint64 changed = MonotonicNs();
    ProbeWindow::paint(window.panel, Qt::red);
    ScreenRecord after;
    const quint64 grey = before.hash;
    QVERIFY(waitFor(
        [changed, grey](const ScreenRecord &r) {
            return r.kind == ScreenRecord::Frame && r.ns > changed && r.hash != grey;
        },
        &after));
    QVERIFY(after.ns > before.ns);
}

void TestObserver::thePixelsDecideTheHash()
{
    ProbeWindow window(QStringLiteral("Probe"));
    QVERIFY(showProbe(window));
    QVERIFY(m_observer.send(regionCommand(window.panel)));
    ScreenRecord first;
    QVERIFY(waitFor([](const ScreenRecord &r) { return r.kind == ScreenRecord::Frame; }, &first));
    const quint64 grey = first.hash;
    const qint64 redAt = MonotonicNs();
    ProbeWindow::paint(window.panel, Qt::red);
    QVERIFY(waitFor(
        [redAt, grey](const ScreenRecord &r) {
            return r.kind == ScreenRecord::Frame && r.ns > redAt && r.hash != grey;
        },
        nullptr));
    // Grey again gives the first hash again.
    const qint64 greyAgainAt = MonotonicNs();
    ProbeWindow::paint(window.panel, Qt::gray);
    QVERIFY(waitFor(
        [greyAgainAt, grey](const ScreenRecord &r) {
            return r.kind == ScreenRecord::Frame && r.ns > greyAgainAt && r.hash == grey;
        },
        nullptr));
}

void TestObserver::changesBesideTheRegionAreNoFrames()
{
    ProbeWindow window(QStringLiteral("Probe"));
    QVERIFY(showProbe(window));
    QVERIFY(m_observer.send(regionCommand(window.panel)));
    QVERIFY(m_observer.send(QStringLiteral("repaints %1").arg(window.winId())));
    QVERIFY(waitFor([](const ScreenRecord &r) { return r.kind == ScreenRecord::Frame; }, nullptr));
    const qint64 changed = MonotonicNs();
    ProbeWindow::paint(window.elsewhere, Qt::blue);
    // Once the change is drawn, the region has still shown only its first frame.
    QVERIFY(waitFor(
        [changed](const ScreenRecord &r) {
            return r.kind == ScreenRecord::Repaint && r.ns > changed;
        },
        nullptr));
    m_seen.append(m_observer.report());
    const auto frames = std::count_if(m_seen.begin(), m_seen.end(), [](const ScreenRecord &r) {
        return r.kind == ScreenRecord::Frame;
    });
    QCOMPARE(frames, 1);
}

void TestObserver::everyRepaintOfTheWindowIsReported()
{
    ProbeWindow window(QStringLiteral("Probe"));
    QVERIFY(showProbe(window));
    QVERIFY(m_observer.send(QStringLiteral("repaints %1").arg(window.winId())));
    qint64 last = 0;
    for (int i = 0; i < 5; ++i) {
        const qint64 drawn = MonotonicNs();
        ProbeWindow::paint(window.panel, i % 2 ? Qt::red : Qt::green);
        window.panel->repaint();
        ScreenRecord repaint;
        QVERIFY(waitFor(
            [drawn](const ScreenRecord &r) {
                return r.kind == ScreenRecord::Repaint && r.ns > drawn;
            },
            &repaint));
        QVERIFY(repaint.ns > last);
        last = repaint.ns;
    }
}

// While this test holds the server, the observer's capture of a red drawing has to wait, and a
// blue drawing gets in before it. The frame then shows blue, which is on the screen only from
// the moment it was sent, whatever the time the observer woke for the red one.
void TestObserver::aDrawingBeforeTheCaptureIsDatedFromItsOwnSending()
{
    ProbeWindow window(QStringLiteral("Probe"));
    QVERIFY(showProbe(window));
    Display *display = XOpenDisplay(nullptr);
    QVERIFY(display);
    const auto closeDisplay = qScopeGuard([display] { XCloseDisplay(display); });
    const Window target = Window(window.winId());
    const QRect area(window.panel->pos(), window.panel->size());
    GC gc = XCreateGC(display, target, 0, nullptr);
    const auto freeGc = qScopeGuard([display, gc] { XFreeGC(display, gc); });
    const auto fill = [&](unsigned long pixel) {
        XSetForeground(display, gc, pixel);
        XFillRectangle(display, target, gc, area.x(), area.y(), unsigned(area.width()),
                       unsigned(area.height()));
    };
    QVERIFY(m_observer.send(regionCommand(window.panel)));
    ScreenRecord initial;
    QVERIFY(waitFor([](const ScreenRecord &r) { return r.kind == ScreenRecord::Frame; }, &initial));
    // Blue's hash, then white again.
    qint64 drawn = MonotonicNs();
    fill(0x0000ff);
    XSync(display, False);
    ScreenRecord blue;
    QVERIFY(waitFor(
        [drawn, &initial](const ScreenRecord &r) {
            return r.kind == ScreenRecord::Frame && r.ns > drawn && r.hash != initial.hash;
        },
        &blue));
    drawn = MonotonicNs();
    fill(0xffffff);
    XSync(display, False);
    QVERIFY(waitFor(
        [drawn, &blue](const ScreenRecord &r) {
            return r.kind == ScreenRecord::Frame && r.ns > drawn && r.hash != blue.hash;
        },
        nullptr));
    m_seen.clear();

    XGrabServer(display);
    fill(0xff0000);
    XSync(display, False);
    // Time for the observer to wake for the red damage and ask for its capture, which the
    // grab holds back; how long only decides whether the case arises, not what must hold.
    const qint64 blueDue = MonotonicNs() + 20000000;
    while (MonotonicNs() < blueDue) {
    }
    const qint64 blueSent = MonotonicNs();
    fill(0x0000ff);
    XUngrabServer(display);
    XSync(display, False);
    ScreenRecord shown;
    QVERIFY(waitFor(
        [&blue](const ScreenRecord &r) {
            return r.kind == ScreenRecord::Frame && r.hash == blue.hash;
        },
        &shown));
    QVERIFY2(shown.ns >= blueSent, qPrintable(QStringLiteral("blue dated %1 us before it was sent")
                                                  .arg((blueSent - shown.ns) / 1000)));
}

void TestObserver::theFirstFrameOfANewWindowIsFound()
{
    QVERIFY(m_observer.send(QStringLiteral("hunt 0 Beobachtungsprobe")));
    ProbeWindow other(QStringLiteral("Andere Probe"));
    ProbeWindow window(QStringLiteral("Beobachtungsprobe"));
    const qint64 shown = MonotonicNs();
    other.show();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ScreenRecord first;
    QVERIFY(
        waitFor([](const ScreenRecord &r) { return r.kind == ScreenRecord::FirstFrame; }, &first));
    QCOMPARE(first.window, quint64(window.winId()));
    QCOMPARE(first.pid, qint64(getpid()));
    QVERIFY(first.ns > shown);
}

void TestObserver::windowsOfTheIgnoredProcessAreNotHunted()
{
    QVERIFY(m_observer.send(QStringLiteral("hunt %1 Beobachtungsprobe").arg(getpid())));
    ProbeWindow window(QStringLiteral("Beobachtungsprobe"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(m_observer.send(QStringLiteral("repaints %1").arg(window.winId())));
    const qint64 drawn = MonotonicNs();
    window.panel->repaint();
    const bool seen = waitFor(
        [drawn](const ScreenRecord &r) { return r.kind == ScreenRecord::Repaint && r.ns > drawn; },
        nullptr);
    // A miss says what was reported instead, and when, against the repaint.
    QStringList reported;
    for (const ScreenRecord &r : std::as_const(m_seen))
        reported << QStringLiteral("kind %1 at %2 us").arg(r.kind).arg((r.ns - drawn) / 1000);
    QVERIFY2(seen, qPrintable(reported.join(QStringLiteral(", "))));
    for (const ScreenRecord &record : std::as_const(m_seen))
        QVERIFY(record.kind != ScreenRecord::FirstFrame);
}

void TestObserver::closeAsksTheWindowToClose()
{
    ProbeWindow window(QStringLiteral("Probe"));
    QVERIFY(showProbe(window));
    QVERIFY(m_observer.send(QStringLiteral("close %1").arg(window.winId())));
    QTRY_VERIFY(window.closeAsked);
    QTRY_VERIFY(!window.isVisible());
}

void TestObserver::watchesThatCannotWorkAreRefused_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");
    QTest::newRow("no such window")
        << QStringLiteral("region 3 0 0 10 10") << QStringLiteral("error no such window");
    QTest::newRow("empty region") << QStringLiteral("region 3 0 0 0 10")
                                  << QStringLiteral("error region needs <window> <x> <y> <w> <h>");
    QTest::newRow("unknown command")
        << QStringLiteral("watch everything") << QStringLiteral("error unknown command");
    QTest::newRow("hunt without title")
        << QStringLiteral("hunt 12") << QStringLiteral("error hunt needs a title");
}

void TestObserver::watchesThatCannotWorkAreRefused()
{
    QFETCH(QString, command);
    QVERIFY(!m_observer.send(command));
    QTEST(m_observer.failure(), "answer");
}

QTEST_MAIN(TestObserver)
#include "test_observer.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Every window of the program on the screen size the test is started with: inside the
// available area with its frame, and no control cut off by its window; the main window and the
// settings window shown on the desktop, also on a Wayland compositor, inside what it leaves free.
#include "TestSupport.h"

#include "colours/Farben.h"
#include "common/MessageBoxes.h"
#include "common/ScaleToScreen.h"
#include "common/SharedState.h"
#include "disturbance/Billard.h"
#include "disturbance/Fragehst.h"
#include "disturbance/Ringe.h"
#include "disturbance/Stoeren.h"
#include "disturbance/Stoertex.h"
#include "exercise/Muw.h"
#include "exercise/Muw_zahl.h"
#include "results/Name.h"
#include "results/Speicher.h"
#include "results/Tagebuchfuehrung.h"
#include "results/Verlauf.h"
#include "results/Zeigen.h"
#include "shell/Info.h"
#include "shell/Kr_progr.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <optional>

namespace {

void addWindowRows(TForm_Verlauf *verlauf)
{
    QTest::addColumn<QWidget *>("window");
    const QList<QWidget *> windows = {
        Form_Prgr,      Form_MuW,        Form_MuW_Zahlen, Form_Stoeren_Vorgabe,
        Form_Frage_Hst, Form_Frage_Text, Form_Speich_MuW, Form_Name,
        Form_zeigen,    Form_Info,       Form_Farben,     Form_Ringe,
        Form_Billard,   verlauf};
    for (QWidget *window : windows)
        QTest::newRow(qPrintable(window->objectName())) << window;
}

// The room the text of a label or button leaves it, and the width and height the text's
// glyphs take; no room when the control shows no plain text of its own.
struct TextRoom
{
    QSize room;
    QSize text;
};

// "w x h in w x h", or empty when the size fits the room.
QString outside(QSize size, QSize room)
{
    return size.boundedTo(room) == size ? QString()
                                        : QStringLiteral("%1 x %2 in %3 x %4")
                                              .arg(size.width())
                                              .arg(size.height())
                                              .arg(room.width())
                                              .arg(room.height());
}

std::optional<TextRoom> textRoomOf(QWidget *control)
{
    QString text;
    QSize room;
    if (auto *label = qobject_cast<QLabel *>(control); label && !label->wordWrap()) {
        text = label->text();
        // A label for a control shows its accelerator underlined, not as "&".
        if (label->buddy())
            text.remove(QLatin1Char('&'));
        room = label->contentsRect().size();
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        text = button->text().remove(QLatin1Char('&'));
        // The indicator of a radio button or check box, or a button's own frame.
        const int beside = qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button)
                               ? button->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                                     button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing)
                               : 4;
        room = QSize(button->width() - beside, button->height());
    }
    // Blanks at the end of a caption take room but show nothing.
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    if (text.isEmpty() || text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('\n')))
        return std::nullopt;
    const QFontMetrics metrics(control->font());
    return TextRoom{
        room, QSize(metrics.horizontalAdvance(text), metrics.tightBoundingRect(text).height())};
}

} // namespace

class WindowsFitTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { TestSupport::destroyProgram(); }

    void windowLiesInsideTheScreen_data();
    void windowLiesInsideTheScreen();
    void noControlIsCutOff_data();
    void noControlIsCutOff();
    void shownWindowsFitTheDesktop();
    void messageShowsEveryLineWhole_data();
    void messageShowsEveryLineWhole();
    void longestNameFitsItsCell_data();
    void longestNameFitsItsCell();

private:
    std::unique_ptr<TForm_Verlauf> m_verlauf;
};

void WindowsFitTest::initTestCase()
{
    // The size comes through the offscreen platform's configuration; without it the test
    // would quietly check the platform's default screen.
    const QString expected = qEnvironmentVariable("MENTARO_TEST_SCREEN");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height()), expected);
    TestSupport::createProgram();
    m_verlauf = std::make_unique<TForm_Verlauf>();
    // With the journal: its training days, choices and import button.
    Tagebuch *journal = JournalKeeping::Journal();
    QVERIFY(journal);
    m_verlauf->ShowJournal(journal, 3);
}

void WindowsFitTest::windowLiesInsideTheScreen_data()
{
    addWindowRows(m_verlauf.get());
}

void WindowsFitTest::windowLiesInsideTheScreen()
{
    QFETCH(QWidget *, window);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    // The size the window was built with, in the frame a desktop gives it.
    const QSize framed = window->size().grownBy(WindowFrame);
    const QString cut = outside(framed, available.size());
    QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("in its frame: ") + cut));
}

void WindowsFitTest::noControlIsCutOff_data()
{
    addWindowRows(m_verlauf.get());
}

// Each control the window shows lies inside the window, and the text of a label or button is
// not wider or higher than the control leaves it.
void WindowsFitTest::noControlIsCutOff()
{
    QFETCH(QWidget *, window);
    // What showing the window would do first: lay it out at the size it was built with.
    if (window->layout())
        window->layout()->activate();
    QResizeEvent laidOut(window->size(), window->size());
    QCoreApplication::sendEvent(window, &laidOut);

    QStringList cut;
    const QRect inside = window->rect();
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->isWindow() || !child->isVisibleTo(window) || child->objectName().isEmpty())
            continue;
        const QRect area(child->mapTo(window, QPoint(0, 0)), child->size());
        if (!inside.contains(area)) {
            cut << QStringLiteral("%1 (%2, %3, %4 x %5) outside the window of %6 x %7")
                       .arg(child->objectName())
                       .arg(area.x())
                       .arg(area.y())
                       .arg(area.width())
                       .arg(area.height())
                       .arg(inside.width())
                       .arg(inside.height());
            continue;
        }
        const std::optional<TextRoom> text = textRoomOf(child);
        if (text &&
            (text->text.width() > text->room.width() || text->text.height() > text->room.height()))
            cut << QStringLiteral("%1: text of %2 x %3 in %4 x %5")
                       .arg(child->objectName())
                       .arg(text->text.width())
                       .arg(text->text.height())
                       .arg(text->room.width())
                       .arg(text->room.height());
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
}

// The main window maximises into what the desktop leaves free, which on Wayland is less than
// Qt reports (the compositor keeps its panel); the settings window fits it maximised and in its
// normal size too.
void WindowsFitTest::shownWindowsFitTheDesktop()
{
    Form_Prgr->show();
    QVERIFY(QTest::qWaitForWindowExposed(Form_Prgr));
    QTRY_VERIFY(Form_Prgr->isMaximized());
    const QSize workArea = Form_Prgr->frameGeometry().size();
    const QString mainOutside =
        outside(workArea, QGuiApplication::primaryScreen()->availableGeometry().size());
    QSize maximised;
    QString normalOutside = QStringLiteral("not shown");
    QTimer::singleShot(0, Form_MuW, [&] {
        if (!QTest::qWaitForWindowExposed(Form_MuW))
            return Form_MuW->done(QDialog::Rejected);
        maximised = Form_MuW->frameGeometry().size();
        Form_MuW->setWindowState(Qt::WindowNoState);
        // The state changes at once, the size once the platform has given the normal one.
        const auto normalFits = [&] {
            const QSize outer = Form_MuW->frameGeometry().size();
            return outer != maximised && outside(outer, workArea).isEmpty();
        };
        normalOutside = QTest::qWaitFor(normalFits, 10000)
                            ? QString()
                            : outside(Form_MuW->frameGeometry().size(), workArea) + " normal";
        Form_MuW->done(QDialog::Rejected);
    });
    Form_Prgr->MerkenundWiedergeben1Click();
    Form_Prgr->hide();
    QVERIFY2(mainOutside.isEmpty(), qPrintable("main window " + mainOutside));
    QVERIFY2(outside(maximised, workArea).isEmpty(), qPrintable(outside(maximised, workArea)));
    QVERIFY2(normalOutside.isEmpty(), qPrintable("settings window " + normalOutside));
}

void WindowsFitTest::messageShowsEveryLineWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("full results file") << FullResultsFileQuestion;
    QTest::newRow("colours help") << ColoursHelpText;
    QTest::newRow("level zero") << LevelZeroMessage;
    QTest::newRow("wider than any screen")
        << QStringLiteral("Kurz\n") + QStringLiteral("ein sehr langer Satz ").repeated(20);
}

// As wide as the longest line needs, up to the screen; only a line wider than the screen wraps.
// Either way every line shows whole, inside the screen.
void WindowsFitTest::messageShowsEveryLineWhole()
{
    QFETCH(QString, text);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Mentaro"), QString(),
                    QMessageBox::Yes | QMessageBox::No, Form_MuW);
    MessageBoxes::PrepareMessageBox(&box, text);
    box.show();
    auto hide = qScopeGuard([&box] { box.hide(); });
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(available.contains(box.frameGeometry()));
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QRect room = label->contentsRect();
    QCOMPARE(label->wordWrap(), box.frameGeometry().width() - room.width() + widest >
                                    available.width());
    const QSize needed = metrics.boundingRect(QRect(0, 0, room.width(), 100000),
                                              Qt::TextWordWrap, text).size();
    const QString cut = outside(needed, room.size());
    QVERIFY2(cut.isEmpty(), qPrintable(QStringLiteral("text of ") + cut));
}

void WindowsFitTest::longestNameFitsItsCell_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("Jörg Bärmann") << QStringLiteral("Jörg Bärmann");
    QTest::newRow("twelve wide letters") << QStringLiteral("WWWWWWWWWWWW");
}

void WindowsFitTest::longestNameFitsItsCell()
{
    QFETCH(QString, name);
    const QString before = PlayerName.text();
    auto restore = qScopeGuard([&before] { PlayerName = before; });
    PlayerName = name;
    FillIndividualResult();
    TStringGrid *grid = Form_zeigen->StringGrid1;
    QCOMPARE(grid->cell(4, 0), QLatin1Char(' ') + name);
    // The cell takes the empty one beside it; its text keeps the focus frame's margin and a
    // pixel on either side.
    const int room = grid->visualRect(grid->model()->index(0, 4)).width() -
                     2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const int width = QFontMetrics(grid->font()).horizontalAdvance(grid->cell(4, 0));
    QVERIFY2(width <= room, qPrintable(QStringLiteral("%1 in %2").arg(width).arg(room)));
}

QTEST_MAIN(WindowsFitTest)
#include "test_windows_fit.moc"

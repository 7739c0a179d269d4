// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes: notices, questions and errors.
#include "common/MessageBoxes.h"

#include "common/ModalForm.h"
#include "common/ScaleToScreen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <vector>

namespace MessageBoxes {
namespace {
DetailedAnswerer testAnswerer;

// A box the program shows, from its showing until its answer is back.
struct OpenBox
{
    QPointer<QWidget> owner;
    QPointer<QMessageBox> box; // none while tests answer in its place
    bool closed = false;
};
// Innermost last.
std::vector<OpenBox *> openBoxes;

class OpenBoxEntry
{
public:
    explicit OpenBoxEntry(QWidget *owner) { m_entry.owner = owner; openBoxes.push_back(&m_entry); }
    ~OpenBoxEntry() { std::erase(openBoxes, &m_entry); }
    OpenBoxEntry(const OpenBoxEntry &) = delete;
    OpenBoxEntry &operator=(const OpenBoxEntry &) = delete;

    OpenBox *operator->() { return &m_entry; }

private:
    OpenBox m_entry;
};

// A box shown while another box is closing belongs to the window the player is in, not to the
// closing box.
QWidget *ownerFor(QWidget *parent)
{
    if (parent)
        return parent;
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        return modal;
    return QApplication::activeWindow();
}

QString title()
{
    return QApplication::applicationName();
}

QRect availableArea(const QWidget *box)
{
    const QScreen *screen = box->screen() ? box->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// QMessageBox stops at about 1000 pixels whatever the screen, so a long line grown with the
// windows is cut on a large screen. This widens the box after each of its own sizings.
void fitToText(QMessageBox *box)
{
    auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    QLayout *layout = box->layout();
    const QRect available = availableArea(box);
    if (!label || !layout || available.isEmpty())
        return;
    const QMargins frame = PlatformFrame(box);
    const int limit = available.width() - frame.left() - frame.right();
    label->setWordWrap(false);
    layout->activate();
    int width = layout->totalMinimumSize().width();
    if (width > limit) {
        label->setWordWrap(true);
        width = limit;
    }
    layout->activate();
    const int height = layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                   : layout->totalMinimumSize().height();
    box->setFixedSize(width, height);
    QCoreApplication::removePostedEvents(box, QEvent::LayoutRequest);
    // It was placed for the size it had before.
    if (box->isVisible())
        CentreOnScreen(box);
}

const QString FitterName = QStringLiteral("BoxFitter");

class BoxFitter : public QObject
{
public:
    explicit BoxFitter(QMessageBox *box) : QObject(box), m_box(box)
    {
        setObjectName(FitterName);
        box->installEventFilter(this);
    }

protected:
    // The box sizes itself when shown and at every layout request; it is fitted right after.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_box ||
            (event->type() != QEvent::Show && event->type() != QEvent::LayoutRequest))
            return false;
        m_box->removeEventFilter(this);
        QCoreApplication::sendEvent(m_box, event);
        m_box->installEventFilter(this);
        fitToText(m_box);
        return true;
    }

private:
    QMessageBox *m_box;
};

// Boxes are built here rather than by QMessageBox's static functions so that their text grows
// with the windows they belong to, and so that a time-out can close them.
QMessageBox::StandardButton runBox(QMessageBox::Icon icon, const QString &text,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton, QWidget *parent)
{
    OpenBoxEntry entry(ownerFor(parent));
    QMessageBox box(icon, title(), QString(), buttons, entry->owner);
    entry->box = &box;
    PrepareMessageBox(&box, text);
    box.setDefaultButton(defaultButton);
    UseFixedDialogFlags(&box);
    const auto answer = QMessageBox::StandardButton(box.exec());
    return entry->closed ? QMessageBox::NoButton : answer;
}

// Tests answer in place of the player; a box closed meanwhile takes no answer.
bool answerForTest(Kind kind, const QString &text, DefaultAnswer defaultAnswer, QWidget *parent)
{
    OpenBoxEntry entry(ownerFor(parent));
    const bool answer = testAnswerer(kind, text, defaultAnswer);
    return answer && !entry->closed;
}
} // namespace

void ShowInformation(const QString &text, QWidget *parent)
{
    if (testAnswerer) {
        answerForTest(Kind::Information, text, DefaultAnswer::Yes, parent);
        return;
    }
    runBox(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok, parent);
}

bool AskYesNo(const QString &text, QWidget *parent, DefaultAnswer defaultAnswer)
{
    if (testAnswerer)
        return answerForTest(Kind::Question, text, defaultAnswer, parent);
    const QMessageBox::StandardButton defaultButton =
        defaultAnswer == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes;
    return runBox(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No, defaultButton,
                  parent) == QMessageBox::Yes;
}

void ShowError(const QString &text, QWidget *parent)
{
    if (testAnswerer) {
        answerForTest(Kind::Error, text, DefaultAnswer::Yes, parent);
        return;
    }
    runBox(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok, parent);
}

void PrepareMessageBox(QMessageBox *box, const QString &text)
{
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    UseScaledFont(box);
    if (!box->findChild<QObject *>(FitterName, Qt::FindDirectChildrenOnly))
        new BoxFitter(box);
}

void CloseBoxesOver(const QList<const QWidget *> &windows)
{
    QList<const QWidget *> closing = windows;
    // Outermost first, so that a box shown over a closing box closes with it.
    for (OpenBox *open : openBoxes) {
        if (open->closed || !open->owner || !closing.contains(open->owner->window()))
            continue;
        open->closed = true;
        if (open->box) {
            closing.append(open->box);
            open->box->done(QMessageBox::NoButton);
        }
    }
}

int OpenBoxCount()
{
    return int(std::count_if(openBoxes.begin(), openBoxes.end(),
                             [](const OpenBox *open) { return !open->closed; }));
}

std::unique_ptr<QMessageBox> CreateHelpBox(const QString &text, const QString &manualPath,
                                           QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Information, title(), QString(),
                                             QMessageBox::Ok, ownerFor(parent));
    PrepareMessageBox(box.get(), text);
    box->setDefaultButton(QMessageBox::Ok);
    if (!manualPath.isEmpty()) {
        QPushButton *open =
            box->addButton(QStringLiteral("Anleitung öffnen"), QMessageBox::ActionRole);
        open->setObjectName(OpenManualButtonName);
        QWidget *owner = box->parentWidget();
        QObject::connect(open, &QPushButton::clicked, box.get(), [manualPath, owner] {
            if (!QDesktopServices::openUrl(QUrl::fromLocalFile(manualPath))) {
                ShowError(QStringLiteral("Die Anleitung\n%1\nkann nicht geöffnet werden.")
                              .arg(QDir::toNativeSeparators(manualPath)),
                          owner);
            }
        });
    }
    UseFixedDialogFlags(box.get());
    return box;
}

void ShowHelp(const QString &text, const QString &manualPath, QWidget *parent)
{
    if (testAnswerer) {
        testAnswerer(Kind::Information, text, DefaultAnswer::Yes);
        return;
    }
    CreateHelpBox(text, manualPath, parent)->exec();
}

void answerForTests(Answerer answerer)
{
    if (!answerer) {
        testAnswerer = nullptr;
        return;
    }
    testAnswerer = [answerer = std::move(answerer)](Kind kind, const QString &text, DefaultAnswer) {
        return answerer(kind, text);
    };
}

void answerWithDefaultsForTests(DetailedAnswerer answerer)
{
    testAnswerer = std::move(answerer);
}

} // namespace MessageBoxes

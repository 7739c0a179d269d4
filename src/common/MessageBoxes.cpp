// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes: notices, questions and errors.
#include "common/MessageBoxes.h"

#include "common/ModalForm.h"
#include "common/ScaleToScreen.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace MessageBoxes {
namespace {
DetailedAnswerer testAnswerer;

QWidget *ownerFor(QWidget *parent)
{
    return parent ? parent : QApplication::activeWindow();
}

QString title()
{
    return QApplication::applicationName();
}

// The boxes are built here rather than by QMessageBox's static functions so that their text
// grows with the windows they belong to.
QMessageBox::StandardButton runBox(QMessageBox::Icon icon, const QString &text,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton, QWidget *parent)
{
    QMessageBox box(icon, title(), QString(), buttons, ownerFor(parent));
    // The texts carry their own line breaks; a box wrapping them again at its width limit
    // would break each long line in two once the text has grown with the windows.
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p style=\"white-space:pre\">") +
                text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                QStringLiteral("</p>"));
    box.setDefaultButton(defaultButton);
    UseFixedDialogFlags(&box);
    UseScaledFont(&box);
    return QMessageBox::StandardButton(box.exec());
}
} // namespace

void ShowInformation(const QString &text, QWidget *parent)
{
    if (testAnswerer) {
        testAnswerer(Kind::Information, text, DefaultAnswer::Yes);
        return;
    }
    runBox(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok, parent);
}

bool AskYesNo(const QString &text, QWidget *parent, DefaultAnswer defaultAnswer)
{
    if (testAnswerer)
        return testAnswerer(Kind::Question, text, defaultAnswer);
    const QMessageBox::StandardButton defaultButton =
        defaultAnswer == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes;
    return runBox(QMessageBox::Warning, text, QMessageBox::Yes | QMessageBox::No, defaultButton,
                  parent) == QMessageBox::Yes;
}

void ShowError(const QString &text, QWidget *parent)
{
    if (testAnswerer) {
        testAnswerer(Kind::Error, text, DefaultAnswer::Yes);
        return;
    }
    runBox(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok, parent);
}

std::unique_ptr<QMessageBox> CreateHelpBox(const QString &text, const QString &manualPath,
                                           QWidget *parent)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Information, title(), QString(),
                                             QMessageBox::Ok, ownerFor(parent));
    // The same text layout as the other boxes: the help texts carry their own line breaks.
    box->setTextFormat(Qt::RichText);
    box->setText(QStringLiteral("<p style=\"white-space:pre\">") +
                 text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                 QStringLiteral("</p>"));
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
    UseScaledFont(box.get());
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

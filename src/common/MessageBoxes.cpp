// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

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
} // namespace

void ShowInformation(const QString &text, QWidget *parent)
{
    if (testAnswerer) {
        testAnswerer(Kind::Information, text, DefaultAnswer::Yes);
        return;
    }
    QMessageBox::information(ownerFor(parent), title(), text, QMessageBox::Ok);
}

bool AskYesNo(const QString &text, QWidget *parent, DefaultAnswer defaultAnswer)
{
    if (testAnswerer)
        return testAnswerer(Kind::Question, text, defaultAnswer);
    const QMessageBox::StandardButton defaultButton =
        defaultAnswer == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes;
    return QMessageBox::warning(ownerFor(parent), title(), text, QMessageBox::Yes | QMessageBox::No,
                                defaultButton) == QMessageBox::Yes;
}

void ShowError(const QString &text, QWidget *parent)
{
    if (testAnswerer) {
        testAnswerer(Kind::Error, text, DefaultAnswer::Yes);
        return;
    }
    QMessageBox::critical(ownerFor(parent), title(), text, QMessageBox::Ok);
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

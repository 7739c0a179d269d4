// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBoxes {
namespace {
Answerer testAnswerer;

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
        testAnswerer(Kind::Information, text);
        return;
    }
    QMessageBox::information(ownerFor(parent), title(), text, QMessageBox::Ok);
}

bool AskYesNo(const QString &text, QWidget *parent)
{
    if (testAnswerer)
        return testAnswerer(Kind::Question, text);
    return QMessageBox::warning(ownerFor(parent), title(), text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::Yes) == QMessageBox::Yes;
}

void ShowError(const QString &text, QWidget *parent)
{
    if (testAnswerer) {
        testAnswerer(Kind::Error, text);
        return;
    }
    QMessageBox::critical(ownerFor(parent), title(), text, QMessageBox::Ok);
}

void answerForTests(Answerer answerer)
{
    testAnswerer = std::move(answerer);
}

} // namespace MessageBoxes

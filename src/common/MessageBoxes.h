// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes: notices, questions and errors.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// All message boxes of the program; titles and icons are the platform's.
namespace MessageBoxes {

enum class Kind
{
    Information,
    Question,
    Error
};

// Information box with one OK button.
void ShowInformation(const QString &text, QWidget *parent = nullptr);
// Warning box with Yes and No; true for Yes.
bool AskYesNo(const QString &text, QWidget *parent = nullptr);
// Error box with one OK button.
void ShowError(const QString &text, QWidget *parent = nullptr);

// Tests: answer boxes without showing them; the function gets the kind and the text and
// returns true for Yes. An empty function restores the real boxes.
using Answerer = std::function<bool(Kind, const QString &)>;
void answerForTests(Answerer answerer);

} // namespace MessageBoxes

using MessageBoxes::AskYesNo;
using MessageBoxes::ShowError;
using MessageBoxes::ShowInformation;

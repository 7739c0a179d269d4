// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes: notices, questions and errors.
#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

// All message boxes of the program; titles and icons are the platform's.
namespace MessageBoxes {

enum class Kind
{
    Information,
    Question,
    Error
};

// The answer Enter gives to a question; a question whose Yes destroys something defaults to No.
enum class DefaultAnswer
{
    Yes,
    No
};

// Information box with one OK button.
void ShowInformation(const QString &text, QWidget *parent = nullptr);
// Warning box with Yes and No; true for Yes.
bool AskYesNo(const QString &text, QWidget *parent = nullptr,
              DefaultAnswer defaultAnswer = DefaultAnswer::Yes);
// Error box with one OK button.
void ShowError(const QString &text, QWidget *parent = nullptr);

// A window's help: an information box with its text and OK, and, when manualPath names the
// HTML manual, a button "Anleitung öffnen" that opens it in the desktop's browser. The box is
// built here, not shown; ShowHelp shows it.
std::unique_ptr<QMessageBox> CreateHelpBox(const QString &text, const QString &manualPath,
                                           QWidget *parent = nullptr);
void ShowHelp(const QString &text, const QString &manualPath, QWidget *parent = nullptr);
// The name of the box's button that opens the manual.
inline const QString OpenManualButtonName = QStringLiteral("But_Anleitung_oeffnen");

// Tests: answer boxes without showing them; the function gets the kind and the text and
// returns true for Yes. An empty function restores the real boxes.
using Answerer = std::function<bool(Kind, const QString &)>;
void answerForTests(Answerer answerer);
// Tests: the same, also told which answer Enter would give (Yes for boxes that are no question).
using DetailedAnswerer = std::function<bool(Kind, const QString &, DefaultAnswer)>;
void answerWithDefaultsForTests(DetailedAnswerer answerer);

} // namespace MessageBoxes

using MessageBoxes::AskYesNo;
using MessageBoxes::DefaultAnswer;
using MessageBoxes::ShowError;
using MessageBoxes::ShowHelp;
using MessageBoxes::ShowInformation;

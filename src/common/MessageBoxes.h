// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes: notices, questions and errors.
#pragma once

#include <QList>
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
// Gives a box the look of the program's boxes: the text as given, its blanks and line breaks
// kept, in the windows' grown font, and a box as wide as its longest line needs up to the
// width of the screen, wrapping only beyond that. Every box of the program goes through it;
// so can a box built elsewhere with buttons of its own, before it is shown.
void PrepareMessageBox(QMessageBox *box, const QString &text);
// Closes the program's boxes that are open over one of the windows (or a box shown over such
// a box), as if the player had closed them: a question so closed counts as answered No.
void CloseBoxesOver(const QList<const QWidget *> &windows);
// The program's boxes open now, not counting those closed and about to return.
int OpenBoxCount();

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

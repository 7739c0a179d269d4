// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs of the overall-result files.
#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

// File dialogs of the overall-result files: filter "ERG|*.ERG", default extension "ERG".
namespace FileDialogs {

QFileDialog *CreateResultsOpenDialog(QWidget *parent);
QFileDialog *CreateResultsSaveDialog(QWidget *parent);

// Runs the dialog modally; the chosen path, or an empty text when the player cancels.
QString Execute(QFileDialog *dialog);

// Tests: Execute returns what the function returns for the dialog instead of showing it.
using Answerer = std::function<QString(QFileDialog *)>;
void answerForTests(Answerer answerer);

} // namespace FileDialogs

// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs of the overall-result files.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QDateTime;
class QFileDialog;
class QWidget;

// File dialogs of the overall-result files: filter "ERG|*.ERG", default extension "ERG".
namespace FileDialogs {

QFileDialog *CreateResultsOpenDialog(QWidget *parent);
QFileDialog *CreateResultsSaveDialog(QWidget *parent);

// The dialog kept in `slot`: built by `make` and named the first time it is asked for, the same
// one from then on. A file dialog costs more to build than a whole window of the program (its
// icons, its file system model), so windows build theirs when the player first needs one.
QFileDialog *BuiltWhenNeeded(QFileDialog *&slot, const QString &objectName,
                             const std::function<QFileDialog *()> &make);

// Runs the dialog modally; the chosen path, or an empty text when the player cancels. The
// dialog opens in the folder of the file chosen last in this run, at first in the user's
// documents folder, and takes at least half the screen.
QString Execute(QFileDialog *dialog);

// The folder a dialog opens in now.
QString StartFolder();
// A dialog's size: at least half the available screen area each way, never more than all of it.
QSize DialogSize(const QSize &current, const QRect &available);
// File sizes and dates as the dialogs list them, in German whatever the desktop's language.
QString FileSizeText(qint64 bytes);
QString FileDateText(const QDateTime &moment);

// Tests: Execute returns what the function returns for the dialog instead of showing it; the
// dialog is prepared (folder, size) as for showing.
using Answerer = std::function<QString(QFileDialog *)>;
void answerForTests(Answerer answerer);

// An open dialog for several results files at once.
QFileDialog *CreateResultsOpenManyDialog(QWidget *parent);
// A save dialog for an export, with its own filter ("CSV (*.csv)") and default extension;
// it asks before overwriting.
QFileDialog *CreateExportSaveDialog(QWidget *parent, const QString &filter, const QString &suffix);
// Runs the dialog modally like Execute; the chosen paths, or none when the player cancels.
QStringList ExecuteMany(QFileDialog *dialog);

// Tests: ExecuteMany returns what the function returns instead of showing the dialog, which
// is prepared as for showing.
using ManyAnswerer = std::function<QStringList(QFileDialog *)>;
void answerManyForTests(ManyAnswerer answerer);

} // namespace FileDialogs

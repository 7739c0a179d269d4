// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs of the overall-result files.
#include "common/FileDialogs.h"

#include <QFileDialog>

namespace FileDialogs {
namespace {
Answerer testAnswerer;

QFileDialog *createResultsDialog(QWidget *parent, QFileDialog::AcceptMode mode)
{
    auto *dialog = new QFileDialog(parent);
    dialog->setAcceptMode(mode);
    dialog->setNameFilter(QStringLiteral("ERG (*.ERG)"));
    dialog->setDefaultSuffix(QStringLiteral("ERG"));
    // Qt's own dialog, so its texts come from the German translation on every desktop.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}
} // namespace

QFileDialog *CreateResultsOpenDialog(QWidget *parent)
{
    auto *dialog = createResultsDialog(parent, QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

QFileDialog *CreateResultsSaveDialog(QWidget *parent)
{
    auto *dialog = createResultsDialog(parent, QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Choosing an existing file is the normal way to add a game to it, not an overwrite.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

QString Execute(QFileDialog *dialog)
{
    if (testAnswerer)
        return testAnswerer(dialog);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

void answerForTests(Answerer answerer)
{
    testAnswerer = std::move(answerer);
}

} // namespace FileDialogs

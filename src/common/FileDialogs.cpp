// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs of the overall-result files.
#include "common/FileDialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QStandardPaths>
#include <QTreeView>

#include <algorithm>

namespace FileDialogs {
namespace {
Answerer testAnswerer;
ManyAnswerer testManyAnswerer;
// Folder of the file chosen last in this run; empty before the first choice.
QString lastFolder;

QLocale german()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

// The dialog's file list takes sizes and dates from the desktop's language, so "Dec" and
// "bytes" showed on an English desktop; this list writes those two columns in German.
class GermanFileList : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        constexpr int SizeColumn = 1;
        constexpr int DateColumn = 3;
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files ||
            (index.column() != SizeColumn && index.column() != DateColumn))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == DateColumn)
            return FileDateText(files->lastModified(source));
        // Folders have no size, as in the toolkit's own list.
        return files->isDir(source) ? QString() : FileSizeText(files->size(source));
    }
};

QFileDialog *createResultsDialog(QWidget *parent, QFileDialog::AcceptMode mode)
{
    auto *dialog = new QFileDialog(parent);
    dialog->setAcceptMode(mode);
    dialog->setNameFilter(QStringLiteral("ERG (*.ERG)"));
    dialog->setDefaultSuffix(QStringLiteral("ERG"));
    // Qt's own dialog, so its texts come from the German translation on every desktop.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setProxyModel(new GermanFileList(dialog));
    // Size, type and date take the room they need; the name gets the rest.
    if (auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    return dialog;
}

QRect availableScreenArea(const QWidget *dialog)
{
    const QWidget *owner = dialog->parentWidget() ? dialog->parentWidget() : dialog;
    const QScreen *screen = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void prepare(QFileDialog *dialog)
{
    dialog->setDirectory(StartFolder());
    // The field would still hold the last full path, and typing would add to it.
    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->clear();
    const QRect available = availableScreenArea(dialog);
    if (!available.isEmpty())
        dialog->resize(DialogSize(dialog->size(), available));
    // The places on the left ("Computer", the home folder) are shown whole, not cut to "Com…".
    auto *places = dialog->findChild<QListView *>(QStringLiteral("sidebar"));
    auto *splitter = dialog->findChild<QSplitter *>(QStringLiteral("splitter"));
    if (places && splitter && splitter->count() == 2) {
        const int needed = places->sizeHintForColumn(0) + 2 * places->frameWidth() +
                           places->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QList<int> sizes = splitter->sizes();
        if (sizes.size() == 2 && sizes[0] < needed)
            splitter->setSizes({needed, std::max(sizes[0] + sizes[1] - needed, dialog->width() / 2)});
    }
}
// A completion list is a window of its own: shown late, after Enter had already taken the name,
// it would stay over the next window until the next key or click.
void closeCompletionLists(QFileDialog *dialog)
{
    for (QCompleter *completer : dialog->findChildren<QCompleter *>()) {
        if (QAbstractItemView *list = completer->popup(); list && list->isVisible())
            list->hide();
    }
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

QString StartFolder()
{
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir())
        return lastFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QSize DialogSize(const QSize &current, const QRect &available)
{
    const int width = std::max(current.width(), available.width() / 2);
    const int height = std::max(current.height(), available.height() / 2);
    return QSize(std::min(width, available.width()), std::min(height, available.height()));
}

QString FileSizeText(qint64 bytes)
{
    return german().formattedDataSize(bytes);
}

QString FileDateText(const QDateTime &moment)
{
    return german().toString(moment, QLocale::ShortFormat);
}

QFileDialog *BuiltWhenNeeded(QFileDialog *&slot, const QString &objectName,
                             const std::function<QFileDialog *()> &make)
{
    if (!slot) {
        slot = make();
        slot->setObjectName(objectName);
    }
    return slot;
}

QString Execute(QFileDialog *dialog)
{
    prepare(dialog);
    QString chosen;
    if (testAnswerer) {
        chosen = testAnswerer(dialog);
    } else {
        const bool accepted = dialog->exec() == QDialog::Accepted;
        closeCompletionLists(dialog);
        if (accepted && !dialog->selectedFiles().isEmpty())
            chosen = dialog->selectedFiles().constFirst();
    }
    if (!chosen.isEmpty())
        lastFolder = QFileInfo(chosen).absolutePath();
    return chosen;
}

void answerForTests(Answerer answerer)
{
    testAnswerer = std::move(answerer);
}

QFileDialog *CreateResultsOpenManyDialog(QWidget *parent)
{
    auto *dialog = createResultsDialog(parent, QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    return dialog;
}

QFileDialog *CreateExportSaveDialog(QWidget *parent, const QString &filter, const QString &suffix)
{
    auto *dialog = createResultsDialog(parent, QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(suffix);
    return dialog;
}

QStringList ExecuteMany(QFileDialog *dialog)
{
    prepare(dialog);
    QStringList chosen;
    if (testManyAnswerer) {
        chosen = testManyAnswerer(dialog);
    } else {
        const bool accepted = dialog->exec() == QDialog::Accepted;
        closeCompletionLists(dialog);
        if (accepted)
            chosen = dialog->selectedFiles();
    }
    if (!chosen.isEmpty())
        lastFolder = QFileInfo(chosen.constFirst()).absolutePath();
    return chosen;
}

void answerManyForTests(ManyAnswerer answerer)
{
    testManyAnswerer = std::move(answerer);
}

} // namespace FileDialogs

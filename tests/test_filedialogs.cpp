// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/FileDialogs.h"

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QCompleter>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

// Where the result-file dialogs open, how large they are and how they write sizes and dates.
class FileDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    // Runs first: the folder is remembered for the rest of the run.
    void firstDialogOpensInTheDocumentsFolder();
    void laterDialogsOpenWhereTheLastFileWasChosen();
    void cancellingKeepsTheFolder();
    void vanishedFolderFallsBackToTheDocuments();
    void dialogTakesAtLeastHalfTheScreen_data();
    void dialogTakesAtLeastHalfTheScreen();
    void preparedDialogFitsTheScreen();
    void sizesAndDatesAreGerman_data();
    void sizesAndDatesAreGerman();
    void fileListShowsGermanSizesAndDates();
    void noCompletionListOrOldNameOutlivesTheDialog();

private:
    // Runs the dialog through the test seam; returns the folder it was opened in.
    static QString folderWhenShown(QFileDialog *dialog, const QString &answer);
    QString folder(const QString &name) const { return m_home.filePath(name); }

    QTemporaryDir m_home;
    std::unique_ptr<QWidget> m_owner;
    QFileDialog *m_open = nullptr;
    QFileDialog *m_save = nullptr;
};

void FileDialogsTest::initTestCase()
{
    // A home of its own whose documents folder is "Dokumente", as on a German desktop.
    QVERIFY(m_home.isValid());
    QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral(".config")));
    QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("Dokumente")));
    QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("Ergebnisse/alt")));
    QFile dirs(folder(QStringLiteral(".config/user-dirs.dirs")));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    dirs.close();
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder(QStringLiteral(".config"))));

    m_owner = std::make_unique<QWidget>();
    m_open = FileDialogs::CreateResultsOpenDialog(m_owner.get());
    m_save = FileDialogs::CreateResultsSaveDialog(m_owner.get());
}

void FileDialogsTest::cleanup()
{
    FileDialogs::answerForTests({});
}

QString FileDialogsTest::folderWhenShown(QFileDialog *dialog, const QString &answer)
{
    QString shownIn;
    FileDialogs::answerForTests([&](QFileDialog *asked) {
        shownIn = asked->directory().absolutePath();
        return answer;
    });
    const QString chosen = FileDialogs::Execute(dialog);
    if (chosen != answer)
        qWarning("Execute returned %s", qPrintable(chosen));
    return shownIn;
}

void FileDialogsTest::firstDialogOpensInTheDocumentsFolder()
{
    QCOMPARE(folderWhenShown(m_open, QString()), folder(QStringLiteral("Dokumente")));
    QCOMPARE(folderWhenShown(m_save, QString()), folder(QStringLiteral("Dokumente")));
}

void FileDialogsTest::laterDialogsOpenWhereTheLastFileWasChosen()
{
    const QString results = folder(QStringLiteral("Ergebnisse"));
    folderWhenShown(m_save, results + QStringLiteral("/spiel.ERG"));
    // The other dialog follows too: there is one folder last used.
    QCOMPARE(folderWhenShown(m_open, folder(QStringLiteral("Ergebnisse/alt/x.ERG"))), results);
    QCOMPARE(folderWhenShown(m_save, QString()), folder(QStringLiteral("Ergebnisse/alt")));
}

void FileDialogsTest::cancellingKeepsTheFolder()
{
    folderWhenShown(m_open, folder(QStringLiteral("Ergebnisse/a.ERG")));
    folderWhenShown(m_save, QString());
    QCOMPARE(folderWhenShown(m_open, QString()), folder(QStringLiteral("Ergebnisse")));
}

void FileDialogsTest::vanishedFolderFallsBackToTheDocuments()
{
    QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("weg")));
    folderWhenShown(m_save, folder(QStringLiteral("weg/a.ERG")));
    QVERIFY(QDir(folder(QStringLiteral("weg"))).removeRecursively());
    QCOMPARE(folderWhenShown(m_open, QString()), folder(QStringLiteral("Dokumente")));
}

void FileDialogsTest::dialogTakesAtLeastHalfTheScreen_data()
{
    QTest::addColumn<QSize>("current");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("size");
    QTest::newRow("small dialog, 1366 x 768")
        << QSize(500, 300) << QRect(0, 0, 1366, 740) << QSize(683, 370);
    QTest::newRow("small dialog, 2560 x 1440")
        << QSize(500, 300) << QRect(0, 0, 2560, 1400) << QSize(1280, 700);
    QTest::newRow("enlarged by the player stays")
        << QSize(900, 600) << QRect(0, 0, 1366, 740) << QSize(900, 600);
    QTest::newRow("never beyond the screen")
        << QSize(1400, 800) << QRect(0, 0, 1024, 740) << QSize(1024, 740);
}

void FileDialogsTest::dialogTakesAtLeastHalfTheScreen()
{
    QFETCH(QSize, current);
    QFETCH(QRect, available);
    QFETCH(QSize, size);
    QCOMPARE(FileDialogs::DialogSize(current, available), size);
}

void FileDialogsTest::preparedDialogFitsTheScreen()
{
    m_open->resize(200, 100);
    folderWhenShown(m_open, QString());
    const QRect available = m_owner->screen()->availableGeometry();
    QVERIFY(m_open->width() >= available.width() / 2);
    QVERIFY(m_open->height() >= available.height() / 2);
    QVERIFY(m_open->width() <= available.width());
    QVERIFY(m_open->height() <= available.height());
}

void FileDialogsTest::sizesAndDatesAreGerman_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("size");
    QTest::newRow("one record") << qint64(80) << "80 Bytes";
    QTest::newRow("full file") << qint64(1600) << "1,56 KiB";
    QTest::newRow("large") << qint64(300000) << "292,97 KiB";
}

void FileDialogsTest::sizesAndDatesAreGerman()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, size);
    QCOMPARE(FileDialogs::FileSizeText(bytes), size);
    QCOMPARE(FileDialogs::FileDateText(QDateTime(QDate(2025, 12, 3), QTime(10, 15))),
             QStringLiteral("03.12.25 10:15"));
}

void FileDialogsTest::fileListShowsGermanSizesAndDates()
{
    // Whatever the desktop's language, the dialog's own list shows what the helpers write.
    const QString results = folder(QStringLiteral("Ergebnisse"));
    QFile file(results + QStringLiteral("/liste.ERG"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1600, '\0'));
    file.close();
    const QDateTime modified(QDate(2025, 12, 3), QTime(10, 15));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();

    QAbstractProxyModel *list = m_open->proxyModel();
    QVERIFY(list);
    auto *files = qobject_cast<QFileSystemModel *>(list->sourceModel());
    QVERIFY(files);
    files->setRootPath(results);
    const QModelIndex sourceRow = files->index(file.fileName());
    QVERIFY(sourceRow.isValid());
    const QModelIndex row = list->mapFromSource(sourceRow);
    QTRY_COMPARE(list->index(row.row(), 1, row.parent()).data().toString(),
                 QStringLiteral("1,56 KiB"));
    QCOMPARE(list->index(row.row(), 3, row.parent()).data().toString(),
             QStringLiteral("03.12.25 10:15"));
    QCOMPARE(list->index(row.row(), 0, row.parent()).data().toString(),
             QStringLiteral("liste.ERG"));
}

// Typing the start of a name opens the dialog's completion list, a window of its own: it must
// close with the dialog. The next showing starts with an empty name field.
void FileDialogsTest::noCompletionListOrOldNameOutlivesTheDialog()
{
    const QString results = folder(QStringLiteral("Ergebnisse"));
    QFile file(results + QStringLiteral("/Probe.ERG"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    auto *name = m_open->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    QAbstractItemView *completions = nullptr;
    bool listShown = false;
    QTimer::singleShot(0, m_open, [&] {
        // Ends the dialog however the waits below come out.
        auto end = qScopeGuard([this] { m_open->reject(); });
        m_open->setDirectory(results);
        auto *files = m_open->findChild<QListView *>(QStringLiteral("listView"));
        QVERIFY(files);
        // The folder is read in the background; the new file may come after the others.
        const QAbstractItemModel *list = files->model();
        QTRY_VERIFY(!list->match(list->index(0, 0, files->rootIndex()), Qt::DisplayRole,
                                 QStringLiteral("Probe.ERG"), 1, Qt::MatchExactly)
                         .isEmpty());
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("Pro"));
        QCompleter *completer = name->completer();
        QVERIFY(completer);
        completions = completer->popup();
        QTRY_VERIFY(completions->isVisible());
        listShown = true;
    });
    FileDialogs::Execute(m_open);
    QVERIFY(listShown);
    QVERIFY(!completions->isVisible());

    name->setText(results + QStringLiteral("/Probe"));
    QString nameWhenShown = QStringLiteral("not shown");
    FileDialogs::answerForTests([&](QFileDialog *) { return nameWhenShown = name->text(); });
    FileDialogs::Execute(m_open);
    QCOMPARE(nameWhenShown, QString());
}

QTEST_MAIN(FileDialogsTest)
#include "test_filedialogs.moc"

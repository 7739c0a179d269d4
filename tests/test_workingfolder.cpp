// SPDX-License-Identifier: GPL-3.0-or-later
// The data folder that an installed program works in, and leaving a build folder alone.
#include "TestSupport.h"

#include "common/WorkingFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

namespace {
const QString CapitalsName = QStringLiteral("Hauptsta.FKL");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class WorkingFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void installedLayoutIsRecognisedBesideTheExecutable();
    void userFolderLiesUnderTheXdgDataHome();
    void preparing_data();
    void preparing();
    void failedCopyLeavesNoPartOfTheFile();

private:
    QTemporaryDir m_root;
    QString m_startDirectory;
    QString m_installed;
};

void WorkingFolderTest::init()
{
    m_startDirectory = QDir::currentPath();
    m_installed = m_root.filePath(QStringLiteral("usr/share/mentaro"));
    QVERIFY(QDir().mkpath(m_installed));
    QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("usr/bin"))));
    QByteArray table(11000, '\0');
    table[0] = 8;
    writeFile(QDir(m_installed).filePath(CapitalsName), table);
}

void WorkingFolderTest::cleanup()
{
    QDir::setCurrent(m_startDirectory);
    QDir(m_root.path()).removeRecursively();
    QDir().mkpath(m_root.path());
}

void WorkingFolderTest::installedLayoutIsRecognisedBesideTheExecutable()
{
    QCOMPARE(WorkingFolder::InstalledDataPathFromBinary(), QStringLiteral("../share/mentaro"));
    QCOMPARE(WorkingFolder::InstalledDataDirectory(m_root.filePath(QStringLiteral("usr/bin"))),
             QDir(m_installed).canonicalPath());
    // A build folder has no share/mentaro beside it.
    QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("src/build"))));
    QVERIFY(WorkingFolder::InstalledDataDirectory(m_root.filePath(QStringLiteral("src/build")))
                .isEmpty());
    QVERIFY(WorkingFolder::InstalledDataDirectory(QString()).isEmpty());
}

void WorkingFolderTest::userFolderLiesUnderTheXdgDataHome()
{
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", m_root.filePath(QStringLiteral("data")).toLocal8Bit());
    QCOMPARE(WorkingFolder::UserDataDirectory(), m_root.filePath(QStringLiteral("data/mentaro")));
    qunsetenv("XDG_DATA_HOME");
    QCOMPARE(WorkingFolder::UserDataDirectory(),
             QDir::home().filePath(QStringLiteral(".local/share/mentaro")));
    if (!savedHome.isNull())
        qputenv("XDG_DATA_HOME", savedHome);
}

enum class UserFolder { Missing, HoldsOwnCapitalsFile, HoldsALink, UnderARegularFile };

void WorkingFolderTest::preparing_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("installationHasCapitals");
    QTest::addColumn<int>("userFolder");
    QTest::addColumn<bool>("entersUserFolder");
    QTest::addColumn<QByteArray>("capitalsAfterwards"); // "table", "own" or "none"
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("build folder: stays where it was started")
        << false << true << int(UserFolder::Missing) << false << QByteArray("none") << QString();
    QTest::newRow("first start: folder made, capitals file copied")
        << true << true << int(UserFolder::Missing) << true << QByteArray("table") << QString();
    QTest::newRow("later start: the player's file is kept")
        << true << true << int(UserFolder::HoldsOwnCapitalsFile) << true << QByteArray("own")
        << QString();
    QTest::newRow("a link at the file's name: never written through")
        << true << true << int(UserFolder::HoldsALink) << true << QByteArray("none") << QString();
    QTest::newRow("installation without the file: nothing copied, no complaint")
        << true << false << int(UserFolder::Missing) << true << QByteArray("none") << QString();
    QTest::newRow("folder cannot be made: stays, says so")
        << true << true << int(UserFolder::UnderARegularFile) << false << QByteArray("none")
        << QStringLiteral("kann nicht angelegt werden");
}

void WorkingFolderTest::preparing()
{
    QFETCH(bool, installed);
    QFETCH(bool, installationHasCapitals);
    QFETCH(int, userFolder);
    QFETCH(bool, entersUserFolder);
    QFETCH(QByteArray, capitalsAfterwards);
    QFETCH(QString, errorPart);

    const QString installedCapitals = QDir(m_installed).filePath(CapitalsName);
    if (!installationHasCapitals)
        QVERIFY(QFile::remove(installedCapitals));
    const QByteArray table = readFile(installedCapitals);

    QString user = m_root.filePath(QStringLiteral("home/.local/share/mentaro"));
    if (userFolder == int(UserFolder::HoldsOwnCapitalsFile)) {
        QVERIFY(QDir().mkpath(user));
        writeFile(QDir(user).filePath(CapitalsName), "own");
    } else if (userFolder == int(UserFolder::HoldsALink)) {
        QVERIFY(QDir().mkpath(user) && QFile::link(m_root.filePath(QStringLiteral("wichtig.txt")),
                                                   QDir(user).filePath(CapitalsName)));
    } else if (userFolder == int(UserFolder::UnderARegularFile)) {
        writeFile(m_root.filePath(QStringLiteral("plainfile")), "x");
        user = m_root.filePath(QStringLiteral("plainfile/mentaro"));
    }
    const QString startedIn = QDir::currentPath();

    const WorkingFolder::Outcome outcome = WorkingFolder::Prepare(
        installed ? m_installed : QString(), user, {CapitalsName});

    QCOMPARE(outcome.changed, entersUserFolder);
    QCOMPARE(QDir::currentPath(), entersUserFolder ? QDir(user).canonicalPath() : startedIn);
    if (errorPart.isEmpty())
        QVERIFY2(outcome.error.isEmpty(), qPrintable(outcome.error));
    else
        QVERIFY2(outcome.error.contains(errorPart), qPrintable(outcome.error));
    if (!installed)
        QVERIFY(!QFileInfo::exists(user));

    const QString userCapitals = QDir(user).filePath(CapitalsName);
    if (capitalsAfterwards == "none")
        QVERIFY(!QFileInfo::exists(userCapitals));
    else
        QCOMPARE(readFile(userCapitals), capitalsAfterwards == "own" ? QByteArray("own") : table);
    QVERIFY(!QFileInfo::exists(m_root.filePath(QStringLiteral("wichtig.txt"))));
}

void WorkingFolderTest::failedCopyLeavesNoPartOfTheFile()
{
    // The disk takes only part of the copy.
    const QString user = m_root.filePath(QStringLiteral("home/mentaro"));
    QVERIFY(QDir().mkpath(user));
    std::optional<TestSupport::FileSizeLimit> limit(std::in_place, 4000);
    const WorkingFolder::Outcome outcome = WorkingFolder::Prepare(m_installed, user, {CapitalsName});
    limit.reset();

    QVERIFY(outcome.changed);
    QVERIFY2(outcome.error.contains(QStringLiteral("\"Hauptsta.FKL\" kann nicht")),
             qPrintable(outcome.error));
    QCOMPARE(TestSupport::directoryEntries(user), QStringList()); // no temporary file either
}

QTEST_GUILESS_MAIN(WorkingFolderTest)
#include "test_workingfolder.moc"

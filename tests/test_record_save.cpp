// SPDX-License-Identifier: GPL-3.0-or-later
// Saving records: failures, crashes and odd file types leave a results file as it was.
#include "TestSupport.h"

#include "common/RecordFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using TestSupport::directoryEntries;
using TestSupport::FileSizeLimit;
using TestSupport::readAll;
using TestSupport::writeAll;
using Step = RecordSave::Step;

namespace {

constexpr int RecordSize = 80;

QByteArray records(int count, char fill)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray(RecordSize, char(fill + i));
    return bytes;
}

const QByteArray NewRecord(RecordSize, 'N');

struct stat statOf(const QString &path)
{
    struct stat info = {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

enum Operation
{
    Append,
    Replace,
    Create
};

void run(Operation operation, const QString &path)
{
    switch (operation) {
    case Append:
        RecordSave::Append(path, NewRecord, RecordSize);
        break;
    case Replace:
        RecordSave::Replace(path, NewRecord);
        break;
    case Create:
        RecordSave::Create(path, NewRecord);
        break;
    }
}

// The code the operation fails with, 0 when it succeeds.
int failureOf(Operation operation, const QString &path)
{
    try {
        run(operation, path);
    } catch (const InOutError &error) {
        return error.code();
    }
    return 0;
}

// Fails each listed step (pairs of step and errno) every time it comes.
void injectFaults(const QList<int> &faults)
{
    RecordSave::injectFaultsForTests([faults](Step step) {
        for (qsizetype i = 0; i + 1 < faults.size(); i += 2) {
            if (faults[i] == int(step))
                return faults[i + 1];
        }
        return 0;
    });
}

} // namespace

class RecordSaveTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void failedSaveLeavesTheFileByteForByte_data();
    void failedSaveLeavesTheFileByteForByte();
    void appendKeepsHardLinksOwnerAndMode();
    void replaceKeepsOwnerModeAndSymbolicLinks();
    void writableFileInAReadOnlyFolderTakesTheRecord();
    void killedSaveLeavesTheOldRecords_data();
    void killedSaveLeavesTheOldRecords();
    void onlyRegularFilesAreOpened_data();
    void onlyRegularFilesAreOpened();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void RecordSaveTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void RecordSaveTest::cleanup()
{
    RecordSave::injectFaultsForTests({});
    if (m_dir)
        QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
    m_dir.reset();
}

void RecordSaveTest::failedSaveLeavesTheFileByteForByte_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("old");   // empty: no file before
    QTest::addColumn<qint64>("sizeLimit"); // 0: none
    QTest::addColumn<QList<int>>("faults");
    QTest::addColumn<int>("code");

    const QByteArray nineteen = records(19, 'a');
    const QByteArray cutShort = nineteen + QByteArray(30, 'z');
    const QByteArray twenty = records(20, 'a');
    const int write = int(Step::Write);
    const int sync = int(Step::Sync);
    const int rename = int(Step::Rename);
    const int temporary = int(Step::CreateTemporary);

    QTest::newRow("append over a cut record, limit inside the record")
        << int(Append) << cutShort << qint64(nineteen.size() + 50) << QList<int>() << 101;
    QTest::newRow("append, disk full at the flush")
        << int(Append) << nineteen << qint64(0) << QList<int>{sync, ENOSPC} << 101;
    QTest::newRow("append, write error")
        << int(Append) << cutShort << qint64(0) << QList<int>{write, EIO} << 101;
    QTest::newRow("emptying, disk full at the flush")
        << int(Replace) << twenty << qint64(0) << QList<int>{sync, ENOSPC} << 101;
    QTest::newRow("emptying, renaming fails")
        << int(Replace) << twenty << qint64(0) << QList<int>{rename, EIO} << 101;
    QTest::newRow("emptying in place, write error")
        << int(Replace) << twenty << qint64(0) << QList<int>{temporary, EACCES, write, EIO} << 101;
    QTest::newRow("emptying in place, disk full at the flush")
        << int(Replace) << twenty << qint64(0) << QList<int>{temporary, EACCES, sync, ENOSPC}
        << 101;
    QTest::newRow("new file, disk full at the flush")
        << int(Create) << QByteArray() << qint64(0) << QList<int>{sync, ENOSPC} << 101;
    QTest::newRow("new file, cannot be made")
        << int(Create) << QByteArray() << qint64(0) << QList<int>{temporary, EACCES} << 5;
    QTest::newRow("new file, cannot be named")
        << int(Create) << QByteArray() << qint64(0) << QList<int>{rename, EIO} << 5;
    QTest::newRow("emptying, no room for the new file")
        << int(Replace) << twenty << qint64(0) << QList<int>{temporary, ENOSPC} << 101;
}

void RecordSaveTest::failedSaveLeavesTheFileByteForByte()
{
    QFETCH(int, operation);
    QFETCH(QByteArray, old);
    QFETCH(qint64, sizeLimit);
    QFETCH(QList<int>, faults);
    QFETCH(int, code);
    const QString file = path(QStringLiteral("alt.ERG"));
    if (!old.isEmpty())
        writeAll(file, old);
    injectFaults(faults);
    int failure = 0;
    {
        std::optional<FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit.emplace(sizeLimit);
        failure = failureOf(Operation(operation), file);
    }
    QCOMPARE(failure, code);
    QCOMPARE(QFile::exists(file), !old.isEmpty());
    QCOMPARE(readAll(file), old);
    // Nothing is left beside the file.
    QCOMPARE(directoryEntries(m_dir->path()),
             old.isEmpty() ? QStringList() : QStringList{QStringLiteral("alt.ERG")});
}

void RecordSaveTest::appendKeepsHardLinksOwnerAndMode()
{
    const QString file = path(QStringLiteral("a.ERG"));
    const QString link = path(QStringLiteral("b.ERG"));
    writeAll(file, records(3, 'a'));
    QVERIFY(::link(QFile::encodeName(file).constData(), QFile::encodeName(link).constData()) == 0);
    // The program's own data file, rewritten without asking, refuses a second name.
    RecordFile own(link, RecordSize);
    QVERIFY_THROWS_EXCEPTION(InOutError, own.Rewrite());
    QVERIFY(::chmod(QFile::encodeName(file).constData(), 0640) == 0);
    if (runningAsRoot())
        QVERIFY(::chown(QFile::encodeName(file).constData(), 1234, 5678) == 0);
    const struct stat before = statOf(file);

    RecordSave::Append(file, NewRecord, RecordSize);
    const struct stat after = statOf(file);
    QCOMPARE(readAll(link), records(3, 'a') + NewRecord);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_nlink, nlink_t(2));
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(directoryEntries(m_dir->path()), QStringList({"a.ERG", "b.ERG"}));
}

void RecordSaveTest::replaceKeepsOwnerModeAndSymbolicLinks()
{
    const QString file = path(QStringLiteral("echt.ERG"));
    const QString link = path(QStringLiteral("verweis.ERG"));
    writeAll(file, records(20, 'a'));
    QVERIFY(QFile::link(file, link));
    RecordFile own(link, RecordSize);
    QVERIFY_THROWS_EXCEPTION(InOutError, own.Rewrite());
    QVERIFY(::chmod(QFile::encodeName(file).constData(), 0604) == 0);
    if (runningAsRoot()) {
        QVERIFY(::chown(QFile::encodeName(file).constData(), 1234, 5678) == 0);
        // Nor is another user's file the program's own.
        QVERIFY_THROWS_EXCEPTION(InOutError, RecordFile(file, RecordSize).Rewrite());
    }
    const struct stat before = statOf(file);
    // A link met on saving is never followed; one the player picked is resolved once.
    for (const Operation operation : {Append, Replace, Create})
        QCOMPARE(failureOf(operation, link), 5);
    QCOMPARE(readAll(file), records(20, 'a'));

    RecordSave::Replace(RecordSave::ChosenFile(link), NewRecord);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(file), NewRecord);
    const struct stat after = statOf(file);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(directoryEntries(m_dir->path()), QStringList({"echt.ERG", "verweis.ERG"}));
    QVERIFY(QFile::link(path(QStringLiteral("nirgends")), path(QStringLiteral("leer.ERG"))));
    QVERIFY_THROWS_EXCEPTION(InOutError, RecordSave::ChosenFile(path(QStringLiteral("leer.ERG"))));
}

void RecordSaveTest::writableFileInAReadOnlyFolderTakesTheRecord()
{
    const QString file = path(QStringLiteral("fest.ERG"));
    writeAll(file, records(5, 'a'));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    RecordSave::Append(file, NewRecord, RecordSize);
    QCOMPARE(readAll(file), records(5, 'a') + NewRecord);

    // Emptying needs a new file beside it; where the folder refuses one it goes in place.
    // Root may create files anywhere, so the refusal comes from the seam.
    writeAll(file, records(20, 'a'));
    const ino_t inode = statOf(file).st_ino;
    injectFaults({int(Step::CreateTemporary), EACCES});
    RecordSave::Replace(file, NewRecord);
    QCOMPARE(readAll(file), NewRecord);
    QCOMPARE(statOf(file).st_ino, inode);
    QCOMPARE(directoryEntries(m_dir->path()), QStringList({"fest.ERG"}));
}

void RecordSaveTest::killedSaveLeavesTheOldRecords_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<int>("killedAt");
    QTest::newRow("emptying, after writing") << int(Replace) << records(20, 'a') << int(Step::Sync);
    QTest::newRow("emptying, while writing")
        << int(Replace) << records(20, 'a') << int(Step::Write);
    QTest::newRow("new file, after writing") << int(Create) << QByteArray() << int(Step::Sync);
    QTest::newRow("append, after writing") << int(Append) << records(7, 'a') << int(Step::Sync);
    // The new file has its temporary name then, which the next save into the folder removes.
    QTest::newRow("emptying, before renaming")
        << int(Replace) << records(20, 'a') << int(Step::Rename);
    // Past a file size limit, with the default action of the signal that ends a process.
    QTest::newRow("append past the size limit") << int(Append) << records(19, 'a') << -1;
    QTest::newRow("emptying past the size limit") << int(Replace) << records(20, 'a') << -1;
}

// A child process saves and is killed at the given step, as by a power cut or kill -9.
void RecordSaveTest::killedSaveLeavesTheOldRecords()
{
    QFETCH(int, operation);
    QFETCH(QByteArray, old);
    QFETCH(int, killedAt);
    const QString file = path(QStringLiteral("alt.ERG"));
    if (!old.isEmpty())
        writeAll(file, old);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0 && killedAt < 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        IgnoreFileSizeLimitSignal();
        struct rlimit limit;
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 40;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(failureOf(Operation(operation), file));
    }
    if (child == 0) {
        RecordSave::injectFaultsForTests([killedAt](Step step) {
            if (int(step) == killedAt)
                ::raise(SIGKILL);
            return 0;
        });
        try {
            run(Operation(operation), file);
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(killedAt < 0 ? WIFEXITED(status) && WEXITSTATUS(status) == 101 : WIFSIGNALED(status),
             "the save must fail, not end the process, past the size limit");
    QCOMPARE(QFileInfo::exists(QStringLiteral("%1.%2.1").arg(file).arg(child)),
             killedAt == int(Step::Rename));
    // The next save removes what is left, except another kind of file and one whose maker still
    // runs; one written before this process started names a later process than its maker.
    const QString running = path(QStringLiteral("alt.ERG.%1.1").arg(::getpid()));
    const QString reused = path(QStringLiteral("alt.ERG.%1.2").arg(::getpid()));
    const QString other = path(QStringLiteral("notiz.txt.%1.1").arg(child));
    for (const QString &name : {running, reused, other})
        writeAll(name, "x");
    const struct timespec year2001[2] = {{978307200, 0}, {978307200, 0}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(reused).constData(), year2001, 0) == 0);
    RecordSave::Create(path(QStringLiteral("neu.ERG")), NewRecord);
    QCOMPARE(directoryEntries(m_dir->path()).size(), old.isEmpty() ? 3 : 4);
    QVERIFY(QFileInfo::exists(running) && !QFileInfo::exists(reused) && QFileInfo::exists(other));
    const QByteArray now = readAll(file);
    if (operation == Append && killedAt >= 0) {
        // Written but not yet confirmed: the new record may or may not be there, whole.
        QVERIFY(now == old || now == old + NewRecord);
    } else {
        QCOMPARE(now, old);
    }
}

void RecordSaveTest::onlyRegularFilesAreOpened_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO") << "fifo";
    QTest::newRow("directory") << "directory";
    QTest::newRow("socket") << "socket";
    QTest::newRow("device") << "device";
}

// Each call must come back at once; a FIFO without a writer would block an ordinary open.
void RecordSaveTest::onlyRegularFilesAreOpened()
{
    QFETCH(QString, kind);
    QString name = path(QStringLiteral("seltsam.ERG"));
    int socketFd = -1;
    auto closeSocket = qScopeGuard([&] {
        if (socketFd >= 0)
            ::close(socketFd);
    });
    const QByteArray encoded = QFile::encodeName(name);
    if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(encoded.constData(), 0666) == 0);
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkdir(name));
    } else if (kind == QLatin1String("socket")) {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(encoded.size()) < sizeof(address.sun_path));
        std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
        QVERIFY(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0);
    } else {
        name = QStringLiteral("/dev/null");
    }

    auto codeOf = [](const std::function<void()> &call) {
        try {
            call();
        } catch (const InOutError &error) {
            return error.code();
        }
        return 0;
    };
    // Saving and reading refuse it alike, as they refuse a folder.
    QCOMPARE(codeOf([&] { RecordSave::CountRecords(name, RecordSize); }), 5);
    QCOMPARE(codeOf([&] { RecordSave::Append(name, NewRecord, RecordSize); }), 5);
    QCOMPARE(codeOf([&] { RecordSave::Replace(name, NewRecord); }), 5);
    RecordFile file(name, RecordSize);
    QCOMPARE(codeOf([&] { file.Reset(); }), 5);
    QCOMPARE(codeOf([&] { file.ResetReadOnly(); }), 5);
    QVERIFY(!file.isOpen());
    if (kind != QLatin1String("device"))
        QCOMPARE(directoryEntries(m_dir->path()), QStringList({"seltsam.ERG"}));
}

QTEST_MAIN(RecordSaveTest)
#include "test_record_save.moc"

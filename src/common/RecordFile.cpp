// SPDX-License-Identifier: GPL-3.0-or-later
// Files of fixed-size records, the runtime's input/output errors, and saves that lose nothing.
#include "common/RecordFile.h"

#include "common/MessageBoxes.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

QString InOutError::message() const
{
    return InOutErrorText(m_code);
}

QString InOutErrorText(int code)
{
    switch (code) {
    case InOutCodes::FileNotFound:
        return QStringLiteral("Datei nicht gefunden");
    case InOutCodes::AccessDenied:
        return QStringLiteral("Dateizugriff verweigert");
    default:
        return QStringLiteral("E/A-Fehler %1").arg(code);
    }
}

int OpenErrorCode(int systemError)
{
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return InOutCodes::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case ELOOP: // a symbolic link where no link is followed
        return InOutCodes::AccessDenied;
    default:
        return InOutCodes::FileNotOpen;
    }
}

void IgnoreFileSizeLimitSignal()
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

bool HandleInOutErrors(const std::function<void()> &body)
{
    try {
        body();
        return true;
    } catch (const InOutError &error) {
        ShowError(error.message());
        return false;
    }
}

namespace {

using RecordSave::Step;

RecordSave::FaultInjector faultInjector;

// True when a test made this step fail; errno then holds the error.
bool faulted(Step step)
{
    if (!faultInjector)
        return false;
    const int error = faultInjector(step);
    if (error == 0)
        return false;
    errno = error;
    return true;
}

[[noreturn]] void fail(int code)
{
    throw InOutError(code);
}

class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

bool isRegular(const QByteArray &name, bool *exists = nullptr)
{
    struct stat info;
    const bool found = ::stat(name.constData(), &info) == 0;
    if (exists)
        *exists = found;
    return found && S_ISREG(info.st_mode);
}

bool isSymbolicLink(const QByteArray &name)
{
    struct stat info;
    return ::lstat(name.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool opensForWriting(int flags)
{
    return (flags & O_ACCMODE) != O_RDONLY;
}

// Opens an existing (or, with O_CREAT, a new) regular file. The type is checked before the
// opening and again on the open file, and the opening itself never waits: a FIFO or a
// device must never block the program. Anything else fails with notRegularCode. Writing
// never goes through a symbolic link, which could point anywhere: it is access denied.
int openRegular(const QByteArray &name, int flags, int notRegularCode)
{
    const bool writing = opensForWriting(flags);
    if (writing && isSymbolicLink(name))
        fail(InOutCodes::AccessDenied);
    bool exists = false;
    if (!isRegular(name, &exists) && exists)
        fail(notRegularCode);
    if (faulted(Step::OpenFile))
        fail(OpenErrorCode(errno));
    // O_NOFOLLOW also refuses a link put in place after the check.
    Descriptor fd(::open(name.constData(),
                         flags | (writing ? O_NOFOLLOW : 0) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                         0666));
    if (fd.get() < 0)
        fail(errno == EISDIR ? notRegularCode : OpenErrorCode(errno));
    struct stat info;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        fail(notRegularCode);
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd.release();
}

qint64 fileSize(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        fail(InOutCodes::FileNotOpen);
    return info.st_size;
}

// Without the test seam: also used to put old bytes back after a failure.
bool writeAllAt(int fd, const char *data, qint64 size, qint64 offset)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t written =
            ::pwrite(fd, data + done, size_t(size - done), off_t(offset + done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

void writeAt(int fd, const QByteArray &bytes, qint64 offset)
{
    if (faulted(Step::Write) || !writeAllAt(fd, bytes.constData(), bytes.size(), offset))
        fail(InOutCodes::WriteFailed);
}

// Only what fsync confirms is on the disk; a full disk may show no earlier than here.
void syncToDisk(int fd)
{
    if (faulted(Step::Sync) || ::fsync(fd) != 0)
        fail(InOutCodes::WriteFailed);
}

QByteArray readAt(int fd, qint64 offset, qint64 size)
{
    QByteArray bytes(size, '\0');
    qint64 done = 0;
    while (done < size) {
        const ssize_t got =
            ::pread(fd, bytes.data() + done, size_t(size - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            fail(InOutCodes::ReadPastEnd);
        done += got;
    }
    return bytes;
}

// Puts a file back to its old bytes after a failed save, as far as the system lets us.
void restore(int fd, const QByteArray &oldBytes, qint64 offset, qint64 oldSize)
{
    writeAllAt(fd, oldBytes.constData(), oldBytes.size(), offset);
    if (::ftruncate(fd, off_t(oldSize)) == 0)
        ::fsync(fd);
}

QByteArray directoryOf(const QByteArray &name)
{
    const qsizetype slash = name.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : name.left(slash);
}

// A full disk or quota is a failed write, whichever step meets it; whatever else stops a new
// file from being made counts as access denied.
int creationErrorCode(int systemError)
{
    return systemError == ENOSPC || systemError == EDQUOT ? InOutCodes::WriteFailed
                                                          : InOutCodes::AccessDenied;
}

// The new entry in a directory lasts a crash only once the directory is on the disk too. The
// file itself is complete by then, so a failure here is not worth reporting.
void syncDirectory(const QByteArray &directory)
{
    const Descriptor fd(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0)
        ::fsync(fd.get());
}

// A new file in the directory of its target. While the system allows it the file has no
// name until it is complete, so a save killed half-way leaves nothing behind.
class TemporaryFile
{
public:
    ~TemporaryFile()
    {
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
    }

    // False with errno set when no file could be made.
    bool create(const QByteArray &target)
    {
        m_target = target;
        if (faulted(Step::CreateTemporary))
            return false;
        // Linking an unnamed file needs /proc; without it the file gets a name at once.
        if (::access("/proc/self/fd", X_OK) == 0) {
            m_fd.reset(
                ::open(directoryOf(target).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
            if (m_fd.get() >= 0)
                return true;
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                return false;
        }
        return makeNamed([this](const QByteArray &name) {
            m_fd.reset(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            return m_fd.get() >= 0;
        });
    }

    int fd() const { return m_fd.get(); }

    // Gives the complete file the target's name, which no file may have yet.
    void placeAsNew()
    {
        if (faulted(Step::Rename) || !link(m_target))
            fail(creationErrorCode(errno));
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
        m_name.clear();
        syncDirectory(directoryOf(m_target));
    }

    // Puts the complete file in place of the target in one step.
    void placeOverTarget()
    {
        if (m_name.isEmpty() && !makeNamed([this](const QByteArray &name) { return link(name); }))
            fail(InOutCodes::WriteFailed);
        if (faulted(Step::Rename) || ::rename(m_name.constData(), m_target.constData()) != 0)
            fail(InOutCodes::WriteFailed);
        m_name.clear();
        syncDirectory(directoryOf(m_target));
    }

private:
    bool link(const QByteArray &name) const
    {
        if (m_name.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.get());
            return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                            AT_SYMLINK_FOLLOW) == 0;
        }
        return ::link(m_name.constData(), name.constData()) == 0;
    }

    // Tries "<target>.<pid>.<n>" names until make succeeds or fails for another reason
    // than the name being taken.
    template <typename Make> bool makeNamed(Make make)
    {
        const QByteArray stem = m_target + '.' + QByteArray::number(::getpid()) + '.';
        for (int n = 1; n <= 100; ++n) {
            const QByteArray name = stem + QByteArray::number(n);
            if (make(name)) {
                m_name = name;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    Descriptor m_fd;
    QByteArray m_target;
    QByteArray m_name; // empty while the file has no name
};

// Owner, group and mode of the file a replacement takes the place of, where we may set them.
void keepOwnerAndMode(int fd, const struct stat &original)
{
    if (::fchown(fd, original.st_uid, original.st_gid) != 0)
        (void)!::fchown(fd, uid_t(-1), original.st_gid);
    ::fchmod(fd, original.st_mode & 07777);
}

// For a writable file in a folder that takes no new files: written over where it stands.
void replaceInPlace(int fd, const QByteArray &bytes)
{
    const qint64 oldSize = fileSize(fd);
    const QByteArray old = readAt(fd, 0, oldSize);
    try {
        writeAt(fd, bytes, 0);
        if (::ftruncate(fd, off_t(bytes.size())) != 0)
            fail(InOutCodes::WriteFailed);
        syncToDisk(fd);
    } catch (const InOutError &) {
        restore(fd, old, 0, oldSize);
        throw;
    }
}

double seconds(const struct timespec &time)
{
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

// The process id in a temporary file's name "<file>.<pid>.<n>" as TemporaryFile makes them,
// for a file of a kind the program saves; 0 for any other name. Bytes stay bytes as Latin-1.
pid_t leftoverMaker(const QByteArray &name)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(
            QStringLiteral(".+\\.(erg|csv|png)\\.([1-9][0-9]{0,9})\\.([1-9][0-9]?|100)")),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(QString::fromLatin1(name));
    const qint64 pid = match.hasMatch() ? match.captured(2).toLongLong() : 0;
    return pid <= INT_MAX ? pid_t(pid) : 0;
}

// When the process now holding pid started, in seconds since the epoch; none without /proc.
// Rounded down to the clock tick, so a process never seems to have started later than it did.
std::optional<double> processStart(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Field 22 counts ticks since boot; the command before it may hold blanks and parentheses.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    struct timespec now, sinceBoot;
    if (fields.size() < 20 || ::clock_gettime(CLOCK_REALTIME, &now) != 0 ||
        ::clock_gettime(CLOCK_BOOTTIME, &sinceBoot) != 0)
        return std::nullopt;
    return seconds(now) - seconds(sinceBoot) +
           fields[19].toDouble() / double(::sysconf(_SC_CLK_TCK));
}

// A temporary file may still be in use while the process that made it runs. A pid may have
// been given to a later process, which then started after the file was last written.
bool makerMayStillRun(pid_t pid, const struct timespec &writtenAt)
{
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return false;
    const std::optional<double> started = processStart(pid);
    return !started || *started <= seconds(writtenAt);
}

// What saves killed between naming their new file and renaming it left in a folder.
void removeLeftovers(const QByteArray &directory)
{
    DIR *folder = ::opendir(directory.constData());
    if (!folder)
        return;
    const auto closeFolder = qScopeGuard([folder] { ::closedir(folder); });
    QList<QByteArray> names;
    while (const dirent *entry = ::readdir(folder)) {
        if (leftoverMaker(entry->d_name) > 0)
            names.append(entry->d_name);
    }
    for (const QByteArray &name : std::as_const(names)) {
        struct stat info;
        if (::fstatat(::dirfd(folder), name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || info.st_nlink != 1)
            continue;
        if (!makerMayStillRun(leftoverMaker(name), info.st_mtim))
            ::unlinkat(::dirfd(folder), name.constData(), 0);
    }
}

} // namespace

// ---- RecordFile ----

RecordFile::RecordFile(const QString &fileName, int recordSize)
    : m_fileName(fileName), m_recordSize(recordSize)
{
}

bool RecordFile::Exists(const QString &fileName)
{
    return QFileInfo(fileName).isFile();
}

void RecordFile::open(int flags)
{
    if (m_file.isOpen())
        m_file.close();
    // Refused as the saves refuse it, so loading and saving such a name say the same; emptied
    // only once it is known to be a file the program may write.
    Descriptor fd(
        openRegular(QFile::encodeName(m_fileName), flags & ~O_TRUNC, InOutCodes::AccessDenied));
    if (opensForWriting(flags)) {
        struct stat info;
        if (::fstat(fd.get(), &info) != 0 || info.st_nlink != 1 || info.st_uid != ::geteuid())
            fail(InOutCodes::AccessDenied);
        if ((flags & O_TRUNC) && ::ftruncate(fd.get(), 0) != 0)
            fail(InOutCodes::WriteFailed);
    }
    const QIODevice::OpenMode mode =
        opensForWriting(flags) ? QIODevice::ReadWrite : QIODevice::ReadOnly;
    if (!m_file.open(fd.get(), mode, QFileDevice::AutoCloseHandle))
        fail(InOutCodes::FileNotOpen);
    fd.release();
}

void RecordFile::Reset()
{
    // Never creates the file and never truncates it, like the runtime's reset.
    open(O_RDWR);
}

void RecordFile::ResetReadOnly()
{
    open(O_RDONLY);
}

void RecordFile::Rewrite()
{
    open(O_RDWR | O_CREAT | O_TRUNC);
}

void RecordFile::requireOpen() const
{
    if (!m_file.isOpen())
        throw InOutError(InOutCodes::FileNotOpen);
}

qint64 RecordFile::FileSize()
{
    requireOpen();
    return m_file.size() / m_recordSize;
}

void RecordFile::Seek(qint64 record)
{
    requireOpen();
    if (record < 0 || !m_file.seek(record * m_recordSize))
        throw InOutError(InOutCodes::ReadPastEnd);
}

qint64 RecordFile::ByteSize()
{
    requireOpen();
    return m_file.size();
}

QByteArray RecordFile::Read()
{
    requireOpen();
    const QByteArray record = m_file.read(m_recordSize);
    if (record.size() != m_recordSize)
        throw InOutError(InOutCodes::ReadPastEnd);
    return record;
}

void RecordFile::Write(const QByteArray &record)
{
    requireOpen();
    if (!m_file.isWritable())
        throw InOutError(InOutCodes::AccessDenied);
    QByteArray bytes = record.left(m_recordSize);
    bytes.resize(m_recordSize, '\0');
    if (m_file.write(bytes) != m_recordSize)
        throw InOutError(InOutCodes::WriteFailed);
}

void RecordFile::Close()
{
    requireOpen();
    const bool flushed = m_file.flush();
    m_file.close();
    if (!flushed)
        throw InOutError(InOutCodes::WriteFailed);
}

// ---- RecordSave ----

namespace RecordSave {

QString ChosenFile(const QString &picked)
{
    const QByteArray name = QFile::encodeName(picked);
    if (!isSymbolicLink(name))
        return picked;
    char buffer[PATH_MAX];
    struct stat info;
    if (!::realpath(name.constData(), buffer) || ::stat(buffer, &info) != 0 ||
        !S_ISREG(info.st_mode) || ::faccessat(AT_FDCWD, buffer, W_OK, AT_EACCESS) != 0)
        fail(InOutCodes::AccessDenied);
    const QString target = QFile::decodeName(buffer);
    // A target whose name Qt cannot hold would be saved under another name.
    if (QFile::encodeName(target) != QByteArray(buffer))
        fail(InOutCodes::AccessDenied);
    return target;
}

qint64 CountRecords(const QString &fileName, int recordSize)
{
    const QByteArray name = QFile::encodeName(fileName);
    bool exists = false;
    isRegular(name, &exists);
    if (!exists && !isSymbolicLink(name))
        return -1;
    const Descriptor fd(openRegular(name, O_RDWR, InOutCodes::AccessDenied));
    return fileSize(fd.get()) / recordSize;
}

void Append(const QString &fileName, const QByteArray &record, int recordSize)
{
    const QByteArray name = QFile::encodeName(fileName);
    removeLeftovers(directoryOf(name));
    const Descriptor fd(openRegular(name, O_RDWR, InOutCodes::AccessDenied));
    const qint64 oldSize = fileSize(fd.get());
    const qint64 end = oldSize - oldSize % recordSize;
    // What a crash left of a record: written over now, put back if this save fails.
    const QByteArray tail = readAt(fd.get(), end, oldSize - end);
    QByteArray bytes = record.left(recordSize);
    bytes.resize(recordSize, '\0');
    try {
        writeAt(fd.get(), bytes, end);
        syncToDisk(fd.get());
    } catch (const InOutError &) {
        restore(fd.get(), tail, end, oldSize);
        throw;
    }
}

void Create(const QString &fileName, const QByteArray &bytes)
{
    const QByteArray name = QFile::encodeName(fileName);
    removeLeftovers(directoryOf(name));
    TemporaryFile file;
    if (!file.create(name))
        fail(creationErrorCode(errno));
    writeAt(file.fd(), bytes, 0);
    syncToDisk(file.fd());
    file.placeAsNew();
}

void Replace(const QString &fileName, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(fileName);
    removeLeftovers(directoryOf(target));
    // Opened for writing first, so a write-protected file is refused and never replaced.
    const Descriptor original(openRegular(target, O_RDWR, InOutCodes::AccessDenied));
    struct stat info;
    if (::fstat(original.get(), &info) != 0)
        fail(InOutCodes::FileNotOpen);
    TemporaryFile file;
    if (!file.create(target)) {
        if (errno == EACCES || errno == EPERM || errno == EROFS) {
            replaceInPlace(original.get(), bytes);
            return;
        }
        fail(creationErrorCode(errno));
    }
    keepOwnerAndMode(file.fd(), info);
    writeAt(file.fd(), bytes, 0);
    syncToDisk(file.fd());
    file.placeOverTarget();
}

void injectFaultsForTests(FaultInjector injector)
{
    faultInjector = std::move(injector);
}

} // namespace RecordSave

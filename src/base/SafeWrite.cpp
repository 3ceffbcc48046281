#include "base/SafeWrite.h"

#include "base/Error.h"
#include "base/RegularFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorrel {

namespace {

// As many levels as the kernel itself follows before it gives ELOOP.
constexpr int kMaxLinkDepth = 40;
// A single write(2) moves at most this much on Linux anyway.
constexpr qsizetype kMaxChunk = 1 << 30;
// Leaves room for the prefix and suffix within the 255 bytes of a file name.
constexpr qsizetype kMaxTempStem = 200;
constexpr qsizetype kTempSuffix = 8;

// Closes on scope exit; close() reports what a deferred write-back error looks like.
class Descriptor final
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) { }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    // 0 or the error number. The descriptor is gone either way: Linux releases it even when
    // close fails, and closing it again could close another thread's file.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

WriteResult failure(WriteResult::Step step, const QString &reason)
{
    return WriteResult { false, step, reason };
}

WriteResult failure(WriteResult::Step step, int errorNumber)
{
    return failure(step, systemReason(errorNumber));
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// The kernel's rule for opening through a link in a sticky folder that anyone may write, such
// as /tmp: anyone could have planted the link there, pointing at any file of ours, so it is
// followed only when its owner is this process's user or the folder's owner.
bool mayFollow(const struct stat &link, const QByteArray &folder)
{
    struct stat st;
    if (::stat(folder.constData(), &st) != 0)
        return false;
    const bool shared = (st.st_mode & S_ISVTX) && (st.st_mode & S_IWOTH);
    return !shared || link.st_uid == ::geteuid() || link.st_uid == st.st_uid;
}

// Follows symbolic links until the path names something else or nothing, so that the link's
// target is replaced and the link itself stays. 0 or the error number. By path, not through a
// descriptor of the folder: in a sticky folder only the link's owner or the folder's, whom the
// rule trusts anyway, can change the link between the look and the reading.
int resolveLinks(QByteArray &path)
{
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        if (!mayFollow(st, folderOf(path)))
            return EACCES;
        // The size lstat gives may be 0 (/proc) or stale; grow until readlink leaves room.
        QByteArray target(std::max<qsizetype>(st.st_size, 64) + 1, Qt::Uninitialized);
        for (;;) {
            const ssize_t n = ::readlink(path.constData(), target.data(), target.size());
            if (n < 0)
                return errno;
            if (n < target.size()) {
                target.truncate(n);
                break;
            }
            if (target.size() > PATH_MAX)
                return ENAMETOOLONG;
            target.resize(target.size() * 2);
        }
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return ELOOP;
}

bool procFdAvailable()
{
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

QByteArray tempName(const QByteArray &name)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(kTempSuffix, Qt::Uninitialized);
    for (char &c : suffix)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return '.' + name.left(kMaxTempStem) + ".saving-" + suffix;
}

// A writer locks its file before the file has a name and keeps the lock until after the
// rename: a hidden copy that can be locked was left by a process that died before its rename.
bool lockForWriting(int fd)
{
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file being written, and the name it has in the folder (none for an O_TMPFILE file until
// it is linked). Whatever is still there when it goes out of scope is removed.
class TempFile final
{
public:
    explicit TempFile(int folder) : m_folder(folder) { }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    ~TempFile()
    {
        m_fd.reset(-1);
        if (!m_name.isEmpty())
            ::unlinkat(m_folder, m_name.constData(), 0);
        m_lock.reset(-1);
    }

    int fd() const { return m_fd.get(); }
    const QByteArray &name() const { return m_name; }

    // 0 or the error number.
    int create(const QByteArray &targetName, mode_t mode)
    {
#ifdef O_TMPFILE
        if (procFdAvailable()) {
            const int fd = ::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
            if (fd >= 0) {
                m_fd.reset(fd);
                m_unnamed = true;
                if (lockForWriting(fd))
                    keepLock();
                return 0;
            }
            // Unsupported by the file system or the kernel; anything else is the folder's answer.
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                return errno;
        }
#endif
        for (;;) {
            const QByteArray name = tempName(targetName);
            const int fd = ::openat(m_folder, name.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
            if (fd < 0 && errno != EEXIST)
                return errno;
            if (fd < 0)
                continue;
            m_fd.reset(fd);
            // Named before it could be locked: another save's clean-up may have taken it for a
            // dead writer's in between, and removed it.
            const bool locked = lockForWriting(fd);
            if (!locked && errno == EWOULDBLOCK)
                continue;
            struct stat mine, named;
            if (::fstat(fd, &mine) != 0 || ::fstatat(m_folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) != 0
                || !sameFile(mine, named))
                continue;
            m_name = name;
            if (locked)
                keepLock();
            return 0;
        }
    }

    // Gives an O_TMPFILE file its name, as late as possible. 0 or the error number.
    int link(const QByteArray &targetName)
    {
        if (!m_unnamed)
            return 0;
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd.get());
        for (;;) {
            const QByteArray name = tempName(targetName);
            if (::linkat(AT_FDCWD, self.constData(), m_folder, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
                m_name = name;
                m_unnamed = false;
                return 0;
            }
            if (errno != EEXIST)
                return errno;
        }
    }

    int close()
    {
        return m_fd.close();
    }

    // After the rename the name is the target's: nothing is left to remove.
    void release()
    {
        m_name.clear();
        m_lock.reset(-1);
    }

private:
    // The lock lasts as long as a descriptor of the file is open: one is kept past the close
    // that reports the writing's errors, up to the rename.
    void keepLock()
    {
        m_lock.reset(::fcntl(m_fd.get(), F_DUPFD_CLOEXEC, 0));
    }

    int m_folder;
    Descriptor m_fd;
    Descriptor m_lock;
    QByteArray m_name;
    bool m_unnamed = false;
};

// Removes the hidden copies of this very file that processes killed before their rename left
// behind: our user's plain files of its temporary names that no live writer holds locked. A name
// cut to fit the temporary names could be another file's, so such a file's copies stay.
void removeStaleCopies(int folder, const QByteArray &name)
{
    if (name.size() > kMaxTempStem)
        return;
    const QByteArray prefix = '.' + name + ".saving-";
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    const auto isTempName = [&prefix](QByteArrayView entry) {
        return entry.size() == prefix.size() + kTempSuffix && entry.startsWith(prefix)
            && std::all_of(entry.end() - kTempSuffix, entry.end(),
                [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
    };
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTempName(QByteArrayView(entry->d_name)))
            continue;
        const Descriptor copy(
            ::openat(folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat st, now;
        if (!copy.isOpen() || ::fstat(copy.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
            || st.st_nlink != 1 || !lockForWriting(copy.get()))
            continue;
        if (::fstatat(folder, entry->d_name, &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(st, now))
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

// 0 or the error number. Short writes are continued; one that takes no byte at all means the
// file system has no room left.
int writeAll(int fd, QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, std::min(left, kMaxChunk));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        p += n;
        left -= n;
    }
    return 0;
}

// Gives the new file the old one's owner and group, and the permission bits `bits`. Owner first,
// since a change of owner clears the set-user-ID and set-group-ID bits. 0 or the error number.
int setOwnerAndMode(int fd, const struct stat &old, mode_t bits)
{
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return errno;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        // A user may not give files away, but may keep a group that they belong to.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            if (errno != EPERM)
                return errno;
            if (now.st_gid != old.st_gid && ::fchown(fd, uid_t(-1), old.st_gid) != 0 && errno != EPERM)
                return errno;
        }
    }
    if ((now.st_mode & 07777) != bits && ::fchmod(fd, bits) != 0)
        return errno;
    return 0;
}

} // namespace

bool isReadOnlyFile(const QString &fileName)
{
    QByteArray path = QFile::encodeName(fileName);
    struct stat st;
    if (path.isEmpty() || resolveLinks(path) != 0 || ::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return (st.st_mode & 0222) == 0
        || (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES);
}

WriteResult writeFileAtomically(const QString &fileName, QByteArrayView bytes, FileAccess access)
{
    QByteArray path = QFile::encodeName(fileName);
    if (path.isEmpty())
        return failure(WriteResult::Create, ENOENT);
    if (const int error = resolveLinks(path))
        return failure(WriteResult::Create, error);
    const QByteArray name = nameOf(path);
    if (name.isEmpty() || name == "." || name == "..")
        return failure(WriteResult::Create, EISDIR);

    const Descriptor folder(::open(folderOf(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen())
        return failure(WriteResult::Create, errno);
    struct stat old;
    const bool exists = ::fstatat(folder.get(), name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return failure(WriteResult::Create, errno);
    if (exists && S_ISDIR(old.st_mode))
        return failure(WriteResult::Create, EISDIR);
    // Renaming over a FIFO or device would silently turn it into a plain file.
    if (exists && !S_ISREG(old.st_mode))
        return failure(WriteResult::Create, kNotRegularFile);

    // A replacement starts private and takes the old file's bits once written; a new file is
    // created as any other, through the umask or the folder's default ACL. An owner-only file
    // stays private.
    const bool ownerOnly = access == FileAccess::OwnerOnly;
    TempFile temp(folder.get());
    if (const int error = temp.create(name, exists || ownerOnly ? 0600 : 0666))
        return failure(WriteResult::Create, error);

    int error = writeAll(temp.fd(), bytes);
    if (!error && exists)
        error = setOwnerAndMode(temp.fd(), old, ownerOnly ? 0600 : old.st_mode & 07777);
    // A umask such as 0277 would take even the owner's bits away.
    else if (!error && ownerOnly && ::fchmod(temp.fd(), 0600) != 0)
        error = errno;
    if (!error && ::fsync(temp.fd()) != 0)
        error = errno;
    if (!error)
        error = temp.link(name);
    if (!error)
        error = temp.close();
    if (!error && ::renameat(folder.get(), temp.name().constData(), folder.get(), name.constData()) != 0)
        error = errno;
    if (error)
        return failure(WriteResult::Write, error);
    temp.release();

    // Makes the rename itself durable. Some file systems cannot sync a folder and say EINVAL.
    if (::fsync(folder.get()) != 0 && errno != EINVAL)
        return failure(WriteResult::Write, errno);
    removeStaleCopies(folder.get(), name);
    return {};
}

} // namespace vorrel

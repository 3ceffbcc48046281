#include "base/RegularFile.h"

#include "base/Error.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorrel {

namespace {

// Why a file of this kind is not read, or nothing when it is a regular file.
QString refusal(const struct stat &status)
{
    if (S_ISDIR(status.st_mode))
        return systemReason(EISDIR);
    if (!S_ISREG(status.st_mode))
        return kNotRegularFile;
    return {};
}

} // namespace

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RegularFile::open(const QString &fileName)
{
    const QByteArray path = QFile::encodeName(fileName);
    m_missing = false;
    // Looked at before opening: opening a FIFO waits for a writer, and a device may act on open.
    struct stat status;
    if (::stat(path.constData(), &status) != 0) {
        m_missing = errno == ENOENT;
        m_reason = systemReason(errno);
        return false;
    }
    m_reason = refusal(status);
    if (!m_reason.isEmpty())
        return false;
    // Not blocking, in case something else took the file's place in between.
    m_fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0) {
        m_reason = systemReason(errno);
        return false;
    }
    m_reason = refusal(status);
    if (!m_reason.isEmpty())
        return false;
    m_size = status.st_size;
    return true;
}

qint64 RegularFile::read(char *data, qint64 size)
{
    const qint64 done = readAt(data, size, -1);
    if (done < 0)
        m_reason = systemReason(errno);
    return done;
}

qint64 RegularFile::readAt(char *data, qint64 size, qint64 offset) const
{
    qint64 done = 0;
    while (done < size) {
        const auto wanted = static_cast<size_t>(size - done);
        const ssize_t got
            = offset < 0 ? ::read(m_fd, data + done, wanted) : ::pread(m_fd, data + done, wanted, off_t(offset + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool RegularFile::rewind()
{
    if (::lseek(m_fd, 0, SEEK_SET) == 0)
        return true;
    m_reason = systemReason(errno);
    return false;
}

ReadResult readRegularFile(const QString &fileName, qint64 maxSize)
{
    ReadResult result;
    RegularFile file;
    if (!file.open(fileName)) {
        result.status = file.missing() ? ReadResult::Missing : ReadResult::Failed;
        result.reason = file.reason();
        return result;
    }
    if (file.size() > maxSize) {
        result.status = ReadResult::TooLarge;
        return result;
    }
    // One byte beyond the limit tells a file that grew since it was opened.
    QByteArray bytes(file.size() + 1, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        const qint64 got = file.read(bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            result.status = ReadResult::Failed;
            result.reason = file.reason();
            return result;
        }
        size += got;
        if (size < bytes.size())
            break;
        if (size > maxSize) {
            result.status = ReadResult::TooLarge;
            return result;
        }
        bytes.resize(std::min<qint64>(size * 2, maxSize + 1));
    }
    bytes.truncate(size);
    result.bytes = std::move(bytes);
    return result;
}

} // namespace vorrel

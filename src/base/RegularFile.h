#pragma once

#include <QByteArray>
#include <QString>

namespace vorrel {

// What a file that is not a regular file is refused with.
inline const QString kNotRegularFile = QStringLiteral("Not a regular file");

// A file opened for reading only when it is a regular file, or a symbolic link to one. A
// FIFO or a device is never opened: a pipe would block the program until a writer came, and
// a device may never end or may act on being opened.
class RegularFile final
{
public:
    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    // False when nothing is there, when it is no regular file or cannot be opened; reason()
    // says why in the system's words.
    bool open(const QString &fileName);
    // Whether the last open failed because nothing was at the path.
    bool missing() const { return m_missing; }
    qint64 size() const { return m_size; }
    const QString &reason() const { return m_reason; }

    // Fills `data` up to `size` bytes or to the end of the file; the bytes read, -1 on error.
    qint64 read(char *data, qint64 size);
    // The same from the byte at `offset` on, wherever read() stands, and without a reason on
    // error: two threads may read two parts of the file at once.
    qint64 readAt(char *data, qint64 size, qint64 offset) const;
    // Reading starts again at the first byte.
    bool rewind();

private:
    int m_fd = -1;
    qint64 m_size = 0;
    bool m_missing = false;
    QString m_reason;
};

// A whole small file read without blocking on whatever stands at the path.
struct ReadResult
{
    enum Status {
        Ok,
        // Nothing at the path (a dangling symbolic link counts as nothing).
        Missing,
        // A regular file larger than the limit; `bytes` is empty.
        TooLarge,
        // Not readable; `reason` says why (a folder, a FIFO or device, no permission).
        Failed,
    };

    Status status = Ok;
    QByteArray bytes;
    QString reason;
};

// Reads a regular file (or a symbolic link to one) of at most maxSize bytes.
ReadResult readRegularFile(const QString &fileName, qint64 maxSize);

} // namespace vorrel

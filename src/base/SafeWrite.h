#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vorrel {

// How a replacement failed. `reason` is the system's own text ("No space left on device",
// "Permission denied"), for callers to append to their message.
struct WriteResult
{
    enum Step {
        None,
        // Nothing was written: the path names a folder, FIFO or device, its folder is missing, or
        // the temporary file could not be created there (a read-only folder).
        Create,
        // Writing, syncing, closing or renaming the new file failed.
        Write,
    };

    bool ok = true;
    Step failedStep = None;
    QString reason;

    explicit operator bool() const { return ok; }
};

// Replaces the file with `bytes` so that, whatever happens, the path holds either the old file
// whole or the new one whole.
//
// The bytes go to a temporary file in the same folder, which is written, synced and closed, every
// step checked, and then renamed over the file; the folder is synced last. Where the file system
// allows, the temporary file has no name while it is written (Linux O_TMPFILE) and gets one just
// before the rename, so a process killed while writing leaves nothing behind (killed in the few
// system calls between naming it and the rename, it leaves a complete copy under a hidden name
// beside the file); elsewhere it is a hidden file from the start. Every failure removes it.
//
// Permissions and owners: the new file gets the old file's permission bits, and its owner and
// group where the process may set them (root may; a user keeps the group when a member of it);
// a new file gets 0666 less the umask, as any newly created file. ACLs and extended attributes
// are not carried over.
// Symbolic links: a path that is a link is followed to its final target, which is replaced; the
// link stays a link. A link in a sticky folder that anyone may write, such as /tmp, is followed
// only when it belongs to this process's user or to the folder's owner, as the kernel does for
// open (otherwise the write is refused with "Permission denied"). Hard links: the replacement
// is a new file, so other names of the old file keep the old contents. The folder must be
// writable: a writable file in a read-only folder, or another user's file in a sticky folder
// such as /tmp, cannot be replaced.
//
// On failure the old file is untouched and no temporary file remains, with one exception: when
// syncing the folder after the rename fails, the new file is already in place but is reported,
// since it may not survive a crash.
//
// A process killed between naming the temporary file and the rename leaves it behind: the next
// successful write of the same file removes such copies of its own user's, once no living
// writer holds them.
//
// OwnerOnly makes the file 0600 whatever the umask or the old file's bits: for the user's own
// settings, which no one else may read or change.
enum class FileAccess { AsUsual, OwnerOnly };
WriteResult writeFileAtomically(const QString &fileName, QByteArrayView bytes, FileAccess access = FileAccess::AsUsual);

// Whether the file that writeFileAtomically() would replace for `fileName` is there and
// read-only: this process may not write it, or no write permission is set at all (which root
// would pass over). Replacing it takes only a writable folder, so callers ask the user first.
bool isReadOnlyFile(const QString &fileName);

} // namespace vorrel

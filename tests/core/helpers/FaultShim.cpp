// Makes one chosen call fail on the files of one folder, so that tests can see what the safe
// writer does on a full disk or a failing device. Loaded with LD_PRELOAD into the save helper;
// descriptors outside the folder (the program's libraries, its output) are never touched.
//
//   VORREL_FAULT_DIR        the folder, as the kernel spells it (no symbolic links)
//   VORREL_FAULT_CALL       create | write | fchown | fchmod | fsync | link | close | rename
//   VORREL_FAULT_NTH        which matching call fails, counting from 1 (default 1)
//   VORREL_FAULT_ERRNO      the error number it fails with
//   VORREL_FAULT_SHORT      with write: that call writes half its bytes, and every later one fails
//   VORREL_FAULT_NO_TMPFILE O_TMPFILE in the folder fails with EOPNOTSUPP, as on file systems
//                           without it
// Every failure injected is announced on standard error as "fault: <call>".

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

struct Config
{
    const char *dir = nullptr;
    size_t dirLength = 0;
    const char *call = "";
    int nth = 1;
    int error = EIO;
    bool shortWrite = false;
    bool noTmpfile = false;
};

const Config &config()
{
    static const Config c = [] {
        Config r;
        r.dir = std::getenv("VORREL_FAULT_DIR");
        r.dirLength = r.dir ? std::strlen(r.dir) : 0;
        if (const char *call = std::getenv("VORREL_FAULT_CALL"))
            r.call = call;
        if (const char *nth = std::getenv("VORREL_FAULT_NTH"))
            r.nth = std::atoi(nth);
        if (const char *error = std::getenv("VORREL_FAULT_ERRNO"))
            r.error = std::atoi(error);
        r.shortWrite = std::getenv("VORREL_FAULT_SHORT") != nullptr;
        r.noTmpfile = std::getenv("VORREL_FAULT_NO_TMPFILE") != nullptr;
        return r;
    }();
    return c;
}

bool inFolder(const char *path)
{
    const Config &c = config();
    return c.dir && std::strncmp(path, c.dir, c.dirLength) == 0
        && (path[c.dirLength] == '\0' || path[c.dirLength] == '/');
}

// The folder itself, or a file in it (an O_TMPFILE file reads "<folder>/#123 (deleted)").
bool fdInFolder(int fd)
{
    if (!config().dir)
        return false;
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t n = readlink(link, path, sizeof path - 1);
    if (n < 0)
        return false;
    path[n] = '\0';
    return inFolder(path);
}

bool atInFolder(int dirfd, const char *path)
{
    if (path[0] == '/')
        return inFolder(path);
    return dirfd == AT_FDCWD ? false : fdInFolder(dirfd);
}

// Counts the matching calls of the chosen kind; true for the one that is to fail.
bool shouldFail(const char *call, bool matches)
{
    static int count = 0;
    if (!matches || std::strcmp(call, config().call) != 0)
        return false;
    return ++count == config().nth;
}

int fail(const char *call)
{
    std::fprintf(stderr, "fault: %s\n", call);
    errno = config().error;
    return -1;
}

template<typename F> F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

int openatShim(const char *name, int dirfd, const char *path, int flags, mode_t mode)
{
    static const auto next = real<int (*)(int, const char *, int, ...)>(name);
    const bool tmpfile = (flags & O_TMPFILE) == O_TMPFILE;
    if (tmpfile || (flags & O_CREAT)) {
        const bool matches = atInFolder(dirfd, path);
        if (tmpfile && matches && config().noTmpfile) {
            std::fprintf(stderr, "fault: no O_TMPFILE\n");
            errno = EOPNOTSUPP;
            return -1;
        }
        if (shouldFail("create", matches))
            return fail("create");
    }
    return next(dirfd, path, flags, mode);
}

} // namespace

extern "C" {

int openat(int dirfd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
    va_end(args);
    return openatShim("openat", dirfd, path, flags, mode);
}

int openat64(int dirfd, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
    va_end(args);
    return openatShim("openat64", dirfd, path, flags, mode);
}

ssize_t write(int fd, const void *buffer, size_t count)
{
    static const auto next = real<ssize_t (*)(int, const void *, size_t)>("write");
    static bool full = false;
    const bool matches = fdInFolder(fd);
    if (matches && full)
        return fail("write");
    if (shouldFail("write", matches)) {
        if (!config().shortWrite || count < 2)
            return fail("write");
        full = true;
        std::fprintf(stderr, "fault: short write\n");
        return next(fd, buffer, count / 2);
    }
    return next(fd, buffer, count);
}

int fchown(int fd, uid_t owner, gid_t group)
{
    static const auto next = real<int (*)(int, uid_t, gid_t)>("fchown");
    return shouldFail("fchown", fdInFolder(fd)) ? fail("fchown") : next(fd, owner, group);
}

int fchmod(int fd, mode_t mode)
{
    static const auto next = real<int (*)(int, mode_t)>("fchmod");
    return shouldFail("fchmod", fdInFolder(fd)) ? fail("fchmod") : next(fd, mode);
}

int fsync(int fd)
{
    static const auto next = real<int (*)(int)>("fsync");
    return shouldFail("fsync", fdInFolder(fd)) ? fail("fsync") : next(fd);
}

int linkat(int olddirfd, const char *oldpath, int newdirfd, const char *newpath, int flags)
{
    static const auto next = real<int (*)(int, const char *, int, const char *, int)>("linkat");
    return shouldFail("link", atInFolder(newdirfd, newpath)) ? fail("link")
                                                             : next(olddirfd, oldpath, newdirfd, newpath, flags);
}

// Closed all the same when it fails, as Linux does.
int close(int fd)
{
    static const auto next = real<int (*)(int)>("close");
    const bool failing = shouldFail("close", fdInFolder(fd));
    const int result = next(fd);
    return failing ? fail("close") : result;
}

int renameat(int olddirfd, const char *oldpath, int newdirfd, const char *newpath)
{
    static const auto next = real<int (*)(int, const char *, int, const char *)>("renameat");
    return shouldFail("rename", atInFolder(olddirfd, oldpath)) ? fail("rename")
                                                               : next(olddirfd, oldpath, newdirfd, newpath);
}

int rename(const char *oldpath, const char *newpath)
{
    static const auto next = real<int (*)(const char *, const char *)>("rename");
    return shouldFail("rename", inFolder(oldpath)) ? fail("rename") : next(oldpath, newpath);
}

} // extern "C"

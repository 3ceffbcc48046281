// How long `aimlvorrel --check` takes against `xmllint --noout` on the same file in the same
// run (runs taken in turns), and its peak memory against the file's size: a 100,000-category
// document (about 16 MB), the corpus joined into one document, and 1 GiB of line feeds. The
// targets, for the 100,000 categories: at most half xmllint's time and three times the file.
// Exits 1 when a figure is over its target.

#include "AimlGenerator.h"
#include "BenchTiming.h"

#include "document/Checker.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <vector>

#include <csignal>

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorrel;

namespace {

constexpr double kRatioLimit = 0.5;
constexpr double kMemoryLimit = 3.0;
constexpr int kRuns = 7;

struct Run
{
    double wallMs = 0;
    double cpuMs = 0;
    int exitCode = -1;
};

double nowMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The program run once with its output thrown away, timed from start to exit.
Run runProgram(const QByteArrayList &arguments)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    Run run;
    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return run;
    run.wallMs = nowMs() - start;
    run.cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The program's own peak memory: the most it held in its own address space, read as it exits.
// A child's maximum resident size as wait4() reports it also counts this process as it was
// when the child was made.
qint64 peakOf(const QByteArrayList &arguments)
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    // Stopped at its start: from there on, stopped once more as it exits.
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFSTOPPED(status))
        return -1;
    ptrace(PTRACE_SETOPTIONS, child, nullptr, reinterpret_cast<void *>(PTRACE_O_TRACEEXIT));
    ptrace(PTRACE_CONT, child, nullptr, nullptr);
    qint64 peak = -1;
    while (waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
        int signal = WSTOPSIG(status);
        if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
            QFile file(QStringLiteral("/proc/%1/status").arg(child));
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray &line : file.readAll().split('\n')) {
                    if (line.startsWith("VmHWM:"))
                        peak = line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
                }
            }
            signal = 0;
        }
        ptrace(PTRACE_CONT, child, nullptr, reinterpret_cast<void *>(quintptr(signal)));
    }
    return peak;
}

// The corpus as one document: each file's categories, in UTF-8, inside one <aiml>.
QByteArray joinedCorpus()
{
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    QByteArray joined = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<aiml version=\"1.0\">\n";
    for (const QString &name : corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files, QDir::Name)) {
        QFile file(corpus.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QByteArray bytes = file.readAll();
        if (bytes.left(200).contains("ISO-8859-1"))
            bytes = QString::fromLatin1(bytes).toUtf8();
        const qsizetype open = bytes.indexOf("<aiml");
        const qsizetype body = open < 0 ? -1 : bytes.indexOf('>', open);
        const qsizetype close = bytes.lastIndexOf("</aiml>");
        if (body >= 0 && close > body)
            joined += bytes.sliced(body + 1, close - body - 1) + '\n';
    }
    return joined + "</aiml>\n";
}

double medianOf(const std::vector<Run> &runs, double Run::*figure)
{
    std::vector<double> values;
    for (const Run &run : runs)
        values.push_back(run.*figure);
    return bench::medianOf(values);
}

// Prints the figures of one document; false when one is over its target and `targets` holds.
bool compare(const char *what, const QString &fileName, const QString &xmllint, bool targets)
{
    const qint64 size = QFileInfo(fileName).size();
    std::printf("%s, %.1f MB:\n", what, static_cast<double>(size) / (1024.0 * 1024.0));
    const QByteArrayList check { VORREL_PROGRAM, "--check", QFile::encodeName(fileName) };
    const QByteArrayList lint { QFile::encodeName(xmllint), "--noout", QFile::encodeName(fileName) };
    std::vector<Run> ours;
    std::vector<Run> theirs;
    for (int i = 0; i < kRuns; ++i) {
        ours.push_back(runProgram(check));
        if (!xmllint.isEmpty())
            theirs.push_back(runProgram(lint));
    }
    const double memory = static_cast<double>(peakOf(check)) / static_cast<double>(size);
    std::printf("  aimlvorrel --check  wall %7.1f ms, CPU %7.1f ms, peak memory %.2f x the file, exit %d\n",
        medianOf(ours, &Run::wallMs), medianOf(ours, &Run::cpuMs), memory, ours.front().exitCode);
    bool ok = !targets || memory <= kMemoryLimit;
    if (xmllint.isEmpty()) {
        std::printf("  xmllint is missing: install libxml2-utils (apt-get install libxml2-utils) to compare\n");
    } else {
        const double ratio = medianOf(ours, &Run::wallMs) / medianOf(theirs, &Run::wallMs);
        std::printf("  xmllint --noout     wall %7.1f ms, CPU %7.1f ms, peak memory %.2f x the file\n",
            medianOf(theirs, &Run::wallMs), medianOf(theirs, &Run::cpuMs),
            static_cast<double>(peakOf(lint)) / static_cast<double>(size));
        std::printf("  ratio of the medians: %.2f", ratio);
        if (targets) {
            ok = ok && ratio <= kRatioLimit;
            std::printf(" (target %.1f), memory target %.1f x: %s", kRatioLimit, kMemoryLimit, ok ? "ok" : "OVER");
        }
        std::printf("\n");
    }
    return ok;
}

bool write(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));

    bench::AimlGeneratorOptions options;
    options.categories = 100000;
    options.thinks = true;
    const QByteArray document = bench::generateAiml(options);
    const QString generated = dir.filePath(QStringLiteral("100000.aiml"));
    if (!write(generated, document))
        return 1;
    bool ok = compare("100,000 categories", generated, xmllint, true);

    // In this process, for the split between the check and the start of the program.
    std::vector<Problem> problems;
    const bench::Timing inside = bench::medianTiming(kRuns, [&] { problems = checkDocument(document); });
    std::printf("  checkDocument() in this process: wall %.1f ms, CPU %.1f ms (%zu problems)\n", inside.wallMs,
        inside.cpuMs, problems.size());

    const QString corpus = dir.filePath(QStringLiteral("corpus.aiml"));
    if (QDir(QStringLiteral(VORREL_CORPUS_DIR)).exists() && write(corpus, joinedCorpus()))
        compare("the corpus joined into one document", corpus, xmllint, false);

    // A gibibyte of line feeds is one error at its end, found in seconds.
    struct statvfs disk
    {
    };
    const QString feeds = dir.filePath(QStringLiteral("feeds.aiml"));
    if (statvfs(QFile::encodeName(dir.path()).constData(), &disk) == 0
        && qint64(disk.f_bavail) * qint64(disk.f_frsize) > (qint64(3) << 30)) {
        QFile file(feeds);
        const QByteArray block(1 << 20, '\n');
        bool written = file.open(QIODevice::WriteOnly);
        for (int i = 0; written && i < 1024; ++i)
            written = file.write(block) == block.size();
        file.close();
        if (written) {
            const QByteArrayList check { VORREL_PROGRAM, "--check", QFile::encodeName(feeds) };
            const Run run = runProgram(check);
            std::printf("1 GiB of line feeds: wall %.1f s, CPU %.1f s, peak memory %.2f x the file, exit %d\n",
                run.wallMs / 1e3, run.cpuMs / 1e3, static_cast<double>(peakOf(check)) / double(qint64(1) << 30),
                run.exitCode);
        }
        QFile::remove(feeds);
    } else {
        std::printf("1 GiB of line feeds: skipped, less than 3 GB free in %s\n", qPrintable(dir.path()));
    }
    return ok ? 0 : 1;
}

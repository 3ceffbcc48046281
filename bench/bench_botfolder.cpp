// A bot of many files, as the command line takes it: loading a folder of about 10.8 MB (the
// corpus copied over until it is that large, each copy's patterns starting with a word of its own) for --chat, one
// answer, --check of the folder against the same files joined into one document, and --test of 1,000 exchanges.
// Targets: 1 s, 5 ms, 1.5 times, 2 s. Exits 1 when a figure is over its target.

#include "BenchTiming.h"

#include "base/AimlFiles.h"
#include "bot/BotFiles.h"
#include "bot/ConversationTest.h"
#include "bot/Interpreter.h"
#include "document/CheckCommand.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <ctime>
#include <vector>

using namespace vorrel;

namespace {

constexpr qint64 kBotBytes = 10'800'000;
constexpr int kRuns = 5;

bool report(const char *what, double ms, double limitMs, const char *unit = "ms")
{
    const bool ok = ms <= limitMs;
    std::printf("%-44s %9.3f %s (limit %g)  %s\n", what, ms, unit, limitMs, ok ? "ok" : "TOO SLOW");
    return ok;
}

double processCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

int checkFiles(const QStringList &files)
{
    QFile null(QStringLiteral("/dev/null"));
    if (!null.open(QIODevice::WriteOnly))
        return -1;
    QTextStream out(&null);
    QTextStream err(&null);
    CheckRequest request;
    request.files = files;
    QBuffer none;
    return runCheckCommand(request, none, out, err);
}

} // namespace

int main()
{
    const QString corpus = QStringLiteral(VORREL_CORPUS_DIR "/free-aiml");
    const QStringList originals = aimlFilesIn(corpus);
    if (originals.isEmpty()) {
        std::printf("no corpus at %s: skipped\n", qPrintable(corpus));
        return 0;
    }
    QTemporaryDir folder;
    QByteArray joined = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<aiml version=\"1.0\">\n";
    const QRegularExpression outer(
        QStringLiteral("^.*?<aiml[^>]*>|</aiml>\\s*$"), QRegularExpression::DotMatchesEverythingOption);
    qint64 total = 0;
    int copies = 0;
    QStringList patterns;
    for (; total < kBotBytes; ++copies) {
        for (const QString &file : originals) {
            QFile in(file);
            if (!in.open(QIODevice::ReadOnly))
                return 1;
            QByteArray bytes = in.readAll();
            // Each copy's patterns its own, so that the bot is not one long list of duplicates.
            if (copies > 0)
                bytes.replace("<pattern>", "<pattern>C" + QByteArray::number(copies) + ' ');
            total += bytes.size();
            QFile out(folder.filePath(QStringLiteral("c%1-").arg(copies) + QFileInfo(file).fileName()));
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
                return 1;
            // Each file's body, as Latin-1 so that no byte is lost; a bench document need not be valid.
            joined += QString::fromLatin1(bytes).remove(outer).toLatin1();
        }
    }
    joined += "\n</aiml>\n";
    const QString joinedFile = QDir(folder.path()).filePath(QStringLiteral("joined.xml"));
    QFile joinedOut(joinedFile);
    if (!joinedOut.open(QIODevice::WriteOnly) || joinedOut.write(joined) != joined.size())
        return 1;
    joinedOut.close();
    const QStringList files = botFileNames({ folder.path() });
    std::printf("bot: %lld files (%d copies of the corpus's %lld), %.1f MB\n", qlonglong(files.size()), copies,
        qlonglong(originals.size()), double(total) / 1e6);

    bool ok = true;
    // Loading for --chat: reading every file and building the matcher.
    std::unique_ptr<BotFiles> bot;
    Interpreter interpreter;
    const bench::Timing load = bench::medianTiming(kRuns, [&] {
        bot = std::make_unique<BotFiles>();
        for (const QString &file : files)
            bot->addFile(file, true, nullptr);
        interpreter.setCategories(bot->categories());
    });
    ok &= report("load the folder for --chat, wall", load.wallMs, 1000);

    // Inputs that the bot answers: the patterns without wildcards, in the files' order.
    for (const BotCategory &category : bot->categories()) {
        if (!category.pattern.isEmpty() && !category.pattern.contains(u'*') && !category.pattern.contains(u'_')
            && !category.pattern.contains(u'<'))
            patterns.append(category.pattern);
    }
    int next = 0;
    const bench::Timings answers
        = bench::timeRuns(1000, [&] { interpreter.respond(patterns.at(next++ % patterns.size())); });
    ok &= report("one answer, median wall", bench::medianOf(answers.wallMs), 5);
    std::printf("%-44s %9.3f ms\n", "one answer, worst wall", bench::worstOf(answers.wallMs));

    // Taken in turns, so that both see the same load; the process's CPU time, of all its
    // threads, leaves out what the other processes of this shared machine take.
    std::vector<double> folderWall, joinedWall, folderCpu, joinedCpu;
    for (int run = 0; run < 3 * kRuns; ++run) {
        for (const bool folderRun : { true, false }) {
            const double cpu = processCpuMs();
            const bench::Timing wall
                = bench::medianTiming(1, [&] { checkFiles(folderRun ? files : QStringList { joinedFile }); });
            (folderRun ? folderWall : joinedWall).push_back(wall.wallMs);
            (folderRun ? folderCpu : joinedCpu).push_back(processCpuMs() - cpu);
        }
    }
    std::printf("%-44s %9.3f ms wall, %9.3f ms cpu\n", "--check of the folder, median", bench::medianOf(folderWall),
        bench::medianOf(folderCpu));
    std::printf("%-44s %9.3f ms wall, %9.3f ms cpu\n", "--check of the joined document, median",
        bench::medianOf(joinedWall), bench::medianOf(joinedCpu));
    ok &= report("--check folder / joined, cpu", bench::medianOf(folderCpu) / bench::medianOf(joinedCpu), 1.5, "times");
    std::printf("%-44s %9.3f times\n", "--check folder / joined, wall",
        bench::medianOf(folderWall) / bench::medianOf(joinedWall));

    // 1,000 exchanges in conversations of ten, each expecting any reply.
    QString cases;
    for (int i = 0; i < 1000; ++i)
        cases += (i % 10 == 0 ? QStringLiteral("\n> ") : QStringLiteral("> ")) + patterns.at(i * 7 % patterns.size())
            + QStringLiteral("\n*\n");
    const bench::Timing test = bench::medianTiming(kRuns, [&] {
        BotFiles testBot;
        for (const QString &file : files)
            testBot.addFile(file, true, nullptr);
        Interpreter testInterpreter;
        testInterpreter.setCategories(testBot.categories());
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        runConversations(
            QStringLiteral("cases"), parseConversations(cases), testInterpreter, testBot, outStream, errStream);
    });
    ok &= report("--test of 1,000 exchanges with loading, wall", test.wallMs, 2000);
    return ok ? 0 : 1;
}

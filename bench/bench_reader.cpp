// The reader's passes on crafted documents against a plain one of the same size: stray
// closing tags (the opening tag they wait for far ahead) and opening tags never closed.
// Target: every crafted document read within twice the time of the plain one. CPU time,
// best of five; the machine's cores are shared.
//
//   bench_reader                   10 MB documents
//   bench_reader --megabytes N     N MB documents (fractions allowed)
//   bench_reader --only WORDS       only the crafted documents whose name holds WORDS

#include "AimlGenerator.h"
#include "BenchTiming.h"

#include "document/AimlReader.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <limits>
#include <malloc.h>
#include <vector>

using namespace vorrel;

namespace {

constexpr double kRatioLimit = 2.0;
constexpr int kRuns = 5;

// A plain document of about `bytes` bytes.
QByteArray plainDocument(qsizetype bytes)
{
    bench::AimlGeneratorOptions options;
    options.categories = 1000;
    const qsizetype perThousand = bench::generateAiml(options).size();
    options.categories = static_cast<int>(bytes * 1000 / perThousand);
    options.accents = true;
    options.topics = true;
    return bench::generateAiml(options);
}

// `bytes` bytes of `pieces` repeated, then a few plain categories: the tags the pieces wait
// for come only at the very end.
QByteArray craftedDocument(qsizetype bytes, const QByteArray &pieces)
{
    bench::AimlGeneratorOptions tail;
    tail.categories = 20;
    QByteArray out;
    out.reserve(bytes + 8192);
    out += "<aiml>\r\n";
    while (out.size() < bytes)
        out += pieces;
    out += bench::generateAiml(tail);
    return out;
}

struct ReadTimes
{
    double firstMs;
    double bestMs;
    size_t rows;
};

// The reading alone, five times: the rows of the previous run are dropped before the
// clock starts. The first run pays for fresh memory, which on a virtual machine can cost
// more than the reading; the best run is the reader's own work.
ReadTimes readTimes(const QByteArray &text)
{
    ReadOptions options;
    options.upcase = true;
    options.encoding = TextEncoding::Utf8;
    std::vector<double> cpuMs;
    size_t rows = 0;
    for (int run = 0; run < kRuns; ++run) {
        CategoryRows table;
        cpuMs.push_back(bench::timeRuns(1, [&] { table = readCategories(text, options); }).cpuMs.front());
        rows = table.size();
    }
    return { cpuMs.front(), bench::bestOf(cpuMs), rows };
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    double megabytes = 10;
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--megabytes"));
    if (at > 0 && at + 1 < args.size())
        megabytes = args.at(at + 1).toDouble();
    const auto bytes = static_cast<qsizetype>(megabytes * 1e6);
    const qsizetype only = args.indexOf(QStringLiteral("--only"));
    const QString filter = only > 0 && only + 1 < args.size() ? args.at(only + 1) : QString();

    // Freed memory stays with the process, so that later runs reuse pages already touched.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());

    const QByteArray plain = plainDocument(bytes);
    const ReadTimes plainTimes = readTimes(plain);
    std::printf("Reader passes, %.1f MB documents (CPU ms; target: best of 5 within %.0f x the plain one)\n",
        static_cast<double>(plain.size()) / 1e6, kRatioLimit);
    std::printf("  %-28s %9s %9s %9s\n", "", "first run", "best of 5", "rows");
    std::printf("  %-28s %9.1f %9.1f %9zu\n", "plain", plainTimes.firstMs, plainTimes.bestMs, plainTimes.rows);

    const struct
    {
        const char *name;
        QByteArray pieces;
    } shapes[] = {
        { "stray </pattern>", "</pattern>\r\n" },
        { "stray </that>", "</that>\r\n" },
        { "stray </template>", "</template>\r\n" },
        { "stray </category>", "</category>\r\n" },
        { "stray closing tags, mixed", "</pattern></that>\r\n</template></category>\r\n" },
        { "opening tags, none closed", "<category><pattern><that><template>\r\n" },
        { "opening then stray closing", "<pattern></template></category>\r\n" },
        { "templates, none closed", "<template>\r\n" },
        { "templates nested deep", "<template><category><pattern>" },
        { "topic tags, no \">\"", "<topic name=\"x\"\r\n" },
        { "topics around categories", "<topic name=\"t\"><category></category></topic>\r\n" },
    };
    bool over = false;
    for (const auto &shape : shapes) {
        if (!QString::fromLatin1(shape.name).contains(filter))
            continue;
        const QByteArray text = craftedDocument(bytes, shape.pieces);
        const ReadTimes times = readTimes(text);
        const double ratio = times.bestMs / plainTimes.bestMs;
        over |= ratio > kRatioLimit;
        std::printf("  %-28s %9.1f %9.1f %9zu  %.2f x  %s\n", shape.name, times.firstMs, times.bestMs, times.rows,
            ratio, ratio <= kRatioLimit ? "ok" : "OVER");
    }
    std::fflush(stdout);
    return over ? 1 : 0;
}

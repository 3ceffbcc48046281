// How long the document checker takes on a 100,000-category document (about 16 MB): at most
// 0.3 s of CPU. A plain QXmlStreamReader pass over the same bytes is the floor it is measured
// against. Exits 1 when the checker is over its limit.

#include "AimlGenerator.h"
#include "BenchTiming.h"

#include "document/Checker.h"

#include <QXmlStreamReader>

#include <cstdio>
#include <functional>
#include <map>

using namespace vorrel;

namespace {

constexpr double kCheckLimitMs = 300.0;

void print(const char *what, bench::Timing t)
{
    std::printf("  %-44s wall %8.1f ms, CPU %8.1f ms\n", what, t.wallMs, t.cpuMs);
}

} // namespace

int main()
{
    bench::AimlGeneratorOptions options;
    options.categories = 100000;
    options.thinks = true;
    const QByteArray document = bench::generateAiml(options);
    std::printf(
        "Checking a 100,000-category document, %.1f MB:\n", static_cast<double>(document.size()) / (1024.0 * 1024.0));

    qint64 tokens = 0;
    const bench::Timing floor = bench::medianTiming(7, [&] {
        QXmlStreamReader reader(document);
        tokens = 0;
        while (!reader.atEnd()) {
            reader.readNext();
            ++tokens;
        }
    });
    print("plain QXmlStreamReader pass (the floor)", floor);

    std::vector<Problem> problems;
    const bench::Timing check = bench::medianTiming(7, [&] { problems = checkDocument(document); });
    print("checkDocument", check);

    const bool ok = check.cpuMs <= kCheckLimitMs;
    std::printf("  ratio to the floor: %.2f (CPU), limit %.0f ms: %s\n", check.cpuMs / floor.cpuMs, kCheckLimitMs,
        ok ? "ok" : "TOO SLOW");
    std::map<QString, int> byCode;
    for (const Problem &p : problems)
        ++byCode[p.code];
    std::printf("  %lld tokens; problems:", static_cast<long long>(tokens));
    for (const auto &[code, count] : byCode)
        std::printf(" %s %d", qPrintable(code), count);
    std::printf("\n");
    return ok ? 0 : 1;
}

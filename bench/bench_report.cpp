// How long the general report and printing take on large documents. The report of a
// 100,000-category document (about 16 MB) must be ready within 50 ms; printing a
// 1,000-category document to a PDF file within 2 s. Wall time includes whatever else the
// machine is doing; the thread's CPU time does not. Exits 1 when a CPU figure is over its limit.

#include "AimlGenerator.h"
#include "BenchTiming.h"
#include "ScratchProgram.h"

#include "app/Main.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"
#include "report/ReportCounts.h"
#include "report/ui/Printing.h"
#include "report/ui/Report.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>

#include <Qsci/qsciscintilla.h>

#include <cstdio>
#include <functional>

using namespace vorrel;

namespace {

constexpr double kReportLimitMs = 50.0;
constexpr double kPrintLimitMs = 2000.0;

bool report(const char *what, bench::Timing t, double limit)
{
    const bool ok = t.cpuMs <= limit;
    std::printf("  %-50s wall %9.2f ms, CPU %9.2f ms (limit %6.0f ms)  %s\n", what, t.wallMs, t.cpuMs, limit,
        ok ? "ok" : "TOO SLOW");
    return ok;
}

// An N-category document with the usual mix: some thats, random lists, srai and think.
QByteArray aimlDocument(int categories)
{
    bench::AimlGeneratorOptions options;
    options.categories = categories;
    options.thinks = true;
    return bench::generateAiml(options);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bench::ScratchProgram program;
    bool ok = true;

    const QByteArray big = aimlDocument(100000);
    ReportFigures figures;
    std::printf("General report of a 100,000-category document, %.1f MB:\n",
        static_cast<double>(big.size()) / (1024.0 * 1024.0));
    ok &= report("counting the text",
        bench::medianTiming(15, [&] { figures = computeReport(big, TextEncoding::Utf8); }), kReportLimitMs);

    TMainForm form;
    form.Timer1Timer();
    form.iButMenu(true);
    form.code->setBytes(big, TextEncoding::Utf8);
    ok &= report("reading the preview, counting, filling the boxes",
        bench::medianTiming(
            15, [&] { form.frmReport->showFigures(computeReport(form.code->bytes(), form.document()->encoding())); }),
        kReportLimitMs);
    std::printf("  figures: %lld words, %lld characters, %lld categories, %lld random, %lld srai, %lld think, "
                "version \"%s\"\n",
        static_cast<long long>(figures.words), static_cast<long long>(figures.characters),
        static_cast<long long>(figures.categories), static_cast<long long>(figures.randoms),
        static_cast<long long>(figures.srais), static_cast<long long>(figures.thinks),
        qPrintable(QString(figures.version).replace(QLatin1String("\r\n"), QLatin1String("\\r\\n"))));

    const QByteArray small = aimlDocument(1000);
    form.code->setBytes(small, TextEncoding::Utf8);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    int pages = 0;
    int job = 0;
    std::printf(
        "Printing a 1,000-category document (%.0f KB) to a PDF file:\n", static_cast<double>(small.size()) / 1024.0);
    ok &= report("one print job",
        bench::medianTiming(5,
            [&] {
                printer.setOutputFileName(program.file(QStringLiteral("bench-%1.pdf").arg(++job)));
                pages = printEditorJob(printer, *form.code, QStringLiteral("bench.aiml"));
            }),
        kPrintLimitMs);
    std::printf("  %d pages, %.0f KB of PDF\n", pages,
        static_cast<double>(QFile(program.file(QStringLiteral("bench-1.pdf"))).size()) / 1024.0);
    return ok ? 0 : 1;
}

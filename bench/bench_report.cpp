// How long the general report and printing take on large documents. The report of a
// 100,000-category document (about 16 MB) must be ready within 50 ms; printing a
// 1,000-category document to a PDF file within 2 s. Wall time includes whatever else the
// machine is doing; the thread's CPU time does not. Exits 1 when a CPU figure is over its limit.

#include "app/AppInfo.h"
#include "app/Main.h"
#include "report/Printing.h"
#include "report/Report.h"
#include "report/ReportCounts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace vorrel;

namespace {

constexpr double kReportLimitMs = 50.0;
constexpr double kPrintLimitMs = 2000.0;

double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Timing
{
    double wallMs;
    double cpuMs;
};

template<typename F> Timing median(int runs, F &&run)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    QElapsedTimer clock;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = threadCpuMs();
        clock.start();
        run();
        wall.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return { wall[wall.size() / 2], cpu[cpu.size() / 2] };
}

bool report(const char *what, Timing t, double limit)
{
    const bool ok = t.cpuMs <= limit;
    std::printf("  %-50s wall %9.2f ms, CPU %9.2f ms (limit %6.0f ms)  %s\n", what, t.wallMs, t.cpuMs, limit,
        ok ? "ok" : "TOO SLOW");
    return ok;
}

// An N-category document with the usual mix: some thats, random lists, srai and think.
QByteArray aimlDocument(int categories)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<aiml version=\"1.0\">\r\n"
                      "<!-- generated for timing -->\r\n";
    text.reserve(static_cast<qsizetype>(categories) * 170 + 200);
    for (int i = 0; i < categories; ++i) {
        const QByteArray n = QByteArray::number(i);
        text += "<category>\r\n<pattern>MEANING OF WORD " + n + " *</pattern>\r\n";
        if (i % 3 == 0)
            text += "<that>DO YOU WANT TO KNOW MORE</that>\r\n";
        text += "<template>\r\n";
        switch (i % 4) {
        case 0:
            text += "<random>\r\n<li>It's a well-known word.</li>\r\n<li>Look it up, it's number " + n
                + ".</li>\r\n</random>\r\n";
            break;
        case 1:
            text += "<srai>MEANING OF <star/></srai>\r\n";
            break;
        default:
            text += "<think><set name=\"topic\">words</set></think>Word " + n + " means something.\r\n";
            break;
        }
        text += "</template>\r\n</category>\r\n \r\n";
    }
    text += "</aiml>\r\n";
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    setProgramDirOverride(dir.path());
    {
        QFile ini(dir.filePath(QStringLiteral("opts.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Preferences]\r\nDlg=0\r\n");
    }
    bool ok = true;

    const QByteArray big = aimlDocument(100000);
    ReportFigures figures;
    std::printf("General report of a 100,000-category document, %.1f MB:\n",
        static_cast<double>(big.size()) / (1024.0 * 1024.0));
    ok &= report(
        "counting the text", median(15, [&] { figures = computeReport(big, TextEncoding::Utf8); }), kReportLimitMs);

    TMainForm form;
    form.Timer1Timer();
    form.iButMenu(true);
    form.setPreviewBytes(big);
    ok &= report("reading the preview, counting, filling the boxes",
        median(15,
            [&] {
                const QByteArray text = form.previewBytes();
                form.frmReport->showFigures(
                    computeReport(text, form.previewIsUtf8 ? TextEncoding::Utf8 : TextEncoding::Latin1));
            }),
        kReportLimitMs);
    std::printf("  figures: %lld words, %lld characters, %lld categories, %lld random, %lld srai, %lld think, "
                "version \"%s\"\n",
        static_cast<long long>(figures.words), static_cast<long long>(figures.characters),
        static_cast<long long>(figures.categories), static_cast<long long>(figures.randoms),
        static_cast<long long>(figures.srais), static_cast<long long>(figures.thinks),
        qPrintable(QString(figures.version).replace(QLatin1String("\r\n"), QLatin1String("\\r\\n"))));

    const QByteArray small = aimlDocument(1000);
    form.setPreviewBytes(small);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    int pages = 0;
    int job = 0;
    std::printf(
        "Printing a 1,000-category document (%.0f KB) to a PDF file:\n", static_cast<double>(small.size()) / 1024.0);
    ok &= report("one print job",
        median(5,
            [&] {
                printer.setOutputFileName(dir.filePath(QStringLiteral("bench-%1.pdf").arg(++job)));
                pages = printEditorJob(printer, *form.code, QStringLiteral("bench.aiml"));
            }),
        kPrintLimitMs);
    std::printf("  %d pages, %.0f KB of PDF\n", pages,
        static_cast<double>(QFile(dir.filePath(QStringLiteral("bench-1.pdf"))).size()) / 1024.0);
    return ok ? 0 : 1;
}

// Document timings for 1,000, 10,000, 100,000 and 1,000,000 generated categories: open
// (file read, preview filled, table filled, window painted), Refresh, Save, the reader's
// passes alone, and the peak memory of opening. Each size runs in a child process so that
// its memory figure starts clean. The yardstick is the editor engine itself: the same bytes
// loaded into a bare QScintilla editor and painted, in the same run. Open and the bare load
// are the best of five, in wall and in CPU time (the machine's cores are shared).
// Targets at 100,000 categories: open within 150 ms and 1.8 times the bare load, Refresh
// within 0.3 s, Save within 0.1 s, peak memory within 2.5 times the document's size.
//
//   bench_documents                 all sizes
//   bench_documents --size N        one size, in this process
//   bench_documents --bad-input [WORDS]   opens a 200 MB document, random bytes, long lines
//                                   (only the cases whose name holds WORDS)
//   bench_documents --shapes        peak memory of 200 MB texts of odd shapes
//   bench_documents --replace-all   Replace All of "x*" by nothing in 10 MB, ten million matches
//   bench_documents --open FILE     opens one file
//   bench_documents --generate N FILE   writes the document of N categories the sizes use

#include "AimlGenerator.h"
#include "BenchTiming.h"
#include "ScratchProgram.h"

#include "app/Main.h"
#include "base/MemoryReuse.h"
#include "document/AimlReader.h"
#include "document/CategoryTable.h"
#include "document/Document.h"
#include "document/TextSearch.h"
#include "document/ui/PreviewEditor.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTest>

#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace vorrel;

namespace {

constexpr double kOpenLimitMs = 150;
constexpr double kBareRatioLimit = 1.8;
constexpr double kRefreshLimitMs = 300;
constexpr double kSaveLimitMs = 100;
constexpr double kMemoryLimit = 2.5;
constexpr int kOpenRuns = 5;

// Resident and peak resident memory of this process, in bytes.
qint64 procStatus(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// Starts the peak over from the present resident size.
void resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// CPU time of the last msOf(): the machine's cores are shared, so wall time alone says
// little about the code.
double lastCpuMs = 0;

double msOf(const std::function<void()> &run)
{
    const bench::Timings t = bench::timeRuns(1, run);
    lastCpuMs = t.cpuMs.front();
    return t.wallMs.front();
}

double bestMsOf(int runs, const std::function<void()> &run)
{
    return bench::bestOf(bench::timeRuns(runs, run).wallMs);
}

struct Best
{
    double wallMs;
    double cpuMs;
};

// Best wall and best CPU time of a first run and `runs` - 1 more.
Best bestOf(double firstWallMs, double firstCpuMs, int runs, const std::function<double()> &run)
{
    Best best { firstWallMs, firstCpuMs };
    for (int i = 1; i < runs; ++i) {
        best.wallMs = std::min(best.wallMs, run());
        best.cpuMs = std::min(best.cpuMs, lastCpuMs);
    }
    return best;
}

// The engine alone: the file's bytes into a new document of a bare editor, as one text
// without undo, painted. A new document, as opening takes, so that both pay for fresh memory.
double bareLoad(QsciScintilla &bare, const QString &fileName)
{
    return msOf([&] {
        const QByteArray bytes = bench::readFile(fileName);
        bare.SendScintilla(QsciScintillaBase::SCI_SETDOCPOINTER, 0UL, static_cast<long>(0));
        bare.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
        bare.SendScintilla(QsciScintillaBase::SCI_SETTEXT, 0UL, bytes.constData());
        QCoreApplication::processEvents();
        bare.repaint();
    });
}

// A main window past its start-up routine, on screen at `size` (its own when empty); null
// when it never shows.
std::unique_ptr<TMainForm> shownMainForm(QSize size = QSize())
{
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    if (size.isValid())
        form->resize(size);
    form->show();
    return QTest::qWaitForWindowExposed(form.get()) ? std::move(form) : nullptr;
}

// Opening as the Open command does after its dialog, until the window is on screen.
double openAndPaint(TMainForm &form, const QString &fileName)
{
    return msOf([&] {
        form.openDocument(fileName);
        QCoreApplication::processEvents();
        form.repaint();
    });
}

int runSize(int categories)
{
    const bench::ScratchProgram program;
    const QString fileName = program.file(QStringLiteral("doc.aiml"));
    bench::AimlGeneratorOptions generator;
    generator.categories = categories;
    generator.accents = true;
    generator.topics = true;
    const QByteArray bytes = bench::generateAiml(generator);
    if (!bench::writeFile(fileName, bytes))
        return 2;
    const double size = static_cast<double>(bytes.size());

    const std::unique_ptr<TMainForm> form = shownMainForm(QSize(1280, 1024));
    if (!form)
        return 2;

    const qint64 before = procStatus("VmRSS:");
    resetPeak();
    const double firstOpenMs = openAndPaint(*form, fileName);
    const qint64 peak = procStatus("VmHWM:");
    const double memory = static_cast<double>(peak - before) / size;
    if (form->table()->gridRowCount() != categories + 2) {
        std::printf("wrong row count %d\n", form->table()->gridRowCount());
        return 2;
    }
    // The same file again: nothing left of the first reading may slow it down.
    const Best open = bestOf(firstOpenMs, lastCpuMs, kOpenRuns, [&] { return openAndPaint(*form, fileName); });

    // What the colours cost: opening with and without them, in turn, best of five each; then
    // the first paint at the end of the text.
    bench::Timings coloured;
    bench::Timings uncoloured;
    for (int run = 0; run < 5; ++run) {
        for (const bool colour : { true, false }) {
            form->code->setColouring(colour);
            bench::Timings &into = colour ? coloured : uncoloured;
            into.wallMs.push_back(openAndPaint(*form, fileName));
            into.cpuMs.push_back(lastCpuMs);
        }
    }
    form->code->setColouring(true);
    (void)openAndPaint(*form, fileName);
    const double toEndMs = msOf([&] {
        form->code->goToLine(form->code->lineCount());
        form->repaint();
    });

    const double tableMs = msOf([&] {
        form->tabs->setCurrentIndex(0);
        QCoreApplication::processEvents();
        form->repaint();
    });
    form->tabs->setCurrentIndex(1);
    QCoreApplication::processEvents();

    const double refreshMs = bestMsOf(3, [&] {
        form->mnuRefreshClick();
        form->repaint();
    });
    const double saveMs = bestMsOf(3, [&] { form->FileSave(); });

    ReadOptions options;
    options.upcase = true;
    const double readerMs = bestMsOf(3, [&] { (void)readCategories(bytes, options); });

    QsciScintilla bare;
    bare.resize(1280, 1024);
    bare.show();
    if (!QTest::qWaitForWindowExposed(&bare))
        return 2;
    const qint64 bareBefore = procStatus("VmRSS:");
    resetPeak();
    const double firstBareMs = bareLoad(bare, fileName);
    const double bareMemory = static_cast<double>(procStatus("VmHWM:") - bareBefore) / size;
    const Best bareBest = bestOf(firstBareMs, lastCpuMs, kOpenRuns, [&] { return bareLoad(bare, fileName); });

    // A plain text box takes seconds and gigabytes for the largest size, and says nothing new.
    double plainMs = 0;
    if (categories <= 100000) {
        QPlainTextEdit plain;
        plain.resize(1280, 1024);
        plain.show();
        if (!QTest::qWaitForWindowExposed(&plain))
            return 2;
        plainMs = msOf([&] {
            plain.setPlainText(QString::fromUtf8(bench::readFile(fileName)));
            QCoreApplication::processEvents();
            plain.repaint();
        });
    }

    const bool bigOne = categories == 100000;
    auto verdict = [bigOne](double value, double limit) { return !bigOne ? "" : value <= limit ? "  ok" : "  OVER"; };
    const double ratio = open.wallMs / bareBest.wallMs;
    const double cpuRatio = open.cpuMs / bareBest.cpuMs;
    std::printf("%d categories, %.1f MB\n", categories, size / 1e6);
    std::printf("  open            %8.1f ms  (cpu %.1f ms)  target %.0f ms%s\n", open.wallMs, open.cpuMs, kOpenLimitMs,
        verdict(open.wallMs, kOpenLimitMs));
    std::printf("  first open      %8.1f ms\n", firstOpenMs);
    std::printf("  bare editor     %8.1f ms  (cpu %.1f ms)  peak %.2f x the document\n", bareBest.wallMs,
        bareBest.cpuMs, bareMemory);
    std::printf("  first bare load %8.1f ms\n", firstBareMs);
    std::printf("  open / bare     %8.2f     (cpu %.2f)  target %.1f%s\n", ratio, cpuRatio, kBareRatioLimit,
        verdict(std::min(ratio, cpuRatio), kBareRatioLimit));
    std::printf("  open coloured   %8.1f ms  (cpu %.1f ms); uncoloured %.1f ms (cpu %.1f ms); best of 5\n",
        bench::bestOf(coloured.wallMs), bench::bestOf(coloured.cpuMs), bench::bestOf(uncoloured.wallMs),
        bench::bestOf(uncoloured.cpuMs));
    std::printf("  end of text     %8.1f ms  (first paint there)\n", toEndMs);
    std::printf("  table page      %8.1f ms\n", tableMs);
    std::printf("  refresh         %8.1f ms  target %.0f ms%s\n", refreshMs, kRefreshLimitMs,
        verdict(refreshMs, kRefreshLimitMs));
    std::printf("  save            %8.1f ms  target %.0f ms%s\n", saveMs, kSaveLimitMs, verdict(saveMs, kSaveLimitMs));
    std::printf("  reader passes   %8.1f ms\n", readerMs);
    std::printf("  peak memory     %8.2f x the document  target %.1f x%s\n", memory, kMemoryLimit,
        verdict(memory, kMemoryLimit));
    if (plainMs > 0)
        std::printf("  QPlainTextEdit  %8.1f ms\n", plainMs);
    std::fflush(stdout);
    const bool over = bigOne
        && (open.wallMs > kOpenLimitMs || std::min(ratio, cpuRatio) > kBareRatioLimit || refreshMs > kRefreshLimitMs
            || saveMs > kSaveLimitMs || memory > kMemoryLimit);
    return over ? 1 : 0;
}

// Any file, opened and painted as the Open command does.
int runOpen(const QString &fileName)
{
    const bench::ScratchProgram program;
    const std::unique_ptr<TMainForm> form = shownMainForm(QSize(1280, 1024));
    if (!form)
        return 2;
    for (int run = 0; run < kOpenRuns; ++run) {
        const double openMs = openAndPaint(*form, fileName);
        const double openCpuMs = lastCpuMs;
        const double repaintMs = msOf([&] {
            form->code->viewport()->update();
            form->repaint();
        });
        std::printf("%s: open %.1f ms (cpu %.1f ms), next paint %.1f ms, %d rows\n", qPrintable(fileName), openMs,
            openCpuMs, repaintMs, form->table()->gridRowCount() - 1);
    }
    return 0;
}

// Categories without a line break, about `megabytes` MB.
QByteArray oneLine(int megabytes)
{
    const QByteArray category("<category><pattern>A B</pattern><template>C D</template></category>");
    return category.repeated(megabytes * 1000000 / category.size());
}

// Inputs no one should open, opened: each must end, with the window usable after it. They run
// in one process, so only the first case's peak starts from clean memory.
int runBadInput(const QString &only)
{
    const bench::ScratchProgram program;
    const std::unique_ptr<TMainForm> form = shownMainForm();
    if (!form)
        return 2;

    struct Case
    {
        const char *name;
        std::function<QByteArray()> make;
    };
    const Case cases[] = {
        { "200 MB document",
            [] {
                bench::AimlGeneratorOptions generator;
                generator.categories = 1250000;
                return bench::generateAiml(generator);
            } },
        { "50 MB of random bytes",
            [] {
                QByteArray bytes(50 << 20, Qt::Uninitialized);
                QRandomGenerator random(3);
                random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
                return bytes;
            } },
        { "4 MB on one line", [] { return oneLine(4); } },
        { "4 MB line below the caret", [] { return "<aiml>\r\n" + oneLine(4) + "\r\n</aiml>\r\n"; } },
        { "12 MB on one line", [] { return oneLine(12); } },
        { "20 MB on one line", [] { return oneLine(20); } },
        { "20 MB of opening tags", [] { return QByteArray("<category><pattern><that><template>").repeated(550000); } },
    };
    for (const Case &c : cases) {
        if (!QString::fromLatin1(c.name).contains(only))
            continue;
        const QString fileName = program.file(QStringLiteral("bad.aiml"));
        const QByteArray bytes = c.make();
        if (!bench::writeFile(fileName, bytes))
            return 2;
        const qint64 before = procStatus("VmRSS:");
        resetPeak();
        const double openMs = openAndPaint(*form, fileName);
        const double openCpuMs = lastCpuMs;
        const qint64 peak = procStatus("VmHWM:");
        const double repaintMs = msOf([&] {
            form->code->viewport()->update();
            form->repaint();
        });
        // To the end of the text, which scrolls the longest line to its end.
        const double endMs = msOf([&] {
            form->code->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
            QCoreApplication::processEvents();
            form->repaint();
        });
        const double refreshMs = msOf([&] {
            try {
                form->mnuRefreshClick();
            } catch (const std::exception &) {
                // A text with neither a category line nor a closing line cannot be refreshed.
            }
        });
        std::printf("%-26s %6.1f MB | open %8.1f ms (cpu %8.1f) | next paint %7.1f ms | end %7.1f ms | rows %8d | "
                    "peak %5.2f x size | refresh %8.1f ms\n",
            c.name, static_cast<double>(bytes.size()) / 1e6, openMs, openCpuMs, repaintMs, endMs,
            form->table()->gridRowCount() - 1, static_cast<double>(peak - before) / static_cast<double>(bytes.size()),
            refreshMs);
        std::fflush(stdout);
        form->document()->setDocChanged(false);
        form->mnuCloseClick();
    }
    return 0;
}

// 200 MB texts of odd shapes.
QByteArray shape(const QString &name)
{
    constexpr qsizetype kSize = 200 << 20;
    if (name == QLatin1String("lf"))
        return QByteArray(kSize, '\n');
    if (name == QLatin1String("cr"))
        return QByteArray(kSize, '\r');
    if (name == QLatin1String("crlf"))
        return QByteArray("\r\n").repeated(kSize / 2);
    if (name == QLatin1String("patterns"))
        return QByteArray("<pattern>x</pattern>\r\n").repeated(kSize / 22);
    if (name == QLatin1String("random")) {
        QByteArray bytes(kSize, Qt::Uninitialized);
        QRandomGenerator random(5);
        random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
        return bytes;
    }
    return {};
}

const char *const kShapes[] = { "lf", "cr", "crlf", "patterns", "random" };

// One shape opened in this process: its time and peak memory, or the error that refused it.
int runShape(const QString &name)
{
    const bench::ScratchProgram program;
    const std::unique_ptr<TMainForm> form = shownMainForm(QSize(1280, 1024));
    if (!form)
        return 2;
    const QString fileName = program.file(QStringLiteral("shape.aiml"));
    const QByteArray bytes = shape(name);
    if (!bench::writeFile(fileName, bytes))
        return 2;
    const double size = static_cast<double>(bytes.size());
    const qint64 before = procStatus("VmRSS:");
    resetPeak();
    QString error;
    const double openMs = msOf([&] {
        try {
            form->openDocument(fileName);
            QCoreApplication::processEvents();
            form->repaint();
        } catch (const std::exception &e) {
            error = QString::fromUtf8(e.what());
        }
    });
    const double peak = static_cast<double>(procStatus("VmHWM:") - before) / size;
    std::printf("%-9s %6.1f MB | open %8.1f ms | peak %5.2f x size | %s\n", qPrintable(name), size / 1e6, openMs, peak,
        error.isEmpty() ? qPrintable(QStringLiteral("%1 rows").arg(form->table()->gridRowCount() - 1))
                        : qPrintable(error));
    std::fflush(stdout);
    return 0;
}

// Its time, and its peak memory beyond the open document's for each match: a match may keep
// no more than 16 bytes while they are found.
int runReplaceAll()
{
    constexpr double kBytesPerMatchLimit = 16;
    const bench::ScratchProgram program;
    const std::unique_ptr<TMainForm> form = shownMainForm(QSize(1280, 1024));
    if (!form)
        return 2;
    const QString fileName = program.file(QStringLiteral("matches.aiml"));
    if (!bench::writeFile(fileName, QByteArray("<pattern>x</pattern>\r\n").repeated(10'000'000 / 22)))
        return 2;
    form->openDocument(fileName);
    SearchOptions options;
    options.text = QStringLiteral("x*");
    options.regExp = true;
    const qint64 before = procStatus("VmRSS:");
    resetPeak();
    int count = 0;
    const double ms = msOf([&] { count = form->code->replaceAll(options, QString()); });
    const double perMatch = static_cast<double>(procStatus("VmHWM:") - before) / std::max(count, 1);
    const bool ok = perMatch <= kBytesPerMatchLimit;
    std::printf("replace all %d matches | %8.1f ms | peak %.1f bytes a match (limit %.0f)  %s\n", count, ms, perMatch,
        kBytesPerMatchLimit, ok ? "ok" : "OVER");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("--size"))
        return runSize(args[2].toInt());
    if (args.size() >= 3 && args[1] == QLatin1String("--open"))
        return runOpen(args[2]);
    if (args.size() >= 4 && args[1] == QLatin1String("--generate")) {
        bench::AimlGeneratorOptions generator;
        generator.categories = args[2].toInt();
        generator.accents = true;
        generator.topics = true;
        return bench::writeFile(args[3], bench::generateAiml(generator)) ? 0 : 2;
    }
    if (args.size() >= 2 && args[1] == QLatin1String("--bad-input"))
        return runBadInput(args.value(2));
    if (args.size() >= 3 && args[1] == QLatin1String("--shape"))
        return runShape(args[2]);
    if (args.size() >= 2 && args[1] == QLatin1String("--replace-all"))
        return runReplaceAll();
    if (args.size() >= 2 && args[1] == QLatin1String("--shapes")) {
        for (const char *name : kShapes) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--shape"), QLatin1String(name) });
            if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
                return 2;
        }
        return 0;
    }

    std::printf("Documents (%s), best of 3 for refresh, save and reader; limits for 100,000 categories: open %.0f ms, "
                "refresh %.0f ms, save %.0f ms, peak %.1f x size\n",
        qPrintable(QSysInfo::prettyProductName()), kOpenLimitMs, kRefreshLimitMs, kSaveLimitMs, kMemoryLimit);
    std::fflush(stdout);
    int result = 0;
    for (int categories : { 1000, 10000, 100000, 1000000 }) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--size"), QString::number(categories) });
        if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
            return 2;
        result = std::max(result, child.exitCode());
    }
    return result;
}

// One "Say it" against a table of 100,000 categories, with a transcript that already holds
// 10,000 exchanges, must answer within 20 ms. Every pattern has the sentence's length, so each
// one is read; prints the median and worst wall and CPU time of many presses for a sentence
// that matches nothing, one that matches the first row (found last) and one that matches the
// last row; exits 1 when the median or the worst CPU time is over the limit.

#include "BenchTiming.h"
#include "ScratchProgram.h"

#include "app/Main.h"
#include "bot/Matcher.h"
#include "document/AimlReader.h"
#include "document/CategoryTable.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <cstdio>
#include <functional>

using namespace vorrel;

namespace {

constexpr int kCategories = 100000;
constexpr int kExchanges = 10000;
constexpr int kPresses = 100;
constexpr double kLimitMs = 20.0;

struct Figures
{
    double medianWall;
    double worstWall;
    double medianCpu;
    double worstCpu;
};

// Wall time shows what the user waits; the thread's CPU time leaves out the slices that other
// processes on this shared machine take in between.
Figures measure(const std::function<void()> &run)
{
    const bench::Timings t = bench::timeRuns(kPresses, run);
    return { bench::medianOf(t.wallMs), bench::worstOf(t.wallMs), bench::medianOf(t.cpuMs), bench::worstOf(t.cpuMs) };
}

// Presses of the button itself, as the user's click or Enter runs it, with the repaint after.
Figures timePresses(TMainForm &form, const QString &sentence)
{
    form.input->setPlainText(sentence);
    return measure([&form] {
        form.SayIt->click();
        QCoreApplication::processEvents();
    });
}

// The lookup alone, without the transcript.
Figures timeLookups(const CategoryTable &table, const QString &sentence)
{
    qsizetype sink = 0;
    const Figures f = measure([&] { sink += botReply(table, sentence).size(); });
    if (sink < 0)
        std::printf("\n");
    return f;
}

// Passes when the typical press is in time and no press needed more than the limit of work.
bool report(const char *what, const Figures &f)
{
    const bool ok = f.medianWall <= kLimitMs && f.worstCpu <= kLimitMs;
    std::printf("%-26s wall median %7.3f worst %7.3f ms | cpu median %7.3f worst %7.3f ms (limit %4.1f)  %s\n", what,
        f.medianWall, f.worstWall, f.medianCpu, f.worstCpu, kLimitMs, ok ? "ok" : "TOO SLOW");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bench::ScratchProgram program;
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    form->iButMenu(true);

    // The table as opening a document leaves it: cells kept as the document's bytes.
    QByteArray document("<aiml>\r\n");
    for (int i = 0; i < kCategories; ++i) {
        document += QStringLiteral("<category>\r\n<pattern>PATTERN NUMBER %1</pattern>\r\n<template>\r\nTemplate "
                                   "<star/> number %2\r\n</template>\r\n</category>\r\n")
                        .arg(i, 6, 10, QLatin1Char('0'))
                        .arg(i)
                        .toUtf8();
    }
    document += "</aiml>\r\n";
    form->table()->assignRows(readCategories(document, ReadOptions()));

    form->show();
    form->tabs->setCurrentIndex(2);
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::printf("window not exposed; timing without painting\n");

    // A transcript of earlier exchanges, in the shape the button leaves them.
    QString earlier;
    for (int i = 0; i < kExchanges; ++i)
        earlier += QStringLiteral("You: Pattern number %1\nVessra: Template <star/> number %1\n\n").arg(i);
    earlier.chop(1);
    form->log->appendPlainText(earlier);
    QCoreApplication::processEvents();
    std::printf("table %d categories, transcript %d lines before timing\n", form->table()->gridRowCount() - 2,
        form->log->blockCount());

    bool ok = true;
    ok &= report("lookup alone, no match", timeLookups(*form->table(), QStringLiteral("pattern number 999999")));
    ok &= report("no match (full scan)", timePresses(*form, QStringLiteral("pattern number 999999")));
    ok &= report("first row matches", timePresses(*form, QStringLiteral("Pattern Number 000000")));
    ok &= report("last row matches", timePresses(*form, QStringLiteral("pattern number 099999")));
    std::printf("transcript %d lines after timing\n", form->log->blockCount());
    return ok ? 0 : 1;
}

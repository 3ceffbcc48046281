// The table's history: 1,000 rows deleted one by one, then every deletion undone, must take
// under a second in the window, with the grid showing the rows. The document is opened from a
// generated file of 10,000 categories (its cells refer into the preview's text), the rows
// deleted from the middle, where each deletion moves the most rows. Prints the wall and CPU
// time of the deletions and of the undoing, in the window and with the controller alone, and
// checks that the undoing gave back the table as it was read; exits 1 over the limit.

#include "AimlGenerator.h"
#include "BenchTiming.h"
#include "ScratchProgram.h"

#include "app/Main.h"
#include "document/CategoryTable.h"
#include "document/ui/DocumentController.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <cstdio>

using namespace vorrel;

namespace {

constexpr int kCategories = 10000;
constexpr int kDeletions = 1000;
constexpr double kLimitMs = 1000;

// Wall and CPU milliseconds of one call.
bench::Timing timed(const std::function<void()> &run)
{
    const bench::Timings t = bench::timeRuns(1, run);
    return { t.wallMs.front(), t.cpuMs.front() };
}

QStringList snapshot(const CategoryTable &table)
{
    QStringList cells;
    for (int r = 1; r < table.gridRowCount(); ++r) {
        for (int c = 0; c < CategoryRows::kColumns; ++c)
            cells.append(table.cell(c, r));
    }
    return cells;
}

// Deletes and undoes on `controller`, then lets the window catch up; true when in time and the
// table is back as it was.
bool run(const char *where, DocumentController &controller)
{
    const QStringList before = snapshot(*controller.table());
    const int middle = controller.table()->gridRowCount() / 2;
    const bench::Timing deleting = timed([&] {
        for (int i = 0; i < kDeletions; ++i)
            controller.deleteCategory(middle);
        QCoreApplication::processEvents();
    });
    const bench::Timing undoing = timed([&] {
        while (controller.history()->canUndo())
            controller.history()->undo();
        QCoreApplication::processEvents();
    });
    const bool same = snapshot(*controller.table()) == before;
    const double total = deleting.wallMs + undoing.wallMs;
    const bool ok = same && total <= kLimitMs;
    std::printf("%-18s delete %4d: wall %7.1f cpu %7.1f ms | undo all: wall %7.1f cpu %7.1f ms | total %7.1f ms "
                "(limit %.0f)%s  %s\n",
        where, kDeletions, deleting.wallMs, deleting.cpuMs, undoing.wallMs, undoing.cpuMs, total, kLimitMs,
        same ? "" : " TABLE DIFFERS", ok ? "ok" : "FAILED");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const bench::ScratchProgram program;
    bench::AimlGeneratorOptions options;
    options.categories = kCategories;
    options.topics = true;
    const QString file = program.file(QStringLiteral("bench.aiml"));
    if (!bench::writeFile(file, bench::generateAiml(options)))
        return 2;

    bool ok = true;
    {
        auto form = std::make_unique<TMainForm>();
        form->Timer1Timer();
        form->openDocument(file);
        form->show();
        form->tabs->setCurrentIndex(0);
        if (!QTest::qWaitForWindowExposed(form.get()))
            std::printf("window not exposed; timing without painting\n");
        QCoreApplication::processEvents();
        ok &= run("in the window", *form->controller());
    }
    DocumentController alone;
    alone.openFile(file);
    ok &= run("controller alone", alone);
    return ok ? 0 : 1;
}

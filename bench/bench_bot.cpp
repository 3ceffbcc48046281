// One "Say it" against a table of 100,000 categories, with a transcript that already holds
// 10,000 exchanges, must answer within 20 ms. Prints the median and the worst of many presses
// for a sentence that matches nothing (every pattern compared to its end) and for one that
// matches the first row; exits 1 when a figure is over the limit.

#include "app/AppInfo.h"
#include "app/Main.h"
#include "bot/Matcher.h"
#include "document/CategoryTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vorrel;

namespace {

constexpr int kCategories = 100000;
constexpr int kExchanges = 10000;
constexpr int kPresses = 100;
constexpr double kLimitMs = 20.0;

struct Figures
{
    double median;
    double worst;
};

// Times presses of the button itself, as the user's click or Enter runs it; the repaint that
// follows is timed with it.
Figures timePresses(TMainForm &form, const QString &sentence)
{
    form.input->setPlainText(sentence);
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < kPresses; ++i) {
        timer.start();
        form.SayIt->click();
        QCoreApplication::processEvents();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return { times[times.size() / 2], times.back() };
}

// The lookup alone, without the transcript.
Figures timeLookups(const CategoryTable &table, const QString &sentence)
{
    std::vector<double> times;
    QElapsedTimer timer;
    qsizetype sink = 0;
    for (int i = 0; i < kPresses; ++i) {
        timer.start();
        sink += botReply(table, sentence).size();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    if (sink < 0)
        std::printf("\n");
    return { times[times.size() / 2], times.back() };
}

bool report(const char *what, const Figures &f)
{
    const bool ok = f.worst <= kLimitMs;
    std::printf("%-34s median %7.3f ms   worst %7.3f ms   (limit %4.1f ms)  %s\n", what, f.median, f.worst, kLimitMs,
        ok ? "ok" : "TOO SLOW");
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Program files in a scratch directory, with settings that keep the welcome window away.
    QTemporaryDir dir;
    setProgramDirOverride(dir.path());
    QFile ini(dir.filePath(QStringLiteral("opts.ini")));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[Preferences]\r\nDlg=0\r\n");
    ini.close();
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    form->iButMenu(true);

    std::vector<CategoryRow> rows(kCategories + 1);
    for (int i = 0; i < kCategories; ++i) {
        CategoryRow &row = rows[static_cast<std::size_t>(i)];
        row.cells[0] = QString::number(i + 1);
        row.cells[1] = QStringLiteral("PATTERN NUMBER %1").arg(i, 6, 10, QLatin1Char('0'));
        row.cells[3] = QStringLiteral("Template <star/> number %1").arg(i);
    }
    form->table()->assignRows(std::move(rows));

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

// The process the save tests run, fault shim preloaded or killed at random moments:
//
//   save_helper write FILE TEXT     replaces FILE with TEXT; prints "ok" or "failed <step>: <reason>"
//   save_helper read-ini FILE       reads FILE for rewriting; prints "ok" or "failed: <reason>"
//   save_helper document-loop FILE  saves the two document versions in turn, without end
//   save_helper options-loop FILE   rewrites FILE with the two sets of options in turn, without end
//
// The loops print "saved" once, after their first complete save.

#include "SaveHelpers.h"

#include "base/SafeWrite.h"
#include "prefs/IniProfile.h"

#include <cstdio>

using namespace vorrel;
using namespace vorrel::test;

namespace {

int report(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    return 0;
}

void announceFirstSave(bool &announced)
{
    if (announced)
        return;
    announced = true;
    std::fputs("saved\n", stdout);
    std::fflush(stdout);
}

int usage()
{
    std::fputs("usage: save_helper write FILE TEXT | read-ini FILE | document-loop FILE | options-loop FILE\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    const QByteArray mode = argv[1];
    const QString file = QString::fromLocal8Bit(argv[2]);

    if (mode == "write" && argc == 4) {
        const WriteResult result = writeFileAtomically(file, QByteArrayView(argv[3]));
        if (result)
            return report(QStringLiteral("ok"));
        const QString step
            = result.failedStep == WriteResult::Create ? QStringLiteral("create") : QStringLiteral("write");
        return report(QStringLiteral("failed %1: %2").arg(step, result.reason));
    }
    if (mode == "read-ini") {
        QString reason;
        return report(
            IniProfile::loadForWriting(file, &reason) ? QStringLiteral("ok") : QStringLiteral("failed: ") + reason);
    }
    bool announced = false;
    if (mode == "document-loop") {
        const QByteArray versions[] = { documentVersion(0), documentVersion(1) };
        for (int i = 0;; i = 1 - i) {
            const WriteResult result = writeFileAtomically(file, versions[i]);
            if (!result) {
                std::fprintf(stderr, "%s\n", qPrintable(result.reason));
                return 1;
            }
            announceFirstSave(announced);
        }
    }
    if (mode == "options-loop") {
        for (int i = 0;; i = 1 - i) {
            QString reason;
            std::optional<IniProfile> profile = IniProfile::loadForWriting(file, &reason);
            if (profile) {
                writeOptionsVersion(*profile, i);
                if (profile->save(file, &reason)) {
                    announceFirstSave(announced);
                    continue;
                }
            }
            std::fprintf(stderr, "%s\n", qPrintable(reason));
            return 1;
        }
    }
    return usage();
}

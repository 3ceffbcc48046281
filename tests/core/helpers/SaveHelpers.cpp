#include "SaveHelpers.h"

#include "prefs/IniProfile.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace vorrel::test {

namespace {

constexpr int kHelperTimeoutMs = 30000;

} // namespace

QByteArray documentVersion(int which)
{
    const qsizetype size = which == 0 ? 4 * 1024 * 1024 : 3 * 1024 * 1024 + 17;
    QByteArray bytes(size, Qt::Uninitialized);
    // Lines of letters; the versions use disjoint letters.
    const char first = which == 0 ? 'a' : 'n';
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = i % 64 == 63 ? (which == 0 ? '\n' : '\r') : char(first + i % 13);
    return bytes;
}

void writeOptionsVersion(IniProfile &profile, int which)
{
    const bool a = which == 0;
    const QString font = QStringLiteral("Font");
    const QString prefs = QStringLiteral("Preferences");
    profile.writeString(
        font, QStringLiteral("Name"), a ? QStringLiteral("Lucida Console") : QStringLiteral("Caf\u00E9 Mono"));
    profile.writeString(font, QStringLiteral("Size"), a ? QStringLiteral("10") : QStringLiteral("14"));
    profile.writeString(prefs, QStringLiteral("SCC"), a ? QStringLiteral("0") : QStringLiteral("1"));
    profile.writeString(prefs, QStringLiteral("Comments"), a ? QStringLiteral("1") : QStringLiteral("0"));
    profile.writeString(prefs, QStringLiteral("InitDir"), a ? QStringLiteral("/home/a") : QStringLiteral("/srv/bb"));
    profile.writeString(prefs, QStringLiteral("Dlg"), a ? QStringLiteral("1") : QStringLiteral("0"));
    profile.writeString(prefs, QStringLiteral("UCase"), a ? QStringLiteral("0") : QStringLiteral("1"));
}

HelperRun runHelper(const QStringList &arguments, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(VORREL_SAVE_HELPER), arguments);
    HelperRun run;
    if (!process.waitForFinished(kHelperTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.err = "helper did not finish: " + process.errorString().toUtf8();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

std::optional<HelperRun> runHelperUnprivileged(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    if (::geteuid() != 0)
        return runHelper(arguments, environment);
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        return std::nullopt;
    // As nobody, and through setpriv itself, so that the helper's arguments stay as given.
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(setpriv,
        QStringList { QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
            QStringLiteral("--clear-groups"), QStringLiteral(VORREL_SAVE_HELPER) }
            + arguments);
    if (!process.waitForFinished(kHelperTimeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    HelperRun run { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
    // setpriv itself failing (no right to change user in this container) is no answer.
    if (run.exitCode != 0 && run.out.isEmpty())
        return std::nullopt;
    return run;
}

QProcessEnvironment faultEnvironment(const QString &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VORREL_FAULT_SHIM));
    environment.insert(QStringLiteral("VORREL_FAULT_DIR"), QDir(folder).canonicalPath());
    return environment;
}

QString killWhileSaving(const QStringList &arguments, QRandomGenerator &random, int maxDelayMs)
{
    QProcess process;
    process.start(QStringLiteral(VORREL_SAVE_HELPER), arguments);
    if (!process.waitForStarted(kHelperTimeoutMs))
        return QStringLiteral("helper did not start: ") + process.errorString();
    // The helper prints one line after its first complete save.
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(kHelperTimeoutMs))
            return QStringLiteral("helper never saved: ") + QString::fromUtf8(process.readAllStandardError());
    }
    QThread::usleep(random.bounded(maxDelayMs * 1000));
    process.kill();
    if (!process.waitForFinished(kHelperTimeoutMs))
        return QStringLiteral("helper survived SIGKILL");
    if (process.exitStatus() != QProcess::CrashExit)
        return QStringLiteral("helper ended by itself: ") + QString::fromUtf8(process.readAllStandardError());
    return {};
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace vorrel::test

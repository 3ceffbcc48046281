#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorrel {
class IniProfile;
}

namespace vorrel::test {

// The two documents the kill test saves in turn: of different lengths and different at every
// byte, so that any mix of them, or any part of one, equals neither.
QByteArray documentVersion(int which);

// Writes one of two whole sets of the Options dialog's seven keys, every value different
// between the sets.
void writeOptionsVersion(IniProfile &profile, int which);

// What a run of the save helper printed.
struct HelperRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs the save helper (tests/core/helpers/SaveHelper.cpp) to its end.
HelperRun runHelper(const QStringList &arguments, const QProcessEnvironment &environment);

// Runs it as a user without root's powers over files, so that permissions count; nothing when
// that is impossible here.
std::optional<HelperRun> runHelperUnprivileged(const QStringList &arguments);

// The environment that loads the fault shim, for the folder it may disturb.
QProcessEnvironment faultEnvironment(const QString &folder);

// Starts the helper in one of its saving loops, waits for its first save, lets it go on for a
// random while of up to maxDelayMs and kills it with SIGKILL. Empty, or what went wrong.
QString killWhileSaving(const QStringList &arguments, QRandomGenerator &random, int maxDelayMs);

// Every name in the folder, hidden ones included.
QStringList folderEntries(const QString &folder);

} // namespace vorrel::test

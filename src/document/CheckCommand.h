#pragma once

#include "aiml/BotProperties.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QIODevice;
class QTextStream;

namespace vorrel {

// Exit codes of the check command.
inline constexpr int kCheckPassed = 0;
inline constexpr int kCheckFoundErrors = 1;
inline constexpr int kCheckUnreadable = 2;

// How the problems are printed: lines as compilers print them, one JSON array of objects,
// or a SARIF 2.1.0 log as code-scanning services read it.
enum class CheckFormat { Gcc, Json, Sarif };

std::optional<CheckFormat> checkFormatNamed(const QString &name);

struct CheckRequest
{
    // "-" stands for standard input.
    QStringList files;
    CheckFormat format = CheckFormat::Gcc;
    // Only the errors, and no summary.
    bool errorsOnly = false;
    // Problems of these codes are neither printed nor counted.
    QStringList disabled;
    bool upcasePatterns = true;
    // What <bot name="..."/> in a pattern matches.
    BotProperties properties;
    // What the SARIF log says of the tool.
    QString toolVersion;
};

// Why `codes` cannot be given to --disable, or nothing when they can: each must be a
// problem's code, and a document that no XML parser reads is never passed.
std::optional<QString> disableRefusal(const QStringList &codes);

struct Problem;
struct CheckOptions;

// The problems of a document whose file is `fileName`, the other *.aiml files of its folder
// taking part as documents of the same bot: a srai they answer is not reported. Their own
// problems are not wanted, and a file that cannot be read takes no part.
std::vector<Problem> checkInFolder(QByteArrayView bytes, const QString &fileName, const CheckOptions &options);

// Checks the files as the documents of one bot and prints its problems to `out` in the requested format, and a summary
// ("3 files, 2 errors, 14 warnings") to `err`; a file that cannot be read gets a line on
// `err`. Returns kCheckUnreadable when a file could not be read, else kCheckFoundErrors when a
// file has an error, else kCheckPassed: warnings alone pass.
int runCheckCommand(const CheckRequest &request, QIODevice &input, QTextStream &out, QTextStream &err);

} // namespace vorrel

#pragma once

#include "aiml/BotProperties.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace vorrel {

enum class Severity { Error, Warning };

// One finding of the checker. Line and column are 1-based; columns count characters, so a
// multi-byte UTF-8 letter is one column.
struct Problem
{
    Severity severity = Severity::Warning;
    int line = 1;
    int column = 1;
    // Short and stable, for scripts: one of problemCodes().
    QString code;
    QString message;
};

// "not-well-formed", "encoding", "structure", "unknown-element", "pattern-syntax",
// "duplicate", "srai-target", "empty-template".
const QStringList &problemCodes();

struct CheckOptions
{
    // Patterns are kept in upper case, so a lower-case letter in one is worth a warning.
    bool upcasePatterns = true;
    // A document of at least this many bytes is read in two parts at once; -1 never.
    qsizetype parallelFrom = 1 << 20;
    // What <bot name="..."/> in a pattern matches, as the bot has them.
    BotProperties properties;
};

// Checks an AIML document given as the bytes of its file: first as XML 1.0 with namespaces,
// strictly (what a conformant parser refuses is an error), then as AIML. Never fails: a
// document that is not well-formed gets that error and, after it, what can still be found by
// searching its tags literally. Problems come sorted by position.
std::vector<Problem> checkDocument(QByteArrayView bytes, const CheckOptions &options = {});

// The same for a document of `size` bytes that `read` puts straight into the checker's memory,
// so that a large file is held once, handing each problem to `sink` in turn rather than
// keeping them all. `read` fills at most the bytes it is given and returns how many it filled,
// or -1 when reading failed, which ends the check with nothing and false.
using DocumentReader = std::function<qint64(char *data, qint64 size)>;
using ProblemSink = std::function<void(const Problem &problem)>;
bool checkDocument(qint64 size, const DocumentReader &read, const CheckOptions &options, const ProblemSink &sink);

// Checks the documents of one bot, each as checkDocument() does, but with the duplicates and srai
// targets found across all of them: a category of one document may duplicate one of another, and
// a srai of one is answered by a category of another.
class BotCheck final
{
public:
    explicit BotCheck(const CheckOptions &options);
    ~BotCheck();
    BotCheck(const BotCheck &) = delete;
    BotCheck &operator=(const BotCheck &) = delete;

    // Takes one more document, which the problems of the others name `fileName`, to be read
    // with the others at finish(); false when reading its bytes failed, and it then takes no part.
    bool add(const QString &fileName, qint64 size, const DocumentReader &read);
    // Each document's problems, sorted by position, the documents in the order they were added
    // and numbered from 0 in that order. Call it once.
    using BotProblemSink = std::function<void(int document, const Problem &problem)>;
    void finish(const BotProblemSink &sink);

private:
    struct Data;
    std::unique_ptr<Data> d;
};

// "FILE:LINE:COLUMN: error|warning: MESSAGE [code]", the form compilers print.
QString formatProblem(const QString &fileName, const Problem &problem);

// "2 errors, 14 warnings", "1 error, 0 warnings".
QString problemCounts(qsizetype errors, qsizetype warnings);

} // namespace vorrel

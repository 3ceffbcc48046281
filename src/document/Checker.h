#pragma once

#include <QByteArrayView>
#include <QString>

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
    // Short and stable, for scripts: "not-well-formed", "encoding", "structure",
    // "unknown-element", "pattern-syntax", "duplicate", "srai-target", "empty-template".
    QString code;
    QString message;
};

struct CheckOptions
{
    // Patterns are kept in upper case, so a lower-case letter in one is worth a warning.
    bool upcasePatterns = true;
};

// Checks an AIML document given as the bytes of its file. Never fails: a document that is not
// well-formed gets that error and, after it, what can still be found by searching its tags
// literally. Problems come sorted by position.
std::vector<Problem> checkDocument(QByteArrayView bytes, const CheckOptions &options = {});

// "FILE:LINE:COLUMN: error|warning: MESSAGE [code]", the form compilers print.
QString formatProblem(const QString &fileName, const Problem &problem);

} // namespace vorrel

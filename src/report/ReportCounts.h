#pragma once

#include "document/DocumentText.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace vorrel {

// The figures of the general report, all taken from one reading of the preview text.
struct ReportFigures
{
    qsizetype words = 0;
    // One per character; a line end counts its own, CR LF two, LF one.
    qsizetype characters = 0;
    qsizetype categories = 0;
    qsizetype randoms = 0;
    qsizetype srais = 0;
    qsizetype thinks = 0;
    // "AIML " and the 14 characters that start five after "aiml version*"; without that mark,
    // "AIML " and the version attribute of the root element <aiml>, or "AIML (none)".
    QString version;
};

// Words: runs of ASCII letters, digits, apostrophes and hyphens. A backslash joins the run
// that follows it to the word before (or hides it), so escapes like \n add nothing.
qsizetype countWords(QByteArrayView text);
qsizetype countWords(QStringView text);

// Every figure of the report in one pass over the text.
ReportFigures computeReport(QByteArrayView text, TextEncoding encoding);

} // namespace vorrel

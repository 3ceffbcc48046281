#pragma once

#include "document/CategoryRows.h"
#include "document/DocumentText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace vorrel {

// Number of non-overlapping occurrences of `what` in `text`, left to right, case-sensitive.
int Hits(QByteArrayView text, QByteArrayView what);

// Whether `text` holds the literal "<that>".
bool HasThat(QByteArrayView text);

enum class ReadPass { Patterns, Thats, Templates };

struct ReadOptions
{
    // Fold "a" to "z" in patterns to upper case.
    bool upcase = false;
    // How cell bytes become characters when they are shown.
    TextEncoding encoding = TextEncoding::Utf8;
    // The label row 1 keeps through the reset that starts every reading.
    QString firstLabel = QStringLiteral("1");
};

// Called with 0 as each pass starts, then every kReadProgressInterval steps with the
// steps done so far in that pass. Steps are patterns, categories and templates. Every call
// gives the number of "<category>" tags in the text, Hits(text, "<category>").
using ReadProgress = std::function<void(ReadPass pass, int steps, int categories)>;
inline constexpr int kReadProgressInterval = 4096;

// Fills table rows from a document's text by three independent literal tag searches
// (patterns, thats per category, templates), paired with rows by order. Row 1 and below:
// n patterns give n filled rows and one empty row after them. Never fails: an opening
// tag with no closing tag after it ends its pass, a closing tag before its opening tag
// gives an empty cell. Time grows with the text's length alone, whatever the tags' order.
// The cells refer into `text` (see CategoryRows): a text that only borrows its bytes needs
// ownBytes() on the rows before those bytes change.
CategoryRows readCategories(const QByteArray &text, const ReadOptions &options, const ReadProgress &progress = {});

} // namespace vorrel

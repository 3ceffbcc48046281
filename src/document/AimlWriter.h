#pragma once

#include "document/CategoryRows.h"
#include "document/DocumentText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vorrel {

struct RefreshResult
{
    bool ok = false;
    // The new document text, the last line ended too.
    QByteArray text;
    // Why there is no text.
    QString errorString;
};

// Regenerates a document's text from its table rows. The header is kept: the old text up to
// the line of its first category or topic start tag (see firstCategoryOrTopicTag), and the
// text before the tag on that line as a line of its own unless it is blank. Without a tag,
// every old line but the first "</aiml>" line (any letter case, whole line). Then the rows in
// order, each after the text that stood before its category; every run of rows with the same
// topic inside one topic element; a row with nothing but blanks in its cells is not written.
// Then the text that stood after the last category, and "</aiml>". Cells go out as they are,
// in the document's encoding, but for their line breaks; a topic's name is escaped. The kept
// lines and the text around the categories keep their line ends; every line written anew, and
// every line break in a pattern, that or template, ends as the old text's first line does
// (lineEndOf). Fails, with the list error the editor has always shown, when the old text has
// neither a tag nor that line.
RefreshResult refreshText(const CategoryRows &rows, QByteArrayView oldText, TextEncoding encoding);

// Where the header of a text ends: its first "<category>" (any letter case, blanks allowed
// before the ">") or "<topic" start tag; -1 when there is none.
qsizetype firstCategoryOrTopicTag(QByteArrayView text);

} // namespace vorrel

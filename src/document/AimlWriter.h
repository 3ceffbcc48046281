#pragma once

#include "document/CategoryTable.h"
#include "document/DocumentText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace vorrel {

struct RefreshResult
{
    bool ok = false;
    // The new document text, CR LF lines, the last one ended too.
    QByteArray text;
    // Why there is no text.
    QString errorString;
};

// Regenerates a document's text from its table rows: the old text's lines before its
// first "<category>" line (any letter case, whole line) are kept; without such a line,
// every old line but the first "</aiml>" line. Then one category per row, then "</aiml>".
// Cells go out as they are, in the document's encoding. Fails, with the list error the
// editor has always shown, when the old text has neither line.
RefreshResult refreshText(const std::vector<CategoryRow> &rows, QByteArrayView oldText, TextEncoding encoding);

} // namespace vorrel

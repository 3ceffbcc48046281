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
    // The new document text, CR LF lines, the last one ended too.
    QByteArray text;
    // Why there is no text.
    QString errorString;
};

// Regenerates a document's text from its table rows. The header is kept: the old text up to
// the line of its first category tag ("<category>" in any letter case, spaces or tabs allowed
// before the ">"), and the text before the tag on that line as a line of its own unless it is
// blank. Without a tag, every old line but the first "</aiml>" line (any letter case, whole
// line). Then one category per row, then "</aiml>". Cells go out as they are, in the
// document's encoding. Fails, with the list error the editor has always shown, when the old
// text has neither a tag nor that line.
RefreshResult refreshText(const CategoryRows &rows, QByteArrayView oldText, TextEncoding encoding);

} // namespace vorrel

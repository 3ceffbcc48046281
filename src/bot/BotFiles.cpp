#include "bot/BotFiles.h"

#include "bot/TableBot.h"
#include "document/AimlReader.h"
#include "document/Document.h"

#include <algorithm>

namespace vorrel {

bool BotFiles::addFile(const QString &fileName, bool upcase, QString *error)
{
    Document document;
    ByteArraySink text;
    TextEncoding encoding = TextEncoding::Utf8;
    if (!document.readFile(fileName, text, &encoding)) {
        if (error)
            *error = document.errorString();
        return false;
    }
    ReadOptions options;
    options.upcase = upcase;
    options.encoding = encoding;
    addRows(fileName, botCategories(readCategories(text.bytes, options)));
    m_sources.back().text = std::move(text.bytes);
    return true;
}

void BotFiles::addRows(const QString &fileName, std::vector<BotCategory> rows)
{
    m_sources.push_back({ fileName, int(m_categories.size()), int(rows.size()), {} });
    m_categories.insert(m_categories.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
}

void BotFiles::locate(BotAnswer &answer) const
{
    const int index = answer.row - 1;
    const auto source = std::find_if(m_sources.begin(), m_sources.end(),
        [index](const Source &s) { return index >= s.first && index < s.first + s.count; });
    if (index < 0 || source == m_sources.end())
        return;
    answer.file = source->fileName;
    answer.row = index - source->first + 1;
}

int BotFiles::line(const QString &fileName, int row) const
{
    const auto source = std::find_if(
        m_sources.begin(), m_sources.end(), [&fileName](const Source &s) { return s.fileName == fileName; });
    if (source == m_sources.end())
        return 0;
    // The reader pairs the n-th row with the n-th pattern tag of the text.
    qsizetype at = -1;
    for (int n = 0; n < row; ++n) {
        at = source->text.indexOf("<pattern>", at + 1);
        if (at < 0)
            return 0;
    }
    return int(QByteArrayView(source->text).first(at).count('\n')) + 1;
}

} // namespace vorrel

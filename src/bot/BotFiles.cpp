#include "bot/BotFiles.h"

#include "bot/TableBot.h"
#include "document/AimlReader.h"
#include "document/Document.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vorrel {

QStringList aimlFilesIn(const QString &folder)
{
    const QDir dir(folder);
    // Sorted by the bytes of the name, so that the order is the same on every machine.
    QStringList names = dir.entryList({ QStringLiteral("*.aiml") }, QDir::Files | QDir::Readable, QDir::NoSort);
    std::sort(names.begin(), names.end());
    QStringList files;
    files.reserve(names.size());
    for (const QString &name : std::as_const(names))
        files.append(dir.filePath(name));
    return files;
}

QStringList botFileNames(const QStringList &names)
{
    QStringList files;
    for (const QString &name : names) {
        if (name != u"-" && QFileInfo(name).isDir())
            files += aimlFilesIn(name);
        else
            files.append(name);
    }
    return files;
}

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

BotFiles::Origin BotFiles::origin(int row) const
{
    const int index = row - 1;
    const auto source = std::find_if(m_sources.begin(), m_sources.end(),
        [index](const Source &s) { return index >= s.first && index < s.first + s.count; });
    if (index < 0 || source == m_sources.end())
        return {};
    Origin origin { source->fileName, index - source->first + 1, 0 };
    // The reader pairs the n-th row with the n-th pattern tag of the text.
    qsizetype at = -1;
    for (int n = 0; n < origin.row; ++n) {
        at = source->text.indexOf("<pattern>", at + 1);
        if (at < 0)
            return origin;
    }
    origin.line = int(QByteArrayView(source->text).first(at).count('\n')) + 1;
    return origin;
}

QString describeAnswerIn(const BotAnswer &answer, const BotFiles::Origin &origin)
{
    const QString text = describeAnswer(answer);
    if (answer.row < 0 || origin.row < 0)
        return text;
    // "Row N" becomes the file's name and its own row.
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    return QFileInfo(origin.fileName).fileName() + QStringLiteral(" row ") + QString::number(origin.row)
        + text.mid(colon);
}

} // namespace vorrel

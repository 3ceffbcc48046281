#include "document/FileSearch.h"

#include "document/Document.h"

#include <QFileInfo>

namespace vorrel {

std::vector<FileHit> findInFile(const SearchedFile &file, const SearchOptions &options)
{
    std::vector<FileHit> hits;
    const QByteArrayView bytes(file.bytes);
    const bool utf8 = heldAsUtf8(file.encoding);
    const auto decode
        = [utf8](QByteArrayView piece) { return utf8 ? QString::fromUtf8(piece) : QString::fromLatin1(piece); };
    // Lines are counted on from the last match, so a file is read through once.
    int line = 1;
    qsizetype lineStart = 0;
    qsizetype counted = 0;
    for (const MatchSpan &span : TextFinder(bytes, file.encoding, options).all()) {
        for (; counted < span.start; ++counted) {
            const char c = bytes[counted];
            if (c == '\n' || (c == '\r' && (counted + 1 >= bytes.size() || bytes[counted + 1] != '\n'))) {
                ++line;
                lineStart = counted + 1;
            }
        }
        qsizetype lineEnd = lineStart;
        while (lineEnd < bytes.size() && bytes[lineEnd] != '\n' && bytes[lineEnd] != '\r')
            ++lineEnd;
        const QString before = decode(bytes.sliced(lineStart, span.start - lineStart));
        // Characters, not UTF-16 units.
        const int column = int(before.toUcs4().size()) + 1;
        hits.push_back({ file.fileName, line, column, decode(bytes.sliced(lineStart, lineEnd - lineStart)).trimmed() });
    }
    return hits;
}

std::vector<FileHit> findInFiles(const QStringList &files, const SearchedFile &open, const SearchOptions &options)
{
    std::vector<FileHit> hits;
    const QFileInfo openInfo(open.fileName);
    for (const QString &fileName : files) {
        std::vector<FileHit> found;
        if (!open.fileName.isEmpty() && QFileInfo(fileName) == openInfo) {
            found = findInFile({ fileName, open.bytes, open.encoding }, options);
        } else {
            Document reader;
            ByteArraySink text;
            SearchedFile file { fileName, {}, TextEncoding::Utf8 };
            if (!reader.readFile(fileName, text, &file.encoding))
                continue;
            file.bytes = std::move(text.bytes);
            found = findInFile(file, options);
        }
        hits.insert(hits.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    }
    return hits;
}

} // namespace vorrel

#include "document/TextSearch.h"

#include "document/CategoryTable.h"

#include <QStringEncoder>

#include <algorithm>

namespace vorrel {

namespace {

// The pattern, that, template and topic cells.
constexpr int kSearchedColumns = TopicColumn - PatternColumn + 1;
constexpr qsizetype kStride = 4096;

// The bytes one UTF-16 unit takes in UTF-8; a pair's low half counts none.
int utf8Bytes(QChar unit)
{
    const char16_t u = unit.unicode();
    return u < 0x80 ? 1 : u < 0x800 ? 2 : QChar::isHighSurrogate(u) ? 4 : QChar::isLowSurrogate(u) ? 0 : 3;
}

// The replacement's text: `group(n)` for each \0 to \9, the escapes' characters for theirs.
QString substituted(const QString &with, const std::function<QString(int)> &group)
{
    QString out;
    for (qsizetype i = 0; i < with.size(); ++i) {
        const QChar c = with[i];
        if (c != u'\\' || i + 1 >= with.size()) {
            out += c;
            continue;
        }
        const QChar next = with[++i];
        static constexpr char kEscapes[] = "a\ab\bf\fn\nr\rt\tv\v\\\\";
        if (next >= u'0' && next <= u'9') {
            out += group(next.unicode() - u'0');
            continue;
        }
        const char *escape = nullptr;
        for (const char *e = kEscapes; *e; e += 2) {
            if (QLatin1Char(*e) == next)
                escape = e + 1;
        }
        if (escape) {
            out += QLatin1Char(*escape);
        } else {
            out += c;
            out += next;
        }
    }
    return out;
}

// The text as the document's bytes; nothing when an 8-bit document cannot hold it.
std::optional<QByteArray> encodedIn(const QString &text, TextEncoding encoding)
{
    if (!heldAsUtf8(encoding) && std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() > 0xFF; }))
        return std::nullopt;
    return encodeText(text, encoding);
}

} // namespace

SearchText::SearchText(QByteArrayView bytes, TextEncoding encoding)
    : m_encoding(encoding), m_bytewise(!heldAsUtf8(encoding) || !isValidUtf8(bytes)), m_byteSize(bytes.size())
{
    m_text = m_bytewise ? QString::fromLatin1(bytes) : decodeText(bytes, TextEncoding::Utf8);
    if (m_bytewise)
        return;
    m_strideBytes.reserve(size_t(m_text.size() / kStride + 1));
    qsizetype byte = 0;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        if (i % kStride == 0)
            m_strideBytes.push_back(byte);
        byte += utf8Bytes(m_text[i]);
    }
}

qsizetype SearchText::byteOf(qsizetype character) const
{
    if (m_bytewise || character <= 0 || m_strideBytes.empty())
        return character;
    const qsizetype stride = std::min(character / kStride, qsizetype(m_strideBytes.size()) - 1);
    qsizetype byte = m_strideBytes[size_t(stride)];
    for (qsizetype i = stride * kStride; i < character && i < m_text.size(); ++i)
        byte += utf8Bytes(m_text[i]);
    return byte;
}

qsizetype SearchText::charOf(qsizetype byte) const
{
    if (m_bytewise || byte <= 0 || m_strideBytes.empty())
        return std::max<qsizetype>(byte, 0);
    const auto after = std::upper_bound(m_strideBytes.begin(), m_strideBytes.end(), byte);
    const qsizetype stride = qsizetype(after - m_strideBytes.begin()) - 1;
    qsizetype at = m_strideBytes[size_t(stride)];
    qsizetype i = stride * kStride;
    for (; i < m_text.size() && at + utf8Bytes(m_text[i]) <= byte; ++i)
        at += utf8Bytes(m_text[i]);
    return i;
}

void SearchText::appendBytes(QByteArray &out, qsizetype from, qsizetype to) const
{
    const QStringView part = QStringView(m_text).sliced(from, to - from);
    const qsizetype at = out.size();
    if (m_bytewise) {
        out.resize(at + part.size());
        char *p = out.data() + at;
        for (const QChar c : part)
            *p++ = static_cast<char>(c.unicode());
        return;
    }
    // Valid UTF-8 decoded comes back byte for byte, cut anywhere but inside a pair.
    QStringEncoder utf8(QStringEncoder::Utf8);
    out.resize(at + utf8.requiredSpace(part.size()));
    const char *end = utf8.appendToBuffer(out.data() + at, part);
    out.truncate(end - out.constData());
}

qsizetype SearchText::Walker::byteOf(qsizetype character)
{
    if (m_text.m_bytewise)
        return character;
    for (; m_character < character; ++m_character)
        m_byte += utf8Bytes(m_text.m_text[m_character]);
    return m_byte;
}

TextFinder::TextFinder(std::shared_ptr<const SearchText> text, const SearchOptions &options)
    : m_text(std::move(text)), m_expression(cellExpression(options)), m_regExp(options.regExp)
{
}

TextFinder::TextFinder(QByteArrayView bytes, TextEncoding encoding, const SearchOptions &options)
    : TextFinder(std::make_shared<const SearchText>(bytes, encoding), options)
{
}

TextMatch TextFinder::toBytes(const QRegularExpressionMatch &match) const
{
    return TextMatch { m_text->byteOf(match.capturedStart()), m_text->byteOf(match.capturedEnd()), match };
}

std::optional<TextMatch> TextFinder::next(qsizetype from) const
{
    const QRegularExpressionMatch match = m_expression.match(m_text->text(), m_text->charOf(from));
    return match.hasMatch() ? std::optional(toBytes(match)) : std::nullopt;
}

std::optional<TextMatch> TextFinder::previous(qsizetype before, const std::atomic<bool> *stop) const
{
    const QString &text = m_text->text();
    const qsizetype end = m_text->charOf(before);
    // Searches start on whole characters, never between the halves of a pair.
    auto characterStart = [&text](qsizetype at) {
        return at > 0 && at < text.size() && text[at].isLowSurrogate() && text[at - 1].isHighSurrogate() ? at - 1 : at;
    };
    // Matches may overlap: every start is tried, over a stretch before `end` that grows until
    // it holds one.
    for (qsizetype window = kStride;; window *= 4) {
        const qsizetype low = characterStart(std::max<qsizetype>(0, end - window));
        QRegularExpressionMatch last;
        for (qsizetype from = low; from < end;) {
            if (stop && stop->load(std::memory_order_relaxed))
                return std::nullopt;
            const QRegularExpressionMatch match = m_expression.match(text, from);
            if (!match.hasMatch() || match.capturedStart() >= end)
                break;
            last = match;
            const qsizetype start = match.capturedStart();
            const bool pair
                = text[start].isHighSurrogate() && start + 1 < text.size() && text[start + 1].isLowSurrogate();
            from = start + (pair ? 2 : 1);
        }
        if (last.hasMatch())
            return toBytes(last);
        if (low == 0)
            return std::nullopt;
    }
}

std::optional<TextMatch> TextFinder::at(qsizetype start) const
{
    const QRegularExpressionMatch match = m_expression.match(m_text->text(), m_text->charOf(start),
        QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    return match.hasMatch() ? std::optional(toBytes(match)) : std::nullopt;
}

void TextFinder::forEachMatch(
    const std::function<bool(const QRegularExpressionMatch &, const MatchSpan &)> &found) const
{
    // Mapped in order, so that the whole text is walked once.
    SearchText::Walker walker(*m_text);
    for (QRegularExpressionMatchIterator it = m_expression.globalMatch(m_text->text()); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype start = walker.byteOf(match.capturedStart());
        if (!found(match, MatchSpan { start, walker.byteOf(match.capturedEnd()) }))
            return;
    }
}

std::vector<MatchSpan> TextFinder::all() const
{
    std::vector<MatchSpan> spans;
    forEachMatch([&spans](const QRegularExpressionMatch &, const MatchSpan &span) {
        spans.push_back(span);
        return true;
    });
    return spans;
}

std::optional<QByteArray> TextFinder::replacement(const QString &with, const TextMatch &match) const
{
    const QString text
        = m_regExp ? substituted(with, [&match](int group) { return match.match.captured(group); }) : with;
    return encodedIn(text, m_text->encoding());
}

ReplacedText TextFinder::replaceAll(const QString &with, qint64 largest, SearchControl &control) const
{
    ReplacedText result;
    // Whether the replacement takes groups out of each match; otherwise it is the same text for
    // every match, encoded once. Its own characters are checked once either way: the groups'
    // come from the document.
    bool groups = false;
    const QString fixed = m_regExp ? substituted(with,
                              [&groups](int) {
                                  groups = true;
                                  return QString();
                              })
                                   : with;
    const std::optional<QByteArray> constant = encodedIn(fixed, m_text->encoding());
    QByteArray &out = result.bytes;
    qsizetype copied = 0;
    forEachMatch([&](const QRegularExpressionMatch &match, const MatchSpan &span) {
        if (!constant) {
            result.status = ReplacedText::Unwritable;
            return false;
        }
        if (result.count++ == 0) {
            result.start = span.start;
            copied = match.capturedStart();
        }
        m_text->appendBytes(out, copied, match.capturedStart());
        if (groups)
            out += encodeText(
                substituted(with, [&match](int group) { return match.captured(group); }), m_text->encoding());
        else
            out += *constant;
        copied = match.capturedEnd();
        result.end = span.end;
        control.reached.store(copied, std::memory_order_relaxed);
        if (m_text->byteSize() - (result.end - result.start) + out.size() > largest)
            result.status = ReplacedText::TooLarge;
        else if (control.stop.load(std::memory_order_relaxed))
            result.status = ReplacedText::Stopped;
        return result.status == ReplacedText::Done;
    });
    // Nothing of a replacement that did not end.
    if (result.status != ReplacedText::Done) {
        ReplacedText none;
        none.status = result.status;
        return none;
    }
    return result;
}

QRegularExpression cellExpression(const SearchOptions &options)
{
    QString pattern = options.regExp ? options.text : QRegularExpression::escape(options.text);
    // A whole word is one not joined to a letter, digit or underscore on either side.
    if (options.wholeWords)
        pattern = QStringLiteral("(?<!\\w)(?:%1)(?!\\w)").arg(pattern);
    // "^" and "$" stand at every line's start and end, whichever line ends the text has.
    pattern.prepend(QStringLiteral("(*ANYCRLF)"));
    QRegularExpression::PatternOptions flags
        = QRegularExpression::UseUnicodePropertiesOption | QRegularExpression::MultilineOption;
    if (!options.matchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(pattern, flags);
}

std::optional<CellMatch> findCell(
    const CategoryTable &table, int row, int column, const SearchOptions &options, bool forward)
{
    const qint64 total = qint64(table.gridRowCount() - 1) * kSearchedColumns;
    if (options.text.isEmpty() || total <= 0)
        return std::nullopt;
    const QRegularExpression expression = cellExpression(options);
    if (!expression.isValid())
        return std::nullopt;
    const bool plain = !options.regExp && !options.wholeWords;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;

    // Cells are numbered row by row; the label column stands just before its row's pattern cell.
    qint64 start = qint64(std::max(row, 1) - 1) * kSearchedColumns
        + std::clamp(column, int(PatternColumn), int(TopicColumn)) - PatternColumn;
    if (column < PatternColumn && forward)
        --start;
    const int step = forward ? 1 : -1;
    for (qint64 k = 1; k <= total; ++k) {
        const qint64 unwrapped = start + step * k;
        const qint64 index = ((unwrapped % total) + total) % total;
        const int r = static_cast<int>(index / kSearchedColumns) + 1;
        const int c = static_cast<int>(index % kSearchedColumns) + PatternColumn;
        const QString text = table.cell(c, r);
        const bool hit = plain ? text.contains(options.text, cs) : expression.match(text).hasMatch();
        if (hit)
            return CellMatch { r, c, unwrapped < 0 || unwrapped >= total };
    }
    return std::nullopt;
}

} // namespace vorrel

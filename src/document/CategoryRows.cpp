#include "document/CategoryRows.h"

#include "base/AsciiCase.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vorrel {

CategoryRows::CategoryRows(QByteArray source, TextEncoding encoding)
    : m_source(std::move(source)),
      m_encoding(encoding),
      m_lineEnd(lineEndOf(m_source)),
      m_borrowing(!m_source.isEmpty())
{
}

void CategoryRows::resize(qsizetype rows)
{
    m_rows.resize(static_cast<std::size_t>(std::max<qsizetype>(rows, 0)));
}

void CategoryRows::reserve(qsizetype rows)
{
    m_rows.reserve(static_cast<std::size_t>(std::max<qsizetype>(rows, 0)));
}

void CategoryRows::appendRow()
{
    m_rows.emplace_back();
}

void CategoryRows::insertRow(qsizetype at)
{
    m_rows.insert(m_rows.begin() + at, Row());
}

void CategoryRows::removeRow(qsizetype at)
{
    m_rows.erase(m_rows.begin() + at);
}

void CategoryRows::copyRow(qsizetype from, qsizetype to)
{
    // Texts are never changed in place, so two cells may well share one.
    m_rows[static_cast<std::size_t>(to)] = m_rows[static_cast<std::size_t>(from)];
}

const CategoryRows::Cell &CategoryRows::cell(qsizetype row, int column) const
{
    return m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

CategoryRows::Cell &CategoryRows::cell(qsizetype row, int column)
{
    return m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

QByteArrayView CategoryRows::bytesOf(const Cell &c) const
{
    return QByteArrayView(m_source.constData() + c.at, c.size());
}

QString CategoryRows::text(qsizetype row, int column) const
{
    return textOf(cell(row, column));
}

QString CategoryRows::textOf(const Cell &c) const
{
    switch (c.kind()) {
    case Bytes:
        return c.size() == 0 ? QString() : decodeText(bytesOf(c), m_encoding);
    case UpcasedBytes: {
        QByteArray folded = bytesOf(c).toByteArray();
        upcaseAscii(folded);
        return decodeText(folded, m_encoding);
    }
    case Text:
        return m_texts[c.at];
    case Number:
        return QString::number(c.at);
    }
    return {};
}

bool CategoryRows::isEmpty(qsizetype row, int column) const
{
    const Cell &c = cell(row, column);
    switch (c.kind()) {
    case Bytes:
    case UpcasedBytes:
        return c.size() == 0;
    case Text:
        return m_texts[c.at].isEmpty();
    case Number:
        return false;
    }
    return true;
}

void CategoryRows::setText(qsizetype row, int column, const QString &text)
{
    cell(row, column) = textCell(text);
}

CategoryRows::Cell CategoryRows::textCell(const QString &text)
{
    if (text.isEmpty())
        return Cell();
    if (m_texts.size() >= m_nextSweep)
        sweepTexts();
    // Always a new entry: a copied row may share the old one.
    m_texts.push_back(text);
    return Cell { static_cast<quint32>(m_texts.size() - 1), quint32(Text) << kKindShift };
}

void CategoryRows::setNumber(qsizetype row, int column, quint32 number)
{
    cell(row, column) = Cell { number, quint32(Number) << kKindShift };
}

void CategoryRows::setBytes(qsizetype row, int column, qsizetype from, qsizetype size, bool upcase)
{
    cell(row, column) = bytesCell(from, size, upcase);
}

CategoryRows::Cell CategoryRows::bytesCell(qsizetype from, qsizetype size, bool upcase)
{
    if (size <= 0)
        return Cell();
    const QByteArrayView bytes(m_source.constData() + from, size);
    // Beyond what eight bytes can place; no document that opens comes near.
    if (from > std::numeric_limits<quint32>::max() || size > qsizetype(kSizeMask)) {
        QByteArray held = bytes.toByteArray();
        if (upcase)
            upcaseAscii(held);
        return textCell(decodeText(held, m_encoding));
    }
    const Kind kind = upcase ? UpcasedBytes : Bytes;
    return Cell { static_cast<quint32>(from), static_cast<quint32>(size) | quint32(kind) << kKindShift };
}

bool CategoryRows::holdsBytes(qsizetype row, int column) const
{
    const Kind kind = cell(row, column).kind();
    return kind == Bytes || kind == UpcasedBytes;
}

QByteArrayView CategoryRows::storedBytes(qsizetype row, int column) const
{
    const Cell &c = cell(row, column);
    return holdsBytes(row, column) ? bytesOf(c) : QByteArrayView();
}

void CategoryRows::appendEncoded(QByteArray &out, qsizetype row, int column, TextEncoding encoding) const
{
    appendEncodedOf(out, cell(row, column), encoding);
}

void CategoryRows::appendEncodedOf(QByteArray &out, const Cell &c, TextEncoding encoding) const
{
    if (c.kind() == Bytes || c.kind() == UpcasedBytes) {
        const QByteArrayView bytes = bytesOf(c);
        // The bytes are what decoding and encoding would give back, unless the encodings
        // differ or the bytes are not UTF-8 where they should be.
        const bool same
            = heldAsUtf8(encoding) == heldAsUtf8(m_encoding) && (!heldAsUtf8(encoding) || isValidUtf8(bytes));
        if (same) {
            const qsizetype start = out.size();
            out.append(bytes);
            if (c.kind() == UpcasedBytes) {
                for (char *p = out.data() + start, *end = out.data() + out.size(); p != end; ++p)
                    *p = asciiUpper(*p);
            }
            return;
        }
    }
    out.append(encodeText(textOf(c), encoding));
}

bool CategoryRows::isBlank(qsizetype row, int column) const
{
    const Cell &c = cell(row, column);
    if (c.kind() == Bytes || c.kind() == UpcasedBytes) {
        const QByteArrayView bytes = bytesOf(c);
        return std::all_of(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) <= 32; });
    }
    const QString text = textOf(c);
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() <= 32; });
}

bool CategoryRows::sameText(qsizetype row, qsizetype otherRow, int column) const
{
    const Cell &a = cell(row, column);
    const Cell &b = cell(otherRow, column);
    if (a.kind() == b.kind() && (a.kind() == Bytes || a.kind() == UpcasedBytes))
        return bytesOf(a) == bytesOf(b);
    return textOf(a) == textOf(b);
}

void CategoryRows::ownBytes()
{
    if (!m_borrowing)
        return;
    const auto held = [](const Cell &c) { return c.kind() == Bytes || c.kind() == UpcasedBytes ? c.size() : 0; };
    qsizetype total = held(m_trailing);
    for (const Row &row : m_rows) {
        for (const Cell &c : row)
            total += held(c);
    }
    QByteArray store(total, Qt::Uninitialized);
    quint32 at = 0;
    for (Row &row : m_rows) {
        for (Cell &c : row)
            moveBytes(c, store.data(), at);
    }
    moveBytes(m_trailing, store.data(), at);
    m_source = std::move(store);
    m_borrowing = false;
}

void CategoryRows::moveBytes(Cell &c, char *out, quint32 &at)
{
    if ((c.kind() != Bytes && c.kind() != UpcasedBytes) || c.size() == 0)
        return;
    // Rows copied over and over could hold more than eight bytes can place.
    if (c.size() > std::numeric_limits<quint32>::max() - at) {
        const bool upcase = c.kind() == UpcasedBytes;
        QByteArray held = bytesOf(c).toByteArray();
        if (upcase)
            upcaseAscii(held);
        m_texts.push_back(decodeText(held, m_encoding));
        c = Cell { static_cast<quint32>(m_texts.size() - 1), quint32(Text) << kKindShift };
        return;
    }
    std::memcpy(out + at, m_source.constData() + c.at, c.size());
    c.at = at;
    at += c.size();
}

void CategoryRows::sweepTexts()
{
    std::vector<QString> live;
    const auto keep = [this, &live](Cell &c) {
        if (c.kind() != Text)
            return;
        live.push_back(m_texts[c.at]);
        c.at = static_cast<quint32>(live.size() - 1);
    };
    for (Row &row : m_rows) {
        for (Cell &c : row)
            keep(c);
    }
    keep(m_trailing);
    m_texts = std::move(live);
    // A sweep looks at every row: not before the texts have grown by an eighth of the rows.
    m_nextSweep = std::max({ std::size_t(1024), 2 * m_texts.size(), m_texts.size() + m_rows.size() / 8 });
}

} // namespace vorrel

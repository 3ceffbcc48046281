#include "widgets/CreditsMarkup.h"

#include <array>

namespace vorrel {

namespace {

bool isBlank(QChar ch)
{
    return ch == u' ' || ch == u'\t';
}

QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

std::optional<int> parseComponent(QStringView text)
{
    text = trimBlanks(text);
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (const QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        value = value * 10 + (ch.unicode() - u'0');
        // Stop before a long run of digits can overflow.
        if (value > 255)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<TColor> parseCreditColor(QStringView spec)
{
    std::array<int, 3> rgb {};
    qsizetype start = 0;
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        const qsizetype comma = spec.indexOf(u',', start);
        const bool last = i + 1 == rgb.size();
        // Exactly two commas: a missing one or a fourth component spoils the colour.
        if (last != (comma < 0))
            return std::nullopt;
        const auto value = parseComponent(spec.sliced(start, (last ? spec.size() : comma) - start));
        if (!value)
            return std::nullopt;
        rgb[i] = *value;
        start = comma + 1;
    }
    return rgbColor(rgb[0], rgb[1], rgb[2]);
}

CreditLine parseCreditLine(QStringView line, TColor fontColor)
{
    CreditLine result;
    result.color = fontColor;
    result.text.reserve(line.size());
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar ch = line[i++];
        if (ch != u'&') {
            result.text += ch;
            continue;
        }
        if (i == n)
            break;
        switch (line[i++].unicode()) {
        case u'&':
            result.text += u'&';
            break;
        case u'b':
        case u'B':
            result.bold = true;
            break;
        case u'i':
        case u'I':
            result.italic = true;
            break;
        case u'u':
        case u'U':
            result.underline = true;
            break;
        case u'c':
        case u'C': {
            const qsizetype semicolon = line.indexOf(u';', i);
            const qsizetype end = semicolon < 0 ? n : semicolon;
            if (const auto color = parseCreditColor(line.sliced(i, end - i)))
                result.color = *color;
            i = semicolon < 0 ? n : semicolon + 1;
            break;
        }
        default:
            break;
        }
    }
    return result;
}

CreditFontStyle creditLineStyle(CreditFontStyle fontStyle, const CreditLine &line)
{
    CreditFontStyle style = line.bold ? CreditFontStyle { .bold = true } : fontStyle;
    if (line.italic)
        style.italic = true;
    if (line.underline)
        style.underline = true;
    return style;
}

int creditLineX(int controlWidth, int textWidth)
{
    return controlWidth / 2 - textWidth / 2;
}

int stillLineTop(int index, int lineHeight)
{
    return kCreditsTopMargin + index * lineHeight;
}

int animationStartOffset(int controlHeight, int lineHeight)
{
    return controlHeight + lineHeight;
}

QList<CreditRow> animatedRows(int scrollOffset, int lineHeight, int controlHeight, qsizetype lineCount)
{
    QList<CreditRow> rows;
    int y = scrollOffset;
    for (qsizetype i = 0; i < lineCount; ++i) {
        rows.append({ static_cast<int>(i), y, y + lineHeight > 0 });
        y += lineHeight;
        if (y > controlHeight)
            break;
    }
    return rows;
}

CreditTick scrollTick(int scrollOffset, qsizetype lineCount, int lineHeight, int controlHeight)
{
    if (scrollOffset < -(static_cast<qint64>(lineCount) * lineHeight))
        return { controlHeight, true };
    return { scrollOffset - 1, false };
}

} // namespace vorrel

#include "CountOracle.h"

#include <algorithm>
#include <string_view>

namespace vorrel::test {

qsizetype countTag(QByteArrayView text, QByteArrayView tag, qsizetype step)
{
    if (tag.isEmpty())
        return 0;
    const std::string_view hay(text.data(), static_cast<std::size_t>(text.size()));
    const std::string_view needle(tag.data(), static_cast<std::size_t>(tag.size()));
    qsizetype count = 0;
    std::size_t from = 0;
    while (from < hay.size()) {
        const std::size_t at = hay.find(needle, from);
        if (at == std::string_view::npos)
            break;
        ++count;
        from = at + static_cast<std::size_t>(std::max<qsizetype>(step, 1));
    }
    return count;
}

} // namespace vorrel::test

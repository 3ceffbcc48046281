#pragma once

#include <QByteArrayView>

namespace vorrel::test {

// The report's tag count done the plain way, to check the one-pass count against: occurrences
// of `tag`, case-sensitive; after each one the search resumes `step` characters after its
// start, so a step longer than the tag skips occurrences that follow too closely.
qsizetype countTag(QByteArrayView text, QByteArrayView tag, qsizetype step);

} // namespace vorrel::test

#pragma once

#include <QByteArray>
#include <QString>

namespace vorrel::test {

// The whole file, or nothing when it cannot be read.
QByteArray readFile(const QString &fileName);

// Replaces the file with `bytes`; false unless every byte was written.
bool writeFile(const QString &fileName, const QByteArray &bytes);

} // namespace vorrel::test

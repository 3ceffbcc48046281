#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vorrel::bench {

// The program's own files (opts.ini, last.dat, ...) in a scratch directory for as long as
// it lives, with settings that keep the welcome window away.
class ScratchProgram final
{
public:
    ScratchProgram();
    ~ScratchProgram();
    ScratchProgram(const ScratchProgram &) = delete;
    ScratchProgram &operator=(const ScratchProgram &) = delete;

    QString file(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

// Replaces the file with `bytes`; false unless every byte was written.
bool writeFile(const QString &fileName, const QByteArray &bytes);

// The whole file, or nothing when it cannot be read.
QByteArray readFile(const QString &fileName);

} // namespace vorrel::bench

#include "TestFiles.h"

#include "base/ProgramFiles.h"

#include <QFile>

namespace vorrel::test {

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

int modeOf(const QString &fileName)
{
    struct stat st;
    return ::lstat(QFile::encodeName(fileName).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

ProgramDir::ProgramDir(const QByteArray &opts)
{
    setProgramDirOverride(m_dir.path());
    if (!opts.isNull())
        write(QStringLiteral("opts.ini"), opts);
}

ProgramDir::~ProgramDir()
{
    setProgramDirOverride(QString());
}

QString ProgramDir::file(const QString &name) const
{
    return m_dir.filePath(name);
}

bool ProgramDir::write(const QString &name, const QByteArray &bytes) const
{
    return writeFile(file(name), bytes);
}

QByteArray ProgramDir::read(const QString &name) const
{
    return readFile(file(name));
}

} // namespace vorrel::test

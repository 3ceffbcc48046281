#include "ScratchProgram.h"

#include "base/ProgramFiles.h"

#include <QFile>

namespace vorrel::bench {

ScratchProgram::ScratchProgram()
{
    setProgramDirOverride(m_dir.path());
    writeFile(file(QStringLiteral("opts.ini")), "[Preferences]\r\nDlg=0\r\n");
}

ScratchProgram::~ScratchProgram()
{
    setProgramDirOverride(QString());
}

QString ScratchProgram::file(const QString &name) const
{
    return m_dir.filePath(name);
}

bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace vorrel::bench

#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace vorrel::test {

// The whole file, or nothing when it cannot be read.
QByteArray readFile(const QString &fileName);

// Replaces the file with `bytes`; false unless every byte was written.
bool writeFile(const QString &fileName, const QByteArray &bytes);

// The permission bits of the file or folder (not of a link's target), or -1 when it is missing.
int modeOf(const QString &fileName);

// The process's umask, and that of the programs it starts, for as long as it lives.
class ScopedUmask final
{
public:
    explicit ScopedUmask(mode_t mask) : m_previous(::umask(mask)) { }
    ~ScopedUmask() { ::umask(m_previous); }

private:
    mode_t m_previous;
};

// A document of two categories, the second with a that, both templates of more than one line.
inline const QByteArray kTwoCategories
    = "<?xml version=\"1.0\"?>\r\n"
      "<aiml version=\"1.0\">\r\n"
      "<category>\r\n<pattern>hello</pattern>\r\n<template>\r\n  Hi there\r\n</template>\r\n"
      "</category>\r\n"
      "<category>\r\n<pattern>YES</pattern>\r\n<that>HI THERE</that>\r\n"
      "<template>Good.\r\nVery good.</template>\r\n</category>\r\n"
      "</aiml>\r\n";

// Settings that keep the welcome window away, so tests see only what they open.
inline const QByteArray kQuietOpts = "[Preferences]\r\nDlg=0\r\n";

// A scratch program directory for as long as it lives: opts.ini, last.dat and the rest go
// here instead of beside the test executable.
class ProgramDir final
{
public:
    // `opts`, unless null, becomes the directory's opts.ini.
    explicit ProgramDir(const QByteArray &opts = QByteArray());
    ~ProgramDir();
    ProgramDir(const ProgramDir &) = delete;
    ProgramDir &operator=(const ProgramDir &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const;
    bool write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
};

} // namespace vorrel::test

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorrel {

// An INI file held as its lines, byte for byte, so that writing a key keeps every other line as
// it was. Sections and keys are matched without regard to letter case; only ASCII blanks around
// names and values are ignored. Text is taken from a line as UTF-8 when the line is valid UTF-8
// and as Latin-1 otherwise; values are written in UTF-8.
class IniProfile final
{
public:
    IniProfile() = default;
    // A missing, unreadable or oversized file, or anything that is no regular file (a FIFO, a
    // device), reads as an empty profile.
    static IniProfile load(const QString &fileName);
    // For rewriting a file: a missing file is an empty profile, but one that exists and cannot
    // be read whole gives nothing, since writing it back would lose its lines; `reason` then
    // says why ("Is a directory", "Permission denied", "The file is larger than 1 MiB").
    static std::optional<IniProfile> loadForWriting(const QString &fileName, QString *reason = nullptr);
    static IniProfile fromBytes(const QByteArray &bytes);

    // The value as stored (ASCII blanks around it trimmed), or fallback when the key is missing.
    QString readString(const QString &section, const QString &key, const QString &fallback) const;
    // A value that is no number counts as missing.
    int readInteger(const QString &section, const QString &key, int fallback) const;
    bool readBool(const QString &section, const QString &key, bool fallback) const;
    // The names of the section's keys, in the file's order, each once.
    QStringList keys(const QString &section) const;
    bool hasSection(const QString &section) const { return findSection(section) >= 0; }

    // Replaces the key's value in place, or adds the key at the end of its section, or adds the
    // section at the end. False, and nothing changed, when a line break, blanks at the value's
    // ends (or a "=" in the key, a "]" in the section) would make it read back as something else.
    bool writeString(const QString &section, const QString &key, const QString &value);
    // Takes the key's line out; every other line stays.
    void removeKey(const QString &section, const QString &key);

    // The file's bytes: lines not written come back as they were read, line ends included. A
    // written line keeps its line end, or takes the file's first one (CR LF where there is none);
    // a last line without one gets it when a line is added after it.
    QByteArray toBytes() const;
    // Replaces the file at once through writeFileAtomically, so a failure or a crash leaves
    // either the old file or the new one; `reason` says why it failed. The file is the user's
    // alone (0600).
    bool save(const QString &fileName, QString *reason = nullptr) const;

    // Each line as text, without its line end.
    const QStringList &lines() const { return m_lines; }

private:
    struct Line
    {
        QByteArray bytes;
        // "\r\n", "\n", "\r", or empty for a last line without one.
        QByteArrayView end;
        bool utf8 = true;
    };

    static QString decode(const Line &line, QByteArrayView part);
    static bool isNamed(const Line &line, QByteArrayView name, const QString &wanted);
    // Index of the key's line, or -1.
    qsizetype findKey(const QString &section, const QString &key) const;
    // Index of the section's first header line, or -1.
    qsizetype findSection(const QString &section) const;
    void setLine(qsizetype at, const QByteArray &bytes);
    void insertLine(qsizetype at, const QByteArray &bytes);

    QList<Line> m_raw;
    QStringList m_lines;
    // What a written line ends with.
    QByteArrayView m_lineEnd = "\r\n";
};

// Writes one key into the file on disk: reads it afresh, changes the key and replaces the file.
// False when the file could not be read whole or not be written; the file is then unchanged and
// `reason` says why.
bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName,
    QString *reason = nullptr);

} // namespace vorrel

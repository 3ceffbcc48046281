#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorrel {

// An INI file held as its lines, so that writing a key keeps every other line in place.
// Sections and keys are matched without regard to letter case.
class IniProfile final
{
public:
    IniProfile() = default;
    // A missing, unreadable or oversized file reads as an empty profile.
    static IniProfile load(const QString &fileName);
    // For rewriting a file: a missing file is an empty profile, but one that exists and cannot
    // be read whole gives nothing, since writing it back would lose its lines.
    static std::optional<IniProfile> loadForWriting(const QString &fileName);
    // Each line is taken as UTF-8 when it is valid UTF-8 and as Latin-1 otherwise.
    static IniProfile fromBytes(const QByteArray &bytes);
    static IniProfile fromText(const QString &text);

    // The value as stored (blanks around it trimmed), or fallback when the key is missing.
    QString readString(const QString &section, const QString &key, const QString &fallback) const;
    // A value that is no number counts as missing.
    int readInteger(const QString &section, const QString &key, int fallback) const;
    bool readBool(const QString &section, const QString &key, bool fallback) const;

    // Replaces the key's value in place, or adds the key at the end of its section, or adds the
    // section at the end. False, and nothing changed, when the value holds a line break.
    bool writeString(const QString &section, const QString &key, const QString &value);

    // The file's bytes: every line, new values in UTF-8, each followed by CR LF.
    QByteArray toBytes() const;
    // Replaces the file through a temporary file, so a failure never leaves it truncated.
    bool save(const QString &fileName) const;

    const QStringList &lines() const { return m_lines; }

private:
    // Index of the key's line, or -1.
    qsizetype findKey(const QString &section, const QString &key) const;
    // Index of the section's first header line, or -1.
    qsizetype findSection(const QString &section) const;
    void insertLine(qsizetype at, const QByteArray &bytes);

    // The lines as read, without their line ends, and the same lines as text.
    QList<QByteArray> m_raw;
    QStringList m_lines;
};

// Writes one key into the file on disk: reads it afresh, changes the key and replaces the file.
// False when the file could not be read whole or not be written; the file is then unchanged.
bool writeProfileString(const QString &section, const QString &key, const QString &value, const QString &fileName);

} // namespace vorrel

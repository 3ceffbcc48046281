#pragma once

#include <QString>
#include <QStringList>

namespace vorrel {

// An INI file held as its lines, so that writing a key keeps every other line in place.
// Sections and keys are matched without regard to letter case.
class IniProfile final
{
public:
    IniProfile() = default;
    // A missing, unreadable or oversized file reads as an empty profile.
    static IniProfile load(const QString &fileName);
    static IniProfile fromText(const QString &text);

    // The value as stored (blanks around it trimmed), or fallback when the key is missing.
    QString readString(const QString &section, const QString &key, const QString &fallback) const;
    int readInteger(const QString &section, const QString &key, int fallback) const;
    bool readBool(const QString &section, const QString &key, bool fallback) const;

    const QStringList &lines() const { return m_lines; }

private:
    // Index of the key's line, or -1.
    qsizetype findKey(const QString &section, const QString &key) const;

    QStringList m_lines;
};

} // namespace vorrel

#include "prefs/Settings.h"

#include "prefs/IniProfile.h"

#include <QCoreApplication>
#include <QDir>

#include <variant>

namespace vorrel {

namespace {

using Field = std::variant<QString Settings::*, int Settings::*, bool Settings::*>;

struct Key
{
    const char *section;
    const char *name;
    Field field;
    // Whether "Set to defaults" reads it from defs.dat.
    bool reset;
};

// The one list of the settings: the order in which a new file holds them, and their defaults
// through Settings' own.
const Key kKeys[] = {
    { "Font", "Name", &Settings::fontName, true },
    { "Font", "Size", &Settings::fontSize, true },
    { "Preferences", "SCC", &Settings::codeCompletion, true },
    { "Preferences", "Comments", &Settings::italicComments, true },
    { "Preferences", "InitDir", &Settings::initialDir, false },
    { "Preferences", "Dlg", &Settings::showWelcome, true },
    { "Preferences", "UCase", &Settings::upcasePatterns, false },
};

void readKey(const IniProfile &profile, const Key &key, Settings &settings)
{
    const QString section = QLatin1String(key.section);
    const QString name = QLatin1String(key.name);
    std::visit(
        [&](auto member) {
            auto &value = settings.*member;
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>)
                value = profile.readString(section, name, value);
            else if constexpr (std::is_same_v<T, int>)
                value = profile.readInteger(section, name, value);
            else
                value = profile.readBool(section, name, value);
        },
        key.field);
}

} // namespace

QString dialogStartFolder(const QString &initialDir)
{
    return initialDir == Settings().initialDir ? QDir::homePath() : initialDir;
}

Settings readSettings(const IniProfile &profile)
{
    Settings settings;
    for (const Key &key : kKeys)
        readKey(profile, key, settings);
    return settings;
}

Settings readDefaults(const IniProfile &profile, const Settings &current)
{
    const Settings builtIn;
    Settings settings = current;
    for (const Key &key : kKeys) {
        if (!key.reset)
            continue;
        // A key missing from defs.dat takes the built-in default, not the current value.
        std::visit([&](auto member) { settings.*member = builtIn.*member; }, key.field);
        readKey(profile, key, settings);
    }
    return settings;
}

bool writeSettings(IniProfile &profile, const Settings &settings)
{
    for (const Key &key : kKeys) {
        const QString text = std::visit(
            [&](auto member) {
                const auto &value = settings.*member;
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, QString>)
                    return value;
                else if constexpr (std::is_same_v<T, int>)
                    return QString::number(value);
                else
                    return value ? QStringLiteral("1") : QStringLiteral("0");
            },
            key.field);
        if (!profile.writeString(QLatin1String(key.section), QLatin1String(key.name), text))
            return false;
    }
    return true;
}

bool readInterpret(const IniProfile &profile)
{
    return profile.readBool(kInterpretSection, kInterpretKey, false);
}

bool readWholeFolder(const IniProfile &profile)
{
    return profile.readBool(kInterpretSection, kFolderKey, false);
}

bool writeSwitch(const QString &key, const QString &fileName, bool on, QString *reason)
{
    return writeProfileString(kInterpretSection, key, on ? QStringLiteral("1") : QStringLiteral("0"), fileName, reason);
}

BotProperties readBotProperties(const IniProfile &profile)
{
    BotProperties properties;
    for (const QString &name : profile.keys(kBotSection))
        properties.set(name, profile.readString(kBotSection, name, QString()));
    return properties;
}

bool writeBotProperties(IniProfile &profile, const BotProperties &properties)
{
    if (!profile.hasSection(kBotSection) && properties == BotProperties())
        return true;
    const QStringList names = properties.names();
    for (const QString &stored : profile.keys(kBotSection)) {
        if (!names.contains(stored))
            profile.removeKey(kBotSection, stored);
    }
    for (const QString &name : names) {
        if (name.isEmpty() || !profile.writeString(kBotSection, name, properties.value(name)))
            return false;
    }
    return true;
}

QString unableToWrite(const QString &fileName, const QString &reason)
{
    return QCoreApplication::translate("Settings", "Unable to write to %1. %2")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

} // namespace vorrel

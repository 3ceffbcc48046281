#pragma once

#include "aiml/BotProperties.h"

#include <QString>

namespace vorrel {

class IniProfile;

// The seven settings of opts.ini, each at its built-in default.
struct Settings
{
    QString fontName = QStringLiteral("Lucida Console");
    int fontSize = 10;
    // 0 "Limited code completion", 1 "No code completion", -1 neither.
    int codeCompletion = 0;
    bool italicComments = true;
    // This platform has no drive letters; the file system's root stands in for "C:\".
    QString initialDir = QStringLiteral("/");
    bool showWelcome = true;
    bool upcasePatterns = true;
};

// The folder the open and save dialogs start in. The root, the stored default, stands for no
// choice made: they start in the user's home folder then.
QString dialogStartFolder(const QString &initialDir);

// The settings a profile holds; a missing key, or a number that is no number, gives the default.
Settings readSettings(const IniProfile &profile);

// What "Set to defaults" takes from defs.dat: the font, the code completion, italic comments and
// the welcome window. The initial folder and upper-casing stay as they are in `current`.
Settings readDefaults(const IniProfile &profile, const Settings &current);

// Stores the seven keys in their order, every other line kept; false when a value cannot be
// stored as one line.
bool writeSettings(IniProfile &profile, const Settings &settings);

// The test bot's interpreter switch, stored on its own as it is toggled.
inline const QString kInterpretSection = QStringLiteral("Preferences");
inline const QString kInterpretKey = QStringLiteral("Interp");

// Whether the profile turns the interpreter on; off when the key is missing.
bool readInterpret(const IniProfile &profile);

// Whether the interpreting bot answers from the document's whole folder; stored as the
// interpreter's switch is.
inline const QString kFolderKey = QStringLiteral("Folder");
bool readWholeFolder(const IniProfile &profile);

// Writes a switch of the section into the file in place, every other line kept; false, the file
// unchanged and `reason` saying why, when it cannot be written.
bool writeSwitch(const QString &key, const QString &fileName, bool on, QString *reason);

// The bot's properties: the section's keys on top of the built-in ones (the name "Vessra").
inline const QString kBotSection = QStringLiteral("Bot");
BotProperties readBotProperties(const IniProfile &profile);
// Stores the properties as the section's keys, a key for each and no other. A profile without
// the section gets one only when the properties differ from the built-in ones, so that the file
// of a user who never changed them stays as it was. False when a name or value cannot be
// stored as one line; the profile may then hold the keys before it.
bool writeBotProperties(IniProfile &profile, const BotProperties &properties);

// The message of a settings file that could not be written, with the system's reason.
QString unableToWrite(const QString &fileName, const QString &reason);

} // namespace vorrel

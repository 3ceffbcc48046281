#pragma once

#include <QString>

class QWidget;

namespace vorrel {

// The documents installed beside the program and the message shown when one cannot be opened.
inline const QString kHelpFile = QStringLiteral("help.html");
inline const QString kTagsFile = QStringLiteral("AIML Tags.htm");
inline const QString kTutorialFile = QStringLiteral("AIML Tutorial 2.rtf");
inline const QString kHelpFailure = QStringLiteral("Could not execute the help file");
inline const QString kTagsFailure = QStringLiteral("Could not execute the AIML Tags file");
inline const QString kTutorialFailure = QStringLiteral("Could not execute the AIML Tutorial file");

// Hands `fileName` from the program's directory to the shell, owned by `owner`. When the shell
// reports failure, shows `failureMessage` in a warning box captioned "Error" (objectName
// "ErrorShellBox") and returns false.
bool openProgramDocument(QWidget *owner, const QString &fileName, const QString &failureMessage);

} // namespace vorrel

#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

namespace vorrel {

// The documents installed beside the program and the message shown when one cannot be opened.
inline const QString kHelpFile = QStringLiteral("help.html");
inline const QString kTagsFile = QStringLiteral("AIML Tags.htm");
inline const QString kTutorialFile = QStringLiteral("AIML Tutorial 2.rtf");
// The messages are the English source texts; the box shows them translated.
inline constexpr const char kHelpFailure[] = QT_TRANSLATE_NOOP("HelpDocuments", "Could not execute the help file");
inline constexpr const char kTagsFailure[] = QT_TRANSLATE_NOOP("HelpDocuments", "Could not execute the AIML Tags file");
inline constexpr const char kTutorialFailure[]
    = QT_TRANSLATE_NOOP("HelpDocuments", "Could not execute the AIML Tutorial file");

// Hands `fileName` from the program's directory to the shell, owned by `owner`. When the shell
// reports failure, shows `failureMessage` in a warning box captioned "Error" (objectName
// "ErrorShellBox") and returns false.
bool openProgramDocument(QWidget *owner, const QString &fileName, const char *failureMessage);

} // namespace vorrel

// The main window's commands on the document's folder: the bot and the check of the whole
// folder, and Find in Files.
#include "app/Main.h"

#include "base/AimlFiles.h"
#include "base/Error.h"
#include "base/ProgramFiles.h"
#include "bot/TableBot.h"
#include "document/CheckPanel.h"
#include "document/Document.h"
#include "document/DocumentController.h"
#include "document/FileSearch.h"
#include "document/PreviewEditor.h"
#include "editing/FindDialog.h"
#include "prefs/Options.h"
#include "prefs/Settings.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>

using namespace vorrel;

bool TMainForm::wholeFolder() const
{
    // A document not yet saved has no folder.
    return mnuInterpret->isChecked() && mnuFolder->isChecked() && document()->DocHasFile();
}

void TMainForm::prepareBot()
{
    bot()->setProperties(frmOptions->botProperties());
    bot()->setFolder(wholeFolder() ? document()->fileName() : QString(), frmOptions->upcase->isChecked());
}

void TMainForm::storeSwitch(QAction *item, const QString &key)
{
    // The item has already changed its state; a failed write takes that back.
    const bool on = item->isChecked();
    const QString file = settingsFile(QStringLiteral("opts.ini"));
    QString reason;
    if (!writeSwitch(key, file, on, &reason)) {
        item->setChecked(!on);
        throw VorrelError(unableToWrite(file, reason));
    }
}

void TMainForm::mnuFolderClick()
{
    storeSwitch(mnuFolder, kFolderKey);
}

void TMainForm::mnuFindInFilesClick()
{
    const SearchOptions options = frmFind->options();
    // Nothing to look for yet: the find window asks for it first.
    if (options.text.isEmpty()) {
        EditFind();
        return;
    }
    // A document not yet saved is searched alone.
    const bool hasFile = document()->DocHasFile();
    const QStringList files = hasFile ? aimlFilesIn(QFileInfo(document()->fileName()).absolutePath())
                                      : QStringList { document()->fileName() };
    const SearchedFile open { document()->fileName(), code->bytes().toByteArray(), document()->encoding() };
    checkList->showFileHits(findInFiles(files, open, options));
    if (checkList->isHidden()) {
        checkList->show();
        layoutControls();
    }
}

void TMainForm::showFileAt(const QString &fileName, int line, int column)
{
    if (QFileInfo(fileName) != QFileInfo(document()->fileName())) {
        if (!m_controller->maybeSave())
            return;
        openDocument(fileName);
    }
    showProblemAt(line, column);
}

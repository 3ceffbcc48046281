#include "app/Main.h"
#include "report/HelpDocuments.h"
#include "report/Printing.h"
#include "report/Report.h"
#include "report/ReportCounts.h"

#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;

void TMainForm::mnuReportClick()
{
    // One reading of the preview as it stands; the table is not consulted.
    const QByteArray text = previewBytes();
    frmReport->showFigures(computeReport(text, previewIsUtf8 ? TextEncoding::Utf8 : TextEncoding::Latin1));
    frmReport->exec();
}

int TMainForm::CountWords(const QString &text)
{
    return static_cast<int>(countWords(QStringView(text)));
}

void TMainForm::FilePrint()
{
    // Whole documents only; printing to a file stays, since a PDF file is often the only printer.
    PrintDialog->setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (PrintDialog->exec() != QDialog::Accepted)
        return;
    const int copies = printer.copyCount();
    if (copies <= 0)
        return;
    printCopies(printer, *code, printJobName(path->text()), copies);
}

void TMainForm::FilePrintSetup()
{
    // The dialog works on the shared printer, so its choice is what later printing uses.
    PrintSetupDialog->exec();
}

void TMainForm::HelpContentsItemClick()
{
    openProgramDocument(this, kHelpFile, kHelpFailure);
}

void TMainForm::SpeedButton9Click()
{
    openProgramDocument(this, kHelpFile, kHelpFailure);
}

void TMainForm::mnuTagsClick()
{
    openProgramDocument(this, kTagsFile, kTagsFailure);
}

void TMainForm::mnuTutorialClick()
{
    openProgramDocument(this, kTutorialFile, kTutorialFailure);
}

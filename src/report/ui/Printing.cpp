#include "report/ui/Printing.h"

#include <QPainter>
#include <QPrinter>

#include <Qsci/qsciscintillabase.h>

namespace vorrel {

QString printJobName(const QString &pathLine)
{
    qsizetype cut = -1;
    for (const QChar separator : { QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':') })
        cut = std::max(cut, pathLine.lastIndexOf(separator));
    return pathLine.mid(cut + 1);
}

QString copyFileName(const QString &fileName, int copy)
{
    if (copy <= 1)
        return fileName;
    const qsizetype nameStart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
    qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    // A dot that starts the name ("/tmp/.pdf") marks a hidden file, not an extension.
    if (dot <= nameStart)
        dot = fileName.size();
    return fileName.left(dot) + QLatin1Char('-') + QString::number(copy) + fileName.mid(dot);
}

int printEditorJob(QPrinter &printer, QsciScintillaBase &editor, const QString &jobName)
{
    printer.setDocName(jobName);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QRect area(0, 0, painter.device()->width(), painter.device()->height());
    // The preview itself does not wrap; on paper long lines continue on the next line.
    editor.SendScintilla(QsciScintillaBase::SCI_SETPRINTWRAPMODE, QsciScintillaBase::SC_WRAP_WORD);
    editor.SendScintilla(QsciScintillaBase::SCI_SETPRINTMAGNIFICATION, 0L);
    editor.SendScintilla(QsciScintillaBase::SCI_SETPRINTCOLOURMODE, QsciScintillaBase::SC_PRINT_NORMAL);

    const long end = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    long pos = 0;
    int pages = 1;
    while (pos < end) {
        const long next = editor.SendScintilla(QsciScintillaBase::SCI_FORMATRANGE, 1UL, &painter, area, pos, end);
        // A page too small for a single line makes no progress; stop rather than loop.
        if (next <= pos)
            break;
        pos = next;
        if (pos < end) {
            printer.newPage();
            ++pages;
        }
    }
    painter.end();
    return pages;
}

int printCopies(QPrinter &printer, QsciScintillaBase &editor, const QString &jobName, int copies)
{
    if (copies <= 0)
        return 0;
    const QString chosenFile = printer.outputFileName();
    const int chosenCopies = printer.copyCount();
    // Every copy is a job of its own, so the printer must not multiply it again.
    printer.setCopyCount(1);
    int jobs = 0;
    for (int copy = 1; copy <= copies; ++copy) {
        if (!chosenFile.isEmpty())
            printer.setOutputFileName(copyFileName(chosenFile, copy));
        if (printEditorJob(printer, editor, jobName) > 0)
            ++jobs;
    }
    if (!chosenFile.isEmpty())
        printer.setOutputFileName(chosenFile);
    printer.setCopyCount(chosenCopies);
    return jobs;
}

} // namespace vorrel

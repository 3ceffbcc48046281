#pragma once

#include <QString>

class QPrinter;
class QsciScintillaBase;

namespace vorrel {

// The print job's name: the file-name part of the path line, everything after its last "/",
// "\" or ":"; the whole text when it holds none of them.
QString printJobName(const QString &pathLine);

// Where copy number `copy` (from 1) is written when the printer prints to a file: the first
// copy takes the chosen name, later ones add "-2", "-3", ... before the extension, so that
// no copy overwrites another.
QString copyFileName(const QString &fileName, int copy);

// Prints the editor's whole text as one job named `jobName`, in the editor's fonts, over the
// whole printable area of as many pages as it needs. Returns the number of pages, or 0 when
// the printer could not start the job.
int printEditorJob(QPrinter &printer, QsciScintillaBase &editor, const QString &jobName);

// Prints `copies` separate jobs of one copy each. Returns the number of jobs that started.
// The printer's copy count and output file are as before afterwards.
int printCopies(QPrinter &printer, QsciScintillaBase &editor, const QString &jobName, int copies);

} // namespace vorrel

#include "app/AppInfo.h"
#include "app/ErrorBox.h"
#include "app/Main.h"
#include "app/ProgressBar.h"
#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/CategoryTable.h"
#include "document/DocumentText.h"
#include "document/New.h"
#include "prefs/Options.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTabWidget>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;

namespace {

const QString kNone = QStringLiteral("(None)");

// The editor's positions are plain ints in places; larger files are refused whole.
constexpr qint64 kLargestDocument = qint64(1) << 30;

// The preview's bytes in place, valid until its text next changes.
QByteArrayView previewView(const QsciScintilla *code)
{
    const long length = code->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
    if (length <= 0)
        return {};
    const auto *data = reinterpret_cast<const char *>(code->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return QByteArrayView(data, length);
}

// Bytes go in as they are: QsciScintilla::setText would stop at the first NUL and
// recode the text. Undo is off while loading so a large document is not copied twice.
void fillPreview(QsciScintilla *code, const QByteArray &crlfText)
{
    code->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    code->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    if (!crlfText.isEmpty())
        code->SendScintilla(
            QsciScintillaBase::SCI_APPENDTEXT, static_cast<uintptr_t>(crlfText.size()), crlfText.constData());
    code->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    code->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
}

QByteArray readWholeFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw VorrelError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
    if (file.size() > kLargestDocument)
        throw VorrelError(
            QStringLiteral("Cannot open file \"%1\". The file is too large").arg(QDir::toNativeSeparators(fileName)));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VorrelError(
            QStringLiteral("Cannot read file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
    return bytes;
}

// Written beside the old file and renamed over it, so a failed save leaves it intact.
void writeWholeFile(const QString &fileName, QByteArrayView bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw VorrelError(QStringLiteral("Cannot create file \"%1\". %2")
                              .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.commit())
        throw VorrelError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

void replaceFirst(QByteArray &text, QByteArrayView what, const QByteArray &with)
{
    const qsizetype at = text.indexOf(what);
    if (at >= 0)
        text.replace(at, what.size(), with);
}

QString passStatus(ReadPass pass)
{
    switch (pass) {
    case ReadPass::Patterns:
        return QStringLiteral("Loading: Scanning patterns...");
    case ReadPass::Thats:
        return QStringLiteral("Loading: Scanning that tags...");
    case ReadPass::Templates:
        return QStringLiteral("Loading: Scanning templates...");
    }
    return {};
}

} // namespace

QByteArray TMainForm::previewBytes() const
{
    return previewView(code).toByteArray();
}

void TMainForm::setPreviewBytes(const QByteArray &bytes)
{
    fillPreview(code, toCrLf(bytes));
}

QByteArray TMainForm::loadPreviewFromFile(const QString &fileName)
{
    setPreviewBytes(QByteArray());
    QByteArray bytes = readWholeFile(fileName);
    previewIsUtf8 = isValidUtf8(bytes);
    code->setUtf8(previewIsUtf8);
    bytes = toCrLf(bytes);
    fillPreview(code, bytes);
    return bytes;
}

void TMainForm::codeChange()
{
    DocChanged = true;
}

void TMainForm::LoadFile()
{
    if (od->exec() != QDialog::Accepted || od->selectedFiles().isEmpty())
        return;
    openDocument(od->selectedFiles().constFirst());
}

void TMainForm::openDocument(const QString &fileName)
{
    path->setText(fileName);
    const QByteArray text = loadPreviewFromFile(fileName);
    PourThemInto(text);
    tabs->setEnabled(true);
    iButMenu(true);
    DocHasFile = true;
    // Last, so the change that loading the preview caused does not count.
    DocChanged = false;
}

void TMainForm::PourThemInto(const QByteArray &text)
{
    pBar->setStatus(QStringLiteral("Allocating resources..."));
    pBar->setPosition(0);
    pBar->show();
    // No events are handled until reading ends, so the window paints itself now.
    pBar->repaint();
    pBar->pb1->setMaximum(Hits(text, "<category>"));
    tabs->setCursor(Qt::WaitCursor);
    const auto done = qScopeGuard([this] {
        pBar->setPosition(0);
        tabs->unsetCursor();
        pBar->close();
    });

    ReadOptions options;
    options.upcase = frmOptions->upcase->isChecked();
    options.utf8 = previewIsUtf8;
    options.firstLabel = table()->cell(0, 1);
    std::vector<CategoryRow> rows = readCategories(text, options, [this](ReadPass pass, int steps) {
        if (steps == 0) {
            pBar->setPosition(0);
            pBar->setStatus(passStatus(pass));
        } else {
            pBar->setPosition(steps);
        }
    });
    table()->assignRows(std::move(rows));
}

void TMainForm::mnuRefreshClick()
{
    RefreshResult result = refreshText(table()->rows(), previewView(code), previewIsUtf8);
    if (!result.ok)
        throw VorrelError(result.errorString);
    setPreviewBytes(result.text);
}

bool TMainForm::maybeSave()
{
    if (!DocChanged)
        return true;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"),
        QStringLiteral("Do you wish to save changes to current document?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("Confirm"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes) {
        FileSave();
        return true;
    }
    return answer == QMessageBox::No;
}

void TMainForm::FileNew()
{
    if (!maybeSave())
        return;
    frmNew->exec();
}

void TMainForm::newDocument(const QString &title, const QString &author, const QString &language)
{
    path->setText(title);
    setPreviewBytes(QByteArray());
    QByteArray text = readWholeFile(programFile(QStringLiteral("template.dat")));
    previewIsUtf8 = isValidUtf8(text);
    code->setUtf8(previewIsUtf8);
    replaceFirst(text, "AUTHOR1", encodeText(author, previewIsUtf8));
    replaceFirst(text, "LANG", encodeText(language, previewIsUtf8));
    setPreviewBytes(text);
    table()->reset();
    iButMenu(true);
    tabs->setEnabled(true);
    DocHasFile = false;
    DocChanged = false;
}

void TMainForm::FileOpenItemClick()
{
    if (!maybeSave())
        return;
    LoadFile();
}

void TMainForm::SpeedButton2Click()
{
    FileOpenItemClick();
}

void TMainForm::FileSave()
{
    if (!DocHasFile) {
        FileSaveAs();
        return;
    }
    // A line end that came in some other way than loading still goes out as CR LF.
    const QByteArrayView view = previewView(code);
    writeWholeFile(path->text(), toCrLf(QByteArray::fromRawData(view.data(), view.size())));
    DocChanged = false;
}

void TMainForm::FileSaveAs()
{
    if (sd->exec() != QDialog::Accepted || sd->selectedFiles().isEmpty())
        return;
    QString fileName = sd->selectedFiles().constFirst();
    if (!fileName.endsWith(QLatin1String("aiml"), Qt::CaseSensitive))
        fileName += QLatin1String(".aiml");
    const QByteArrayView view = previewView(code);
    writeWholeFile(fileName, toCrLf(QByteArray::fromRawData(view.data(), view.size())));
    path->setText(fileName);
    DocChanged = false;
    DocHasFile = true;
}

void TMainForm::mnuCloseClick()
{
    if (!maybeSave())
        return;
    SaveLast();
    setPreviewBytes(QByteArray());
    path->setText(kNone);
    table()->reset();
    iButMenu(false);
    DocChanged = false;
}

void TMainForm::SaveLast()
{
    const QString fileName = programFile(QStringLiteral("last.dat"));
    if (QFile::exists(fileName))
        QFile::remove(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw VorrelError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    const QByteArray line = path->text().toUtf8() + "\r\n";
    if (file.write(line) != line.size())
        throw VorrelError(QStringLiteral("Unable to write to %1").arg(fileName));
}

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
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTabWidget>
#include <QWindow>

#include <cstring>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;

namespace {

const QString kNone = QStringLiteral("(None)");

// Larger files are refused whole rather than taken to the edge of the editor's limits.
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

// The editor keeps a style byte beside every character; the preview is never styled, so
// its text lives in a document without them, which halves the memory a large file takes.
// The first document stays referenced: the editor's wrapper still names it and releases
// it at exit.
void usePlainDocument(QsciScintilla *code)
{
    if (code->SendScintilla(QsciScintillaBase::SCI_GETDOCUMENTOPTIONS)
        & QsciScintillaBase::SC_DOCUMENTOPTION_STYLES_NONE)
        return;
    const long first = code->SendScintilla(QsciScintillaBase::SCI_GETDOCPOINTER);
    code->SendScintilla(QsciScintillaBase::SCI_ADDREFDOCUMENT, 0UL, first);
    const long plain = code->SendScintilla(
        QsciScintillaBase::SCI_CREATEDOCUMENT, 0UL, long(QsciScintillaBase::SC_DOCUMENTOPTION_STYLES_NONE));
    code->SendScintilla(QsciScintillaBase::SCI_SETDOCPOINTER, 0UL, plain);
    code->SendScintilla(QsciScintillaBase::SCI_RELEASEDOCUMENT, 0UL, plain);
    // Line-end mode and code page belong to the document.
    code->setEolMode(QsciScintilla::EolWindows);
    code->setUtf8(true);
}

// Bytes go in as they are: QsciScintilla::setText would stop at the first NUL and
// recode the text. While a whole text is replaced the editor sends no modification
// notices: its accessibility hook recodes every inserted or deleted piece and counts the
// characters before it, which makes loading a large file quadratic. One textChanged is
// sent at the end instead. Undo is off too, so the text is not copied a second time.
class PreviewFill final
{
public:
    explicit PreviewFill(QsciScintilla *code) : m_code(code)
    {
        usePlainDocument(m_code);
        m_hadText = m_code->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) > 0;
        m_eventMask = m_code->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK);
        m_code->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
        m_code->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
        m_code->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
    }
    ~PreviewFill()
    {
        m_code->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
        m_code->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
        m_code->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, static_cast<unsigned long>(m_eventMask));
        if (m_hadText || m_code->SendScintilla(QsciScintillaBase::SCI_GETLENGTH) > 0)
            Q_EMIT m_code->textChanged();
    }
    PreviewFill(const PreviewFill &) = delete;
    PreviewFill &operator=(const PreviewFill &) = delete;

    // Room for the whole text at once; two spare bytes keep reading it in place from
    // moving it all again.
    void reserve(qint64 size)
    {
        m_code->SendScintilla(QsciScintillaBase::SCI_ALLOCATE, static_cast<unsigned long>(size + 2));
    }
    void append(const char *data, qsizetype size)
    {
        if (size > 0)
            m_code->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<uintptr_t>(size), data);
    }

private:
    QsciScintilla *m_code;
    long m_eventMask = 0;
    bool m_hadText = false;
};

void fillPreview(QsciScintilla *code, const QByteArray &crlfText)
{
    PreviewFill fill(code);
    fill.reserve(crlfText.size());
    fill.append(crlfText.constData(), crlfText.size());
}

void openForReading(QFile &file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw VorrelError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
    if (file.size() > kLargestDocument)
        throw VorrelError(QStringLiteral("Cannot open file \"%1\". The file is too large")
                              .arg(QDir::toNativeSeparators(file.fileName())));
}

[[noreturn]] void throwReadError(const QFile &file)
{
    throw VorrelError(QStringLiteral("Cannot read file \"%1\". %2")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()));
}

QByteArray readWholeFile(const QString &fileName)
{
    QFile file(fileName);
    openForReading(file);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throwReadError(file);
    return bytes;
}

bool hasBareLineFeed(QByteArrayView bytes)
{
    const char *data = bytes.data();
    const char *end = data + bytes.size();
    for (const char *p = data; (p = static_cast<const char *>(std::memchr(p, '\n', end - p))); ++p) {
        if (p == data || p[-1] != '\r')
            return true;
    }
    return false;
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
    code->setUtf8(previewIsUtf8);
}

void TMainForm::loadPreviewFromFile(const QString &fileName)
{
    setPreviewBytes(QByteArray());
    QFile file(fileName);
    openForReading(file);
    {
        // Straight into the editor in pieces: a large file is never held twice.
        PreviewFill fill(code);
        fill.reserve(file.size());
        QByteArray chunk(qsizetype(1) << 20, Qt::Uninitialized);
        for (;;) {
            const qint64 got = file.read(chunk.data(), chunk.size());
            if (got < 0) {
                code->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
                throwReadError(file);
            }
            if (got == 0)
                break;
            fill.append(chunk.constData(), got);
        }
    }
    const QByteArrayView text = previewView(code);
    previewIsUtf8 = isValidUtf8(text);
    code->setUtf8(previewIsUtf8);
    if (hasBareLineFeed(text))
        fillPreview(code, toCrLf(text.toByteArray()));
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
    loadPreviewFromFile(fileName);
    // Read in place: nothing changes the preview until the table is filled.
    const QByteArrayView text = previewView(code);
    PourThemInto(QByteArray::fromRawData(text.data(), text.size()));
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
    // A new window can be painted only once the window system has exposed it. Wait for that
    // briefly, user input excluded; from then on the window paints itself as it goes.
    QElapsedTimer exposing;
    exposing.start();
    while (pBar->windowHandle() && !pBar->windowHandle()->isExposed() && exposing.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    pBar->repaint();
    const int categories = Hits(text, "<category>");
    pBar->pb1->setMaximum(categories);
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
    // Most documents hold a pattern per category.
    options.expectedRows = categories + 1;
    // The old rows go first, so a large document's memory is reused for the new ones.
    table()->reset();
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

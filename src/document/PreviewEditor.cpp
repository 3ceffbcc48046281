#include "document/PreviewEditor.h"

#include <QFont>

#include <cstddef>

namespace vorrel {

// The editor engine's loader, as its documentation gives it: a document filled without a
// view, so that no notices, styling or undo records are made while it grows.
class PreviewEditor::Loader::Interface
{
public:
    virtual int Release() = 0;
    virtual int AddData(const char *data, std::ptrdiff_t length) = 0;
    virtual void *ConvertToDocument() = 0;

protected:
    ~Interface() = default;
};

PreviewEditor::Loader::Loader(PreviewEditor *editor) : m_editor(editor)
{
}

PreviewEditor::Loader::~Loader()
{
    if (m_loader)
        m_loader->Release();
}

bool PreviewEditor::Loader::reserve(qint64 size)
{
    if (m_loader)
        return true;
    // The preview is never styled, so its text lives without a style byte per character,
    // which halves the memory a large file takes.
    const long loader = m_editor->SendScintilla(
        SCI_CREATELOADER, static_cast<unsigned long>(std::max<qint64>(size, 0)), long(SC_DOCUMENTOPTION_STYLES_NONE));
    m_loader = reinterpret_cast<Interface *>(loader);
    return m_loader != nullptr;
}

bool PreviewEditor::Loader::append(QByteArrayView piece)
{
    if (!m_loader && !reserve(0))
        return false;
    return piece.isEmpty() || m_loader->AddData(piece.data(), piece.size()) == SC_STATUS_OK;
}

void *PreviewEditor::Loader::takeDocument()
{
    if (!m_loader && !reserve(0))
        return nullptr;
    void *document = m_loader->ConvertToDocument();
    m_loader = nullptr;
    return document;
}

PreviewEditor::PreviewEditor(QWidget *parent) : QsciScintilla(parent)
{
    setObjectName(QStringLiteral("code"));
    m_firstDocument = SendScintilla(SCI_GETDOCPOINTER);
    SendScintilla(SCI_ADDREFDOCUMENT, 0UL, m_firstDocument);
    setUtf8(true);
    setEolMode(EolWindows);
    setWrapMode(WrapNone);
    setMarginWidth(1, 0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    // A line's layout measures every character of it, a second for each few megabytes; the
    // engine keeps only the caret line's by default, so any other long line on screen was
    // measured again at every repaint.
    SendScintilla(SCI_SETLAYOUTCACHE, long(SC_CACHE_PAGE));
    // The engine tells of every insertion and deletion, undo and redo included, before it
    // touches the text.
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
        [this](int, int type, const char *, int, int, int, int, int, int, int) {
            if (type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE))
                Q_EMIT textAboutToChange();
        });
}

PreviewEditor::~PreviewEditor()
{
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, m_firstDocument);
}

QByteArrayView PreviewEditor::bytes() const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    if (length <= 0)
        return {};
    const auto *text = reinterpret_cast<const char *>(SendScintilla(SCI_GETCHARACTERPOINTER));
    return QByteArrayView(text, length);
}

std::unique_ptr<PreviewEditor::Loader> PreviewEditor::newLoader()
{
    return std::make_unique<Loader>(this);
}

void PreviewEditor::show(Loader &loader, TextEncoding encoding)
{
    const bool hadText = SendScintilla(SCI_GETLENGTH) > 0;
    void *document = loader.takeDocument();
    if (!document)
        return;
    Q_EMIT textAboutToChange();
    SendScintilla(SCI_SETDOCPOINTER, 0UL, document);
    // The editor holds the document now; the loader's reference goes.
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document);
    useEncoding(encoding);
    // One notice for the whole text: the engine sends none while a loader fills a document.
    if (hadText || SendScintilla(SCI_GETLENGTH) > 0)
        Q_EMIT textChanged();
}

bool PreviewEditor::setBytes(QByteArrayView text, TextEncoding encoding)
{
    Loader loader(this);
    // The engine moves the whole text to a larger block unless the free space left after
    // an insertion is more than its length; two spare bytes also keep bytes() from moving it.
    if (!loader.reserve(text.size() + 2) || !loader.append(text))
        return false;
    show(loader, encoding);
    return true;
}

void PreviewEditor::useEncoding(TextEncoding encoding)
{
    // Line-end mode and code page belong to the document.
    setEolMode(EolWindows);
    setUtf8(heldAsUtf8(encoding));
}

void PreviewEditor::applyFont(const QString &face, int pointSize)
{
    QFont font(face);
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(pointSize > 0 ? pointSize : 10);
    // setFont sets the default style; the preview carries no other formatting, so every
    // style takes the default's face and size.
    setFont(font);
    SendScintilla(SCI_STYLECLEARALL);
    selectAll(true);
}

} // namespace vorrel

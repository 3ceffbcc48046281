#include "document/PreviewEditor.h"

#include "document/TagCompletion.h"
#include "widgets/ThemeColors.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QProgressDialog>
#include <QTimer>

#include <Qsci/qscilexerxml.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

// The editor engine's loader: a document filled without a view, so that no notices, styling or
// undo records are made while it grows. Its header is not installed with the widget, so it is
// declared here as the engine declares it, by the same name in the same namespace: the same
// type, through which the object the engine made may be called.
class ILoader
{
public:
    virtual int Release() = 0;
    virtual int AddData(const char *data, std::ptrdiff_t length) = 0;
    virtual void *ConvertToDocument() = 0;
};

namespace vorrel {

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
    // Colours need a style byte beside every character. An uncoloured text does without them,
    // which halves the memory it takes: so are texts too large for colours to be worth that.
    const bool coloured = m_editor->colouring() && size <= kLargeText;
    const long options = coloured ? SC_DOCUMENTOPTION_DEFAULT : SC_DOCUMENTOPTION_STYLES_NONE;
    const long loader
        = m_editor->SendScintilla(SCI_CREATELOADER, static_cast<unsigned long>(std::max<qint64>(size, 0)), options);
    m_loader = reinterpret_cast<ILoader *>(loader);
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
    setAccessibleName(tr("Document text"));
    m_firstDocument = SendScintilla(SCI_GETDOCPOINTER);
    SendScintilla(SCI_ADDREFDOCUMENT, 0UL, m_firstDocument);
    setWrapMode(WrapNone);
    setMarginLineNumbers(0, true);
    setMarginWidth(1, 0);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    // Colours are worked out in slices while the window is idle, and only as far as the text
    // shown: a jump to the end of a large text shows it at once, coloured a moment later.
    SendScintilla(SCI_SETIDLESTYLING, SC_IDLESTYLING_TOVISIBLE);
    m_font = font();
    applyStyles();
    useDocument(TextEncoding::Utf8);

    connect(this, &QsciScintillaBase::SCN_CHARADDED, this, &PreviewEditor::charAdded);
    connect(this, &QsciScintilla::linesChanged, this, [this] { updateLineNumberWidth(false); });
    connect(this, &QsciScintilla::textChanged, this, &PreviewEditor::undoStateChanged);
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
    connect(this, &PreviewEditor::textAboutToChange, this, [this] { m_searchText.reset(); });
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
    useDocument(encoding);
    // One notice for the whole text: the engine sends none while a loader fills a document.
    if (hadText || SendScintilla(SCI_GETLENGTH) > 0)
        Q_EMIT textChanged();
    Q_EMIT undoStateChanged();
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

void PreviewEditor::replaceBytes(QByteArrayView text)
{
    const QByteArrayView old = bytes();
    if (std::max(old.size(), text.size()) > kLargeText) {
        setBytes(text, m_encoding);
        return;
    }
    const qsizetype shorter = std::min(old.size(), text.size());
    // Whole lines only, so that no character is cut in two and no CR from its LF.
    qsizetype prefix = std::mismatch(old.begin(), old.begin() + shorter, text.begin()).first - old.begin();
    while (prefix > 0 && old[prefix - 1] != '\n')
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    if (suffix < shorter - prefix) {
        const qsizetype lineEnd = old.sliced(old.size() - suffix).indexOf('\n');
        suffix = lineEnd < 0 ? 0 : suffix - lineEnd - 1;
    }
    const long oldEnd = static_cast<long>(old.size() - suffix);
    const QByteArrayView middle = text.sliced(prefix, text.size() - suffix - prefix);
    if (oldEnd == prefix && middle.isEmpty()) {
        // Nothing to change, but the text was regenerated all the same.
        Q_EMIT textChanged();
        return;
    }
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(prefix), oldEnd);
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(middle.size()), middle.data());
    SendScintilla(SCI_ENDUNDOACTION);
}

void PreviewEditor::useDocument(TextEncoding encoding)
{
    // Line-end mode, code page and lexer belong to the document. Enter and pastes take the
    // document's own line end, whatever lines are typed into it later.
    m_encoding = encoding;
    setEolMode(lineEndOf(bytes()) == LineEnd::CrLf ? EolWindows : EolUnix);
    setUtf8(heldAsUtf8(encoding));
    const bool styled = !(SendScintilla(SCI_GETDOCUMENTOPTIONS) & SC_DOCUMENTOPTION_STYLES_NONE);
    SendScintilla(SCI_SETLEXER, m_colouring && styled ? SCLEX_XML : SCLEX_CONTAINER);
    // AIML holds no scripts; "<?" and "<%" are markup only.
    SendScintilla(SCI_SETPROPERTY, "lexer.xml.allow.scripts", "0");
    // A loaded document records no changes until told to.
    SendScintilla(SCI_SETUNDOCOLLECTION, 1);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    updateLineNumberWidth(false);
}

void PreviewEditor::applyFont(const QString &face, int pointSize)
{
    QFont font(face);
    font.setStyleHint(QFont::Monospace);
    // The engine keeps a size in hundredths of a point in an int; a size from a hand-edited
    // settings file must not wrap round to a negative one.
    constexpr int kLargestPointSize = 1000;
    font.setPointSize(pointSize > 0 ? std::min(pointSize, kLargestPointSize) : 10);
    setTextFont(font);
    selectAll(true);
}

void PreviewEditor::setTextFont(const QFont &font)
{
    m_font = font;
    // The engine asks for its faces by name alone. For a face this system lacks, the stand-in
    // it then gets measures differently from the one that draws, and coloured runs of a line
    // overlap: the face Qt picks for this font stands in for the name everywhere.
    const QString family = font.family();
    if (!QFontDatabase::hasFamily(family) && QFont::substitutes(family).isEmpty())
        QFont::insertSubstitution(family, QFontInfo(font).family());
    applyStyles();
}

void PreviewEditor::setItalicComments(bool italic)
{
    m_italicComments = italic;
    applyStyles();
}

void PreviewEditor::applyStyles()
{
    // Every style takes the face and size of the default style, and the paper of the colour set
    // for the desktop's light or dark theme; the kinds of XML text take their colours from it,
    // and italics for comments where asked.
    QFont plain = m_font;
    plain.setBold(false);
    plain.setItalic(false);
    plain.setUnderline(false);
    setFont(plain);
    const PreviewColors &colors = previewColors(themeOf(palette()));
    SendScintilla(SCI_STYLESETFORE, STYLE_DEFAULT, colors.text);
    SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, colors.paper);
    SendScintilla(SCI_STYLECLEARALL);
    using X = QsciLexerXML;
    const std::pair<int, QColor PreviewColors::*> kinds[] = {
        { X::Tag, &PreviewColors::tag },
        { X::UnknownTag, &PreviewColors::tag },
        { X::XMLTagEnd, &PreviewColors::tag },
        { X::Attribute, &PreviewColors::attribute },
        { X::UnknownAttribute, &PreviewColors::attribute },
        { X::HTMLNumber, &PreviewColors::value },
        { X::HTMLDoubleQuotedString, &PreviewColors::value },
        { X::HTMLSingleQuotedString, &PreviewColors::value },
        { X::HTMLValue, &PreviewColors::value },
        { X::OtherInTag, &PreviewColors::entity },
        { X::Entity, &PreviewColors::entity },
        { X::SGMLEntity, &PreviewColors::entity },
        { X::HTMLComment, &PreviewColors::comment },
        { X::SGMLComment, &PreviewColors::comment },
        { X::SGMLParameterComment, &PreviewColors::comment },
        { X::XMLStart, &PreviewColors::declaration },
        { X::XMLEnd, &PreviewColors::declaration },
        { X::SGMLDefault, &PreviewColors::declaration },
        { X::SGMLCommand, &PreviewColors::declaration },
        { X::SGMLParameter, &PreviewColors::declaration },
        { X::SGMLDoubleQuotedString, &PreviewColors::value },
        { X::SGMLSingleQuotedString, &PreviewColors::value },
        { X::SGMLSpecial, &PreviewColors::entity },
        { X::SGMLBlockDefault, &PreviewColors::declaration },
        { X::CDATA, &PreviewColors::cdata },
        { X::SGMLError, &PreviewColors::error },
    };
    for (const auto &[style, color] : kinds)
        SendScintilla(SCI_STYLESETFORE, static_cast<unsigned long>(style), colors.*color);
    for (int style : { X::HTMLComment, X::ASPXCComment, X::SGMLComment, X::SGMLParameterComment })
        SendScintilla(SCI_STYLESETITALIC, static_cast<unsigned long>(style), long(m_italicComments));
    setMarginsForegroundColor(colors.lineNumber);
    setMarginsBackgroundColor(colors.margin);
    setCaretForegroundColor(colors.caret);
    setSelectionForegroundColor(palette().color(QPalette::HighlightedText));
    setSelectionBackgroundColor(palette().color(QPalette::Highlight));
    updateLineNumberWidth(true);
}

void PreviewEditor::changeEvent(QEvent *event)
{
    QsciScintilla::changeEvent(event);
    // The base class gives the default style the palette's paper again when it is enabled or
    // disabled.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange)
        applyStyles();
}

void PreviewEditor::updateLineNumberWidth(bool force)
{
    const int digits = static_cast<int>(QString::number(lineCount()).size());
    if (digits == m_lineNumberDigits && !force)
        return;
    m_lineNumberDigits = digits;
    // Room for one digit more than the numbers have, as a margin on both sides.
    setMarginWidth(0, QString(digits + 1, QLatin1Char('9')));
}

void PreviewEditor::charAdded(int ch)
{
    if (!m_tagCompletion || !SendScintilla(SCI_GETSELECTIONEMPTY))
        return;
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    const QByteArrayView text = bytes();
    if (ch == '<') {
        const QList<QByteArray> names = elementsAllowedAt(text, caret - 1);
        if (names.isEmpty())
            return;
        SendScintilla(SCI_AUTOCSETSEPARATOR, static_cast<unsigned long>(' '));
        SendScintilla(SCI_AUTOCSETORDER, SC_ORDER_PRESORTED);
        SendScintilla(SCI_AUTOCSHOW, 0UL, names.join(' ').constData());
    } else if (ch == '>') {
        const QByteArray name = startTagEndingAt(text, caret);
        if (name.isEmpty())
            return;
        // The caret stays between the two tags.
        SendScintilla(SCI_INSERTTEXT, static_cast<unsigned long>(caret), ("</" + name + '>').constData());
    } else if (ch == '/' && caret >= 2 && text[caret - 2] == '<') {
        const QByteArray name = openElementAt(text, caret - 2);
        if (name.isEmpty())
            return;
        const QByteArray rest = name + '>';
        SendScintilla(SCI_INSERTTEXT, static_cast<unsigned long>(caret), rest.constData());
        SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(caret + rest.size()));
    }
}

// --- finding ---

std::shared_ptr<const SearchText> PreviewEditor::searchText()
{
    if (!m_searchText)
        m_searchText = std::make_shared<const SearchText>(bytes(), m_encoding);
    return m_searchText;
}

namespace {

// Most searches end sooner than this, and show no progress window at all.
constexpr int kQuietSearchMs = 300;
constexpr int kProgressSteps = 1000;

// A search on its thread and the window waiting for it share this; whichever lets go last
// frees it.
struct SearchRun
{
    SearchControl control;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    // What the search threw (no memory for a copy, say), thrown again for the window.
    std::exception_ptr failure;
};

} // namespace

bool PreviewEditor::runSearch(const QString &title, qsizetype total, std::function<void(SearchControl &)> search)
{
    auto run = std::make_shared<SearchRun>();
    // Left to itself: a search stopped inside one long match ends when that match does, and
    // holds nothing of the editor's but its own share of the text.
    std::thread([run, search = std::move(search)] {
        std::exception_ptr failure;
        try {
            search(run->control);
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(run->mutex);
        run->failure = failure;
        run->done = true;
        run->finished.notify_all();
    }).detach();
    const auto finish = [&run] {
        if (run->failure)
            std::rethrow_exception(run->failure);
        return true;
    };
    const auto done = [&run] {
        const std::lock_guard lock(run->mutex);
        return run->done;
    };
    {
        std::unique_lock lock(run->mutex);
        if (run->finished.wait_for(lock, std::chrono::milliseconds(kQuietSearchMs), [&run] { return run->done; }))
            return finish();
    }
    QProgressDialog progress(window());
    progress.setObjectName(QStringLiteral("SearchProgress"));
    progress.setWindowTitle(title);
    progress.setLabelText(tr("Searching..."));
    progress.setRange(0, total > 0 ? kProgressSteps : 0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    QTimer poll;
    connect(&poll, &QTimer::timeout, &progress, [&] {
        if (done())
            progress.accept();
        else if (total > 0)
            progress.setValue(static_cast<int>(run->control.reached.load() * kProgressSteps / total));
    });
    poll.start(50);
    // Accepted once the search is done; Cancel, Escape and the close box reject it.
    if (progress.exec() == QDialog::Accepted && done())
        return finish();
    run->control.stop = true;
    return false;
}

PreviewEditor::FindResult PreviewEditor::find(const SearchOptions &options, bool forward)
{
    if (options.text.isEmpty())
        return FindResult::NotFound;
    const std::shared_ptr<const SearchText> text = searchText();
    if (!TextFinder(text, options).isValid())
        return FindResult::BadExpression;
    const long length = SendScintilla(SCI_GETLENGTH);
    const long selStart = SendScintilla(SCI_GETSELECTIONSTART);
    const long selEnd = SendScintilla(SCI_GETSELECTIONEND);
    const long afterCaret = selEnd < length ? SendScintilla(SCI_POSITIONAFTER, static_cast<unsigned long>(selEnd)) : -1;
    struct Found
    {
        std::optional<MatchSpan> span;
        bool wrapped = false;
    };
    const auto found = std::make_shared<Found>();
    const bool finished = runSearch(tr("Find"), 0, [=](SearchControl &control) {
        // Its own expression: one is not to be matched on two threads at once.
        const TextFinder finder(text, options);
        // An empty match where the caret already is would be found again and again.
        const auto isCaret = [&](const std::optional<TextMatch> &m) {
            return m && m->start == m->end && m->start == selStart && selStart == selEnd;
        };
        std::optional<TextMatch> match = forward ? finder.next(selEnd) : finder.previous(selStart, &control.stop);
        if (isCaret(match) && forward)
            match = afterCaret >= 0 ? finder.next(afterCaret) : std::nullopt;
        if (!match) {
            match = forward ? finder.next(0) : finder.previous(length + 1, &control.stop);
            found->wrapped = true;
        }
        if (match)
            found->span = MatchSpan { match->start, match->end };
    });
    // The window is modal while a search runs; a text changed all the same is not searched.
    if (!finished || text != m_searchText)
        return FindResult::Stopped;
    if (!found->span)
        return FindResult::NotFound;
    const MatchSpan match = *found->span;
    if (forward)
        SendScintilla(SCI_SETSEL, static_cast<unsigned long>(match.start), match.end);
    else
        SendScintilla(SCI_SETSEL, static_cast<unsigned long>(match.end), match.start);
    return found->wrapped ? FindResult::Wrapped : FindResult::Found;
}

PreviewEditor::FindResult PreviewEditor::replace(const SearchOptions &options, const QString &replacement)
{
    if (options.text.isEmpty())
        return FindResult::NotFound;
    const TextFinder finder(searchText(), options);
    if (!finder.isValid())
        return FindResult::BadExpression;
    const long selStart = SendScintilla(SCI_GETSELECTIONSTART);
    const long selEnd = SendScintilla(SCI_GETSELECTIONEND);
    // The selection is replaced only when it is a match, read in its context.
    if (const std::optional<TextMatch> current = finder.at(selStart); current && current->end == selEnd) {
        const std::optional<QByteArray> with = finder.replacement(replacement, *current);
        if (!with)
            return FindResult::Unwritable;
        SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(selStart), selEnd);
        SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(with->size()), with->constData());
        const long after = selStart + static_cast<long>(with->size());
        SendScintilla(SCI_SETSEL, static_cast<unsigned long>(after), after);
    }
    return find(options, true);
}

int PreviewEditor::replaceAll(const SearchOptions &options, const QString &replacement)
{
    if (options.text.isEmpty())
        return 0;
    const std::shared_ptr<const SearchText> text = searchText();
    if (!TextFinder(text, options).isValid())
        return kBadExpression;
    const auto replaced = std::make_shared<ReplacedText>();
    const bool finished = runSearch(tr("Replace All"), text->text().size(), [=](SearchControl &control) {
        *replaced = TextFinder(text, options).replaceAll(replacement, Document::kLargestDocument, control);
    });
    if (!finished || text != m_searchText)
        return kStopped;
    switch (replaced->status) {
    case ReplacedText::Done:
        break;
    case ReplacedText::Stopped:
        return kStopped;
    case ReplacedText::Unwritable:
        return kUnwritable;
    case ReplacedText::TooLarge:
        return kTooLarge;
    }
    if (replaced->count == 0)
        return 0;
    // The new text of the stretch from the first match to the end of the last goes in as one
    // change: one step to undo, and one notice instead of one per match.
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(replaced->start), static_cast<long>(replaced->end));
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(replaced->bytes.size()), replaced->bytes.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    return static_cast<int>(std::min<qsizetype>(replaced->count, std::numeric_limits<int>::max()));
}

// --- lines ---

void PreviewEditor::goToLine(int line)
{
    const int target = std::clamp(line, 1, lineCount()) - 1;
    SendScintilla(SCI_GOTOLINE, static_cast<unsigned long>(target));
}

int PreviewEditor::currentLine() const
{
    return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, SendScintilla(SCI_GETCURRENTPOS))) + 1;
}

int PreviewEditor::lineCount() const
{
    return static_cast<int>(SendScintilla(SCI_GETLINECOUNT));
}

} // namespace vorrel

#pragma once

#include "document/Document.h"
#include "document/TextSearch.h"

#include <QByteArrayView>
#include <QFont>
#include <QString>

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <memory>

// The editor engine's own loader type (see PreviewEditor.cpp).
class ILoader;

namespace vorrel {

// The preview `code`: the document's text exactly as it is saved, printed and counted. It
// holds bytes, not characters: UTF-8 for UTF-8 and UTF-16 documents, one byte per character
// for 8-bit ones, line ends as the file has them. It shows them as coloured XML with line
// numbers, and helps with tags as they are typed.
class PreviewEditor final : public QsciScintilla
{
    Q_OBJECT

public:
    // Fills a new text beside the shown one, so that a failed reading leaves the preview as
    // it was. show() puts it in place of the old text.
    class Loader;

    // Unwritable: the replacement has characters an 8-bit text cannot hold. Stopped: the user
    // stopped a long search.
    enum class FindResult { Found, Wrapped, NotFound, BadExpression, Unwritable, Stopped };
    // What replaceAll() gives besides a count; with each of them nothing is replaced.
    static constexpr int kBadExpression = -1;
    static constexpr int kUnwritable = -2;
    static constexpr int kStopped = -3;
    // The text would grow past the largest document.
    static constexpr int kTooLarge = -4;

    // Texts larger than this are shown uncoloured, and replaced whole without keeping the old
    // text for Undo: both would take as much memory again as the text.
    static constexpr qint64 kLargeText = qint64(32) << 20;

    explicit PreviewEditor(QWidget *parent = nullptr);
    ~PreviewEditor() override;

    // The whole text in place, valid until the text next changes.
    QByteArrayView bytes() const;

    // Replaces the whole text; the undo history starts afresh.
    bool setBytes(QByteArrayView text, TextEncoding encoding);
    // Replaces the whole text as one change that Undo takes back; the lines both texts share
    // at the start and the end stay untouched. A large text starts a fresh history instead.
    void replaceBytes(QByteArrayView text);

    std::unique_ptr<Loader> newLoader();
    // Shows what `loader` read; the undo history starts afresh.
    void show(Loader &loader, TextEncoding encoding);

    // Selects the whole text and gives every style the face and size; text put in later
    // takes them too.
    void applyFont(const QString &face, int pointSize);
    // Every style in this face and size, nothing selected.
    void setTextFont(const QFont &font);
    void setItalicComments(bool italic);
    bool italicComments() const { return m_italicComments; }
    // The list of elements at "<", the end tag after a start tag's ">", the innermost open
    // element's name after "</".
    void setTagCompletion(bool enabled) { m_tagCompletion = enabled; }
    bool tagCompletion() const { return m_tagCompletion; }
    // Colouring applies to text put in from then on; without it a text takes half the memory.
    // On by default, for texts up to kLargeText.
    void setColouring(bool enabled) { m_colouring = enabled; }
    bool colouring() const { return m_colouring; }

    // Searches run beside the window: one that takes more than a moment shows its progress in
    // a modal window ("SearchProgress"), whose Cancel or Escape stops it with the text and the
    // selection as they were.
    //
    // Selects the next match after the selection (before it, backwards), going round the end
    // of the text; leaves the selection as it is when there is none.
    FindResult find(const SearchOptions &options, bool forward);
    // Replaces the selection when it is a match, then finds the next one.
    FindResult replace(const SearchOptions &options, const QString &replacement);
    // Replaces every match in the text as one change to undo; the number replaced, or
    // kBadExpression or kUnwritable, when nothing is replaced.
    int replaceAll(const SearchOptions &options, const QString &replacement);

    // Lines count from 1.
    void goToLine(int line);
    int currentLine() const;
    int lineCount() const;

Q_SIGNALS:
    // Undo or Redo may have become possible or impossible.
    void undoStateChanged();

protected:
    // A new desktop theme: the colours of its light or dark set, kept when enabled or disabled.
    void changeEvent(QEvent *event) override;

Q_SIGNALS:
    // Sent before any change of the text and before the whole text is replaced: what
    // bytes() gave is still valid then, and not after.
    void textAboutToChange();

private:
    // The text as characters for searching, made at the first search after a change.
    std::shared_ptr<const SearchText> searchText();
    // Runs `search` on a thread of its own and waits for it; false when the user stopped it.
    // A search of `total` characters shows how far it got, any other only that it runs.
    bool runSearch(const QString &title, qsizetype total, std::function<void(SearchControl &)> search);
    void useDocument(TextEncoding encoding);
    void applyStyles();
    void updateLineNumberWidth(bool force);
    void charAdded(int ch);

    // The document the editor started with; kept referenced for its wrapper, which names it
    // until the editor is destroyed.
    long m_firstDocument = 0;
    QFont m_font;
    bool m_italicComments = true;
    bool m_tagCompletion = true;
    bool m_colouring = true;
    TextEncoding m_encoding = TextEncoding::Utf8;
    std::shared_ptr<const SearchText> m_searchText;
    int m_lineNumberDigits = 0;
};

class PreviewEditor::Loader final : public TextSink
{
public:
    explicit Loader(PreviewEditor *editor);
    ~Loader() override;
    Loader(const Loader &) = delete;
    Loader &operator=(const Loader &) = delete;

    bool reserve(qint64 size) override;
    bool append(QByteArrayView piece) override;

private:
    friend class PreviewEditor;
    // The document taken out of the loader for showing; the loader is gone then.
    void *takeDocument();

    PreviewEditor *m_editor;
    ILoader *m_loader = nullptr;
};

} // namespace vorrel

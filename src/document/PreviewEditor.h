#pragma once

#include "document/Document.h"

#include <QByteArrayView>
#include <QString>

#include <Qsci/qsciscintilla.h>

#include <memory>

namespace vorrel {

// The preview `code`: the document's text exactly as it is saved, printed and counted. It
// holds bytes, not characters: UTF-8 for UTF-8 and UTF-16 documents, one byte per character
// for 8-bit ones, lines ending in CR LF.
class PreviewEditor final : public QsciScintilla
{
    Q_OBJECT

public:
    // Fills a new text beside the shown one, so that a failed reading leaves the preview as
    // it was. show() puts it in place of the old text.
    class Loader;

    explicit PreviewEditor(QWidget *parent = nullptr);
    ~PreviewEditor() override;

    // The whole text in place, valid until the text next changes.
    QByteArrayView bytes() const;

    // Replaces the whole text; the undo history starts afresh.
    bool setBytes(QByteArrayView text, TextEncoding encoding);

    std::unique_ptr<Loader> newLoader();
    // Shows what `loader` read; the undo history starts afresh.
    void show(Loader &loader, TextEncoding encoding);

    // Selects the whole text and gives every style the face and size; text put in later
    // takes them too.
    void applyFont(const QString &face, int pointSize);

Q_SIGNALS:
    // Sent before any change of the text and before the whole text is replaced: what
    // bytes() gave is still valid then, and not after.
    void textAboutToChange();

private:
    void useEncoding(TextEncoding encoding);

    // The document the editor started with; kept referenced for its wrapper, which names it
    // until the editor is destroyed.
    long m_firstDocument = 0;
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
    class Interface;
    // The document taken out of the loader for showing; the loader is gone then.
    void *takeDocument();

    PreviewEditor *m_editor;
    Interface *m_loader = nullptr;
};

} // namespace vorrel

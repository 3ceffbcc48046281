#pragma once

#include "document/AimlReader.h"
#include "document/Document.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QUndoStack;

namespace vorrel {

class CategoryTable;
class PreviewEditor;
class TableBot;
struct CategoryTexts;

// What a document command may have to ask the user. The window answers through its dialogs;
// a test answers by itself.
class DocumentQuestions
{
public:
    using Answer = Document::SaveAnswer;

    virtual ~DocumentQuestions() = default;
    // Whether to save the changed document before it is dropped.
    virtual Answer askSave() = 0;
    // Whether to regenerate the text from the changed categories before saving it.
    virtual Answer askRegenerate() = 0;
    // Whether to replace a read-only file.
    virtual bool askReplaceReadOnly() = 0;
    // The file to open, or to save to; empty when the user cancelled.
    virtual QString chooseFileToOpen() = 0;
    virtual QString chooseFileToSave() = 0;
};

// The open document as one object: its name and flags, the category table, the preview with
// the text, the table's history and the bot's conversation. It opens, creates, saves and
// closes it, each in one place, asking its questions through DocumentQuestions and showing
// no window of its own. Commands throw VorrelError at a failing step, keeping the steps
// before it.
class DocumentController final : public QObject
{
    Q_OBJECT

public:
    explicit DocumentController(QObject *parent = nullptr);
    ~DocumentController() override;

    // Who answers the questions; without anyone, every question is cancelled.
    void setQuestions(DocumentQuestions *questions) { m_questions = questions; }
    // Whether reading upper-cases the patterns, asked at each reading.
    void setUpcaseOnReading(std::function<bool()> upcase) { m_upcase = std::move(upcase); }
    // Called before the table's changed state counts: the window ends an edit still open in a
    // cell, so that what was typed there is in the table.
    void setFinishEditing(std::function<void()> finish) { m_finishEditing = std::move(finish); }

    Document *document() const { return m_document; }
    CategoryTable *table() const { return m_table; }
    // Made here without a parent: the window shows it on a page of its own.
    PreviewEditor *preview() const;
    QUndoStack *history() const { return m_history; }
    TableBot *bot() const { return m_bot; }

    // --- life cycle ---
    // The save question, when the text or the categories changed; false when the command
    // asking it is to stop: Cancel, or Yes without the document being saved.
    bool maybeSave();
    // Save question, open dialog, then the file.
    bool open();
    // Save question, then the file; false when the question stopped it.
    bool open(const QString &fileName);
    // The open dialog, then the file; false when the dialog was cancelled.
    bool LoadFile();
    // Reads the file whole first, so that one that cannot be read leaves the document as it was.
    void openFile(const QString &fileName);
    // The file "last.dat" names, after the save question; false when it names no file or the
    // question stopped it.
    bool openLast();
    // The document built from "template.dat".
    void newDocument(const QString &title, const QString &author, const QString &language);
    // Save question, "last.dat", then no document.
    bool close();
    void saveLast();
    // Save and Save As; false when nothing was written because a question or the save
    // dialog stopped it.
    bool save();
    bool saveAs();
    // The text regenerated from the categories; one step of the preview's own Undo.
    void refresh();
    // Fills the table from the text the preview holds.
    void PourThemInto(const QByteArray &text, TextEncoding encoding);

    // --- the categories, each change one step of the history ---
    int createCategory(const CategoryTexts &texts);
    void editCategory(int row, const CategoryTexts &texts);
    bool deleteCategory(int row);
    void editCell(int column, int row, const QString &text);

Q_SIGNALS:
    // A document is open now (true) or none (false). Sent before the text is shown.
    void openStateChanged(bool open);
    // New, Open or Open Last put a document in place.
    void documentOpened();
    // Reading a document into the table, in three passes.
    void readingStarted();
    void readingProgress(vorrel::ReadPass pass, int steps, int categories);
    void readingFinished();

private:
    enum class Regenerate { No, Yes, Cancelled };
    // The regenerate question when the categories changed; on Yes, `text` is the new text.
    Regenerate askRegenerate(QByteArray *text);
    bool mayReplace(const QString &fileName);
    // Writes the text, after putting `text` in place on Yes; to the document's own file when
    // `fileName` is empty, else to `fileName`, which becomes the document's.
    void write(Regenerate regenerate, const QByteArray &text, const QString &fileName);
    bool saveAs(Regenerate regenerate, const QByteArray &text);
    // The table and its history emptied, before a new text goes in.
    void resetTable();
    // What every document put in place ends with.
    void started();
    void codeChange();
    void finishEditing();

    Document *m_document = nullptr;
    CategoryTable *m_table = nullptr;
    QPointer<PreviewEditor> m_preview;
    QUndoStack *m_history = nullptr;
    TableBot *m_bot = nullptr;
    DocumentQuestions *m_questions = nullptr;
    std::function<bool()> m_upcase;
    std::function<void()> m_finishEditing;
};

} // namespace vorrel

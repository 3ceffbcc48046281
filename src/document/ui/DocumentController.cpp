#include "document/ui/DocumentController.h"

#include "base/Error.h"
#include "base/SafeWrite.h"
#include "bot/TableBot.h"
#include "document/AimlWriter.h"
#include "document/CategoryTable.h"
#include "document/ui/PreviewEditor.h"
#include "editing/CategoryEdit.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUndoStack>

#include <optional>

namespace vorrel {

namespace {

// The history's steps keep texts of their own: cells read from a file refer into the
// preview's text, which Refresh replaces.

class CreateCategory final : public QUndoCommand
{
public:
    CreateCategory(CategoryTable &table, const CategoryTexts &texts)
        : QUndoCommand(QCoreApplication::translate("DocumentController", "Create Category")),
          m_table(table),
          m_texts(texts)
    {
    }
    void redo() override { m_row = appendCategory(m_table, m_texts); }
    void undo() override { m_table.removeGridRow(m_row); }

private:
    CategoryTable &m_table;
    CategoryTexts m_texts;
    int m_row = 0;
};

CategoryTexts categoryAt(const CategoryTable &table, int row)
{
    return { table.cell(PatternColumn, row), table.cell(ThatColumn, row), table.cell(TemplateColumn, row),
        table.cell(TopicColumn, row) };
}

class EditCategory final : public QUndoCommand
{
public:
    EditCategory(CategoryTable &table, int row, const CategoryTexts &texts)
        : QUndoCommand(QCoreApplication::translate("DocumentController", "Edit Category")),
          m_table(table),
          m_row(row),
          m_before(categoryAt(table, row)),
          m_after(texts)
    {
    }
    void redo() override { writeCategory(m_table, m_row, m_after); }
    void undo() override { writeCategory(m_table, m_row, m_before); }

private:
    CategoryTable &m_table;
    int m_row;
    CategoryTexts m_before;
    CategoryTexts m_after;
};

class DeleteCategory final : public QUndoCommand
{
public:
    DeleteCategory(CategoryTable &table, int row)
        : QUndoCommand(QCoreApplication::translate("DocumentController", "Delete Category")), m_table(table), m_row(row)
    {
    }
    void redo() override { m_deleted = deleteCategoryRow(m_table, m_row); }
    void undo() override
    {
        if (m_deleted)
            restoreCategoryRow(m_table, *m_deleted);
    }

private:
    CategoryTable &m_table;
    int m_row;
    std::optional<DeletedCategory> m_deleted;
};

class EditCell final : public QUndoCommand
{
public:
    EditCell(CategoryTable &table, int column, int row, const QString &text)
        : QUndoCommand(QCoreApplication::translate("DocumentController", "Edit Cell")),
          m_table(table),
          m_column(column),
          m_row(row),
          m_before(table.cell(column, row)),
          m_after(text)
    {
    }
    void redo() override { m_table.setCell(m_column, m_row, m_after); }
    void undo() override { m_table.setCell(m_column, m_row, m_before); }

private:
    CategoryTable &m_table;
    int m_column;
    int m_row;
    QString m_before;
    QString m_after;
};

bool sameCategory(const CategoryTexts &a, const CategoryTexts &b)
{
    return a.pattern == b.pattern && a.that == b.that && a.templateText == b.templateText && a.topic == b.topic;
}

// The text the categories give, or the error the command stops with.
QByteArray regeneratedText(const CategoryTable &table, const PreviewEditor &preview, TextEncoding encoding)
{
    RefreshResult result = refreshText(table.rows(), preview.bytes(), encoding);
    if (!result.ok)
        throw VorrelError(result.errorString);
    return std::move(result.text);
}

} // namespace

DocumentController::DocumentController(QObject *parent)
    : QObject(parent),
      m_document(new Document(this)),
      m_table(new CategoryTable(this)),
      m_preview(new PreviewEditor),
      m_history(new QUndoStack(this)),
      m_bot(new TableBot(m_table, this))
{
    connect(m_preview, &QsciScintilla::textChanged, this, &DocumentController::codeChange);
    // The table's cells read from a document refer into the preview's text until it changes.
    connect(m_preview, &PreviewEditor::textAboutToChange, m_table, &CategoryTable::ownBytes);
    connect(
        m_history, &QUndoStack::cleanChanged, m_document, [this](bool clean) { m_document->setTableChanged(!clean); });
    m_table->setCellEditor([this](int column, int row, const QString &text) { editCell(column, row, text); });
}

DocumentController::~DocumentController()
{
    // A preview no window took is still ours.
    if (m_preview && !m_preview->parent())
        delete m_preview;
}

PreviewEditor *DocumentController::preview() const
{
    return m_preview;
}

void DocumentController::codeChange()
{
    m_document->setDocChanged(true);
}

void DocumentController::finishEditing()
{
    if (m_finishEditing)
        m_finishEditing();
}

// --- life cycle ---

bool DocumentController::maybeSave()
{
    finishEditing();
    return m_document->mayDiscard(
        [this] { return m_questions ? m_questions->askSave() : Document::SaveAnswer::Cancel; },
        [this] { return save(); });
}

bool DocumentController::open()
{
    return maybeSave() && LoadFile();
}

bool DocumentController::open(const QString &fileName)
{
    if (!maybeSave())
        return false;
    openFile(fileName);
    return true;
}

bool DocumentController::LoadFile()
{
    const QString fileName = m_questions ? m_questions->chooseFileToOpen() : QString();
    if (fileName.isEmpty())
        return false;
    openFile(fileName);
    return true;
}

void DocumentController::openFile(const QString &fileName)
{
    std::unique_ptr<PreviewEditor::Loader> loader = m_preview->newLoader();
    TextEncoding encoding = TextEncoding::Utf8;
    if (!m_document->readFile(fileName, *loader, &encoding))
        throw VorrelError(m_document->errorString());
    // The old rows go before the old text, which they might otherwise copy out of it.
    resetTable();
    // Before the text is shown: a change of state lays out every line again, and one very long
    // line takes seconds.
    Q_EMIT openStateChanged(true);
    m_preview->show(*loader, encoding);
    // Read in place: the cells refer into the preview's text until it next changes.
    const QByteArrayView text = m_preview->bytes();
    PourThemInto(QByteArray::fromRawData(text.data(), text.size()), encoding);
    // Last, so the change that loading the preview caused does not count.
    m_document->setOpened(fileName, encoding);
    started();
}

bool DocumentController::openLast()
{
    QString fileName;
    if (!m_document->readLast(&fileName))
        throw VorrelError(m_document->errorString());
    // A never-saved document leaves its title here, which names no file: nothing to ask about.
    return QFileInfo(fileName).isFile() && open(fileName);
}

void DocumentController::newDocument(const QString &title, const QString &author, const QString &language)
{
    QByteArray text;
    TextEncoding encoding = TextEncoding::Utf8;
    if (!m_document->readTemplate(author, language, &text, &encoding))
        throw VorrelError(m_document->errorString());
    resetTable();
    Q_EMIT openStateChanged(true);
    m_preview->setBytes(text, encoding);
    m_document->setCreated(title, encoding);
    started();
}

bool DocumentController::close()
{
    if (!maybeSave())
        return false;
    saveLast();
    resetTable();
    m_preview->setBytes({}, m_document->encoding());
    m_document->setClosed();
    Q_EMIT openStateChanged(false);
    m_bot->reset();
    return true;
}

void DocumentController::saveLast()
{
    if (!m_document->saveLast())
        throw VorrelError(m_document->errorString());
}

void DocumentController::resetTable()
{
    m_history->clear();
    m_table->reset();
}

void DocumentController::started()
{
    m_bot->reset();
    Q_EMIT documentOpened();
}

void DocumentController::PourThemInto(const QByteArray &text, TextEncoding encoding)
{
    Q_EMIT readingStarted();
    const auto done = qScopeGuard([this] { Q_EMIT readingFinished(); });
    ReadOptions options;
    options.upcase = m_upcase && m_upcase();
    options.encoding = encoding;
    options.firstLabel = m_table->cell(LabelColumn, 1);
    // The old rows go first, so a large document's memory is reused for the new ones.
    resetTable();
    CategoryRows rows = readCategories(text, options,
        [this](ReadPass pass, int steps, int categories) { Q_EMIT readingProgress(pass, steps, categories); });
    m_table->assignRows(std::move(rows));
}

// --- saving ---

DocumentController::Regenerate DocumentController::askRegenerate(QByteArray *text)
{
    finishEditing();
    if (!m_document->TableChanged())
        return Regenerate::No;
    switch (m_questions ? m_questions->askRegenerate() : Document::SaveAnswer::Cancel) {
    case Document::SaveAnswer::Yes:
        // Made now, so that a text that cannot be regenerated stops the save before any other
        // question; put in only once nothing stops the save any more.
        *text = regeneratedText(*m_table, *m_preview, m_document->encoding());
        return Regenerate::Yes;
    case Document::SaveAnswer::No:
        return Regenerate::No;
    case Document::SaveAnswer::Cancel:
        break;
    }
    return Regenerate::Cancelled;
}

bool DocumentController::mayReplace(const QString &fileName)
{
    // Replacing a file takes only a writable folder: the file's own permission is a wish of its
    // owner, which the user sets aside knowingly or not at all. A link is asked about for the
    // file it leads to, which is what is replaced.
    return !isReadOnlyFile(fileName) || (m_questions && m_questions->askReplaceReadOnly());
}

void DocumentController::write(Regenerate regenerate, const QByteArray &text, const QString &fileName)
{
    if (regenerate == Regenerate::Yes) {
        m_preview->replaceBytes(text);
        m_history->setClean();
    }
    const bool written
        = fileName.isEmpty() ? m_document->save(m_preview->bytes()) : m_document->saveAs(fileName, m_preview->bytes());
    if (!written)
        throw VorrelError(m_document->errorString());
}

bool DocumentController::save()
{
    QByteArray text;
    const Regenerate regenerate = askRegenerate(&text);
    if (regenerate == Regenerate::Cancelled)
        return false;
    if (!m_document->DocHasFile())
        return saveAs(regenerate, text);
    if (!mayReplace(m_document->fileName()))
        return false;
    write(regenerate, text, QString());
    return true;
}

bool DocumentController::saveAs()
{
    QByteArray text;
    const Regenerate regenerate = askRegenerate(&text);
    return regenerate != Regenerate::Cancelled && saveAs(regenerate, text);
}

bool DocumentController::saveAs(Regenerate regenerate, const QByteArray &text)
{
    const QString chosen = m_questions ? m_questions->chooseFileToSave() : QString();
    if (chosen.isEmpty())
        return false;
    const QString fileName = Document::withAimlExtension(chosen);
    if (!mayReplace(fileName))
        return false;
    write(regenerate, text, fileName);
    return true;
}

void DocumentController::refresh()
{
    finishEditing();
    // One step for the preview's Undo: the text before the refresh comes back whole.
    m_preview->replaceBytes(regeneratedText(*m_table, *m_preview, m_document->encoding()));
    m_history->setClean();
}

// --- the categories ---

int DocumentController::createCategory(const CategoryTexts &texts)
{
    m_history->push(new CreateCategory(*m_table, texts));
    return m_table->gridRowCount() - 1;
}

void DocumentController::editCategory(int row, const CategoryTexts &texts)
{
    if (row < 1 || row >= m_table->gridRowCount() || sameCategory(categoryAt(*m_table, row), texts))
        return;
    m_history->push(new EditCategory(*m_table, row, texts));
}

bool DocumentController::deleteCategory(int row)
{
    if (m_table->gridRowCount() <= 2 || row < 1 || row >= m_table->gridRowCount())
        return false;
    m_history->push(new DeleteCategory(*m_table, row));
    return true;
}

void DocumentController::editCell(int column, int row, const QString &text)
{
    if (column <= LabelColumn || column >= CategoryRows::kColumns || row < 1 || row >= m_table->gridRowCount()
        || m_table->cell(column, row) == text)
        return;
    m_history->push(new EditCell(*m_table, column, row, text));
}

} // namespace vorrel

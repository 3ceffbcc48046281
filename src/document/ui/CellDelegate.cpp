#include "document/ui/CellDelegate.h"

#include "document/CategoryTable.h"
#include "document/DocumentText.h"
#include "document/ui/GridLook.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace vorrel {

namespace {

// Lines typed into a cell end as the document's do.
LineEnd documentLineEnd(const QModelIndex &index)
{
    const auto *table = qobject_cast<const CategoryTable *>(index.model());
    return table ? table->rows().lineEnd() : LineEnd::Lf;
}

} // namespace

void CellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem inside = option;
    inside.rect = insideGridLines(option.rect);
    QStyledItemDelegate::paint(painter, inside, index);
    paintGridLines(painter, option.rect, option.palette);
}

QWidget *CellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new QPlainTextEdit(parent);
    editor->setObjectName(QStringLiteral("cellEditor"));
    editor->setFrameShape(QFrame::NoFrame);
    editor->setTabChangesFocus(true);
    editor->installEventFilter(const_cast<CellDelegate *>(this));
    return editor;
}

void CellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *box = static_cast<QPlainTextEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    box->setPlainText(fieldTextFromCell(text));
    // What the box holds before any typing, to tell an untouched cell from an edited one.
    box->setProperty("loaded", cellTextFromRaw(box->document()->toRawText(), documentLineEnd(index)));
    box->moveCursor(QTextCursor::End);
}

void CellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *box = static_cast<QPlainTextEdit *>(editor);
    // An untouched cell is left exactly as it was, whatever line breaks it held.
    const QString edited = cellTextFromRaw(box->document()->toRawText(), documentLineEnd(index));
    if (edited == box->property("loaded").toString())
        return;
    model->setData(index, edited, Qt::EditRole);
}

void CellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == LabelColumn)
        option->backgroundBrush = option->palette.brush(QPalette::Button);
}

void CellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const
{
    editor->setGeometry(insideGridLines(option.rect));
}

bool CellDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !(key->modifiers() & Qt::ShiftModifier)) {
            auto *editor = qobject_cast<QWidget *>(watched);
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

} // namespace vorrel

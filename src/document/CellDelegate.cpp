#include "document/CellDelegate.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace vorrel {

namespace {
// Cells keep CR LF line breaks; the editor works with plain LF.
QString toEditor(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString fromEditor(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}
} // namespace

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
    box->setPlainText(toEditor(text));
    box->setProperty("original", text);
    box->moveCursor(QTextCursor::End);
}

void CellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *box = static_cast<QPlainTextEdit *>(editor);
    const QString original = box->property("original").toString();
    // An untouched cell is left exactly as it was, whatever line breaks it held.
    if (box->toPlainText() == toEditor(original))
        return;
    model->setData(index, fromEditor(box->toPlainText()), Qt::EditRole);
}

void CellDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const
{
    editor->setGeometry(option.rect);
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

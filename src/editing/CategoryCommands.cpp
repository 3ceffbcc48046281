#include "app/Main.h"

#include "document/CategoryTable.h"
#include "editing/CategoryEdit.h"
#include "editing/SelEdit.h"
#include "prefs/Options.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;

namespace {

enum Column { Pattern = 1, That = 2, Template = 3 };

// The category shortcuts and F5 belong to the window, not to the control that has the focus:
// the preview and the cell editor would otherwise claim Ctrl+Del to delete a word.
class WindowShortcutsFirst final : public QObject
{
public:
    WindowShortcutsFirst(TMainForm *form, QList<QAction *> actions)
        : QObject(form), m_form(form), m_actions(std::move(actions))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
            return false;
        if (static_cast<QWidget *>(watched)->window() != m_form)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const QKeySequence pressed(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        for (const QAction *action : m_actions) {
            if (action->shortcut() == pressed) {
                // Refused: the shortcut map then runs the action instead of the control.
                event->ignore();
                return true;
            }
        }
        return false;
    }

private:
    TMainForm *m_form;
    QList<QAction *> m_actions;
};

// Ends an in-place cell edit, keeping what was typed, so that the command sees the table as
// the user sees it and the editor cannot later write its text into a row that has moved.
void finishCellEdit(QTableView *grid)
{
    QWidget *editor = grid->indexWidget(grid->currentIndex());
    if (!editor)
        return;
    QAbstractItemDelegate *delegate = grid->itemDelegate();
    Q_EMIT delegate->commitData(editor);
    Q_EMIT delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

} // namespace

void TMainForm::mnuCreateNewClick()
{
    finishCellEdit(sg1);
    frmSelEdit->editMode = QStringLiteral("create");
    // The fields show what they last held: nothing after an OK, the last texts after a Cancel.
    frmSelEdit->exec();
}

void TMainForm::mnuSelEditClick()
{
    finishCellEdit(sg1);
    frmSelEdit->editMode = QStringLiteral("edit");
    frmSelEdit->editRow = currentRow();
    frmSelEdit->txtPattern->setText(table()->cell(Pattern, frmSelEdit->editRow));
    frmSelEdit->txtThat->setText(table()->cell(That, frmSelEdit->editRow));
    frmSelEdit->setTemplateText(table()->cell(Template, frmSelEdit->editRow));
    frmSelEdit->exec();
}

void TMainForm::mnuSelDeleteClick()
{
    // The last remaining row is never deleted, and nobody is asked about it.
    if (table()->gridRowCount() == 2)
        return;
    finishCellEdit(sg1);
    QMessageBox confirm(QMessageBox::Question, QStringLiteral("Confirm"),
        QStringLiteral("Are you sure you want to delete this category?"), QMessageBox::Yes | QMessageBox::No, this);
    confirm.setObjectName(QStringLiteral("DeleteConfirm"));
    confirm.setDefaultButton(QMessageBox::Yes);
    if (confirm.exec() != QMessageBox::Yes)
        return;
    deleteCategoryRow(*table(), currentRow());
}

void TMainForm::mnuCutClick()
{
    code->cut();
}

void TMainForm::EditCopy()
{
    code->copy();
}

void TMainForm::mnuPasteClick()
{
    code->paste();
}

void TMainForm::setUpEditing()
{
    frmSelEdit->attach(table(), frmOptions->upcase);
    qApp->installEventFilter(new WindowShortcutsFirst(this, { mnuCreateNew, mnuSelEdit, mnuSelDelete, mnuRefresh }));
}

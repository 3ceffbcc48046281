#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;
class TMainForm;

namespace vorrel {
class CategoryTable;
}

namespace editingtest {

// Runs `action` once on the first active modal window whose object name is `name`. Polls
// from a timer, because the modal loop starts only inside the caller's exec(). A modal of
// another name that stays up past the deadline is rejected, so a wrong turn fails the test
// instead of hanging it.
void onModal(const QString &name, std::function<void(QWidget *)> action);

// Stops every wait that onModal left pending.
void cancelModalWaits();

// Presses the push button `button` (by object name) of the modal window `name`.
void pressOnModal(const QString &name, const QString &button);

// Points the program at `dir`, with settings that keep the welcome window away, and returns
// a main window past its start-up routine (no document open).
std::unique_ptr<TMainForm> startedMainForm(const QString &dir);

// Rows 1 and below as {label, pattern, that, template}, replacing what the table held.
void setRows(vorrel::CategoryTable &table, const QList<QStringList> &rows);

// Every row below the header as {label, pattern, that, template}.
QList<QStringList> rowsOf(const vorrel::CategoryTable &table);

} // namespace editingtest

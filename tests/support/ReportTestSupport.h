#pragma once

#include <QString>

#include <functional>
#include <memory>

class QTemporaryDir;
class QWidget;
class TMainForm;

namespace reporttest {

// Waits (polling the event loop) for a modal widget that `matches` accepts and runs `action`
// on it once. Gives up after about ten seconds.
void whenModal(std::function<bool(QWidget *)> matches, std::function<void(QWidget *)> action);

// Same, for the next modal widget of any kind.
void whenModal(std::function<void(QWidget *)> action);

// Drops every watcher that has not fired, so none of them catches a later test's dialog.
void stopWatching();

// Points the program directory at `dir`, with settings that keep the welcome window away,
// and returns a main window after its start-up routine with a document open.
std::unique_ptr<TMainForm> openMainForm(const QString &dir);

} // namespace reporttest

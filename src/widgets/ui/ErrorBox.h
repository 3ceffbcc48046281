#pragma once

#include "base/Error.h"

#include <QString>

#include <utility>

class QWidget;

namespace vorrel {

// The application's error box: caption "AIML Vorrel 3.0", critical icon, OK.
void showErrorBox(QWidget *parent, const QString &message);

// Runs one command, showing anything it throws in the error box. Nothing escapes into
// Qt's signal machinery.
template<typename F> void runCommand(QWidget *parent, F &&command)
{
    try {
        std::forward<F>(command)();
    } catch (const VorrelError &e) {
        showErrorBox(parent, e.message());
    } catch (const std::exception &e) {
        showErrorBox(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorBox(parent, QStringLiteral("Unknown error"));
    }
}

// Wraps a command for connect(): the slot runs the command through runCommand.
template<typename F> auto guarded(QWidget *parent, F command)
{
    return [parent, command = std::move(command)](auto &&...) { runCommand(parent, command); };
}

} // namespace vorrel

#pragma once

#include "base/ui/Shell.h"

#include <QList>
#include <QString>

class QWidget;

namespace vorrel::test {

// Stands in for the shell once installed with Shell::setInstance(): records every request
// instead of starting a browser, mail program or viewer, and answers with `status`.
class ShellDouble final : public Shell
{
public:
    struct Call
    {
        QWidget *owner;
        QString verb;
        QString target;
        ShowMode mode;
        // Whether `observed` was on screen when the request came.
        bool observedVisible;
    };

    explicit ShellDouble(int answer = kShellSuccess);

    int open(QWidget *owner, const QString &verb, const QString &target, ShowMode mode) override;

    int status;
    QList<Call> calls;
    // A window that should be gone before the shell is asked, for the tests that say so.
    QWidget *observed = nullptr;
};

} // namespace vorrel::test

#include "ShellDouble.h"

#include <QWidget>

namespace vorrel::test {

ShellDouble::ShellDouble(int answer) : status(answer)
{
}

int ShellDouble::open(QWidget *owner, const QString &verb, const QString &target, ShowMode mode)
{
    calls.append({ owner, verb, target, mode, observed && observed->isVisible() });
    return status;
}

} // namespace vorrel::test

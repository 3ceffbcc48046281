#include "base/ui/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vorrel {

namespace {

class DesktopShell final : public Shell
{
public:
    int open(QWidget *, const QString &, const QString &target, ShowMode) override
    {
        const QUrl url = QUrl::fromUserInput(target);
        // A path is handed over whole, blanks included; a missing file fails here rather
        // than in some viewer the user never sees.
        if (url.isLocalFile() || !target.contains(QLatin1Char(':'))) {
            const QFileInfo info(target);
            if (!info.exists())
                return kShellFileNotFound;
            return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? kShellSuccess
                                                                                           : kShellNoAssociation;
        }
        return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode)) ? kShellSuccess : kShellNoAssociation;
    }
};

Shell *&current()
{
    static Shell *shell = nullptr;
    return shell;
}

} // namespace

Shell &Shell::instance()
{
    static DesktopShell desktop;
    return current() ? *current() : desktop;
}

void Shell::setInstance(Shell *shell)
{
    current() = shell;
}

} // namespace vorrel

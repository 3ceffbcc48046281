#pragma once

#include <QString>

class QWidget;

namespace vorrel {

// How the opened window is to be shown; the labels and help commands differ only here.
enum class ShowMode { Plain, Normal };

// The shell's "open with the associated application". The status follows the old
// convention: above 32 is success, 32 or less failure.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual int open(QWidget *owner, const QString &verb, const QString &target, ShowMode mode) = 0;

    static Shell &instance();
    // Tests install a double; passing nullptr restores the real shell.
    static void setInstance(Shell *shell);
};

inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellNoAssociation = 31;
inline constexpr int kShellSuccess = 42;

inline bool shellSucceeded(int status)
{
    return status > 32;
}

} // namespace vorrel

#pragma once

#include <QLocale>
#include <QStringList>

#include <vector>

class QTranslator;

namespace vorrel {

// Installs Qt's own translations and the program's for `locale` into the running application:
// the program's are looked for in `folders` in turn (the first that holds one wins). A language
// without a translation leaves the English texts. Returns the translators installed, owned by
// the application, so that a caller can take them out again.
std::vector<QTranslator *> installTranslators(const QLocale &locale, const QStringList &folders);

// The same for the desktop's language, with the program's translations beside the executable
// or in the installed data folder.
void installTranslators();

} // namespace vorrel

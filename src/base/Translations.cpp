#include "base/Translations.h"

#include "base/ProgramFiles.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vorrel {

namespace {

QTranslator *loaded(const QLocale &locale, const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, QStringLiteral("_"), folder) && QCoreApplication::installTranslator(translator))
        return translator;
    delete translator;
    return nullptr;
}

} // namespace

std::vector<QTranslator *> installTranslators(const QLocale &locale, const QStringList &folders)
{
    std::vector<QTranslator *> installed;
    // Without a translation of the program, Qt's own buttons would stand in another language
    // than the program's texts around them.
    for (const QString &folder : folders) {
        if (QTranslator *own = loaded(locale, kProgramName, folder)) {
            installed.push_back(own);
            break;
        }
    }
    if (installed.empty())
        return installed;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &name : { QStringLiteral("qtbase"), QStringLiteral("qscintilla") }) {
        if (QTranslator *qt = loaded(locale, name, qtFolder))
            installed.push_back(qt);
    }
    return installed;
}

void installTranslators()
{
    installTranslators(QLocale::system(), { programDir(), installedDataDir() });
}

} // namespace vorrel

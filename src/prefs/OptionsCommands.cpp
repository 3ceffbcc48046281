#include "prefs/Options.h"

#include "app/AppInfo.h"
#include "app/ErrorBox.h"
#include "app/Main.h"
#include "prefs/IniProfile.h"
#include "prefs/IntText.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;

namespace {

const QString kFont = QStringLiteral("Font");
const QString kPreferences = QStringLiteral("Preferences");

QString onOff(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

int pointSizeOf(const QFont &font)
{
    // A font given in pixels has no point size of its own; ask what it comes out as.
    return font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
}

} // namespace

void TMainForm::mnuOptionsClick()
{
    frmOptions->exec();
}

void TfrmOptions::cmdChangeClick()
{
    fonts->setCurrentFont(m_lastFont);
    if (fonts->exec() != QDialog::Accepted)
        return;
    m_lastFont = fonts->selectedFont();
    fontname->setText(m_lastFont.family());
    fontsize->setText(QString::number(pointSizeOf(m_lastFont)));
}

void TfrmOptions::cmdBrowseClick()
{
    const QString current = txtDir->text();
    const QFileInfo folder(current);
    m_folderBrowser->setDirectory(!current.isEmpty() && folder.isDir() ? folder.absoluteFilePath() : QDir::rootPath());
    if (m_folderBrowser->exec() != QDialog::Accepted)
        return;
    const QStringList chosen = m_folderBrowser->selectedFiles();
    if (!chosen.isEmpty())
        txtDir->setText(QDir::toNativeSeparators(chosen.first()));
}

void TfrmOptions::cmdDefaultsClick()
{
    const IniProfile defs = IniProfile::load(programFile(QStringLiteral("defs.dat")));
    const QString name = defs.readString(kFont, QStringLiteral("Name"), QStringLiteral("Lucida Console"));
    const int size = defs.readInteger(kFont, QStringLiteral("Size"), 10);
    if (TMainForm *main = mainForm()) {
        // The editor's own font, for all of its text at once; nothing is selected.
        QFont font = main->code->font();
        font.setFamily(name);
        if (size > 0)
            font.setPointSize(size);
        main->code->setFont(font);
    }
    fontname->setText(name);
    fontsize->setText(QString::number(size));
    setCodeCompIndex(defs.readInteger(kPreferences, QStringLiteral("SCC"), 0));
    comments->setChecked(defs.readBool(kPreferences, QStringLiteral("Comments"), true));
    dialog->setChecked(defs.readBool(kPreferences, QStringLiteral("Dlg"), true));
}

void TfrmOptions::cmdOKClick()
{
    const QString file = programFile(QStringLiteral("opts.ini"));
    // Each key is stored on its own, as the settings file was always written; the first
    // failure stops the rest.
    const auto put = [&file](const QString &section, const QString &key, const QString &value) {
        if (!writeProfileString(section, key, value, file))
            throw VorrelError(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(file)));
    };
    put(kFont, QStringLiteral("Name"), fontname->text());
    const std::optional<int> size = strToInt(fontsize->text());
    if (!size)
        throw VorrelError(QStringLiteral("'%1' is not a valid integer value").arg(fontsize->text()));
    put(kFont, QStringLiteral("Size"), QString::number(*size));
    put(kPreferences, QStringLiteral("SCC"), QString::number(codeCompIndex()));
    put(kPreferences, QStringLiteral("Comments"), onOff(comments->isChecked()));
    put(kPreferences, QStringLiteral("InitDir"), txtDir->text());
    put(kPreferences, QStringLiteral("Dlg"), onOff(dialog->isChecked()));
    put(kPreferences, QStringLiteral("UCase"), onOff(upcase->isChecked()));
    if (TMainForm *main = mainForm())
        main->applyPreviewFont(fontname->text(), *size);
}

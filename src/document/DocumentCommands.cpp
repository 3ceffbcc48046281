#include "app/AppInfo.h"
#include "app/ErrorBox.h"
#include "app/Main.h"

#include <QFile>
#include <QLabel>

#include <Qsci/qsciscintilla.h>

using namespace vorrel;

// Placeholders until the document commands are built.
void TMainForm::FileNew() { }
void TMainForm::FileOpenItemClick() { }
void TMainForm::SpeedButton2Click() { FileOpenItemClick(); }
void TMainForm::FileSave() { }
void TMainForm::FileSaveAs() { }
void TMainForm::mnuCloseClick() { }
void TMainForm::LoadFile() { }
void TMainForm::PourThemInto(const QByteArray &) { }
void TMainForm::mnuRefreshClick() { }
void TMainForm::loadPreviewFromFile(const QString &) { }
QByteArray TMainForm::previewBytes() const { return code->text().toUtf8(); }
void TMainForm::setPreviewBytes(const QByteArray &bytes) { code->setText(QString::fromUtf8(bytes)); }

void TMainForm::codeChange()
{
    DocChanged = true;
}

void TMainForm::SaveLast()
{
    const QString fileName = programFile(QStringLiteral("last.dat"));
    if (QFile::exists(fileName))
        QFile::remove(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw VorrelError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    const QByteArray line = path->text().toUtf8() + "\r\n";
    if (file.write(line) != line.size())
        throw VorrelError(QStringLiteral("Unable to write to %1").arg(fileName));
}

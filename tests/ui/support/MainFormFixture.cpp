#include "MainFormFixture.h"

#include "TestFiles.h"

#include "app/Main.h"
#include "base/ProgramFiles.h"
#include "document/Document.h"
#include "document/ui/PreviewEditor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vorrel::test {

std::unique_ptr<TMainForm> startedMainForm()
{
    auto form = std::make_unique<TMainForm>();
    form->Timer1Timer();
    return form;
}

QByteArray previewBytes(const TMainForm &form)
{
    return form.code->bytes().toByteArray();
}

void setPreviewBytes(TMainForm &form, const QByteArray &bytes)
{
    form.code->setBytes(bytes, form.document()->encoding());
}

} // namespace vorrel::test

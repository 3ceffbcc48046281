#pragma once

#include "ModalScript.h"
#include "TestFiles.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QWidget;
class TMainForm;

namespace vorrel::test {

// A main window after its start-up routine, reading the present program directory.
std::unique_ptr<TMainForm> startedMainForm();

// The preview's bytes, and the preview given new text, line ends as they are, as opening a
// file would leave them.
QByteArray previewBytes(const TMainForm &form);
void setPreviewBytes(TMainForm &form, const QByteArray &bytes);

} // namespace vorrel::test

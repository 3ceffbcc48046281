#pragma once

#include <QDialog>

class QDialogButtonBox;
class QGroupBox;
class QLabel;

namespace vorrel {
struct ReportFigures;
}

// The "General Report" window: counts taken from the preview text, refilled before each showing.
class TfrmReport final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmReport(QWidget *parent = nullptr);

    // Puts the figures into the value boxes.
    void showFigures(const vorrel::ReportFigures &figures);

    QGroupBox *GroupBox1 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    QLabel *txtWords = nullptr;
    QLabel *chars = nullptr;
    QLabel *version = nullptr;
    QLabel *cats = nullptr;
    QLabel *random = nullptr;
    QLabel *srai = nullptr;
    QLabel *think = nullptr;
    QDialogButtonBox *buttons = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};

#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QFontDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Options dialog. Its controls are the only run-time store of the seven settings.
class TfrmOptions final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmOptions(QWidget *parent = nullptr);

    // Index of the chosen code-completion item; -1 when none is chosen.
    int codeCompIndex() const;
    // Above 1 selects the last item, below -1 becomes -1, and -1 selects none.
    void setCodeCompIndex(int index);

    QLabel *Label1 = nullptr;
    QLabel *fontname = nullptr;
    QLabel *fontsize = nullptr;
    QPushButton *cmdChange = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtDir = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QGroupBox *codeComp = nullptr;
    QCheckBox *comments = nullptr;
    QCheckBox *dialog = nullptr;
    QCheckBox *upcase = nullptr;
    QPushButton *cmdDefaults = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdOK = nullptr;
    QFontDialog *fonts = nullptr;

private:
    QButtonGroup *m_codeCompItems = nullptr;
    QRadioButton *m_limited = nullptr;
    QRadioButton *m_none = nullptr;
};

#pragma once

#include "document/TextSearch.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The Find and Replace window. It stays open beside the main window, which does the finding
// and replacing when asked through the signals.
class TfrmFind final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFind(QWidget *parent = nullptr);

    vorrel::SearchOptions options() const;
    QString replacement() const;

    // Brings the window up for finding or for replacing, with `text` to look for unless it is
    // empty; the search text is selected for typing over.
    void showFor(bool replacing, const QString &text);
    // Off where nothing can be replaced.
    void setReplaceEnabled(bool enabled);

    QLabel *lblFind = nullptr;
    QLineEdit *txtFind = nullptr;
    QLabel *lblReplace = nullptr;
    QLineEdit *txtReplace = nullptr;
    QCheckBox *chkCase = nullptr;
    QCheckBox *chkWholeWords = nullptr;
    QCheckBox *chkRegExp = nullptr;
    QPushButton *cmdFindNext = nullptr;
    QPushButton *cmdReplace = nullptr;
    QPushButton *cmdReplaceAll = nullptr;
    QPushButton *cmdClose = nullptr;

Q_SIGNALS:
    void findRequested(bool forward);
    void replaceRequested();
    void replaceAllRequested();
};

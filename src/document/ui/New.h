#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The New Document dialog. Created once, so its fields keep what was typed last time.
class TfrmNew final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmNew(QWidget *parent = nullptr);

    // Asks for the new document with the typed title, author and language.
    void cmdOKClick();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtTitle = nullptr;
    QLineEdit *txtAuthor = nullptr;
    QLineEdit *txtLanguage = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

Q_SIGNALS:
    void newDocumentRequested(const QString &title, const QString &author, const QString &language);

protected:
    void showEvent(QShowEvent *event) override;
};

#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QAction;
class QGroupBox;
class QInputDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolBar;
class QToolButton;

namespace vorrel {
class DocumentController;
}

// The category dialog: one category's pattern, that, template and topic, framed by their tags.
// OK writes the category table, as one step of its history: a new last row in "create" mode,
// row editRow in "edit" mode.
class TfrmSelEdit final : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmSelEdit(QWidget *parent = nullptr);

    // The document whose table OK writes into, and what says at each OK whether patterns are
    // upper-cased.
    void attach(vorrel::DocumentController *document, std::function<bool()> upcase);

    // The template box's text as a cell holds it (the document's line breaks), and the other way.
    QString templateText() const;
    void setTemplateText(const QString &cellText);

    // Handlers; they throw on failure and run through the error box. Each AutoText insertion
    // is one step of the template box's own Undo.
    void cmdOKClick();
    void SRAI1Click();
    void RANDOM1Click();

    // "create" or "edit"; empty until the first category command.
    QString editMode;
    // The row "Edit Selected" loaded; the row OK writes back in "edit" mode.
    int editRow = 0;

    QGroupBox *Script = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtPattern = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *txtThat = nullptr;
    QLabel *Label4 = nullptr;
    // The template box; its object name is "template", a word C++ keeps for itself.
    QPlainTextEdit *template_ = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label2 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QToolButton *cmdAutotext = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *SRAI1 = nullptr;
    QAction *RANDOM1 = nullptr;
    QAction *JAVASCRIPT1 = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdOK = nullptr;
    // The topic, framed by `<topic name="` and `">`, on the bottom row.
    QLabel *Label7 = nullptr;
    QLineEdit *txtTopic = nullptr;
    QLabel *Label8 = nullptr;
    // The small box that asks RANDOM for its number of options.
    QInputDialog *randomBox = nullptr;

protected:
    // A new desktop theme: the tags take the shades of its light or dark set.
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void connectCommands();

    vorrel::DocumentController *m_document = nullptr;
    std::function<bool()> m_upcase;
};

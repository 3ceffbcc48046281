#pragma once

#include <QDialog>

class QFrame;
class QPushButton;
class TEmaillabel;
class TScrollingCredits;
class TUrlLabel;

// The About window: the program's credits scrolling in a panel, links to the maker's site and
// mail, and OK. The credits move only while the window is shown.
class TAboutBox final : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);

    void OKButtonClick();
    // Runs at every close, whichever way the window goes.
    void FormClose();

    void done(int result) override;

    QFrame *const Panel1;
    TScrollingCredits *const sc1;
    TUrlLabel *const UrlLabel1;
    TEmaillabel *const Emaillabel1;
    QPushButton *const OKButton;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
};

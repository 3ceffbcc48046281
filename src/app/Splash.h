#pragma once

#include "widgets/ui/ClickTracker.h"

#include <QDialog>

#include <array>

class QLabel;

namespace vorrel {
class TGradient;
}

// The welcome window: six text links over a gradient, shown once at start-up when the
// settings ask for it. It is not modal; the main window stays usable behind it. The links
// for documents and help tell the main window what was chosen; the window closes itself
// first, except for Open Last, which leaves it up until a document is open.
class TStartUp final : public QDialog
{
    Q_OBJECT

public:
    // `parent` is the main window, which also owns the tutorial's shell request.
    explicit TStartUp(QWidget *parent = nullptr);

    // What each link does. A click on a link shows what it throws in the error box.
    void NewFileClick();
    void OpenLastFileClick();
    void OpenFileClick();
    void HelpClick();
    void TutorialClick();
    void CloseWinClick();

    // The pointer over a link turns it lime; over the background, all links turn red again.
    void LinkMouseMove(QLabel *link);
    void Gradient1MouseMove();

    vorrel::TGradient *Gradient1 = nullptr;
    QLabel *NewFile = nullptr;
    QLabel *OpenLastFile = nullptr;
    QLabel *OpenFile = nullptr;
    QLabel *Help = nullptr;
    QLabel *Tutorial = nullptr;
    QLabel *CloseWin = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    QLabel *Image4 = nullptr;
    QLabel *Image5 = nullptr;
    QLabel *Image6 = nullptr;

Q_SIGNALS:
    void newRequested();
    void openRequested();
    void openLastRequested();
    void helpRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Link
    {
        QLabel *label;
        void (TStartUp::*click)();
    };

    std::array<Link, 6> m_links {};
    vorrel::ClickTracker m_click;
};

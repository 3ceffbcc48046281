#pragma once

#include "widgets/ui/ClickTracker.h"

#include <QLabel>

// A label that acts as a link: blue and underlined from the start, and clicking it runs
// Click(), which the web and mail labels override to hand their address to the shell.
class TLinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TLinkLabel(QWidget *parent = nullptr);

    // What a click does. Errors are thrown to the caller; a mouse click shows them in the
    // application's error box.
    virtual void Click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    // Whether text is empty once blanks and control characters are cut from both ends.
    static bool isBlank(const QString &text);

private:
    vorrel::ClickTracker m_click;
};

#include "widgets/ui/LabelTypes.h"

#include "widgets/ui/ErrorBox.h"
#include "widgets/ui/ThemeColors.h"

#include <QMouseEvent>

#include <algorithm>

TLinkLabel::TLinkLabel(QWidget *parent) : QLabel(parent)
{
    // Pure blue on a light window; on a dark one the theme's lighter blue, which stays readable.
    vorrel::useTagColor(this, vorrel::TagColor::Blue);
    QFont underlined = font();
    underlined.setBold(false);
    underlined.setItalic(false);
    underlined.setStrikeOut(false);
    underlined.setUnderline(true);
    setFont(underlined);
}

void TLinkLabel::Click()
{
    // A plain label has nothing to do on a click; the link labels add their own behaviour.
}

void TLinkLabel::mousePressEvent(QMouseEvent *event)
{
    m_click.press(event);
    QLabel::mousePressEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_click.release(event, rect());
    QLabel::mouseReleaseEvent(event);
    if (click)
        vorrel::runCommand(window(), [this] { Click(); });
}

bool TLinkLabel::isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar ch) { return ch <= u' '; });
}

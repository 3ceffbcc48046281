#include "widgets/ui/Emaillabel.h"

#include "base/ui/Shell.h"
#include "widgets/ui/ErrorBox.h"

TEmaillabel::TEmaillabel(QWidget *parent) : TLinkLabel(parent)
{
}

void TEmaillabel::setSubject(const QString &subject)
{
    m_subject = subject;
}

void TEmaillabel::setRecipient(const QString &recipient)
{
    m_recipient = recipient;
}

void TEmaillabel::Click()
{
    TLinkLabel::Click();
    if (isBlank(m_recipient))
        throw vorrel::VorrelError(QStringLiteral("Error: Please Specify a Recipients Email Address"));
    const QString address = QStringLiteral("mailto:") + m_recipient + QStringLiteral("?subject=") + m_subject;
    vorrel::Shell::instance().open(nullptr, QStringLiteral("Open"), address, vorrel::ShowMode::Normal);
}

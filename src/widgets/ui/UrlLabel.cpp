#include "widgets/ui/UrlLabel.h"

#include "base/ui/Shell.h"
#include "widgets/ui/ErrorBox.h"

TUrlLabel::TUrlLabel(QWidget *parent) : TLinkLabel(parent)
{
}

void TUrlLabel::setURL(const QString &url)
{
    m_url = url;
}

void TUrlLabel::Click()
{
    TLinkLabel::Click();
    if (isBlank(m_url))
        throw vorrel::VorrelError(QStringLiteral("Error: Property URL not Specified"));
    // Deliberately silent when nothing opens: the status is not examined.
    vorrel::Shell::instance().open(nullptr, QStringLiteral("Open"), m_url, vorrel::ShowMode::Plain);
}

#pragma once

#include "widgets/ui/LabelTypes.h"

// A link label that opens its web address.
class TUrlLabel final : public TLinkLabel
{
    Q_OBJECT

public:
    explicit TUrlLabel(QWidget *parent = nullptr);

    const QString &URL() const { return m_url; }
    void setURL(const QString &url);

    // Opens URL through the shell as it stands; throws when it holds nothing but blanks.
    void Click() override;

private:
    QString m_url;
};

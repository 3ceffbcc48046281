#pragma once

#include "widgets/ui/LabelTypes.h"

// A link label that starts a mail to Recipient with the given Subject.
class TEmaillabel final : public TLinkLabel
{
    Q_OBJECT

public:
    explicit TEmaillabel(QWidget *parent = nullptr);

    const QString &Subject() const { return m_subject; }
    void setSubject(const QString &subject);
    const QString &Recipient() const { return m_recipient; }
    void setRecipient(const QString &recipient);

    // Hands "mailto:" + Recipient + "?subject=" + Subject to the shell, unescaped; throws
    // when Recipient holds nothing but blanks.
    void Click() override;

private:
    QString m_subject;
    QString m_recipient;
};

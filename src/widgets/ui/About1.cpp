#include "widgets/ui/About1.h"
#include "widgets/ui/FormFont.h"
#include "widgets/ui/ThemeColors.h"
#include "widgets/ui/WindowPlacement.h"

#include "widgets/ui/Credits.h"
#include "widgets/ui/Emaillabel.h"
#include "widgets/ui/UrlLabel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QPushButton>

namespace {

const QStringList &aboutCredits()
{
    static const QStringList lines = {
        QStringLiteral("&c255,0,0;&b&uAIML Vorrel 3.1"),
        QCoreApplication::translate("TAboutBox", "Written by the AIML Vorrel developers"),
        QCoreApplication::translate("TAboutBox", "Copyright (c) 2026 the AIML Vorrel developers"),
        QCoreApplication::translate("TAboutBox", "Design, programming and icons by the AIML Vorrel developers"),
        QCoreApplication::translate("TAboutBox", "Developed from January to March 2026"),
        QString(),
        QStringLiteral("&c0,255,0;")
            + QCoreApplication::translate("TAboutBox", "Artificial Intelligence Markup Language Professional Editor"),
        QCoreApplication::translate("TAboutBox", "The icons were drawn for AIML Vorrel and share its licence"),
        QString(),
        QStringLiteral(" "),
        QString(),
        QStringLiteral(" "),
        QString(),
        QCoreApplication::translate("TAboutBox", "Visit the A.L.I.C.E. AI Foundation, the publisher of AIML"),
        QStringLiteral("&u&c0,255,255;") + QCoreApplication::translate("TAboutBox", "Website: http://www.alicebot.org"),
        QString(),
        QCoreApplication::translate(
            "TAboutBox", "For more information about AIML Vorrel please refer to the readme.rtf file provided."),
    };
    return lines;
}

QFont linkFont()
{
    QFont font = vorrel::formFontPixels(13);
    font.setUnderline(true);
    return font;
}

} // namespace

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent),
      Panel1(new QFrame(this)),
      sc1(new TScrollingCredits(Panel1)),
      UrlLabel1(new TUrlLabel(this)),
      Emaillabel1(new TEmaillabel(this)),
      OKButton(new QPushButton(tr("OK"), this))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(tr("About"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
    setFont(vorrel::formFont(8));
    setFixedSize(489, 282);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    // An etched edge: lowered outside, raised inside.
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setMidLineWidth(0);
    Panel1->setGeometry(0, 0, 489, 241);

    sc1->setObjectName(QStringLiteral("sc1"));
    sc1->setGeometry(4, 4, 481, 233);
    sc1->setCredits(aboutCredits());
    QFont creditsFont(QStringLiteral("Tahoma"));
    creditsFont.setPixelSize(13);
    sc1->setCreditsFont(creditsFont);
    sc1->setCreditsFontColor(vorrel::clWhite);
    sc1->setBackgroundColor(vorrel::rgbColor(0, 0, 0));
    sc1->setBorderColor(vorrel::clWhite);
    sc1->setAnimate(false);
    sc1->setInterval(55);
    sc1->setShowBorder(true);

    UrlLabel1->setObjectName(QStringLiteral("UrlLabel1"));
    UrlLabel1->setText(tr("Visit Cendaro Website"));
    UrlLabel1->setURL(QStringLiteral("https://vorrel.example.org"));
    UrlLabel1->setCursor(Qt::PointingHandCursor);
    UrlLabel1->setFont(linkFont());
    UrlLabel1->adjustSize();
    UrlLabel1->move(8, 254);

    Emaillabel1->setObjectName(QStringLiteral("Emaillabel1"));
    Emaillabel1->setText(tr("E-mail me"));
    Emaillabel1->setSubject(QStringLiteral("About AIML Vorrel 3.0"));
    Emaillabel1->setRecipient(QStringLiteral("vorrel@example.org"));
    Emaillabel1->setCursor(Qt::PointingHandCursor);
    Emaillabel1->setFont(linkFont());
    Emaillabel1->adjustSize();
    Emaillabel1->move(width() - 8 - Emaillabel1->width(), 254);

    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry((width() - 75) / 2, 249, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::OKButtonClick()
{
    sc1->setAnimate(false);
    accept();
}

void TAboutBox::FormClose()
{
    sc1->setAnimate(false);
}

void TAboutBox::done(int result)
{
    // OK, Escape, the close box and the system menu all end here.
    FormClose();
    QDialog::done(result);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    vorrel::centreOnScreen(this);
}

void TAboutBox::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // The link labels' blue follows the theme.
    if (event->type() == QEvent::PaletteChange)
        vorrel::updateTagColors(this);
}

#include "report/Report.h"
#include "widgets/FormFont.h"
#include "widgets/WindowPlacement.h"

#include "report/ReportCounts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *valueBox(QWidget *parent, const char *name)
{
    auto *box = new QLabel(parent);
    box->setObjectName(QLatin1String(name));
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setAlignment(Qt::AlignCenter);
    // Values such as the version excerpt are document text, never markup.
    box->setTextFormat(Qt::PlainText);
    box->setMinimumWidth(160);
    return box;
}

QLabel *rowCaption(QWidget *parent, const QString &text)
{
    auto *caption = new QLabel(parent);
    caption->setTextFormat(Qt::PlainText);
    caption->setText(text);
    return caption;
}

} // namespace

TfrmReport::TfrmReport(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(tr("General Report"));
    // A fixed dialog with nothing but the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(vorrel::formFont(8));

    GroupBox1 = new QGroupBox(tr("Text Report"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    txtWords = valueBox(GroupBox1, "txtWords");
    chars = valueBox(GroupBox1, "chars");
    auto *textRows = new QFormLayout(GroupBox1);
    textRows->addRow(rowCaption(GroupBox1, tr("Words:")), txtWords);
    textRows->addRow(rowCaption(GroupBox1, tr("Characters:")), chars);

    GroupBox2 = new QGroupBox(tr("AIML Report"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    version = valueBox(GroupBox2, "version");
    cats = valueBox(GroupBox2, "cats");
    random = valueBox(GroupBox2, "random");
    srai = valueBox(GroupBox2, "srai");
    think = valueBox(GroupBox2, "think");
    auto *aimlRows = new QFormLayout(GroupBox2);
    aimlRows->addRow(rowCaption(GroupBox2, tr("AIML version:")), version);
    aimlRows->addRow(rowCaption(GroupBox2, tr("Categories:")), cats);
    aimlRows->addRow(rowCaption(GroupBox2, tr("<random> tags:")), random);
    aimlRows->addRow(rowCaption(GroupBox2, tr("<srai> tags:")), srai);
    aimlRows->addRow(rowCaption(GroupBox2, tr("<think> tags:")), think);

    buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    buttons->setCenterButtons(true);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmReport::showFigures(const vorrel::ReportFigures &figures)
{
    txtWords->setText(QString::number(figures.words));
    chars->setText(QString::number(figures.characters));
    version->setText(figures.version);
    cats->setText(QString::number(figures.categories));
    random->setText(QString::number(figures.randoms));
    srai->setText(QString::number(figures.srais));
    think->setText(QString::number(figures.thinks));
}

void TfrmReport::showEvent(QShowEvent *event)
{
    vorrel::centreOnScreen(this);
    QDialog::showEvent(event);
}

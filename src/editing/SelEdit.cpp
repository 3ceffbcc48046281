#include "editing/SelEdit.h"

#include "document/CategoryTable.h"
#include "document/DocumentController.h"
#include "editing/CategoryEdit.h"
#include "widgets/ErrorBox.h"
#include "widgets/FormFont.h"
#include "widgets/ThemeColors.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

using namespace vorrel;

namespace {

// The form's colours, each in a shade readable in the desktop's theme.
constexpr TagColor kBlue = TagColor::Blue;
constexpr TagColor kMaroon = TagColor::Maroon;
constexpr TagColor kPurple = TagColor::Purple;
constexpr TagColor kGreen = TagColor::Green;

// Room between a field and the tags either side of it, as the form leaves it.
constexpr int kTagGap = 3;

QLabel *styleTagLabel(QLabel *label, const char *name, TagColor color, int left, int top)
{
    label->setObjectName(QLatin1String(name));
    useTagColor(label, color);
    // A reader hears the tags, not the run of blanks a field covers.
    label->setAccessibleName(label->text().simplified());
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel *tagLabel(QWidget *parent, const char *name, const QString &text, TagColor color, int left, int top)
{
    auto *label = new QLabel(parent);
    // Tags must show as text; a label would otherwise take them for markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return styleTagLabel(label, name, color, left, top);
}

// A tag label that frames a field lying over its run of blanks. The blanks stretch or shrink
// so that the opening tag stands left of the field and the closing tag just right of it,
// whatever the width of a blank in the font at hand; a face much wider than the form's own
// is drawn smaller until both tags fit.
class TagFrameLabel final : public QLabel
{
public:
    TagFrameLabel(QWidget *parent, int blanksBefore, const QString &openTag, int blanksBetween, const QString &closeTag)
        : QLabel(parent), m_blanksBefore(blanksBefore), m_openTag(openTag), m_closeTag(closeTag)
    {
        setTextFormat(Qt::PlainText);
        setText(
            QString(blanksBefore, QLatin1Char(' ')) + openTag + QString(blanksBetween, QLatin1Char(' ')) + closeTag);
    }

    // Places the tags around `field`, a sibling; `width` is the label's width at the form's size.
    void frame(const QWidget *field, int width)
    {
        m_fieldLeft = field->x() - x();
        m_closeLeft = field->x() + field->width() + kTagGap - x();
        const int room = parentWidget()->width() - x() - kTagGap;
        QFont f = font();
        for (;;) {
            const QFontMetrics fm(f);
            if ((fm.horizontalAdvance(m_openTag) + kTagGap <= m_fieldLeft
                    && m_closeLeft + fm.horizontalAdvance(m_closeTag) <= room)
                || f.pointSize() <= 6)
                break;
            f.setPointSize(f.pointSize() - 1);
        }
        setFont(f);
        const QFontMetrics fm(f);
        resize(std::max(width, m_closeLeft + fm.horizontalAdvance(m_closeTag)), fm.height() + 2);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        const QFontMetrics fm(font());
        const int openWidth = fm.horizontalAdvance(m_openTag);
        const int openLeft = std::max(
            0, std::min(m_blanksBefore * fm.horizontalAdvance(QLatin1Char(' ')), m_fieldLeft - kTagGap - openWidth));
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        painter.drawText(QRect(openLeft, 0, openWidth + 1, height()), flags, m_openTag);
        painter.drawText(QRect(m_closeLeft, 0, width() - m_closeLeft, height()), flags, m_closeTag);
    }

private:
    int m_blanksBefore;
    QString m_openTag;
    QString m_closeTag;
    int m_fieldLeft = 0;
    int m_closeLeft = 0;
};

} // namespace

TfrmSelEdit::TfrmSelEdit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSelEdit"));
    setWindowTitle(tr("Category"));
    // A close box and no other border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(formFont(10));
    setFixedSize(593, 384);

    createControls();
    connectCommands();
}

void TfrmSelEdit::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateTagColors(this);
}

void TfrmSelEdit::createControls()
{
    Script = new QGroupBox(tr("Script"), this);
    Script->setObjectName(QStringLiteral("Script"));
    Script->setGeometry(4, 4, 585, 333);

    Label1 = tagLabel(Script, "Label1", QStringLiteral("<category>"), kBlue, 8, 20);

    auto *pattern = new TagFrameLabel(Script, 0, QStringLiteral("<pattern>"), 150, QStringLiteral("</pattern>"));
    Label3 = styleTagLabel(pattern, "Label3", kMaroon, 9, 48);
    txtPattern = new QLineEdit(Script);
    txtPattern->setObjectName(QStringLiteral("txtPattern"));
    txtPattern->setGeometry(68, 44, 441, 24);
    // Without names of their own the fields would all be announced by their group's caption.
    txtPattern->setAccessibleName(tr("Pattern"));
    pattern->frame(txtPattern, 564);

    auto *that = new TagFrameLabel(Script, 6, QStringLiteral("<that>"), 151, QStringLiteral("</that>"));
    Label6 = styleTagLabel(that, "Label6", kPurple, 8, 80);
    txtThat = new QLineEdit(Script);
    txtThat->setObjectName(QStringLiteral("txtThat"));
    txtThat->setGeometry(68, 76, 441, 24);
    txtThat->setAccessibleName(tr("That"));
    that->frame(txtThat, 545);

    Label4 = tagLabel(Script, "Label4", QStringLiteral("<template>"), kGreen, 8, 104);
    template_ = new QPlainTextEdit(Script);
    template_->setObjectName(QStringLiteral("template"));
    template_->setGeometry(8, 124, 569, 157);
    template_->setAccessibleName(tr("Template"));
    template_->setLineWrapMode(QPlainTextEdit::NoWrap);
    template_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    template_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Enter makes a new line here; Tab moves on to the buttons, as in the other fields.
    template_->setTabChangesFocus(true);
    Label5 = tagLabel(Script, "Label5", QStringLiteral("</template>"), kGreen, 8, 284);
    Label2 = tagLabel(Script, "Label2", QStringLiteral("</category>"), kBlue, 8, 304);

    // The fields lie over the blanks of their tag labels.
    txtPattern->raise();
    txtThat->raise();

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(4, 348, 73, 33);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    SRAI1 = PopupMenu1->addAction(tr("&SRAI"));
    SRAI1->setObjectName(QStringLiteral("SRAI1"));
    RANDOM1 = PopupMenu1->addAction(tr("&RANDOM"));
    RANDOM1->setObjectName(QStringLiteral("RANDOM1"));
    JAVASCRIPT1 = PopupMenu1->addAction(tr("&JAVASCRIPT"));
    JAVASCRIPT1->setObjectName(QStringLiteral("JAVASCRIPT1"));
    JAVASCRIPT1->setEnabled(false);

    cmdAutotext = new QToolButton(ToolBar1);
    cmdAutotext->setObjectName(QStringLiteral("cmdAutotext"));
    cmdAutotext->setText(tr("AutoText"));
    cmdAutotext->setToolButtonStyle(Qt::ToolButtonTextOnly);
    cmdAutotext->setPopupMode(QToolButton::MenuButtonPopup);
    cmdAutotext->setMenu(PopupMenu1);
    cmdAutotext->setFocusPolicy(Qt::TabFocus);
    useTagColor(cmdAutotext, kBlue, QPalette::ButtonText);
    ToolBar1->addWidget(cmdAutotext);
    // The bar keeps its designed width: the button gives up the padding round its caption
    // rather than move into the bar's overflow menu.
    const QMargins margins = ToolBar1->layout()->contentsMargins();
    cmdAutotext->setMaximumWidth(ToolBar1->width() - margins.left() - margins.right());

    cmdCancel = new QPushButton(tr("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(412, 344, 81, 33);
    cmdOK = new QPushButton(tr("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(508, 344, 81, 33);
    cmdOK->setDefault(true);

    // The topic takes the free stretch of the bottom row, between the tool bar and Cancel.
    constexpr int kTopicLeft = 84;
    constexpr int kTopicTop = 349;
    constexpr int kFieldHeight = 24;
    Label7 = tagLabel(this, "Label7", QStringLiteral("<topic name=\""), kBlue, kTopicLeft, kTopicTop);
    Label8 = tagLabel(this, "Label8", QStringLiteral("\">"), kBlue, 0, kTopicTop);
    txtTopic = new QLineEdit(this);
    txtTopic->setObjectName(QStringLiteral("txtTopic"));
    txtTopic->setAccessibleName(tr("Topic"));
    const int fieldLeft = Label7->x() + Label7->width() + kTagGap;
    const int fieldRight = cmdCancel->x() - 2 * kTagGap - Label8->width() - kTagGap;
    txtTopic->setGeometry(fieldLeft, kTopicTop, fieldRight - fieldLeft, kFieldHeight);
    const int labelTop = kTopicTop + (kFieldHeight - Label7->height()) / 2;
    Label7->move(kTopicLeft, labelTop);
    Label8->move(fieldRight + kTagGap, labelTop);

    // Top to bottom, then the bottom row from left to right.
    setTabOrder(txtPattern, txtThat);
    setTabOrder(txtThat, template_);
    setTabOrder(template_, cmdAutotext);
    setTabOrder(cmdAutotext, txtTopic);
    setTabOrder(txtTopic, cmdCancel);
    setTabOrder(cmdCancel, cmdOK);
    txtPattern->setFocus();

    randomBox = new QInputDialog(this);
    randomBox->setObjectName(QStringLiteral("RANDOM"));
    randomBox->setWindowTitle(tr("RANDOM"));
    randomBox->setLabelText(tr("How many options you want to enter: "));
    randomBox->setInputMode(QInputDialog::TextInput);
}

void TfrmSelEdit::connectCommands()
{
    connect(cmdOK, &QPushButton::clicked, this, guarded(this, [this] {
        cmdOKClick();
        accept();
    }));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Both halves of the button open the menu; it has no action of its own.
    connect(cmdAutotext, &QToolButton::clicked, cmdAutotext, &QToolButton::showMenu);
    connect(SRAI1, &QAction::triggered, this, guarded(this, [this] { SRAI1Click(); }));
    connect(RANDOM1, &QAction::triggered, this, guarded(this, [this] { RANDOM1Click(); }));
}

void TfrmSelEdit::attach(DocumentController *document, std::function<bool()> upcase)
{
    m_document = document;
    m_upcase = std::move(upcase);
}

QString TfrmSelEdit::templateText() const
{
    // The raw text: the plain-text view would turn no-break spaces into blanks.
    return cellTextFromRaw(
        template_->document()->toRawText(), m_document ? m_document->table()->rows().lineEnd() : LineEnd::Lf);
}

void TfrmSelEdit::setTemplateText(const QString &cellText)
{
    template_->setPlainText(fieldTextFromCell(cellText));
}

void TfrmSelEdit::cmdOKClick()
{
    if (!m_document)
        throw VorrelError(QStringLiteral("The category dialog has no table to write to"));
    const bool upcase = m_upcase && m_upcase();
    const CategoryTexts texts { upcase ? upcasePattern(txtPattern->text()) : txtPattern->text(), txtThat->text(),
        templateText(), txtTopic->text() };
    if (editMode == QLatin1String("create"))
        m_document->createCategory(texts);
    else if (editMode == QLatin1String("edit"))
        m_document->editCategory(editRow, texts);
    txtPattern->clear();
    txtThat->clear();
    template_->clear();
    txtTopic->clear();
    txtPattern->setFocus();
}

void TfrmSelEdit::SRAI1Click()
{
    // Replaced through a cursor in one block, so that the box's Undo takes the wrap back whole.
    QTextCursor cursor(template_->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(fieldTextFromCell(wrapInSrai(templateText())));
    cursor.endEditBlock();
}

void TfrmSelEdit::RANDOM1Click()
{
    randomBox->setTextValue(QString());
    if (randomBox->exec() != QDialog::Accepted)
        return;
    const int count = randomCountFromAnswer(randomBox->textValue());
    const QString before = templateText();
    const QString after = appendRandomList(before, count);
    QTextCursor cursor(template_->document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(fieldTextFromCell(after.mid(before.size())));
    cursor.endEditBlock();
}

#include "app/Main.h"

#include "bot/Matcher.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

using namespace vorrel;

namespace {

// Enter in the sentence box says the sentence instead of starting a new line.
class EnterPressesButton final : public QObject
{
public:
    EnterPressesButton(QPushButton *button, QObject *parent) : QObject(parent), m_button(button) { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_button->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton *m_button;
};

// The box's text exactly as typed or pasted, its line breaks as CR LF like the cells'. The
// raw text keeps no-break spaces, which the plain-text view would turn into blanks.
QString sentenceOf(const QPlainTextEdit *box)
{
    const QString raw = box->document()->toRawText();
    QString sentence;
    sentence.reserve(raw.size());
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            sentence += QLatin1String("\r\n");
        else
            sentence += c;
    }
    return sentence;
}

} // namespace

void TMainForm::SayItClick()
{
    const QString sentence = sentenceOf(input);
    const QString reply = botReply(*table(), sentence);
    // One append for the three lines keeps a long transcript cheap to extend.
    log->appendPlainText(QStringLiteral("You: ") + Capitalize(sentence) + QStringLiteral("\nVessra: ")
        + Capitalize(reply) + QLatin1Char('\n'));
}

QString TMainForm::Capitalize(const QString &text)
{
    return capitalize(text);
}

void TMainForm::setUpConversation()
{
    SayIt->setDefault(true);
    input->installEventFilter(new EnterPressesButton(SayIt, this));
}

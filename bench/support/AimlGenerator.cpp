#include "AimlGenerator.h"

#include <QRandomGenerator>

#include <iterator>

namespace vorrel::bench {

namespace {

const char *const kWords[] = { "HELLO", "WHAT", "IS", "YOUR", "NAME", "DO", "YOU", "LIKE", "MUSIC", "WHERE", "ARE",
    "FROM", "HOW", "OLD", "I", "AM", "TELL", "ME", "ABOUT", "THE", "WEATHER", "CAN", "PLAY", "A", "GAME", "WHY", "SKY",
    "BLUE", "WHO", "MADE", "THANK", "GOOD", "BYE", "FAVORITE" };

const char *const kReplies[] = { "I am a chat robot.", "That is an interesting question.", "Let me think about it.",
    "My favorite color is green.", "I was created by my botmaster.", "Why do you ask?", "Tell me more.",
    "I like to talk with people." };

} // namespace

QByteArray generateAiml(const AimlGeneratorOptions &options)
{
    QRandomGenerator random(options.seed);
    const QByteArray eol = options.crlf ? "\r\n" : "\n";
    auto word = [&random] { return QByteArray(kWords[random.bounded(int(std::size(kWords)))]); };
    auto reply = [&random] { return QByteArray(kReplies[random.bounded(int(std::size(kReplies)))]); };

    QByteArray out;
    out.reserve(qsizetype(options.categories) * 170 + 256);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + eol + "<aiml version=\"1.0\">" + eol;
    out += "<!-- generated: " + QByteArray::number(options.categories) + " categories -->" + eol;
    constexpr int kBlock = 20;
    const auto inTopic = [&options](int i) { return options.topics && (i / kBlock) % 5 == 0; };
    for (int i = 0; i < options.categories; ++i) {
        if (options.topics && i % kBlock == 0) {
            if (i > 0 && inTopic(i - 1))
                out += "</topic>" + eol;
            out += "<!-- block " + QByteArray::number(i / kBlock) + " -->" + eol;
            if (inTopic(i))
                out += "<topic name=\"TOPIC " + QByteArray::number(i / kBlock) + "\">" + eol;
        }
        QByteArray pattern = word();
        const int extra = random.bounded(2, 5);
        for (int w = 0; w < extra; ++w)
            pattern += ' ' + word();
        // Numbered so that no two patterns are alike.
        pattern += ' ' + QByteArray::number(i);
        out += "<category>" + eol + "<pattern>" + pattern + "</pattern>" + eol;
        if (i % 4 == 1)
            out += "<that>" + reply().toUpper().chopped(1) + "</that>" + eol;
        out += "<template>" + eol;
        QByteArray body = reply();
        if (options.accents && i % 5 == 0)
            body += " Caf\xc3\xa9 cr\xc3\xa8me br\xc3\xbbl\xc3\xa9"
                    "e.";
        switch (i % 3) {
        case 0:
            if (options.thinks)
                out += "<think><set name=\"topic\">words</set></think>";
            out += body + eol;
            break;
        case 1:
            out += body + " <srai>" + word() + ' ' + word() + "</srai>" + eol;
            break;
        default:
            out += body + eol + "<random><li>" + reply() + "</li><li>Yes.</li></random>" + eol;
            break;
        }
        out += "</template>" + eol + "</category>" + eol;
    }
    if (options.categories > 0 && inTopic(options.categories - 1))
        out += "</topic>" + eol;
    out += "</aiml>" + eol;
    return out;
}

} // namespace vorrel::bench

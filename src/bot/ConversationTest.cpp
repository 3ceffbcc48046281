#include "bot/ConversationTest.h"

#include "bot/BotFiles.h"
#include "bot/Interpreter.h"

#include <QTextStream>

namespace vorrel {

ConversationCases parseConversations(const QString &text)
{
    ConversationCases cases;
    bool newConversation = false;
    Exchange *open = nullptr;
    QStringList reply;
    const auto close = [&] {
        if (open)
            open->expected = reply.join(QLatin1Char(' '));
        open = nullptr;
        reply.clear();
    };
    // A byte-order mark is no part of the first line.
    const QStringList lines = (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty()) {
            // A file's last line end leaves an empty piece after it: no conversation follows.
            close();
            newConversation = !cases.exchanges.empty();
        } else if (line.startsWith(QLatin1Char('#'))) {
            continue;
        } else if (line.startsWith(QLatin1Char('>'))) {
            close();
            cases.exchanges.push_back({ int(i) + 1, line.mid(1).trimmed(), {}, newConversation });
            open = &cases.exchanges.back();
            newConversation = false;
        } else if (open) {
            reply.append(line);
        } else {
            cases.strayLines.push_back(int(i) + 1);
        }
    }
    close();
    return cases;
}

bool replyMatches(const QString &expected, const QString &reply)
{
    const QString want = expected.simplified().toCaseFolded();
    const QString got = reply.simplified().toCaseFolded();
    const QStringList pieces = want.split(QLatin1Char('*'));
    // The first piece starts the reply, the last ends it, the others come between in order.
    if (pieces.size() == 1)
        return want == got;
    if (!got.startsWith(pieces.constFirst()) || !got.endsWith(pieces.constLast())
        || pieces.constFirst().size() + pieces.constLast().size() > got.size())
        return false;
    qsizetype at = pieces.constFirst().size();
    const qsizetype end = got.size() - pieces.constLast().size();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        at = got.indexOf(pieces.at(i), at);
        if (at < 0 || at + pieces.at(i).size() > end)
            return false;
        at += pieces.at(i).size();
    }
    return true;
}

int runConversations(const QString &casesName, const ConversationCases &cases, Interpreter &bot, const BotFiles &files,
    QTextStream &out, QTextStream &err)
{
    const auto quoted = [](const QString &text) { return QLatin1Char('"') + text + QLatin1Char('"'); };
    qsizetype failed = 0;
    for (const int line : cases.strayLines) {
        out << casesName << ':' << line << ": error: a reply without a \"> \" line before it\n";
        ++failed;
    }
    bot.reset();
    for (const Exchange &exchange : cases.exchanges) {
        if (exchange.newConversation)
            bot.reset();
        const BotAnswer answer = bot.respond(exchange.input);
        const QString reply = answer.text.simplified();
        if (replyMatches(exchange.expected, reply))
            continue;
        ++failed;
        QString where = QStringLiteral("no category matched");
        if (answer.row >= 0) {
            BotAnswer located = answer;
            files.locate(located);
            where = located.file;
            if (const int line = files.line(located.file, located.row); line > 0)
                where += QLatin1Char(':') + QString::number(line);
            where += QLatin1Char(' ') + answer.pattern.simplified();
        }
        out << casesName << ':' << exchange.line << ": error: expected " << quoted(exchange.expected.simplified())
            << ", got " << quoted(reply) << " (" << where << ")\n";
    }
    out.flush();
    // "12 exchanges, 1 failed": a stray line counts as a failure of its own.
    const qsizetype total = qsizetype(cases.exchanges.size());
    err << total << (total == 1 ? " exchange, " : " exchanges, ") << failed << " failed\n";
    err.flush();
    return failed > 0 ? 1 : 0;
}

} // namespace vorrel

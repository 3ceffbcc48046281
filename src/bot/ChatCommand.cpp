#include "bot/ChatCommand.h"

namespace vorrel {

int runChat(Interpreter &bot, QTextStream &in, QTextStream &out, QTextStream &err, const ChatOptions &options)
{
    QString line;
    while (in.readLineInto(&line)) {
        const BotAnswer answer = bot.respond(line);
        // Flushed line by line, so that a program on the other end of a pipe can converse.
        out << answer.text.simplified() << '\n';
        out.flush();
        if (options.trace) {
            err << (options.describe ? options.describe(answer) : describeAnswer(answer)) << '\n';
            err.flush();
        }
    }
    return 0;
}

} // namespace vorrel

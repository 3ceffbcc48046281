#include "bot/ChatCommand.h"

namespace vorrel {

int runChat(
    std::vector<BotCategory> rows, QTextStream &in, QTextStream &out, QTextStream &err, const ChatOptions &options)
{
    InterpreterOptions botOptions;
    botOptions.seed = options.seed;
    if (!options.version.isEmpty())
        botOptions.version = options.version;
    Interpreter bot(botOptions);
    bot.setCategories(std::move(rows));
    QString line;
    while (in.readLineInto(&line)) {
        const BotAnswer answer = bot.respond(line);
        // Flushed line by line, so that a program on the other end of a pipe can converse.
        out << answer.text.simplified() << '\n';
        out.flush();
        if (options.trace) {
            err << describeAnswer(answer) << '\n';
            err.flush();
        }
    }
    return 0;
}

} // namespace vorrel

#pragma once

#include "bot/Interpreter.h"

#include <QTextStream>

#include <functional>

namespace vorrel {

struct ChatOptions
{
    // Each reply's answering row on the error stream.
    bool trace = false;
    // How the trace tells of an answer; describeAnswer() when not given.
    std::function<QString(const BotAnswer &)> describe;
};

// The bot without a window: one sentence a line from `in`, one reply a line to `out`, each
// reply's line breaks and runs of blanks as one blank, until the input ends. With `trace`,
// the description of each reply goes to `err`. Returns the exit code.
int runChat(Interpreter &bot, QTextStream &in, QTextStream &out, QTextStream &err, const ChatOptions &options);

} // namespace vorrel

#pragma once

#include "bot/Interpreter.h"

#include <QTextStream>

#include <optional>
#include <vector>

namespace vorrel {

struct ChatOptions
{
    // Seed of <random>, for a conversation that can be repeated.
    std::optional<quint32> seed;
    // Each reply's answering row on the error stream.
    bool trace = false;
    // What <version/> gives; empty for the interpreter's own default.
    QString version;
};

// The bot without a window: one sentence a line from `in`, one reply a line to `out`, each
// reply's line breaks and runs of blanks as one blank, until the input ends. With `trace`,
// describeAnswer() of each reply goes to `err`. Returns the exit code.
int runChat(
    std::vector<BotCategory> rows, QTextStream &in, QTextStream &out, QTextStream &err, const ChatOptions &options);

} // namespace vorrel

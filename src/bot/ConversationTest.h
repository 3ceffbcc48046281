#pragma once

#include <QString>

#include <vector>

class QTextStream;

namespace vorrel {

class BotFiles;
class Interpreter;

// One exchange of a conversation file: what the user says and the reply it must get.
struct Exchange
{
    // Of the "> " line, 1-based.
    int line = 0;
    QString input;
    // Its lines joined by a blank.
    QString expected;
    // A blank line came before it: the predicates start afresh.
    bool newConversation = false;
};

struct ConversationCases
{
    std::vector<Exchange> exchanges;
    // Lines that belong to no exchange: a reply before any input.
    std::vector<int> strayLines;
};

// Reads a conversation file: "#" starts a comment line, a blank line starts a new conversation,
// "> TEXT" is what the user says and the lines after it, up to the next "> " or blank line,
// the reply it must get.
ConversationCases parseConversations(const QString &text);

// Whether the bot's reply is the expected one: runs of blanks count as one, letter case does not
// count, and a "*" in the expected reply stands for any text, none included.
bool replyMatches(const QString &expected, const QString &reply);

// Runs the exchanges on `bot` (which answers from `files`), printing each failure to `out` as
// "CASES:LINE: error: expected "…", got "…" (FILE:LINE PATTERN)" and a summary to `err`.
// Returns 0 when every exchange got its reply, 1 when one did not.
int runConversations(const QString &casesName, const ConversationCases &cases, Interpreter &bot, const BotFiles &files,
    QTextStream &out, QTextStream &err);

} // namespace vorrel

#pragma once

#include <QByteArray>

namespace vorrel::bench {

struct AimlGeneratorOptions
{
    int categories = 1000;
    // CR LF line ends, else LF.
    bool crlf = true;
    // Every fifth template carries a few UTF-8 accented letters.
    bool accents = false;
    // Every one-line template without markup first sets the topic inside <think>.
    bool thinks = false;
    // A comment before every block of 20 categories, and every fifth block inside a topic.
    bool topics = false;
    quint32 seed = 1;
};

// A plausible AIML 1.0 document with the given number of categories, about 160 bytes
// each: varied patterns, a that in every fourth category, one- and two-line templates
// with inner markup. The same options always give the same bytes.
QByteArray generateAiml(const AimlGeneratorOptions &options);

} // namespace vorrel::bench

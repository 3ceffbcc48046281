#include "document/CheckCommand.h"

#include "base/AimlFiles.h"
#include "base/RegularFile.h"
#include "document/Checker.h"
#include "document/Document.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QStringEncoder>
#include <QTextStream>
#include <QUrl>

#include <charconv>
#include <cstring>
#include <future>
#include <iterator>
#include <string>

namespace vorrel {

namespace {

const QString kTooLarge = QStringLiteral("The file is too large");

// What each code finds, for the rules of a SARIF log, in the order of problemCodes().
const char *const kCodeDescriptions[] = {
    "The document is not well-formed XML 1.0 with namespaces: no XML parser reads it.",
    "The bytes are not valid in the document's encoding, or the declared encoding does not exist.",
    "An AIML element is missing or stands where AIML does not allow it.",
    "An element that AIML 1.0.1 does not have.",
    "A pattern or that that an interpreter would not match as it is written.",
    "A category with the same pattern, that and topic as an earlier one: only one of them can answer.",
    "A srai whose text no category matches, or that has none.",
    "A template with nothing in it.",
};

// The document's own bytes, read into the checker's memory once: positions count in the file
// as it stands.
bool checkFile(const QString &fileName, BotCheck &check, QString &error)
{
    RegularFile file;
    if (!file.open(fileName)) {
        error = file.reason();
        return false;
    }
    if (file.size() > Document::kLargestDocument) {
        error = kTooLarge;
        return false;
    }
    const auto read = [&file](char *data, qint64 size) {
        // A large file is read as two halves at once: each fresh page of the buffer costs the
        // system more than the bytes copied into it, and two cores share that.
        constexpr qint64 kHalvedFrom = qint64(1) << 22;
        if (size >= kHalvedFrom) {
            const qint64 half = size / 2;
            auto second = std::async(std::launch::async | std::launch::deferred,
                [&file, data, size, half] { return file.readAt(data + half, size - half, half); });
            const qint64 first = file.readAt(data, half, 0);
            if (second.get() == size - half && first == half)
                return size;
        }
        // A failure, or a file whose size changed, is met by reading it through once.
        return file.read(data, size);
    };
    if (check.add(fileName, file.size(), read))
        return true;
    error = file.reason();
    return false;
}

bool checkInput(QIODevice &input, BotCheck &check, QString &error)
{
    if (!input.isOpen() && !input.open(QIODevice::ReadOnly)) {
        error = input.errorString();
        return false;
    }
    QByteArray bytes;
    // Standard input blocks until there is more or it ends.
    for (QByteArray piece = input.read(1 << 20); !piece.isEmpty(); piece = input.read(1 << 20)) {
        bytes += piece;
        if (bytes.size() > Document::kLargestDocument) {
            error = kTooLarge;
            return false;
        }
    }
    const auto read = [&bytes](char *data, qint64 size) {
        std::memcpy(data, bytes.constData(), size_t(size));
        return size;
    };
    return check.add(QStringLiteral("-"), bytes.size(), read);
}

// The output as UTF-8, gathered and handed on in large pieces: straight to the stream's device
// when it has one, as standard output does, else as text.
class Utf8Output final
{
public:
    explicit Utf8Output(QTextStream &out) : m_out(out) { }
    ~Utf8Output() { flush(); }
    Utf8Output(const Utf8Output &) = delete;
    Utf8Output &operator=(const Utf8Output &) = delete;

    Utf8Output &operator<<(QByteArrayView bytes)
    {
        m_buffer.append(bytes.data(), size_t(bytes.size()));
        if (m_buffer.size() >= kFlushAt)
            flush();
        return *this;
    }
    Utf8Output &operator<<(const QByteArray &bytes) { return *this << QByteArrayView(bytes); }
    Utf8Output &operator<<(const char *text) { return *this << QByteArrayView(text); }
    Utf8Output &operator<<(const QString &text)
    {
        // Encoded straight into the buffer: no text is made for it. Most of it is ASCII, which
        // is narrowed here, for less than the encoder costs to be called.
        const size_t at = m_buffer.size();
        m_buffer.resize(at + size_t(text.size()) * 3);
        char *end = m_buffer.data() + at;
        const QChar *units = text.constData();
        qsizetype ascii = 0;
        for (; ascii < text.size() && units[ascii].unicode() < 0x80; ++ascii)
            *end++ = char(units[ascii].unicode());
        if (ascii < text.size())
            end = m_encoder.appendToBuffer(end, QStringView(text).sliced(ascii));
        m_buffer.resize(size_t(end - m_buffer.data()));
        if (m_buffer.size() >= kFlushAt)
            flush();
        return *this;
    }
    Utf8Output &operator<<(qsizetype number)
    {
        char digits[24];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
        return *this << QByteArrayView(digits, end - digits);
    }
    void flush()
    {
        QIODevice *device = m_out.device();
        if (!device) {
            m_out << QString::fromUtf8(m_buffer.data(), qsizetype(m_buffer.size()));
        } else if (!m_buffer.empty()) {
            m_out.flush();
            auto *file = qobject_cast<QFileDevice *>(device);
            if (device->write(m_buffer.data(), qint64(m_buffer.size())) != qint64(m_buffer.size())
                || (file && !file->flush()))
                m_out.setStatus(QTextStream::WriteFailed);
        }
        m_buffer.clear();
    }

private:
    static constexpr size_t kFlushAt = 1 << 16;
    QTextStream &m_out;
    QStringEncoder m_encoder { QStringConverter::Utf8, QStringConverter::Flag::Stateless };
    std::string m_buffer;
};

struct JsonString
{
    const QString &text;
};

Utf8Output &operator<<(Utf8Output &out, JsonString json)
{
    QString escaped;
    escaped.reserve(json.text.size() + 2);
    escaped += QLatin1Char('"');
    for (const QChar c : json.text) {
        if (c == u'"' || c == u'\\')
            escaped += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    escaped += QLatin1Char('"');
    return out << escaped;
}

const char *severityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

// A file's name as a URI reference: relative names stay relative to where the check ran.
QString fileUri(const QString &fileName)
{
    if (QDir::isAbsolutePath(fileName))
        return QUrl::fromLocalFile(fileName).toString(QUrl::FullyEncoded);
    return QString::fromLatin1(QUrl::toPercentEncoding(fileName, "/"));
}

// Prints the problems as they come, in one of the formats.
class ProblemPrinter final
{
public:
    ProblemPrinter(const CheckRequest &request, QTextStream &out) : m_request(request), m_out(out) { }

    void begin();
    void print(const QString &fileName, const Problem &problem);
    void end(bool allRead);

private:
    const CheckRequest &m_request;
    Utf8Output m_out;
    bool m_first = true;
    // The last file's name and code as printed.
    QString m_fileName;
    QByteArray m_printedName;
    QString m_code;
    QByteArray m_printedCode;
};

void ProblemPrinter::begin()
{
    switch (m_request.format) {
    case CheckFormat::Gcc:
        break;
    case CheckFormat::Json:
        m_out << "[";
        break;
    case CheckFormat::Sarif: {
        m_out << "{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n  \"version\": \"2.1.0\",\n"
                 "  \"runs\": [\n    {\n      \"tool\": {\n        \"driver\": {\n"
                 "          \"name\": \"aimlvorrel\",\n          \"version\": "
              << JsonString { m_request.toolVersion } << ",\n          \"rules\": [";
        const QStringList &codes = problemCodes();
        for (qsizetype i = 0; i < codes.size(); ++i)
            m_out << (i == 0 ? "\n" : ",\n") << "            { \"id\": " << JsonString { codes[i] }
                  << ", \"shortDescription\": { \"text\": " << JsonString { QString::fromLatin1(kCodeDescriptions[i]) }
                  << " } }";
        // Columns count characters, not the UTF-16 units SARIF assumes by default.
        m_out << "\n          ]\n        }\n      },\n      \"columnKind\": \"unicodeCodePoints\",\n"
                 "      \"results\": [";
        break;
    }
    }
}

void ProblemPrinter::print(const QString &fileName, const Problem &problem)
{
    // Each file's name is encoded once, not for every line.
    if (fileName.constData() != m_fileName.constData() || m_first) {
        m_fileName = fileName;
        m_printedName = m_request.format == CheckFormat::Gcc ? fileName.toUtf8() : QByteArray();
    }
    const char *separator = m_first ? "\n" : ",\n";
    m_first = false;
    switch (m_request.format) {
    case CheckFormat::Gcc:
        // As formatProblem() writes it.
        if (problem.code.constData() != m_code.constData()) {
            m_code = problem.code;
            m_printedCode = " [" + problem.code.toUtf8() + "]\n";
        }
        m_out << m_printedName << ":" << qsizetype(problem.line) << ":" << qsizetype(problem.column)
              << (problem.severity == Severity::Error ? ": error: " : ": warning: ") << problem.message
              << m_printedCode;
        break;
    case CheckFormat::Json:
        m_out << separator << "  {\"file\": " << JsonString { fileName } << ", \"line\": " << qsizetype(problem.line)
              << ", \"column\": " << qsizetype(problem.column) << ", \"severity\": \"" << severityName(problem.severity)
              << "\", \"code\": " << JsonString { problem.code } << ", \"message\": " << JsonString { problem.message }
              << "}";
        break;
    case CheckFormat::Sarif:
        m_out << separator << "        { \"ruleId\": " << JsonString { problem.code }
              << ", \"ruleIndex\": " << problemCodes().indexOf(problem.code) << ", \"level\": \""
              << severityName(problem.severity) << "\", \"message\": { \"text\": " << JsonString { problem.message }
              << " }, \"locations\": [ { \"physicalLocation\": { \"artifactLocation\": { \"uri\": "
              << JsonString { fileUri(fileName) } << " }, \"region\": { \"startLine\": " << qsizetype(problem.line)
              << ", \"startColumn\": " << qsizetype(problem.column) << " } } } ] }";
        break;
    }
}

void ProblemPrinter::end(bool allRead)
{
    switch (m_request.format) {
    case CheckFormat::Gcc:
        break;
    case CheckFormat::Json:
        m_out << (m_first ? "]\n" : "\n]\n");
        break;
    case CheckFormat::Sarif:
        m_out << (m_first ? "]" : "\n      ]")
              << ",\n      \"invocations\": [ { \"executionSuccessful\": " << (allRead ? "true" : "false")
              << " } ]\n    }\n  ]\n}\n";
        break;
    }
    m_out.flush();
}

QString counted(qsizetype count, const char *one, const char *many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace

std::optional<CheckFormat> checkFormatNamed(const QString &name)
{
    if (name == u"gcc")
        return CheckFormat::Gcc;
    if (name == u"json")
        return CheckFormat::Json;
    if (name == u"sarif")
        return CheckFormat::Sarif;
    return std::nullopt;
}

std::optional<QString> disableRefusal(const QStringList &codes)
{
    for (const QString &code : codes) {
        if (!problemCodes().contains(code))
            return QStringLiteral("--disable: no problem has the code \"%1\"; the codes are %2.")
                .arg(code, problemCodes().join(QStringLiteral(", ")));
        if (code == problemCodes().at(0) || code == problemCodes().at(1))
            return QStringLiteral("--disable: %1 cannot be silenced: no XML parser reads such a document.").arg(code);
    }
    return std::nullopt;
}

std::vector<Problem> checkInFolder(QByteArrayView bytes, const QString &fileName, const CheckOptions &options)
{
    BotCheck check(options);
    check.add(fileName, bytes.size(), [bytes](char *data, qint64 size) {
        std::memcpy(data, bytes.data(), size_t(size));
        return size;
    });
    const QFileInfo own(fileName);
    for (const QString &other : aimlFilesIn(own.absolutePath())) {
        QString error;
        if (QFileInfo(other) != own)
            checkFile(other, check, error);
    }
    std::vector<Problem> problems;
    check.finish([&problems](int document, const Problem &problem) {
        if (document == 0)
            problems.push_back(problem);
    });
    return problems;
}

int runCheckCommand(const CheckRequest &request, QIODevice &input, QTextStream &out, QTextStream &err)
{
    CheckOptions options;
    options.upcasePatterns = request.upcasePatterns;
    options.properties = request.properties;
    ProblemPrinter printer(request, out);
    printer.begin();
    // All files are one bot: each is read first, and its problems are known once all are in.
    BotCheck check(options);
    QStringList checked;
    bool unreadable = false;
    for (const QString &fileName : request.files) {
        QString error;
        const bool read = fileName == u"-" ? checkInput(input, check, error) : checkFile(fileName, check, error);
        if (!read) {
            err << fileName << ": cannot read: " << error << '\n';
            err.flush();
            unreadable = true;
            continue;
        }
        checked.append(fileName);
    }
    qsizetype errors = 0;
    qsizetype warnings = 0;
    check.finish([&](int document, const Problem &problem) {
        if (request.disabled.contains(problem.code))
            return;
        const bool isError = problem.severity == Severity::Error;
        ++(isError ? errors : warnings);
        if (isError || !request.errorsOnly)
            printer.print(checked.at(document), problem);
    });
    printer.end(!unreadable);
    if (!request.errorsOnly)
        err << counted(checked.size(), "file", "files") << ", " << problemCounts(errors, warnings) << '\n';
    if (unreadable)
        return kCheckUnreadable;
    return errors > 0 ? kCheckFoundErrors : kCheckPassed;
}

} // namespace vorrel

#include "document/Document.h"

#include "base/ProgramFiles.h"
#include "base/RegularFile.h"
#include "base/SafeWrite.h"

#include <QDir>
#include <QFile>

namespace vorrel {

const QString Document::kNoDocument = QStringLiteral("(None)");

namespace {

// Small beside the text it fills, whose memory peaks while it is read.
constexpr qint64 kPiece = qint64(256) << 10;
// The editor keeps four bytes for every line, and twice that while its index grows: a text
// of much shorter lines would take it many times the file's size (one of line feeds alone,
// eleven times). Lines of four bytes on average keep it within about four.
constexpr qint64 kShortestAverageLine = 4;
constexpr qint64 kLinesAlwaysAllowed = 4096;

qint64 mostLines(qint64 size)
{
    return size / kShortestAverageLine + kLinesAlwaysAllowed;
}
// last.dat holds one line; anything longer is not ours.
constexpr qint64 kLongestLast = 64 * 1024;

QString shown(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

void replaceFirst(QByteArray &text, QByteArrayView what, const QByteArray &with)
{
    const qsizetype at = text.indexOf(what);
    if (at >= 0)
        text.replace(at, what.size(), with);
}

} // namespace

bool ByteArraySink::reserve(qint64 size)
{
    bytes.reserve(static_cast<qsizetype>(size));
    return true;
}

bool ByteArraySink::append(QByteArrayView piece)
{
    bytes.append(piece);
    return true;
}

Document::Document(QObject *parent) : QObject(parent)
{
}

bool Document::fail(const QString &message)
{
    m_error = message;
    return false;
}

void Document::setFileName(const QString &fileName)
{
    if (m_fileName == fileName)
        return;
    m_fileName = fileName;
    Q_EMIT fileNameChanged(m_fileName);
}

void Document::setDocChanged(bool changed)
{
    if (m_changed == changed)
        return;
    m_changed = changed;
    Q_EMIT changedStateChanged(m_changed);
}

void Document::setTableChanged(bool changed)
{
    if (m_tableChanged == changed)
        return;
    m_tableChanged = changed;
    Q_EMIT tableChangedStateChanged(m_tableChanged);
}

bool Document::readFile(const QString &fileName, TextSink &sink, TextEncoding *encoding)
{
    const QString cannotOpen = QStringLiteral("Cannot open file \"%1\". %2");
    const QString tooLarge = QStringLiteral("The file is too large");
    RegularFile file;
    if (!file.open(fileName))
        return fail(cannotOpen.arg(shown(fileName), file.reason()));
    if (file.size() > kLargestDocument)
        return fail(cannotOpen.arg(shown(fileName), tooLarge));
    const auto readFailed
        = [&] { return fail(QStringLiteral("Cannot read file \"%1\". %2").arg(shown(fileName), file.reason())); };
    const auto noRoom = [&] { return fail(cannotOpen.arg(shown(fileName), QStringLiteral("Not enough memory"))); };
    const auto tooManyLines
        = [&] { return fail(cannotOpen.arg(shown(fileName), QStringLiteral("It has too many lines for its size"))); };

    QByteArray piece(kPiece, Qt::Uninitialized);
    qint64 got = file.read(piece.data(), piece.size());
    if (got < 0)
        return readFailed();
    piece.truncate(got);

    if (const std::optional<TextEncoding> utf16 = utf16Mark(piece)) {
        // Rare enough to be read whole: whether it is UTF-16 at all shows only at its end.
        QByteArray whole = piece;
        if (got == kPiece) {
            whole.resize(std::max(file.size(), kPiece) + 1);
            const qint64 rest = file.read(whole.data() + got, whole.size() - got);
            if (rest < 0)
                return readFailed();
            whole.truncate(got + rest);
            if (whole.size() > kLargestDocument)
                return fail(cannotOpen.arg(shown(fileName), tooLarge));
        }
        // Damaged UTF-16 is not taken as 8-bit text either: a line end typed into it, or a
        // refresh, would put single bytes between its units, and a save would ruin what a
        // byte's repair could still mend.
        const Utf16Survey survey = surveyUtf16(whole, *utf16);
        if (survey.damagedAt >= 0) {
            const QString damage = survey.halfUnit
                ? QStringLiteral("It is marked as UTF-16 but ends in half a character, at byte %1")
                : QStringLiteral("It is marked as UTF-16 but has half a character pair at byte %1");
            return fail(cannotOpen.arg(shown(fileName), damage.arg(survey.damagedAt)));
        }
        if (survey.lineEnds > mostLines(survey.textSize))
            return tooManyLines();
        const QByteArray text = utf8FromUtf16(whole, *utf16);
        if (!sink.reserve(text.size()) || !sink.append(text))
            return noRoom();
        *encoding = *utf16;
        return true;
    }

    // Counted before the editor takes any of it: it keeps four bytes for every line, so a file of
    // line ends would take it many times the file's size before the count told.
    LineEndCounter lines;
    for (qint64 counted = got; counted > 0;) {
        lines.feed(QByteArrayView(piece.constData(), counted));
        if (lines.count() > mostLines(file.size()))
            return tooManyLines();
        counted = counted < kPiece ? 0 : file.read(piece.data(), kPiece);
        if (counted < 0)
            return readFailed();
    }
    if (got == kPiece) {
        if (!file.rewind())
            return readFailed();
        got = file.read(piece.data(), kPiece);
        if (got < 0)
            return readFailed();
        piece.truncate(got);
    }

    // Two spare bytes keep the preview from moving the whole text again when it is read in place.
    if (!sink.reserve(file.size() + 2))
        return noRoom();
    Utf8Validator utf8;
    qint64 total = 0;
    for (;;) {
        utf8.feed(piece);
        // The file may have grown since its size was taken.
        total += piece.size();
        if (total > kLargestDocument)
            return fail(cannotOpen.arg(shown(fileName), tooLarge));
        if (!piece.isEmpty() && !sink.append(piece))
            return noRoom();
        if (got < kPiece)
            break;
        piece.resize(kPiece);
        got = file.read(piece.data(), piece.size());
        if (got < 0)
            return readFailed();
        piece.truncate(got);
        if (got == 0)
            break;
    }
    *encoding = utf8.finish() ? TextEncoding::Utf8 : TextEncoding::Latin1;
    return true;
}

void Document::begin(const QString &name, bool hasFile, TextEncoding encoding)
{
    // Before the name: whoever hears of it may ask whether it is a file's.
    m_hasFile = hasFile;
    setFileName(name);
    m_encoding = encoding;
    setDocChanged(false);
}

void Document::setOpened(const QString &fileName, TextEncoding encoding)
{
    begin(fileName, true, encoding);
}

bool Document::readTemplate(const QString &author, const QString &language, QByteArray *text, TextEncoding *encoding)
{
    ByteArraySink sink;
    if (!readFile(programFile(QStringLiteral("template.dat")), sink, encoding))
        return false;
    replaceFirst(sink.bytes, "AUTHOR1", encodeText(author, *encoding));
    replaceFirst(sink.bytes, "LANG", encodeText(language, *encoding));
    // Whatever the file holds, a new document is written the desktop's way.
    *text = withLineEnds(sink.bytes, LineEnd::Lf);
    return true;
}

void Document::setCreated(const QString &title, TextEncoding encoding)
{
    begin(title, false, encoding);
}

bool Document::writeText(const QString &fileName, QByteArrayView text)
{
    // The preview's bytes as they are, line ends included; UTF-16 unit for unit.
    const QByteArray bytes = fileBytes(text, m_encoding);
    // Written beside the old file and renamed over it, so a failed save leaves it intact.
    const WriteResult written = writeFileAtomically(fileName, bytes);
    if (written)
        return true;
    const QString message = written.failedStep == WriteResult::Create ? QStringLiteral("Cannot create file \"%1\". %2")
                                                                      : QStringLiteral("Cannot write file \"%1\". %2");
    return fail(message.arg(shown(fileName), written.reason));
}

bool Document::save(QByteArrayView text)
{
    if (!writeText(m_fileName, text))
        return false;
    setDocChanged(false);
    return true;
}

bool Document::saveAs(const QString &fileName, QByteArrayView text)
{
    if (!writeText(fileName, text))
        return false;
    m_hasFile = true;
    setFileName(fileName);
    setDocChanged(false);
    return true;
}

QString Document::withAimlExtension(const QString &fileName)
{
    if (fileName.endsWith(QLatin1String("aiml"), Qt::CaseSensitive))
        return fileName;
    return fileName + QLatin1String(".aiml");
}

void Document::setClosed()
{
    setFileName(kNoDocument);
    setDocChanged(false);
}

bool Document::saveLast()
{
    const QString fileName = settingsFile(QStringLiteral("last.dat"));
    // Replaced whole: a write that fails, on a full disk say, keeps the last record.
    const WriteResult written = writeFileAtomically(fileName, m_fileName.toUtf8() + "\r\n", FileAccess::OwnerOnly);
    if (written)
        return true;
    if (written.failedStep == WriteResult::Create)
        return fail(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, written.reason));
    return fail(QStringLiteral("Unable to write to %1. %2").arg(fileName, written.reason));
}

bool Document::readLast(QString *fileName)
{
    const QString lastFile = settingsFile(QStringLiteral("last.dat"));
    const ReadResult read = readRegularFile(lastFile, kLongestLast);
    if (read.status != ReadResult::Ok) {
        const QString reason
            = read.status == ReadResult::TooLarge ? QStringLiteral("The file is too large") : read.reason;
        return fail(QStringLiteral("Cannot open file \"%1\". %2").arg(shown(lastFile), reason));
    }
    qsizetype end = 0;
    while (end < read.bytes.size() && read.bytes[end] != '\r' && read.bytes[end] != '\n')
        ++end;
    *fileName = QString::fromUtf8(read.bytes.first(end));
    return true;
}

bool Document::mayDiscard(const std::function<SaveAnswer()> &ask, const std::function<bool()> &save) const
{
    if (!m_changed && !m_tableChanged)
        return true;
    switch (ask()) {
    case SaveAnswer::Yes:
        return save();
    case SaveAnswer::No:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

} // namespace vorrel

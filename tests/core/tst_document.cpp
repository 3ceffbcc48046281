// The open document without a window: reading, writing, New, last.dat and the save question.

#include "TestFiles.h"

#include "document/AimlReader.h"
#include "document/AimlWriter.h"
#include "document/Document.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <sys/stat.h>

using namespace vorrel;
using namespace vorrel::test;

namespace {

QByteArray utf16(const QString &text, bool little)
{
    QByteArray out(little ? "\xff\xfe" : "\xfe\xff", 2);
    for (const QChar c : text) {
        const char lo = static_cast<char>(c.unicode() & 0xFF);
        const char hi = static_cast<char>(c.unicode() >> 8);
        out.append(little ? lo : hi).append(little ? hi : lo);
    }
    return out;
}

// Counts what it is given and keeps nothing, for files too large to hold twice in a test.
class CountingSink final : public TextSink
{
public:
    bool reserve(qint64) override { return true; }
    bool append(QByteArrayView piece) override
    {
        bytes += piece.size();
        return true;
    }
    qint64 bytes = 0;
};

// A table's categories as topic, pattern, that and template; rows of nothing but blanks, which
// are not written, left out.
QStringList categoriesOf(const CategoryRows &rows)
{
    QStringList categories;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        QStringList cells;
        bool blank = true;
        for (const int c : { TopicColumn, PatternColumn, ThatColumn, TemplateColumn }) {
            cells << rows.text(r, c);
            blank = blank && rows.isBlank(r, c);
        }
        if (!blank)
            categories << cells.join(QChar(0x1f));
    }
    return categories;
}

bool isWellFormed(const QByteArray &text)
{
    QXmlStreamReader reader(text);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

} // namespace

class TestDocument final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsAndSavesBack_data();
    void readsAndSavesBack();
    void readsInPieces();
    void refusesWithoutTouching_data();
    void refusesWithoutTouching();
    void linesForTheSize_data();
    void linesForTheSize();
    void lineEndsCountedInPieces_data();
    void lineEndsCountedInPieces();
    void newFromTemplate_data();
    void newFromTemplate();
    void unreadableTemplate();
    void saveAsNames_data();
    void saveAsNames();
    void failedSaveKeepsState();
    void stateAndSignals();
    void lastDocument();
    void saveQuestion_data();
    void saveQuestion();
    void refreshRoundTrip();
    void corpusRoundTrips();

private:
    QString work(const QString &name) const { return m_work->filePath(name); }
    // Reads a file into bytes as the preview would hold them.
    bool read(const QString &fileName, QByteArray *text, TextEncoding *encoding = nullptr);

    std::unique_ptr<ProgramDir> m_program;
    std::unique_ptr<QTemporaryDir> m_work;
    std::unique_ptr<Document> m_doc;
};

void TestDocument::init()
{
    m_program = std::make_unique<ProgramDir>();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_program->isValid() && m_work->isValid());
    QVERIFY(
        QFile::copy(QStringLiteral(VORREL_DATA_DIR "/template.dat"), m_program->file(QStringLiteral("template.dat"))));
    m_doc = std::make_unique<Document>();
}

void TestDocument::cleanup()
{
    m_doc.reset();
    m_work.reset();
    m_program.reset();
}

bool TestDocument::read(const QString &fileName, QByteArray *text, TextEncoding *encoding)
{
    ByteArraySink sink;
    TextEncoding found = TextEncoding::Utf8;
    if (!m_doc->readFile(fileName, sink, &found))
        return false;
    *text = sink.bytes;
    if (encoding)
        *encoding = found;
    return true;
}

void TestDocument::readsAndSavesBack_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<LineEnd>("lineEnd");

    const auto same
        = [](const char *name, const QByteArray &bytes, TextEncoding encoding, LineEnd lineEnd = LineEnd::CrLf) {
              QTest::newRow(name) << bytes << encoding << bytes << bytes << lineEnd;
          };
    const QByteArray head = "<aiml>\r\n<category>\r\n<pattern>A</pattern>\r\n<template>";
    const QByteArray tail = "</template>\r\n</category>\r\n</aiml>\r\n";
    same("8-bit accents", head + "caf\xe9 \xe0 \xff" + tail, TextEncoding::Latin1);
    same("utf-8", head + "caf\xc3\xa9 \xe2\x82\xac" + tail, TextEncoding::Utf8);
    same("NUL bytes", head + QByteArray("\0a\0b\0", 5) + tail, TextEncoding::Utf8);
    same("NUL and 8-bit", head + QByteArray("\xe9\0\xe9", 3) + tail, TextEncoding::Latin1);
    same("utf-8 byte order mark", "\xef\xbb\xbf" + head + "x" + tail, TextEncoding::Utf8);
    same("lone CR", head + "a\rb" + tail, TextEncoding::Utf8);
    same("empty file", QByteArray(), TextEncoding::Utf8, LineEnd::Lf);
    same("LF lines", "<aiml>\n<template>\none\ntwo\n</template>\n</aiml>\n", TextEncoding::Utf8, LineEnd::Lf);
    same("8-bit LF lines", "<aiml>\n<template>caf\xe9</template>\n</aiml>\n", TextEncoding::Latin1, LineEnd::Lf);
    same("mixed, CR LF first", "a\r\nb\nc\r\n", TextEncoding::Utf8);
    same("mixed, LF first", "a\nb\r\nc\n", TextEncoding::Utf8, LineEnd::Lf);
    same("no line end", "<aiml></aiml>", TextEncoding::Utf8, LineEnd::Lf);

    const QString text = QStringLiteral(u"<aiml>\n<pattern>CAF\u00c9 \U0001F600</pattern>\n</aiml>\n");
    const QString crLfText = QString(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    QTest::newRow("utf-16 LE, LF") << utf16(text, true) << TextEncoding::Utf16LE << text.toUtf8() << utf16(text, true)
                                   << LineEnd::Lf;
    QTest::newRow("utf-16 BE, CR LF") << utf16(crLfText, false) << TextEncoding::Utf16BE << crLfText.toUtf8()
                                      << utf16(crLfText, false) << LineEnd::CrLf;
    QTest::newRow("utf-16 mark only") << QByteArray("\xff\xfe") << TextEncoding::Utf16LE << QByteArray()
                                      << QByteArray("\xff\xfe") << LineEnd::Lf;
    // A U+FEFF after the mark is a character of the text, shown and saved as one.
    const QByteArray feff = utf16(QString(QChar(0xFEFF)) + QStringLiteral("<a/>"), true);
    QTest::newRow("utf-16 U+FEFF first") << feff << TextEncoding::Utf16LE << QByteArray("\xef\xbb\xbf<a/>") << feff
                                         << LineEnd::Lf;
}

void TestDocument::readsAndSavesBack()
{
    QFETCH(QByteArray, file);
    QFETCH(TextEncoding, encoding);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, saved);
    QFETCH(LineEnd, lineEnd);
    QVERIFY(writeFile(work("doc.aiml"), file));
    QByteArray shown;
    TextEncoding found = TextEncoding::Utf8;
    QVERIFY2(read(work("doc.aiml"), &shown, &found), qPrintable(m_doc->errorString()));
    QCOMPARE(found, encoding);
    QCOMPARE(shown, text);
    QCOMPARE(lineEndOf(shown), lineEnd);

    m_doc->setOpened(work("doc.aiml"), found);
    QVERIFY(QFile::remove(work("doc.aiml")));
    QVERIFY(m_doc->save(shown));
    QCOMPARE(readFile(work("doc.aiml")), saved);
}

void TestDocument::readsInPieces()
{
    // Line ends and a UTF-8 character across read boundaries (1, 2 and 3 MB are multiples of
    // the read size): a CR LF split between two reads, a bare LF opening a read, a euro sign
    // cut in two.
    const QByteArray category = "<category>\r\n<pattern>P</pattern>\r\n<template>T</template>\r\n</category>\r\n";
    const auto fillTo = [&](QByteArray &bytes, qsizetype size) {
        while (bytes.size() < size)
            bytes += category;
        bytes.truncate(size);
    };
    QByteArray bytes = "<aiml>\r\n";
    fillTo(bytes, (qsizetype(1) << 20) - 1);
    bytes += "\r\n";
    fillTo(bytes, (qsizetype(2) << 20));
    bytes += "\n";
    fillTo(bytes, (qsizetype(3) << 20) - 1);
    bytes += "\xe2\x82\xac";
    for (int i = 0; i < 1000; ++i)
        bytes += category;
    bytes += "</aiml>\r\n";
    QVERIFY(writeFile(work("large.aiml"), bytes));

    QByteArray text;
    TextEncoding encoding = TextEncoding::Latin1;
    QVERIFY(read(work("large.aiml"), &text, &encoding));
    QCOMPARE(encoding, TextEncoding::Utf8);
    QCOMPARE(text.size(), bytes.size());
    QVERIFY(text == bytes);
}

void TestDocument::refusesWithoutTouching_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QStringLiteral("missing.aiml") << QStringLiteral("No such file or directory");
    QTest::newRow("folder") << QStringLiteral("folder.aiml") << QStringLiteral("Is a directory");
    QTest::newRow("named pipe") << QStringLiteral("pipe.aiml") << QStringLiteral("Not a regular file");
    QTest::newRow("over the limit") << QStringLiteral("huge.aiml") << QStringLiteral("The file is too large");
    // Read as 8-bit text, a line end typed into it would break its 16-bit units.
    QTest::newRow("UTF-16 ending in half a character") << QStringLiteral(
        "half.aiml") << QStringLiteral("It is marked as UTF-16 but ends in half a character, at byte 22");
    QTest::newRow("UTF-16 with half a pair") << QStringLiteral(
        "pair.aiml") << QStringLiteral("It is marked as UTF-16 but has half a character pair at byte 10");
}

void TestDocument::refusesWithoutTouching()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(QDir(m_work->path()).mkdir(QStringLiteral("folder.aiml")));
    QCOMPARE(::mkfifo(QFile::encodeName(work("pipe.aiml")).constData(), 0600), 0);
    {
        QFile huge(work("huge.aiml"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(Document::kLargestDocument + 1));
    }

    QVERIFY(writeFile(work("half.aiml"), utf16(QStringLiteral("<a>\n</a>\n"), true) + QByteArray("\n\0\n", 3)));
    QVERIFY(writeFile(work("pair.aiml"), utf16(QStringLiteral(u"<a>\n\xd83d</a>\n"), false)));

    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    QByteArray text;
    QVERIFY(read(work("two.aiml"), &text));
    m_doc->setOpened(work("two.aiml"), TextEncoding::Latin1);
    m_doc->setDocChanged(true);
    QSignalSpy names(m_doc.get(), &Document::fileNameChanged);
    QSignalSpy changes(m_doc.get(), &Document::changedStateChanged);

    CountingSink sink;
    TextEncoding encoding = TextEncoding::Utf16BE;
    QVERIFY(!m_doc->readFile(work(name), sink, &encoding));
    QVERIFY2(m_doc->errorString().endsWith(reason), qPrintable(m_doc->errorString()));
    QVERIFY2(m_doc->errorString().contains(work(name)), qPrintable(m_doc->errorString()));
    QCOMPARE(m_doc->fileName(), work("two.aiml"));
    QVERIFY(m_doc->DocHasFile() && m_doc->DocChanged());
    QCOMPARE(m_doc->encoding(), TextEncoding::Latin1);
    QVERIFY(names.isEmpty() && changes.isEmpty());
}

void TestDocument::linesForTheSize_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens");
    QTest::newRow("line feeds") << QByteArray(400000, '\n') << false;
    QTest::newRow("CR LF pairs") << QByteArray("\r\n").repeated(200000) << false;
    QTest::newRow("lone CRs") << QByteArray(400000, '\r') << false;
    QTest::newRow("line feeds after a megabyte of lines")
        << QByteArray("<pattern>x</pattern>\r\n").repeated(50000) + QByteArray(1500000, '\n') << false;
    QTest::newRow("UTF-16 line feeds") << QByteArray("\xff\xfe") + QByteArray("\n\0", 2).repeated(200000) << false;
    QTest::newRow("lines of four bytes") << QByteArray("ab\r\n").repeated(100000) << true;
    QTest::newRow("pattern lines") << QByteArray("<pattern>x</pattern>\r\n").repeated(20000) << true;
    QTest::newRow("a few blank lines") << QByteArray("\r\n").repeated(4000) << true;
}

// Text of very short lines takes the editor many times its size: it is refused before the
// editor has any of it.
void TestDocument::linesForTheSize()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    QVERIFY(writeFile(work("lines.aiml"), bytes));
    CountingSink sink;
    TextEncoding encoding = TextEncoding::Latin1;
    QCOMPARE(m_doc->readFile(work("lines.aiml"), sink, &encoding), opens);
    if (!opens) {
        QVERIFY2(m_doc->errorString().endsWith(QStringLiteral("It has too many lines for its size")),
            qPrintable(m_doc->errorString()));
        QCOMPARE(sink.bytes, 0);
    }
}

void TestDocument::lineEndsCountedInPieces_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("lines");
    QTest::newRow("none") << QByteArray("no line end at all, longer than a word") << qint64(0);
    QTest::newRow("CR LF is one") << QByteArray("a\r\nb\r\nc\r\n") << qint64(3);
    QTest::newRow("lone CR and LF") << QByteArray("a\rb\nc\n\rd") << qint64(4);
    QTest::newRow("LF CR is two") << QByteArray("\n\r\n\r") << qint64(3);
    QTest::newRow("runs") << QByteArray("\r\r\n\n\r\n\r\r\r\n\n\n 12345678\r\n") << qint64(10);
    QTest::newRow("long and mixed") << QByteArray("x\r\n\r\r\n\n\rab\n").repeated(20) << qint64(120);
}

void TestDocument::lineEndsCountedInPieces()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, lines);
    // Whole, and cut in two at every place, so that a CR LF falls across the cut.
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        LineEndCounter counter;
        counter.feed(QByteArrayView(text).first(cut));
        counter.feed(QByteArrayView(text).sliced(cut));
        QCOMPARE(counter.count(), lines);
    }
}

void TestDocument::newFromTemplate_data()
{
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("expected");

    QByteArray templ = readFile(QStringLiteral(VORREL_DATA_DIR "/template.dat"));
    QCOMPARE(templ.count("AUTHOR1"), 1);
    QCOMPARE(templ.count("LANG"), 1);
    QVERIFY(templ.indexOf("AUTHOR1") < templ.indexOf("LANG"));

    // New documents take LF, whatever the file holds.
    QVERIFY(templ.contains("\r\n"));
    templ.replace("\r\n", "\n");
    QTest::newRow("defaults") << QStringLiteral("AUTHOR1") << QStringLiteral("LANG") << templ;
    QByteArray jane = templ;
    jane.replace("AUTHOR1", "Jane").replace("LANG", "en");
    QTest::newRow("typed") << QStringLiteral("Jane") << QStringLiteral("en") << jane;
    // The author goes in first, so the language lands in the author's text.
    QByteArray school = templ;
    school.replace("AUTHOR1", "fr" + QByteArray("UAGE SCHOOL"));
    QTest::newRow("author holding LANG") << QStringLiteral("LANGUAGE SCHOOL") << QStringLiteral("fr") << school;
    QByteArray accents = templ;
    accents.replace("AUTHOR1", "Ren\xc3\xa9")
        .replace("LANG",
            "fran\xc3\xa7"
            "ais");
    QTest::newRow("accents") << QStringLiteral(u"Ren\u00e9") << QStringLiteral(u"fran\u00e7ais") << accents;
}

void TestDocument::newFromTemplate()
{
    QFETCH(QString, author);
    QFETCH(QString, language);
    QFETCH(QByteArray, expected);
    QByteArray text;
    TextEncoding encoding = TextEncoding::Latin1;
    QVERIFY(m_doc->readTemplate(author, language, &text, &encoding));
    QCOMPARE(text, expected);
    QCOMPARE(encoding, TextEncoding::Utf8);
    // Reading the template changes nothing until the views hold it.
    QVERIFY(!m_doc->isOpen());
    m_doc->setCreated(QStringLiteral("My Bot"), encoding);
    QCOMPARE(m_doc->fileName(), QStringLiteral("My Bot"));
    QVERIFY(!m_doc->DocHasFile() && !m_doc->DocChanged());
}

void TestDocument::unreadableTemplate()
{
    m_doc->setOpened(work("two.aiml"), TextEncoding::Utf8);
    QVERIFY(QFile::remove(m_program->file(QStringLiteral("template.dat"))));
    QByteArray text = "untouched";
    TextEncoding encoding = TextEncoding::Latin1;
    QVERIFY(!m_doc->readTemplate(QStringLiteral("A"), QStringLiteral("B"), &text, &encoding));
    QVERIFY2(m_doc->errorString().contains(QStringLiteral("template.dat")), qPrintable(m_doc->errorString()));
    QCOMPARE(text, QByteArray("untouched"));
    QCOMPARE(m_doc->fileName(), work("two.aiml"));
    QVERIFY(m_doc->DocHasFile());
}

void TestDocument::saveAsNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "notes"
                                  << "notes.aiml";
    QTest::newRow("extension") << "notes.aiml"
                               << "notes.aiml";
    QTest::newRow("capital extension") << "notes.AIML"
                                       << "notes.AIML.aiml";
    QTest::newRow("ends in aiml") << "myaiml"
                                  << "myaiml";
}

void TestDocument::saveAsNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    m_doc->setCreated(QStringLiteral("NewDocument"), TextEncoding::Utf8);
    m_doc->setDocChanged(true);
    const QString fileName = Document::withAimlExtension(work(typed));
    QCOMPARE(fileName, work(written));
    QVERIFY(m_doc->saveAs(fileName, "<aiml>\n</aiml>\r\n"));
    QCOMPARE(QDir(m_work->path()).entryList(QDir::Files), QStringList { written });
    QCOMPARE(readFile(fileName), QByteArray("<aiml>\n</aiml>\r\n"));
    QCOMPARE(m_doc->fileName(), fileName);
    QVERIFY(m_doc->DocHasFile() && !m_doc->DocChanged());
}

void TestDocument::failedSaveKeepsState()
{
    QVERIFY(writeFile(work("plain"), "not a folder"));
    m_doc->setCreated(QStringLiteral("NewDocument"), TextEncoding::Utf8);
    m_doc->setDocChanged(true);
    // A file cannot be a folder, whoever runs the test.
    const QString impossible = work("plain") + QStringLiteral("/two.aiml");
    QVERIFY(!m_doc->saveAs(impossible, kTwoCategories));
    QVERIFY2(
        m_doc->errorString().startsWith(QStringLiteral("Cannot create file \"")), qPrintable(m_doc->errorString()));
    QVERIFY(m_doc->DocChanged() && !m_doc->DocHasFile());
    QCOMPARE(m_doc->fileName(), QStringLiteral("NewDocument"));
    QCOMPARE(readFile(work("plain")), QByteArray("not a folder"));
}

void TestDocument::stateAndSignals()
{
    QSignalSpy names(m_doc.get(), &Document::fileNameChanged);
    QSignalSpy changes(m_doc.get(), &Document::changedStateChanged);
    QCOMPARE(m_doc->fileName(), Document::kNoDocument);
    QVERIFY(!m_doc->isOpen());

    m_doc->setOpened(work("a.aiml"), TextEncoding::Utf8);
    m_doc->setDocChanged(true);
    m_doc->setDocChanged(true);
    QCOMPARE(changes.size(), 1);
    m_doc->setClosed();
    QCOMPARE(m_doc->fileName(), QStringLiteral("(None)"));
    // Close leaves DocHasFile as it was; New and Open set it again.
    QVERIFY(m_doc->DocHasFile() && !m_doc->DocChanged());
    QCOMPARE(names.size(), 2);
    QCOMPARE(names.at(1).at(0).toString(), QStringLiteral("(None)"));
    QCOMPARE(changes.size(), 2);
}

void TestDocument::lastDocument()
{
    m_doc->setCreated(QStringLiteral("Never Saved"), TextEncoding::Utf8);
    {
        const ScopedUmask open(0);
        QVERIFY(m_doc->saveLast());
    }
    QCOMPARE(m_program->read(QStringLiteral("last.dat")), QByteArray("Never Saved\r\n"));
    QCOMPARE(modeOf(m_program->file(QStringLiteral("last.dat"))), 0600);
    QVERIFY(m_program->write(QStringLiteral("last.dat"), "/some/where.aiml\r\nsecond\r\n"));
    QString last;
    QVERIFY(m_doc->readLast(&last));
    QCOMPARE(last, QStringLiteral("/some/where.aiml"));

    QVERIFY(QFile::remove(m_program->file(QStringLiteral("last.dat"))));
    QVERIFY(!m_doc->readLast(&last));
    QVERIFY2(m_doc->errorString().contains(QStringLiteral("last.dat")), qPrintable(m_doc->errorString()));
}

void TestDocument::saveQuestion_data()
{
    QTest::addColumn<bool>("changed");
    QTest::addColumn<Document::SaveAnswer>("answer");
    QTest::addColumn<bool>("saves");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("goesOn");
    using A = Document::SaveAnswer;
    QTest::newRow("unchanged") << false << A::Cancel << true << false << false << true;
    QTest::newRow("cancel") << true << A::Cancel << true << true << false << false;
    QTest::newRow("no") << true << A::No << true << true << false << true;
    QTest::newRow("yes, saved") << true << A::Yes << true << true << true << true;
    QTest::newRow("yes, not saved") << true << A::Yes << false << true << true << false;
}

void TestDocument::saveQuestion()
{
    QFETCH(bool, changed);
    QFETCH(Document::SaveAnswer, answer);
    QFETCH(bool, saves);
    QFETCH(bool, asked);
    QFETCH(bool, saved);
    QFETCH(bool, goesOn);
    m_doc->setDocChanged(changed);
    bool wasAsked = false;
    bool triedToSave = false;
    const bool result = m_doc->mayDiscard(
        [&] {
            wasAsked = true;
            return answer;
        },
        [&] {
            triedToSave = true;
            return saves;
        });
    QCOMPARE(wasAsked, asked);
    QCOMPARE(triedToSave, saved);
    QCOMPARE(result, goesOn);
}

void TestDocument::refreshRoundTrip()
{
    QVERIFY(writeFile(work("two.aiml"), kTwoCategories));
    QByteArray text;
    TextEncoding encoding = TextEncoding::Latin1;
    QVERIFY(read(work("two.aiml"), &text, &encoding));
    m_doc->setOpened(work("two.aiml"), encoding);
    ReadOptions options;
    options.encoding = encoding;
    const CategoryRows rows = readCategories(text, options);
    const RefreshResult refreshed = refreshText(rows, text, encoding);
    QVERIFY(refreshed.ok);
    QVERIFY(m_doc->save(refreshed.text));

    QByteArray again;
    QVERIFY(read(work("two.aiml"), &again));
    QCOMPARE(again, refreshed.text);
    const CategoryRows reread = readCategories(again, options);
    // The empty row reading leaves is not written, and reading leaves it again.
    QCOMPARE(reread.size(), rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < CategoryRows::kColumns; ++c)
            QCOMPARE(reread.text(r, c), rows.text(r, c));
    }
}

void TestDocument::corpusRoundTrips()
{
    const QDir corpus(QStringLiteral(VORREL_CORPUS_DIR "/free-aiml"));
    const QStringList files = corpus.entryList({ QStringLiteral("*.aiml") }, QDir::Files, QDir::Name);
    if (files.isEmpty())
        QSKIP("corpus not present");
    for (const QString &name : files) {
        const QByteArray original = readFile(corpus.filePath(name));
        QVERIFY(writeFile(work(name), original));
        QByteArray text;
        TextEncoding encoding = TextEncoding::Utf8;
        QVERIFY2(read(work(name), &text, &encoding), qPrintable(name));
        m_doc->setOpened(work(name), encoding);
        QVERIFY2(m_doc->save(text), qPrintable(name));
        // Every byte comes back, line ends included.
        QVERIFY2(readFile(work(name)) == original, qPrintable(name));

        // Refresh, save, open again: the same categories, as well-formed as before; a second
        // cycle changes no byte.
        ReadOptions options;
        options.encoding = encoding;
        const auto cycle = [&](const QByteArray &opened, QByteArray *saved) {
            const CategoryRows rows = readCategories(opened, options);
            QVERIFY(m_doc->save(refreshText(rows, opened, encoding).text));
            QVERIFY(read(work(name), saved));
            const CategoryRows reread = readCategories(*saved, options);
            QCOMPARE(categoriesOf(reread), categoriesOf(rows));
        };
        QByteArray once;
        QByteArray twice;
        cycle(text, &once);
        QCOMPARE(isWellFormed(once), isWellFormed(text));
        cycle(once, &twice);
        QVERIFY2(twice == once, qPrintable(name));
        qInfo("%s: %lld categories, %s", qPrintable(name), categoriesOf(readCategories(once, options)).size(),
            isWellFormed(once) ? "well-formed" : "not well-formed");
    }
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"

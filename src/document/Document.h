#pragma once

#include "document/DocumentText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <functional>

namespace vorrel {

// Where a document's text goes while it is read: the preview, or bytes on the command line.
// Either may refuse a piece when it has no room for it.
class TextSink
{
public:
    virtual ~TextSink() = default;
    // Room for about `size` bytes, before the first piece.
    virtual bool reserve(qint64 size) = 0;
    virtual bool append(QByteArrayView piece) = 0;
};

class ByteArraySink final : public TextSink
{
public:
    bool reserve(qint64 size) override;
    bool append(QByteArrayView piece) override;
    QByteArray bytes;
};

// The open document apart from its two views (the category table and the preview text): its
// name, whether it has a file, whether its text changed, and its encoding; reading and
// writing its file, New from "template.dat" and the record in "last.dat". Functions that can
// fail return false and leave their reason in errorString().
class Document final : public QObject
{
    Q_OBJECT

public:
    // The name while no document is open.
    static const QString kNoDocument;
    // Larger text, as it would be saved, is refused whole rather than taken to the edge of
    // the editor's limits.
    static constexpr qint64 kLargestDocument = qint64(1) << 30;

    enum class SaveAnswer { Yes, No, Cancel };

    explicit Document(QObject *parent = nullptr);

    // The path line: the full path of the file, a new document's title, or "(None)".
    const QString &fileName() const { return m_fileName; }
    bool isOpen() const { return m_fileName != kNoDocument; }
    // The name is the document's file, so Save writes without asking.
    bool DocHasFile() const { return m_hasFile; }
    // The text changed since the document was created, opened or saved.
    bool DocChanged() const { return m_changed; }
    // The categories changed since the text was last regenerated from them, or since the
    // document was created or opened.
    bool TableChanged() const { return m_tableChanged; }
    TextEncoding encoding() const { return m_encoding; }
    QString errorString() const { return m_error; }

    void setDocChanged(bool changed);
    void setTableChanged(bool changed);

    // Reads a document file into `sink` as the preview holds text: its bytes as they are, line
    // ends included, but UTF-16 as UTF-8. Only regular files (or links to them) are read, and
    // nothing of this document changes, so a failure leaves it exactly as it was.
    bool readFile(const QString &fileName, TextSink &sink, TextEncoding *encoding);
    // The views hold the file's text now.
    void setOpened(const QString &fileName, TextEncoding encoding);

    // The text of a new document: "template.dat" with its first "AUTHOR1" and then its first
    // "LANG" replaced, its lines ending in LF. Changes nothing of this document.
    bool readTemplate(const QString &author, const QString &language, QByteArray *text, TextEncoding *encoding);
    // The views hold the new document's text now.
    void setCreated(const QString &title, TextEncoding encoding);

    // Writes the preview's text to the document's file, or to `fileName`, which then becomes
    // the document's. The old file stays as it was when writing fails.
    bool save(QByteArrayView text);
    bool saveAs(const QString &fileName, QByteArrayView text);
    // The name Save As writes to: ".aiml" appended unless the name ends in "aiml".
    static QString withAimlExtension(const QString &fileName);

    // No document any more; DocHasFile stays as it was.
    void setClosed();

    // Records the name in "last.dat".
    bool saveLast();
    // The first line of "last.dat".
    bool readLast(QString *fileName);

    // Whether a command that drops the document may go on: neither the text nor the
    // categories changed, or the user answers No, or Yes and `save` then saves it.
    bool mayDiscard(const std::function<SaveAnswer()> &ask, const std::function<bool()> &save) const;

Q_SIGNALS:
    void fileNameChanged(const QString &fileName);
    void changedStateChanged(bool changed);
    void tableChangedStateChanged(bool changed);

private:
    bool fail(const QString &message);
    bool writeText(const QString &fileName, QByteArrayView text);
    void setFileName(const QString &fileName);
    // A document that the views now hold whole.
    void begin(const QString &name, bool hasFile, TextEncoding encoding);

    QString m_fileName = kNoDocument;
    bool m_hasFile = false;
    bool m_changed = false;
    bool m_tableChanged = false;
    TextEncoding m_encoding = TextEncoding::Utf8;
    QString m_error;
};

} // namespace vorrel

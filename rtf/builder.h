#pragma once
// Builds a QTextDocument from the runs, paragraphs, pictures and lists that the
// RTF reader finds, through one QTextCursor.
#include <QHash>
#include <QPointer>
#include <QTextCursor>
#include <QTextList>
#include <QTextListFormat>

class QTextDocument;

namespace rtf {

struct ListRef {
    int key = 0;  // paragraphs with the same non-zero key belong to one list
    QTextListFormat format;
};

class DocumentBuilder {
public:
    explicit DocumentBuilder(QTextDocument& doc);
    ~DocumentBuilder();
    DocumentBuilder(const DocumentBuilder&) = delete;
    DocumentBuilder& operator=(const DocumentBuilder&) = delete;

    // Text without paragraph breaks, in one format.
    void appendText(const QString& text, const QTextCharFormat& format);
    void appendImage(const QTextImageFormat& format);
    // Ends the paragraph being built with its format; the next paragraph starts only
    // when something is added to it, so a final paragraph mark adds no empty paragraph.
    void endParagraph(const QTextBlockFormat& format, const QTextCharFormat& markFormat,
                      const ListRef& list);
    // Gives the last paragraph its format when the input ends without a paragraph mark.
    void finish(const QTextBlockFormat& format, const QTextCharFormat& markFormat, const ListRef& list);
    // A paragraph of its own after everything built so far.
    void appendParagraph(const QString& text, const QTextBlockFormat& format,
                         const QTextCharFormat& charFormat);
    bool paragraphHasContent() const { return contentInParagraph_; }

private:
    void startParagraphIfPending(const QTextCharFormat& format);
    void applyParagraph(const QTextBlockFormat& format, const ListRef& list);

    QTextCursor cursor_;
    bool paragraphPending_ = false;
    bool contentInParagraph_ = false;
    bool anyParagraph_ = false;
    QHash<int, QPointer<QTextList>> lists_;
};

}  // namespace rtf

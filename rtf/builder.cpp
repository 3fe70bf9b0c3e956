#include "rtf/builder.h"

#include "rtf/docmodel.h"

#include <QTextBlock>
#include <QTextDocument>

namespace rtf {

DocumentBuilder::DocumentBuilder(QTextDocument& doc) : cursor_(&doc) {
    cursor_.movePosition(QTextCursor::End);
    // One edit for the whole build: outside an edit block every insertion lays
    // its paragraph out again to place the cursor, which is quadratic in its length.
    cursor_.beginEditBlock();
}

DocumentBuilder::~DocumentBuilder() { cursor_.endEditBlock(); }

void DocumentBuilder::startParagraphIfPending(const QTextCharFormat& format) {
    if (!paragraphPending_) return;
    paragraphPending_ = false;
    // The new paragraph starts plain; its own format arrives with its paragraph mark.
    cursor_.insertBlock(QTextBlockFormat(), format);
}

void DocumentBuilder::appendText(const QString& text, const QTextCharFormat& format) {
    if (text.isEmpty()) return;
    startParagraphIfPending(format);
    cursor_.insertText(text, format);
    contentInParagraph_ = true;
}

void DocumentBuilder::appendImage(const QTextImageFormat& format) {
    startParagraphIfPending(format);
    cursor_.insertImage(format);
    contentInParagraph_ = true;
}

void DocumentBuilder::applyParagraph(const QTextBlockFormat& format, const ListRef& list) {
    QTextBlockFormat f = format;
    if (list.key != 0) {
        cursor_.setBlockFormat(f);
        QPointer<QTextList>& l = lists_[list.key];
        if (l)
            l->add(cursor_.block());
        else
            l = cursor_.createList(list.format);
    } else {
        if (QTextList* current = cursor_.currentList()) current->remove(cursor_.block());
        f.setObjectIndex(-1);
        cursor_.setBlockFormat(f);
    }
}

void DocumentBuilder::endParagraph(const QTextBlockFormat& format, const QTextCharFormat& markFormat,
                                   const ListRef& list) {
    startParagraphIfPending(markFormat);
    if (!contentInParagraph_) cursor_.setBlockCharFormat(markFormat);
    applyParagraph(format, list);
    paragraphPending_ = true;
    contentInParagraph_ = false;
    anyParagraph_ = true;
}

void DocumentBuilder::finish(const QTextBlockFormat& format, const QTextCharFormat& markFormat,
                             const ListRef& list) {
    if (paragraphPending_) return;  // the last paragraph already has its format
    if (!contentInParagraph_) cursor_.setBlockCharFormat(markFormat);
    applyParagraph(format, list);
}

void DocumentBuilder::appendParagraph(const QString& text, const QTextBlockFormat& format,
                                      const QTextCharFormat& charFormat) {
    paragraphPending_ = false;
    cursor_.insertBlock(format, charFormat);
    cursor_.insertText(text, charFormat);
    contentInParagraph_ = true;
}

}  // namespace rtf

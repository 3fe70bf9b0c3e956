#pragma once
// Links found in the text by the editor's own rules: addresses that start with a
// scheme (http, https, ftp, file, mailto, news) or with "www.". They are shown as
// links without changing the document, so they are neither undo steps nor saved.
#include <QList>
#include <QSyntaxHighlighter>

struct LinkSpan {
    int start = 0;   // within the paragraph's text
    int length = 0;
};

// The links in one paragraph's text, in order.
QList<LinkSpan> findLinks(const QString& text);

class LinkHighlighter : public QSyntaxHighlighter {
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

protected:
    void highlightBlock(const QString& text) override;
};

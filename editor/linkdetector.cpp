#include "editor/linkdetector.h"

#include <QRegularExpression>
#include <QTextCharFormat>

namespace {

// Every address holds a ":" or starts with "www.": one pass over the text
// tells whether the expression needs to run at all.
bool mayHoldLink(QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u':') return true;
        if ((c | 0x20) == u'w' && i + 3 < n && (text[i + 1].unicode() | 0x20) == u'w' &&
            (text[i + 2].unicode() | 0x20) == u'w' && text[i + 3] == u'.')
            return true;
    }
    return false;
}

}  // namespace

QList<LinkSpan> findLinks(const QString& text) {
    QList<LinkSpan> spans;
    // Most paragraphs hold no link: a cheap look first keeps long texts fast.
    if (!mayHoldLink(text)) return spans;
    static const QRegularExpression link(
        QStringLiteral(R"((?<![\w@.])(?:(?:https?|ftp|file|news)://|mailto:|www\.)[^\s<>"]+)"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = link.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        int length = int(m.capturedLength());
        // Punctuation that ends a sentence is not part of the address.
        while (length > 0 && QStringLiteral(".,;:!?)]}'").contains(text.at(m.capturedStart() + length - 1)))
            --length;
        const QString found = text.mid(m.capturedStart(), length);
        if (found.endsWith(QLatin1String("://")) || found.compare(QLatin1String("mailto:"), Qt::CaseInsensitive) == 0 ||
            found.compare(QLatin1String("www."), Qt::CaseInsensitive) == 0)
            continue;  // a scheme alone is no address
        spans.append({int(m.capturedStart()), length});
    }
    return spans;
}

void LinkHighlighter::highlightBlock(const QString& text) {
    const QList<LinkSpan> spans = findLinks(text);
    if (spans.isEmpty()) return;
    QTextCharFormat f;
    f.setForeground(QColor(0, 0, 255));
    f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    for (const LinkSpan& s : spans) setFormat(s.start, s.length, f);
}

#include "editor/linkdetector.h"

#include <QRegularExpression>
#include <QTextCharFormat>

QList<LinkSpan> findLinks(const QString& text) {
    QList<LinkSpan> spans;
    // Most paragraphs hold no link: a cheap look first keeps long texts fast.
    if (!text.contains(u':') && !text.contains(QLatin1String("www."), Qt::CaseInsensitive)) return spans;
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

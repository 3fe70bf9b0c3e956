#pragma once
// A document as compact markup, so a test states the text and formats a
// document must have in one string:
//   paragraphs one per line, "[c first=10 left=-5 right=2 list=disc]" before a
//   paragraph whose format is not plain; runs "<b i u s fs=14 f=Face fg=#rrggbb
//   bg=#rrggbb href=...>text</>"; pictures "<img 32x16 #hash>"; objects
//   "<obj Class name linked data=#hash img=#hash>"; a line break "\l", a tab "\t".
// A face equal to `baseFace` or to the document's default face is not shown,
// nor a size of 12 points.
#include "rtf/docmodel.h"

#include <QCryptographicHash>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QUrl>

namespace markup {

inline QString number(qreal v) {
    const qreal r = std::round(v * 100) / 100;
    return QString::number(r, 'g', 6);
}

inline QString shortHash(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(8));
}

inline QString pixelHash(const QImage& image) {
    if (image.isNull()) return QStringLiteral("none");
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray bits(reinterpret_cast<const char*>(argb.constBits()), argb.sizeInBytes());
    return shortHash(bits) + QStringLiteral("@%1x%2").arg(argb.width()).arg(argb.height());
}

inline QString colourText(const QColor& c) { return c.name(QColor::HexRgb); }

inline QString listStyleName(QTextListFormat::Style s) {
    switch (s) {
    case QTextListFormat::ListDisc: return QStringLiteral("disc");
    case QTextListFormat::ListCircle: return QStringLiteral("circle");
    case QTextListFormat::ListSquare: return QStringLiteral("square");
    case QTextListFormat::ListDecimal: return QStringLiteral("decimal");
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("alpha");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("ALPHA");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("roman");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("ROMAN");
    default: return QStringLiteral("other");
    }
}

inline QString charAttributes(const QTextDocument& doc, const QTextCharFormat& f, const QString& baseFace) {
    QStringList a;
    if (f.fontWeight() >= QFont::DemiBold) a << QStringLiteral("b");
    if (f.fontItalic()) a << QStringLiteral("i");
    if (f.underlineStyle() != QTextCharFormat::NoUnderline || f.fontUnderline()) a << QStringLiteral("u");
    if (f.fontStrikeOut()) a << QStringLiteral("s");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) a << QStringLiteral("sup");
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) a << QStringLiteral("sub");
    const qreal size = f.fontPointSize() > 0 ? f.fontPointSize() : doc.defaultFont().pointSizeF();
    if (std::abs(size - 12) > 0.01) a << QStringLiteral("fs=") + number(size);
    QString face;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty()) face = families.first();
    if (!face.isEmpty() && face != baseFace && face != doc.defaultFont().family())
        a << QStringLiteral("f=") + face;
    if (f.intProperty(rtf::CharsetProperty) != 0)
        a << QStringLiteral("cs=%1").arg(f.intProperty(rtf::CharsetProperty));
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        a << QStringLiteral("fg=") + colourText(f.foreground().color());
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        a << QStringLiteral("bg=") + colourText(f.background().color());
    if (f.isAnchor() && !f.anchorHref().isEmpty()) a << QStringLiteral("href=") + f.anchorHref();
    if (f.hasProperty(rtf::FieldInstructionProperty))
        a << QStringLiteral("fld=") + f.stringProperty(rtf::FieldInstructionProperty).trimmed();
    return a.join(u' ');
}

inline QString imageText(const QTextDocument& doc, const QTextImageFormat& f) {
    QString s;
    if (f.hasProperty(rtf::ObjectClassProperty)) {
        s = QStringLiteral("<obj ") + f.stringProperty(rtf::ObjectClassProperty);
        if (f.hasProperty(rtf::ObjectNameProperty)) s += u' ' + f.stringProperty(rtf::ObjectNameProperty);
        if (f.boolProperty(rtf::ObjectLinkedProperty)) s += QStringLiteral(" linked");
        s += QStringLiteral(" data=#") + shortHash(rtf::keptResource(doc, rtf::ObjectDataResource, f.name()).toByteArray());
        s += QStringLiteral(" img=#") + pixelHash(rtf::pictureImage(doc, f));
        return s + u'>';
    }
    s = QStringLiteral("<img %1x%2 ").arg(number(f.width()), number(f.height()));
    const QImage image = rtf::pictureImage(doc, f);
    if (!image.isNull()) {
        s += u'#' + pixelHash(image);
    } else {
        // a picture Qt cannot show: what counts is that its bytes are kept
        s += QStringLiteral("raw#") + shortHash(rtf::keptResource(doc, rtf::KeptPictureResource, f.name()).toByteArray());
    }
    return s + u'>';
}

inline QString paragraphAttributes(const QTextBlock& b) {
    QStringList a;
    const QTextBlockFormat f = b.blockFormat();
    const Qt::Alignment al = f.alignment() & Qt::AlignHorizontal_Mask;
    if (al & Qt::AlignHCenter) a << QStringLiteral("c");
    else if (al & (Qt::AlignRight | Qt::AlignTrailing)) a << QStringLiteral("r");
    else if (al & Qt::AlignJustify) a << QStringLiteral("j");
    const rtf::Indents in = rtf::indents(f, b.textList() != nullptr);
    const qreal pt = rtf::pixelsPerPoint;
    if (std::abs(in.first) > 0.01) a << QStringLiteral("first=") + number(in.first / pt);
    if (std::abs(in.left) > 0.01) a << QStringLiteral("left=") + number(in.left / pt);
    if (std::abs(in.right) > 0.01) a << QStringLiteral("right=") + number(in.right / pt);
    if (QTextList* list = b.textList()) a << QStringLiteral("list=") + listStyleName(list->format().style());
    return a.join(u' ');
}

inline QString visible(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == QChar::LineSeparator) out += QLatin1String("\\l");
        else if (c == u'\t') out += QLatin1String("\\t");
        else if (c == QChar::ObjectReplacementCharacter) continue;
        else out += c;
    }
    return out;
}

inline QString of(const QTextDocument& doc, const QString& baseFace = QString()) {
    QStringList paragraphs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString p;
        const QString pa = paragraphAttributes(b);
        if (!pa.isEmpty()) p += u'[' + pa + u']';
        // Runs whose shown attributes match are one run, however Qt splits them.
        QString runAttrs, runText;
        bool open = false;
        auto flush = [&] {
            if (!open) return;
            if (runAttrs.isEmpty()) p += visible(runText);
            else p += u'<' + runAttrs + u'>' + visible(runText) + QStringLiteral("</>");
            runText.clear();
            open = false;
        };
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat f = frag.charFormat();
            if (f.isImageFormat()) {
                flush();
                for (QChar c : frag.text())
                    if (c == QChar::ObjectReplacementCharacter) p += imageText(doc, f.toImageFormat());
                continue;
            }
            const QString attrs = charAttributes(doc, f, baseFace);
            if (open && attrs != runAttrs) flush();
            runAttrs = attrs;
            runText += frag.text();
            open = true;
        }
        flush();
        paragraphs << p;
    }
    return paragraphs.join(u'\n');
}

}  // namespace markup

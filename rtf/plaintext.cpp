#include "rtf/plaintext.h"

#include "rtf/codepage.h"

#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>

namespace rtf {

namespace {

bool decodeRaw(const QByteArray& bytes, QString* text, int ansiCodePage) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder dec(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                         : QStringConverter::Utf16BE);
        *text = dec(QByteArrayView(bytes).sliced(2));
        return true;
    }
    if (bytes.contains('\0')) return false;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        *text = QString::fromUtf8(QByteArrayView(bytes).sliced(3));
        return true;
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString s = utf8(bytes);
    if (!utf8.hasError()) {
        *text = s;
        return true;
    }
    CodePageDecoder dec;
    text->clear();
    dec.decode(ansiCodePage > 0 ? ansiCodePage : systemAnsiCodePage(), bytes, *text);
    return true;
}

}  // namespace

bool decodeText(const QByteArray& bytes, QString* text, int ansiCodePage) {
    if (!decodeRaw(bytes, text, ansiCodePage)) return false;
    // Lines may end in CR LF, LF or CR.
    if (text->contains(QLatin1Char('\r'))) {
        text->replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text->replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return true;
}

QString plainText(const QTextDocument& doc) {
    QString out;
    out.reserve(doc.characterCount());
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin()) out += QLatin1Char('\n');
        const QString t = b.text();
        for (QChar c : t) {
            if (c == QChar::ObjectReplacementCharacter) continue;
            out += (c == QChar::LineSeparator) ? QChar(u'\n') : c;
        }
    }
    return out;
}

QByteArray encodeText(const QTextDocument& doc) {
    // lines end as text files on the platform of the diaries do: CR LF
    QString text = plainText(doc);
    text.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    return text.toUtf8();
}

}  // namespace rtf

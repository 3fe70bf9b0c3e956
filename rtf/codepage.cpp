#include "rtf/codepage.h"

#include <QLocale>

namespace rtf {
namespace {

QByteArray encodingName(int codePage) {
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1361: return "johab";
    case 10000: return "macintosh";
    case 10007: return "x-mac-cyrillic";
    case 20127: return "US-ASCII";
    case 28591: return "ISO-8859-1";
    case 65001: return "UTF-8";
    default:
        if (codePage >= 1250 && codePage <= 1258) return "windows-" + QByteArray::number(codePage);
        return {};
    }
}

}  // namespace

int codePageForCharset(int charset) {
    switch (charset) {
    case 0: return 1252;     // ANSI
    case 2: return 1252;     // symbol fonts: bytes stand for glyphs; keep them readable
    case 77: return 10000;   // Macintosh
    case 78: return 10001;
    case 128: return 932;    // Shift JIS
    case 129: return 949;    // Hangul
    case 130: return 1361;   // Johab
    case 134: return 936;    // GB2312
    case 136: return 950;    // Big5
    case 161: return 1253;   // Greek
    case 162: return 1254;   // Turkish
    case 163: return 1258;   // Vietnamese
    case 177: return 1255;   // Hebrew
    case 178: return 1256;   // Arabic
    case 186: return 1257;   // Baltic
    case 204: return 1251;   // Russian
    case 222: return 874;    // Thai
    case 238: return 1250;   // Eastern Europe
    case 254: return 437;    // PC 437
    case 255: return 850;    // OEM
    default: return -1;      // 1 = default charset, and anything unknown
    }
}

int charsetForCodePage(int codePage) {
    switch (codePage) {
    case 932: return 128;
    case 949: return 129;
    case 1361: return 130;
    case 936: return 134;
    case 950: return 136;
    case 1253: return 161;
    case 1254: return 162;
    case 1258: return 163;
    case 1255: return 177;
    case 1256: return 178;
    case 1257: return 186;
    case 1251: return 204;
    case 874: return 222;
    case 1250: return 238;
    case 10000: return 77;
    default: return 0;
    }
}

bool isDoubleByteCodePage(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

int systemAnsiCodePage() {
    const QLocale locale;
    switch (locale.language()) {
    case QLocale::Japanese: return 932;
    case QLocale::Chinese:
        return (locale.territory() == QLocale::Taiwan || locale.territory() == QLocale::HongKong ||
                locale.territory() == QLocale::Macao)
                   ? 950 : 936;
    case QLocale::Korean: return 949;
    case QLocale::Thai: return 874;
    case QLocale::Russian: case QLocale::Ukrainian: case QLocale::Belarusian:
    case QLocale::Bulgarian: case QLocale::Macedonian: case QLocale::Serbian:
    case QLocale::Kazakh: case QLocale::Kyrgyz: case QLocale::Mongolian:
        return 1251;
    case QLocale::Polish: case QLocale::Czech: case QLocale::Slovak: case QLocale::Hungarian:
    case QLocale::Slovenian: case QLocale::Croatian: case QLocale::Romanian:
    case QLocale::Albanian: case QLocale::Bosnian:
        return 1250;
    case QLocale::Greek: return 1253;
    case QLocale::Turkish: case QLocale::Azerbaijani: return 1254;
    case QLocale::Hebrew: return 1255;
    case QLocale::Arabic: case QLocale::Persian: case QLocale::Urdu: return 1256;
    case QLocale::Estonian: case QLocale::Latvian: case QLocale::Lithuanian: return 1257;
    case QLocale::Vietnamese: return 1258;
    default: return 1252;
    }
}

CodePageDecoder::Page& CodePageDecoder::page(int codePage) {
    if (codePage == lastCodePage_ && last_) return *last_;
    auto it = pages_.find(codePage);
    if (it == pages_.end()) {
        Page p;
        const QByteArray name = encodingName(codePage);
        p.doubleByte = isDoubleByteCodePage(codePage) || codePage == 65001;
        if (p.doubleByte && !name.isEmpty()) {
            p.decoder = std::make_unique<QStringDecoder>(name.constData());
            if (!p.decoder->isValid()) {
                p.decoder.reset();
                p.doubleByte = false;
            }
        } else {
            p.doubleByte = false;
        }
        if (!p.doubleByte) {
            // A byte that the page leaves undefined keeps its own value, so nothing is lost.
            for (int b = 0; b < 256; ++b) p.table[b] = char16_t(b);
            if (!name.isEmpty()) {
                QStringDecoder dec(name.constData());
                if (dec.isValid()) {
                    for (int b = 0x80; b < 256; ++b) {
                        const char ch = char(b);
                        dec.resetState();
                        const QString s = dec(QByteArrayView(&ch, 1));
                        if (s.size() == 1 && s[0] != QChar::ReplacementCharacter) p.table[b] = s[0].unicode();
                    }
                }
            }
        }
        it = pages_.emplace(codePage, std::move(p)).first;
    }
    lastCodePage_ = codePage;
    last_ = &it->second;
    return it->second;
}

char16_t CodePageDecoder::decodeByte(int codePage, unsigned char byte) {
    if (byte < 0x80) return byte;
    Page& p = page(codePage);
    return p.doubleByte ? char16_t(byte) : p.table[byte];
}

void CodePageDecoder::decode(int codePage, QByteArrayView bytes, QString& out) {
    if (bytes.isEmpty()) return;
    Page& p = page(codePage);
    if (p.doubleByte) {
        p.decoder->resetState();
        out += (*p.decoder)(bytes);
        return;
    }
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    char16_t* dst = reinterpret_cast<char16_t*>(out.data()) + start;
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) dst[i] = p.table[src[i]];
}

QByteArray encodeCodePage(int codePage, const QString& text, bool* ok) {
    const QByteArray name = encodingName(codePage);
    if (name.isEmpty()) {
        if (ok) *ok = false;
        return {};
    }
    QStringEncoder enc(name.constData());
    QStringDecoder dec(name.constData());
    if (!enc.isValid() || !dec.isValid()) {
        if (ok) *ok = false;
        return {};
    }
    QByteArray bytes = enc(text);
    const bool good = !enc.hasError() && QString(dec(bytes)) == text;
    if (ok) *ok = good;
    return good ? bytes : QByteArray();
}

unsigned char toWindows1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    switch (c) {
    case 0x20AC: return 0x80; case 0x201A: return 0x82; case 0x0192: return 0x83;
    case 0x201E: return 0x84; case 0x2026: return 0x85; case 0x2020: return 0x86;
    case 0x2021: return 0x87; case 0x02C6: return 0x88; case 0x2030: return 0x89;
    case 0x0160: return 0x8A; case 0x2039: return 0x8B; case 0x0152: return 0x8C;
    case 0x017D: return 0x8E; case 0x2018: return 0x91; case 0x2019: return 0x92;
    case 0x201C: return 0x93; case 0x201D: return 0x94; case 0x2022: return 0x95;
    case 0x2013: return 0x96; case 0x2014: return 0x97; case 0x02DC: return 0x98;
    case 0x2122: return 0x99; case 0x0161: return 0x9A; case 0x203A: return 0x9B;
    case 0x0153: return 0x9C; case 0x017E: return 0x9E; case 0x0178: return 0x9F;
    default: return 0;
    }
}

}  // namespace rtf

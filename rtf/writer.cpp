// The RTF writer: one pass collects fonts and colours per format, a second
// writes paragraphs and runs, emitting only the words that change.
#include "rtf/codepage.h"
#include "rtf/docmodel.h"
#include "rtf/rtf.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QUrl>
#include <cmath>
#include <vector>

namespace rtf {
namespace {

struct RunFormat {
    int font = -1;
    int halfPoints = 24;
    int fg = 0;  // colour table index; 0 = automatic
    int bg = 0;
    unsigned char underline = 0;  // 0 none, 1 single, 2 dotted, 3 dash, 4 wave, 5 dash-dot
    signed char vertical = 0;
    bool bold = false, italic = false, strike = false;
    bool ansi = true;  // the font's code page is 1252, so \'hh fallbacks read back right
    bool operator==(const RunFormat&) const = default;
};

struct ParaFormat {
    int align = 0;
    int li = 0, fi = 0, ri = 0, sb = 0, sa = 0, sl = 0;
    bool slMult = false;
    int listStyle = 0;  // QTextListFormat::Style, 0 = none
    bool operator==(const ParaFormat&) const = default;
};

int twips(qreal pixels) { return int(std::lround(pixels / pixelsPerTwip)); }

void appendInt(QByteArray& out, long long v) {
    char buf[24];
    int n = 0;
    const bool negative = v < 0;
    unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
    do {
        buf[n++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (negative) out.append('-');
    while (n) out.append(buf[--n]);
}

void appendWord(QByteArray& out, const char* word, long long v) {
    out.append(word);
    appendInt(out, v);
}

const char hexDigits[] = "0123456789abcdef";

void appendHexByte(QByteArray& out, unsigned char b) {
    out.append("\\'");
    out.append(hexDigits[b >> 4]);
    out.append(hexDigits[b & 15]);
}

void appendHexData(QByteArray& out, const QByteArray& data) {
    const qsizetype start = out.size();
    const qsizetype lines = data.size() / 64 + 1;
    out.resize(start + data.size() * 2 + lines);
    char* p = out.data() + start;
    const auto* src = reinterpret_cast<const unsigned char*>(data.constData());
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i % 64 == 0) *p++ = '\n';
        *p++ = hexDigits[src[i] >> 4];
        *p++ = hexDigits[src[i] & 15];
    }
    out.resize(p - out.data());
    out.append('\n');
}

class Writer {
public:
    Writer(const QTextDocument& doc, const WriteOptions& options) : doc_(doc), options_(options) {}
    QByteArray run();

private:
    int fontIndex(const QString& family, int charset);
    int colourIndex(const QColor& c);
    // What the writer needs of one character format, worked out once per format.
    struct FormatInfo {
        RunFormat run;
        bool image = false;
        bool link = false;
        bool otherField = false;  // a field other than a link, kept by its instruction
        QString href, instruction;
    };
    template <typename GetFormat>
    const FormatInfo& formatInfo(int formatIndex, GetFormat&& format);
    RunFormat makeRunFormat(const QTextCharFormat& f);
    ParaFormat paraFormat(const QTextBlock& block);
    void writeParagraphStart(const QTextBlock& block);
    void switchRun(const RunFormat& r);
    void writeText(const QString& text, int from, int length, bool ansi);
    void writeFontTable();
    void writeColourTable();
    void writePicture(const QTextImageFormat& f);
    void writeObject(const QTextImageFormat& f);
    void openField(const QTextCharFormat& f);
    void closeField();

    const QTextDocument& doc_;
    const WriteOptions& options_;
    QByteArray body_;
    struct FontEntry {
        QString family;
        int charset;
    };
    std::vector<FontEntry> fonts_;
    QHash<QString, int> fontIds_;
    std::vector<QColor> colours_;
    QHash<QRgb, int> colourIds_;
    std::vector<FormatInfo> formatCache_;
    std::vector<bool> formatCached_;
    RunFormat current_;
    bool currentValid_ = false;
    ParaFormat currentPara_;
    bool paraValid_ = false;
    int symbolFont_ = -1;
    int defaultColour_ = 0;
    QString defaultFamily_;
    int defaultHalfPoints_ = 24;
    // the field being written (its result is open), identified by what it points to
    bool fieldOpen_ = false;
    QString fieldHref_, fieldInstruction_;
};

int Writer::fontIndex(const QString& family, int charset) {
    const QString key = family + QChar(0x1) + QString::number(charset);
    auto it = fontIds_.constFind(key);
    if (it != fontIds_.constEnd()) return *it;
    const int id = int(fonts_.size());
    fonts_.push_back({family, charset});
    fontIds_.insert(key, id);
    return id;
}

int Writer::colourIndex(const QColor& c) {
    const QRgb rgb = c.rgb() & 0xFFFFFF;
    auto it = colourIds_.constFind(rgb);
    if (it != colourIds_.constEnd()) return *it;
    colours_.push_back(c);
    const int id = int(colours_.size());  // entry 0 is "automatic"
    colourIds_.insert(rgb, id);
    return id;
}

RunFormat Writer::makeRunFormat(const QTextCharFormat& f) {
    RunFormat r;
    QString family;
    const QVariant families = f.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty()) family = list.first();
    }
    if (family.isEmpty()) family = f.stringProperty(QTextFormat::FontFamily);
    if (family.isEmpty()) family = defaultFamily_;
    const int charset = f.intProperty(CharsetProperty);
    r.font = fontIndex(family, charset);
    r.ansi = charset == 0 || codePageForCharset(charset) == 1252;
    const qreal pt = f.fontPointSize();
    r.halfPoints = pt > 0 ? int(std::lround(pt * 2)) : defaultHalfPoints_;
    r.bold = f.fontWeight() >= QFont::DemiBold;
    r.italic = f.fontItalic();
    r.strike = f.fontStrikeOut();
    switch (f.underlineStyle()) {
    case QTextCharFormat::SingleUnderline: r.underline = 1; break;
    case QTextCharFormat::DotLine: r.underline = 2; break;
    case QTextCharFormat::DashUnderline: r.underline = 3; break;
    case QTextCharFormat::WaveUnderline: r.underline = 4; break;
    case QTextCharFormat::DashDotLine:
    case QTextCharFormat::DashDotDotLine: r.underline = 5; break;
    default: r.underline = f.fontUnderline() ? 1 : 0; break;
    }
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) r.vertical = 1;
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) r.vertical = -1;
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        r.fg = colourIndex(f.foreground().color());
    else
        r.fg = defaultColour_;
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        r.bg = colourIndex(f.background().color());
    return r;
}

template <typename GetFormat>
const Writer::FormatInfo& Writer::formatInfo(int formatIndex, GetFormat&& format) {
    if (formatIndex < 0) formatIndex = 0;
    const auto i = std::size_t(formatIndex);
    if (i >= formatCache_.size()) {
        formatCache_.resize(i + 1);
        formatCached_.resize(i + 1, false);
    }
    if (!formatCached_[i]) {
        const QTextCharFormat f = format();
        FormatInfo& info = formatCache_[i];
        info.run = makeRunFormat(f);
        info.image = f.isImageFormat();
        info.link = f.isAnchor() && !f.anchorHref().isEmpty();
        if (info.link) info.href = f.anchorHref();
        info.otherField = !info.link && f.hasProperty(FieldInstructionProperty);
        if (info.otherField) info.instruction = f.stringProperty(FieldInstructionProperty);
        formatCached_[i] = true;
    }
    return formatCache_[i];
}

ParaFormat Writer::paraFormat(const QTextBlock& block) {
    const QTextBlockFormat f = block.blockFormat();
    ParaFormat p;
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter) p.align = 1;
    else if (a & (Qt::AlignRight | Qt::AlignTrailing)) p.align = 2;
    else if (a & Qt::AlignJustify) p.align = 3;
    QTextList* list = block.textList();
    const Indents in = indents(f, list != nullptr);
    p.li = twips(in.first + in.left);
    p.fi = twips(-in.left);
    p.ri = twips(in.right);
    p.sb = twips(f.topMargin());
    p.sa = twips(f.bottomMargin());
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (std::lround(f.lineHeight()) != 100) {
            p.sl = int(std::lround(f.lineHeight() * 240 / 100));
            p.slMult = true;
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        p.sl = twips(f.lineHeight());
        break;
    case QTextBlockFormat::FixedHeight:
        p.sl = -twips(f.lineHeight());
        break;
    default:
        break;
    }
    if (list) p.listStyle = int(list->format().style());
    return p;
}

void Writer::writeParagraphStart(const QTextBlock& block) {
    const ParaFormat p = paraFormat(block);
    if (paraValid_ && p == currentPara_ && p.listStyle == 0) return;
    currentPara_ = p;
    paraValid_ = true;
    QByteArray& o = body_;
    o.append("\\pard");
    if (p.align == 1) o.append("\\qc");
    if (p.align == 2) o.append("\\qr");
    if (p.align == 3) o.append("\\qj");
    if (p.li) appendWord(o, "\\li", p.li);
    if (p.fi) appendWord(o, "\\fi", p.fi);
    if (p.ri) appendWord(o, "\\ri", p.ri);
    if (p.sb) appendWord(o, "\\sb", p.sb);
    if (p.sa) appendWord(o, "\\sa", p.sa);
    if (p.sl) {
        appendWord(o, "\\sl", p.sl);
        appendWord(o, "\\slmult", p.slMult ? 1 : 0);
    }
    if (p.listStyle != 0) {
        // The number or bullet as text for readers without numbering, then the numbering.
        QTextList* list = block.textList();
        const auto style = QTextListFormat::Style(p.listStyle);
        const bool bullet = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
                            style == QTextListFormat::ListSquare;
        if (bullet) {
            if (symbolFont_ < 0) symbolFont_ = fontIndex(QStringLiteral("Symbol"), 2);
            o.append("{\\pntext\\f");
            appendInt(o, symbolFont_);
            o.append("\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf");
            appendInt(o, symbolFont_);
            o.append("\\pnindent0{\\pntxtb\\'B7}}");
        } else {
            const QString number = list->itemText(block);
            o.append("{\\pntext ");
            writeText(number, 0, int(number.size()), true);
            o.append("\\tab}{\\*\\pn\\pnlvlbody\\pnindent0\\pnstart1");
            switch (style) {
            case QTextListFormat::ListLowerAlpha: o.append("\\pnlcltr"); break;
            case QTextListFormat::ListUpperAlpha: o.append("\\pnucltr"); break;
            case QTextListFormat::ListLowerRoman: o.append("\\pnlcrm"); break;
            case QTextListFormat::ListUpperRoman: o.append("\\pnucrm"); break;
            default: o.append("\\pndec"); break;
            }
            o.append("{\\pntxta.}}");
        }
    }
    // A space ends a control word; after a group it would be text.
    if (!o.endsWith('}')) o.append(' ');
}

void Writer::switchRun(const RunFormat& r) {
    QByteArray& o = body_;
    const qsizetype before = o.size();
    const RunFormat& c = current_;
    const bool all = !currentValid_;
    if (all || r.font != c.font) appendWord(o, "\\f", r.font);
    if (all || r.halfPoints != c.halfPoints) appendWord(o, "\\fs", r.halfPoints);
    if (all || r.bold != c.bold) o.append(r.bold ? "\\b" : "\\b0");
    if (all || r.italic != c.italic) o.append(r.italic ? "\\i" : "\\i0");
    if (all || r.underline != c.underline) {
        static const char* const ul[] = {"\\ulnone", "\\ul", "\\uld", "\\uldash", "\\ulwave", "\\uldashd"};
        o.append(ul[r.underline]);
    }
    if (all || r.strike != c.strike) o.append(r.strike ? "\\strike" : "\\strike0");
    if (all || r.vertical != c.vertical)
        o.append(r.vertical > 0 ? "\\super" : r.vertical < 0 ? "\\sub" : "\\nosupersub");
    if (all || r.fg != c.fg) appendWord(o, "\\cf", r.fg);
    if (all || r.bg != c.bg) appendWord(o, "\\highlight", r.bg);
    if (o.size() != before) o.append(' ');
    current_ = r;
    currentValid_ = true;
}

void Writer::writeText(const QString& text, int from, int length, bool ansi) {
    QByteArray& o = body_;
    const char16_t* s = reinterpret_cast<const char16_t*>(text.constData()) + from;
    const char16_t* end = s + length;
    while (s < end) {
        // plain ASCII runs go out as they are
        const char16_t* q = s;
        while (q < end && *q >= 0x20 && *q < 0x7F && *q != '\\' && *q != '{' && *q != '}') ++q;
        if (q > s) {
            const qsizetype start = o.size();
            o.resize(start + (q - s));
            char* dst = o.data() + start;
            for (const char16_t* r = s; r < q; ++r) *dst++ = char(*r);
            s = q;
            if (s >= end) break;
        }
        const char16_t c = *s++;
        switch (c) {
        case '\\': o.append("\\\\"); continue;
        case '{': o.append("\\{"); continue;
        case '}': o.append("\\}"); continue;
        case '\t': o.append("\\tab "); continue;
        case 0x2028: o.append("\\line "); continue;
        case 0x2029: o.append("\\par "); continue;
        case 0x00A0: o.append("\\~"); continue;
        case 0x00AD: o.append("\\-"); continue;
        case 0x2011: o.append("\\_"); continue;
        case 0xFFFC: continue;  // objects are written by the caller
        default: break;
        }
        if (c < 0x20) continue;  // control characters are not text
        if (ansi) {
            if (const unsigned char b = toWindows1252(c); b >= 0x80) {
                appendHexByte(o, b);
                continue;
            }
        }
        appendWord(o, "\\u", c >= 0x8000 ? int(c) - 65536 : int(c));
        o.append('?');
    }
}

void Writer::writeFontTable() {
    QByteArray& o = body_;
    o.append("{\\fonttbl");
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        o.append("{\\f");
        appendInt(o, qint64(i));
        o.append("\\fnil\\fcharset");
        appendInt(o, fonts_[i].charset);
        o.append(' ');
        const QString& name = fonts_[i].family;
        const int cp = codePageForCharset(fonts_[i].charset);
        bool ascii = true;
        for (QChar c : name) ascii = ascii && c.unicode() < 0x80;
        if (ascii || cp <= 0) {
            writeText(name, 0, int(name.size()), cp <= 0 || cp == 1252);
        } else {
            bool ok = false;
            const QByteArray bytes = encodeCodePage(cp, name, &ok);
            if (ok) {
                for (char b : bytes) {
                    const auto u = static_cast<unsigned char>(b);
                    if (u >= 0x80 || b == '\\' || b == '{' || b == '}' || b == ';') appendHexByte(o, u);
                    else o.append(b);
                }
            } else {
                writeText(name, 0, int(name.size()), false);
            }
        }
        o.append(";}");
    }
    o.append("}\n");
}

void Writer::writeColourTable() {
    QByteArray& o = body_;
    o.append("{\\colortbl ;");
    for (const QColor& c : colours_) {
        appendWord(o, "\\red", c.red());
        appendWord(o, "\\green", c.green());
        appendWord(o, "\\blue", c.blue());
        o.append(';');
    }
    o.append("}\n");
}

void Writer::writePicture(const QTextImageFormat& f) {
    QByteArray& o = body_;
    const QUrl url(f.name());
    QByteArray bytes;
    QString source = f.stringProperty(PictureSourceProperty);
    const QVariant kept = keptResource(doc_, KeptPictureResource, f.name());
    if (kept.typeId() == QMetaType::QByteArray && !kept.toByteArray().isEmpty()) {
        bytes = kept.toByteArray();
    } else {
        // A picture Qt holds only as an image: store it as PNG.
        const QVariant v = doc_.resource(QTextDocument::ImageResource, url);
        QImage image;
        if (v.typeId() == QMetaType::QImage) image = v.value<QImage>();
        else if (v.typeId() == QMetaType::QPixmap) image = v.value<QPixmap>().toImage();
        else if (v.typeId() == QMetaType::QByteArray) image.loadFromData(v.toByteArray());
        if (image.isNull()) return;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        source = QStringLiteral("\\pngblip");
    }
    if (source.isEmpty()) source = QStringLiteral("\\pngblip");
    o.append("{\\pict");
    o.append(source.toLatin1());
    if (!source.contains(QLatin1String("\\picw"))) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        if (size.isValid()) {
            appendWord(o, "\\picw", size.width());
            appendWord(o, "\\pich", size.height());
        }
    }
    if (f.width() > 0 && f.height() > 0) {
        appendWord(o, "\\picwgoal", twips(f.width()));
        appendWord(o, "\\pichgoal", twips(f.height()));
    }
    appendHexData(o, bytes);
    o.append('}');
}

void Writer::writeObject(const QTextImageFormat& f) {
    QByteArray& o = body_;
    o.append("{\\object");
    const QString source = f.stringProperty(ObjectSourceProperty);
    if (!source.isEmpty()) {
        o.append(source.toLatin1());
    } else {
        o.append(f.boolProperty(ObjectLinkedProperty) ? "\\objlink" : "\\objemb");
        appendWord(o, "\\objw", twips(f.width()));
        appendWord(o, "\\objh", twips(f.height()));
        o.append("\\rsltpict");
    }
    o.append("{\\*\\objclass ");
    const QString cls = f.stringProperty(ObjectClassProperty);
    writeText(cls, 0, int(cls.size()), true);
    o.append('}');
    const QString name = f.stringProperty(ObjectNameProperty);
    if (!name.isEmpty()) {
        o.append("{\\*\\objname ");
        writeText(name, 0, int(name.size()), true);
        o.append('}');
    }
    o.append("{\\*\\objdata");
    appendHexData(o, keptResource(doc_, ObjectDataResource, f.name()).toByteArray());
    o.append("}{\\result ");
    writePicture(f);
    o.append("}}");
}

void Writer::openField(const QTextCharFormat& f) {
    QByteArray& o = body_;
    o.append("{\\field{\\*\\fldinst{");
    QString instruction;
    if (f.isAnchor() && !f.anchorHref().isEmpty()) {
        const QString href = f.anchorHref();
        fieldHref_ = href;
        if (href.startsWith(u'#'))
            instruction = QStringLiteral("HYPERLINK \\l \"%1\"").arg(href.mid(1));
        else
            instruction = QStringLiteral("HYPERLINK \"%1\"").arg(href);
    } else {
        instruction = f.stringProperty(FieldInstructionProperty);
        fieldInstruction_ = instruction;
    }
    writeText(instruction, 0, int(instruction.size()), true);
    o.append("}}{\\fldrslt{");
    fieldOpen_ = true;
    // The result starts with every format word written again inside its group.
    currentValid_ = false;
}

void Writer::closeField() {
    body_.append("}}}");
    fieldOpen_ = false;
    fieldHref_.clear();
    fieldInstruction_.clear();
    currentValid_ = false;
}

QByteArray Writer::run() {
    const QFont defaultFont = doc_.defaultFont();
    defaultFamily_ = defaultFont.family();
    if (defaultFont.pointSizeF() > 0) defaultHalfPoints_ = int(std::lround(defaultFont.pointSizeF() * 2));
    if (options_.defaultColour.isValid()) defaultColour_ = colourIndex(options_.defaultColour);
    fontIndex(defaultFamily_, 0);

    // One pass over the document: fonts and colours get their numbers as they
    // are met, and the tables that list them go in front of the body at the end.
    body_.reserve(qsizetype(doc_.characterCount() * 1.25) + 4096);
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        writeParagraphStart(b);
        bool any = false;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const FormatInfo& info = formatInfo(frag.charFormatIndex(), [&] { return frag.charFormat(); });
            // fields: one group for each run of text that points to the same place
            if (fieldOpen_) {
                const bool same = (info.link && info.href == fieldHref_) ||
                                  (info.otherField && info.instruction == fieldInstruction_);
                if (!same) closeField();
            }
            if (!fieldOpen_ && (info.link || info.otherField)) openField(frag.charFormat());
            if (!currentValid_ || !(info.run == current_)) switchRun(info.run);
            const QString t = frag.text();
            if (info.image) {
                const QTextImageFormat image = frag.charFormat().toImageFormat();
                for (QChar c : t) {
                    if (c != QChar::ObjectReplacementCharacter) continue;
                    if (image.hasProperty(ObjectClassProperty)) writeObject(image);
                    else writePicture(image);
                }
            } else {
                writeText(t, 0, int(t.size()), info.run.ansi);
            }
            any = true;
        }
        if (fieldOpen_) closeField();
        if (!any) {
            // an empty paragraph keeps the size of its mark
            const FormatInfo& info = formatInfo(b.charFormatIndex(), [&] { return b.charFormat(); });
            if (!currentValid_ || !(info.run == current_)) switchRun(info.run);
        }
        body_.append("\\par\n");
    }
    body_.append("}\n");

    QByteArray body = std::move(body_);
    body_ = QByteArray();
    body_.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033");
    writeFontTable();
    writeColourTable();
    body_.append("{\\*\\generator Scrivlet;}\\viewkind4\\uc1\n");
    // the header is small: it moves into the body's spare room rather than the
    // body being copied after it
    body.prepend(body_);
    body_ = std::move(body);
    return std::move(body_);
}

}  // namespace

QByteArray write(const QTextDocument& doc, const WriteOptions& options) {
    Writer w(doc, options);
    return w.run();
}

}  // namespace rtf

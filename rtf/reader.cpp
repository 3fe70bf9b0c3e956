// The RTF reader: a tokenizer feeds a stack of group states, each with its
// destination; body text goes through the document builder.
#include "rtf/builder.h"
#include "rtf/codepage.h"
#include "rtf/docmodel.h"
#include "rtf/package.h"
#include "rtf/rtf.h"
#include "rtf/tokenizer.h"

#include <QBrush>
#include <QTextBlockFormat>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rtf {
namespace {

using namespace std::string_view_literals;

// Deeper groups than this are flattened into their parent: their formatting still
// applies, but no further state is kept for them.
constexpr int maxGroupDepth = 1000;
// \ucN skips at most this many fallback characters.
constexpr int maxUnicodeSkip = 16;
constexpr int defaultHalfPoints = 24;

enum class Dest : unsigned char {
    Body,            // document text
    Skip,            // ignored together with every group inside it
    FontTable,
    ColorTable,
    Pict,
    FieldInst,       // collects a field's instruction
    ListTable, List, ListLevel, LevelText,
    OverrideTable, Override,
    Pn, PnTextBefore, PnTextAfter,
    ListText,        // \listtext and \pntext: the rendered number of a paragraph
    Object, ObjClass, ObjName, ObjData,
    Shape,           // shape groups: text is not shown, pictures inside are
    Upr,             // \upr: ANSI text ignored, its \ud alternative read
    NonShpPict,
    SideText,        // footnotes, headers, comments: kept after the body
    Collect,         // text gathered for the enclosing destination (e.g. \sv, \objclass)
};

struct CharState {
    int font = -1;  // font number; -1 = the default font
    int halfPoints = defaultHalfPoints;
    // colour table indexes; -1 = automatic. Index 0 is usually the table's
    // automatic entry, but some writers give it a real colour.
    int fg = -1;
    int bg = -1;
    int field = -1; // index of the field whose result this text is
    unsigned char underline = 0;  // 0 none, 1 single, 2 dotted, 3 dash, 4 wave, 5 double
    signed char vertical = 0;     // 1 superscript, -1 subscript
    bool bold = false, italic = false, strike = false;
    bool operator==(const CharState&) const = default;
};

struct CharStateHash {
    std::size_t operator()(const CharState& s) const noexcept {
        // unsigned arithmetic throughout: indexes come from the file and may be huge
        std::size_t h = std::size_t(s.font) * 31u + std::size_t(s.halfPoints);
        h = h * 131u + std::size_t(s.fg);
        h = h * 131u + std::size_t(s.bg);
        h = h * 131u + std::size_t(s.field);
        h = h * 8u + s.underline;
        h = h * 4u + std::size_t(s.vertical);
        return h * 8u + (s.bold ? 1u : 0u) + (s.italic ? 2u : 0u) + (s.strike ? 4u : 0u);
    }
};

struct ParaState {
    int li = 0, fi = 0, ri = 0, sb = 0, sa = 0, sl = 0;  // twips
    int ls = 0, ilvl = 0;
    unsigned char align = 0;  // 0 left, 1 center, 2 right, 3 justify
    bool slMult = false;
    bool inTable = false;
    // old-style numbering of \pn
    unsigned char pnKind = 0;  // 0 none, 1 bullet, 2 numbered, 3 continued
    unsigned char pnStyle = 0; // 0 decimal, 1 upper roman, 2 lower roman, 3 upper alpha, 4 lower alpha
    char16_t pnBullet = 0;
    bool operator==(const ParaState&) const = default;
};

struct GroupState {
    Dest dest = Dest::Body;
    int uc = 1;
    CharState ch;
    ParaState para;
};

struct FontDef {
    QString name;
    int charset = -1;
    int codePage = -1;
    QByteArray nameBytes;
};

struct FieldInfo {
    QString instruction;
    QString href;      // non-empty for links
    QString tooltip;
    bool hasResult = false;
    bool resultShown = false;
};

struct ListLevelDef {
    int nfc = 0;
    QString text;
};
struct ListDef {
    int id = 0;
    std::vector<ListLevelDef> levels;
};

struct PictureData {
    QByteArray bytes;
    QString source;       // the words that say what the bytes are
    QString kind;         // "png", "jpeg", "emf", "wmf", "dib", "pict", ...
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
    unsigned char pendingNibble = 0;
    bool hasNibble = false;
};

struct ObjectData {
    int depth = 0;              // group depth of the \object group
    QString className, name;
    QString source;             // \objemb, \objw... as written
    QByteArray data;
    bool linked = false;
    int objw = 0, objh = 0;
    bool hasResultPicture = false;
    QTextImageFormat resultPicture;
    unsigned char pendingNibble = 0;
    bool hasNibble = false;
};

struct ShapeData {
    int depth = 0;
    bool shown = false;  // a picture or text of the shape has been shown
};

bool isBodyLike(Dest d) { return d == Dest::Body || d == Dest::SideText; }

int hexNibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendHex(std::string_view text, QByteArray& out, unsigned char& nibble, bool& has) {
    // Hex data may be split by line breaks; pairs are taken across them.
    out.reserve(out.size() + qsizetype(text.size() / 2) + 1);
    for (char c : text) {
        const int v = hexNibble(c);
        if (v < 0) continue;
        if (has) {
            out.append(char((nibble << 4) | v));
            has = false;
        } else {
            nibble = static_cast<unsigned char>(v);
            has = true;
        }
    }
}

struct WordHash {
    std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
};

enum class W : unsigned char {
    Unknown,
    // document
    Rtf, Ansi, Mac, Pc, Pca, Ansicpg, Deff,
    // destinations
    FontTbl, ColorTbl, Pict, Field, FldInst, FldRslt, ListTable, List, ListLevel, LevelText,
    ListOverrideTable, ListOverride, PnText, ListText, Pn, PnTxtB, PnTxtA, Object, ObjClass,
    ObjName, ObjData, Result, Shp, ShpInst, ShpTxt, ShpRslt, ShpPict, NonShpPict, Sv, Sn, Upr, Ud,
    SideText, SkipDest,
    // font table
    F, Fcharset, Cpg,
    // colour table
    Red, Green, Blue,
    // character format
    Plain, B, I, Ul, Uld, Uldash, Ulwave, Uldb, Ulnone, Strike, Striked, Cf, Cb, Highlight, Chcbpat,
    Fs, Super, Sub, NoSuperSub, Up, Dn,
    // paragraph format
    Pard, Ql, Qc, Qr, Qj, Li, Fi, Ri, Sb, Sa, Sl, SlMult, Intbl, Ls, Ilvl,
    PnLvlBlt, PnLvlBody, PnLvlCont, PnLvl, PnDec, PnUcRm, PnLcRm, PnUcLtr, PnLcLtr,
    // list table
    ListId, LevelNfc,
    // breaks and characters
    Par, Line, Tab, Page, Sect, Cell, Row, U, Uc, Bin,
    Emdash, Endash, Bullet, Lquote, Rquote, Ldblquote, Rdblquote, Emspace, Enspace, Qmspace,
    Zwj, Zwnj, Ltrmark, Rtlmark,
    // pictures and objects
    PngBlip, JpegBlip, EmfBlip, WmetaFile, DiBitmap, WBitmap, MacPict, PmMetaFile,
    PicW, PicH, PicWGoal, PicHGoal, PicScaleX, PicScaleY, PicKeep,
    ObjEmb, ObjLink, ObjOther, ObjW, ObjH, ObjKeep,
};

const std::unordered_map<std::string_view, W, WordHash>& words() {
    static const std::unordered_map<std::string_view, W, WordHash> table = {
        {"rtf", W::Rtf}, {"ansi", W::Ansi}, {"mac", W::Mac}, {"pc", W::Pc}, {"pca", W::Pca},
        {"ansicpg", W::Ansicpg}, {"deff", W::Deff},
        {"fonttbl", W::FontTbl}, {"colortbl", W::ColorTbl}, {"pict", W::Pict}, {"field", W::Field},
        {"fldinst", W::FldInst}, {"fldrslt", W::FldRslt}, {"listtable", W::ListTable},
        {"list", W::List}, {"listlevel", W::ListLevel}, {"leveltext", W::LevelText},
        {"listoverridetable", W::ListOverrideTable}, {"listoverride", W::ListOverride},
        {"pntext", W::PnText}, {"listtext", W::ListText}, {"pn", W::Pn}, {"pntxtb", W::PnTxtB},
        {"pntxta", W::PnTxtA}, {"object", W::Object}, {"objclass", W::ObjClass},
        {"objname", W::ObjName}, {"objdata", W::ObjData}, {"result", W::Result}, {"shp", W::Shp},
        {"shpgrp", W::Shp}, {"shpinst", W::ShpInst}, {"shptxt", W::ShpTxt}, {"shprslt", W::ShpRslt},
        {"shppict", W::ShpPict}, {"nonshppict", W::NonShpPict}, {"sv", W::Sv}, {"sn", W::Sn},
        {"upr", W::Upr}, {"ud", W::Ud},
        {"footnote", W::SideText}, {"annotation", W::SideText}, {"header", W::SideText},
        {"headerl", W::SideText}, {"headerr", W::SideText}, {"headerf", W::SideText},
        {"footer", W::SideText}, {"footerl", W::SideText}, {"footerr", W::SideText},
        {"footerf", W::SideText},
        {"info", W::SkipDest}, {"stylesheet", W::SkipDest}, {"xe", W::SkipDest},
        {"tc", W::SkipDest}, {"tcn", W::SkipDest}, {"txe", W::SkipDest}, {"rxe", W::SkipDest},
        {"bkmkstart", W::SkipDest}, {"bkmkend", W::SkipDest}, {"template", W::SkipDest},
        {"revtbl", W::SkipDest}, {"rsidtbl", W::SkipDest}, {"generator", W::SkipDest},
        {"xmlnstbl", W::SkipDest}, {"filetbl", W::SkipDest}, {"pgdsctbl", W::SkipDest},
        {"themedata", W::SkipDest}, {"colorschememapping", W::SkipDest},
        {"datastore", W::SkipDest}, {"latentstyles", W::SkipDest}, {"pnseclvl", W::SkipDest},
        {"fldtype", W::SkipDest}, {"ftnsep", W::SkipDest}, {"ftnsepc", W::SkipDest},
        {"ftncn", W::SkipDest}, {"aftnsep", W::SkipDest}, {"aftnsepc", W::SkipDest},
        {"aftncn", W::SkipDest}, {"do", W::SkipDest}, {"nonesttables", W::SkipDest},
        {"userprops", W::SkipDest}, {"docvar", W::SkipDest}, {"listpicture", W::SkipDest},
        {"falt", W::SkipDest}, {"panose", W::SkipDest}, {"fontemb", W::SkipDest},
        {"fontfile", W::SkipDest}, {"objalias", W::SkipDest}, {"objsect", W::SkipDest},
        {"objitem", W::SkipDest}, {"objtopic", W::SkipDest}, {"blipuid", W::SkipDest},
        {"picprop", W::SkipDest}, {"background", W::SkipDest}, {"atnid", W::SkipDest},
        {"atnauthor", W::SkipDest}, {"atndate", W::SkipDest}, {"atnref", W::SkipDest},
        {"mmathPr", W::SkipDest}, {"wgrffmtfilter", W::SkipDest}, {"fchars", W::SkipDest},
        {"lchars", W::SkipDest}, {"protusertbl", W::SkipDest}, {"listoverridetable_", W::SkipDest},
        {"levelnumbers", W::SkipDest}, {"listname", W::SkipDest}, {"liststylename", W::SkipDest},
        {"author", W::SkipDest}, {"operator", W::SkipDest}, {"title", W::SkipDest},
        {"subject", W::SkipDest}, {"keywords", W::SkipDest}, {"comment", W::SkipDest},
        {"doccomm", W::SkipDest}, {"company", W::SkipDest}, {"category", W::SkipDest},
        {"hlinkbase", W::SkipDest}, {"passwordhash", W::SkipDest}, {"bookmarkstart", W::SkipDest},
        {"f", W::F}, {"fcharset", W::Fcharset}, {"cpg", W::Cpg},
        {"red", W::Red}, {"green", W::Green}, {"blue", W::Blue},
        {"plain", W::Plain}, {"b", W::B}, {"i", W::I}, {"ul", W::Ul}, {"ulw", W::Ul},
        {"uld", W::Uld}, {"uldash", W::Uldash}, {"uldashd", W::Uldash}, {"uldashdd", W::Uldash},
        {"ulwave", W::Ulwave}, {"uldb", W::Uldb}, {"ulth", W::Ul}, {"ulnone", W::Ulnone},
        {"strike", W::Strike}, {"striked", W::Striked}, {"cf", W::Cf}, {"cb", W::Cb},
        {"highlight", W::Highlight}, {"chcbpat", W::Chcbpat}, {"fs", W::Fs}, {"super", W::Super},
        {"sub", W::Sub}, {"nosupersub", W::NoSuperSub}, {"up", W::Up}, {"dn", W::Dn},
        {"pard", W::Pard}, {"ql", W::Ql}, {"qc", W::Qc}, {"qr", W::Qr}, {"qj", W::Qj},
        {"qd", W::Qj}, {"li", W::Li}, {"lin", W::Li}, {"fi", W::Fi}, {"ri", W::Ri}, {"rin", W::Ri},
        {"sb", W::Sb}, {"sa", W::Sa}, {"sl", W::Sl}, {"slmult", W::SlMult}, {"intbl", W::Intbl},
        {"ls", W::Ls}, {"ilvl", W::Ilvl},
        {"pnlvlblt", W::PnLvlBlt}, {"pnlvlbody", W::PnLvlBody}, {"pnlvlcont", W::PnLvlCont},
        {"pnlvl", W::PnLvl}, {"pndec", W::PnDec}, {"pnucrm", W::PnUcRm}, {"pnlcrm", W::PnLcRm},
        {"pnucltr", W::PnUcLtr}, {"pnlcltr", W::PnLcLtr},
        {"listid", W::ListId}, {"levelnfc", W::LevelNfc}, {"levelnfcn", W::LevelNfc},
        {"par", W::Par}, {"line", W::Line}, {"tab", W::Tab}, {"page", W::Page}, {"sect", W::Sect},
        {"cell", W::Cell}, {"nestcell", W::Cell}, {"row", W::Row}, {"nestrow", W::Row},
        {"u", W::U}, {"uc", W::Uc}, {"bin", W::Bin},
        {"emdash", W::Emdash}, {"endash", W::Endash}, {"bullet", W::Bullet}, {"lquote", W::Lquote},
        {"rquote", W::Rquote}, {"ldblquote", W::Ldblquote}, {"rdblquote", W::Rdblquote},
        {"emspace", W::Emspace}, {"enspace", W::Enspace}, {"qmspace", W::Qmspace},
        {"zwj", W::Zwj}, {"zwnj", W::Zwnj}, {"ltrmark", W::Ltrmark}, {"rtlmark", W::Rtlmark},
        {"pngblip", W::PngBlip}, {"jpegblip", W::JpegBlip}, {"emfblip", W::EmfBlip},
        {"wmetafile", W::WmetaFile}, {"dibitmap", W::DiBitmap}, {"wbitmap", W::WBitmap},
        {"macpict", W::MacPict}, {"pmmetafile", W::PmMetaFile},
        {"picw", W::PicW}, {"pich", W::PicH}, {"picwgoal", W::PicWGoal}, {"pichgoal", W::PicHGoal},
        {"picscalex", W::PicScaleX}, {"picscaley", W::PicScaleY}, {"wbmbitspixel", W::PicKeep},
        {"wbmplanes", W::PicKeep}, {"wbmwidthbytes", W::PicKeep}, {"picbmp", W::PicKeep},
        {"picbpp", W::PicKeep},
        {"objemb", W::ObjEmb}, {"objlink", W::ObjLink}, {"objautlink", W::ObjLink},
        {"objsub", W::ObjOther}, {"objpub", W::ObjOther}, {"objicemb", W::ObjOther},
        {"objhtml", W::ObjOther}, {"objocx", W::ObjOther}, {"objw", W::ObjW}, {"objh", W::ObjH},
        {"objscalex", W::ObjKeep}, {"objscaley", W::ObjKeep}, {"objsetsize", W::ObjKeep},
        {"rsltpict", W::ObjKeep}, {"rsltbmp", W::ObjKeep}, {"rsltrtf", W::ObjKeep},
        {"rslttxt", W::ObjKeep}, {"rsltmerge", W::ObjKeep}, {"objupdate", W::ObjKeep},
        {"objcropt", W::ObjKeep}, {"objcropb", W::ObjKeep}, {"objcropl", W::ObjKeep},
        {"objcropr", W::ObjKeep},
    };
    return table;
}

W lookup(std::string_view word) {
    const auto& t = words();
    auto it = t.find(word);
    return it == t.end() ? W::Unknown : it->second;
}

QString wordText(std::string_view word, bool hasParam, int param) {
    QString s = QLatin1Char('\\') + QLatin1String(word.data(), qsizetype(word.size()));
    if (hasParam) s += QString::number(param);
    return s;
}

class Reader {
public:
    Reader(QTextDocument& doc, ReadReport& report) : doc_(doc), builder_(doc), report_(report) {
        stack_.reserve(64);
        stack_.push_back(GroupState{});
    }
    void run(QByteArrayView input);

private:
    GroupState& top() { return stack_.back(); }
    Dest dest() const { return stack_.back().dest; }

    void openGroup();
    void closeGroup();
    void onControlWord(std::string_view word, bool hasParam, int param);
    void onControlSymbol(char c);
    void onText(std::string_view text);
    void onHexByte(unsigned char b);
    void onBinary(std::string_view bytes);
    bool startDestination(W w, bool ignorable);
    void beginDest(Dest d) { top().dest = d; }

    // body text
    int codePage();
    void appendBytes(std::string_view bytes);
    void flushBytes();
    void appendChars(const QString& s);
    void bodyText(const QString& s);
    void appendChar(char16_t c);
    void flushRun();
    void endParagraph();
    void emitPendingListText();
    void emitSideParagraph();
    const QTextCharFormat& charFormat() { return formatFor(top().ch); }
    const QTextCharFormat& formatFor(const CharState& s);
    QTextBlockFormat blockFormat(const ParaState& p);
    ListRef listFor(const ParaState& p);
    void collectText(const QString& s);

    // tables
    void fontTableText(std::string_view text);
    void colourTableText(std::string_view text);
    QColor colour(int index, bool* automatic) const;

    // pictures and objects
    void finishPicture();
    void insertPicture(const PictureData& pic);
    void finishObject();
    void startField();
    void finishFieldInstruction();
    void finishField();

    QTextDocument& doc_;
    DocumentBuilder builder_;
    ReadReport& report_;
    CodePageDecoder decoder_;
    std::vector<GroupState> stack_;
    int flattened_ = 0;   // groups beyond the depth limit that are open
    int skipDepth_ = 0;   // groups open inside a skipped group
    int unicodeSkip_ = 0;
    bool ignorableNext_ = false;

    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;
    std::unordered_map<int, FontDef> fonts_;
    int currentFont_ = -1;  // font being defined in the font table
    std::vector<QColor> colours_;
    std::vector<bool> autoColours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourHasValue_ = false;

    // text waiting to become a run
    QByteArray pendingBytes_;
    int pendingCodePage_ = 1252;
    QString runText_;
    CharState runState_;
    bool runStateSet_ = false;
    CharState builtState_;
    QTextCharFormat builtFormat_;
    bool builtValid_ = false;
    // Formats already built, by state: text switches among a few states, and
    // building a format costs more than inserting the text it applies to.
    std::unordered_map<CharState, QTextCharFormat, CharStateHash> formatCache_;
    // Fonts, colours or the default font changed: built formats are stale.
    void tablesChanged() {
        formatCache_.clear();
        builtValid_ = false;
    }
    QString pendingListText_;
    QTextCharFormat pendingListFormat_;
    bool pendingTab_ = false;  // a table cell ended; its separator goes before the next text

    // fields, lists, pictures, objects, shapes
    std::vector<FieldInfo> fields_;
    std::vector<int> fieldStack_;   // open \field groups: index into fields_, by depth
    std::vector<int> fieldDepth_;
    std::vector<ListDef> listDefs_;
    std::unordered_map<int, int> overrides_;  // \ls number -> list id
    int overrideId_ = 0, overrideLs_ = 0;
    int pnListKey_ = 0;
    ParaState lastPnPara_;
    bool lastParaWasPn_ = false;
    PictureData pict_;
    std::vector<ObjectData> objects_;
    std::vector<ShapeData> shapes_;
    bool shppictShown_ = false;
    QString collected_;
    QString sideText_;
    QString sideParagraph_;
};

// ---- groups -------------------------------------------------------------

void Reader::openGroup() {
    if (skipDepth_ > 0) {
        ++skipDepth_;
        return;
    }
    flushBytes();
    if (int(stack_.size()) >= maxGroupDepth) {
        ++flattened_;
        report_.flattened = true;
        return;
    }
    GroupState s = stack_.back();
    // A destination collecting text for its parent stays a plain group inside.
    stack_.push_back(s);
    unicodeSkip_ = 0;
}

void Reader::closeGroup() {
    if (skipDepth_ > 0) {
        // The skipped group's own state was dropped when skipping began.
        --skipDepth_;
        return;
    }
    if (flattened_ > 0) {
        --flattened_;
        return;
    }
    flushBytes();
    unicodeSkip_ = 0;
    ignorableNext_ = false;
    if (stack_.size() <= 1) return;  // the caller decides about the root group
    const GroupState closing = stack_.back();
    const int depth = int(stack_.size()) - 1;
    switch (closing.dest) {
    case Dest::FontTable:
        if (currentFont_ >= 0) {
            // an entry that ended without its ";"
            FontDef& f = fonts_[currentFont_];
            if (f.name.isEmpty() && !f.nameBytes.isEmpty()) {
                QString n;
                decoder_.decode(f.codePage > 0 ? f.codePage : ansiCodePage_, f.nameBytes, n);
                f.name = n.trimmed();
                tablesChanged();
            }
        }
        break;
    case Dest::Pict:
        if (stack_[stack_.size() - 2].dest != Dest::Pict) finishPicture();
        break;
    case Dest::FieldInst:
        if (stack_[stack_.size() - 2].dest != Dest::FieldInst) finishFieldInstruction();
        break;
    case Dest::Pn: {
        GroupState& parent = stack_[stack_.size() - 2];
        if (parent.dest != Dest::Pn) {
            parent.para.pnKind = closing.para.pnKind;
            parent.para.pnStyle = closing.para.pnStyle;
            parent.para.pnBullet = closing.para.pnBullet;
        }
        break;
    }
    case Dest::PnTextBefore: {
        GroupState& parent = stack_[stack_.size() - 2];
        if (!collected_.isEmpty()) parent.para.pnBullet = collected_.at(0).unicode();
        collected_.clear();
        break;
    }
    case Dest::LevelText:
        if (!listDefs_.empty() && !listDefs_.back().levels.empty() &&
            stack_[stack_.size() - 2].dest != Dest::LevelText)
            listDefs_.back().levels.back().text = collected_;
        collected_.clear();
        break;
    case Dest::Override:
        if (stack_[stack_.size() - 2].dest != Dest::Override && overrideLs_ != 0)
            overrides_[overrideLs_] = overrideId_;
        break;
    case Dest::ObjClass:
        if (!objects_.empty()) objects_.back().className = collected_.trimmed();
        collected_.clear();
        break;
    case Dest::ObjName:
        if (!objects_.empty()) objects_.back().name = collected_.trimmed();
        collected_.clear();
        break;
    case Dest::SideText:
        if (stack_[stack_.size() - 2].dest != Dest::SideText) emitSideParagraph();
        break;
    default:
        break;
    }
    if (!objects_.empty() && objects_.back().depth == depth) finishObject();
    if (!shapes_.empty() && shapes_.back().depth == depth) shapes_.pop_back();
    if (!fieldDepth_.empty() && fieldDepth_.back() == depth) finishField();
    stack_.pop_back();
}

// ---- text ---------------------------------------------------------------

int Reader::codePage() {
    const int number = top().ch.font >= 0 ? top().ch.font : defaultFont_;
    auto it = fonts_.find(number);
    if (it != fonts_.end() && it->second.codePage > 0) return it->second.codePage;
    return ansiCodePage_;
}

void Reader::appendBytes(std::string_view bytes) {
    const int cp = codePage();
    if (!pendingBytes_.isEmpty() && cp != pendingCodePage_) flushBytes();
    pendingCodePage_ = cp;
    pendingBytes_.append(bytes.data(), qsizetype(bytes.size()));
}

void Reader::flushBytes() {
    if (pendingBytes_.isEmpty()) return;
    QString s;
    decoder_.decode(pendingCodePage_, pendingBytes_, s);
    pendingBytes_.clear();
    if (isBodyLike(dest()))
        appendChars(s);
    else
        collectText(s);
}

void Reader::collectText(const QString& s) {
    switch (dest()) {
    case Dest::FieldInst:
        if (!fieldStack_.empty()) fields_[std::size_t(fieldStack_.back())].instruction += s;
        break;
    case Dest::ListText:
        if (pendingListText_.isEmpty()) pendingListFormat_ = charFormat();
        pendingListText_ += s;
        break;
    case Dest::PnTextBefore:
    case Dest::PnTextAfter:
    case Dest::LevelText:
    case Dest::ObjClass:
    case Dest::ObjName:
        collected_ += s;
        break;
    default:
        break;
    }
}

void Reader::appendChars(const QString& s) {
    if (s.isEmpty()) return;
    if (dest() == Dest::SideText) {
        sideParagraph_ += s;
        return;
    }
    bodyText(s);
}

void Reader::bodyText(const QString& s) {
    emitPendingListText();
    if (pendingTab_) {
        pendingTab_ = false;
        bodyText(QStringLiteral("\t"));
    }
    if (!shapes_.empty()) shapes_.back().shown = true;
    if (top().ch.field >= 0) fields_[std::size_t(top().ch.field)].resultShown = true;
    if (!runStateSet_ || !(runState_ == top().ch)) {
        flushRun();
        runState_ = top().ch;
        runStateSet_ = true;
    }
    runText_ += s;
    shppictShown_ = false;
}

void Reader::appendChar(char16_t c) {
    flushBytes();
    if (!isBodyLike(dest())) {
        collectText(QString(QChar(c)));
        return;
    }
    appendChars(QString(QChar(c)));
}

const QTextCharFormat& Reader::formatFor(const CharState& s) {
    if (builtValid_ && builtState_ == s) return builtFormat_;
    // Text inside a field takes the field's link, known only once its
    // instruction has been read: those formats are built each time.
    const bool cacheable = s.field < 0;
    if (cacheable) {
        if (auto hit = formatCache_.find(s); hit != formatCache_.end()) {
            builtState_ = s;
            builtFormat_ = hit->second;
            builtValid_ = true;
            return builtFormat_;
        }
    }
    QTextCharFormat f;
    const int number = s.font >= 0 ? s.font : defaultFont_;
    auto it = fonts_.find(number);
    if (it != fonts_.end()) {
        if (!it->second.name.isEmpty()) f.setFontFamilies({it->second.name});
        if (it->second.charset > 0) f.setProperty(CharsetProperty, it->second.charset);
    }
    f.setFontPointSize(s.halfPoints / 2.0);
    if (s.bold) f.setFontWeight(QFont::Bold);
    if (s.italic) f.setFontItalic(true);
    if (s.strike) f.setFontStrikeOut(true);
    switch (s.underline) {
    case 1: f.setUnderlineStyle(QTextCharFormat::SingleUnderline); break;
    case 2: f.setUnderlineStyle(QTextCharFormat::DotLine); break;
    case 3: f.setUnderlineStyle(QTextCharFormat::DashUnderline); break;
    case 4: f.setUnderlineStyle(QTextCharFormat::WaveUnderline); break;
    case 5: f.setUnderlineStyle(QTextCharFormat::SingleUnderline); break;
    default: break;
    }
    if (s.vertical > 0) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (s.vertical < 0) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    bool fgAutomatic = true, bgAutomatic = true;
    const QColor fg = colour(s.fg, &fgAutomatic);
    if (!fgAutomatic) f.setForeground(fg);
    const QColor bg = colour(s.bg, &bgAutomatic);
    if (!bgAutomatic) f.setBackground(bg);
    if (s.field >= 0 && std::size_t(s.field) < fields_.size()) {
        const FieldInfo& field = fields_[std::size_t(s.field)];
        if (!field.href.isEmpty()) {
            f.setAnchor(true);
            f.setAnchorHref(field.href);
            if (!field.tooltip.isEmpty()) f.setToolTip(field.tooltip);
            // A link shows as a link even when its writer gave it no look of its own.
            if (fgAutomatic) f.setForeground(QColor(0, 0, 255));
            if (s.underline == 0) f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        } else if (!field.instruction.isEmpty()) {
            f.setProperty(FieldInstructionProperty, field.instruction);
        }
    }
    builtState_ = s;
    builtFormat_ = f;
    builtValid_ = true;
    if (cacheable) formatCache_.emplace(s, f);
    return builtFormat_;
}

void Reader::flushRun() {
    if (runText_.isEmpty()) return;
    builder_.appendText(runText_, formatFor(runState_));
    runText_.clear();
}

void Reader::emitPendingListText() {
    if (pendingListText_.isEmpty()) return;
    const QString text = pendingListText_;
    pendingListText_.clear();
    // The rendered number stays as text only when the paragraph's list cannot be shown.
    if (listFor(top().para).key != 0) return;
    flushRun();
    builder_.appendText(text, pendingListFormat_);
}

QColor Reader::colour(int index, bool* automatic) const {
    if (index < 0 || std::size_t(index) >= colours_.size() || autoColours_[std::size_t(index)]) {
        *automatic = true;
        return {};
    }
    *automatic = false;
    return colours_[std::size_t(index)];
}

QTextBlockFormat Reader::blockFormat(const ParaState& p) {
    QTextBlockFormat f;
    switch (p.align) {
    case 1: f.setAlignment(Qt::AlignHCenter); break;
    case 2: f.setAlignment(Qt::AlignRight); break;
    case 3: f.setAlignment(Qt::AlignJustify); break;
    default: f.setAlignment(Qt::AlignLeft); break;
    }
    const bool inList = listFor(p).key != 0;
    Indents in;
    in.first = (p.li + p.fi) * pixelsPerTwip;
    in.left = -p.fi * pixelsPerTwip;
    in.right = p.ri * pixelsPerTwip;
    setIndents(f, inList, in);
    if (p.sb > 0) f.setTopMargin(p.sb * pixelsPerTwip);
    if (p.sa > 0) f.setBottomMargin(p.sa * pixelsPerTwip);
    if (p.sl != 0) {
        if (p.slMult && p.sl > 0)
            f.setLineHeight(p.sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.sl > 0)
            f.setLineHeight(p.sl * pixelsPerTwip, QTextBlockFormat::MinimumHeight);
        else
            f.setLineHeight(-p.sl * pixelsPerTwip, QTextBlockFormat::FixedHeight);
    }
    return f;
}

ListRef Reader::listFor(const ParaState& p) {
    ListRef ref;
    auto styleForNfc = [](int nfc, const QString& text) {
        switch (nfc) {
        case 23: {
            // \leveltext is a length, the bullet and a ";"
            QString t = text;
            while (t.endsWith(u';')) t.chop(1);
            const QChar c = t.isEmpty() ? QChar() : t.back();
            if (c == u'o') return QTextListFormat::ListCircle;
            if (c == QChar(0xF0A7) || c == QChar(0x00A7) || c == QChar(0x25AA) || c == QChar(0x25A0))
                return QTextListFormat::ListSquare;
            return QTextListFormat::ListDisc;
        }
        case 1: return QTextListFormat::ListUpperRoman;
        case 2: return QTextListFormat::ListLowerRoman;
        case 3: return QTextListFormat::ListUpperAlpha;
        case 4: return QTextListFormat::ListLowerAlpha;
        default: return QTextListFormat::ListDecimal;
        }
    };
    if (p.ls > 0) {
        auto o = overrides_.find(p.ls);
        if (o == overrides_.end()) return ref;
        auto def = std::find_if(listDefs_.begin(), listDefs_.end(),
                                [&](const ListDef& d) { return d.id == o->second; });
        if (def == listDefs_.end()) return ref;
        const int level = std::clamp(p.ilvl, 0, 8);
        if (def->levels.empty()) return ref;
        const ListLevelDef& lvl = def->levels[std::size_t(std::min<int>(level, int(def->levels.size()) - 1))];
        if (lvl.nfc == 255) return ref;  // a level without a number
        ref.key = p.ls * 16 + level + 1;
        ref.format.setStyle(styleForNfc(lvl.nfc, lvl.text));
        ref.format.setIndent(0);
        return ref;
    }
    if (p.pnKind == 1 || p.pnKind == 2) {
        ref.key = -(pnListKey_ + 1);
        if (p.pnKind == 1) {
            QString t = p.pnBullet ? QString(QChar(p.pnBullet)) : QString();
            ref.format.setStyle(styleForNfc(23, t));
        } else {
            static constexpr int nfcForPn[] = {0, 1, 2, 3, 4};
            ref.format.setStyle(styleForNfc(nfcForPn[std::min<int>(p.pnStyle, 4)], {}));
        }
        ref.format.setIndent(0);
    }
    return ref;
}

void Reader::endParagraph() {
    flushBytes();
    if (dest() == Dest::SideText) {
        emitSideParagraph();
        return;
    }
    if (!isBodyLike(dest())) return;
    emitPendingListText();
    flushRun();
    pendingTab_ = false;
    const ParaState& p = top().para;
    const bool pn = p.pnKind == 1 || p.pnKind == 2;
    if (pn && !(lastParaWasPn_ && lastPnPara_.pnKind == p.pnKind && lastPnPara_.pnStyle == p.pnStyle))
        ++pnListKey_;
    lastParaWasPn_ = pn;
    lastPnPara_ = p;
    builder_.endParagraph(blockFormat(p), charFormat(), listFor(p));
}

void Reader::emitSideParagraph() {
    if (!sideParagraph_.isEmpty()) {
        if (!sideText_.isEmpty()) sideText_ += QChar(u'\n');
        sideText_ += sideParagraph_;
        sideParagraph_.clear();
    }
}

// ---- tables -------------------------------------------------------------

void Reader::fontTableText(std::string_view text) {
    if (currentFont_ < 0) return;
    FontDef& f = fonts_[currentFont_];
    for (char c : text) {
        if (c == ';') {
            QString name;
            decoder_.decode(f.codePage > 0 ? f.codePage : ansiCodePage_, f.nameBytes, name);
            f.name = name.trimmed();
            f.nameBytes.clear();
            currentFont_ = -1;
            tablesChanged();
            return;
        }
        f.nameBytes.append(c);
    }
}

void Reader::colourTableText(std::string_view text) {
    for (char c : text) {
        if (c != ';') continue;
        colours_.push_back(QColor(red_, green_, blue_));
        autoColours_.push_back(!colourHasValue_);
        tablesChanged();
        red_ = green_ = blue_ = 0;
        colourHasValue_ = false;
    }
}

// ---- pictures, objects, fields -------------------------------------------

// Sizes come from the file; beyond this a picture or object is no longer
// something to look at, and the layout's fixed-point arithmetic would overflow.
constexpr QSizeF kLargestShown(20000, 20000);

void Reader::finishPicture() {
    PictureData pic = std::move(pict_);
    pict_ = PictureData{};
    if (pic.bytes.isEmpty()) return;
    if (!objects_.empty() && !objects_.back().hasResultPicture) {
        // the result picture of an object carries the object
        ObjectData& o = objects_.back();
        QSizeF size;
        if (pic.goalw > 0 && pic.goalh > 0)
            size = QSizeF(double(pic.goalw) * pic.scalex / 100.0 * pixelsPerTwip,
                          double(pic.goalh) * pic.scaley / 100.0 * pixelsPerTwip)
                       .boundedTo(kLargestShown);
        o.resultPicture = addPicture(doc_, pic.bytes, pic.source, size);
        o.hasResultPicture = true;
        return;
    }
    if (!isBodyLike(stack_[stack_.size() - 2].dest) && stack_[stack_.size() - 2].dest != Dest::Shape &&
        stack_[stack_.size() - 2].dest != Dest::Collect)
        return;
    insertPicture(pic);
}

void Reader::insertPicture(const PictureData& pic) {
    QSizeF size;
    const double sx = (pic.scalex > 0 ? pic.scalex : 100) / 100.0;
    const double sy = (pic.scaley > 0 ? pic.scaley : 100) / 100.0;
    if (pic.goalw > 0 && pic.goalh > 0) {
        size = QSizeF(pic.goalw * sx * pixelsPerTwip, pic.goalh * sy * pixelsPerTwip);
    } else if (pic.picw > 0 && pic.pich > 0) {
        if (pic.kind == QLatin1String("emf") || pic.kind == QLatin1String("wmf"))
            size = QSizeF(pic.picw * 96.0 / 2540.0 * sx, pic.pich * 96.0 / 2540.0 * sy);
        else
            size = QSizeF(pic.picw * sx, pic.pich * sy);
    }
    if (!size.isEmpty()) size = size.boundedTo(kLargestShown);
    QTextImageFormat f = addPicture(doc_, pic.bytes, pic.source, size);
    if (pic.kind != QLatin1String("png") && pic.kind != QLatin1String("jpeg") &&
        pic.kind != QLatin1String("dib")) {
        if (decodePicture(pic.bytes, pic.source).isNull()) ++report_.keptUnshownPictures;
    }
    emitPendingListText();
    flushRun();
    if (!shapes_.empty()) shapes_.back().shown = true;
    if (pendingTab_) {
        pendingTab_ = false;
        bodyText(QStringLiteral("\t"));
        flushRun();
    }
    f.merge(charFormat());
    if (top().ch.field >= 0) fields_[std::size_t(top().ch.field)].resultShown = true;
    builder_.appendImage(f);
    shppictShown_ = true;
}

void Reader::finishObject() {
    ObjectData o = std::move(objects_.back());
    objects_.pop_back();
    if (o.name.isEmpty() && o.className == QLatin1String("Package")) {
        // a packaged file without \objname: its label names it
        PackagedFile file;
        if (parsePackageObjectData(o.data, &file)) o.name = file.label;
    }
    QTextImageFormat f;
    if (o.hasResultPicture) {
        f = o.resultPicture;
    } else {
        const QSizeF size = QSizeF(o.objw > 0 ? o.objw * pixelsPerTwip : 64, o.objh > 0 ? o.objh * pixelsPerTwip : 64)
                                .boundedTo(kLargestShown);
        const QString name = newResourceName();
        f.setName(name);
        f.setWidth(size.width());
        f.setHeight(size.height());
        // no picture of its own: an icon with its class name stands for it
        doc_.addResource(QTextDocument::ImageResource, QUrl(name),
                         placeholderImage(size.toSize(), o.name.isEmpty() ? o.className : o.name));
    }
    keepResource(doc_, ObjectDataResource, f.name(), o.data);
    f.setProperty(ObjectClassProperty, o.className.isEmpty() ? QStringLiteral("Unknown") : o.className);
    if (o.linked) f.setProperty(ObjectLinkedProperty, true);
    if (!o.source.isEmpty()) f.setProperty(ObjectSourceProperty, o.source);
    if (!o.name.isEmpty()) f.setProperty(ObjectNameProperty, o.name);
    flushRun();
    f.merge(charFormat());
    builder_.appendImage(f);
}

void Reader::startField() {
    fields_.push_back(FieldInfo{});
    fieldStack_.push_back(int(fields_.size()) - 1);
    fieldDepth_.push_back(int(stack_.size()) - 1);
}

// Splits a field instruction into words, honouring quotes.
QStringList instructionWords(const QString& instruction) {
    QStringList words;
    QString current;
    bool quoted = false, any = false;
    for (const QChar c : instruction) {
        if (c == u'"') {
            quoted = !quoted;
            any = true;
            continue;
        }
        if (!quoted && c.isSpace()) {
            if (any) words << current;
            current.clear();
            any = false;
            continue;
        }
        current += c;
        any = true;
    }
    if (any) words << current;
    return words;
}

void Reader::finishFieldInstruction() {
    if (fieldStack_.empty()) return;
    FieldInfo& field = fields_[std::size_t(fieldStack_.back())];
    const QStringList words = instructionWords(field.instruction);
    if (words.isEmpty() || words.first().compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive) != 0)
        return;
    QString url, anchor;
    for (int i = 1; i < words.size(); ++i) {
        const QString& w = words[i];
        if (w.startsWith(u'\\') && w.size() == 2) {
            const QChar sw = w.at(1).toLower();
            const QString arg = i + 1 < words.size() ? words[i + 1] : QString();
            if (sw == u'l') {
                anchor = arg;
                ++i;
            } else if (sw == u'o') {
                field.tooltip = arg;
                ++i;
            } else if (sw == u't') {
                ++i;
            }
            continue;
        }
        if (url.isEmpty()) url = w;
    }
    QString href = url;
    if (!anchor.isEmpty()) href += QLatin1Char('#') + anchor;
    field.href = href;
}

void Reader::finishField() {
    const int index = fieldStack_.back();
    fieldStack_.pop_back();
    fieldDepth_.pop_back();
    FieldInfo& field = fields_[std::size_t(index)];
    if (!field.resultShown && !field.href.isEmpty() && isBodyLike(stack_[stack_.size() - 2].dest)) {
        // A link without result text shows its address.
        CharState saved = top().ch;
        top().ch.field = index;
        appendChars(field.href);
        top().ch = saved;
    }
}

// ---- control words ------------------------------------------------------

bool Reader::startDestination(W w, bool ignorable) {
    const Dest parent = dest();
    const bool inBody = isBodyLike(parent);
    switch (w) {
    case W::FontTbl: beginDest(Dest::FontTable); return true;
    case W::ColorTbl: beginDest(Dest::ColorTable); return true;
    case W::Pict:
        pict_ = PictureData{};
        beginDest(Dest::Pict);
        return true;
    case W::Field:
        startField();
        return true;
    case W::FldInst:
        beginDest(Dest::FieldInst);
        return true;
    case W::FldRslt:
        if (!fieldStack_.empty()) {
            FieldInfo& field = fields_[std::size_t(fieldStack_.back())];
            field.hasResult = true;
            if (inBody) top().ch.field = fieldStack_.back();
        }
        return true;  // the result is text of the enclosing destination
    case W::ListTable: beginDest(Dest::ListTable); return true;
    case W::List:
        if (parent == Dest::ListTable) {
            listDefs_.push_back(ListDef{});
            beginDest(Dest::List);
            return true;
        }
        break;
    case W::ListLevel:
        if (parent == Dest::List) {
            if (!listDefs_.empty()) listDefs_.back().levels.push_back(ListLevelDef{});
            beginDest(Dest::ListLevel);
            return true;
        }
        break;
    case W::LevelText:
        if (parent == Dest::ListLevel) {
            collected_.clear();
            beginDest(Dest::LevelText);
            return true;
        }
        break;
    case W::ListOverrideTable: beginDest(Dest::OverrideTable); return true;
    case W::ListOverride:
        if (parent == Dest::OverrideTable) {
            overrideId_ = overrideLs_ = 0;
            beginDest(Dest::Override);
            return true;
        }
        break;
    case W::PnText:
    case W::ListText:
        pendingListText_.clear();
        beginDest(inBody ? Dest::ListText : Dest::Skip);
        return true;
    case W::Pn:
        top().para.pnKind = 0;
        top().para.pnStyle = 0;
        top().para.pnBullet = 0;
        beginDest(Dest::Pn);
        return true;
    case W::PnTxtB:
        collected_.clear();
        beginDest(Dest::PnTextBefore);
        return true;
    case W::PnTxtA:
        beginDest(Dest::PnTextAfter);
        return true;
    case W::Object: {
        ObjectData o;
        o.depth = int(stack_.size()) - 1;
        objects_.push_back(std::move(o));
        beginDest(Dest::Object);
        return true;
    }
    case W::ObjClass:
        collected_.clear();
        beginDest(Dest::ObjClass);
        return true;
    case W::ObjName:
        collected_.clear();
        beginDest(Dest::ObjName);
        return true;
    case W::ObjData:
        beginDest(Dest::ObjData);
        return true;
    case W::Result:
        if (parent == Dest::Object && !objects_.empty() && objects_.back().depth > 0) {
            const Dest outer = stack_[std::size_t(objects_.back().depth - 1)].dest;
            beginDest(isBodyLike(outer) ? outer : Dest::Body);
            return true;
        }
        break;
    case W::Shp:
        shapes_.push_back(ShapeData{int(stack_.size()) - 1, false});
        beginDest(inBody ? Dest::Shape : Dest::Skip);
        return true;
    case W::ShpInst:
        beginDest(Dest::Shape);
        return true;
    case W::Sn:
        beginDest(Dest::Skip);
        return true;
    case W::Sv:
        beginDest(Dest::Collect);
        return true;
    case W::ShpTxt:
        beginDest(Dest::Body);
        return true;
    case W::ShpRslt:
        if (!shapes_.empty() && shapes_.back().shown)
            beginDest(Dest::Skip);
        else
            beginDest(Dest::Body);
        return true;
    case W::ShpPict:
        return true;  // its picture is shown
    case W::NonShpPict:
        beginDest(shppictShown_ ? Dest::Skip : dest());
        return true;
    case W::Upr:
        beginDest(Dest::Upr);
        return true;
    case W::Ud:
        if (parent == Dest::Upr) {
            beginDest(stack_.size() >= 3 ? stack_[stack_.size() - 3].dest : Dest::Body);
            return true;
        }
        break;
    case W::SideText:
        if (inBody) {
            flushRun();
            emitSideParagraph();
            beginDest(Dest::SideText);
        } else {
            beginDest(Dest::Skip);
        }
        return true;
    case W::SkipDest:
        beginDest(Dest::Skip);
        return true;
    default:
        break;
    }
    if (ignorable) {
        beginDest(Dest::Skip);
        return true;
    }
    return false;
}

void Reader::onControlWord(std::string_view word, bool hasParam, int param) {
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    const Dest d = dest();
    if (d == Dest::Skip) return;
    const W w = lookup(word);
    const bool body = isBodyLike(d);

    // Words that do not change formatting let text bytes run on: a double-byte
    // character may be split across \'hh and plain text.
    if (w != W::U) flushBytes();

    if (ignorable || (w >= W::FontTbl && w <= W::SkipDest)) {
        // The root group is the document: it never becomes a destination.
        if (stack_.size() > 1 && startDestination(w, ignorable)) return;
    }

    GroupState& g = top();
    CharState& ch = g.ch;
    ParaState& p = g.para;
    switch (w) {
    case W::Ansi: ansiCodePage_ = 1252; break;
    case W::Mac: ansiCodePage_ = 10000; break;
    case W::Pc: ansiCodePage_ = 437; break;
    case W::Pca: ansiCodePage_ = 850; break;
    case W::Ansicpg:
        if (hasParam && param > 0) ansiCodePage_ = param;
        break;
    case W::Deff:
        defaultFont_ = param;
        tablesChanged();
        break;
    case W::F:
        if (d == Dest::FontTable) {
            currentFont_ = param;
            FontDef& f = fonts_[param];
            f = FontDef{};
            tablesChanged();
        } else {
            ch.font = param;
        }
        break;
    case W::Fcharset:
        if (d == Dest::FontTable && currentFont_ >= 0) {
            FontDef& f = fonts_[currentFont_];
            f.charset = param;
            tablesChanged();
            if (f.codePage <= 0) f.codePage = codePageForCharset(param);
        }
        break;
    case W::Cpg:
        if (d == Dest::FontTable && currentFont_ >= 0 && param > 0) {
            fonts_[currentFont_].codePage = param;
            tablesChanged();
        }
        break;
    case W::Red: red_ = std::clamp(param, 0, 255); colourHasValue_ = true; break;
    case W::Green: green_ = std::clamp(param, 0, 255); colourHasValue_ = true; break;
    case W::Blue: blue_ = std::clamp(param, 0, 255); colourHasValue_ = true; break;

    case W::Plain: {
        const int field = ch.field;
        ch = CharState{};
        ch.field = field;
        break;
    }
    case W::B: ch.bold = !hasParam || param != 0; break;
    case W::I: ch.italic = !hasParam || param != 0; break;
    case W::Ul: ch.underline = (!hasParam || param != 0) ? 1 : 0; break;
    case W::Uld: ch.underline = (!hasParam || param != 0) ? 2 : 0; break;
    case W::Uldash: ch.underline = (!hasParam || param != 0) ? 3 : 0; break;
    case W::Ulwave: ch.underline = (!hasParam || param != 0) ? 4 : 0; break;
    case W::Uldb: ch.underline = (!hasParam || param != 0) ? 5 : 0; break;
    case W::Ulnone: ch.underline = 0; break;
    case W::Strike:
    case W::Striked: ch.strike = !hasParam || param != 0; break;
    case W::Cf: ch.fg = std::max(-1, param); break;
    case W::Cb:
    case W::Chcbpat: ch.bg = std::max(-1, param); break;
    // highlight numbers count from 1; 0 is no highlight whatever the table holds
    case W::Highlight: ch.bg = param > 0 ? param : -1; break;
    case W::Fs:
        ch.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : defaultHalfPoints;
        break;
    case W::Super: ch.vertical = 1; break;
    case W::Sub: ch.vertical = -1; break;
    case W::NoSuperSub: ch.vertical = 0; break;
    case W::Up: ch.vertical = (hasParam && param == 0) ? 0 : 1; break;
    case W::Dn: ch.vertical = (hasParam && param == 0) ? 0 : -1; break;

    case W::Pard: {
        if (d == Dest::Pn) break;
        p = ParaState{};
        break;
    }
    case W::Ql: p.align = 0; break;
    case W::Qc: p.align = 1; break;
    case W::Qr: p.align = 2; break;
    case W::Qj: p.align = 3; break;
    case W::Li: if (d != Dest::ListLevel) p.li = std::clamp(param, -31680, 31680); break;
    case W::Fi: if (d != Dest::ListLevel) p.fi = std::clamp(param, -31680, 31680); break;
    case W::Ri: p.ri = std::clamp(param, -31680, 31680); break;
    case W::Sb: p.sb = std::clamp(param, 0, 31680); break;
    case W::Sa: p.sa = std::clamp(param, 0, 31680); break;
    case W::Sl: p.sl = std::clamp(param, -31680, 31680); break;
    case W::SlMult: p.slMult = param != 0; break;
    case W::Intbl: p.inTable = true; break;
    case W::Ls: if (d != Dest::Override) p.ls = param; else overrideLs_ = param; break;
    case W::Ilvl: p.ilvl = param; break;
    case W::PnLvlBlt: p.pnKind = 1; break;
    case W::PnLvlBody: p.pnKind = 2; break;
    case W::PnLvl: p.pnKind = 2; break;
    case W::PnLvlCont: p.pnKind = 3; break;
    case W::PnDec: p.pnStyle = 0; break;
    case W::PnUcRm: p.pnStyle = 1; break;
    case W::PnLcRm: p.pnStyle = 2; break;
    case W::PnUcLtr: p.pnStyle = 3; break;
    case W::PnLcLtr: p.pnStyle = 4; break;

    case W::ListId:
        if (d == Dest::List && !listDefs_.empty()) listDefs_.back().id = param;
        else if (d == Dest::Override) overrideId_ = param;
        break;
    case W::LevelNfc:
        if (d == Dest::ListLevel && !listDefs_.empty() && !listDefs_.back().levels.empty())
            listDefs_.back().levels.back().nfc = param;
        break;

    case W::Par:
    case W::Page:
    case W::Sect:
    case W::Row:
        if (body) endParagraph();
        else if (d == Dest::FieldInst || d == Dest::Collect) collectText(QStringLiteral(" "));
        break;
    case W::Line: appendChar(QChar::LineSeparator); break;
    case W::Tab: appendChar(u'\t'); break;
    case W::Cell:
        if (body) pendingTab_ = true;
        break;
    case W::U: {
        int v = param;
        if (v < 0) v += 65536;
        if (v < 0 || v > 0xFFFF) v = 0xFFFD;
        appendChar(char16_t(v));
        unicodeSkip_ = g.uc;
        break;
    }
    case W::Uc: g.uc = std::clamp(param, 0, maxUnicodeSkip); break;
    case W::Emdash: appendChar(0x2014); break;
    case W::Endash: appendChar(0x2013); break;
    case W::Bullet: appendChar(0x2022); break;
    case W::Lquote: appendChar(0x2018); break;
    case W::Rquote: appendChar(0x2019); break;
    case W::Ldblquote: appendChar(0x201C); break;
    case W::Rdblquote: appendChar(0x201D); break;
    case W::Emspace: appendChar(0x2003); break;
    case W::Enspace: appendChar(0x2002); break;
    case W::Qmspace: appendChar(0x2005); break;
    case W::Zwj: appendChar(0x200D); break;
    case W::Zwnj: appendChar(0x200C); break;
    case W::Ltrmark: appendChar(0x200E); break;
    case W::Rtlmark: appendChar(0x200F); break;

    case W::PngBlip: if (d == Dest::Pict) { pict_.kind = "png"; pict_.source += wordText(word, hasParam, param); } break;
    case W::JpegBlip: if (d == Dest::Pict) { pict_.kind = "jpeg"; pict_.source += wordText(word, hasParam, param); } break;
    case W::EmfBlip: if (d == Dest::Pict) { pict_.kind = "emf"; pict_.source += wordText(word, hasParam, param); } break;
    case W::WmetaFile: if (d == Dest::Pict) { pict_.kind = "wmf"; pict_.source += wordText(word, hasParam, param); } break;
    case W::DiBitmap: if (d == Dest::Pict) { pict_.kind = "dib"; pict_.source += wordText(word, hasParam, param); } break;
    case W::WBitmap: if (d == Dest::Pict) { pict_.kind = "bitmap"; pict_.source += wordText(word, hasParam, param); } break;
    case W::MacPict: if (d == Dest::Pict) { pict_.kind = "pict"; pict_.source += wordText(word, hasParam, param); } break;
    case W::PmMetaFile: if (d == Dest::Pict) { pict_.kind = "pmm"; pict_.source += wordText(word, hasParam, param); } break;
    case W::PicW: if (d == Dest::Pict) { pict_.picw = param; pict_.source += wordText(word, hasParam, param); } break;
    case W::PicH: if (d == Dest::Pict) { pict_.pich = param; pict_.source += wordText(word, hasParam, param); } break;
    case W::PicWGoal: if (d == Dest::Pict) pict_.goalw = std::max(0, param); break;
    case W::PicHGoal: if (d == Dest::Pict) pict_.goalh = std::max(0, param); break;
    case W::PicScaleX: if (d == Dest::Pict) pict_.scalex = std::clamp(param, 1, 10000); break;
    case W::PicScaleY: if (d == Dest::Pict) pict_.scaley = std::clamp(param, 1, 10000); break;
    case W::PicKeep: if (d == Dest::Pict) pict_.source += wordText(word, hasParam, param); break;

    case W::ObjEmb:
    case W::ObjLink:
    case W::ObjOther:
    case W::ObjW:
    case W::ObjH:
    case W::ObjKeep:
        if (d == Dest::Object && !objects_.empty()) {
            ObjectData& o = objects_.back();
            if (w == W::ObjLink) o.linked = true;
            if (w == W::ObjW) o.objw = std::max(0, param);
            if (w == W::ObjH) o.objh = std::max(0, param);
            o.source += wordText(word, hasParam, param);
        }
        break;

    case W::Bin:
        break;  // handled by the caller, which reads the bytes
    default:
        break;
    }
}

void Reader::onControlSymbol(char c) {
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    (void)ignorable;
    if (dest() == Dest::Skip) return;
    switch (c) {
    case '*':
        ignorableNext_ = true;
        return;
    case '~': appendChar(0x00A0); return;
    case '-': appendChar(0x00AD); return;
    case '_': appendChar(0x2011); return;
    case '\\':
    case '{':
    case '}': {
        const char ch = c;
        onText(std::string_view(&ch, 1));
        return;
    }
    case '\t': appendChar(u'\t'); return;
    default:
        return;  // \: \| and unknown symbols
    }
}

void Reader::onHexByte(unsigned char b) {
    const Dest d = dest();
    if (d == Dest::Skip) return;
    if (d == Dest::Pict || d == Dest::ObjData) return;  // hex escapes are not data here
    const char ch = char(b);
    if (d == Dest::FontTable) {
        if (currentFont_ >= 0) fonts_[currentFont_].nameBytes.append(ch);
        return;
    }
    appendBytes(std::string_view(&ch, 1));
}

void Reader::onText(std::string_view text) {
    const Dest d = dest();
    switch (d) {
    case Dest::Skip:
    case Dest::Shape:
    case Dest::Object:
    case Dest::Upr:
    case Dest::ListTable:
    case Dest::List:
    case Dest::ListLevel:
    case Dest::OverrideTable:
    case Dest::Override:
    case Dest::Pn:
        return;
    case Dest::FontTable:
        fontTableText(text);
        return;
    case Dest::ColorTable:
        colourTableText(text);
        return;
    case Dest::Pict:
        appendHex(text, pict_.bytes, pict_.pendingNibble, pict_.hasNibble);
        return;
    case Dest::ObjData:
        if (!objects_.empty())
            appendHex(text, objects_.back().data, objects_.back().pendingNibble, objects_.back().hasNibble);
        return;
    default:
        appendBytes(text);
        return;
    }
}

void Reader::onBinary(std::string_view bytes) {
    if (dest() == Dest::Pict)
        pict_.bytes.append(bytes.data(), qsizetype(bytes.size()));
    else if (dest() == Dest::ObjData && !objects_.empty())
        objects_.back().data.append(bytes.data(), qsizetype(bytes.size()));
}

void Reader::run(QByteArrayView input) {
    Tokenizer tok(input);
    bool rootOpen = false;
    for (;;) {
        Token t = tok.next();
        if (t.type == Token::End) break;
        if (unicodeSkip_ > 0 && skipDepth_ == 0) {
            // Fallback characters after \uN; a group boundary ends them.
            if (t.type == Token::Text) {
                const std::size_t n = std::min<std::size_t>(std::size_t(unicodeSkip_), t.word.size());
                unicodeSkip_ -= int(n);
                t.word.remove_prefix(n);
                if (t.word.empty()) continue;
            } else if (t.type == Token::HexByte || t.type == Token::ControlSymbol) {
                --unicodeSkip_;
                continue;
            } else if (t.type == Token::ControlWord) {
                --unicodeSkip_;
                if (t.word == "bin"sv) tok.binary(t.hasParam ? t.param : 0);
                continue;
            } else {
                unicodeSkip_ = 0;
            }
        }
        switch (t.type) {
        case Token::GroupOpen:
            if (!rootOpen) rootOpen = true;
            else openGroup();
            if (dest() == Dest::Skip && skipDepth_ == 0 && stack_.size() > 1) {
                // a group inside a skipped destination: count it, keep no state
            }
            break;
        case Token::GroupClose:
            if (skipDepth_ == 0 && flattened_ == 0 && stack_.size() <= 1) {
                // The root group ends; a stray "}" before more content is ignored.
                if (tok.onlyBlankLeft()) {
                    flushBytes();
                    goto done;
                }
                report_.unbalanced = true;
                break;
            }
            closeGroup();
            break;
        case Token::ControlWord:
            if (t.word == "bin"sv) {
                const Token data = tok.binary(t.hasParam ? t.param : 0);
                if (skipDepth_ == 0) onBinary(data.word);
                break;
            }
            if (skipDepth_ > 0) break;
            onControlWord(t.word, t.hasParam, t.param);
            // A skipped destination swallows the rest of its group.
            if (dest() == Dest::Skip && stack_.size() > 1) {
                stack_.pop_back();
                skipDepth_ = 1;
            }
            break;
        case Token::ControlSymbol:
            if (skipDepth_ > 0) break;
            onControlSymbol(char(t.param));
            break;
        case Token::HexByte:
            if (skipDepth_ > 0) break;
            onHexByte(static_cast<unsigned char>(t.param));
            break;
        case Token::Text:
            if (skipDepth_ > 0) break;
            onText(t.word);
            break;
        default:
            break;
        }
    }
    // The input ended before the document's own group closed.
    report_.truncated = true;
done:
    // Close what the input left open, so pictures, objects and fields are kept.
    skipDepth_ = 0;
    flattened_ = 0;
    flushBytes();
    while (stack_.size() > 1) closeGroup();
    flushBytes();
    emitPendingListText();
    flushRun();
    emitSideParagraph();
    builder_.finish(blockFormat(top().para), charFormat(), listFor(top().para));
    if (!sideText_.isEmpty()) {
        // Footnotes, headers and comments have no place of their own: they follow the body.
        const CharState saved = top().ch;
        top().ch = CharState{};
        const QStringList paragraphs = sideText_.split(QChar(u'\n'));
        const QTextBlockFormat plainParagraph = blockFormat(ParaState{});
        for (const QString& para : paragraphs) builder_.appendParagraph(para, plainParagraph, charFormat());
        top().ch = saved;
    }
}

}  // namespace

bool isRtf(const QByteArray& data) {
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF")) i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
    return data.mid(i, 5) == "{\\rtf";
}

bool read(const QByteArray& data, QTextDocument& doc, QString* error, ReadReport* report) {
    if (!isRtf(data)) {
        if (error) *error = QStringLiteral("The data is not an RTF document.");
        return false;
    }
    ReadReport local;
    // A new content starts a new history; recording the build as undo steps
    // would only cost time and memory.
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        Reader reader(doc, report ? *report : local);
        qsizetype start = data.indexOf('{');
        reader.run(QByteArrayView(data).sliced(start));
    }
    doc.setUndoRedoEnabled(undo);
    if (error) error->clear();
    return true;
}

}  // namespace rtf

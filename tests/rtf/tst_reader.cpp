// The RTF reader on hand-written input, one construct per case: the text and
// formats each must give, pictures and objects, and input that is broken.
#include "rtf/docmodel.h"
#include "rtf/rtf.h"
#include "tests/rtf/docmarkup.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QtTest>

namespace {

QImage testImage(QSize size = QSize(12, 8)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(250, 20, 30));
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height() / 2, Qt::black);
    return image;
}

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

// "PNGHEX" in a case stands for a small PNG picture in hex.
QByteArray withPictures(QByteArray rtf) {
    rtf.replace("PNGHEX", encoded(testImage(), "PNG").toHex());
    rtf.replace("JPEGHEX", encoded(testImage(QSize(16, 16)), "JPEG").toHex());
    return rtf;
}

QString read(const QByteArray& rtf, rtf::ReadReport* report = nullptr) {
    QTextDocument doc;
    QString error;
    if (!rtf::read(withPictures(rtf), doc, &error, report)) return QStringLiteral("ERROR ") + error;
    return markup::of(doc, QStringLiteral("Arial"));
}

struct Image {
    QTextImageFormat format;
    QImage image;
};

std::vector<Image> images(const QTextDocument& doc) {
    std::vector<Image> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) out.push_back({f.toImageFormat(), rtf::pictureImage(doc, f.toImageFormat())});
        }
    return out;
}

}  // namespace

class TestReader : public QObject {
    Q_OBJECT
private slots:
    void constructs_data();
    void constructs();
    void pictures_data();
    void pictures();
    void keptPictureIsWrittenBack();
    void objectKeepsItsData();
    void malformed_data();
    void malformed();
    void hugeObjectsStayCheap();
    void deepNestingIsBounded();
    void notRtf();
    void realWriters_data();
    void realWriters();
};

void TestReader::constructs_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, const char* rtf, const QString& expected) {
        QTest::newRow(name) << QByteArray(rtf) << expected;
    };
    // code pages
    row("ansicpg", R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fnil Arial;}}\f0 \'cf\'f0\'e8\'e2\'e5\'f2})",
        QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442"));
    row("fcharset overrides ansicpg",
        R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fnil\fcharset0 Arial;}{\f1\fnil\fcharset161 Arial;}}\f0 \'e9\f1 \'e9})",
        QStringLiteral("\u00e9<cs=161>\u03b9</>"));
    row("cpg", R"({\rtf1\ansi{\fonttbl{\f0\fnil\cpg1253 Arial;}}\f0 \'c3\'e5\'e9\'e1})",
        QStringLiteral("\u0393\u03b5\u03b9\u03b1"));
    row("shift-jis pairs", R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fnil\fcharset128 Gothic;}}\f0 \'93\'fa\'95\'5c\'83A})",
        QStringLiteral("<f=Gothic cs=128>\u65e5\u8868\u30a2</>"));
    row("gbk", R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 SimSun;}}\f0 \'d6\'d0\'ce\'c4})",
        QStringLiteral("<f=SimSun cs=134>\u4e2d\u6587</>"));
    // Unicode
    row("u with fallback", R"({\rtf1 a\u8364?b\u-3913?c})", QStringLiteral("a\u20acb\uf0b7c"));
    row("surrogate pair", R"({\rtf1 \u-10179?\u-8704?!})", QStringLiteral("\U0001F600!"));
    row("uc2 skips hex", R"({\rtf1\ansi\ansicpg936{\uc2\u21483\'bd\'d0}x})", QStringLiteral("\u53ebx"));
    row("uc scoped to group", R"({\rtf1{\uc2 a}\u8364?b})", QStringLiteral("a\u20acb"));
    row("uc0", R"({\rtf1\uc0\u8364 abc})", QStringLiteral("\u20acabc"));
    row("fallback is a control word", R"({\rtf1\u8212\emdash x})", QStringLiteral("\u2014x"));
    // fonts and colours
    row("deff", R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}text\f0  arial})",
        QStringLiteral("<f=Courier New>text</> arial"));
    row("font table with inner groups",
        R"({\rtf1{\fonttbl{\f0\froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman{\*\falt Times};}{\f1\fswiss Arial;}}\f1 a\f0 b})",
        QStringLiteral("a<f=Times New Roman>b</>"));
    row("font table without inner groups",
        R"({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;}\f0 a\f1 b})",
        QStringLiteral("<f=Helvetica>a</><f=Courier>b</>"));
    row("colour table with automatic entry",
        R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;}\cf1 red\cf0 auto\cf2\cb1 blue})",
        QStringLiteral("<fg=#ff0000>red</>auto<fg=#0000ff bg=#ff0000>blue</>"));
    row("highlight and chcbpat",
        R"({\rtf1{\colortbl;\red255\green255\blue0;\red0\green255\blue0;}{\highlight1 a}{\chcbpat2 b}c})",
        QStringLiteral("<bg=#ffff00>a</><bg=#00ff00>b</>c"));
    // a table without the automatic entry: text is automatic until a \cf, and
    // highlight 0 is none even though entry 0 is a colour
    row("colour table whose first entry is a colour",
        R"({\rtf1{\colortbl\red0\green0\blue0;\red255\green255\blue255;}auto {\cf0 black}{\highlight1\highlight0 none}})",
        QStringLiteral("auto <fg=#000000>black</>none"));
    // character formats
    row("character formats",
        R"({\rtf1 \b b\b0 \i i\i0 \ul u\ulnone \strike s\strike0 \fs40 big\fs24 {\super 2}{\sub x}})",
        QStringLiteral("<b>b</><i>i</><u>u</><s>s</><fs=20>big</><sup>2</><sub>x</>"));
    row("plain", R"({\rtf1 \b\i bi \plain p})", QStringLiteral("<b i>bi </>p"));
    row("group scope", R"({\rtf1 a{\b b{\i c}d}e})", QStringLiteral("a<b>b</><b i>c</><b>d</>e"));
    // paragraphs
    row("alignments", R"({\rtf1 \ql l\par\qr r\par\qc c\par\qj j\par\pard p})",
        QStringLiteral("l\n[r]r\n[c]c\n[j]j\np"));
    row("indents", R"({\rtf1 \li720\fi-360\ri1440 hanging\par\pard\fi360 first\par\pard\li-200 neg})",
        QStringLiteral("[first=18 left=18 right=72]hanging\n[first=18 left=-18]first\n[first=-10]neg"));
    row("breaks", R"({\rtf1 a\line b\tab c\par d\
e})", QStringLiteral("a\\lb\\tc\nd\ne"));
    row("symbols", R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~\_\{\}\\})",
        QStringLiteral("\u2014\u2013\u2022\u2018\u2019\u201c\u201d\u00a0\u2011{}\\"));
    row("final paragraph mark adds no paragraph", R"({\rtf1 one\par two\par})", QStringLiteral("one\ntwo"));
    row("empty paragraphs", R"({\rtf1 one\par\par two})", QStringLiteral("one\n\ntwo"));
    // bullets and numbering
    row("pn bullets",
        R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}{\pntext\f1\'b7\tab}{\*\pn\pnlvlblt\pnf1\pnindent360{\pntxtb\'b7}}\fi-360\li720 one\par{\pntext\f1\'b7\tab}two\par\pard after})",
        QStringLiteral("[first=18 left=18 list=disc]one\n[first=18 left=18 list=disc]two\nafter"));
    row("pn numbers",
        R"({\rtf1{\pntext 1.\tab}{\*\pn\pnlvlbody\pndec\pnstart1{\pntxta.}}a\par{\pntext 2.\tab}b\par})",
        QStringLiteral("[list=decimal]a\n[list=decimal]b"));
    row("list table",
        R"({\rtf1{\*\listtable{\list\listtemplateid1{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}{\levelnumbers;}\fi-360\li720}\listid7}{\list{\listlevel\levelnfc0{\leveltext\'02\'00.;}{\levelnumbers\'01;}}\listid8}}{\*\listoverridetable{\listoverride\listid7\listoverridecount0\ls1}{\listoverride\listid8\ls2}}
{\listtext\'95\tab}\ls1\li720\fi-360 a\par{\listtext\'95\tab}b\par\pard{\listtext 1.\tab}\ls2 c\par\pard d})",
        QStringLiteral("[first=18 left=18 list=disc]a\n[first=18 left=18 list=disc]b\n[list=decimal]c\nd"));
    row("unmapped list keeps its listtext", R"({\rtf1{\listtext 1.\tab}\ls5 item\par})",
        QStringLiteral("1.\\titem"));
    // fields
    row("hyperlink quoted", R"({\rtf1 {\field{\*\fldinst{HYPERLINK "http://a.example/x"}}{\fldrslt{\ul site}}}.})",
        QStringLiteral("<u fg=#0000ff href=http://a.example/x>site</>."));
    row("hyperlink unquoted", R"({\rtf1 {\field{\*\fldinst HYPERLINK http://b.example/ }{\fldrslt b}}})",
        QStringLiteral("<u fg=#0000ff href=http://b.example/>b</>"));
    row("hyperlink switches",
        R"({\rtf1 {\field{\*\fldinst{HYPERLINK "http://c.example/p" \\l "part" \\t "_blank"}}{\fldrslt c}}{\field{\*\fldinst{HYPERLINK \\l "mark"}}{\fldrslt d}}})",
        QStringLiteral("<u fg=#0000ff href=http://c.example/p#part>c</><u fg=#0000ff href=#mark>d</>"));
    row("nested field in a link",
        R"({\rtf1 {\field{\*\fldinst{HYPERLINK "http://d.example/"}}{\fldrslt{a {\field{\*\fldinst{ PAGE }}{\fldrslt 3}} b}}}})",
        QStringLiteral("<u fg=#0000ff href=http://d.example/>a </><fld=PAGE>3</><u fg=#0000ff href=http://d.example/> b</>"));
    row("link without result shows its address",
        R"({\rtf1 {\field{\*\fldinst{HYPERLINK "http://e.example/"}}{\fldrslt }}})",
        QStringLiteral("<u fg=#0000ff href=http://e.example/>http://e.example/</>"));
    // destinations
    row("ignorable and known destinations skipped",
        R"({\rtf1{\info{\title T}}{\stylesheet{\s0 Normal;}}{\*\unknownthing hidden {nested}}{\*\generator W;}shown})",
        QStringLiteral("shown"));
    row("unknown words in a group keep its text", R"({\rtf1 {\madeupword kept} text})", QStringLiteral("kept text"));
    row("bin skipped", "{\\rtf1 a{\\*\\blob\\bin5 {}}\\}b}c}", QStringLiteral("ac"));
    row("upr takes its unicode part", R"({\rtf1 {\upr{ansi}{\*\ud{uni\u8364?}}}})", QStringLiteral("uni\u20ac"));
    row("footnote follows the body", R"({\rtf1 text{\footnote note}more\par})", QStringLiteral("textmore\nnote"));
    row("table as text", R"({\rtf1 \trowd\cellx1000\cellx2000\intbl a\cell b\cell\row\intbl c\cell d\cell\row\pard after})",
        QStringLiteral("a\\tb\nc\\td\nafter"));
}

void TestReader::constructs() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(read(rtf), expected);
}

void TestReader::pictures_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<QSizeF>("size");  // in pixels, of the first picture
    QTest::newRow("png") << QByteArray(R"({\rtf1 a{\pict\pngblip\picw12\pich8 PNGHEX}b})") << "ab" << 1
                         << QSizeF(12, 8);
    QTest::newRow("png goal size") << QByteArray(R"({\rtf1 {\pict\pngblip\picwgoal360\pichgoal240 PNGHEX}})")
                                   << "" << 1 << QSizeF(24, 16);
    QTest::newRow("jpeg") << QByteArray(R"({\rtf1 {\pict\jpegblip JPEGHEX}})") << "" << 1 << QSizeF(16, 16);
    QTest::newRow("shppict shown, nonshppict not")
        << QByteArray(R"({\rtf1 {\*\shppict{\pict\pngblip PNGHEX}}{\nonshppict{\pict\wmetafile8 0100}}x})")
        << "x" << 1 << QSizeF(12, 8);
    QTest::newRow("picture in a shape")
        << QByteArray(R"({\rtf1 {\shp{\*\shpinst\shpleft0{\sp{\sn pib}{\sv {\pict\pngblip PNGHEX}}}}{\shprslt{\*\do\dobxcolumn{\dptxbx{\shptxt hidden}}}}}y})")
        << "y" << 1 << QSizeF(12, 8);
    QTest::newRow("object result") << QByteArray(R"({\rtf1 {\object\objemb\objw1000\objh500{\*\objclass Package}{\*\objdata 01050000}{\result{\pict\pngblip PNGHEX}}}})")
                                   << "" << 1 << QSizeF(12, 8);
    QTest::newRow("binary picture") << QByteArray() << "" << 1 << QSizeF(12, 8);
}

void TestReader::pictures() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(QSizeF, size);
    if (rtf.isEmpty()) {
        const QByteArray png = encoded(testImage(), "PNG");
        rtf = "{\\rtf1 {\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}}";
    }
    QTextDocument doc;
    QVERIFY(rtf::read(withPictures(rtf), doc));
    QCOMPARE(doc.toPlainText().remove(QChar::ObjectReplacementCharacter), text);
    const auto found = images(doc);
    QCOMPARE(int(found.size()), count);
    QCOMPARE(QSizeF(found[0].format.width(), found[0].format.height()), size);
    QImage expected = testImage(found[0].image.size());
    QVERIFY(!found[0].image.isNull());
    if (!rtf.contains("jpegblip"))
        QCOMPARE(found[0].image.convertToFormat(QImage::Format_RGB32), expected);
}

void TestReader::keptPictureIsWrittenBack() {
    // A metafile Qt cannot show is a placeholder whose bytes go out unchanged.
    const QByteArray rtf = R"({\rtf1 {\pict\wmetafile8\picw2540\pich1270\picwgoal1440\pichgoal720 0100090000036e00000000001234abcd}})";
    QTextDocument doc;
    rtf::ReadReport report;
    QVERIFY(rtf::read(rtf, doc, nullptr, &report));
    QCOMPARE(report.keptUnshownPictures, 1);
    const auto found = images(doc);
    QCOMPARE(int(found.size()), 1);
    QCOMPARE(QSizeF(found[0].format.width(), found[0].format.height()), QSizeF(96, 48));
    const QByteArray out = rtf::write(doc);
    QVERIFY(out.contains("\\wmetafile8"));
    QVERIFY(out.contains("0100090000036e00000000001234abcd"));
}

void TestReader::objectKeepsItsData() {
    const QByteArray rtf = withPictures(
        R"({\rtf1 {\object\objemb\objw1000\objh500{\*\objclass Package}{\*\objname report.pdf}{\*\objdata 0105000002000000080000005061636b616765}{\result{\pict\pngblip PNGHEX}}}})");
    QTextDocument doc;
    QVERIFY(rtf::read(rtf, doc));
    const auto found = images(doc);
    QCOMPARE(int(found.size()), 1);
    const QTextImageFormat& f = found[0].format;
    QCOMPARE(f.stringProperty(rtf::ObjectClassProperty), QStringLiteral("Package"));
    QCOMPARE(f.stringProperty(rtf::ObjectNameProperty), QStringLiteral("report.pdf"));
    QCOMPARE(rtf::keptResource(doc, rtf::ObjectDataResource, f.name()).toByteArray(),
             QByteArray::fromHex("0105000002000000080000005061636b616765"));
    const QByteArray out = rtf::write(doc);
    QVERIFY(out.contains("\\objemb"));
    QVERIFY(out.contains("0105000002000000080000005061636b616765"));
    QVERIFY(out.contains("\\result"));
    QVERIFY(out.contains("\\pngblip"));
}

void TestReader::malformed_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("truncated");
    QTest::addColumn<bool>("unbalanced");
    QTest::newRow("truncated") << QByteArray("{\\rtf1 one\\par two {\\b bold") << "one\ntwo bold" << true << false;
    QTest::newRow("truncated in a picture") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47") << "a" << true << false;
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'4") << "a\u0004" << true << false;
    QTest::newRow("lone closing brace") << QByteArray("{\\rtf1 a}}b}") << "ab" << false << true;
    QTest::newRow("lone brace at start") << QByteArray("{\\rtf1 }x}") << "x" << false << true;
    QTest::newRow("bogus uc") << QByteArray("{\\rtf1\\uc99999 \\u8364 abcdefghijklmnopqrstuvwxyz}")
                              << "\u20acqrstuvwxyz" << false << false;
    QTest::newRow("negative uc") << QByteArray("{\\rtf1\\uc-5 \\u8364 ab}") << "\u20acab" << false << false;
    QTest::newRow("huge u") << QByteArray("{\\rtf1 \\u99999999999 x}") << "\ufffd" << false << false;
    QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin999999999999 xyz}") << "a" << true << false;
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 b}") << "ab" << false << false;
    QTest::newRow("long control word") << QByteArray("{\\rtf1 \\") + QByteArray(5000, 'a') + " x}" << "x" << false
                                       << false;
    QTest::newRow("huge font size") << QByteArray("{\\rtf1 \\fs999999999 x}") << "x" << false << false;
    QTest::newRow("colour index out of range") << QByteArray("{\\rtf1 \\cf77\\cb-3 x}") << "x" << false << false;
    QTest::newRow("largest size of an object's picture")
        << QByteArray("{\\rtf1 {\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 00}{\\result{\\pict\\pngblip"
                      "\\picwgoal2147483647\\pichgoal2147483647\\picscalex10000\\picscaley10000 00}}}x}")
        << "x" << false << false;
    QTest::newRow("largest colour and field indexes") << QByteArray("{\\rtf1 \\cf2147483647\\chcbpat2147483647 x}")
                                                      << "x" << false << false;
    QTest::newRow("field without instruction end") << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK") << ""
                                                   << true << false;
    QTest::newRow("backslash at end") << QByteArray("{\\rtf1 x\\") << "x" << true << false;
    QTest::newRow("NUL bytes") << QByteArray("{\\rtf1 a\0b}", 11) << "ab" << false << false;
}

void TestReader::malformed() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(bool, truncated);
    QFETCH(bool, unbalanced);
    QTextDocument doc;
    rtf::ReadReport report;
    QVERIFY(rtf::read(rtf, doc, nullptr, &report));
    QCOMPARE(doc.toPlainText().remove(QChar::ObjectReplacementCharacter), text);
    QCOMPARE(report.truncated, truncated);
    QCOMPARE(report.unbalanced, unbalanced);
}

void TestReader::deepNestingIsBounded() {
    // 100,000 nested groups: flattened, no stack overflow, the text is there.
    const int depth = 100000;
    const QByteArray rtf = "{\\rtf1 " + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " after}";
    QTextDocument doc;
    rtf::ReadReport report;
    QVERIFY(rtf::read(rtf, doc, nullptr, &report));
    QVERIFY(report.flattened);
    QVERIFY(!report.truncated);
    QCOMPARE(doc.toPlainText(), QStringLiteral("deep after"));
    // the formatting of the deepest groups still applies
    QCOMPARE(markup::of(doc), QStringLiteral("<b>deep</> after"));
}

void TestReader::notRtf() {
    QTextDocument doc;
    doc.setPlainText("kept");
    QString error;
    QVERIFY(!rtf::read("just text {\\rtf1 later}", doc, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(doc.toPlainText(), QStringLiteral("kept"));
    QVERIFY(rtf::isRtf("\xEF\xBB\xBF \r\n{\\rtf1}"));
    QVERIFY(!rtf::isRtf("{\\rt"));
}

void TestReader::hugeObjectsStayCheap() {
    // Objects without a picture get a drawn stand-in; a file may ask for many
    // of any size, so the stand-in's pixels are bounded while it still shows
    // at the size asked for, up to 20,000 pixels a side.
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 200; ++i) rtf += "{\\object\\objemb\\objw200000\\objh100000{\\*\\objclass Paint}{\\*\\objdata 00}}";
    rtf += "}";
    QTextDocument doc;
    QVERIFY(rtf::read(rtf, doc));
    int objects = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat()) continue;
            const QTextImageFormat image = f.toImageFormat();
            ++objects;
            QCOMPARE(image.width(), 200000 * rtf::pixelsPerTwip);
            const QImage shown = rtf::pictureImage(doc, image);
            QVERIFY(!shown.isNull());
            QVERIFY2(shown.width() <= 512 && shown.height() <= 512, qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        }
    }
    QCOMPARE(objects, 200);
}

void TestReader::realWriters_data() {
    QTest::addColumn<QString>("path");
    QDirIterator it(QStringLiteral(SCRIVLET_RTF_FIXTURES), {QStringLiteral("*.rtf")}, QDir::Files);
    QStringList files;
    while (it.hasNext()) files << it.next();
    files.sort();
    for (const QString& f : files) QTest::newRow(qPrintable(QFileInfo(f).fileName())) << f;
    if (files.isEmpty()) QTest::newRow("none") << QString();
}

void TestReader::realWriters() {
    // Each fixture made by another program sits beside the text it must give.
    QFETCH(QString, path);
    QVERIFY2(!path.isEmpty(), "the fixtures of other writers are missing");
    QFile rtfFile(path);
    QVERIFY(rtfFile.open(QIODevice::ReadOnly));
    QFile expectedFile(path.chopped(4) + QStringLiteral(".expected"));
    QVERIFY2(expectedFile.open(QIODevice::ReadOnly), qPrintable(expectedFile.fileName()));
    QTextDocument doc;
    rtf::ReadReport report;
    QVERIFY(rtf::read(rtfFile.readAll(), doc, nullptr, &report));
    QVERIFY(!report.truncated && !report.unbalanced);
    QString expected = QString::fromUtf8(expectedFile.readAll());
    if (expected.endsWith(u'\n')) expected.chop(1);  // the file's own last line end
    QCOMPARE(markup::of(doc, QStringLiteral("Arial")), expected);
}

QTEST_MAIN(TestReader)
#include "tst_reader.moc"

// Documents built in code, written as RTF and read back, keep their text and formats.
#include "rtf/docmodel.h"
#include "rtf/rtf.h"
#include "tests/rtf/docmarkup.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QTextCursor>
#include <QTextList>
#include <QtTest>
#include <functional>

namespace {

QByteArray encodedImage(const char* format, QColor colour, QSize size = QSize(12, 8)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height() / 2, Qt::black);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

QTextCharFormat fmt(const std::function<void(QTextCharFormat&)>& set) {
    QTextCharFormat f;
    set(f);
    return f;
}

void para(QTextCursor& c, const std::function<void(QTextBlockFormat&, bool)>& set, bool list = false) {
    QTextBlockFormat f = c.blockFormat();
    set(f, list);
    c.setBlockFormat(f);
}

void setIndentsPt(QTextBlockFormat& f, bool inList, qreal first, qreal left, qreal right) {
    rtf::setIndents(f, inList, {first * rtf::pixelsPerPoint, left * rtf::pixelsPerPoint, right * rtf::pixelsPerPoint});
}

struct Case {
    const char* name;
    std::function<void(QTextDocument&)> build;
};

QTextCharFormat linkFormat(const QString& href) {
    QTextCharFormat f;
    f.setAnchor(true);
    f.setAnchorHref(href);
    f.setForeground(QColor(0, 0, 255));
    f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    return f;
}

const std::vector<Case>& cases() {
    static const std::vector<Case> table = {
        {"plain text and escapes", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText(QStringLiteral("Back\\slash {braces} tab\there, \u00fcmlaut \u20ac, nbsp\u00a0, soft\u00ad."));
         }},
        {"character formats", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText("plain ");
             c.insertText("bold ", fmt([](auto& f) { f.setFontWeight(QFont::Bold); }));
             c.insertText("italic ", fmt([](auto& f) { f.setFontItalic(true); }));
             c.insertText("under ", fmt([](auto& f) { f.setUnderlineStyle(QTextCharFormat::SingleUnderline); }));
             c.insertText("strike ", fmt([](auto& f) { f.setFontStrikeOut(true); }));
             c.insertText("sup", fmt([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }));
             c.insertText("sub ", fmt([](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }));
             c.insertText("small ", fmt([](auto& f) { f.setFontPointSize(7); }));
             c.insertText("large ", fmt([](auto& f) { f.setFontPointSize(20); }));
             c.insertText("face ", fmt([](auto& f) { f.setFontFamilies({QStringLiteral("Courier New")}); }));
             c.insertText("red ", fmt([](auto& f) { f.setForeground(QColor(200, 10, 20)); }));
             c.insertText("on yellow ", fmt([](auto& f) { f.setBackground(QColor(255, 255, 0)); }));
             c.insertText("all", fmt([](auto& f) {
                              f.setFontWeight(QFont::Bold);
                              f.setFontItalic(true);
                              f.setFontUnderline(true);
                              f.setFontStrikeOut(true);
                              f.setForeground(QColor(0, 128, 0));
                              f.setBackground(QColor(200, 200, 255));
                              f.setFontPointSize(9);
                          }));
             c.insertText(" plain again");
         }},
        {"character set", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText(QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442"), fmt([](auto& f) {
                              f.setFontFamilies({QStringLiteral("Arial Cyr")});
                              f.setProperty(rtf::CharsetProperty, 204);
                          }));
             c.insertText(QStringLiteral(" \u0393\u03b5\u03b9\u03ac"), fmt([](auto& f) {
                              f.setProperty(rtf::CharsetProperty, 161);
                          }));
         }},
        {"alignments", [](QTextDocument& d) {
             QTextCursor c(&d);
             const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignJustify};
             bool first = true;
             for (Qt::Alignment a : aligns) {
                 if (!first) c.insertBlock();
                 first = false;
                 c.insertText(QStringLiteral("aligned"));
                 para(c, [a](QTextBlockFormat& f, bool) { f.setAlignment(a); });
             }
         }},
        {"indents", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText("first line indented");
             para(c, [](QTextBlockFormat& f, bool l) { setIndentsPt(f, l, 20, -20, 0); });
             c.insertBlock();
             c.insertText("hanging: the other lines stand left of the first");
             para(c, [](QTextBlockFormat& f, bool l) { setIndentsPt(f, l, 30, -15, 0); });
             c.insertBlock();
             c.insertText("the other lines further right");
             para(c, [](QTextBlockFormat& f, bool l) { setIndentsPt(f, l, 5, 25, 40); });
             c.insertBlock();
             c.insertText("right only");
             para(c, [](QTextBlockFormat& f, bool l) { setIndentsPt(f, l, 0, 0, 72); });
         }},
        {"lists", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText("before");
             c.insertBlock();
             QTextListFormat bullets;
             bullets.setStyle(QTextListFormat::ListDisc);
             bullets.setIndent(0);
             c.createList(bullets);
             c.insertText("bullet one");
             para(c, [](QTextBlockFormat& f, bool) { setIndentsPt(f, true, 18, 0, 0); });
             c.insertBlock();
             c.insertText("bullet two");
             c.insertBlock();
             QTextBlockFormat plain;
             c.setBlockFormat(plain);
             if (QTextList* l = c.currentList()) l->remove(c.block());
             c.insertText("between");
             c.insertBlock();
             QTextListFormat numbers;
             numbers.setStyle(QTextListFormat::ListDecimal);
             numbers.setIndent(0);
             c.createList(numbers);
             c.insertText("number one");
             c.insertBlock();
             c.insertText("number two");
         }},
        {"line breaks and empty paragraphs", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText(QStringLiteral("one\u2028two"));
             c.insertBlock();
             c.insertBlock();
             c.insertText("after an empty one");
             c.insertBlock();
         }},
        {"unicode beyond the basic plane", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText(QStringLiteral("smile \U0001F600, clef \U0001D11E, \u65e5\u672c\u8a9e, \u05e9\u05dc\u05d5\u05dd, \uFFFD"));
         }},
        {"pictures", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText("png ");
             QTextImageFormat png = rtf::addPicture(d, encodedImage("PNG", Qt::red), QStringLiteral("\\pngblip"));
             c.insertImage(png);
             c.insertText(" jpeg ");
             QTextImageFormat jpeg = rtf::addPicture(d, encodedImage("JPEG", Qt::blue, QSize(16, 16)),
                                                     QStringLiteral("\\jpegblip"), QSizeF(48, 48));
             c.insertImage(jpeg);
             c.insertText(" held as an image ");
             QImage image(5, 7, QImage::Format_ARGB32);
             image.fill(QColor(10, 200, 30));
             d.addResource(QTextDocument::ImageResource, QUrl("mem:1"), image);
             QTextImageFormat held;
             held.setName("mem:1");
             held.setWidth(5);
             held.setHeight(7);
             c.insertImage(held);
             c.insertText(" metafile ");
             // bytes Qt cannot decode: they are kept and written back as they were
             QTextImageFormat wmf = rtf::addPicture(d, QByteArray("\x01\x00\x09\x00" "not really a metafile", 25),
                                                    QStringLiteral("\\wmetafile8\\picw300\\pich200"),
                                                    QSizeF(40, 30));
             c.insertImage(wmf);
         }},
        {"links", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText("see ");
             c.insertText("the site", linkFormat("https://example.org/a?b=c&d"));
             c.insertText(" and ");
             c.insertText("mail", linkFormat("mailto:me@example.org"));
             c.insertText(" or ");
             c.insertText("a bookmark", linkFormat("#chapter2"));
             c.insertText(".");
         }},
        {"embedded objects", [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText("object: ");
             QTextImageFormat o = rtf::addPicture(d, encodedImage("PNG", Qt::green), QStringLiteral("\\pngblip"));
             rtf::keepResource(d, rtf::ObjectDataResource, o.name(), QByteArray("\x01\x05\x00\x00payload\xff", 12));
             o.setProperty(rtf::ObjectClassProperty, QStringLiteral("Package"));
             o.setProperty(rtf::ObjectNameProperty, QStringLiteral("notes.txt"));
             c.insertImage(o);
             c.insertText(" linked: ");
             QTextImageFormat l = rtf::addPicture(d, encodedImage("PNG", Qt::gray), QStringLiteral("\\pngblip"));
             rtf::keepResource(d, rtf::ObjectDataResource, l.name(), QByteArray("C:\\files\\plan.doc"));
             l.setProperty(rtf::ObjectClassProperty, QStringLiteral("Package"));
             l.setProperty(rtf::ObjectLinkedProperty, true);
             c.insertImage(l);
         }},
    };
    return table;
}

}  // namespace

class TestRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void writtenTwiceIsStable();
};

void TestRoundTrip::roundTrip_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(cases().size()); ++i) QTest::newRow(cases()[std::size_t(i)].name) << i;
}

void TestRoundTrip::roundTrip() {
    QFETCH(int, index);
    QTextDocument original;
    original.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    cases()[std::size_t(index)].build(original);
    const QByteArray written = rtf::write(original);
    if (qEnvironmentVariableIsSet("DUMP_RTF")) qDebug().noquote() << written.left(3000);
    QVERIFY(rtf::isRtf(written));

    QTextDocument back;
    rtf::ReadReport report;
    QString error;
    QVERIFY2(rtf::read(written, back, &error, &report), qPrintable(error));
    QVERIFY(!report.truncated && !report.unbalanced && !report.flattened);
    const QString face = original.defaultFont().family();
    QCOMPARE(markup::of(back, face), markup::of(original, face));
}

void TestRoundTrip::writtenTwiceIsStable() {
    // What the reader builds, written again, is the same RTF: nothing drifts from save to save.
    for (const Case& c : cases()) {
        QTextDocument original;
        original.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        c.build(original);
        QTextDocument once, twice;
        QVERIFY(rtf::read(rtf::write(original), once));
        const QByteArray first = rtf::write(once);
        QVERIFY(rtf::read(first, twice));
        QCOMPARE(markup::of(twice), markup::of(once));
        if (rtf::write(twice) != first) QFAIL(c.name);
    }
}

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"

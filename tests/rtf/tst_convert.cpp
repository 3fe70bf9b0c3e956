// scrivlet-convert: each direction between RTF, text and HTML, and its failures.
#include "tests/rtf/docmarkup.h"
#include "tools/convert/convert.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

namespace {

// Faces and sizes differ between the formats' defaults: only the rest is compared.
QString withoutFonts(QString m) {
    m.remove(QRegularExpression(QStringLiteral(" ?\\bf(s)?=[^ >]+")));
    m.replace(QRegularExpression(QStringLiteral("<\\s*>([^<]*)</>")), QStringLiteral("\\1"));
    return m.replace(QStringLiteral("< "), QStringLiteral("<"));
}

}  // namespace

class TestConvert : public QObject {
    Q_OBJECT
private slots:
    void converts_data();
    void converts();
    void htmlHoldsItsPictures();
    void failures_data();
    void failures();

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readBack(const QString& name) {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    int run(const QStringList& args, QString* err) {
        QProcess p;
        p.start(QStringLiteral(SCRIVLET_CONVERT), args);
        if (!p.waitForFinished(30000)) return -1;
        *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

void TestConvert::converts_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("markup");  // of the output read back
    QTest::newRow("rtf to txt") << "a.rtf" << QByteArray("{\\rtf1 {\\b one}\\par two \\u8364?}") << "a.txt"
                                << QStringLiteral("one\ntwo \u20ac");
    QTest::newRow("ansi txt to rtf") << "b.txt" << QByteArray("caf\xe9\r\nna\xefve") << "b.rtf"
                                     << QStringLiteral("caf\u00e9\nna\u00efve");
    QTest::newRow("utf-8 txt to rtf") << "c.TXT" << QByteArray("\xce\xb1\xce\xb2") << "c.RTF"
                                      << QStringLiteral("\u03b1\u03b2");
    QTest::newRow("rtf to html") << "d.rtf" << QByteArray("{\\rtf1 x {\\i it} {\\b bold}}") << "d.html"
                                 << "x <i>it</> <b>bold</>";
    QTest::newRow("html to rtf") << "e.htm" << QByteArray("<p>a <b>b</b></p><p>c</p>") << "e.rtf"
                                 << "a <b>b</>\nc";
}

void TestConvert::converts() {
    QFETCH(QString, in);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, out);
    QFETCH(QString, markup);
    write(in, bytes);
    QString err;
    QCOMPARE(run({path(in), path(out)}, &err), 0);
    QVERIFY2(err.isEmpty(), qPrintable(err));
    QTextDocument doc;
    QString error;
    QVERIFY(convert::load(readBack(out), convert::formatOf(out), doc, &error));
    QCOMPARE(withoutFonts(markup::of(doc)), markup);
    if (convert::formatOf(out) == convert::Format::Text) QVERIFY(!readBack(out).contains('\0'));
}

void TestConvert::htmlHoldsItsPictures() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    write("pic.rtf", "{\\rtf1 a{\\pict\\pngblip " + png.toHex() + "}b}");
    QString err;
    QCOMPARE(run({path("pic.rtf"), path("pic.html")}, &err), 0);
    const QByteArray html = readBack("pic.html");
    QVERIFY(html.contains("src=\"data:image/png;base64," + png.toBase64() + "\""));
}

void TestConvert::failures_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no arguments") << QStringList() << 2 << "usage:";
    QTest::newRow("missing input") << QStringList{"missing.rtf", "x.txt"} << 1 << "missing.rtf: cannot open";
    QTest::newRow("unknown input format") << QStringList{"in.doc", "x.txt"} << 1 << "unknown input format";
    QTest::newRow("unknown output format") << QStringList{"good.rtf", "x.pdf"} << 1 << "unknown output format";
    QTest::newRow("rtf that is not rtf") << QStringList{"bad.rtf", "x.txt"} << 1 << "not an RTF document";
    QTest::newRow("text that is not text") << QStringList{"binary.txt", "x.rtf"} << 1 << "not a text file";
    QTest::newRow("output folder missing") << QStringList{"good.rtf", "no/such/x.txt"} << 1 << "cannot write";
}

void TestConvert::failures() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    write("in.doc", "{\\rtf1 x}");
    write("good.rtf", "{\\rtf1 x}");
    write("bad.rtf", "plain words");
    write("binary.txt", QByteArray("a\0b", 3));
    QStringList full;
    for (const QString& a : args) full << path(a);
    QString err;
    QCOMPARE(run(full, &err), exitCode);
    QVERIFY2(err.contains(message), qPrintable(err));
}

QTEST_MAIN(TestConvert)
#include "tst_convert.moc"

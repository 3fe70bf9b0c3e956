// The rich-text editor control: undo kinds, back colour at the caret, indents,
// find, links, files by extension, clipboard, events, layout, pictures, objects, print.
#include "editor/linkdetector.h"
#include "editor/richedit.h"
#include "rtf/docmodel.h"
#include "rtf/package.h"
#include "tests/rtf/docmarkup.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QPdfWriter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

Q_DECLARE_METATYPE(UndoKind)

namespace {

// Text without a size of its own is 12 points, the size the markup leaves out.
struct Editor : RichEdit {
    Editor() { setDefaultFont(QString(), 12, QColor()); }
};

QByteArray imageBytes(const char* format, QSize size = QSize(10, 6)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(20, 120, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// a 1x1 GIF: Qt reads GIF but does not write it
const QByteArray tinyGif = QByteArray::fromHex(
    "47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QPoint viewportPointOf(RichEdit& e, int position) {
    QTextCursor c(e.document());
    c.setPosition(position);
    const QRect r = e.cursorRect(c);
    return QPoint(r.right() + 3, r.center().y());  // inside the character after `position`
}

int imageCount(const QTextDocument& doc) {
    int n = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) n += it.fragment().charFormat().isImageFormat() ? 1 : 0;
    return n;
}

}  // namespace

class TestRichEdit : public QObject {
    Q_OBJECT
private slots:
    void undoKinds_data();
    void undoKinds();
    void typingIsOneStepAndRedo();
    void undoIsLimitedTo100Steps();
    void backColourOfWordAtCaret();
    void indentsWithNegativeLeft();
    void indentsSurviveBulletAndRtf();
    void find_data();
    void find();
    void linkDetection_data();
    void linkDetection();
    void linkClick();
    void loadFileByExtension_data();
    void loadFileByExtension();
    void saveFileByExtension();
    void copyCarriesRtfAndPasteTakesIt();
    void pastePicture();
    void events();
    void layoutQueries();
    void pictures_data();
    void pictures();
    void embeddedObject();
    void printsPageByPage();
};

// ---- undo ----

void TestRichEdit::undoKinds_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<UndoKind>("kind");
    QTest::addColumn<QString>("textAfter");
    QTest::newRow("typing") << "type" << UndoKind::Typing << "one two threexy";
    QTest::newRow("backspace") << "backspace" << UndoKind::Delete << "one two thre";
    QTest::newRow("delete key") << "delete" << UndoKind::Delete << "ne two three";
    QTest::newRow("delete selection") << "deleteSel" << UndoKind::Delete << " two three";
    QTest::newRow("cut") << "cut" << UndoKind::Cut << " two three";
    QTest::newRow("cut key") << "ctrl+x" << UndoKind::Cut << " two three";
    QTest::newRow("paste") << "paste" << UndoKind::Paste << "oneone two three";
    QTest::newRow("paste key") << "ctrl+v" << UndoKind::Paste << "oneone two three";
    QTest::newRow("drop") << "drop" << UndoKind::DragDrop << "droppedone two three";
    QTest::newRow("format change has no kind") << "bold" << UndoKind::None << "one two three";
}

void TestRichEdit::undoKinds() {
    QFETCH(QString, action);
    QFETCH(UndoKind, kind);
    QFETCH(QString, textAfter);
    Editor e;
    e.resize(400, 200);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.loadRtf("{\\rtf1 one two three}");
    QVERIFY(!e.canUndo());
    QCOMPARE(e.undoKind(), UndoKind::None);
    QApplication::clipboard()->setText("one");
    if (action == "type") {
        e.moveCursor(QTextCursor::End);
        QTest::keyClicks(&e, "xy");
    } else if (action == "backspace") {
        e.moveCursor(QTextCursor::End);
        QTest::keyClick(&e, Qt::Key_Backspace);
    } else if (action == "delete") {
        e.moveCursor(QTextCursor::Start);
        QTest::keyClick(&e, Qt::Key_Delete);
    } else if (action == "deleteSel") {
        e.setSel(0, 3);
        e.deleteSel();
    } else if (action == "cut") {
        e.setSel(0, 3);
        e.cut();
    } else if (action == "ctrl+x") {
        e.setSel(0, 3);
        QTest::keyClick(&e, Qt::Key_X, Qt::ControlModifier);
    } else if (action == "paste") {
        e.setSel(0, 0);
        e.paste();
    } else if (action == "ctrl+v") {
        e.setSel(0, 0);
        QTest::keyClick(&e, Qt::Key_V, Qt::ControlModifier);
    } else if (action == "drop") {
        QMimeData mime;
        mime.setText("dropped");
        const QPoint at = e.cursorRect(QTextCursor(e.document())).center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(e.viewport(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(e.viewport(), &move);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(e.viewport(), &drop);
    } else if (action == "bold") {
        e.setSel(0, 3);
        e.setSelBold(true);
    }
    QCOMPARE(e.text(), textAfter);
    QVERIFY(e.canUndo());
    QCOMPARE(e.undoKind(), kind);
    QCOMPARE(e.redoKind(), UndoKind::None);
    e.undo();
    QCOMPARE(e.text(), QStringLiteral("one two three"));
    QVERIFY(!e.canUndo());
    QVERIFY(e.canRedo());
    QCOMPARE(e.redoKind(), kind);
    e.redo();
    QCOMPARE(e.text(), textAfter);
    QCOMPARE(e.undoKind(), kind);
}

void TestRichEdit::typingIsOneStepAndRedo() {
    Editor e;
    QTest::keyClicks(&e, "hello world");
    QCOMPARE(e.undoKind(), UndoKind::Typing);
    e.setSel(0, 5);
    e.cut();
    QCOMPARE(e.undoKind(), UndoKind::Cut);
    e.undo();
    QCOMPARE(e.undoKind(), UndoKind::Typing);
    QCOMPARE(e.redoKind(), UndoKind::Cut);
    // Ctrl+Z goes the same way as undo()
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.text(), QString());
    QVERIFY(!e.canUndo());
    QCOMPARE(e.redoKind(), UndoKind::Typing);
    // a new step throws the redo history away
    QTest::keyClicks(&e, "x");
    QVERIFY(!e.canRedo());
    QCOMPARE(e.redoKind(), UndoKind::None);
    // loading a text starts a new history
    e.loadRtf("{\\rtf1 new}");
    QVERIFY(!e.canUndo());
    QCOMPARE(e.undoKind(), UndoKind::None);
}

void TestRichEdit::undoIsLimitedTo100Steps() {
    Editor e;
    for (int i = 0; i < 120; ++i) {
        e.moveCursor(QTextCursor::Start);  // typing elsewhere starts a new step
        QTest::keyClick(&e, Qt::Key_A);
    }
    int undone = 0;
    while (e.canUndo() && undone < 200) {
        e.undo();
        ++undone;
    }
    QCOMPARE(undone, 100);
    QCOMPARE(e.textLength(), 20);
    e.undo();  // refused beyond the limit
    QCOMPARE(e.textLength(), 20);
}

// ---- character and paragraph formats ----

void TestRichEdit::backColourOfWordAtCaret() {
    Editor e;
    e.loadRtf("{\\rtf1 alpha beta gamma}");
    e.setSel(8, 0);  // inside "beta"
    e.setSelBackColor(QColor(255, 255, 0));
    QCOMPARE(e.selStart(), 8);
    QCOMPARE(e.selLength(), 0);
    QCOMPARE(markup::of(*e.document()), QStringLiteral("alpha <bg=#ffff00>beta</> gamma"));
    QCOMPARE(e.selBackColor(), QColor(255, 255, 0));
    // automatic takes it away again
    e.setSelBackColor(QColor());
    QCOMPARE(markup::of(*e.document()), QStringLiteral("alpha beta gamma"));
    QVERIFY(!e.selBackColor().isValid());
    // with a selection only the selection changes
    e.setSel(1, 2);
    e.setSelBackColor(QColor(0, 255, 0));
    QCOMPARE(markup::of(*e.document()), QStringLiteral("a<bg=#00ff00>lp</>ha beta gamma"));
}

void TestRichEdit::indentsWithNegativeLeft() {
    Editor e;
    e.resize(300, 400);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.loadRtf("{\\rtf1 " + QByteArray("many words make a paragraph that wraps over several lines ").repeated(4) + "}");
    e.setParaFirstIndent(30);
    e.setParaLeftIndent(-12);
    e.setParaRightIndent(6);
    QCOMPARE(e.paraFirstIndent(), 30);
    QCOMPARE(e.paraLeftIndent(), -12);
    QCOMPARE(e.paraRightIndent(), 6);
    // laid out: the first line starts 30 pt in, the other lines 12 pt left of it
    const QTextBlock b = e.document()->firstBlock();
    e.document()->documentLayout()->blockBoundingRect(b);
    const QTextLayout* layout = b.layout();
    QVERIFY(layout->lineCount() >= 3);
    const qreal first = layout->lineAt(0).x(), other = layout->lineAt(1).x();
    QCOMPARE(qRound(first - other), qRound(12 * 4.0 / 3));
    QCOMPARE(qRound(first), qRound(30 * 4.0 / 3));
    // a left indent that would pass the left edge is allowed and kept
    e.setParaLeftIndent(-40);
    QCOMPARE(e.paraLeftIndent(), -40);
    QCOMPARE(e.paraFirstIndent(), 30);
}

void TestRichEdit::indentsSurviveBulletAndRtf() {
    Editor e;
    e.loadRtf("{\\rtf1 item}");
    e.setParaFirstIndent(18);
    e.setParaLeftIndent(9);
    e.setParaNumbering(RichEdit::Numbering::Bullet);
    QCOMPARE(e.paraNumbering(), RichEdit::Numbering::Bullet);
    QCOMPARE(e.paraFirstIndent(), 18);
    QCOMPARE(e.paraLeftIndent(), 9);
    Editor back;
    QVERIFY(back.loadRtf(e.saveRtf()));
    QCOMPARE(back.paraNumbering(), RichEdit::Numbering::Bullet);
    QCOMPARE(back.paraFirstIndent(), 18);
    QCOMPARE(back.paraLeftIndent(), 9);
    back.setParaNumbering(RichEdit::Numbering::None);
    QCOMPARE(back.paraNumbering(), RichEdit::Numbering::None);
    QCOMPARE(back.paraFirstIndent(), 18);
    QCOMPARE(back.paraLeftIndent(), 9);
}

// ---- find ----

void TestRichEdit::find_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<int>("found");
    // text: "Word sword WORD word words"
    //        0    5     11   16   21
    QTest::newRow("forward") << 0 << true << false << false << 0;
    QTest::newRow("forward from inside") << 1 << true << false << false << 6;
    QTest::newRow("forward match case") << 1 << true << true << false << 6;
    QTest::newRow("forward whole word") << 1 << true << false << true << 11;
    QTest::newRow("forward case and word") << 1 << true << true << true << 16;
    QTest::newRow("forward none left") << 22 << true << false << false << -1;
    QTest::newRow("backward") << 26 << false << false << false << 21;
    QTest::newRow("backward whole word") << 26 << false << false << true << 16;
    QTest::newRow("backward match case") << 20 << false << true << false << 16;
    QTest::newRow("backward case and word") << 15 << false << true << true << -1;
    QTest::newRow("backward ends before from") << 3 << false << false << false << -1;
}

void TestRichEdit::find() {
    QFETCH(int, from);
    QFETCH(bool, forward);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(int, found);
    Editor e;
    e.loadRtf("{\\rtf1 Word sword WORD\\par word words}");
    e.setSel(2, 1);
    QCOMPARE(e.find(QStringLiteral("word"), from, {forward, matchCase, wholeWord}), found);
    if (found >= 0) {
        QCOMPARE(e.selStart(), found);
        QCOMPARE(e.selLength(), 4);
        QCOMPARE(e.selText().toLower(), QStringLiteral("word"));
    } else {
        QCOMPARE(e.selStart(), 2);  // nothing found: the selection stays
        QCOMPARE(e.selLength(), 1);
    }
}

// ---- links ----

void TestRichEdit::linkDetection_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("links");
    QTest::newRow("none") << "no link here: really" << QStringList();
    QTest::newRow("http") << "see http://example.org/a?b=1." << QStringList{"http://example.org/a?b=1"};
    QTest::newRow("www and mailto") << "www.example.com, mailto:me@example.org!"
                                    << QStringList{"www.example.com", "mailto:me@example.org"};
    QTest::newRow("in parentheses") << "(https://x.example/p)" << QStringList{"https://x.example/p"};
    QTest::newRow("scheme alone") << "http:// and www." << QStringList();
    QTest::newRow("not inside a word") << "awww.example.com" << QStringList();
    QTest::newRow("capitals, no colon in the paragraph") << "Visit WwW.Example.com today" << QStringList{"WwW.Example.com"};
}

void TestRichEdit::linkDetection() {
    QFETCH(QString, text);
    QFETCH(QStringList, links);
    QStringList found;
    for (const LinkSpan& s : findLinks(text)) found << text.mid(s.start, s.length);
    QCOMPARE(found, links);
}

void TestRichEdit::linkClick() {
    Editor e;
    e.resize(500, 200);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.moveCursor(QTextCursor::End);
    QTest::keyClicks(&e, "see www.example.org now ");
    // detected links are shown, not stored: the text and its formats are untouched
    QCOMPARE(markup::of(*e.document()), QStringLiteral("see www.example.org now "));
    QCOMPARE(e.document()->firstBlock().layout()->formats().size(), 1);
    QSignalSpy clicks(&e, &RichEdit::urlClick);
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, viewportPointOf(e, 8));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks[0][0].toString(), QStringLiteral("www.example.org"));
    QCOMPARE(clicks[0][1].value<Qt::MouseButton>(), Qt::LeftButton);
    QTest::mouseClick(e.viewport(), Qt::RightButton, {}, viewportPointOf(e, 5));
    QCOMPARE(clicks.count(), 2);
    QCOMPARE(clicks[1][1].value<Qt::MouseButton>(), Qt::RightButton);
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, viewportPointOf(e, 1));  // "see"
    QCOMPARE(clicks.count(), 2);
    // a link field gives its address
    e.loadRtf(R"({\rtf1 go {\field{\*\fldinst{HYPERLINK "https://example.net/"}}{\fldrslt there}} now})");
    QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, viewportPointOf(e, 4));
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(clicks[2][0].toString(), QStringLiteral("https://example.net/"));
}

// ---- files ----

void TestRichEdit::loadFileByExtension_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("markup");
    QTest::newRow("rtf") << "a.rtf" << QByteArray("{\\rtf1 {\\b bold} text}") << true << "<b>bold</> text";
    QTest::newRow("upper-case RTF") << "a.RTF" << QByteArray("{\\rtf1 {\\i it}}") << true << "<i>it</>";
    QTest::newRow("txt holds RTF: shown as text") << "a.txt" << QByteArray("{\\rtf1 x}") << true << "{\\rtf1 x}";
    QTest::newRow("mixed-case txt, UTF-8") << "b.TxT" << QByteArray("caf\xc3\xa9\r\nline") << true
                                           << QStringLiteral("caf\u00e9\nline");
    QTest::newRow("rtf that is text falls back") << "c.rtf" << QByteArray("plain words") << true << "plain words";
    QTest::newRow("txt that is not text falls back to RTF") << "d.txt" << QByteArray("{\\rtf1 y}\0", 10) << true
                                                           << "y";
    QTest::newRow("neither") << "e.rtf" << QByteArray("\0\1\2", 3) << false << "kept";
    QTest::newRow("other extension as RTF") << "f.doc" << QByteArray("{\\rtf1 z}") << true << "z";
}

void TestRichEdit::loadFileByExtension() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, markup);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    writeFile(path, bytes);
    Editor e;
    e.loadRtf("{\\rtf1 kept}");
    QString error;
    QCOMPARE(e.loadFile(path, &error), ok);
    QCOMPARE(error.isEmpty(), ok);
    QCOMPARE(markup::of(*e.document()), markup);
    QCOMPARE(e.modified(), false);
    QVERIFY(!e.loadFile(dir.filePath("missing.rtf"), &error));
    QVERIFY(error.startsWith("Cannot open file"));
}

void TestRichEdit::saveFileByExtension() {
    QTemporaryDir dir;
    Editor e;
    e.loadRtf("{\\rtf1 {\\b one}\\par two \\u8364?}");
    QVERIFY(e.saveFile(dir.filePath("out.TXT")));
    QVERIFY(e.saveFile(dir.filePath("out.rtf")));
    QFile txt(dir.filePath("out.TXT"));
    QVERIFY(txt.open(QIODevice::ReadOnly));
    QCOMPARE(txt.readAll(), QByteArray("one\r\ntwo \xe2\x82\xac"));
    Editor back;
    QVERIFY(back.loadFile(dir.filePath("out.rtf")));
    QCOMPARE(markup::of(*back.document()), QStringLiteral("<b>one</>\ntwo \u20ac"));
    QString error;
    QVERIFY(!e.saveFile(dir.filePath("no/such/folder/x.rtf"), &error));
    QVERIFY(error.startsWith("Cannot create file"));
}

// ---- clipboard ----

void TestRichEdit::copyCarriesRtfAndPasteTakesIt() {
    Editor from;
    from.loadRtf(R"({\rtf1 a {\b bold} {\field{\*\fldinst{HYPERLINK "http://l.example/"}}{\fldrslt link}} z})");
    from.selectAll();
    from.copy();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    QVERIFY(mime->hasFormat("text/rtf"));
    QVERIFY(mime->data("text/rtf").startsWith("{\\rtf1"));
    QVERIFY(mime->hasText());
    Editor to;
    to.loadRtf("{\\rtf1 [] }");
    to.setSel(1, 0);
    to.paste();
    QCOMPARE(markup::of(*to.document()),
             QStringLiteral("[a <b>bold</> <u fg=#0000ff href=http://l.example/>link</> z] "));
    QCOMPARE(to.undoKind(), UndoKind::Paste);
}

void TestRichEdit::pastePicture() {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    QApplication::clipboard()->setImage(image);
    Editor e;
    e.paste();
    QCOMPARE(imageCount(*e.document()), 1);
    Editor back;
    QVERIFY(back.loadRtf(e.saveRtf()));
    QCOMPARE(imageCount(*back.document()), 1);
}

// ---- events ----

void TestRichEdit::events() {
    Editor e;
    e.resize(300, 200);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    QSignalSpy changes(&e, &RichEdit::change);
    QSignalSpy moves(&e, &RichEdit::selectionChange);
    QSignalSpy keys(&e, &RichEdit::keyDown);
    QSignalSpy mouse(&e, &RichEdit::mouseDown);
    QTest::keyClicks(&e, "ab");
    QCOMPARE(keys.count(), 2);
    QCOMPARE(keys[0][0].toInt(), int(Qt::Key_A));
    QVERIFY(changes.count() >= 2);
    QCOMPARE(moves.count(), 2);
    e.setSel(0, 1);
    QCOMPARE(moves.count(), 3);
    // a format change is a change but not a selection change
    const int changed = int(changes.count());
    e.setSelBold(true);
    QVERIFY(changes.count() > changed);
    QCOMPARE(moves.count(), 3);
    QTest::mousePress(e.viewport(), Qt::RightButton, Qt::ShiftModifier, QPoint(10, 10));
    QCOMPARE(mouse.count(), 1);
    QCOMPARE(mouse[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    QCOMPARE(mouse[0][1].value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(mouse[0][2].toPoint(), e.viewport()->mapTo(&e, QPoint(10, 10)));
}

// ---- layout ----

void TestRichEdit::layoutQueries() {
    Editor e;
    e.resize(240, 300);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.loadRtf("{\\rtf1 short\\par " + QByteArray("words that wrap round ").repeated(12) + "\\par end}");
    const int endStart = e.textLength() - 3;
    const int lastLine = e.lineFromChar(endStart);
    QVERIFY(lastLine > 3);  // the long paragraph takes several lines
    QCOMPARE(e.lineFromChar(0), 0);
    QCOMPARE(e.lineFromChar(3), 0);
    QCOMPARE(e.lineFromChar(6), 1);
    QCOMPARE(e.lineIndex(0), 0);
    QCOMPARE(e.lineIndex(1), 6);
    QCOMPARE(e.lineIndex(lastLine), endStart);
    QCOMPARE(e.lineIndex(lastLine + 1), -1);
    for (int line = 1; line < lastLine; ++line) {
        const int first = e.lineIndex(line);
        QVERIFY(first > e.lineIndex(line - 1));
        QCOMPARE(e.lineFromChar(first), line);
    }
    const QRect r = e.formatRect();
    QVERIFY(r.width() > 0 && r.width() < e.width());
    QCOMPARE(e.clientHeight(), e.viewport()->height());
    QVERIFY(e.charScreenPosition(6).y() > e.charScreenPosition(0).y());
    e.setBackgroundColor(QColor(1, 2, 3));
    QCOMPARE(e.backgroundColor(), QColor(1, 2, 3));
}

// ---- pictures and objects ----

void TestRichEdit::pictures_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("written");  // the blip kind in the saved RTF
    QTest::newRow("png") << imageBytes("PNG") << QByteArray("\\pngblip");
    QTest::newRow("jpeg") << imageBytes("JPEG") << QByteArray("\\jpegblip");
    QTest::newRow("bmp") << imageBytes("BMP") << QByteArray("\\pngblip");
    QTest::newRow("gif") << tinyGif << QByteArray("\\pngblip");
}

void TestRichEdit::pictures() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, written);
    QTemporaryDir dir;
    writeFile(dir.filePath("pic"), bytes);
    Editor e;
    e.loadRtf("{\\rtf1 ab}");
    e.setSel(1, 0);
    QVERIFY(e.insertPictureFile(dir.filePath("pic")));
    QCOMPARE(imageCount(*e.document()), 1);
    QCOMPARE(e.textLength(), 3);
    const QByteArray rtf = e.saveRtf();
    QVERIFY(rtf.contains(written));
    Editor back;
    QVERIFY(back.loadRtf(rtf));
    QCOMPARE(imageCount(*back.document()), 1);
    QCOMPARE(back.text(), QStringLiteral("ab"));
    QString error;
    QVERIFY(!e.insertPicture("not a picture", &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(imageCount(*e.document()), 1);
}

void TestRichEdit::embeddedObject() {
    QTemporaryDir dir;
    writeFile(dir.filePath("notes.txt"), "the notes");
    Editor e;
    e.loadRtf("{\\rtf1 ab}");
    e.setSel(1, 0);
    QVERIFY(e.insertObjectFile(dir.filePath("notes.txt"), false));
    QVERIFY(e.insertObjectFile(dir.filePath("notes.txt"), true));
    e.setSel(1, 1);
    QVERIFY(e.selectionIsOneObject());
    e.setSel(0, 2);
    QVERIFY(!e.selectionIsOneObject());
    e.setSel(0, 1);
    QVERIFY(!e.selectionIsOneObject());

    Editor back;
    QVERIFY(back.loadRtf(e.saveRtf()));
    std::vector<QTextImageFormat> objects;
    for (QTextBlock b = back.document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                objects.push_back(it.fragment().charFormat().toImageFormat());
    QCOMPARE(int(objects.size()), 2);
    rtf::PackagedFile embedded, linked;
    QVERIFY(rtf::parsePackageObjectData(
        rtf::keptResource(*back.document(), rtf::ObjectDataResource, objects[0].name()).toByteArray(), &embedded));
    QVERIFY(rtf::parsePackageObjectData(
        rtf::keptResource(*back.document(), rtf::ObjectDataResource, objects[1].name()).toByteArray(), &linked));
    QCOMPARE(embedded.label, QStringLiteral("notes.txt"));
    QCOMPARE(embedded.data, QByteArray("the notes"));
    QVERIFY(!embedded.linked);
    QVERIFY(linked.linked);
    QCOMPARE(linked.path, QFileInfo(dir.filePath("notes.txt")).absoluteFilePath());
    QCOMPARE(objects[0].stringProperty(rtf::ObjectNameProperty), QStringLiteral("notes.txt"));
    QVERIFY(!rtf::pictureImage(*back.document(), objects[0]).isNull());
}

// ---- printing ----

void TestRichEdit::printsPageByPage() {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.pdf");
    Editor e;
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 200; ++i) rtf += "line " + QByteArray::number(i) + "\\par ";
    rtf += "{\\pict\\pngblip " + imageBytes("PNG").toHex() + "}}";
    e.loadRtf(rtf);
    {
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A5));
        e.print(&pdf, QStringLiteral("anna2004-5-17"));
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    QVERIFY(data.startsWith("%PDF"));
    const qsizetype pages = data.count("/Type /Page\n") + data.count("/Type /Page\r") + data.count("/Type /Page ") +
                            data.count("/Type /Page/");
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    // the job title is the document's title, written as UTF-16
    QByteArray title;
    for (char c : QByteArray("anna2004-5-17")) title += QByteArray(1, '\0') + c;
    QVERIFY(data.contains(title) || data.contains(QByteArray("anna2004-5-17")) ||
            data.contains(QByteArray::fromRawData(title.constData(), title.size()).toHex()));
}

QTEST_MAIN(TestRichEdit)
#include "tst_richedit.moc"

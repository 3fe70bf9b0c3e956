#include "editor/richedit.h"

#include "editor/linkdetector.h"
#include "rtf/docmodel.h"
#include "rtf/plaintext.h"
#include "rtf/rtf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QUrl>
#include <memory>
#include <utility>
#include <vector>

namespace {

QString truncatedFace(const QString& face) { return face.left(RichEdit::maxFaceLength); }

qreal pointsToPx(int pt) { return pt * rtf::pixelsPerPoint; }
int pxToPoints(qreal px) { return int(std::lround(px / rtf::pixelsPerPoint)); }

}  // namespace

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    setAccessibleName(tr("Diary text"));
    links_ = new LinkHighlighter(static_cast<QObject*>(this));
    connect(this, &QTextEdit::textChanged, this, &RichEdit::change);
    // one event for each move of the caret or the selection's other end
    auto selectionMoved = [this, last = std::make_shared<std::pair<int, int>>(-1, -1)] {
        const QTextCursor c = textCursor();
        const std::pair<int, int> now(c.position(), c.anchor());
        if (now == *last) return;
        *last = now;
        emit selectionChange();
    };
    connect(this, &QTextEdit::cursorPositionChanged, this, selectionMoved);
    connect(this, &QTextEdit::selectionChanged, this, selectionMoved);
    installDocument(newDocument());
}

RichEdit::~RichEdit() = default;

QTextDocument* RichEdit::newDocument() const {
    auto* doc = new QTextDocument(const_cast<RichEdit*>(this));
    if (QTextDocument* old = document()) {
        doc->setDefaultFont(old->defaultFont());
        doc->setDocumentMargin(old->documentMargin());
        doc->setDefaultTextOption(old->defaultTextOption());
    }
    return doc;
}

void RichEdit::installDocument(QTextDocument* doc) {
    QTextDocument* old = document();
    if (old == doc) return;
    // Documents we made are ours; the first one belongs to the base class,
    // which deletes it inside setDocument, so ask before the swap.
    const bool oldIsOurs = old && old->parent() == this;
    setDocument(doc);
    connect(doc, &QTextDocument::modificationChanged, this, &RichEdit::modifiedChanged);
    undoKinds_.attach(doc);
    links_->setDocument(doc);
    if (oldIsOurs) delete old;
}

// ---- content ----

bool RichEdit::loadRtf(const QByteArray& rtf, QString* error) {
    QTextDocument* doc = newDocument();
    doc->setUndoRedoEnabled(false);
    if (!rtf.isEmpty()) {
        QString message;
        if (!rtf::read(rtf, *doc, &message)) {
            // A stream that is not RTF keeps its text: it loads as plain text.
            QString text;
            if (!rtf::decodeText(rtf, &text)) {
                delete doc;
                if (error) *error = tr("Failed to Load Stream");
                return false;
            }
            doc->setPlainText(text);
        }
    }
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    installDocument(doc);
    moveCursor(QTextCursor::Start);
    if (error) error->clear();
    emit modifiedChanged(false);
    return true;
}

QByteArray RichEdit::saveRtf() const {
    rtf::WriteOptions options;
    options.defaultColour = defaultColour_;
    return rtf::write(*document(), options);
}

bool RichEdit::loadPlainText(const QByteArray& bytes, QString* error) {
    QString text;
    if (!rtf::decodeText(bytes, &text)) {
        if (error) *error = tr("The file is not a text file.");
        return false;
    }
    QTextDocument* doc = newDocument();
    doc->setUndoRedoEnabled(false);
    doc->setPlainText(text);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    installDocument(doc);
    moveCursor(QTextCursor::Start);
    if (error) error->clear();
    emit modifiedChanged(false);
    return true;
}

QByteArray RichEdit::savePlainText() const { return rtf::encodeText(*document()); }

RichEdit::FileFormat RichEdit::formatForPath(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0
               ? FileFormat::PlainText
               : FileFormat::Rtf;
}

bool RichEdit::loadFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = tr("Cannot open file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error) *error = tr("Cannot open file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    const bool asRtf = formatForPath(path) == FileFormat::Rtf;
    // RTF only when the data is RTF; the other format is the fallback either way.
    auto tryRtf = [&] { return rtf::isRtf(bytes) && loadRtf(bytes); };
    auto tryText = [&] { return loadPlainText(bytes); };
    if (asRtf ? (tryRtf() || tryText()) : (tryText() || tryRtf())) {
        if (error) error->clear();
        return true;
    }
    if (error) *error = tr("Failed to Load Stream");
    return false;
}

bool RichEdit::saveFile(const QString& path, QString* error) const {
    const QByteArray bytes = formatForPath(path) == FileFormat::PlainText ? savePlainText() : saveRtf();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error) *error = tr("Cannot create file %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (error) error->clear();
    return true;
}

QString RichEdit::text() const { return rtf::plainText(*document()); }

int RichEdit::textLength() const { return document()->characterCount() - 1; }

void RichEdit::clearAll() {
    QTextCursor c(document());
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(QTextBlockFormat());
    c.setBlockCharFormat(QTextCharFormat());
    setCurrentCharFormat(QTextCharFormat());
}

bool RichEdit::modified() const { return document()->isModified(); }

void RichEdit::setModified(bool m) { document()->setModified(m); }

void RichEdit::addLine(const QString& line) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    const bool empty = document()->characterCount() <= 1;
    if (!empty) c.insertBlock();
    QString text = line;
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    c.insertText(text);
}

// ---- selection ----

int RichEdit::selStart() const { return textCursor().selectionStart(); }

int RichEdit::selLength() const {
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void RichEdit::setSel(int start, int length) {
    const int max = textLength();
    start = qBound(0, start, max);
    int end = qBound(0, start + length, max);
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichEdit::selText() const {
    QString s = textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    s.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return s;
}

void RichEdit::replaceSel(const QString& text) {
    QTextCursor c = textCursor();
    // its own step: typing that follows must not merge into it
    c.beginEditBlock();
    c.insertText(text);
    c.endEditBlock();
    setTextCursor(c);
}

void RichEdit::deleteSel() {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) return;
    PendingUndoKind kind(undoKinds_, UndoKind::Delete);
    c.beginEditBlock();
    c.removeSelectedText();
    c.endEditBlock();
    setTextCursor(c);
}

// ---- character format ----

QTextCursor RichEdit::firstSelectedCharCursor() const {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) return c;
    QTextCursor first(document());
    first.setPosition(c.selectionStart());
    first.movePosition(QTextCursor::NextCharacter);
    return first;
}

QTextCharFormat RichEdit::selCharFormat() const {
    const QTextCursor c = textCursor();
    return c.hasSelection() ? firstSelectedCharCursor().charFormat() : currentCharFormat();
}

void RichEdit::mergeSelFormat(const QTextCharFormat& f) { mergeCurrentCharFormat(f); }

QString RichEdit::selFontName() const {
    const QTextCharFormat f = selCharFormat();
    const QStringList families = f.fontFamilies().toStringList();
    QString face = families.isEmpty() ? QString() : families.first();
    if (face.isEmpty()) face = document()->defaultFont().family();
    return truncatedFace(face);
}

int RichEdit::selFontSize() const {
    const qreal pt = selCharFormat().fontPointSize();
    return pt > 0 ? int(std::lround(pt)) : defaultFontSize();
}

void RichEdit::setSelFontName(const QString& face) {
    QTextCharFormat f;
    f.setFontFamilies({truncatedFace(face)});
    mergeSelFormat(f);
}

void RichEdit::setSelFontSize(int pt) {
    if (pt <= 0) return;
    QTextCharFormat f;
    f.setFontPointSize(pt);
    mergeSelFormat(f);
}

bool RichEdit::selBold() const { return selCharFormat().fontWeight() >= QFont::DemiBold; }
bool RichEdit::selItalic() const { return selCharFormat().fontItalic(); }
bool RichEdit::selUnderline() const { return selCharFormat().fontUnderline(); }
bool RichEdit::selStrikeOut() const { return selCharFormat().fontStrikeOut(); }

void RichEdit::setSelBold(bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelFormat(f);
}

void RichEdit::setSelItalic(bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeSelFormat(f);
}

void RichEdit::setSelUnderline(bool on) {
    QTextCharFormat f;
    f.setUnderlineStyle(on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    mergeSelFormat(f);
}

void RichEdit::setSelStrikeOut(bool on) {
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeSelFormat(f);
}

QColor RichEdit::selColor() const {
    const QTextCharFormat f = selCharFormat();
    if (!f.hasProperty(QTextFormat::ForegroundBrush) || f.foreground().style() == Qt::NoBrush)
        return {};
    return f.foreground().color();
}

namespace {

// Changes the format of every run in [start, end) by `change`, one undo step.
// The runs are collected first: changing them while walking would skip some.
template <typename Change>
void changeRuns(QTextDocument* doc, int start, int end, Change change) {
    struct Run {
        int from, to;
        QTextCharFormat format;
    };
    std::vector<Run> runs;
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int from = qMax(frag.position(), start);
            const int to = qMin(frag.position() + frag.length(), end);
            if (from < to) runs.push_back({from, to, frag.charFormat()});
        }
    }
    QTextCursor part(doc);
    part.beginEditBlock();
    for (Run& r : runs) {
        change(r.format);
        part.setPosition(r.from);
        part.setPosition(r.to, QTextCursor::KeepAnchor);
        part.setCharFormat(r.format);
    }
    part.endEditBlock();
}

}  // namespace

void RichEdit::setSelColor(const QColor& colour) {
    QTextCursor c = textCursor();
    if (colour.isValid()) {
        QTextCharFormat f;
        f.setForeground(colour);
        mergeSelFormat(f);
        return;
    }
    // automatic: the property goes, so the text follows the default colour
    if (c.hasSelection()) {
        changeRuns(document(), c.selectionStart(), c.selectionEnd(),
                   [](QTextCharFormat& f) { f.clearForeground(); });
    } else {
        QTextCharFormat f = currentCharFormat();
        f.clearForeground();
        setCurrentCharFormat(f);
    }
}

QColor RichEdit::selBackColor() const {
    const QTextCharFormat f = selCharFormat();
    if (!f.hasProperty(QTextFormat::BackgroundBrush) || f.background().style() == Qt::NoBrush)
        return {};
    return f.background().color();
}

void RichEdit::setSelBackColor(const QColor& colour) {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        // the word at the caret, when the caret is in one
        QTextCursor word = c;
        word.select(QTextCursor::WordUnderCursor);
        if (word.hasSelection() && !word.selectedText().trimmed().isEmpty()) c = word;
    }
    if (!c.hasSelection()) {
        QTextCharFormat f = currentCharFormat();
        if (colour.isValid()) f.setBackground(colour);
        else f.clearBackground();
        setCurrentCharFormat(f);
        return;
    }
    changeRuns(document(), c.selectionStart(), c.selectionEnd(), [&colour](QTextCharFormat& f) {
        if (colour.isValid()) f.setBackground(colour);
        else f.clearBackground();
    });
}

int RichEdit::selCharset() const { return selCharFormat().intProperty(rtf::CharsetProperty); }

void RichEdit::setSelCharset(int charset) {
    QTextCharFormat f;
    f.setProperty(rtf::CharsetProperty, charset);
    mergeSelFormat(f);
}

void RichEdit::setDefaultFont(const QString& face, int sizePt, const QColor& colour) {
    QFont font = document()->defaultFont();
    if (!face.isEmpty()) font.setFamilies({truncatedFace(face)});
    if (sizePt > 0) font.setPointSize(sizePt);
    document()->setDefaultFont(font);
    defaultColour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Text, colour.isValid() ? colour : QPalette().color(QPalette::Text));
    setPalette(p);
}

QString RichEdit::defaultFontName() const { return truncatedFace(document()->defaultFont().family()); }

int RichEdit::defaultFontSize() const {
    const QFont f = document()->defaultFont();
    if (f.pointSizeF() > 0) return int(std::lround(f.pointSizeF()));
    return pixelsToPoints(f.pixelSize());
}

QColor RichEdit::defaultFontColor() const { return defaultColour_; }

// ---- paragraph format ----

template <typename Change>
void RichEdit::changeParagraphs(Change change) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock b = document()->findBlock(start); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        change(f, b.textList() != nullptr);
        edit.setPosition(b.position());
        edit.setBlockFormat(f);
        if (b.position() + b.length() > end) break;
    }
    edit.endEditBlock();
}

int RichEdit::paraFirstIndent() const {
    const QTextBlock b = document()->findBlock(selStart());
    return pxToPoints(rtf::indents(b.blockFormat(), b.textList()).first);
}

int RichEdit::paraLeftIndent() const {
    const QTextBlock b = document()->findBlock(selStart());
    return pxToPoints(rtf::indents(b.blockFormat(), b.textList()).left);
}

int RichEdit::paraRightIndent() const {
    const QTextBlock b = document()->findBlock(selStart());
    return pxToPoints(rtf::indents(b.blockFormat(), b.textList()).right);
}

void RichEdit::setParaRightIndent(int pt) {
    changeParagraphs([pt](QTextBlockFormat& f, bool inList) {
        rtf::Indents in = rtf::indents(f, inList);
        in.right = pointsToPx(pt);
        rtf::setIndents(f, inList, in);
    });
}

void RichEdit::setParaLeftIndent(int pt) {
    changeParagraphs([pt](QTextBlockFormat& f, bool inList) {
        rtf::Indents in = rtf::indents(f, inList);
        in.left = pointsToPx(pt);
        rtf::setIndents(f, inList, in);
    });
}

void RichEdit::setParaFirstIndent(int pt) {
    changeParagraphs([pt](QTextBlockFormat& f, bool inList) {
        rtf::Indents in = rtf::indents(f, inList);
        in.first = pointsToPx(pt);
        rtf::setIndents(f, inList, in);
    });
}

RichEdit::Align RichEdit::paraAlignment() const {
    const Qt::Alignment a = document()->findBlock(selStart()).blockFormat().alignment();
    if (a & Qt::AlignHCenter) return Align::Center;
    if (a & (Qt::AlignRight | Qt::AlignTrailing)) return Align::Right;
    if (a & Qt::AlignJustify) return Align::Justify;
    return Align::Left;
}

void RichEdit::setParaAlignment(Align a) {
    Qt::Alignment q = Qt::AlignLeft;
    switch (a) {
    case Align::Left: q = Qt::AlignLeft; break;
    case Align::Right: q = Qt::AlignRight; break;
    case Align::Center: q = Qt::AlignHCenter; break;
    case Align::Justify: q = Qt::AlignJustify; break;
    }
    changeParagraphs([q](QTextBlockFormat& f, bool) { f.setAlignment(q); });
}

RichEdit::Numbering RichEdit::paraNumbering() const {
    return document()->findBlock(selStart()).textList() ? Numbering::Bullet : Numbering::None;
}

void RichEdit::setParaNumbering(Numbering n) {
    QTextCursor c = textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    QTextCursor edit(document());
    edit.beginEditBlock();
    QTextList* list = nullptr;
    for (QTextBlock b = document()->findBlock(start); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        edit.setPosition(b.position());
        if (n == Numbering::Bullet) {
            if (!b.textList()) {
                rtf::convertIndentsForList(f, true);
                edit.setBlockFormat(f);
                if (!list) {
                    // join the bullet list just above, as a user continuing a list expects
                    const QTextBlock prev = b.previous();
                    if (prev.isValid() && prev.textList() &&
                        prev.textList()->format().style() == QTextListFormat::ListDisc)
                        list = prev.textList();
                }
                if (list) {
                    list->add(edit.block());
                } else {
                    QTextListFormat lf;
                    lf.setStyle(QTextListFormat::ListDisc);
                    lf.setIndent(0);
                    list = edit.createList(lf);
                }
            } else {
                list = b.textList();
            }
        } else if (QTextList* l = b.textList()) {
            l->remove(b);
            QTextBlockFormat plain = edit.blockFormat();
            plain.setObjectIndex(-1);
            rtf::convertIndentsForList(plain, false);
            edit.setBlockFormat(plain);
        }
        if (b.position() + b.length() > end) break;
    }
    edit.endEditBlock();
}

QVariant RichEdit::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource &&
        rtf::keptResource(*document(), rtf::KeptPictureResource, name.toString()).isValid()) {
        // Pictures are decoded when first shown, not when the text is read; the
        // document keeps the decoded image from then on.
        QImage image = rtf::pictureImage(*document(), name);
        if (image.isNull()) {
            QSize size(64, 64);
            for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextCharFormat f = it.fragment().charFormat();
                    if (f.isImageFormat() && f.toImageFormat().name() == name.toString()) {
                        size = QSize(int(f.toImageFormat().width()), int(f.toImageFormat().height()));
                        break;
                    }
                }
            }
            image = rtf::placeholderImage(size, tr("picture"));
        }
        return image;
    }
    return QTextEdit::loadResource(type, name);
}

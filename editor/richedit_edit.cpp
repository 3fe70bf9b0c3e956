// The editor control's editing: undo kinds, clipboard, drag and drop, find,
// link clicks and the key and mouse events.
#include "editor/linkdetector.h"
#include "editor/richedit.h"
#include "rtf/docmodel.h"
#include "rtf/rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>

namespace {

const char* const rtfMimeTypes[] = {"text/rtf", "application/rtf", "text/richtext"};

UndoKind kindOfKey(QKeyEvent* e) {
    if (e->matches(QKeySequence::Cut)) return UndoKind::Cut;
    if (e->matches(QKeySequence::Paste)) return UndoKind::Paste;
    if (e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Delete || e->matches(QKeySequence::DeleteEndOfWord) ||
        e->matches(QKeySequence::DeleteStartOfWord) || e->matches(QKeySequence::DeleteEndOfLine))
        return UndoKind::Delete;
    if (!e->text().isEmpty()) return UndoKind::Typing;
    return UndoKind::None;
}

}  // namespace

// ---- undo and redo ----

bool RichEdit::canUndo() const { return undoKinds_.canUndo(); }
bool RichEdit::canRedo() const { return undoKinds_.canRedo(); }
UndoKind RichEdit::undoKind() const { return undoKinds_.undoKind(); }
UndoKind RichEdit::redoKind() const { return undoKinds_.redoKind(); }

void RichEdit::undo() {
    if (undoKinds_.canUndo()) QTextEdit::undo();
}

void RichEdit::redo() {
    if (undoKinds_.canRedo()) QTextEdit::redo();
}

// ---- clipboard and drag and drop ----

void RichEdit::cut() {
    PendingUndoKind kind(undoKinds_, UndoKind::Cut);
    QTextEdit::cut();
}

void RichEdit::paste() {
    PendingUndoKind kind(undoKinds_, UndoKind::Paste);
    QTextEdit::paste();
}

void RichEdit::dropEvent(QDropEvent* e) {
    PendingUndoKind kind(undoKinds_, UndoKind::DragDrop);
    QTextEdit::dropEvent(e);
}

QMimeData* RichEdit::createMimeDataFromSelection() const {
    // What we copy carries RTF, so pictures, objects and links survive a paste.
    // (Qt's own mime data lists a fixed set of formats, so a plain one is made.)
    const QTextDocumentFragment selection = textCursor().selection();
    auto* mime = new QMimeData;
    QString text = selection.toPlainText();
    text.remove(QChar::ObjectReplacementCharacter);
    mime->setText(text);
    mime->setHtml(selection.toHtml());
    QTextDocument part;
    part.setDefaultFont(document()->defaultFont());
    QTextCursor(&part).insertFragment(selection);
    rtf::copyResources(*document(), part);
    rtf::WriteOptions options;
    options.defaultColour = defaultFontColor();
    const QByteArray data = rtf::write(part, options);
    for (const char* type : rtfMimeTypes) mime->setData(QLatin1String(type), data);
    return mime;
}

bool RichEdit::canInsertFromMimeData(const QMimeData* source) const {
    for (const char* type : rtfMimeTypes)
        if (source->hasFormat(QLatin1String(type))) return true;
    return QTextEdit::canInsertFromMimeData(source);
}

void RichEdit::insertFromMimeData(const QMimeData* source) {
    PendingUndoKind kind(undoKinds_, UndoKind::Paste);
    // The richest form offered: RTF, then HTML, then a picture, then plain text.
    for (const char* type : rtfMimeTypes) {
        if (!source->hasFormat(QLatin1String(type))) continue;
        QTextDocument part;
        if (!rtf::read(source->data(QLatin1String(type)), part)) continue;
        rtf::copyResources(part, *document());
        QTextCursor c = textCursor();
        c.beginEditBlock();
        c.insertFragment(QTextDocumentFragment(&part));
        c.endEditBlock();
        setTextCursor(c);
        return;
    }
    if (!source->hasHtml() && source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.isNull() && image.save(&buffer, "PNG")) {
            insertImageFormat(rtf::addPicture(*document(), png, QStringLiteral("\\pngblip")));
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}

// ---- find ----

int RichEdit::find(const QString& text, int from, const FindOptions& options) {
    const int at = findInText(document()->toRawText(), text, from, options);
    if (at >= 0) setSel(at, int(text.size()));
    return at;
}

// ---- events and links ----

void RichEdit::keyPressEvent(QKeyEvent* e) {
    emit keyDown(e->key(), e->modifiers());
    if (e->matches(QKeySequence::Undo)) {
        undo();
        e->accept();
        return;
    }
    if (e->matches(QKeySequence::Redo)) {
        redo();
        e->accept();
        return;
    }
    PendingUndoKind kind(undoKinds_, kindOfKey(e));
    QTextEdit::keyPressEvent(e);
}

QString RichEdit::linkAt(QPoint viewportPos) const {
    const QPointF docPos(viewportPos.x() + horizontalScrollBar()->value(),
                         viewportPos.y() + verticalScrollBar()->value());
    const int at = document()->documentLayout()->hitTest(docPos, Qt::ExactHit);
    if (at < 0) return {};
    const QString href = anchorAt(viewportPos);
    if (!href.isEmpty()) return href;
    const QTextBlock block = document()->findBlock(at);
    const int offset = at - block.position();
    const QString text = block.text();
    for (const LinkSpan& s : findLinks(text))
        if (offset >= s.start && offset < s.start + s.length) return text.mid(s.start, s.length);
    return {};
}

void RichEdit::mousePressEvent(QMouseEvent* e) {
    emit mouseDown(e->button(), e->modifiers(), viewport()->mapTo(this, e->position().toPoint()));
    pressedLink_ = linkAt(e->position().toPoint());
    QTextEdit::mousePressEvent(e);
}

void RichEdit::mouseReleaseEvent(QMouseEvent* e) {
    QTextEdit::mouseReleaseEvent(e);
    const QString link = pressedLink_;
    pressedLink_.clear();
    // a click: pressed and released on the same link
    if (!link.isEmpty() && linkAt(e->position().toPoint()) == link) emit urlClick(link, e->button());
}

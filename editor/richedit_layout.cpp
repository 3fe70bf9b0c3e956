// The editor control's layout queries, pictures, embedded objects and printing.
#include "editor/richedit.h"
#include "rtf/docmodel.h"
#include "rtf/package.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextLayout>

// ---- layout ----

QRect RichEdit::formatRect() const {
    const int m = int(document()->documentMargin());
    return viewport()->geometry().adjusted(m, m, -m, -m);
}

int RichEdit::clientHeight() const { return viewport()->height(); }

namespace {

int linesOf(const QTextBlock& b) {
    const QTextLayout* l = b.layout();
    return l && l->lineCount() > 0 ? l->lineCount() : 1;
}

}  // namespace

int RichEdit::lineFromChar(int position) const {
    position = qBound(0, position, textLength());
    const QTextBlock target = document()->findBlock(position);
    // asking for the block's rectangle lays the text out up to it
    document()->documentLayout()->blockBoundingRect(target);
    int line = 0;
    for (QTextBlock b = document()->begin(); b.isValid() && b != target; b = b.next()) line += linesOf(b);
    const QTextLayout* l = target.layout();
    if (l && l->lineCount() > 0) {
        const QTextLine inBlock = l->lineForTextPosition(position - target.position());
        if (inBlock.isValid()) line += inBlock.lineNumber();
    }
    return line;
}

int RichEdit::lineIndex(int line) const {
    if (line < 0) return -1;
    document()->documentLayout()->blockBoundingRect(document()->lastBlock());
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const int n = linesOf(b);
        if (line < n) {
            const QTextLayout* l = b.layout();
            return b.position() + (l && l->lineCount() > line ? l->lineAt(line).textStart() : 0);
        }
        line -= n;
    }
    return -1;
}

QPoint RichEdit::charScreenPosition(int position) const {
    QTextCursor c(document());
    c.setPosition(qBound(0, position, textLength()));
    return viewport()->mapToGlobal(cursorRect(c).topLeft());
}

QColor RichEdit::backgroundColor() const { return palette().color(QPalette::Base); }

void RichEdit::setBackgroundColor(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

// ---- pictures and objects ----

void RichEdit::insertImageFormat(const QTextImageFormat& f) {
    QTextCursor c = textCursor();
    c.beginEditBlock();
    c.insertImage(f);
    c.endEditBlock();
    setTextCursor(c);
}

bool RichEdit::insertPicture(const QByteArray& bytes, QString* error) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull()) {
        if (error) *error = tr("Bitmap image is not valid");
        return false;
    }
    // shown at its own size, which the decoding above already gave
    const QSizeF size(image.size());
    if (format == "png" || format == "jpeg" || format == "jpg") {
        insertImageFormat(rtf::addPicture(*document(), bytes,
                                          format == "png" ? QStringLiteral("\\pngblip") : QStringLiteral("\\jpegblip"),
                                          size));
    } else {
        // GIF, BMP and the rest are stored as PNG, which every RTF reader knows
        QByteArray png;
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        image.save(&out, "PNG");
        insertImageFormat(rtf::addPicture(*document(), png, QStringLiteral("\\pngblip"), size));
    }
    if (error) error->clear();
    return true;
}

bool RichEdit::insertPictureFile(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = tr("Cannot open file %1").arg(path);
        return false;
    }
    return insertPicture(file.readAll(), error);
}

bool RichEdit::insertObjectFile(const QString& path, bool linked, QString* error) {
    rtf::PackagedFile package;
    package.label = QFileInfo(path).fileName();
    package.path = QFileInfo(path).absoluteFilePath();
    package.linked = linked;
    if (!linked) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            if (error) *error = tr("Cannot open file %1").arg(path);
            return false;
        }
        package.data = file.readAll();
    }
    // shown as an icon with the file's name
    const QImage icon = rtf::placeholderImage(QSize(96, 64), package.label);
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    icon.save(&out, "PNG");
    QTextImageFormat f = rtf::addPicture(*document(), png, QStringLiteral("\\pngblip"));
    rtf::keepResource(*document(), rtf::ObjectDataResource, f.name(), rtf::packageObjectData(package));
    f.setProperty(rtf::ObjectClassProperty, QStringLiteral("Package"));
    f.setProperty(rtf::ObjectNameProperty, package.label);
    if (linked) f.setProperty(rtf::ObjectLinkedProperty, true);
    insertImageFormat(f);
    if (error) error->clear();
    return true;
}

bool RichEdit::selectionIsOneObject() const {
    const QTextCursor c = textCursor();
    if (c.selectionEnd() - c.selectionStart() != 1) return false;
    QTextCursor at(document());
    at.setPosition(c.selectionEnd());
    const QTextCharFormat f = at.charFormat();
    return f.isImageFormat() && f.hasProperty(rtf::ObjectClassProperty);
}

// ---- printing ----

void RichEdit::print(QPagedPaintDevice* printer, const QString& jobTitle) const {
    if (auto* p = dynamic_cast<QPrinter*>(printer)) p->setDocName(jobTitle);
    if (auto* w = dynamic_cast<QPdfWriter*>(printer)) w->setTitle(jobTitle);
    // Printing lays out a copy of the text: decode every picture into the document
    // first, since the copy cannot ask the control for them.
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                document()->resource(QTextDocument::ImageResource,
                                     QUrl(it.fragment().charFormat().toImageFormat().name()));
    document()->print(printer);
}

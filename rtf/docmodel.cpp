#include "rtf/docmodel.h"

#include <QBuffer>
#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextFragment>
#include <QUrl>
#include <atomic>

namespace rtf {

Indents indents(const QTextBlockFormat& format, bool inList) {
    const qreal firstOffset = inList ? format.doubleProperty(ListFirstOffsetProperty)
                                     : format.textIndent();
    Indents in;
    in.first = format.leftMargin() + firstOffset;
    in.left = -firstOffset;
    in.right = format.rightMargin();
    return in;
}

void setIndents(QTextBlockFormat& format, bool inList, const Indents& in) {
    format.setLeftMargin(in.first + in.left);
    format.setRightMargin(in.right);
    if (inList) {
        format.setTextIndent(0);
        format.setProperty(ListFirstOffsetProperty, -in.left);
    } else {
        format.setTextIndent(-in.left);
        format.clearProperty(ListFirstOffsetProperty);
    }
}

void convertIndentsForList(QTextBlockFormat& format, bool nowInList) {
    const bool wasInList = format.hasProperty(ListFirstOffsetProperty);
    if (wasInList == nowInList) return;
    setIndents(format, nowInList, indents(format, wasInList));
}

namespace {
QUrl keptUrl(ResourceType type, const QString& name) {
    const char* kind = type == KeptPictureResource ? "kept" : type == ObjectDataResource ? "object" : "source";
    return QUrl(name + QLatin1Char('#') + QLatin1String(kind));
}
}  // namespace

QVariant keptResource(const QTextDocument& doc, ResourceType type, const QString& name) {
    return doc.resource(type, keptUrl(type, name));
}

void keepResource(QTextDocument& doc, ResourceType type, const QString& name, const QVariant& value) {
    doc.addResource(type, keptUrl(type, name), value);
}

QString newResourceName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("scrivlet-pic:%1").arg(++counter);
}

QImage decodePicture(const QByteArray& bytes, const QString& source) {
    QImage image;
    if (source.startsWith(QLatin1String("\\dibitmap"))) {
        // A device-independent bitmap without its file header: give it one.
        if (bytes.size() < 40) return {};
        QByteArray bmp("BM");
        const quint32 fileSize = quint32(14 + bytes.size());
        const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
        const quint32 headerSize = b[0] | (b[1] << 8) | (b[2] << 16) | (quint32(b[3]) << 24);
        const quint16 bitCount = quint16(b[14] | (b[15] << 8));
        quint32 colours = b[32] | (b[33] << 8) | (b[34] << 16) | (quint32(b[35]) << 24);
        if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
        const quint32 offset = 14 + headerSize + colours * 4;
        for (quint32 v : {fileSize, quint32(0), offset})
            for (int i = 0; i < 4; ++i) bmp.append(char((v >> (8 * i)) & 0xFF));
        bmp.append(bytes);
        image.loadFromData(bmp, "BMP");
        return image;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.read(&image);
    return image;
}

QTextImageFormat addPicture(QTextDocument& doc, const QByteArray& bytes, const QString& source,
                            QSizeF displaySize) {
    const QString name = newResourceName();
    keepResource(doc, KeptPictureResource, name, bytes);
    keepResource(doc, PictureSourceResource, name, source);
    QTextImageFormat format;
    format.setName(name);
    format.setProperty(PictureSourceProperty, source);
    if (displaySize.isEmpty()) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        displaySize = size.isValid() && !size.isEmpty() ? QSizeF(size) : QSizeF(32, 32);
    }
    format.setWidth(displaySize.width());
    format.setHeight(displaySize.height());
    return format;
}

QImage pictureImage(const QTextDocument& doc, const QUrl& name) {
    const QVariant kept = keptResource(doc, KeptPictureResource, name.toString());
    if (kept.typeId() == QMetaType::QByteArray)
        return decodePicture(kept.toByteArray(), keptResource(doc, PictureSourceResource, name.toString()).toString());
    const QVariant shown = doc.resource(QTextDocument::ImageResource, name);
    if (shown.typeId() == QMetaType::QByteArray) return QImage::fromData(shown.toByteArray());
    return qvariant_cast<QImage>(shown);
}

QImage pictureImage(const QTextDocument& doc, const QTextImageFormat& format) {
    return pictureImage(doc, QUrl(format.name()));
}

QImage placeholderImage(QSize size, const QString& label) {
    if (size.width() < 16 || size.height() < 16) size = QSize(qMax(size.width(), 16), qMax(size.height(), 16));
    // The picture is drawn scaled to the size it is shown at, so a large one
    // needs no more pixels: a file may ask for many of them, each of any size.
    if (size.width() > 512 || size.height() > 512) size.scale(512, 512, Qt::KeepAspectRatio);
    size = size.expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    if (!label.isEmpty()) {
        QFont font;
        font.setPixelSize(qBound(8, size.height() / 5, 14));
        painter.setFont(font);
        painter.drawText(QRect(2, 2, size.width() - 4, size.height() - 4),
                         Qt::AlignCenter | Qt::TextWordWrap, label);
    }
    return image;
}

void copyResources(const QTextDocument& from, QTextDocument& to) {
    for (QTextBlock b = from.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat()) continue;
            const QString name = f.toImageFormat().name();
            for (ResourceType type : {KeptPictureResource, ObjectDataResource, PictureSourceResource}) {
                const QVariant v = keptResource(from, type, name);
                if (v.isValid() && !v.isNull()) keepResource(to, type, name, v);
            }
            const QVariant shown = from.resource(QTextDocument::ImageResource, QUrl(name));
            if (shown.isValid() && !shown.isNull()) to.addResource(QTextDocument::ImageResource, QUrl(name), shown);
        }
    }
}

}  // namespace rtf

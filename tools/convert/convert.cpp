#include "tools/convert/convert.h"

#include "rtf/docmodel.h"
#include "rtf/plaintext.h"
#include "rtf/rtf.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>

namespace convert {

Format formatOf(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("rtf")) return Format::Rtf;
    if (ext == QLatin1String("txt")) return Format::Text;
    if (ext == QLatin1String("html") || ext == QLatin1String("htm")) return Format::Html;
    return Format::Unknown;
}

bool load(const QByteArray& bytes, Format format, QTextDocument& doc, QString* error) {
    switch (format) {
    case Format::Rtf:
        return rtf::read(bytes, doc, error);
    case Format::Text: {
        QString text;
        if (!rtf::decodeText(bytes, &text)) {
            *error = QStringLiteral("not a text file (it holds NUL bytes)");
            return false;
        }
        doc.setPlainText(text);
        return true;
    }
    case Format::Html:
        doc.setHtml(QString::fromUtf8(bytes));
        return true;
    case Format::Unknown:
        break;
    }
    *error = QStringLiteral("unknown format");
    return false;
}

namespace {

// A picture's bytes as a data address, so the HTML file stands on its own.
QString dataUrl(const QTextDocument& doc, const QTextImageFormat& f) {
    const QString source = f.stringProperty(rtf::PictureSourceProperty);
    QByteArray bytes = rtf::keptResource(doc, rtf::KeptPictureResource, f.name()).toByteArray();
    QByteArray mime = "image/png";
    if (!bytes.isEmpty() && source.startsWith(QLatin1String("\\jpegblip"))) {
        mime = "image/jpeg";
    } else if (bytes.isEmpty() || !source.startsWith(QLatin1String("\\pngblip"))) {
        const QImage image = rtf::pictureImage(doc, f);
        if (image.isNull()) return {};
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    return QStringLiteral("data:%1;base64,%2").arg(QLatin1String(mime), QLatin1String(bytes.toBase64()));
}

QByteArray html(const QTextDocument& doc) {
    QString out = doc.toHtml();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat()) continue;
            const QTextImageFormat image = f.toImageFormat();
            const QString url = dataUrl(doc, image);
            if (!url.isEmpty())
                out.replace(QStringLiteral("src=\"%1\"").arg(image.name().toHtmlEscaped()),
                            QStringLiteral("src=\"%1\"").arg(url));
        }
    }
    return out.toUtf8();
}

}  // namespace

QByteArray save(const QTextDocument& doc, Format format) {
    switch (format) {
    case Format::Rtf: return rtf::write(doc);
    case Format::Text: return rtf::encodeText(doc);
    case Format::Html: return html(doc);
    case Format::Unknown: break;
    }
    return {};
}

bool convertFile(const QString& in, const QString& out, QString* error) {
    const Format from = formatOf(in), to = formatOf(out);
    if (from == Format::Unknown) {
        *error = QStringLiteral("%1: unknown input format (use .rtf, .txt or .html)").arg(in);
        return false;
    }
    if (to == Format::Unknown) {
        *error = QStringLiteral("%1: unknown output format (use .rtf, .txt or .html)").arg(out);
        return false;
    }
    QFile file(in);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot open: %2").arg(in, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    QTextDocument doc;
    QString why;
    if (!load(bytes, from, doc, &why)) {
        *error = QStringLiteral("%1: cannot read: %2").arg(in, why);
        return false;
    }
    const QByteArray result = save(doc, to);
    QSaveFile target(out);
    if (!target.open(QIODevice::WriteOnly) || target.write(result) != result.size() || !target.commit()) {
        *error = QStringLiteral("%1: cannot write: %2").arg(out, target.errorString());
        return false;
    }
    return true;
}

}  // namespace convert

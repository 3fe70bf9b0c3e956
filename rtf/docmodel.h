#pragma once
// How the RTF codec keeps in a QTextDocument what Qt has no place for: the
// character set of a run, the first-line indent of list paragraphs, the
// original bytes of pictures and the data of embedded objects.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTextDocument>
#include <QTextFormat>

class QTextBlock;
class QTextCursor;

namespace rtf {

enum Property {
    // char format: Windows character set of the run's font (int, 0 = ANSI when missing)
    CharsetProperty = QTextFormat::UserProperty + 0x5200,
    // block format of a list paragraph: first-line offset from the other lines in
    // pixels (Qt lays list items out without a text indent)
    ListFirstOffsetProperty,
    // image format: the RTF words that describe the kept picture bytes, e.g. "\pngblip"
    PictureSourceProperty,
    // image format of an embedded object: its class name (QString); marks the image as an object
    ObjectClassProperty,
    // image format of an embedded object: true when it is linked rather than embedded
    ObjectLinkedProperty,
    // image format of an embedded object: further RTF words of the object (QString)
    ObjectSourceProperty,
    // image format of an embedded object: its name as shown under the icon (QString)
    ObjectNameProperty,
    // char format of a field result other than a link: the field instruction (QString)
    FieldInstructionProperty,
};

// Resource types in the document, keyed by the image format's name.
enum ResourceType {
    KeptPictureResource = QTextDocument::UserResource + 0x52,  // QByteArray: picture as stored
    ObjectDataResource,                                        // QByteArray: object data as stored
    PictureSourceResource,                                     // QString: PictureSourceProperty again
};

// QTextDocument keys its resources by name alone, whatever their type, so each
// kind kept for one picture lives under a name of its own derived from the picture's.
QVariant keptResource(const QTextDocument& doc, ResourceType type, const QString& name);
void keepResource(QTextDocument& doc, ResourceType type, const QString& name, const QVariant& value);

// 4 pixels per 3 points: indents and picture sizes live in the document in pixels.
constexpr qreal pixelsPerPoint = 4.0 / 3.0;
constexpr qreal pixelsPerTwip = pixelsPerPoint / 20.0;

// Paragraph indents in pixels: `first` is where the first line starts, from the left
// edge; `left` is where the other lines start, measured from the first line (may be
// negative); `right` is measured leftwards from the right edge.
//
// In Qt terms a plain paragraph has leftMargin = first + left (all lines) and
// textIndent = -left (first line only). A list paragraph keeps textIndent at 0, so
// that the bullet stands at the first line's start and the text of all lines lines
// up after it; its first-line offset lives in ListFirstOffsetProperty.
struct Indents {
    qreal first = 0;
    qreal left = 0;
    qreal right = 0;
};
Indents indents(const QTextBlockFormat& format, bool inList);
void setIndents(QTextBlockFormat& format, bool inList, const Indents& indents);
// Moves the first-line offset between textIndent and ListFirstOffsetProperty when a
// paragraph joins or leaves a list, so that its indents stay as they were.
void convertIndentsForList(QTextBlockFormat& format, bool nowInList);

// A fresh resource name for a picture or object, unique within the process.
QString newResourceName();

// Adds a picture from its stored bytes; `source` is "\pngblip", "\jpegblip" or the
// words of another kind. Returns the image format to insert (size in pixels).
QTextImageFormat addPicture(QTextDocument& doc, const QByteArray& bytes, const QString& source,
                            QSizeF displaySize = {});
// The picture a format shows, decoded from its kept bytes; a null image when it
// cannot be decoded (see placeholderImage).
QImage pictureImage(const QTextDocument& doc, const QTextImageFormat& format);
QImage pictureImage(const QTextDocument& doc, const QUrl& name);
// A stand-in drawn for a picture that cannot be decoded or an object without a picture.
QImage placeholderImage(QSize size, const QString& label);
// Decodes stored picture bytes of the given kind.
QImage decodePicture(const QByteArray& bytes, const QString& source);

// Copies the kept picture and object resources used by the formats of `from`'s
// content into `to` (after a fragment of one document was inserted into another).
void copyResources(const QTextDocument& from, QTextDocument& to);

}  // namespace rtf

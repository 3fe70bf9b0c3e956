#pragma once
// Conversion between RTF, plain text and HTML files, chosen by extension, through
// the RTF codec and the document model the editor uses.
#include <QByteArray>
#include <QString>

class QTextDocument;

namespace convert {

enum class Format { Unknown, Rtf, Text, Html };

// ".rtf", ".txt", ".htm" or ".html", in any letter case.
Format formatOf(const QString& path);

// Fills the document from bytes in the format; false with *error when they cannot be read.
bool load(const QByteArray& bytes, Format format, QTextDocument& doc, QString* error);
// The document in the format: text as UTF-8; HTML with its pictures inline.
QByteArray save(const QTextDocument& doc, Format format);

// Converts the file `in` into the file `out`; false with *error (naming the file) on failure.
bool convertFile(const QString& in, const QString& out, QString* error);

}  // namespace convert

#pragma once
// Plain-text files, as the editor, the import and export commands and the converter read and write them.
#include <QByteArray>
#include <QString>

class QTextDocument;

namespace rtf {

// Decodes the bytes of a text file: UTF-16 or UTF-8 when a byte-order mark says so,
// UTF-8 when the bytes are valid UTF-8, otherwise the given ANSI code page (the
// user's, by default). Lines come out separated by "\n". False for data that is
// not text (it holds NUL bytes).
bool decodeText(const QByteArray& bytes, QString* text, int ansiCodePage = -1);
// The document's text, one paragraph per line (line breaks within a paragraph too),
// lines ended by CR LF, without pictures and objects, as UTF-8.
QByteArray encodeText(const QTextDocument& doc);
// The document's text as encodeText gives it, before encoding.
QString plainText(const QTextDocument& doc);

}  // namespace rtf

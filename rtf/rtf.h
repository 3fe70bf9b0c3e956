#pragma once
// The RTF reader and writer over QTextDocument, shared by the editor control,
// the import and export commands and the command-line converter.
#include <QByteArray>
#include <QColor>
#include <QString>

class QTextDocument;

namespace rtf {

// True when the data begins (after white space or a UTF-8 byte-order mark) with "{\rtf".
bool isRtf(const QByteArray& data);

// What a read met that the reader worked around; the content is loaded either way.
struct ReadReport {
    bool truncated = false;        // the input ended inside open groups
    bool unbalanced = false;       // a "}" without a matching "{" was ignored
    bool flattened = false;        // groups nested deeper than the limit were flattened
    int keptUnshownPictures = 0;   // pictures that cannot be decoded, kept as placeholders
};

// Replaces the document's content by the RTF document. Returns false, leaving the
// document untouched and *error set, when the data is not RTF. Malformed RTF loads
// as much as it can. The document's undo history starts anew.
bool read(const QByteArray& data, QTextDocument& doc, QString* error = nullptr,
          ReadReport* report = nullptr);

struct WriteOptions {
    // Colour of text that has no colour of its own; invalid means "automatic".
    QColor defaultColour;
};

// The whole document as an RTF document.
QByteArray write(const QTextDocument& doc, const WriteOptions& options = {});

}  // namespace rtf

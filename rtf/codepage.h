#pragma once
// Windows code pages and character sets, as RTF names them.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <memory>
#include <unordered_map>

namespace rtf {

// The code page of a font's \fcharset; -1 when the charset says nothing of its own
// (ANSI default, "default charset"), so the document's code page applies.
int codePageForCharset(int charset);
// The \fcharset that matches a code page (0 for 1252 and unknown pages).
int charsetForCodePage(int codePage);
bool isDoubleByteCodePage(int codePage);
// The ANSI code page of the user's locale, as Windows would choose it.
int systemAnsiCodePage();

// Decodes bytes of Windows code pages; one per reader, it caches a table for every
// single-byte page it met and a decoder for double-byte ones.
class CodePageDecoder {
public:
    // Appends the decoded bytes to `out`.
    void decode(int codePage, QByteArrayView bytes, QString& out);
    // One byte of a single-byte page (the byte itself for an unknown page).
    char16_t decodeByte(int codePage, unsigned char byte);

private:
    struct Page {
        bool doubleByte = false;
        std::array<char16_t, 256> table{};
        std::unique_ptr<QStringDecoder> decoder;
    };
    Page& page(int codePage);
    std::unordered_map<int, Page> pages_;
    int lastCodePage_ = -2;
    Page* last_ = nullptr;
};

// Encodes text into a Windows code page; nullopt-like empty result with ok=false
// when a character has no byte sequence there.
QByteArray encodeCodePage(int codePage, const QString& text, bool* ok);
// The byte of a character in code page 1252, or 0 when it has none.
unsigned char toWindows1252(char16_t c);

}  // namespace rtf

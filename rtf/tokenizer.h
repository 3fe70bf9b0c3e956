#pragma once
// Splits RTF input into groups, control words, control symbols, text and binary data.
#include <QByteArrayView>
#include <cstdint>
#include <string_view>

namespace rtf {

struct Token {
    enum Type { End, GroupOpen, GroupClose, ControlWord, ControlSymbol, HexByte, Text, Binary };
    Type type = End;
    std::string_view word;   // ControlWord: the letters; Text/Binary: the bytes
    int param = 0;           // ControlWord: the parameter; HexByte: the byte; ControlSymbol: the character
    bool hasParam = false;
};

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView input)
        : p_(input.data()), begin_(input.data()), end_(input.data() + input.size()) {}

    Token next();
    // After a \binN word: the next N bytes (bounded by what is left) as one Binary token.
    Token binary(long long count);
    qsizetype offset() const { return p_ - begin_; }
    // True when nothing but white space and NULs is left.
    bool onlyBlankLeft() const;

private:
    const char* p_;
    const char* begin_;
    const char* end_;
};

}  // namespace rtf

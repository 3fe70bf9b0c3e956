#include "rtf/tokenizer.h"

#include <climits>

namespace rtf {
namespace {

inline bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Control words are at most 32 letters; longer runs are read but cut.
constexpr std::size_t maxWordLength = 32;

}  // namespace

Token Tokenizer::next() {
    Token t;
    while (p_ < end_) {
        const char c = *p_;
        if (c == '\r' || c == '\n' || c == '\0') {
            ++p_;
            continue;
        }
        if (c == '{') {
            ++p_;
            t.type = Token::GroupOpen;
            return t;
        }
        if (c == '}') {
            ++p_;
            t.type = Token::GroupClose;
            return t;
        }
        if (c != '\\') {
            const char* start = p_;
            while (p_ < end_) {
                const char d = *p_;
                if (d == '\\' || d == '{' || d == '}' || d == '\r' || d == '\n' || d == '\0') break;
                ++p_;
            }
            t.type = Token::Text;
            t.word = std::string_view(start, std::size_t(p_ - start));
            return t;
        }
        // A backslash.
        ++p_;
        if (p_ >= end_) {
            t.type = Token::End;
            return t;
        }
        const char s = *p_;
        if (isLetter(s)) {
            const char* start = p_;
            while (p_ < end_ && isLetter(*p_)) ++p_;
            std::size_t len = std::size_t(p_ - start);
            if (len > maxWordLength) len = maxWordLength;
            t.type = Token::ControlWord;
            t.word = std::string_view(start, len);
            if (p_ < end_ && (*p_ == '-' || isDigit(*p_))) {
                bool negative = false;
                if (*p_ == '-') {
                    negative = true;
                    ++p_;
                }
                long long value = 0;
                bool any = false;
                while (p_ < end_ && isDigit(*p_)) {
                    any = true;
                    if (value < INT_MAX) value = value * 10 + (*p_ - '0');
                    ++p_;
                }
                if (value > INT_MAX) value = INT_MAX;
                t.hasParam = any;
                t.param = int(negative ? -value : value);
            }
            if (p_ < end_ && *p_ == ' ') ++p_;  // the delimiting space belongs to the word
            return t;
        }
        if (s == '\'') {
            ++p_;
            int hi = p_ < end_ ? hexValue(*p_) : -1;
            if (hi < 0) {  // "\'" without digits: nothing to decode
                continue;
            }
            ++p_;
            int lo = p_ < end_ ? hexValue(*p_) : -1;
            int value = hi;
            if (lo >= 0) {
                ++p_;
                value = hi * 16 + lo;
            }
            t.type = Token::HexByte;
            t.param = value;
            return t;
        }
        if (s == '\r' || s == '\n') {  // "\" before a line break is a paragraph mark
            ++p_;
            t.type = Token::ControlWord;
            t.word = "par";
            return t;
        }
        ++p_;
        t.type = Token::ControlSymbol;
        t.param = static_cast<unsigned char>(s);
        return t;
    }
    t.type = Token::End;
    return t;
}

Token Tokenizer::binary(long long count) {
    Token t;
    t.type = Token::Binary;
    if (count < 0) count = 0;
    const long long left = end_ - p_;
    if (count > left) count = left;
    t.word = std::string_view(p_, std::size_t(count));
    p_ += count;
    return t;
}

bool Tokenizer::onlyBlankLeft() const {
    for (const char* q = p_; q < end_; ++q) {
        if (*q != ' ' && *q != '\r' && *q != '\n' && *q != '\t' && *q != '\0') return false;
    }
    return true;
}

}  // namespace rtf

#include "ModTOC.h"

#include <array>
#include <stdexcept>

namespace ModTOC {

namespace {
// The roasting string the TOC protocol publishes, "Tic/Toc", as character codes.
constexpr std::array<unsigned char, 7> kRoastKey{84, 105, 99, 47, 84, 111, 99};

constexpr bool isSpecial(char c)
{
    switch (c) {
    case '"': case '\\': case '[': case ']': case '{': case '}': case '(': case ')':
        return true;
    default:
        return false;
    }
}
} // namespace

QByteArray RoastPassword(QByteArrayView password)
{
    static const char hex[] = "0123456789abcdef";
    QByteArray out;
    out.reserve(2 + 2 * password.size());
    out += "0x";
    for (qsizetype i = 0; i < password.size(); ++i) {
        const unsigned v = static_cast<unsigned char>(password[i]) ^ kRoastKey[i % kRoastKey.size()];
        out += hex[v >> 4];
        out += hex[v & 15];
    }
    return out;
}

QByteArray EncodeWord(std::int32_t n)
{
    if (n < 0 || n > 0xFFFF)
        throw std::invalid_argument("EncodeWord: value outside 0..65535");
    const char bytes[2] = {static_cast<char>(n >> 8), static_cast<char>(n & 0xFF)};
    return QByteArray(bytes, 2);
}

std::int32_t DecodeWord(QByteArrayView s)
{
    const auto byteAt = [&](qsizetype i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
    return static_cast<std::int32_t>(byteAt(0) * 256 + byteAt(1));
}

QByteArray EscapeText(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (char c : text) {
        if (isSpecial(c))
            out += '\\';
        out += c;
    }
    return out;
}

QByteArray QuoteArg(QByteArrayView value)
{
    QByteArray out;
    out.reserve(value.size() + 2);
    out += '"';
    out += value;
    out += '"';
    return out;
}

QByteArray QuoteArg(std::int64_t number)
{
    return QuoteArg(QByteArray::number(static_cast<qlonglong>(number)));
}

QByteArray NormalizeName(QByteArrayView value)
{
    QByteArray out;
    out.reserve(value.size());
    for (char c : value) {
        if (c == ' ')
            continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

} // namespace ModTOC

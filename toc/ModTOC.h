#pragma once
// Text helpers of the TOC2 protocol. Every string here is a byte string: one byte per
// character, the character code being the byte value.
#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace ModTOC {

/// The password as the login line carries it: "0x" and two lower-case hex digits per byte,
/// each byte XOR the cycled roasting string.
QByteArray RoastPassword(QByteArrayView password);

/// Two bytes, most significant first. Throws std::invalid_argument when n is not 0..65535.
QByteArray EncodeWord(std::int32_t n);

/// The first two bytes as a big-endian number; a missing byte counts as 0.
std::int32_t DecodeWord(QByteArrayView s);

/// A backslash before every " \ [ ] { } ( ).
QByteArray EscapeText(QByteArrayView text);

/// The value between two double quotes; nothing inside is escaped.
QByteArray QuoteArg(QByteArrayView value);
QByteArray QuoteArg(std::int64_t number);

/// Blanks removed, lower case (ASCII letters only; other bytes stay as they are).
QByteArray NormalizeName(QByteArrayView value);

} // namespace ModTOC

#pragma once
// Readable GoogleTest output for Qt value types.
#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* os)
{
    *os << '"';
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7f && c != '\\' && c != '"') {
            *os << c;
        } else {
            static const char hex[] = "0123456789ABCDEF";
            *os << "\\x" << hex[c >> 4] << hex[c & 15];
        }
    }
    *os << '"';
}

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

#include "TocArgs.h"

// line   = *blank word *( 1*blank arg ) *blank
// arg    = quoted / bare
// quoted = '"' *( '\' any-byte / any-byte-but-quote-or-backslash ) '"'   ; then a blank or the end
// bare   = 1*( any-byte-but-blank )                                       ; backslashes are literal
// A blank is the space character only.
std::optional<QByteArrayList> splitTocArgs(QByteArrayView line)
{
    QByteArrayList words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (;;) {
        while (i < n && line[i] == ' ')
            ++i;
        if (i == n)
            return words;
        QByteArray word;
        if (line[i] == '"') {
            ++i;
            for (;;) {
                // What lies before the next quote or backslash goes in whole.
                qsizetype end = i;
                while (end < n && line[end] != '"' && line[end] != '\\')
                    ++end;
                word += line.sliced(i, end - i);
                i = end;
                if (i == n)
                    return std::nullopt; // no closing quote
                if (line[i++] == '"')
                    break;
                if (i == n)
                    return std::nullopt;
                word += line[i++];       // the byte after a backslash, whatever it is
            }
            if (i < n && line[i] != ' ')
                return std::nullopt; // "abc"def is neither one argument nor two
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != ' ')
                ++i;
            word = line.sliced(start, i - start).toByteArray();
        }
        words << word;
    }
}

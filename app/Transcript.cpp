#include "Transcript.h"

#include "ModTOC.h"
#include "Texts.h"

#include <QDateTime>

#include <array>
#include <utility>

namespace Transcript {

Time now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

namespace {


// The markup clients wrap chat and instant messages in. Anything else between < and > is text
// someone typed and stays.
bool isMarkup(QStringView tag)
{
    static const std::array<const char*, 19> kTags{"html", "body", "font", "b", "i", "u", "s", "br", "p", "a",
                                                   "span", "sup", "sub", "em", "strong", "div", "hr", "img", "pre"};
    if (tag.startsWith(QLatin1Char('/')))
        tag = tag.mid(1);
    qsizetype end = 0;
    while (end < tag.size() && tag[end].isLetter())
        ++end;
    if (end == 0 || (end < tag.size() && !tag[end].isSpace() && tag[end] != QLatin1Char('/')))
        return false;
    for (const char* known : kTags)
        if (tag.left(end).compare(QLatin1String(known), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The character a reference such as "amp", "#60" or "#x3C" stands for, or none.
std::optional<char32_t> entity(QStringView name)
{
    static const std::array<std::pair<const char*, char32_t>, 6> kNamed{
        {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}}};
    for (const auto& [text, c] : kNamed)
        if (name == QLatin1String(text))
            return c;
    if (name.size() < 2 || name[0] != QLatin1Char('#'))
        return std::nullopt;
    bool ok = false;
    const bool hex = name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X');
    const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return std::nullopt;
    return char32_t(code);
}

} // namespace

std::optional<Reason> reasonFrom(int stored)
{
    if (stored < int(Reason::Disconnect) || stored > int(Reason::Unrecorded))
        return std::nullopt;
    return Reason(stored);
}

// The texts stand in the order of the reasons.
static_assert(int(Text::ReasonUnrecorded) - int(Text::ReasonDisconnect)
              == int(Reason::Unrecorded) - int(Reason::Disconnect));

QString reasonText(Reason reason)
{
    if (!reasonFrom(int(reason)))
        reason = Reason::Unrecorded;
    return Texts::get(Text(int(Text::ReasonDisconnect) + int(reason) - int(Reason::Disconnect)));
}

QByteArray normalised(const QByteArray& name)
{
    return ModTOC::NormalizeName(name);
}

QByteArray RoomRef::key() const
{
    return normalised(name);
}

bool RoomRef::sameRoom(const RoomRef& other) const
{
    return account == other.account && exchange == other.exchange && key() == other.key();
}

QString shownName(const QByteArray& name)
{
    return Texts::oneLine(QString::fromUtf8(name));
}

QString shownText(const QByteArray& text)
{
    const QString in = QString::fromUtf8(text);
    QString out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const QChar c = in[i];
        if (c == QLatin1Char('<')) {
            const qsizetype close = in.indexOf(QLatin1Char('>'), i + 1);
            if (close > 0 && isMarkup(QStringView(in).mid(i + 1, close - i - 1))) {
                const QStringView tag = QStringView(in).mid(i + 1, 2);
                if (tag.compare(QLatin1String("br"), Qt::CaseInsensitive) == 0 && !out.endsWith(QLatin1Char(' ')))
                    out += QLatin1Char(' ');
                i = close;
                continue;
            }
        } else if (c == QLatin1Char('&')) {
            const qsizetype semi = in.indexOf(QLatin1Char(';'), i + 1);
            if (semi > 0 && semi - i <= 10) {
                if (const auto code = entity(QStringView(in).mid(i + 1, semi - i - 1))) {
                    out += QString::fromUcs4(&*code, 1);
                    i = semi;
                    continue;
                }
            }
        }
        out += c;
    }
    return Texts::oneLine(out).trimmed();
}

QString localIso(Time at)
{
    return QDateTime::fromMSecsSinceEpoch(at).toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

} // namespace Transcript

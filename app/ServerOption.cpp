#include "ServerOption.h"

#include <limits>

std::optional<ServerAddress> parseServerOption(const QString& text, quint16 defaultPort)
{
    QString host = text.trimmed();
    QString port;
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        const QString rest = host.sliced(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return std::nullopt;
        port = rest.isEmpty() ? QString() : rest.sliced(1);
        if (rest == QLatin1String(":"))
            return std::nullopt;
        host = host.sliced(1, close - 1);
    } else if (host.count(QLatin1Char(':')) == 1) {
        // One colon separates the port; more than one is a bare IPv6 address without a port.
        const qsizetype colon = host.indexOf(QLatin1Char(':'));
        port = host.sliced(colon + 1);
        host.truncate(colon);
        if (port.isEmpty())
            return std::nullopt;
    }
    if (host.isEmpty())
        return std::nullopt;
    if (port.isEmpty())
        return ServerAddress{host, defaultPort};
    bool ok = false;
    const uint number = port.toUInt(&ok);
    if (!ok || number == 0 || number > 65535)
        return std::nullopt;
    return ServerAddress{host, static_cast<quint16>(number)};
}

std::optional<Presence::Room> parseJoinOption(const QString& text)
{
    QString room = text;
    std::int16_t exchange = kJoinExchange;
    if (const qsizetype colon = text.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        bool ok = false;
        const int number = text.sliced(colon + 1).toInt(&ok);
        if (!ok || number < 0 || number > std::numeric_limits<std::int16_t>::max())
            return std::nullopt;
        exchange = static_cast<std::int16_t>(number);
        room.truncate(colon);
    }
    if (room.trimmed().isEmpty())
        return std::nullopt;
    return Presence::Room{room, exchange};
}

#pragma once
// The values the presence core, its QObject, the room list and the settings share.
#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

inline constexpr std::int16_t kDefaultExchange = 5;

/// A room to be in, as the user named it.
struct Room {
    QString name;
    std::int16_t exchange = 4;
    /// Rooms that are the same to the server (name without blanks, any case; same exchange) share it.
    QString key() const;
    /// "name:exchange", as the log names a room.
    QString label() const { return name + QLatin1Char(':') + QString::number(exchange); }
    bool operator==(const Room&) const = default;
};

/// A TOC server to sign on to.
struct ServerAddress {
    QString host;
    quint16 port = 0;
    /// "host:port", an IPv6 address in brackets ("[::1]:5190"), as --server takes it.
    QString text() const
    {
        const QString h = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
        return h + QLatin1Char(':') + QString::number(port);
    }
    bool operator==(const ServerAddress&) const = default;
};

/// The server chosen when the program was built.
ServerAddress defaultServer();

/// What is kept between runs. The password is not: it lives in the keychain, if anywhere.
struct RememberedSettings {
    std::optional<ServerAddress> server; // none chosen: the build's
    QString screenName;
    std::int16_t exchange = kDefaultExchange; // the exchange of the last join
    QList<Room> rooms;                        // the rooms to be in
    bool staySignedOn = true;
    bool rememberPassword = false;
};

/// A row of the room list: a room the server confirmed, as it named it, with the id it gave.
struct RoomRow {
    QByteArray name;
    std::int32_t id = 0;
    QString key; // the room asked for (Room::key), empty for one nobody asked for
    /// The exchange asked for; for a room nobody asked for, the exchange of the last join.
    std::int16_t exchange = 0;
    /// "NAME:ID", as the list shows it.
    QString text() const { return QString::fromUtf8(name) + QLatin1Char(':') + QString::number(id); }
    bool operator==(const RoomRow&) const = default;
};

/// The core's timers.
enum class PresenceTimerId {
    Retry,       // the wait before signing on again
    Decide,      // runs once the events of an ended connection are through
    Quiet,       // silence from the server
    Answer,      // the server's time to answer our question
    RejoinLimit, // the rooms' time to confirm their rejoin
    Young,       // a sign-on less than a minute old
    Settled,     // a sign-on two minutes old starts the count of waits again
    UnlockLimit, // how long a locked keychain is waited for, where there is a limit
};
inline constexpr int kPresenceTimerCount = int(PresenceTimerId::UnlockLimit) + 1;

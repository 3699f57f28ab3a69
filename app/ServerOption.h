#pragma once
// Values of the command line. --server: "HOST" or "HOST:PORT"; an IPv6 address with a port goes in
// brackets ("[::1]:5190"). --join: "ROOM" or "ROOM:EXCHANGE".
#include "Presence.h"

#include <QString>

#include <optional>

/// Splits text into host and port (defaultPort when none is given); nullopt for an empty host or a port
/// that is not a number from 1 to 65535.
std::optional<ServerAddress> parseServerOption(const QString& text, quint16 defaultPort);

/// The exchange --join takes when none is given: the one where rooms are made on demand.
inline constexpr std::int16_t kJoinExchange = 4;

/// Splits text into room and exchange (kJoinExchange when none is given); nullopt for an empty room
/// or an exchange that is not a whole number from 0 to 32767.
std::optional<Presence::Room> parseJoinOption(const QString& text);

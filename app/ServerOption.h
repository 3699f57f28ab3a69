#pragma once
// The --server option: "HOST" or "HOST:PORT"; an IPv6 address with a port goes in brackets ("[::1]:5190").
#include <QString>

#include <optional>

struct ServerAddress {
    QString host;
    quint16 port = 0;
};

/// Splits text into host and port (defaultPort when none is given); nullopt for an empty host or a port
/// that is not a number from 1 to 65535.
std::optional<ServerAddress> parseServerOption(const QString& text, quint16 defaultPort);

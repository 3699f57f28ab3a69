#pragma once
// Playing the server's part on a scripted socket.
#include "FakeTocSocket.h"

#include <QByteArrayList>

#include <utility>

/// The command lines sent since the last call (frame header and zero byte taken off).
inline QByteArrayList takeCommandLines(FakeTocSocket& net)
{
    QByteArrayList lines;
    for (const QByteArray& frame : std::exchange(net.sent, {}))
        if (frame.size() > 6 && frame[1] == 2)
            lines << frame.mid(6).chopped(1);
    return lines;
}

/// One server message in a data frame.
inline void serverSays(FakeTocSocket& net, const QByteArray& payload)
{
    net.deliver(flapFrame(2, payload));
}

/// Opens the connection a Login started and accepts the sign-on; forgets what the client sent.
inline void acceptSignOn(FakeTocSocket& net)
{
    net.open();
    serverSays(net, "SIGN_ON:TOC2.0");
    serverSays(net, "CONFIG2:done:");
    takeCommandLines(net);
}

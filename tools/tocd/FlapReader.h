#pragma once
// The server's side of the FLAP layer: the "FLAPON" handshake, then whole frames out of a byte
// stream. It trusts nothing: anything that is not the handshake or a well-formed frame within
// the size limit is a violation, after which the reader stays failed.
#include "TocSocket.h"

#include <QByteArray>
#include <QString>

class FlapReader
{
public:
    static constexpr qsizetype kMaxPayload = 8192;

    struct Event {
        enum Kind { NeedMore, Handshake, Frame, Violation } kind = NeedMore;
        int type = 0;       // Frame: the frame type
        QByteArray payload; // Frame: the payload
        QString reason;     // Violation: what was wrong
    };

    /// Appends received bytes; call next() until it says NeedMore.
    void feed(QByteArrayView bytes) { m_buffer.append(bytes); }
    /// The next handshake, frame or violation, or NeedMore when the buffer holds no more.
    Event next();

private:
    Event fail(QString reason);

    TocReceiveBuffer m_buffer;
    bool m_handshakeDone = false;
    bool m_failed = false;
};

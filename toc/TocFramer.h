#pragma once
// FLAP framing: bytes in, whole frames out. A frame is "*", its type, a 16-bit sequence number,
// a 16-bit payload length (both most significant byte first) and the payload.
//
// The client reads leniently, as the server's stream decides: the marker byte is not checked and
// the length field alone says where a frame ends. A server reads strictly: the "FLAPON" handshake
// first, then frames with the right marker and no larger than kServerMaxPayload; anything else is
// a violation, after which the framer stays failed.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

/// FLAP frame types. Data frames carry the protocol's text lines; a client reading leniently also
/// meets others (any byte) and passes them on.
enum class FrameType : quint8 {
    SignOn = 1,
    Data = 2,
    Error = 3,
    SignOff = 4,
    KeepAlive = 5,
};

class TocFramer
{
public:
    enum class Mode { Client, Server };
    enum class Next { NeedMore, Handshake, Frame, Violation };

    /// What a client sends right after connecting; not a frame.
    static constexpr QByteArrayView kHandshake{"FLAPON\r\n\r\n"};
    static constexpr qsizetype kHeaderSize = 6;
    static constexpr qsizetype kServerMaxPayload = 8192;

    struct Frame {
        int type = 0;
        quint16 sequence = 0;
        QByteArray payload;
        bool is(FrameType t) const { return type == int(t); }
    };

    /// One whole frame: the header for type, sequence and the payload's length, then the payload.
    /// The caller keeps type within 0..255 and the payload within 65535 bytes.
    static QByteArray encode(int type, quint16 sequence, QByteArrayView payload);
    static QByteArray encode(FrameType type, quint16 sequence, QByteArrayView payload)
    {
        return encode(int(type), sequence, payload);
    }

    explicit TocFramer(Mode mode = Mode::Client)
        : m_mode(mode)
    {
    }

    /// Appends received bytes. The array is shared, not copied; the framer lets go of it once
    /// next() has said NeedMore, keeping a copy of an incomplete frame's bytes only.
    void feed(const QByteArray& bytes);
    /// The next frame (written into frame, whose payload becomes a value of its own), the
    /// handshake (server mode), a violation (server mode; see violation()), or NeedMore.
    Next next(Frame& frame);
    /// Forgets everything buffered, and a violation: as after a new connection.
    void clear();

    /// Why the framer failed; empty while it has not.
    const QString& violation() const { return m_violation; }
    /// Bytes received and not yet taken as frames.
    qsizetype buffered() const { return m_carry.size() + m_data.size() - m_pos; }

private:
    bool fill(qsizetype size);
    Next fail(QString reason);

    Mode m_mode;
    QByteArray m_data;  // the latest bytes fed, shared with the caller
    qsizetype m_pos = 0; // bytes of m_data before this are taken
    QByteArray m_carry; // the start of a frame (or handshake) that m_data did not hold whole
    bool m_handshakeDone = false;
    QString m_violation;
};

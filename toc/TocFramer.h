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
    };

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

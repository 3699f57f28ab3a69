#include "TocFramer.h"

#include <algorithm>
#include <cstring>

namespace {
int byteAt(const char* p, qsizetype i)
{
    return static_cast<unsigned char>(p[i]);
}
int wordAt(const char* p, qsizetype i)
{
    return byteAt(p, i) << 8 | byteAt(p, i + 1);
}
} // namespace

QByteArray TocFramer::encode(int type, quint16 sequence, QByteArrayView payload)
{
    Q_ASSERT(type >= 0 && type <= 255 && payload.size() <= 0xFFFF);
    QByteArray frame;
    frame.reserve(kHeaderSize + payload.size());
    frame += '*';
    frame += static_cast<char>(type);
    frame += static_cast<char>(sequence >> 8);
    frame += static_cast<char>(sequence & 0xFF);
    frame += static_cast<char>(payload.size() >> 8);
    frame += static_cast<char>(payload.size() & 0xFF);
    frame += payload;
    return frame;
}

void TocFramer::feed(const QByteArray& bytes)
{
    if (!m_violation.isEmpty() || bytes.isEmpty())
        return;
    if (m_pos == m_data.size()) {
        m_data = bytes;
    } else {
        // Fed again before the last bytes were taken: the two must follow each other.
        QByteArray rest = m_data.sliced(m_pos);
        m_data = std::move(rest) + bytes;
    }
    m_pos = 0;
}

void TocFramer::clear()
{
    m_data.clear();
    m_pos = 0;
    m_carry.clear();
    m_handshakeDone = false;
    m_violation.clear();
}

// Moves bytes from the latest feed into the carry until it holds size bytes; false when they ran
// out first.
bool TocFramer::fill(qsizetype size)
{
    const qsizetype n = std::min(size - m_carry.size(), m_data.size() - m_pos);
    if (n > 0) {
        m_carry.append(m_data.constData() + m_pos, n);
        m_pos += n;
    }
    if (m_pos == m_data.size()) {
        m_data.clear(); // let go of the caller's bytes
        m_pos = 0;
    }
    return m_carry.size() >= size;
}

TocFramer::Next TocFramer::fail(QString reason)
{
    m_violation = std::move(reason);
    m_data.clear();
    m_pos = 0;
    m_carry.clear();
    return Next::Violation;
}

TocFramer::Next TocFramer::next(Frame& frame)
{
    if (!m_violation.isEmpty())
        return Next::NeedMore;
    const bool strict = m_mode == Mode::Server;

    // The handshake is compared as it comes, so garbage is refused at its first byte.
    if (strict && !m_handshakeDone) {
        const bool whole = fill(kHandshake.size());
        if (QByteArrayView(m_carry) != kHandshake.first(m_carry.size()))
            return fail(QStringLiteral("garbage before FLAPON"));
        if (!whole)
            return Next::NeedMore;
        m_carry.clear();
        m_handshakeDone = true;
        return Next::Handshake;
    }

    // The common case: a whole frame in the latest bytes, its payload copied out once.
    const qsizetype available = m_data.size() - m_pos;
    if (m_carry.isEmpty() && available >= kHeaderSize) {
        const char* p = m_data.constData() + m_pos;
        const qsizetype length = wordAt(p, 4);
        if (available >= kHeaderSize + length && (!strict || (p[0] == '*' && length <= kServerMaxPayload))) {
            frame.type = byteAt(p, 1);
            frame.sequence = static_cast<quint16>(wordAt(p, 2));
            // Reuses the payload's storage unless someone still holds the previous one.
            if (frame.payload.isDetached()) {
                frame.payload.resize(length);
                std::memcpy(frame.payload.data(), p + kHeaderSize, std::size_t(length));
            } else {
                frame.payload = QByteArray(p + kHeaderSize, length);
            }
            m_pos += kHeaderSize + length;
            return Next::Frame;
        }
    }

    // A frame cut across feeds is gathered in the carry.
    const bool header = fill(kHeaderSize);
    if (strict && !m_carry.isEmpty() && m_carry[0] != '*')
        return fail(QStringLiteral("bad frame marker 0x%1").arg(byteAt(m_carry.constData(), 0), 2, 16, QLatin1Char('0')));
    if (!header)
        return Next::NeedMore;
    const qsizetype length = wordAt(m_carry.constData(), 4);
    if (strict && length > kServerMaxPayload)
        return fail(QStringLiteral("frame of %1 bytes is over the %2-byte limit").arg(length).arg(kServerMaxPayload));
    if (!fill(kHeaderSize + length))
        return Next::NeedMore;
    frame.type = byteAt(m_carry.constData(), 1);
    frame.sequence = static_cast<quint16>(wordAt(m_carry.constData(), 2));
    frame.payload = m_carry.sliced(kHeaderSize);
    m_carry.clear();
    return Next::Frame;
}

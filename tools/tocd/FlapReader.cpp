#include "FlapReader.h"

#include "ModTOC.h"

namespace {
constexpr QByteArrayView kHandshake("FLAPON\r\n\r\n");
constexpr qsizetype kHeaderSize = 6;
} // namespace

FlapReader::Event FlapReader::fail(QString reason)
{
    m_failed = true;
    m_buffer.clear();
    return {Event::Violation, 0, {}, std::move(reason)};
}

FlapReader::Event FlapReader::next()
{
    if (m_failed)
        return {};
    const QByteArrayView buffered = m_buffer.view();

    // Compare what has come so far, so garbage is refused at its first byte rather than after ten.
    if (!m_handshakeDone) {
        const qsizetype n = std::min(buffered.size(), kHandshake.size());
        if (buffered.first(n) != kHandshake.first(n))
            return fail(QStringLiteral("garbage before FLAPON"));
        if (n < kHandshake.size())
            return {};
        m_buffer.take(kHandshake.size());
        m_handshakeDone = true;
        return {Event::Handshake, 0, {}, {}};
    }

    if (buffered.isEmpty())
        return {};
    if (buffered[0] != '*')
        return fail(QStringLiteral("bad frame marker 0x%1").arg(static_cast<unsigned char>(buffered[0]), 2, 16,
                                                                  QLatin1Char('0')));
    if (buffered.size() < kHeaderSize)
        return {};
    const qsizetype length = ModTOC::DecodeWord(buffered.sliced(4, 2));
    if (length > kMaxPayload)
        return fail(QStringLiteral("frame of %1 bytes is over the %2-byte limit").arg(length).arg(kMaxPayload));
    if (buffered.size() < kHeaderSize + length)
        return {};
    const int type = static_cast<unsigned char>(buffered[1]);
    const QByteArray frame = m_buffer.take(kHeaderSize + length);
    return {Event::Frame, type, frame.sliced(kHeaderSize), {}};
}

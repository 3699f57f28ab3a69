// Arbitrary bytes through the framer, in both readings, cut where the input says, and every
// frame's payload through the parser. Whatever comes, the framer must account for every byte and
// the parser must give a value; sanitizers watch the rest.
#include "TocFramer.h"
#include "TocParser.h"

#include <cstdint>
#include <cstdlib>

namespace {

void frameAll(const QByteArray& input, TocFramer::Mode mode)
{
    TocFramer framer(mode);
    TocFramer::Frame frame;
    qsizetype fed = 0, taken = 0;
    // The first byte sets the piece size, so the seed corpus can stay plain FLAP streams.
    const qsizetype piece = input.isEmpty() ? 1 : 1 + static_cast<unsigned char>(input[0]) % 64;
    for (qsizetype at = 0; at < input.size(); at += piece) {
        const QByteArray bytes = input.mid(at, piece);
        framer.feed(bytes);
        fed += bytes.size();
        for (;;) {
            const TocFramer::Next next = framer.next(frame);
            if (next == TocFramer::Next::Frame) {
                taken += TocFramer::kHeaderSize + frame.payload.size();
                TocParser::parse(frame.payload);
            } else if (next == TocFramer::Next::Handshake) {
                taken += TocFramer::kHandshake.size();
            } else {
                break;
            }
        }
        if (framer.violation().isEmpty() && taken + framer.buffered() != fed)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    frameAll(input, TocFramer::Mode::Client);
    frameAll(input, TocFramer::Mode::Server);
    TocParser::parse(input);
    return 0;
}

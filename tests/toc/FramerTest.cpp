// FLAP frames out of a byte stream, in the client's reading and in the server's.
#include "FakeTocSocket.h"
#include "TocFramer.h"
#include "printers.h"

#include <gtest/gtest.h>

namespace {

using Frames = std::vector<std::pair<int, QByteArray>>;

// What a server sends, cut into pieces of every size from one byte to all of it.
TEST(Framer, GivesTheSameFramesUnderEverySplit)
{
    const QByteArray stream = flapFrame(2, "SIGN_ON:TOC2.0", 7) + flapFrame(5, QByteArray()) +
                              flapFrame(2, "NICK:Tarn Wick", 65535) + flapFrame(9, QByteArray(300, 'z'));
    const Frames expected{{2, "SIGN_ON:TOC2.0"}, {5, ""}, {2, "NICK:Tarn Wick"}, {9, QByteArray(300, 'z')}};

    for (int piece = 1; piece <= stream.size(); ++piece) {
        TocFramer framer;
        TocFramer::Frame frame;
        Frames got;
        std::vector<int> sequences;
        for (qsizetype at = 0; at < stream.size(); at += piece) {
            framer.feed(stream.mid(at, piece));
            while (framer.next(frame) == TocFramer::Next::Frame) {
                got.emplace_back(frame.type, frame.payload);
                sequences.push_back(frame.sequence);
            }
        }
        EXPECT_EQ(got, expected) << "pieces of " << piece << " bytes";
        EXPECT_EQ(sequences, (std::vector<int>{7, 0, 65535, 0}));
        EXPECT_EQ(framer.buffered(), 0);
    }
}

// A frame taken out is a value of its own: the next frame does not write into one still held.
TEST(Framer, APayloadHeldOnStaysAsItWas)
{
    TocFramer framer;
    TocFramer::Frame frame;
    framer.feed(flapFrame(2, "first") + flapFrame(2, "other"));
    ASSERT_EQ(framer.next(frame), TocFramer::Next::Frame);
    const QByteArray held = frame.payload;
    ASSERT_EQ(framer.next(frame), TocFramer::Next::Frame);
    EXPECT_EQ(held, "first");
    EXPECT_EQ(frame.payload, "other");
}

// The server's reading: FLAPON first, checked as it comes, then well-formed frames only; after a
// violation nothing more is read until clear().
TEST(Framer, ServerModeWantsTheHandshakeAndRefusesWhatIsNotFlap)
{
    TocFramer framer(TocFramer::Mode::Server);
    TocFramer::Frame frame;
    framer.feed("FLAP");
    EXPECT_EQ(framer.next(frame), TocFramer::Next::NeedMore);
    framer.feed("ON\r\n\r\n" + flapFrame(2, "toc_init_done"));
    EXPECT_EQ(framer.next(frame), TocFramer::Next::Handshake);
    EXPECT_EQ(framer.next(frame), TocFramer::Next::Frame);
    EXPECT_EQ(frame.payload, "toc_init_done");
    framer.feed("#");
    EXPECT_EQ(framer.next(frame), TocFramer::Next::Violation);
    EXPECT_EQ(framer.violation(), "bad frame marker 0x23");
    framer.feed(flapFrame(2, "x"));
    EXPECT_EQ(framer.next(frame), TocFramer::Next::NeedMore);

    framer.clear();
    framer.feed("GET / HTTP/1.1");
    EXPECT_EQ(framer.next(frame), TocFramer::Next::Violation);
    EXPECT_EQ(framer.violation(), "garbage before FLAPON");
}

} // namespace

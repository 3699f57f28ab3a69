// Arbitrary bytes, cut into arbitrary pieces, go through the client's reassembly and dispatch, and
// its commands are called with arguments taken from the same bytes: between arrivals, and from
// inside its event handlers, which also log off, sign on again or let more bytes arrive. Every
// frame the client sends must stay well formed, and nothing may escape but the commands'
// documented refusal.
//
// The cuts and the commands are chosen by a generator seeded from the input, so the seed corpus
// can be plain recorded FLAP streams.
#include "FakeTocSocket.h"
#include "ModTOC.h"
#include "QuonTOCSock.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace {

std::uint32_t seedOf(const QByteArray& bytes)
{
    std::uint32_t h = 2166136261u; // FNV-1a
    for (char c : bytes)
        h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

class Run
{
public:
    explicit Run(const QByteArray& input)
        : m_input(input)
        , m_rng(seedOf(input))
    {
        // What a host does from its handlers: call back into the control.
        const auto react = [this] {
            switch (pick(16)) {
            case 0: m_sock.LogOff(); break;
            case 1: signOn(); break;
            case 2: m_fake->deliver(m_input.mid(pick(unsigned(m_input.size()) + 1), pick(64))); break;
            default: command(); break;
            }
        };
        QObject::connect(&m_sock, &QuonTOCSock::IncomingPacket, &m_sock, [this, react] {
            if (pick(4) == 0)
                react();
        });
        QObject::connect(&m_sock, &QuonTOCSock::LoggedIn, &m_sock, react);
        QObject::connect(&m_sock, &QuonTOCSock::JoinedChat, &m_sock, react);
        QObject::connect(&m_sock, &QuonTOCSock::IncomingChatMessage, &m_sock, react);
        QObject::connect(&m_sock, &QuonTOCSock::Error, &m_sock, react);
    }

    void go()
    {
        signOn();
        for (qsizetype at = 0; at < m_input.size();) {
            const qsizetype piece = std::min<qsizetype>(1 + pick(64), m_input.size() - at);
            m_fake->deliver(m_input.mid(at, piece));
            at += piece;
            while (pick(3) == 0)
                command();
            if (pick(48) == 0)
                pick(2) ? m_fake->peerClose() : m_sock.LogOff();
            if (m_fake->state() != TocSocket::Connected && pick(2) == 0)
                signOn();
        }
        for (const QByteArray& frame : m_fake->sent)
            check(frame);
    }

private:
    unsigned pick(unsigned n) { return m_rng() % n; }

    void signOn()
    {
        m_sock.Login("Tarn Wick", "secret", "toc.example", 5190);
        m_fake->open();
    }

    // A piece of the input, now and then a long one to reach the length limits.
    QByteArray text()
    {
        const qsizetype from = pick(unsigned(m_input.size()) + 1);
        const QByteArray piece = m_input.mid(from, pick(40));
        return pick(40) == 0 ? piece.repeated(70000 / (piece.size() + 1)) : piece;
    }
    std::int32_t number() { return pick(4) == 0 ? std::int32_t(m_rng()) : std::int32_t(pick(2000)) - 5; }

    void command()
    {
        try {
            switch (pick(24)) {
            case 0: m_sock.SendIm(text(), text(), pick(2)); break;
            case 1: m_sock.AddBuddy(text(), false); break;
            case 2: m_sock.AddBuddy(text(), true); break;
            case 3: m_sock.RemoveBuddy(text()); break;
            case 4: m_sock.WarnUser(text(), pick(2)); break;
            case 5: m_sock.JoinChat(text(), std::int16_t(number())); break;
            case 6: m_sock.SendChat(number(), text()); break;
            case 7: m_sock.ChatWhisper(number(), text(), text()); break;
            case 8: m_sock.ChatInvite(number(), text(), text()); break;
            case 9: m_sock.ChatLeave(number()); break;
            case 10: m_sock.AcceptChatInvite(number()); break;
            case 11: m_sock.GetProfile(text()); break;
            case 12: m_sock.GetStatus(text()); break;
            case 13: m_sock.SetProfile(text()); break;
            case 14: m_sock.SetAway(text()); break;
            case 15: m_sock.SetIdle(number()); break;
            case 16: m_sock.SetCapabilities(text()); break;
            case 17: m_sock.FormatUserName(text()); break;
            case 18: m_sock.ChangePassword(text(), text()); break;
            case 19: m_sock.BlockUser(text()); break;
            case 20: m_sock.UnBlockUser(text()); break;
            case 21: m_sock.GetChatID(text()); break;
            case 22: m_sock.LastChatID(); break;
            default: m_sock.SendPacket(5, {}); break; // what an anti-idle tick does
            }
        } catch (const std::invalid_argument&) {
            // The documented refusal: nothing was sent.
        }
    }

    // A frame's header must describe it, and a command line must end at its only zero byte.
    static void check(const QByteArray& frame)
    {
        if (frame == "FLAPON\r\n\r\n")
            return;
        if (frame.size() < 6 || frame[0] != '*' || ModTOC::DecodeWord(frame.mid(4, 2)) != frame.size() - 6)
            std::abort();
        if (frame[1] == 2 && frame.indexOf('\0', 6) != frame.size() - 1)
            std::abort();
    }

    const QByteArray& m_input;
    std::minstd_rand m_rng;
    FakeTocSocket* m_fake = new FakeTocSocket;
    QuonTOCSock m_sock{std::unique_ptr<TocSocket>(m_fake)};
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    new QCoreApplication(*argc, *argv); // timers need the application's event dispatcher
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    Run(input).go();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the socket the client released
    return 0;
}

#pragma once
// The client's side of one TOC2 session, free of sockets and timers: received bytes in, events
// out, and the frames it sends handed to an output. It keeps the sequence counter, the room table,
// the stored configuration and the names of the account signed on.
//
// Events are pulled one at a time with next(), so whoever raises them may call back into the
// session (send commands, log off, sign on again) between two events: the session is never in the
// middle of anything then. Every frame first gives a Packet event; what the frame means follows on
// the next call.
#include "TocConfig.h"
#include "TocFramer.h"
#include "TocParser.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <variant>

namespace TocEvent {
/// Any frame, before anything else is made of it.
struct Packet {
    int type = 0;
    QByteArray payload;
};
/// Sign-on done: the formatted name, the buddy-list text and the blocked text.
struct LoggedIn {
    QByteArray userName, buddyList, blocked;
};
/// A room joined, with the id now recorded for it.
struct JoinedChat {
    QByteArray roomName;
    std::int32_t roomId = 0;
};
} // namespace TocEvent

using SessionEvent =
    std::variant<TocEvent::Packet, TocEvent::LoggedIn, TocEvent::JoinedChat, TocMessage::ImIn, TocMessage::UpdateBuddy,
                 TocMessage::BuddyCaps, TocMessage::Bart, TocMessage::Error, TocMessage::Eviled, TocMessage::ChatIn,
                 TocMessage::ChatUpdateBuddy, TocMessage::ChatInvite, TocMessage::ChatLeft, TocMessage::GotoUrl,
                 TocMessage::AdminNickStatus, TocMessage::AdminPasswdStatus, TocMessage::RvousPropose>;

class TocSession
{
public:
    struct Output {
        /// Whether a frame may go out now (the connection is open).
        std::function<bool()> canSend;
        std::function<void(const QByteArray& frame)> send;
    };
    struct ChatRoomEntry {
        std::int32_t ID = 0;
        QByteArray RoomName;
    };
    static constexpr int kRoomSlots = 1001;

    explicit TocSession(Output output);

    /// A new sign-on: checks that the name and password can go on the wire as typed, then starts
    /// the account afresh (formatted name and stored configuration; the sequence counter and the
    /// room table stay) and drops whatever the old connection left unread. Throws
    /// std::invalid_argument, changing nothing, for an empty or all-blank name, a control byte in
    /// the name or password, a name starting with a double quote, or a login line too long.
    void startLogin(QByteArrayView userName, QByteArrayView password);
    /// The checks of startLogin alone, without a session: throws as it does; returns the roasted
    /// password.
    static QByteArray checkLogin(QByteArrayView userName, QByteArrayView password);
    /// Signed off here: the password, the sequence counter and the room table are forgotten.
    void logOff();

    /// Bytes from the server.
    void receive(const QByteArray& bytes) { m_framer.feed(bytes); }
    /// The next event, or nothing until more bytes arrive.
    std::optional<SessionEvent> next();

    /// One frame with the next sequence number, dropped silently (the counter unmoved) while the
    /// output cannot send. Throws std::invalid_argument, before anything else, for a type outside
    /// 0..255 or a payload over 65535 bytes.
    void sendFrame(int type, QByteArrayView payload);
    /// A command line: a data frame whose payload ends in one zero byte.
    void sendLine(QByteArrayView line);
    /// The line that stores a buddy in the server's buddy list for good, under the group the
    /// stored list files it in; the stored list takes the buddy at once. Throws
    /// std::invalid_argument, changing nothing, when it cannot be sent.
    QByteArray permanentBuddyLine(QByteArrayView buddy);

    /// The id of the first room-table slot whose name matches (blanks and case ignored), or 0.
    std::int32_t chatId(QByteArrayView roomName) const;
    std::int32_t lastChatId() const { return mlngLastChatID; }
    /// The normalised screen name of the last sign-on.
    const QByteArray& userName() const { return mstrUserName; }

private:
    friend struct QuonTOCSockTestAccess; // tests set the counter and read the room table

    std::optional<SessionEvent> handleFrame();
    std::optional<SessionEvent> handleMessage(ServerMessage message);
    void recordRoom(const TocMessage::ChatJoin& join);

    Output m_out;
    TocFramer m_framer;
    TocFramer::Frame m_frame;
    bool m_framePending = false; // its Packet raised, its meaning not yet handled

    QByteArray mstrUserName;
    QByteArray mstrRoasted;
    QByteArray mstrFormattedName;
    std::int32_t mlngSeq = 0;
    std::int32_t mlngLastChatID = 0;
    std::int32_t mlngRoomSlot = 0;
    std::array<ChatRoomEntry, kRoomSlots> mChatRooms{};
    QByteArrayList Combo1;         // stored settings other than groups, buddies and blocked names
    QByteArrayList mConfigBuddies; // stored "g:" and "b:" entries, in order
    QByteArrayList mConfigDenied;  // stored "d:" entries, in order
    std::minstd_rand mRandom;      // never seeded: the same digits on every run
};

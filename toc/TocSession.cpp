#include "TocSession.h"

#include "ModTOC.h"
#include "TocCommands.h"
#include "TocLog.h"

#include <algorithm>
#include <stdexcept>

Q_LOGGING_CATEGORY(lcToc, "tarnwick.toc", QtInfoMsg)

namespace {
constexpr qsizetype kMaxFramePayload = 0xFFFF;

bool hasControlByte(QByteArrayView text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}
} // namespace

TocSession::TocSession(Output output)
    : m_out(std::move(output))
{
}

// The server reads the bare name up to a blank, and a leading quote would make it read a quoted
// word: either way it would sign on a name other than the one typed. A name that is all blanks
// would leave the login line's fields out of place.
QByteArray TocSession::checkLogin(QByteArrayView userName, QByteArrayView password)
{
    const QByteArray name = ModTOC::NormalizeName(userName);
    if (name.isEmpty())
        throw std::invalid_argument("sign-on: no screen name");
    if (hasControlByte(userName) || hasControlByte(password))
        throw std::invalid_argument("sign-on: a control character in the screen name or password");
    if (name.startsWith('"'))
        throw std::invalid_argument("sign-on: a screen name cannot start with a double quote");
    QByteArray roasted = ModTOC::RoastPassword(password);
    TocCommands::login(name, roasted); // throws when the line would be too long
    return roasted;
}

void TocSession::startLogin(QByteArrayView userName, QByteArrayView password)
{
    QByteArray roasted = checkLogin(userName, password);
    const QByteArray name = ModTOC::NormalizeName(userName);
    mstrUserName = name;
    mstrRoasted = std::move(roasted);
    mstrFormattedName.clear();
    Combo1.clear();
    mConfigBuddies.clear();
    mConfigDenied.clear();
    m_framer.clear();
    m_framePending = false;
}

void TocSession::logOff()
{
    mstrRoasted.clear();
    mlngSeq = 0;
    mChatRooms.fill(ChatRoomEntry{});
    mlngRoomSlot = 0;
    mlngLastChatID = 0;
    m_framer.clear();
    m_framePending = false;
}

void TocSession::sendFrame(int type, QByteArrayView payload)
{
    if (type < 0 || type > 255)
        throw std::invalid_argument("frame type outside 0..255");
    if (payload.size() > kMaxFramePayload)
        throw std::invalid_argument("frame payload longer than 65535 bytes");
    if (!m_out.canSend())
        return;
    if (++mlngSeq >= 65535)
        mlngSeq = 0;

    m_out.send(TocFramer::encode(type, static_cast<quint16>(mlngSeq), payload));
}

void TocSession::sendLine(QByteArrayView line)
{
    QByteArray payload;
    payload.reserve(line.size() + 1);
    payload += line;
    payload += '\0';
    sendFrame(int(FrameType::Data), payload);
}

// A TOC2 server builds the configuration it sends at sign-on from its own buddy list, so a buddy
// is stored for good by adding it there; toc_set_config would be kept for the older sign-on only.
QByteArray TocSession::permanentBuddyLine(QByteArrayView buddy)
{
    QByteArrayList buddies = mConfigBuddies;
    TocConfig::addBuddy(buddies, buddy);
    QByteArray line = TocCommands::newBuddies(TocConfig::groupForNewBuddy(buddies), buddy);
    mConfigBuddies = std::move(buddies);
    return line;
}

// The first slot wins, so after the slot counter wraps an older entry may answer for a room
// joined twice. Slots never written have no name and match nothing that has one.
std::int32_t TocSession::chatId(QByteArrayView roomName) const
{
    const QByteArray wanted = ModTOC::NormalizeName(roomName);
    if (wanted.isEmpty())
        return 0;
    for (const ChatRoomEntry& room : mChatRooms) {
        if (ModTOC::NormalizeName(room.RoomName) == wanted)
            return room.ID;
    }
    return 0;
}

std::optional<SessionEvent> TocSession::next()
{
    for (;;) {
        if (m_framePending) {
            m_framePending = false;
            if (std::optional<SessionEvent> event = handleFrame())
                return event;
            continue;
        }
        if (m_framer.next(m_frame) != TocFramer::Next::Frame)
            return std::nullopt;
        m_framePending = true;
        return TocEvent::Packet{m_frame.type, m_frame.payload};
    }
}

// The server opens the FLAP layer with its version; we answer with our sign-on frame and the
// login line. Data frames carry one message each; other frame types mean nothing more.
std::optional<SessionEvent> TocSession::handleFrame()
{
    if (m_frame.is(FrameType::SignOn)) {
        if (TocParser::isSignOnVersion(m_frame.payload)) {
            sendFrame(int(FrameType::SignOn), TocCommands::signOn(mstrUserName));
            sendLine(TocCommands::login(mstrUserName, mstrRoasted));
        }
        return std::nullopt;
    }
    if (!m_frame.is(FrameType::Data))
        return std::nullopt;
    return handleMessage(TocParser::parse(m_frame.payload));
}

std::optional<SessionEvent> TocSession::handleMessage(ServerMessage message)
{
    using namespace TocMessage;
    if (std::holds_alternative<Unknown>(message)) {
        qCDebug(lcToc) << "unknown server message:" << m_frame.payload.left(m_frame.payload.indexOf(':'));
        return std::nullopt;
    }
    if (std::holds_alternative<SignOn>(message))
        return std::nullopt;
    if (auto* nick = std::get_if<Nick>(&message)) {
        if (nick->name)
            mstrFormattedName = std::move(*nick->name);
        return std::nullopt;
    }
    // Sign-on ends here, the configuration parsed in one go.
    if (auto* config = std::get_if<Config2>(&message)) {
        // The integer part of 7 times a number in [0, 1).
        const auto unit = double(mRandom() - std::minstd_rand::min()) / double(std::minstd_rand::max());
        sendLine(TocCommands::pimpBuddy(int(7 * unit)));
        Combo1 = std::move(config->config.others);
        mConfigBuddies = std::move(config->config.buddies);
        mConfigDenied = std::move(config->config.denied);
        sendLine(TocCommands::initDone());
        return TocEvent::LoggedIn{mstrFormattedName, std::move(config->config.buddyList),
                                  std::move(config->config.blocked)};
    }
    if (auto* join = std::get_if<ChatJoin>(&message)) {
        recordRoom(*join);
        return TocEvent::JoinedChat{join->name.value_or(QByteArray()), mlngLastChatID};
    }
    // Everything else goes to the host as it is.
    return std::visit(
        [](auto&& m) -> std::optional<SessionEvent> {
            using M = std::decay_t<decltype(m)>;
            if constexpr (std::is_constructible_v<SessionEvent, M>)
                return SessionEvent(std::move(m));
            else
                return std::nullopt;
        },
        std::move(message));
}

// Rooms go into slots 1..999 in turn, then from 0 again; slot 1000 is never written. A part the
// line does not give leaves what it would have set as it was.
void TocSession::recordRoom(const TocMessage::ChatJoin& join)
{
    if (join.id)
        mlngLastChatID = *join.id;
    if (++mlngRoomSlot >= 1000)
        mlngRoomSlot = 0;
    ChatRoomEntry& slot = mChatRooms[mlngRoomSlot];
    if (join.id)
        slot.ID = *join.id;
    if (join.name)
        slot.RoomName = *join.name;
}

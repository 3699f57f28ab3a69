// What the client does with each server message.
#include "QuonTOCSock.h"

#include "ModTOC.h"
#include "TocConfig.h"

#include <charconv>
#include <optional>
#include <string_view>

#ifndef TARNWICK_AUTH_HOST
#define TARNWICK_AUTH_HOST "login.oscar.aol.com"
#endif

namespace {
const QByteArray kFlapVersion("\x00\x00\x00\x01", 4);
constexpr char kClientVersion[] = "QuonSockTOC2.0";

// The server messages the client understands, in the order they are matched.
enum class Message {
    SignOn, Config2, Nick, ImIn, UpdateBuddy, BuddyCaps, Bart, Error, Eviled, ChatJoin, ChatIn,
    ChatUpdateBuddy, ChatInvite, ChatLeft, GotoUrl, AdminNickStatus, AdminPasswdStatus, RvousPropose,
};
struct MessageWord {
    std::string_view word;
    Message message;
};
constexpr MessageWord kMessages[] = {
    {"sign_on", Message::SignOn},
    {"config2", Message::Config2},
    {"nick", Message::Nick},
    {"im_in_enc2", Message::ImIn},
    {"update_buddy2", Message::UpdateBuddy},
    {"buddy_caps2", Message::BuddyCaps},
    {"bart2", Message::Bart},
    {"error", Message::Error},
    {"eviled", Message::Eviled},
    {"chat_join", Message::ChatJoin},
    {"chat_in_enc", Message::ChatIn},
    {"chat_update_buddy", Message::ChatUpdateBuddy},
    {"chat_invite", Message::ChatInvite},
    {"chat_left", Message::ChatLeft},
    {"goto_url", Message::GotoUrl},
    {"admin_nick_status", Message::AdminNickStatus},
    {"admin_passwd_status", Message::AdminPasswdStatus},
    {"rvous_propose", Message::RvousPropose},
};

// Field n, or an empty text when the line has fewer fields: a short line still raises its event.
QByteArray field(const QByteArrayList& fields, qsizetype n)
{
    return n < fields.size() ? fields[n] : QByteArray();
}

// Field n as a decimal number of type T; nothing when the field is missing or is not a number of
// that range.
template <typename T>
std::optional<T> toNumber(const QByteArrayList& fields, qsizetype n)
{
    if (n >= fields.size())
        return std::nullopt;
    // Every byte must belong to the number (a zero byte too: the text does not end there).
    const QByteArray text = fields[n].trimmed();
    T value = 0;
    const auto [end, error] = std::from_chars(text.cbegin(), text.cend(), value);
    if (error != std::errc() || end != text.cend())
        return std::nullopt;
    return value;
}

// The same, 0 when it cannot be read.
template <typename T>
T number(const QByteArrayList& fields, qsizetype n)
{
    return toNumber<T>(fields, n).value_or(0);
}

// A message text is the last part of its line and may hold colons of its own, which the split cut
// apart: join fields first.. back together.
QByteArray messageText(const QByteArrayList& fields, qsizetype first)
{
    return fields.size() > first ? fields.mid(first).join(':') : QByteArray();
}
} // namespace

// The server opens the FLAP layer with its version; we answer with our sign-on frame (version,
// TLV 1 carrying the screen name) and the login command.
void QuonTOCSock::handleSignOnFrame(const QByteArray& payload)
{
    using namespace ModTOC;
    if (payload != kFlapVersion)
        return;

    SendPacket(1, kFlapVersion + EncodeWord(1) + EncodeWord(static_cast<std::int32_t>(mstrUserName.size())) +
                      mstrUserName);

    SendPacket(2, loginCommand(mstrUserName, mstrRoasted));
}

// The login line, zero byte included. The name goes in as a bare word, as servers expect it.
QByteArray QuonTOCSock::loginCommand(const QByteArray& userName, const QByteArray& roasted)
{
    using ModTOC::QuoteArg;
    return "toc2_login " TARNWICK_AUTH_HOST " 29999 " + userName + ' ' + roasted + " English  " +
           QuoteArg(kClientVersion) + " 160 US " + QuoteArg("") + ' ' + QuoteArg("") + " 3 0 30303 -kentucky -utf8 " +
           "51837264" + '\0';
}

// One server message: fields split at every colon, the first one the command word (any case).
// Every event is raised even when fields are missing or malformed; they then carry empty texts,
// 0 or false.
void QuonTOCSock::handleDataFrame(const QByteArray& payload)
{
    mstrFields = payload.split(':');
    const QByteArrayList& f = mstrFields;
    const QByteArray word = f[0].toLower();
    const MessageWord* match = nullptr;
    for (const MessageWord& m : kMessages) {
        if (word == QByteArrayView(m.word.data(), qsizetype(m.word.size()))) {
            match = &m;
            break;
        }
    }
    if (!match)
        return; // a message we do not know is not an error

    switch (match->message) {
    case Message::SignOn:
        break;
    case Message::Config2:
        handleConfig2(payload);
        break;
    case Message::Nick:
        if (f.size() > 1)
            mstrFormattedName = f[1];
        break;
    case Message::ImIn:
        mstrMessage = messageText(f, 9);
        emit IncomingMessage(field(f, 1), mstrMessage);
        break;
    case Message::UpdateBuddy:
        if (field(f, 2).toUpper() == "T")
            emit BuddyOnline(field(f, 1));
        else
            emit BuddyOffline(field(f, 1));
        break;
    case Message::BuddyCaps:
        emit IncomingBuddyCapabilities(field(f, 1), field(f, 2));
        break;
    case Message::Bart:
        emit IncomingBartData(field(f, 1), field(f, 2));
        break;
    case Message::Error:
        emit Error(number<std::int16_t>(f, 1));
        break;
    case Message::Eviled:
        emit Warned(field(f, 2), number<std::int16_t>(f, 1));
        break;
    case Message::ChatJoin:
        recordRoom();
        break;
    case Message::ChatIn:
        mstrMessage = messageText(f, 6);
        emit IncomingChatMessage(number<std::int32_t>(f, 1), field(f, 2), field(f, 3) == "T", mstrMessage);
        break;
    case Message::ChatUpdateBuddy:
        emit ChatUserUpdate(number<std::int32_t>(f, 1), field(f, 2) == "T", field(f, 3), field(f, 4));
        break;
    case Message::ChatInvite:
        emit IncomingChatInvite(field(f, 1), number<std::int32_t>(f, 2), field(f, 3), field(f, 4));
        break;
    case Message::ChatLeft:
        emit LeftChat(number<std::int32_t>(f, 1));
        break;
    case Message::GotoUrl:
        emit IncomingProfile(field(f, 2));
        break;
    case Message::AdminNickStatus:
        emit ScreenNameFormatUpdate(toNumber<std::int16_t>(f, 1) == 0);
        break;
    case Message::AdminPasswdStatus:
        emit PassWordUpdate(toNumber<std::int16_t>(f, 1) == 0);
        break;
    case Message::RvousPropose:
        emit RendevousRequest(field(f, 1), field(f, 2), field(f, 3), field(f, 5));
        break;
    }
}

// Sign-on ends here. The whole configuration is parsed in one go: running the event loop in the
// middle would let another frame see the lists half built.
void QuonTOCSock::handleConfig2(const QByteArray& payload)
{
    // The integer part of 7 times a number in [0, 1).
    const auto unit = double(mRandom() - std::minstd_rand::min()) / double(std::minstd_rand::max());
    SendPacket2("toc_add_buddy quon PIMP" + QByteArray::number(int(7 * unit)));

    TocConfig::Parsed config = TocConfig::parse(payload);
    Combo1 = std::move(config.others);
    mConfigBuddies = std::move(config.buddies);
    mConfigDenied = std::move(config.denied);

    SendPacket2("toc_init_done");
    emit LoggedIn(mstrFormattedName, config.buddyList, config.blocked);
}

// Rooms go into slots 1..999 in turn, then from 0 again; slot 1000 is never written. A field that
// cannot be read leaves what it would have set as it was.
void QuonTOCSock::recordRoom()
{
    const std::optional<std::int32_t> id = toNumber<std::int32_t>(mstrFields, 1);
    if (id)
        mlngLastChatID = *id;
    if (++mlngRoomSlot >= 1000)
        mlngRoomSlot = 0;
    ChatRoomEntry& slot = mChatRooms[mlngRoomSlot];
    if (id)
        slot.ID = *id;
    if (mstrFields.size() > 2)
        slot.RoomName = mstrFields[2];
    emit JoinedChat(field(mstrFields, 2), mlngLastChatID);
}

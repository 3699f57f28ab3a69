#pragma once
// Server messages: one data frame's payload in, one value out. A message is a line of fields
// separated by ":", the first one its command word (matched in any case); the last field of a
// message that carries free text may hold colons of its own.
//
// The parser is lenient as clients must be: a field the line lacks is an empty text, and a number
// that is missing or cannot be read is 0 (false for the success flags); the message still counts.
#include "TocConfig.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

#include <cstdint>
#include <optional>
#include <variant>

/// The numbers of the server's ERROR messages. 980 to 989 answer a sign-on.
enum class TocError : std::int16_t {
    UserNotAvailable = 901,
    WarningNotAvailable = 902,
    MessageDropped = 903,
    InvalidInput = 911,
    InvalidAccount = 912,
    RequestFailed = 913,
    ServiceUnavailable = 914,
    ChatUnavailable = 950,
    SendingTooFast = 960,
    MissedImTooBig = 961,
    MissedImTooFast = 962,
    DirectoryFailure = 970,
    TooManyMatches = 971,
    NeedMoreQualifiers = 972,
    DirectoryUnavailable = 973,
    BadLogin = 980,
    ServiceTemporarilyUnavailable = 981,
    WarningTooHigh = 982,
    ConnectingTooOften = 983,
    UnknownSignOnError = 989,
};

namespace TocMessage {

/// A command word the client does not know (or an empty line).
struct Unknown {
    bool operator==(const Unknown&) const = default;
};
/// SIGN_ON:<version>
struct SignOn {
    bool operator==(const SignOn&) const = default;
};
/// CONFIG2:<entry>\n<entry>\n...: the stored buddy configuration.
struct Config2 {
    TocConfig::Parsed config;
    bool operator==(const Config2&) const = default;
};
/// NICK:<formatted name>; nothing when the line has no name field.
struct Nick {
    std::optional<QByteArray> name;
    bool operator==(const Nick&) const = default;
};
/// IM_IN_ENC2:<user>:<auto>:F:T:<class>:F:L:<language>:<message>
struct ImIn {
    QByteArray user, message;
    bool autoResponse = false; // <auto> is "T": the sender's away message answered
    bool operator==(const ImIn&) const = default;
};
/// UPDATE_BUDDY2:<user>:<online T/F, any case>:...
struct UpdateBuddy {
    QByteArray user;
    bool online = false;
    bool operator==(const UpdateBuddy&) const = default;
};
/// BUDDY_CAPS2:<user>:<capabilities>
struct BuddyCaps {
    QByteArray user, capabilities;
    bool operator==(const BuddyCaps&) const = default;
};
/// BART2:<user>:<data>
struct Bart {
    QByteArray user, data;
    bool operator==(const Bart&) const = default;
};
/// ERROR:<code>[:<argument>...]; the first argument (the $1 of the error's text), if any.
struct Error {
    std::int16_t code = 0;
    QByteArray argument;
    bool operator==(const Error&) const = default;
};
/// EVILED:<new level>:<warner, empty when anonymous>
struct Eviled {
    std::int16_t level = 0;
    QByteArray warner;
    bool operator==(const Eviled&) const = default;
};
/// CHAT_JOIN:<room id>:<room name>; each part only when the line gives it.
struct ChatJoin {
    std::optional<std::int32_t> id;
    std::optional<QByteArray> name;
    bool operator==(const ChatJoin&) const = default;
};
/// CHAT_IN_ENC:<room id>:<user>:<whisper T/F, exact>:A:<language>:<message>
struct ChatIn {
    std::int32_t roomId = 0;
    QByteArray user;
    bool whisper = false;
    QByteArray message;
    bool operator==(const ChatIn&) const = default;
};
/// CHAT_UPDATE_BUDDY:<room id>:<inside T/F>:<user>[:<user>...]; the first two users, and all of them.
struct ChatUpdateBuddy {
    std::int32_t roomId = 0;
    bool inside = false;
    QByteArray user, user2;
    QByteArrayList users; // every user the line names (the list of members right after a join)
    bool operator==(const ChatUpdateBuddy&) const = default;
};
/// CHAT_INVITE:<room name>:<room id>:<inviter>:<message>
struct ChatInvite {
    QByteArray roomName;
    std::int32_t roomId = 0;
    QByteArray user, message;
    bool operator==(const ChatInvite&) const = default;
};
/// CHAT_LEFT:<room id>
struct ChatLeft {
    std::int32_t roomId = 0;
    bool operator==(const ChatLeft&) const = default;
};
/// GOTO_URL:<window name>:<url>
struct GotoUrl {
    QByteArray url;
    bool operator==(const GotoUrl&) const = default;
};
/// ADMIN_NICK_STATUS:<code>, 0 meaning success.
struct AdminNickStatus {
    bool success = false;
    bool operator==(const AdminNickStatus&) const = default;
};
/// ADMIN_PASSWD_STATUS:<code>, 0 meaning success.
struct AdminPasswdStatus {
    bool success = false;
    bool operator==(const AdminPasswdStatus&) const = default;
};
/// RVOUS_PROPOSE:<user>:<uuid>:<cookie>:<seq>:<rendezvous ip>:...
struct RvousPropose {
    QByteArray user, uuid, cookie, rendezvousIp;
    bool operator==(const RvousPropose&) const = default;
};

} // namespace TocMessage

using ServerMessage =
    std::variant<TocMessage::Unknown, TocMessage::SignOn, TocMessage::Config2, TocMessage::Nick, TocMessage::ImIn,
                 TocMessage::UpdateBuddy, TocMessage::BuddyCaps, TocMessage::Bart, TocMessage::Error,
                 TocMessage::Eviled, TocMessage::ChatJoin, TocMessage::ChatIn, TocMessage::ChatUpdateBuddy,
                 TocMessage::ChatInvite, TocMessage::ChatLeft, TocMessage::GotoUrl, TocMessage::AdminNickStatus,
                 TocMessage::AdminPasswdStatus, TocMessage::RvousPropose>;

namespace TocParser {

/// The message one data frame carries.
ServerMessage parse(QByteArrayView payload);

/// Whether a sign-on frame's payload is the FLAP version the client speaks (0 0 0 1).
bool isSignOnVersion(QByteArrayView payload);

} // namespace TocParser

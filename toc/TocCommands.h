#pragma once
// Everything the client sends once connected, built as the exact bytes (the framing adds a command
// line's zero byte). Every argument that goes between double quotes is escaped, so a quote or
// backslash the user typed stays inside its argument. A line that cannot be sent (a zero byte in
// it, or longer than servers take) throws std::invalid_argument instead.
//
// In the grammar comments, <x> is a value, "<x>" that value quoted and escaped, and [..] optional.
#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace TocCommands {

/// The longest command line servers take, its zero byte not counted: they close the connection
/// on a longer one.
constexpr qsizetype kMaxLine = 2048;

/// The sign-on frame's payload: 00 00 00 01 (FLAP version), 00 01 (TLV: screen name), <length>,
/// <name> (normalised).
QByteArray signOn(QByteArrayView normalisedName);
/// toc2_login <authorizer host> 29999 <name> <roasted password> English  "<client version>" 160 US
/// "" "" 3 0 30303 -kentucky -utf8 51837264 (name and password bare words, as servers read them).
QByteArray login(QByteArrayView normalisedName, QByteArrayView roastedPassword);
/// toc_add_buddy quon PIMP<digit> (unquoted, as it always was).
QByteArray pimpBuddy(int digit);
/// toc_init_done
QByteArray initDone();

/// toc_send_im "<name, normalised>" "<message>"[ auto]
QByteArray sendIm(QByteArrayView userName, QByteArrayView message, bool autoResponse);
/// toc_add_buddy "<buddy>": for this session only.
QByteArray addBuddy(QByteArrayView buddy);
/// toc_remove_buddy "<buddy>"
QByteArray removeBuddy(QByteArrayView buddy);
/// toc_evil "<name>" "anon"|"norm"
QByteArray warnUser(QByteArrayView userName, bool anonymous);
/// toc_chat_join "<exchange>" "<room name>"
QByteArray joinChat(QByteArrayView roomName, std::int16_t exchange);
/// toc_chat_send "<room id>" "<message>"
QByteArray sendChat(std::int32_t roomId, QByteArrayView message);
/// toc_chat_whisper "<room id>" "<name, normalised>" "<message>"
QByteArray chatWhisper(std::int32_t roomId, QByteArrayView userName, QByteArrayView message);
/// toc_chat_invite "<room id>" "<invitation text>" "<name>"
QByteArray chatInvite(std::int32_t roomId, QByteArrayView inviteMessage, QByteArrayView userName);
/// toc_chat_leave "<room id>"
QByteArray chatLeave(std::int32_t roomId);
/// toc_chat_accept "<room id>"
QByteArray acceptChatInvite(std::int32_t roomId);
/// toc_get_info "<name, normalised>"
QByteArray getProfile(QByteArrayView userName);
/// toc_get_status "<name, normalised>"
QByteArray getStatus(QByteArrayView userName);
/// toc_set_info "<profile>"
QByteArray setProfile(QByteArrayView profile);
/// toc_set_away "<message>"
QByteArray setAway(QByteArrayView message);
/// toc_set_idle "<seconds>"; throws when minutes * 60 overflows 32 bits.
QByteArray setIdle(std::int32_t minutes);
/// toc_set_caps "<capability uuids>"
QByteArray setCapabilities(QByteArrayView capUuid);
/// toc_format_nickname "<formatted name>"
QByteArray formatUserName(QByteArrayView newFormattedName);
/// toc_change_passwd "<old password>" "<new password>", both in plain text.
QByteArray changePassword(QByteArrayView oldPassword, QByteArrayView newPassword);
/// toc2_add_deny "<name>"
QByteArray blockUser(QByteArrayView userName);
/// toc2_remove_deny "<name>"
QByteArray unBlockUser(QByteArrayView userName);
/// toc_set_config "<configuration text, one entry per line>"
QByteArray setConfig(QByteArrayView configText);
/// toc2_new_buddies "{g:<group>\nb:<buddy>\n}": a buddy stored in the server's list for good.
QByteArray newBuddies(QByteArrayView group, QByteArrayView buddy);

} // namespace TocCommands

#pragma once
// The client's command lines, built as the exact bytes to send (the framing adds the zero byte).
// Every argument that goes between double quotes is escaped, so a quote or backslash the user
// typed stays inside its argument. A line that cannot be sent (a zero byte in it, or too long for
// one frame) throws std::invalid_argument instead.
#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace TocCommands {

/// The longest line that fits one frame together with its zero byte.
constexpr qsizetype kMaxLine = 65534;

/// "toc_send_im", the name normalised; " auto" marks an automatic answer.
QByteArray sendIm(QByteArrayView userName, QByteArrayView message, bool autoResponse);
/// "toc_add_buddy": the buddy for this session only.
QByteArray addBuddy(QByteArrayView buddy);
/// "toc_remove_buddy".
QByteArray removeBuddy(QByteArrayView buddy);
/// "toc_evil", with "anon" or "norm".
QByteArray warnUser(QByteArrayView userName, bool anonymous);
/// "toc_chat_join": exchange, then room name.
QByteArray joinChat(QByteArrayView roomName, std::int16_t exchange);
/// "toc_chat_send".
QByteArray sendChat(std::int32_t roomId, QByteArrayView message);
/// "toc_chat_whisper", the name normalised.
QByteArray chatWhisper(std::int32_t roomId, QByteArrayView userName, QByteArrayView message);
/// "toc_chat_invite": room, invitation text, then who is invited.
QByteArray chatInvite(std::int32_t roomId, QByteArrayView inviteMessage, QByteArrayView userName);
/// "toc_chat_leave".
QByteArray chatLeave(std::int32_t roomId);
/// "toc_chat_accept".
QByteArray acceptChatInvite(std::int32_t roomId);
/// "toc_get_info", the name normalised.
QByteArray getProfile(QByteArrayView userName);
/// "toc_get_status", the name normalised.
QByteArray getStatus(QByteArrayView userName);
/// "toc_set_info".
QByteArray setProfile(QByteArrayView profile);
/// "toc_set_away".
QByteArray setAway(QByteArrayView message);
/// "toc_set_idle" with the time in seconds; throws when that overflows 32 bits.
QByteArray setIdle(std::int32_t minutes);
/// "toc_set_caps".
QByteArray setCapabilities(QByteArrayView capUuid);
/// "toc_format_nickname".
QByteArray formatUserName(QByteArrayView newFormattedName);
/// "toc_change_passwd", both passwords in plain text.
QByteArray changePassword(QByteArrayView oldPassword, QByteArrayView newPassword);
/// "toc2_add_deny".
QByteArray blockUser(QByteArrayView userName);
/// "toc2_remove_deny".
QByteArray unBlockUser(QByteArrayView userName);
/// "toc_set_config" with the whole configuration text as one argument.
QByteArray setConfig(QByteArrayView configText);

} // namespace TocCommands

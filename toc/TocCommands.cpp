#include "TocCommands.h"

#include "ModTOC.h"
#include "TarnwickBuildConfig.h"

#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <variant>

namespace TocCommands {

namespace {
using ModTOC::NormalizeName;
using Arg = std::variant<QByteArrayView, std::int64_t>;

constexpr char kClientVersion[] = "QuonSockTOC2.0";

// The server reads a command up to its zero byte: one inside would cut the line short. The
// refusal names the command word only; arguments may be secret.
QByteArray checked(QByteArray line)
{
    const auto refuse = [&](const char* why) {
        throw std::invalid_argument(line.left(line.indexOf(' ')).toStdString() + ": " + why);
    };
    if (line.contains('\0'))
        refuse("an argument contains a zero byte");
    if (line.size() > kMaxLine)
        refuse("line longer than servers take");
    return line;
}

// The command word, then each argument quoted (texts escaped), one blank before each.
QByteArray command(const char* word, std::initializer_list<Arg> args, QByteArrayView tail = {})
{
    QByteArray line(word);
    for (const Arg& arg : args) {
        line += ' ';
        if (const auto* text = std::get_if<QByteArrayView>(&arg))
            line += ModTOC::QuoteArg(ModTOC::EscapeText(*text));
        else
            line += ModTOC::QuoteArg(std::get<std::int64_t>(arg));
    }
    line += tail;
    return checked(std::move(line));
}
} // namespace

QByteArray signOn(QByteArrayView normalisedName)
{
    using ModTOC::EncodeWord;
    return QByteArray("\x00\x00\x00\x01", 4) + EncodeWord(1) + EncodeWord(std::int32_t(normalisedName.size())) +
           normalisedName.toByteArray();
}

QByteArray login(QByteArrayView normalisedName, QByteArrayView roastedPassword)
{
    using ModTOC::QuoteArg;
    return checked("toc2_login " + QByteArray(TarnwickBuild::kAuthHost) + " 29999 " + normalisedName.toByteArray() + ' ' +
                   roastedPassword.toByteArray() +
                   " English  " + QuoteArg(kClientVersion) + " 160 US " + QuoteArg("") + ' ' + QuoteArg("") +
                   " 3 0 30303 -kentucky -utf8 51837264");
}

QByteArray pimpBuddy(int digit)
{
    return "toc_add_buddy quon PIMP" + QByteArray::number(digit);
}

QByteArray initDone()
{
    return "toc_init_done";
}

QByteArray sendIm(QByteArrayView userName, QByteArrayView message, bool autoResponse)
{
    return command("toc_send_im", {NormalizeName(userName), message}, autoResponse ? " auto" : "");
}

QByteArray addBuddy(QByteArrayView buddy) { return command("toc_add_buddy", {buddy}); }

QByteArray removeBuddy(QByteArrayView buddy) { return command("toc_remove_buddy", {buddy}); }

QByteArray warnUser(QByteArrayView userName, bool anonymous)
{
    return command("toc_evil", {userName, anonymous ? "anon" : "norm"});
}

QByteArray joinChat(QByteArrayView roomName, std::int16_t exchange)
{
    return command("toc_chat_join", {exchange, roomName});
}

QByteArray sendChat(std::int32_t roomId, QByteArrayView message) { return command("toc_chat_send", {roomId, message}); }

QByteArray chatWhisper(std::int32_t roomId, QByteArrayView userName, QByteArrayView message)
{
    return command("toc_chat_whisper", {roomId, NormalizeName(userName), message});
}

QByteArray chatInvite(std::int32_t roomId, QByteArrayView inviteMessage, QByteArrayView userName)
{
    return command("toc_chat_invite", {roomId, inviteMessage, userName});
}

QByteArray chatLeave(std::int32_t roomId) { return command("toc_chat_leave", {roomId}); }

QByteArray acceptChatInvite(std::int32_t roomId) { return command("toc_chat_accept", {roomId}); }

QByteArray getProfile(QByteArrayView userName) { return command("toc_get_info", {NormalizeName(userName)}); }

QByteArray getStatus(QByteArrayView userName) { return command("toc_get_status", {NormalizeName(userName)}); }

QByteArray setProfile(QByteArrayView profile) { return command("toc_set_info", {profile}); }

QByteArray setAway(QByteArrayView message) { return command("toc_set_away", {message}); }

QByteArray setIdle(std::int32_t minutes)
{
    const std::int64_t seconds = std::int64_t(minutes) * 60;
    if (seconds < std::numeric_limits<std::int32_t>::min() || seconds > std::numeric_limits<std::int32_t>::max())
        throw std::invalid_argument("toc_set_idle: idle time in seconds outside 32 bits");
    return command("toc_set_idle", {seconds});
}

QByteArray setCapabilities(QByteArrayView capUuid) { return command("toc_set_caps", {capUuid}); }

QByteArray formatUserName(QByteArrayView newFormattedName)
{
    return command("toc_format_nickname", {newFormattedName});
}

QByteArray changePassword(QByteArrayView oldPassword, QByteArrayView newPassword)
{
    return command("toc_change_passwd", {oldPassword, newPassword});
}

QByteArray blockUser(QByteArrayView userName) { return command("toc2_add_deny", {userName}); }

QByteArray unBlockUser(QByteArrayView userName) { return command("toc2_remove_deny", {userName}); }

QByteArray setConfig(QByteArrayView configText) { return command("toc_set_config", {configText}); }

QByteArray newBuddies(QByteArrayView group, QByteArrayView buddy)
{
    return command("toc2_new_buddies", {"{g:" + group.toByteArray() + "\nb:" + buddy.toByteArray() + "\n}"});
}

} // namespace TocCommands

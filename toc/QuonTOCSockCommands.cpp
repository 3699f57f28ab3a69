// The client commands: each builds its line and sends it as one data frame. A line that cannot be
// built throws before anything is sent, so the sequence counter does not move either.
#include "QuonTOCSock.h"

#include "TocCommands.h"
#include "TocLog.h"
#include "TocSession.h"

#include <stdexcept>
#include <type_traits>

namespace C = TocCommands;

// Builds a command's line (or lines, all built before any goes) and sends it.
template <typename Build>
void QuonTOCSock::command(Build&& build)
{
    QByteArrayList lines;
    try {
        if constexpr (std::is_same_v<decltype(build()), QByteArrayList>)
            lines = build();
        else
            lines << build();
    } catch (const std::invalid_argument& e) {
        qCDebug(lcToc) << "command refused:" << e.what();
        throw;
    }
    for (const QByteArray& line : lines)
        SendPacket2(line);
}

void QuonTOCSock::SendIm(const QByteArray& strUserName, const QByteArray& strMessage, bool blnAutoResponse)
{
    command([&] { return C::sendIm(strUserName, strMessage, blnAutoResponse); });
}

void QuonTOCSock::AddBuddy(const QByteArray& strBuddy, bool blnPermanent)
{
    if (!blnPermanent) {
        command([&] { return C::addBuddy(strBuddy); });
        return;
    }
    // For this session at once, then in the stored list for the sessions to come.
    command([&] { return QByteArrayList{C::addBuddy(strBuddy), m_session->permanentBuddyLine(strBuddy)}; });
}

void QuonTOCSock::RemoveBuddy(const QByteArray& strBuddy)
{
    command([&] { return C::removeBuddy(strBuddy); });
}

void QuonTOCSock::WarnUser(const QByteArray& strUserName, bool blnAnonymous)
{
    command([&] { return C::warnUser(strUserName, blnAnonymous); });
}

void QuonTOCSock::JoinChat(const QByteArray& strRoomName, std::int16_t intExchange)
{
    command([&] { return C::joinChat(strRoomName, intExchange); });
}

void QuonTOCSock::SendChat(std::int32_t lngID, const QByteArray& strMessage)
{
    command([&] { return C::sendChat(lngID, strMessage); });
}

void QuonTOCSock::ChatWhisper(std::int32_t lngID, const QByteArray& strUserName, const QByteArray& strMessage)
{
    command([&] { return C::chatWhisper(lngID, strUserName, strMessage); });
}

void QuonTOCSock::ChatInvite(std::int32_t lngID, const QByteArray& strInviteMessage, const QByteArray& strUserName)
{
    command([&] { return C::chatInvite(lngID, strInviteMessage, strUserName); });
}

void QuonTOCSock::ChatLeave(std::int32_t lngID)
{
    command([&] { return C::chatLeave(lngID); });
}

void QuonTOCSock::AcceptChatInvite(std::int32_t lngID)
{
    command([&] { return C::acceptChatInvite(lngID); });
}

void QuonTOCSock::GetProfile(const QByteArray& strUserName)
{
    command([&] { return C::getProfile(strUserName); });
}

void QuonTOCSock::GetStatus(const QByteArray& strUserName)
{
    command([&] { return C::getStatus(strUserName); });
}

void QuonTOCSock::SetProfile(const QByteArray& strProfile)
{
    command([&] { return C::setProfile(strProfile); });
}

void QuonTOCSock::SetAway(const QByteArray& strMessage)
{
    command([&] { return C::setAway(strMessage); });
}

void QuonTOCSock::SetIdle(std::int32_t lngMinutes)
{
    command([&] { return C::setIdle(lngMinutes); });
}

void QuonTOCSock::SetCapabilities(const QByteArray& strCapUUID)
{
    command([&] { return C::setCapabilities(strCapUUID); });
}

void QuonTOCSock::FormatUserName(const QByteArray& strNewFormattedUserName)
{
    command([&] { return C::formatUserName(strNewFormattedUserName); });
}

void QuonTOCSock::ChangePassword(const QByteArray& strOldPassword, const QByteArray& strNewPassword)
{
    command([&] { return C::changePassword(strOldPassword, strNewPassword); });
}

void QuonTOCSock::BlockUser(const QByteArray& strUserName)
{
    command([&] { return C::blockUser(strUserName); });
}

void QuonTOCSock::UnBlockUser(const QByteArray& strUserName)
{
    command([&] { return C::unBlockUser(strUserName); });
}

std::int32_t QuonTOCSock::GetChatID(const QByteArray& strRoomName) const
{
    return m_session->chatId(strRoomName);
}

std::int32_t QuonTOCSock::LastChatID() const
{
    return m_session->lastChatId();
}

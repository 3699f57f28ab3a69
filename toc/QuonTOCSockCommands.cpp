// The client commands: each builds its line and sends it as one data frame. A line that cannot be
// built throws before anything is sent, so the sequence counter does not move either.
#include "QuonTOCSock.h"

#include "ModTOC.h"
#include "TocCommands.h"
#include "TocConfig.h"

namespace C = TocCommands;

void QuonTOCSock::SendIm(const QByteArray& strUserName, const QByteArray& strMessage, bool blnAutoResponse)
{
    SendPacket2(C::sendIm(strUserName, strMessage, blnAutoResponse));
}

// A permanent buddy goes into the stored configuration. The whole configuration is sent back, with
// the groups, buddies and blocked names sign-on brought, so storing it never drops any of them.
void QuonTOCSock::AddBuddy(const QByteArray& strBuddy, bool blnPermanent)
{
    if (!blnPermanent) {
        SendPacket2(C::addBuddy(strBuddy));
        return;
    }
    QByteArrayList buddies = mConfigBuddies;
    TocConfig::addBuddy(buddies, strBuddy);
    const QByteArray line = C::setConfig(TocConfig::text(buddies, mConfigDenied, Combo1));
    mConfigBuddies = std::move(buddies);
    SendPacket2(line);
}

void QuonTOCSock::RemoveBuddy(const QByteArray& strBuddy)
{
    SendPacket2(C::removeBuddy(strBuddy));
}

void QuonTOCSock::WarnUser(const QByteArray& strUserName, bool blnAnonymous)
{
    SendPacket2(C::warnUser(strUserName, blnAnonymous));
}

void QuonTOCSock::JoinChat(const QByteArray& strRoomName, std::int16_t intExchange)
{
    SendPacket2(C::joinChat(strRoomName, intExchange));
}

void QuonTOCSock::SendChat(std::int32_t lngID, const QByteArray& strMessage)
{
    SendPacket2(C::sendChat(lngID, strMessage));
}

void QuonTOCSock::ChatWhisper(std::int32_t lngID, const QByteArray& strUserName, const QByteArray& strMessage)
{
    SendPacket2(C::chatWhisper(lngID, strUserName, strMessage));
}

void QuonTOCSock::ChatInvite(std::int32_t lngID, const QByteArray& strInviteMessage, const QByteArray& strUserName)
{
    SendPacket2(C::chatInvite(lngID, strInviteMessage, strUserName));
}

void QuonTOCSock::ChatLeave(std::int32_t lngID)
{
    SendPacket2(C::chatLeave(lngID));
}

void QuonTOCSock::AcceptChatInvite(std::int32_t lngID)
{
    SendPacket2(C::acceptChatInvite(lngID));
}

void QuonTOCSock::GetProfile(const QByteArray& strUserName)
{
    SendPacket2(C::getProfile(strUserName));
}

void QuonTOCSock::GetStatus(const QByteArray& strUserName)
{
    SendPacket2(C::getStatus(strUserName));
}

void QuonTOCSock::SetProfile(const QByteArray& strProfile)
{
    SendPacket2(C::setProfile(strProfile));
}

void QuonTOCSock::SetAway(const QByteArray& strMessage)
{
    SendPacket2(C::setAway(strMessage));
}

void QuonTOCSock::SetIdle(std::int32_t lngMinutes)
{
    SendPacket2(C::setIdle(lngMinutes));
}

void QuonTOCSock::SetCapabilities(const QByteArray& strCapUUID)
{
    SendPacket2(C::setCapabilities(strCapUUID));
}

void QuonTOCSock::FormatUserName(const QByteArray& strNewFormattedUserName)
{
    SendPacket2(C::formatUserName(strNewFormattedUserName));
}

void QuonTOCSock::ChangePassword(const QByteArray& strOldPassword, const QByteArray& strNewPassword)
{
    SendPacket2(C::changePassword(strOldPassword, strNewPassword));
}

void QuonTOCSock::BlockUser(const QByteArray& strUserName)
{
    SendPacket2(C::blockUser(strUserName));
}

void QuonTOCSock::UnBlockUser(const QByteArray& strUserName)
{
    SendPacket2(C::unBlockUser(strUserName));
}

// The first slot wins, so after the slot counter wraps an older entry may answer for a room
// joined twice. Slots never written have no name and match nothing that has one.
std::int32_t QuonTOCSock::GetChatID(const QByteArray& strRoomName) const
{
    const QByteArray wanted = ModTOC::NormalizeName(strRoomName);
    if (wanted.isEmpty())
        return 0;
    for (const ChatRoomEntry& room : mChatRooms) {
        if (ModTOC::NormalizeName(room.RoomName) == wanted)
            return room.ID;
    }
    return 0;
}

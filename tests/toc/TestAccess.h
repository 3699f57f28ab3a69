#pragma once
// The tests' seam into the client's private state (QuonTOCSock and its session name this struct
// their friend).
#include "QuonTOCSock.h"
#include "TocSession.h"

struct QuonTOCSockTestAccess {
    static std::int32_t& seq(QuonTOCSock& s) { return s.m_session->mlngSeq; }
    static QTimer& connectTimer(QuonTOCSock& s) { return s.tmrConnect; }
    static QTimer& antiIdleTimer(QuonTOCSock& s) { return s.tmrAntiIdle; }
    static const TocSession::ChatRoomEntry& room(const QuonTOCSock& s, int slot)
    {
        return s.m_session->mChatRooms.at(slot);
    }
    static std::int32_t roomSlot(const QuonTOCSock& s) { return s.m_session->mlngRoomSlot; }
    static const QByteArrayList& combo1(const QuonTOCSock& s) { return s.m_session->Combo1; }
};

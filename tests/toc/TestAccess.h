#pragma once
// The tests' seam into the client's private state (QuonTOCSock names this struct its friend).
#include "QuonTOCSock.h"

struct QuonTOCSockTestAccess {
    static std::int32_t& seq(QuonTOCSock& s) { return s.mlngSeq; }
    static QTimer& connectTimer(QuonTOCSock& s) { return s.tmrConnect; }
    static QTimer& antiIdleTimer(QuonTOCSock& s) { return s.tmrAntiIdle; }
    static const QuonTOCSock::ChatRoomEntry& room(const QuonTOCSock& s, int slot) { return s.mChatRooms.at(slot); }
    static std::int32_t roomSlot(const QuonTOCSock& s) { return s.mlngRoomSlot; }
    static const QByteArrayList& combo1(const QuonTOCSock& s) { return s.Combo1; }
};

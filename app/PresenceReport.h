#pragma once
// How present a screen name was in a room over a span of time, worked out from its stays there.
// Pure arithmetic: no database, no clock.
//
// The span measured starts at the later of the window's start and the room's first stay, and ends
// at the window's end. Time after the user left the room (until a later stay) is not measured:
// the room was not wanted then. Every other stretch of the span without a stay is a gap, with the
// reason the stay before it ended.
#include "Transcript.h"

#include <QList>
#include <QString>

namespace PresenceReport {

using Transcript::Reason;
using Transcript::Time;

struct Stay {
    Time from = 0;
    Time to = 0; // for a stay still going on: now
    Reason why = Reason::Unrecorded;
};

struct Gap {
    Time from = 0;
    Time to = 0;
    Reason why = Reason::Unrecorded;
    Time length() const { return to - from; }
    bool operator==(const Gap&) const = default;
};

struct Presence {
    Time since = 0;    // where the span starts
    Time measured = 0; // ms of the span measured
    Time present = 0;  // ms of them present
    QList<Gap> gaps;
    QList<Stay> stretches; // the stretches present, clipped to the span, oldest first
    /// Whether there is anything to say: some stay falls in the window.
    bool any() const { return measured > 0; }
    /// Present share of the measured time, 0 to 1.
    double share() const { return measured > 0 ? double(present) / double(measured) : 0.0; }
    Time longestGap() const;
    /// The share as a percentage with one decimal, rounded down, so that "100.0" means no gap.
    QString percent() const;
};

/// The presence in [windowStart, windowEnd) given the room's stays in any order (also those
/// before the window: the last of them names the reason of a gap the window starts in).
Presence measure(QList<Stay> stays, Time windowStart, Time windowEnd);

} // namespace PresenceReport

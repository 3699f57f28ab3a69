#include "PresenceReport.h"

#include <QString>

#include <algorithm>

namespace PresenceReport {

Time Presence::longestGap() const
{
    Time longest = 0;
    for (const Gap& gap : gaps)
        longest = std::max(longest, gap.length());
    return longest;
}

Presence measure(QList<Stay> stays, Time windowStart, Time windowEnd)
{
    Presence out;
    // Overlapping stays (two entries of one room) make one; it ended as the one ending last did.
    std::sort(stays.begin(), stays.end(), [](const Stay& a, const Stay& b) { return a.from < b.from; });
    QList<Stay> merged;
    for (const Stay& stay : std::as_const(stays)) {
        if (stay.to < stay.from)
            continue;
        if (!merged.isEmpty() && stay.from <= merged.back().to) {
            if (stay.to >= merged.back().to) {
                merged.back().to = stay.to;
                merged.back().why = stay.why;
            }
        } else {
            merged << stay;
        }
    }
    const auto inWindow = [&](const Stay& s) { return s.to > windowStart && s.from < windowEnd; };
    const auto first = std::find_if(merged.cbegin(), merged.cend(), inWindow);
    if (first == merged.cend())
        return out;
    bool wanted = false; // false before the first stay and after a Leave, until the next stay
    Reason why = Reason::Unrecorded;
    if (first != merged.cbegin()) {
        why = std::prev(first)->why;
        wanted = why != Reason::Left;
    }
    out.since = wanted ? windowStart : std::max(windowStart, first->from);
    Time cursor = out.since;
    const auto absent = [&](Time to) {
        if (to > cursor && wanted) {
            out.gaps << Gap{cursor, to, why};
            out.measured += to - cursor;
        }
    };
    for (auto it = first; it != merged.cend() && it->from < windowEnd; ++it) {
        absent(std::max(cursor, it->from));
        const Time from = std::max(it->from, out.since);
        const Time to = std::min(it->to, windowEnd);
        out.present += to - from;
        out.stretches << Stay{from, to, it->why};
        out.measured += to - from;
        cursor = to;
        why = it->why;
        wanted = why != Reason::Left;
    }
    absent(windowEnd);
    return out;
}

QString Presence::percent() const
{
    const qint64 tenths = measured > 0 ? present * 1000 / measured : 0;
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

} // namespace PresenceReport

// The presence arithmetic as a table: stays in, span, share and gaps out.
#include "PresenceReport.h"

#include <gtest/gtest.h>

using namespace PresenceReport;
using R = Transcript::Reason;

namespace {

struct Case {
    const char* name;
    QList<Stay> stays;
    Time start, end;
    Time since, measured, present;
    QList<Gap> gaps;
};

TEST(PresenceReport, Table)
{
    const QList<Case> cases{
        {"present throughout", {{0, 2000, R::Quit}}, 1000, 2000, 1000, 1000, 1000, {}},
        {"measured from the first stay", {{1500, 2000, R::Quit}}, 1000, 2000, 1500, 500, 500, {}},
        {"a lost connection", {{0, 1200, R::Lost}, {1300, 3000, R::Quit}}, 1000, 2000, 1000, 1000, 900,
         {{1200, 1300, R::Lost}}},
        {"the window starts in a gap",
         {{0, 900, R::DeadLink}, {1100, 3000, R::Quit}},
         1000, 2000, 1000, 1000, 900, {{1000, 1100, R::DeadLink}}},
        {"still away at the end", {{0, 1800, R::SignedOnElsewhere}}, 1000, 2000, 1000, 1000, 800,
         {{1800, 2000, R::SignedOnElsewhere}}},
        {"time after a Leave is not measured",
         {{1000, 1200, R::Left}, {1500, 1600, R::Left}},
         1000, 2000, 1000, 300, 300, {}},
        {"overlapping stays are one; the last to end names the gap",
         {{1000, 1500, R::Ejected}, {1100, 1400, R::Lost}, {1700, 2000, R::Quit}},
         1000, 2000, 1000, 1000, 800, {{1500, 1700, R::Ejected}}},
        {"nothing in the window", {{0, 900, R::Lost}, {2100, 2200, R::Quit}}, 1000, 2000, 0, 0, 0, {}},
        {"stays in any order, a zero gap is none",
         {{1500, 2000, R::Quit}, {1000, 1500, R::Lost}},
         1000, 2000, 1000, 1000, 1000, {}},
    };
    for (const Case& c : cases) {
        const Presence p = measure(c.stays, c.start, c.end);
        EXPECT_EQ(p.since, c.since) << c.name;
        EXPECT_EQ(p.measured, c.measured) << c.name;
        EXPECT_EQ(p.present, c.present) << c.name;
        EXPECT_EQ(p.gaps, c.gaps) << c.name;
    }
}

TEST(PresenceReport, PercentRoundsDownSoThatOnlyNoGapIsAHundred)
{
    Presence p;
    p.measured = 7 * 24 * 3600 * 1000LL;
    p.present = p.measured - 1;
    EXPECT_EQ(p.percent(), "99.9");
    p.present = p.measured;
    EXPECT_EQ(p.percent(), "100.0");
    p.present = p.measured / 3;
    EXPECT_EQ(p.percent(), "33.3");
    p.present = 0;
    EXPECT_EQ(p.percent(), "0.0");
}

} // namespace

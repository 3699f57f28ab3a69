#pragma once
// Time as the session keeper sees it: one-shot timers and a source of spread for its waits. The
// program runs on Qt's timers, optionally faster (--retry-scale); unit tests use a clock they move
// by hand.
#include <chrono>
#include <functional>
#include <memory>

class PresenceTimer
{
public:
    virtual ~PresenceTimer() = default;
    /// Fires once after the given time, unless stopped or started again first.
    virtual void start(std::chrono::milliseconds after) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class PresenceClock
{
public:
    virtual ~PresenceClock() = default;
    /// A stopped timer that calls onTimeout each time it fires. The callback may destroy the timer.
    virtual std::unique_ptr<PresenceTimer> timer(std::function<void()> onTimeout) = 0;
    /// A number from 0 up to (not including) 1, to spread waits.
    virtual double random() = 0;
};

/// Qt's timers, every time divided by scale (at least 1), and a randomly seeded spread.
std::unique_ptr<PresenceClock> makeQtClock(double scale = 1.0);

#pragma once
// Time and a keychain for the session keeper that the test moves and answers by hand.
#include "PasswordVault.h"
#include "PresenceClock.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <optional>
#include <vector>

class FakeClock final : public PresenceClock
{
public:
    using ms = std::chrono::milliseconds;
    double spread = 0.5; // the middle of the range: every wait at its nominal length
    ms now{0};

    std::unique_ptr<PresenceTimer> timer(std::function<void()> onTimeout) override
    {
        return std::make_unique<Timer>(*this, std::move(onTimeout));
    }
    double random() override { return spread; }

    /// Moves time on, firing each timer that comes due on the way, in order.
    void advance(ms by)
    {
        const ms end = now + by;
        while (Timer* next = due(end)) {
            now = *next->at;
            next->at.reset();
            next->fire();
        }
        now = end;
    }
    /// Runs what is due now (the decisions taken once an event is through).
    void settle() { advance(ms(0)); }

private:
    struct Timer final : PresenceTimer {
        Timer(FakeClock& c, std::function<void()> f) : clock(c), fire(std::move(f)) { clock.m_timers.push_back(this); }
        ~Timer() override { std::erase(clock.m_timers, this); }
        void start(ms after) override
        {
            at = clock.now + after;
            order = ++clock.m_starts;
        }
        void stop() override { at.reset(); }
        bool isActive() const override { return at.has_value(); }
        FakeClock& clock;
        std::function<void()> fire;
        std::optional<ms> at;
        long order = 0;
    };

    Timer* due(ms end) const
    {
        Timer* first = nullptr;
        for (Timer* t : m_timers)
            if (t->at && *t->at <= end && (!first || std::pair(*t->at, t->order) < std::pair(*first->at, first->order)))
                first = t;
        return first;
    }

    std::vector<Timer*> m_timers;
    long m_starts = 0;
};

/// A keychain that answers at once, or says it is not there.
class FakeVault final : public PasswordVault
{
public:
    bool available = true;
    QHash<QString, QString> kept;
    QStringList calls;

    void read(const QString& account) override
    {
        calls << "read " + account;
        if (available)
            emit readDone(account, kept.value(account));
        else
            emit unavailable();
    }
    void write(const QString& account, const QString& password) override
    {
        calls << "write " + account;
        if (available)
            kept.insert(account, password);
        else
            emit unavailable();
    }
    void erase(const QString& account) override
    {
        calls << "erase " + account;
        kept.remove(account);
    }
};

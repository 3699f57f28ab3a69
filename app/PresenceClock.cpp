#include "PresenceClock.h"

#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

class QtTimer final : public PresenceTimer
{
public:
    QtTimer(std::function<void()> onTimeout, double scale)
        : m_scale(scale)
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTimeout));
    }
    void start(std::chrono::milliseconds after) override
    {
        const double ms = std::max<double>(0, double(after.count()) / m_scale);
        // QTimer counts in int milliseconds; the longest wait here is minutes.
        m_timer.start(int(std::min(std::round(ms), 2.0e9)));
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    double m_scale;
};

class QtClock final : public PresenceClock
{
public:
    explicit QtClock(double scale)
        : m_scale(std::max(1.0, scale))
    {
    }
    std::unique_ptr<PresenceTimer> timer(std::function<void()> onTimeout) override
    {
        return std::make_unique<QtTimer>(std::move(onTimeout), m_scale);
    }
    double random() override { return QRandomGenerator::global()->generateDouble(); }

private:
    double m_scale;
};

} // namespace

std::unique_ptr<PresenceClock> makeQtClock(double scale)
{
    return std::make_unique<QtClock>(scale);
}

#include "AppSettings.h"

#include <QSettings>

#include <optional>

#include <limits>

namespace AppSettings {

namespace {

QSettings open()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick"));
}

// An exchange as the wire carries it (0 to 32767), or nothing for anything else.
std::optional<std::int16_t> exchangeFrom(const QVariant& value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < 0 || number > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(number);
}

} // namespace

Presence::Remembered load()
{
    QSettings s = open();
    Presence::Remembered r;
    r.screenName = s.value(QStringLiteral("ScreenName")).toString();
    r.exchange = exchangeFrom(s.value(QStringLiteral("Exchange"), r.exchange)).value_or(r.exchange);
    r.staySignedOn = s.value(QStringLiteral("StaySignedOn"), r.staySignedOn).toBool();
    r.rememberPassword = s.value(QStringLiteral("RememberPassword"), r.rememberPassword).toBool();
    const int count = std::min(s.beginReadArray(QStringLiteral("Rooms")), kMaxRooms);
    for (int i = 0; i < count; ++i) {
        s.setArrayIndex(i);
        const QString name = s.value(QStringLiteral("Name")).toString();
        const auto exchange = exchangeFrom(s.value(QStringLiteral("Exchange")));
        if (!name.trimmed().isEmpty() && exchange)
            r.rooms << Presence::Room{name, *exchange};
    }
    s.endArray();
    return r;
}

void save(const Presence::Remembered& r)
{
    QSettings s = open();
    s.setValue(QStringLiteral("ScreenName"), r.screenName);
    s.setValue(QStringLiteral("Exchange"), int(r.exchange));
    s.setValue(QStringLiteral("StaySignedOn"), r.staySignedOn);
    s.setValue(QStringLiteral("RememberPassword"), r.rememberPassword);
    s.remove(QStringLiteral("Rooms"));
    s.beginWriteArray(QStringLiteral("Rooms"), int(r.rooms.size()));
    for (int i = 0; i < r.rooms.size(); ++i) {
        s.setArrayIndex(i);
        s.setValue(QStringLiteral("Name"), r.rooms[i].name);
        s.setValue(QStringLiteral("Exchange"), int(r.rooms[i].exchange));
    }
    s.endArray();
}

} // namespace AppSettings

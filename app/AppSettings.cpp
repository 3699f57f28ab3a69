#include "AppSettings.h"

#include "ServerOption.h"
#include "TarnwickBuildConfig.h"
#include "Texts.h"
#include "Transcript.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <limits>
#include <optional>

namespace {

// An exchange as the wire carries it (0 to 32767), or nothing for anything else.
std::optional<std::int16_t> exchangeFrom(const QVariant& value)
{
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    if (!ok || number < 0 || number > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(number);
}

std::optional<std::optional<ServerAddress>> serverFrom(const QVariant& value)
{
    if (const auto server = parseServerOption(value.toString(), TarnwickBuild::kTocPort))
        return std::optional<ServerAddress>(*server);
    return std::nullopt;
}

std::optional<int> daysFrom(const QVariant& value)
{
    bool ok = false;
    const int days = value.toString().trimmed().toInt(&ok);
    if (!ok || days < 1 || days > AppSettings::kMostKeepDays)
        return std::nullopt;
    return days;
}

std::optional<bool> flagFrom(const QVariant& value)
{
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// Lines QSettings reads as comments: they would be gone once the file is written again.
bool hasComments(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith(';') || line.startsWith('#'))
            return true;
    }
    return false;
}

} // namespace

AppSettings::AppSettings()
    : AppSettings(QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tarnwick"),
                            QStringLiteral("Tarnwick"))
                      .fileName())
{
}

std::optional<ServerAddress> AppSettings::rememberedServer() const
{
    if (!QFileInfo::exists(m_path))
        return std::nullopt;
    return parseServerOption(QSettings(m_path, QSettings::IniFormat).value(QStringLiteral("Server")).toString(),
                             TarnwickBuild::kTocPort);
}

AppSettings::AppSettings(QString path)
    : m_path(std::move(path)), m_keepDays(Transcript::kDefaultKeepDays)
{
}

QString AppSettings::folder() const
{
    return QFileInfo(m_path).absolutePath();
}

RememberedSettings AppSettings::load()
{
    m_problem.clear();
    m_keepAsItIs.clear();
    m_keepDays = Transcript::kDefaultKeepDays;
    RememberedSettings r;
    if (!QFileInfo::exists(m_path))
        return r;
    QSettings s(m_path, QSettings::IniFormat);
    QStringList unreadable;
    if (s.status() != QSettings::NoError)
        unreadable << Texts::get(Text::SettingsMalformed);
    if (hasComments(m_path))
        unreadable << Texts::get(Text::SettingsComments);

    const auto value = [&](const char* key, auto read, auto& into) {
        const QVariant v = s.value(QLatin1String(key));
        if (!v.isValid())
            return;
        if (const auto got = read(v))
            into = *got;
        else
            unreadable << Texts::get(Text::SettingsBadValue, {QLatin1String(key)});
    };
    value("Server", serverFrom, r.server);
    r.screenName = s.value(QStringLiteral("ScreenName")).toString();
    value("Exchange", exchangeFrom, r.exchange);
    value("StaySignedOn", flagFrom, r.staySignedOn);
    value("RememberPassword", flagFrom, r.rememberPassword);
    value("KeepDays", daysFrom, m_keepDays);

    // Every entry of the array, whatever its size key says; the size must agree with them.
    s.beginGroup(QStringLiteral("Rooms"));
    const QStringList groups = s.childGroups();
    bool sizeOk = false;
    const int size = s.value(QStringLiteral("size")).toInt(&sizeOk);
    s.endGroup();
    QList<int> indexes;
    for (const QString& group : groups) {
        bool ok = false;
        const int i = group.toInt(&ok);
        if (ok && i >= 1)
            indexes << i;
    }
    std::sort(indexes.begin(), indexes.end());
    int badRooms = int(groups.size() - indexes.size());
    for (int i : indexes) {
        const QString at = QStringLiteral("Rooms/%1/").arg(i);
        const QString name = s.value(at + QStringLiteral("Name")).toString();
        const auto exchange = exchangeFrom(s.value(at + QStringLiteral("Exchange")));
        if (!name.trimmed().isEmpty() && exchange)
            r.rooms << Room{name, *exchange};
        else
            ++badRooms;
    }
    if (!groups.isEmpty() && (!sizeOk || size != indexes.size() || (!indexes.isEmpty() && indexes.last() != size)))
        unreadable << Texts::get(Text::SettingsRoomCount);
    if (badRooms > 0)
        unreadable << Texts::get(Text::SettingsBadRooms, {QString::number(badRooms)});

    if (!unreadable.isEmpty())
        m_problem = keepUnreadable(unreadable.join(QStringLiteral(", ")));
    return r;
}

// A copy of the file as it is, beside it, before anything is written over it: once, however many
// runs find the same file.
QString AppSettings::keepUnreadable(const QString& what)
{
    QFile file(m_path);
    const QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QString copy = m_path + QStringLiteral(".unreadable");
    for (int n = 2;; ++n) {
        QFile existing(copy);
        if (!existing.exists())
            break;
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
            return Texts::get(Text::SettingsUnreadable, {m_path, what, copy});
        copy = m_path + QStringLiteral(".unreadable.%1").arg(n);
    }
    QFile out(copy);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.flush()) {
        // What could not be kept is not written over.
        m_keepAsItIs = Texts::get(Text::SettingsNotKept, {copy, out.errorString()});
        m_lastFailure = m_keepAsItIs;
        return Texts::get(Text::SettingsNotSaved, {m_keepAsItIs});
    }
    return Texts::get(Text::SettingsUnreadable, {m_path, what, copy});
}

QString AppSettings::save(const RememberedSettings& r)
{
    QString failure = m_keepAsItIs;
    if (failure.isEmpty()) {
        QDir().mkpath(folder());
        QSettings s(m_path, QSettings::IniFormat);
        if (r.server)
            s.setValue(QStringLiteral("Server"), r.server->text());
        else
            s.remove(QStringLiteral("Server"));
        s.setValue(QStringLiteral("ScreenName"), r.screenName);
        s.setValue(QStringLiteral("Exchange"), int(r.exchange));
        s.setValue(QStringLiteral("StaySignedOn"), r.staySignedOn);
        s.setValue(QStringLiteral("RememberPassword"), r.rememberPassword);
        s.setValue(QStringLiteral("KeepDays"), m_keepDays);
        s.remove(QStringLiteral("Rooms"));
        s.beginWriteArray(QStringLiteral("Rooms"), int(r.rooms.size()));
        for (int i = 0; i < r.rooms.size(); ++i) {
            s.setArrayIndex(i);
            s.setValue(QStringLiteral("Name"), r.rooms[i].name);
            s.setValue(QStringLiteral("Exchange"), int(r.rooms[i].exchange));
        }
        s.endArray();
        s.sync();
        if (s.status() == QSettings::NoError) {
            m_lastFailure.clear();
            return {};
        }
        const QFileInfo dir(folder());
        failure = !dir.isDir()                                  ? Texts::get(Text::SettingsNoFolder, {folder()})
                  : !dir.isWritable()                           ? Texts::get(Text::SettingsFolderReadOnly, {folder()})
                  : QFileInfo::exists(m_path) && !QFileInfo(m_path).isWritable()
                      ? Texts::get(Text::SettingsFileReadOnly, {m_path})
                      : Texts::get(Text::SettingsNotWritten, {m_path});
    }
    if (failure == std::exchange(m_lastFailure, failure))
        return {};
    return Texts::get(Text::SettingsNotSaved, {failure});
}

#include "Presence.h"

#include "QuonTOCSock.h"
#include "StopSignals.h"
#include "TocFramer.h"
#include "TocParser.h"

#include <QPointer>

#include <stdexcept>

namespace {

bool isError(const QByteArray& payload)
{
    static constexpr QByteArrayView word("ERROR:");
    return payload.size() >= word.size()
           && QByteArrayView(payload).first(word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

QString Presence::defaultHost()
{
    return QString::fromUtf8(TarnwickBuild::kTocHost);
}

ServerAddress defaultServer()
{
    return {Presence::defaultHost(), Presence::kDefaultPort};
}

Presence::Presence(QuonTOCSock& sock, std::unique_ptr<PresenceClock> clock, std::unique_ptr<PasswordVault> vault,
                   QObject* parent)
    : QObject(parent)
    , m_sock(sock)
    , m_clock(clock ? std::move(clock) : makeQtClock())
    , m_vault(std::move(vault))
    , m_core([this] { return m_clock->random(); })
    , m_host(defaultHost())
{
    for (int i = 0; i < kPresenceTimerCount; ++i)
        m_timers[i] = m_clock->timer([this, i] { feed(PresenceIn::TimerFired{PresenceTimerId(i)}); });

    using namespace PresenceIn;
    connect(&m_sock, &QuonTOCSock::LoggedIn, this, [this] { feed(LoggedIn{}); });
    connect(&m_sock, &QuonTOCSock::LoggedOff, this, [this] { feed(LoggedOff{}); });
    connect(&m_sock, &QuonTOCSock::IncomingPacket, this, &Presence::onIncomingPacket);
    connect(&m_sock, &QuonTOCSock::Error, this,
            [this](std::int16_t code) { feed(ServerError{code, std::exchange(m_errorArgument, QString())}); });
    connect(&m_sock, &QuonTOCSock::SocketError, this,
            [this](std::int16_t, const QString& description) { feed(SocketError{description}); });
    connect(&m_sock, &QuonTOCSock::JoinedChat, this,
            [this](const QByteArray& name, std::int32_t id) { feed(JoinedChat{name, id}); });
    connect(&m_sock, &QuonTOCSock::LeftChat, this, [this](std::int32_t id) { feed(LeftChat{id}); });
    if (m_vault) {
        connect(m_vault.get(), &PasswordVault::readDone, this,
                [this](const QString& account, const QString& password) { feed(VaultRead{account, password}); });
        connect(m_vault.get(), &PasswordVault::unavailable, this, [this] { feed(VaultUnavailable{}); });
        connect(m_vault.get(), &PasswordVault::waitingForUnlock, this, [this] { feed(VaultWaiting{}); });
    }
}

Presence::~Presence() = default;

void Presence::setServer(const QString& host, quint16 port)
{
    m_host = host;
    m_port = port;
}

// The ERROR line's argument travels beside its code, which the client's Error event gives alone.
void Presence::onIncomingPacket(std::int16_t type, const QByteArray& payload)
{
    m_errorArgument.clear();
    if (type == std::int16_t(FrameType::Data) && isError(payload)) {
        const ServerMessage message = TocParser::parse(payload);
        if (const auto* error = std::get_if<TocMessage::Error>(&message))
            m_errorArgument = QString::fromUtf8(error->argument);
    }
    feed(PresenceIn::Traffic{});
}

void Presence::feed(PresenceInput input)
{
    m_inputs.push_back(std::move(input));
    if (m_feeding)
        return; // done once the effects of the input before it are through
    const QPointer<Presence> self(this);
    m_feeding = true;
    while (!m_inputs.empty()) {
        const PresenceEffects effects = m_core.handle(m_inputs.front());
        m_inputs.pop_front();
        for (const PresenceEffect& effect : effects)
            if (!apply(effect))
                return;
        if (std::exchange(m_roomsChanged, false)) {
            emit roomsChanged();
            if (!self)
                return;
        }
    }
    m_feeding = false;
}

bool Presence::apply(const PresenceEffect& effect)
{
    using namespace PresenceOut;
    const QPointer<Presence> self(this);
    std::visit(
        [&](const auto& e) {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, Login>) {
                keepSecretsFromDumps();
                try {
                    m_sock.Login(e.name.toUtf8(), e.password.toUtf8(), m_host, m_port);
                } catch (const std::invalid_argument&) {
                    // The core refuses what the client would; should they ever differ, nothing is sent.
                }
            } else if constexpr (std::is_same_v<E, LogOff>) {
                m_sock.LogOff();
            } else if constexpr (std::is_same_v<E, SetProfile>) {
                m_sock.SetProfile(QByteArray(kProfile));
            } else if constexpr (std::is_same_v<E, JoinChat>) {
                try {
                    m_sock.JoinChat(e.room.toUtf8(), e.exchange);
                } catch (const std::invalid_argument&) {
                }
            } else if constexpr (std::is_same_v<E, LeaveChat>) {
                m_sock.ChatLeave(e.roomId);
            } else if constexpr (std::is_same_v<E, AskStatus>) {
                try {
                    m_sock.GetStatus(e.name);
                } catch (const std::invalid_argument&) {
                }
            } else if constexpr (std::is_same_v<E, StartTimer>) {
                m_timers[int(e.timer)]->start(e.after);
            } else if constexpr (std::is_same_v<E, StopTimer>) {
                m_timers[int(e.timer)]->stop();
            } else if constexpr (std::is_same_v<E, Log>) {
                QStringList args = e.args;
                if (e.asTyped && m_joinLabel && !args.isEmpty())
                    args[0] = m_joinLabel();
                const QString line = Texts::get(e.text, args);
                if (e.direct)
                    emit directLogLine(line);
                else
                    emit logLine(line);
            } else if constexpr (std::is_same_v<E, Status>) {
                emit statusChanged(Texts::get(e.text));
            } else if constexpr (std::is_same_v<E, Notify>) {
                emit notify(Texts::get(e.text));
            } else if constexpr (std::is_same_v<E, RowAdded>) {
                m_rooms.append(e.row);
                m_roomsChanged = true;
            } else if constexpr (std::is_same_v<E, RowChanged>) {
                m_rooms.replace(e.index, e.row);
                m_roomsChanged = true;
            } else if constexpr (std::is_same_v<E, RowRemoved>) {
                m_rooms.remove(e.index);
                m_roomsChanged = true;
            } else if constexpr (std::is_same_v<E, SaveSettings>) {
                emit rememberedChanged();
            } else if constexpr (std::is_same_v<E, ReadVault>) {
                if (m_vault)
                    m_vault->read(e.account);
                else
                    feed(PresenceIn::VaultUnavailable{});
            } else if constexpr (std::is_same_v<E, WriteVault>) {
                if (m_vault)
                    m_vault->write(e.account, e.password);
                else
                    feed(PresenceIn::VaultUnavailable{});
            } else if constexpr (std::is_same_v<E, EraseVault>) {
                if (m_vault)
                    m_vault->erase(e.account);
            } else if constexpr (std::is_same_v<E, PasswordRecalled>) {
                keepSecretsFromDumps();
                emit passwordRecalled(e.password);
            } else if constexpr (std::is_same_v<E, Ended>) {
                emit ended();
            }
        },
        effect);
    return self;
}

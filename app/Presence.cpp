#include "Presence.h"

#include "QuonTOCSock.h"
#include "StopSignals.h"
#include "TocFramer.h"
#include "TocParser.h"
#include "TranscriptStore.h"

#include <QPointer>

#include <stdexcept>

namespace {

bool startsWith(const QByteArray& payload, QByteArrayView word)
{
    return payload.size() >= word.size()
           && QByteArrayView(payload).first(word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// Lines whose event leaves out something wanted here: the ERROR's argument, every user of a
// CHAT_UPDATE_BUDDY, the auto-response flag of an IM_IN_ENC2.
bool carriesMore(const QByteArray& payload)
{
    return startsWith(payload, "ERROR:") || startsWith(payload, "CHAT_UPDATE_BUDDY:")
           || startsWith(payload, "IM_IN_ENC2:");
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
    connect(&m_sock, &QuonTOCSock::IncomingChatMessage, this, &Presence::onChatMessage);
    connect(&m_sock, &QuonTOCSock::ChatUserUpdate, this, &Presence::onChatUsers);
    connect(&m_sock, &QuonTOCSock::IncomingMessage, this, &Presence::onInstantMessage);
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

void Presence::keepRecord(std::unique_ptr<TranscriptStore> store)
{
    m_store = std::move(store);
    connect(m_store.get(), &TranscriptStore::failed, this, &Presence::logLine);
}

bool Presence::openRecord()
{
    return m_store && (m_store->isOpen() || m_store->open());
}

// What the client's events leave out travels beside them: the packet comes just before its event.
void Presence::onIncomingPacket(std::int16_t type, const QByteArray& payload)
{
    m_errorArgument.clear();
    m_chatUsers.clear();
    m_autoResponse = false;
    if (type == std::int16_t(FrameType::Data) && carriesMore(payload)) {
        const ServerMessage message = TocParser::parse(payload);
        if (const auto* error = std::get_if<TocMessage::Error>(&message))
            m_errorArgument = QString::fromUtf8(error->argument);
        else if (const auto* update = std::get_if<TocMessage::ChatUpdateBuddy>(&message))
            m_chatUsers = update->users;
        else if (const auto* im = std::get_if<TocMessage::ImIn>(&message))
            m_autoResponse = im->autoResponse;
    }
    feed(PresenceIn::Traffic{});
}

Transcript::RoomRef Presence::roomOf(const RoomRow& row) const
{
    return {m_account, row.name, row.exchange};
}

QStringList Presence::members(const Transcript::RoomRef& room) const
{
    QStringList names;
    for (const InRoom& in : m_inRooms) {
        if (!in.ref.sameRoom(room))
            continue;
        for (const QByteArray& member : in.members)
            names << Transcript::shownName(member);
        break;
    }
    return names;
}

bool Presence::say(const Transcript::RoomRef& room, const QByteArray& text)
{
    if (!signedOn())
        return false;
    for (auto it = m_inRooms.cbegin(); it != m_inRooms.cend(); ++it) {
        if (!it->ref.sameRoom(room))
            continue;
        try {
            m_sock.SendChat(it.key(), text);
        } catch (const std::invalid_argument&) {
            return false; // too long for one line, or a zero byte
        }
        return true;
    }
    return false;
}

void Presence::onChatMessage(std::int32_t roomId, const QByteArray& sender, bool whisper, const QByteArray& text)
{
    if (!m_store)
        return;
    const auto it = m_inRooms.constFind(roomId);
    if (it != m_inRooms.cend())
        m_store->chatMessage(it->ref.name, it->ref.exchange, sender, whisper, text);
}

// Right after a join the server lists who is in the room: they were there before us, nobody came.
// After that each line says who came or went.
void Presence::onChatUsers(std::int32_t roomId, bool inside, const QByteArray& user, const QByteArray& user2)
{
    QByteArrayList users = std::exchange(m_chatUsers, {});
    if (users.isEmpty()) // raised without its packet (a client that gives none)
        for (const QByteArray& u : {user, user2})
            if (!u.isEmpty())
                users << u;
    const auto it = m_inRooms.find(roomId);
    if (it == m_inRooms.end())
        return;
    InRoom& room = *it;
    if (!std::exchange(room.listed, true) && inside) {
        room.members = users;
    } else {
        for (const QByteArray& member : std::as_const(users)) {
            const QByteArray key = Transcript::normalised(member);
            room.members.removeIf([&](const QByteArray& m) { return Transcript::normalised(m) == key; });
            if (inside)
                room.members << member;
            if (m_store)
                m_store->memberChanged(room.ref.name, room.ref.exchange, member, inside);
        }
    }
    emit membersChanged();
}

void Presence::onInstantMessage(const QByteArray& sender, const QByteArray& text)
{
    if (m_store)
        m_store->instantMessage(sender, false, std::exchange(m_autoResponse, false), text);
    const QPointer<Presence> self(this);
    emit instantMessageReceived(sender);
    if (self)
        emit notify(Texts::get(Text::NotifyInstantMessage, {Transcript::shownName(sender)}));
}

// Out of every room: the session ended, or a new one began.
void Presence::leaveRooms()
{
    if (m_inRooms.isEmpty())
        return;
    m_inRooms.clear();
    m_membersChanged = true;
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
        if (std::exchange(m_membersChanged, false)) {
            emit membersChanged();
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
            } else if constexpr (std::is_same_v<E, SessionStarted>) {
                leaveRooms();
                m_account = Transcript::normalised(e.screenName.toUtf8());
                if (!m_store)
                    return;
                openRecord();
                m_store->sessionStarted(e.screenName.toUtf8());
            } else if constexpr (std::is_same_v<E, SessionEnded>) {
                leaveRooms();
                if (!m_store)
                    return;
                openRecord();
                if (e.why == Transcript::Reason::Refused)
                    m_store->signOnRefused(m_core.screenName().toUtf8());
                else
                    m_store->sessionEnded(e.why);
            } else if constexpr (std::is_same_v<E, RoomEntered>) {
                InRoom& room = m_inRooms[e.row.id];
                room.ref = roomOf(e.row);
                room.listed = false; // the server lists the members after each confirmation
                m_membersChanged = true;
                if (m_store)
                    m_store->roomEntered(e.row.name, e.row.exchange);
            } else if constexpr (std::is_same_v<E, RoomLeft>) {
                const auto it = m_inRooms.constFind(e.roomId);
                if (it == m_inRooms.cend())
                    return;
                const Transcript::RoomRef room = it->ref;
                m_inRooms.erase(it);
                m_membersChanged = true;
                if (m_store)
                    m_store->roomLeft(room.name, room.exchange, e.why);
            }
        },
        effect);
    return self;
}

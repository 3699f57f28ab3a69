#include "Presence.h"

#include "ModTOC.h"
#include "QuonTOCSock.h"
#include "TocErrors.h"
#include "TocFramer.h"
#include "TocParser.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

QByteArray normalised(const QString& name)
{
    return ModTOC::NormalizeName(name.toUtf8());
}

// The keychain keeps one password per screen name, whatever its blanks and capitals.
QString account(const QString& screenName)
{
    return QString::fromUtf8(normalised(screenName));
}

bool isError(const QByteArray& payload)
{
    static constexpr QByteArrayView word("ERROR:");
    return payload.size() >= word.size() && QByteArrayView(payload).first(word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

} // namespace

QString Presence::defaultHost()
{
    return QString::fromUtf8(TarnwickBuild::kTocHost);
}

QString Presence::Room::key() const
{
    return QString::fromUtf8(normalised(name)) + QLatin1Char(':') + QString::number(exchange);
}

Presence::Presence(QuonTOCSock& sock, std::unique_ptr<PresenceClock> clock, std::unique_ptr<PasswordVault> vault,
                   QObject* parent)
    : QObject(parent)
    , m_sock(sock)
    , m_clock(clock ? std::move(clock) : makeQtClock())
    , m_vault(std::move(vault))
    , m_host(defaultHost())
{
    m_retry = m_clock->timer([this] {
        if (m_state == State::Waiting)
            login(m_screenName, m_password, false);
    });
    m_decision = m_clock->timer([this] { decide(); });
    m_quiet = m_clock->timer([this] { onQuiet(); });
    m_answer = m_clock->timer([this] { onNoAnswer(); });
    m_rejoinLimit = m_clock->timer([this] { onRejoinLimit(); });

    connect(&m_sock, &QuonTOCSock::LoggedIn, this, &Presence::onLoggedIn);
    connect(&m_sock, &QuonTOCSock::LoggedOff, this, &Presence::onLoggedOff);
    connect(&m_sock, &QuonTOCSock::IncomingPacket, this, &Presence::onIncomingPacket);
    connect(&m_sock, &QuonTOCSock::Error, this, &Presence::onError);
    connect(&m_sock, &QuonTOCSock::SocketError, this, &Presence::onSocketError);
    connect(&m_sock, &QuonTOCSock::JoinedChat, this, &Presence::onJoinedChat);
    connect(&m_sock, &QuonTOCSock::LeftChat, this, &Presence::onLeftChat);
    if (m_vault) {
        connect(m_vault.get(), &PasswordVault::readDone, this, &Presence::onVaultRead);
        connect(m_vault.get(), &PasswordVault::unavailable, this, &Presence::noKeychain);
    }
}

Presence::~Presence() = default;

void Presence::setServer(const QString& host, quint16 port)
{
    m_host = host;
    m_port = port;
}

void Presence::restore(const Remembered& remembered)
{
    m_screenName = remembered.screenName;
    m_exchange = remembered.exchange;
    m_rooms.clear();
    for (const Room& room : remembered.rooms)
        addRoom(room);
    for (KeptRoom& kept : m_rooms)
        kept.remember = true;
    m_staySignedOn = remembered.staySignedOn;
    m_rememberPassword = remembered.rememberPassword;
}

Presence::Remembered Presence::remembered() const
{
    Remembered r{m_screenName, m_exchange, {}, m_staySignedOn, m_rememberPassword};
    for (const KeptRoom& kept : m_rooms)
        if (kept.remember)
            r.rooms << kept.room;
    return r;
}

void Presence::addRoom(const Room& room)
{
    const QString key = room.key();
    if (std::none_of(m_rooms.cbegin(), m_rooms.cend(), [&](const KeptRoom& k) { return k.room.key() == key; }))
        m_rooms << KeptRoom{room, false};
}

QList<Presence::Room> Presence::rooms() const
{
    QList<Room> list;
    for (const KeptRoom& kept : m_rooms)
        list << kept.room;
    return list;
}

void Presence::setStaySignedOn(bool on)
{
    if (on == m_staySignedOn)
        return;
    m_staySignedOn = on;
    const QPointer<Presence> self(this);
    emit rememberedChanged();
    if (!self || on || m_state != State::Waiting)
        return;
    // Nobody wants the pending sign-on any more.
    m_retry->stop();
    m_state = State::SignedOff;
    (void)status(QStringLiteral("Disconnected"));
}

void Presence::setRememberPassword(bool on)
{
    if (on == m_rememberPassword)
        return;
    m_rememberPassword = on;
    const QPointer<Presence> self(this);
    emit rememberedChanged();
    if (!self)
        return;
    if (on) {
        if (signedOn())
            (void)keepPassword();
    } else if (!m_screenName.isEmpty()) {
        m_vaultAccount.clear();
        m_vaultPassword.clear();
        if (m_vault)
            m_vault->erase(account(m_screenName));
    }
}

void Presence::start(bool connect)
{
    m_connectWhenRead = connect;
    if (m_rememberPassword && !m_screenName.isEmpty() && m_password.isEmpty()) {
        m_readingVault = true;
        if (m_vault)
            m_vault->read(account(m_screenName));
        else
            noKeychain();
        return;
    }
    if (connect)
        signOnRemembered();
}

void Presence::onVaultRead(const QString& accountName, const QString& password)
{
    if (!m_readingVault || accountName != account(m_screenName))
        return;
    m_readingVault = false;
    m_vaultAccount = accountName;
    m_vaultPassword = password;
    if (!password.isEmpty() && m_password.isEmpty()) {
        m_password = password;
        const QPointer<Presence> self(this);
        emit passwordRecalled(password);
        if (!self)
            return;
    }
    if (std::exchange(m_connectWhenRead, false))
        signOnRemembered();
}

void Presence::noKeychain()
{
    if (!m_saidNoKeychain) {
        m_saidNoKeychain = true;
        if (!log(QStringLiteral("No keychain available: the password is kept for this run only.")))
            return;
    }
    if (!std::exchange(m_readingVault, false))
        return;
    if (std::exchange(m_connectWhenRead, false))
        signOnRemembered();
}

void Presence::signOnRemembered()
{
    m_connectWhenRead = false;
    if (!m_screenName.isEmpty() && !m_password.isEmpty()) {
        const QPointer<Presence> self(this);
        if (!signOn(m_screenName, m_password) && self)
            emit ended();
        return;
    }
    if (log(m_screenName.isEmpty() ? QStringLiteral("Cannot sign on: no screen name remembered.")
                                   : QStringLiteral("Cannot sign on: no password remembered.")))
        emit ended();
}

// The keychain is told each name and password that signed on, once.
bool Presence::keepPassword()
{
    const QString accountName = account(m_screenName);
    if (!m_rememberPassword || m_password.isEmpty()
        || (accountName == m_vaultAccount && m_password == m_vaultPassword))
        return true;
    m_vaultAccount = accountName;
    m_vaultPassword = m_password;
    if (m_vault) {
        m_vault->write(accountName, m_password);
        return true;
    }
    const QPointer<Presence> self(this);
    noKeychain();
    return self;
}

bool Presence::log(const QString& line)
{
    const QPointer<Presence> self(this);
    emit logLine(line);
    return self;
}

bool Presence::status(const QString& text)
{
    const QPointer<Presence> self(this);
    emit statusChanged(text);
    return self;
}

bool Presence::signOn(const QString& name, const QString& password)
{
    m_attempt = 0; // a new start
    m_connectWhenRead = false;
    if (!login(name, password, true))
        return false;
    if (name != m_screenName || password != m_password) {
        m_screenName = name;
        m_password = password;
        const QPointer<Presence> self(this);
        emit rememberedChanged();
        if (!self)
            return true;
    }
    (void)log(QStringLiteral("Connected to server."));
    return true;
}

// Starts a sign-on; an automatic one logs its line here, the user's in signOn.
bool Presence::login(const QString& name, const QString& password, bool byUser)
{
    // The server judges the name and password; only what cannot be sent as typed is refused here.
    try {
        m_sock.Login(name.toUtf8(), password.toUtf8(), m_host, m_port);
    } catch (const std::invalid_argument&) {
        if (!byUser)
            m_state = State::SignedOff;
        (void)log(QStringLiteral("Invalid screen name or password."));
        return false;
    }
    cancelPlans();
    endSession();
    m_state = State::Connecting;
    m_refusal = 0;
    m_ownName = normalised(name);
    if (!byUser)
        (void)log(QStringLiteral("Connected to server."));
    return true;
}

void Presence::signOff()
{
    cancelPlans();
    endSession();
    m_state = State::SignedOff; // the LoggedOff that LogOff raises is ours, not a lost connection
    m_lostOnline = false;
    m_sock.LogOff();
    const QPointer<Presence> self(this);
    // Added directly: the log's selection stays where it is for this line.
    emit directLogLine(QStringLiteral("Disconnected from server."));
    if (self)
        (void)status(QStringLiteral("Disconnected"));
}

void Presence::stop()
{
    m_stopped = true;
    cancelPlans();
    endSession();
    if (m_state == State::Waiting || m_state == State::Lost)
        m_state = State::SignedOff;
}

void Presence::cancelPlans()
{
    m_retry->stop();
    m_decision->stop();
}

// What belonged to one connection: its watch, its unconfirmed joins, its room ids.
void Presence::endSession()
{
    m_quiet->stop();
    m_answer->stop();
    m_rejoinLimit->stop();
    m_pending.clear();
    m_roomKeys.clear();
}

void Presence::join(const QString& room, std::int16_t exchange)
{
    if (exchange != m_exchange) {
        m_exchange = exchange;
        const QPointer<Presence> self(this);
        emit rememberedChanged();
        if (!self)
            return;
    }
    if (!signedOn()) {
        (void)log(QStringLiteral("Not signed on."));
        return;
    }
    try {
        m_sock.JoinChat(room.toUtf8(), exchange);
    } catch (const std::invalid_argument&) {
        // A zero byte in the name, or a name too long for one frame.
        (void)log(QStringLiteral("Invalid room name."));
        return;
    }
    m_pending << Pending{Room{room, exchange}, false};
}

void Presence::leave(std::int32_t id, const QString& key)
{
    m_sock.ChatLeave(id);
    const QString left = key.isEmpty() ? m_roomKeys.value(id) : key;
    m_roomKeys.remove(id);
    (void)forgetRoom(left);
}

bool Presence::forgetRoom(const QString& key)
{
    if (m_rooms.removeIf([&](const KeptRoom& kept) { return kept.room.key() == key; }) == 0)
        return true;
    const QPointer<Presence> self(this);
    emit rememberedChanged();
    return self;
}

void Presence::onLoggedIn()
{
    m_state = State::SignedOn;
    m_attempt = 0;
    m_refusal = 0;
    const bool back = std::exchange(m_lostOnline, false);
    if (!status(QStringLiteral("Connected")))
        return;
    m_sock.SetProfile(QByteArray(kProfile));
    if (m_state != State::SignedOn)
        return;
    m_quiet->start(kQuietLimit);
    if (!keepPassword() || m_state != State::SignedOn)
        return;
    if (back) {
        const QPointer<Presence> self(this);
        emit connectionBack();
        if (!self || m_state != State::SignedOn)
            return;
    }
    rejoinAll();
}

void Presence::rejoinAll()
{
    QList<Room> refused;
    for (const Room& room : rooms()) {
        try {
            m_sock.JoinChat(room.name.toUtf8(), room.exchange);
            m_pending << Pending{room, true};
        } catch (const std::invalid_argument&) {
            refused << room; // a remembered name that cannot be sent
        }
    }
    if (!m_pending.isEmpty())
        m_rejoinLimit->start(kRejoinLimit);
    giveUp(refused);
}

// Rooms that could not be rejoined are no longer ones to be in.
void Presence::giveUp(const QList<Room>& rooms)
{
    const QPointer<Presence> self(this);
    for (const Room& room : rooms) {
        if (!forgetRoom(room.key()))
            return;
        emit rejoinFailed(room.key());
        if (!self || !log(QStringLiteral("Could not rejoin chatroom %1.").arg(room.label())))
            return;
    }
}

void Presence::onRejoinLimit()
{
    QList<Room> missing;
    m_pending.removeIf([&](const Pending& p) {
        if (p.rejoin)
            missing << p.room;
        return p.rejoin;
    });
    giveUp(missing);
}

// A confirmation answers the oldest join of a room by that name: servers answer in order, and may
// write the name with other capitals or blanks.
void Presence::onJoinedChat(const QByteArray& roomName, std::int32_t roomId)
{
    const QByteArray name = ModTOC::NormalizeName(roomName);
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [&](const Pending& p) { return normalised(p.room.name) == name; });
    const QPointer<Presence> self(this);
    if (it != m_pending.end()) {
        const Pending answered = *it;
        m_pending.erase(it);
        const QString key = answered.room.key();
        m_roomKeys.insert(roomId, key);
        if (answered.rejoin) {
            if (std::none_of(m_pending.cbegin(), m_pending.cend(), [](const Pending& p) { return p.rejoin; }))
                m_rejoinLimit->stop();
            emit rejoined(key, roomName, roomId);
            if (self)
                (void)log(QStringLiteral("Rejoined chatroom %1.").arg(answered.room.label()));
            return;
        }
        // Joined by the user: a room to be in from now on, this run and the next.
        const auto kept = std::find_if(m_rooms.begin(), m_rooms.end(),
                                       [&](const KeptRoom& k) { return k.room.key() == key; });
        const bool known = kept != m_rooms.end();
        if (!known || !std::exchange(kept->remember, true)) {
            if (!known)
                m_rooms << KeptRoom{answered.room, true};
            emit rememberedChanged();
            if (!self)
                return;
        }
        emit joinedChat(roomName, roomId, key);
    } else {
        emit joinedChat(roomName, roomId, QString());
    }
    if (!self)
        return;
    // The line names the room as the join named it; the list entry carries the server's name and the id.
    (void)log(QStringLiteral("Joined chatroom ")
              + (m_joinLabel ? m_joinLabel() : QString::fromUtf8(roomName)));
}

void Presence::onLeftChat(std::int32_t roomId)
{
    // Ejected (or the server says we left): the room is not rejoined.
    if (const QString key = m_roomKeys.take(roomId); !key.isEmpty() && !forgetRoom(key))
        return;
    (void)log(QStringLiteral("Left chatroom, ejected or error."));
}

void Presence::onIncomingPacket(std::int16_t type, const QByteArray& payload)
{
    m_errorArgument.clear();
    if (type == int(FrameType::Data) && isError(payload)) {
        const ServerMessage message = TocParser::parse(payload);
        if (const auto* error = std::get_if<TocMessage::Error>(&message))
            m_errorArgument = QString::fromUtf8(error->argument);
    }
    if (m_state == State::SignedOn) {
        m_answer->stop();
        m_quiet->start(kQuietLimit);
    }
}

void Presence::onError(std::int16_t code)
{
    // The sign-on errors decide whether and when to try again.
    if (code >= int(TocError::BadLogin) && code <= int(TocError::UnknownSignOnError))
        m_refusal = code;
    (void)log(TocErrors::logLine(code, std::exchange(m_errorArgument, QString())));
}

// Nothing from the server for a while: ask it about ourselves, which it answers at once.
void Presence::onQuiet()
{
    if (m_state != State::SignedOn)
        return;
    m_answer->start(kAnswerLimit);
    try {
        m_sock.GetStatus(m_ownName);
    } catch (const std::invalid_argument&) {
        // A name that signed on can be sent; should it not, the silence decides alone.
    }
}

void Presence::onNoAnswer()
{
    if (m_state != State::SignedOn)
        return;
    const auto silent = std::chrono::duration_cast<Seconds>(kQuietLimit + kAnswerLimit).count();
    if (!log(QStringLiteral("No answer from the server for %1 s.").arg(silent)) || m_state != State::SignedOn)
        return;
    // Closed here; the client's LoggedOff then reports the connection lost like any other.
    m_sock.LogOff();
}

void Presence::onSocketError(std::int16_t, const QString& description)
{
    // Whatever failed, no connection is left: the status bar must not go on saying "Connected".
    if (!status(QStringLiteral("Disconnected")))
        return;
    if (!log(QStringLiteral("Connection failed: ") + description))
        return;
    connectionEnded();
}

void Presence::onLoggedOff()
{
    // A sign-off of our own (or a stray report while nothing is open) is no lost connection.
    if (m_state == State::SignedOff || m_state == State::Waiting)
        return;
    if (!status(QStringLiteral("Disconnected")))
        return;
    if (!log(QStringLiteral("Connection to server lost.")))
        return;
    connectionEnded();
}

// A failed connect reports only an error; a lost connection may report an error and then its end.
// Both arrive in one go, so what to do next is decided once they are through.
void Presence::connectionEnded()
{
    if (m_state != State::Connecting && m_state != State::SignedOn && m_state != State::Lost)
        return; // the user has acted meanwhile
    const bool wasOnline = m_state == State::SignedOn;
    m_state = State::Lost;
    endSession();
    m_decision->start(std::chrono::milliseconds(0));
    if (wasOnline) {
        m_lostOnline = true;
        emit connectionLost();
    }
}

void Presence::decide()
{
    if (m_state != State::Lost)
        return;
    // A wrong name or password, or a warning level too high, will not change by trying again.
    if (m_stopped || !m_staySignedOn || m_refusal == int(TocError::BadLogin) || m_refusal == int(TocError::WarningTooHigh)) {
        m_state = State::SignedOff;
        if (!m_stopped)
            emit ended();
        return;
    }
    const std::chrono::milliseconds wait = nextWait();
    m_state = State::Waiting;
    m_retry->start(wait);
    const auto seconds = std::lround(double(wait.count()) / 1000);
    if (log(QStringLiteral("Reconnecting in %1 s.").arg(seconds)))
        (void)status(QStringLiteral("Reconnecting"));
}

std::chrono::milliseconds Presence::nextWait()
{
    const double first = double(kFirstRetry.count());
    const double longest = double(kLongestRetry.count());
    const double nominal = std::min(first * std::ldexp(1.0, std::min(m_attempt, 30)), longest);
    ++m_attempt;
    const double spread = 1.0 + kSpread * (2.0 * m_clock->random() - 1.0);
    double seconds = std::min(nominal * spread, longest);
    // The server asked for ten minutes' peace.
    if (m_refusal == int(TocError::ConnectingTooOften))
        seconds = std::max(seconds, double(kTooOftenRetry.count()));
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

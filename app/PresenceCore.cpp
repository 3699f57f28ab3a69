#include "PresenceCore.h"

#include "ModTOC.h"
#include "TocCommands.h"
#include "TocParser.h"
#include "TocSession.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

using namespace PresenceOut;
using Timer = PresenceTimerId;

QByteArray normalised(const QString& name)
{
    return ModTOC::NormalizeName(name.toUtf8());
}

// The keychain keeps one password per screen name, whatever its blanks and capitals.
QString account(const QString& screenName)
{
    return QString::fromUtf8(normalised(screenName));
}

bool refusesForGood(std::int16_t error)
{
    return error == std::int16_t(TocError::BadLogin) || error == std::int16_t(TocError::WarningTooHigh);
}

template <typename Build>
bool sendable(Build&& build)
{
    try {
        build();
        return true;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

} // namespace

QString Room::key() const
{
    return QString::fromUtf8(normalised(name)) + QLatin1Char(':') + QString::number(exchange);
}

PresenceCore::PresenceCore(std::function<double()> random)
    : m_random(std::move(random))
{
}

void PresenceCore::restore(const RememberedSettings& remembered)
{
    m_server = remembered.server;
    m_screenName = remembered.screenName;
    m_exchange = remembered.exchange;
    m_wanted.clear();
    for (const Room& room : remembered.rooms)
        addRoom(room);
    for (Wanted& w : m_wanted)
        w.remember = true;
    m_staySignedOn = remembered.staySignedOn;
    m_rememberPassword = remembered.rememberPassword;
}

RememberedSettings PresenceCore::remembered() const
{
    RememberedSettings r{m_server, m_screenName, m_exchange, {}, m_staySignedOn, m_rememberPassword};
    for (const Wanted& w : m_wanted)
        if (w.remember)
            r.rooms << w.room;
    return r;
}

void PresenceCore::addRoom(const Room& room)
{
    if (!wanted(room.key()))
        m_wanted << Wanted{room, false};
}

QList<Room> PresenceCore::rooms() const
{
    QList<Room> list;
    for (const Wanted& w : m_wanted)
        list << w.room;
    return list;
}

PresenceCore::Wanted* PresenceCore::wanted(const QString& key)
{
    const auto it = std::find_if(m_wanted.begin(), m_wanted.end(), [&](const Wanted& w) { return w.room.key() == key; });
    return it == m_wanted.end() ? nullptr : &*it;
}

PresenceEffects PresenceCore::handle(const PresenceInput& input)
{
    m_effects.clear();
    std::visit([this](const auto& in) { on(in); }, input);
    return std::exchange(m_effects, {});
}

// ---- the user

void PresenceCore::on(const PresenceIn::Start& in)
{
    m_connectWhenRead = in.connect;
    if (m_rememberPassword && !m_screenName.isEmpty() && m_password.isEmpty()) {
        m_readingVault = true;
        out(ReadVault{account(m_screenName)});
        return;
    }
    if (in.connect)
        signOnRemembered();
}

void PresenceCore::signOnRemembered()
{
    m_connectWhenRead = false;
    if (m_screenName.isEmpty() || m_password.isEmpty()) {
        log(m_screenName.isEmpty() ? Text::NoScreenNameRemembered : Text::NoPasswordRemembered);
        out(Ended{});
        return;
    }
    on(PresenceIn::Connect{m_screenName, m_password});
    if (m_state != State::Connecting)
        out(Ended{});
}

void PresenceCore::on(const PresenceIn::Connect& in)
{
    m_connectWhenRead = false;
    if (!login(in.name, in.password, true))
        return;
    // A new start: the waits count from the first again, and so do sessions cut short.
    m_attempt = 0;
    m_shortSessions = 0;
    if (in.name != m_screenName || in.password != m_password) {
        m_screenName = in.name;
        m_password = in.password;
        out(SaveSettings{});
    }
    log(Text::ConnectedToServer);
}

// Starts a sign-on; false, with its log line, when the name and password cannot be sent as typed.
// The server judges them otherwise.
bool PresenceCore::login(const QString& name, const QString& password, bool byUser)
{
    if (!sendable([&] { TocSession::checkLogin(name.toUtf8(), password.toUtf8()); })) {
        if (!byUser)
            m_state = State::SignedOff;
        log(Text::InvalidCredentials);
        return false;
    }
    endRecord(Transcript::Reason::Disconnect); // a Connect while signed on starts another session
    out(Login{name, password});
    cancelPlans();
    endSession();
    m_state = State::Connecting;
    m_refusal = 0;
    m_closingDeadLink = false;
    m_brokenOnline = false;
    m_ownName = normalised(name);
    return true;
}

void PresenceCore::on(const PresenceIn::Disconnect&)
{
    endRecord(Transcript::Reason::Disconnect);
    cancelPlans();
    endSession();
    m_state = State::SignedOff; // the LoggedOff that LogOff raises is ours, not a lost connection
    m_lostOnline = false;
    out(LogOff{});
    out(Log{Text::DisconnectedFromServer, {}, true});
    status(Text::StatusDisconnected);
}

void PresenceCore::on(const PresenceIn::Stop&)
{
    endRecord(Transcript::Reason::Quit);
    m_stopped = true;
    cancelPlans();
    endSession();
    if (m_state == State::Waiting || m_state == State::Lost)
        m_state = State::SignedOff;
}

void PresenceCore::on(const PresenceIn::Join& in)
{
    if (in.exchange != m_exchange) {
        m_exchange = in.exchange;
        out(SaveSettings{});
    }
    if (m_state != State::SignedOn)
        return log(Text::NotSignedOn);
    // A zero byte in the name, or a name too long for one line, cannot be sent.
    if (!sendable([&] { TocCommands::joinChat(in.room.toUtf8(), in.exchange); }))
        return log(Text::InvalidRoomName);
    out(JoinChat{in.room, in.exchange});
    m_pending << Pending{Room{in.room, in.exchange}, false};
}

void PresenceCore::on(const PresenceIn::Leave& in)
{
    if (in.row < 0 || in.row >= m_rows.size())
        return;
    const RoomRow left = m_rows[in.row];
    out(LeaveChat{left.id});
    if (m_state == State::SignedOn)
        out(RoomLeft{left.id, Transcript::Reason::Left});
    // The server leaves the room, whatever rows stand for it.
    m_leaving.insert(left.id);
    removeRows([&](const RoomRow& row) { return row.id == left.id; });
    if (!left.key.isEmpty())
        forgetRoom(left.key);
    log(Text::LeftChatroom, {QString::fromUtf8(left.name)});
}

void PresenceCore::forgetRoom(const QString& key)
{
    const bool remembered = std::any_of(m_wanted.cbegin(), m_wanted.cend(),
                                        [&](const Wanted& w) { return w.remember && w.room.key() == key; });
    m_wanted.removeIf([&](const Wanted& w) { return w.room.key() == key; });
    if (remembered)
        out(SaveSettings{});
}

void PresenceCore::on(const PresenceIn::SetStaySignedOn& in)
{
    if (in.on == m_staySignedOn)
        return;
    m_staySignedOn = in.on;
    out(SaveSettings{});
    if (in.on || m_state != State::Waiting)
        return;
    // Nobody wants the planned sign-on any more.
    stopTimer(Timer::Retry);
    m_state = State::SignedOff;
    status(Text::StatusDisconnected);
}

void PresenceCore::on(const PresenceIn::SetRememberPassword& in)
{
    if (in.on == m_rememberPassword)
        return;
    m_rememberPassword = in.on;
    out(SaveSettings{});
    if (in.on) {
        if (m_state == State::SignedOn)
            keepPassword();
    } else if (!m_screenName.isEmpty()) {
        m_vaultAccount.clear();
        m_vaultPassword.clear();
        out(EraseVault{account(m_screenName)});
    }
}

// ---- the keychain

void PresenceCore::on(const PresenceIn::SetServer& in)
{
    if (m_server == in.server)
        return;
    m_server = in.server;
    out(SaveSettings{});
}

void PresenceCore::on(const PresenceIn::VaultRead& in)
{
    if (!m_readingVault || in.account != account(m_screenName))
        return;
    m_readingVault = false;
    stopTimer(Timer::UnlockLimit);
    m_vaultAccount = in.account;
    m_vaultPassword = in.password;
    if (!in.password.isEmpty() && m_password.isEmpty()) {
        m_password = in.password;
        out(PasswordRecalled{in.password});
    }
    if (std::exchange(m_connectWhenRead, false))
        signOnRemembered();
}

void PresenceCore::on(const PresenceIn::VaultUnavailable&)
{
    noKeychain();
}

// A locked keychain is waited for while its unlock prompt is open; where the run has a limit (no one
// may be there to unlock it), it ends once the limit is over.
void PresenceCore::on(const PresenceIn::VaultWaiting&)
{
    log(Text::WaitingForKeychain);
    if (m_unlockLimit && m_readingVault)
        startTimer(Timer::UnlockLimit, *m_unlockLimit);
}

// Nothing can be remembered without a keychain: the choice is taken back, and the password kept for
// this run only.
void PresenceCore::noKeychain()
{
    if (std::exchange(m_rememberPassword, false))
        out(SaveSettings{});
    if (!std::exchange(m_saidNoKeychain, true))
        log(Text::NoKeychain);
    if (std::exchange(m_readingVault, false) && std::exchange(m_connectWhenRead, false))
        signOnRemembered();
}

// The keychain is told each name and password that signed on, once.
void PresenceCore::keepPassword()
{
    const QString accountName = account(m_screenName);
    if (!m_rememberPassword || m_password.isEmpty()
        || (accountName == m_vaultAccount && m_password == m_vaultPassword))
        return;
    m_vaultAccount = accountName;
    m_vaultPassword = m_password;
    out(WriteVault{accountName, m_password});
}

// ---- the client

void PresenceCore::on(const PresenceIn::LoggedIn&)
{
    m_state = State::SignedOn;
    m_refusal = 0;
    m_young = true;
    status(Text::StatusConnected);
    out(SetProfile{});
    startTimer(Timer::Quiet, kQuietLimit);
    startTimer(Timer::Young, kShortSession);
    startTimer(Timer::Settled, kSettledAfter);
    keepPassword();
    if (std::exchange(m_lostOnline, false))
        out(Notify{Text::NotifySignedOnAgain});
    rejoinAll();
    // Last: keeping it may take a moment the commands above need not wait for.
    m_recording = true;
    out(SessionStarted{m_screenName});
}

// The server is in none of its rooms after a sign-on: the rows of rooms not to be in go, and every
// room to be in is joined.
void PresenceCore::rejoinAll()
{
    removeRows([&](const RoomRow& row) { return row.key.isEmpty() || !wanted(row.key); });
    QList<Room> refused;
    for (const Wanted& w : m_wanted) {
        const Room& room = w.room;
        if (sendable([&] { TocCommands::joinChat(room.name.toUtf8(), room.exchange); })) {
            out(JoinChat{room.name, room.exchange});
            m_pending << Pending{room, true};
        } else {
            refused << room; // a remembered name that cannot be sent
        }
    }
    if (!m_pending.isEmpty())
        startTimer(Timer::RejoinLimit, kRejoinLimit);
    for (const Room& room : refused) {
        removeRows([&](const RoomRow& row) { return row.key == room.key(); });
        log(Text::CouldNotRejoin, {room.label()});
    }
}

// Rooms that did not confirm in time are tried again at the next sign-on; a confirmation that comes
// later still counts.
void PresenceCore::rejoinLimit()
{
    for (Pending& p : m_pending) {
        if (!p.rejoin || std::exchange(p.late, true))
            continue;
        const QString key = p.room.key();
        removeRows([&](const RoomRow& row) { return row.key == key; });
        log(Text::CouldNotRejoin, {p.room.label()});
    }
}

// A confirmation answers the oldest join of a room by that name: servers answer in order, and may
// write the name with other capitals or blanks.
void PresenceCore::on(const PresenceIn::JoinedChat& in)
{
    const QByteArray name = ModTOC::NormalizeName(in.roomName);
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [&](const Pending& p) { return normalised(p.room.name) == name; });
    if (it == m_pending.end()) {
        // Nobody asked for it: listed, and named as the boxes would name a join.
        addRow(RoomRow{in.roomName, in.roomId, {}, m_exchange});
        out(Log{Text::JoinedChatroom, {QString::fromUtf8(in.roomName)}, false, true});
        return;
    }
    const Pending answered = *it;
    m_pending.erase(it);
    const QString key = answered.room.key();
    m_leaving.remove(in.roomId);
    if (answered.rejoin && std::none_of(m_pending.cbegin(), m_pending.cend(),
                                        [](const Pending& p) { return p.rejoin && !p.late; }))
        stopTimer(Timer::RejoinLimit);

    Wanted* w = wanted(key);
    if (!answered.rejoin) {
        // Joined by the user: a room to be in from now on, this run and the next.
        if (!w) {
            m_wanted << Wanted{answered.room, true, true};
            out(SaveSettings{});
        } else if (!std::exchange(w->remember, true)) {
            out(SaveSettings{});
        }
        if (w)
            w->joinedBefore = true;
        addRow(RoomRow{in.roomName, in.roomId, key, answered.room.exchange});
        out(Log{Text::JoinedChatroom, {answered.room.label()}, false, true});
        return;
    }
    if (!w) {
        // Left while the rejoin was on its way: the server is in it, so it leaves it again.
        m_leaving.insert(in.roomId);
        out(LeaveChat{in.roomId});
        return;
    }
    const bool first = !std::exchange(w->joinedBefore, true);
    const RoomRow row{in.roomName, in.roomId, key, answered.room.exchange};
    bool listed = false;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].key != key)
            continue;
        m_rows[i] = row;
        out(RowChanged{i, row});
        listed = true;
    }
    if (listed)
        out(RoomEntered{row});
    else
        addRow(row);
    log(first ? Text::JoinedChatroom : Text::RejoinedChatroom, {answered.room.label()});
}

void PresenceCore::on(const PresenceIn::LeftChat& in)
{
    // The answer to the user's Leave says nothing new.
    if (m_leaving.remove(in.roomId))
        return;
    // Put out by the server (or an error): the room stays one to be in, tried again at the next sign-on.
    removeRows([&](const RoomRow& row) { return row.id == in.roomId; });
    if (m_state == State::SignedOn)
        out(RoomLeft{in.roomId, Transcript::Reason::Ejected});
    log(Text::LeftEjected);
}

// Every row added stands for a room the server confirmed.
void PresenceCore::addRow(const RoomRow& row)
{
    m_rows << row;
    out(RowAdded{row});
    out(RoomEntered{row});
}

void PresenceCore::removeRows(const std::function<bool(const RoomRow&)>& which)
{
    for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
        if (which(m_rows[i])) {
            m_rows.removeAt(i);
            out(RowRemoved{i});
        }
    }
}

void PresenceCore::on(const PresenceIn::Traffic&)
{
    if (m_state != State::SignedOn)
        return;
    stopTimer(Timer::Answer);
    startTimer(Timer::Quiet, kQuietLimit);
}

void PresenceCore::on(const PresenceIn::ServerError& in)
{
    // Only the answer to a sign-on decides whether and when to try again.
    if (m_state == State::Connecting && in.code >= std::int16_t(TocError::BadLogin)
        && in.code <= std::int16_t(TocError::UnknownSignOnError))
        m_refusal = in.code;
    log(Text::ServerError, {QString::number(in.code), in.argument});
}

void PresenceCore::on(const PresenceIn::SocketError& in)
{
    // Whatever failed, no connection is left: the status must not go on saying "Connected".
    status(Text::StatusDisconnected);
    log(Text::ConnectionFailed, {in.description});
    // A broken session's end follows as LoggedOff, and says that it was lost.
    m_brokenOnline = m_state == State::SignedOn;
    connectionEnded(false);
}

void PresenceCore::on(const PresenceIn::LoggedOff&)
{
    // A sign-off of our own (or a stray report while nothing is open) is no lost connection; a
    // refused or failed sign-on lost nothing.
    if (m_state == State::SignedOn) {
        status(Text::StatusDisconnected);
        log(Text::ConnectionLost);
    } else if (m_state == State::Lost && std::exchange(m_brokenOnline, false)) {
        log(Text::ConnectionLost);
    }
    connectionEnded(!m_closingDeadLink);
}

// A failed connect reports only an error; a lost connection may report an error and then its end.
// Both arrive in one go, so what to do next is decided once they are through.
void PresenceCore::connectionEnded(bool closedQuietly)
{
    if (m_state != State::Connecting && m_state != State::SignedOn)
        return; // the user has acted meanwhile, or this is the second report of one end
    const bool wasOnline = m_state == State::SignedOn;
    if (wasOnline) {
        m_shortSessions = closedQuietly && m_young ? m_shortSessions + 1 : 0;
        using R = Transcript::Reason;
        endRecord(m_closingDeadLink                                ? R::DeadLink
                  : m_shortSessions >= kShortSessionsElsewhere ? R::SignedOnElsewhere
                                                                 : R::Lost);
    } else if (m_refusal != 0) {
        out(SessionEnded{Transcript::Reason::Refused});
    }
    m_state = State::Lost;
    endSession();
    startTimer(Timer::Decide, std::chrono::milliseconds(0));
    if (wasOnline) {
        m_lostOnline = true;
        out(Notify{Text::ConnectionLost});
    }
}

void PresenceCore::decide()
{
    if (m_state != State::Lost)
        return;
    // A wrong name or password, or a warning level too high, will not change by trying again.
    if (m_stopped || !m_staySignedOn || refusesForGood(m_refusal)) {
        m_state = State::SignedOff;
        if (!m_stopped)
            out(Ended{});
        return;
    }
    // Signed on elsewhere: signing on here would push the other place out, and it would push us out.
    if (m_shortSessions >= kShortSessionsElsewhere) {
        m_state = State::SignedOff;
        m_lostOnline = false;
        log(Text::SignedOnElsewhere);
        status(Text::StatusSignedOnElsewhere);
        out(Notify{Text::NotifySignedOnElsewhere});
        out(Ended{});
        return;
    }
    const std::chrono::milliseconds wait = nextWait();
    m_state = State::Waiting;
    startTimer(Timer::Retry, wait);
    log(Text::ReconnectingIn, {QString::number(std::lround(double(wait.count()) / 1000))});
    status(Text::StatusReconnecting);
}

std::chrono::milliseconds PresenceCore::nextWait()
{
    const double first = double(kFirstRetry.count());
    const double longest = double(kLongestRetry.count());
    const double nominal = std::min(first * std::ldexp(1.0, std::min(m_attempt, 30)), longest);
    ++m_attempt;
    const double spread = 1.0 + kSpread * (2.0 * m_random() - 1.0);
    double seconds = std::min(nominal * spread, longest);
    // The server asked for ten minutes' peace.
    if (m_refusal == std::int16_t(TocError::ConnectingTooOften))
        seconds = std::max(seconds, double(kTooOftenRetry.count()));
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

void PresenceCore::on(const PresenceIn::TimerFired& in)
{
    switch (in.timer) {
    case Timer::Retry:
        if (m_state == State::Waiting && login(m_screenName, m_password, false))
            log(Text::SigningOnAgain);
        break;
    case Timer::Decide:
        decide();
        break;
    case Timer::Quiet:
        // Nothing from the server for a while: ask it about ourselves, which it answers at once.
        if (m_state != State::SignedOn)
            break;
        startTimer(Timer::Answer, kAnswerLimit);
        if (sendable([&] { TocCommands::getStatus(m_ownName); }))
            out(AskStatus{m_ownName});
        break;
    case Timer::Answer:
        if (m_state != State::SignedOn)
            break;
        log(Text::NoAnswer, {QString::number(std::chrono::duration_cast<Seconds>(kQuietLimit + kAnswerLimit).count())});
        // Closed here; the client's LoggedOff then reports the connection lost like any other.
        m_closingDeadLink = true;
        out(LogOff{});
        break;
    case Timer::RejoinLimit:
        rejoinLimit();
        break;
    case Timer::Young:
        m_young = false;
        m_shortSessions = 0;
        break;
    case Timer::Settled:
        m_attempt = 0;
        break;
    case Timer::UnlockLimit:
        if (!std::exchange(m_readingVault, false))
            break;
        m_connectWhenRead = false;
        log(Text::KeychainLocked);
        out(Ended{});
        break;
    }
}

void PresenceCore::endRecord(Transcript::Reason why)
{
    if (std::exchange(m_recording, false))
        out(SessionEnded{why});
}

void PresenceCore::cancelPlans()
{
    stopTimer(Timer::Retry);
    stopTimer(Timer::Decide);
}

// What belonged to one connection: its watch, its unconfirmed joins, the rooms being left.
void PresenceCore::endSession()
{
    for (Timer t : {Timer::Quiet, Timer::Answer, Timer::RejoinLimit, Timer::Young, Timer::Settled})
        stopTimer(t);
    m_young = false;
    m_pending.clear();
    m_leaving.clear();
}

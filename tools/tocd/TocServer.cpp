#include "TocServer.h"

#include "ModTOC.h"
#include "TocArgs.h"

#include <QDateTime>

#include <algorithm>

using ModTOC::NormalizeName;

namespace {
const QByteArray kFlapVersion("\x00\x00\x00\x01", 4);

// Exchange 4 holds rooms made on demand; exchange 5 holds public rooms, which a real server
// keeps a fixed list of. tocd has no such list, so it makes those on demand too.
bool isChatExchange(int exchange)
{
    return exchange == 4 || exchange == 5;
}

// A room name ends up inside colon-separated lines (CHAT_INVITE puts fields after it), so a
// colon or a control byte in it would corrupt what members receive.
bool isValidRoomName(QByteArrayView name)
{
    if (NormalizeName(name).isEmpty())
        return false;
    for (char c : name)
        if (c == ':' || static_cast<unsigned char>(c) < 0x20)
            return false;
    return true;
}

bool isDenyEntryFor(QByteArrayView entry, QByteArrayView key)
{
    return entry.startsWith("d:") && NormalizeName(entry.sliced(2)) == key;
}

bool listsDenied(const Account& account, QByteArrayView key)
{
    return std::any_of(account.config.begin(), account.config.end(),
                       [&](const QByteArray& e) { return isDenyEntryFor(e, key); });
}

std::optional<int> toInt(QByteArrayView text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}
} // namespace

TocServer::TocServer(Accounts accounts, Output output, Limits limits)
    : m_accounts(std::move(accounts))
    , m_out(std::move(output))
    , m_limits(limits)
{
}

const QHash<QByteArray, TocServer::Command>& TocServer::commands()
{
    static const QHash<QByteArray, Command> table{
        {"toc_init_done", {&TocServer::cmdInitDone, 0}},
        {"toc_send_im", {&TocServer::cmdSendIm, 2}},
        {"toc_add_buddy", {&TocServer::cmdAddBuddy, 1}},
        {"toc_remove_buddy", {&TocServer::cmdRemoveBuddy, 1}},
        {"toc_get_status", {&TocServer::cmdGetStatus, 1}},
        {"toc_set_info", {&TocServer::cmdSetInfo, 1}},
        {"toc_get_info", {&TocServer::cmdGetInfo, 1}},
        {"toc_set_config", {&TocServer::cmdSetConfig, 0}},
        {"toc2_new_buddies", {&TocServer::cmdNewBuddies, 1}},
        {"toc_evil", {&TocServer::cmdEvil, 1}},
        {"toc_format_nickname", {&TocServer::cmdFormatNickname, 1}},
        {"toc_change_passwd", {&TocServer::cmdChangePasswd, 2}},
        {"toc_chat_join", {&TocServer::cmdChatJoin, 2}},
        {"toc_chat_send", {&TocServer::cmdChatSend, 2}},
        {"toc_chat_whisper", {&TocServer::cmdChatWhisper, 3}},
        {"toc_chat_leave", {&TocServer::cmdChatLeave, 1}},
        {"toc_chat_invite", {&TocServer::cmdChatInvite, 3}},
        {"toc_chat_accept", {&TocServer::cmdChatAccept, 1}},
        {"toc2_add_deny", {&TocServer::cmdAddDeny, 1}},
        {"toc2_remove_deny", {&TocServer::cmdRemoveDeny, 1}},
        {"toc_set_away", {&TocServer::cmdAccept, 0}},
        {"toc_set_idle", {&TocServer::cmdAccept, 0}},
        {"toc_set_caps", {&TocServer::cmdAccept, 0}},
    };
    return table;
}

// ---- connections

int TocServer::open(const QString& address, quint16 port)
{
    const int id = m_nextSession++;
    log(id, QStringLiteral("connected from %1:%2").arg(address).arg(port));
    int& open = m_connections[address];
    if (m_limits.maxConnectionsPerAddress > 0 && open >= m_limits.maxConnectionsPerAddress) {
        log(id, QStringLiteral("closing: %1 connections from %2 are open already").arg(open).arg(address));
        return 0;
    }
    ++open;
    Session& s = m_sessions[id];
    s.id = id;
    s.address = address;
    s.openedAt = m_now;
    return id;
}

bool TocServer::receive(int id, const QByteArray& bytes)
{
    if (auto it = m_sessions.find(id); it != m_sessions.end())
        it->second.reader.feed(bytes);
    m_turnOutput = 0;
    const bool done = readFrames(id);
    dropBacklogged();
    return done;
}

// True when no whole frame is left unhandled.
bool TocServer::readFrames(int id)
{
    // Look the session up on every pass: a frame may end it.
    TocFramer::Frame frame;
    for (auto it = m_sessions.find(id); it != m_sessions.end() && !it->second.backlogged; it = m_sessions.find(id)) {
        Session& s = it->second;
        if (m_limits.outputPerTurn > 0 && m_turnOutput >= m_limits.outputPerTurn)
            return false;
        switch (s.reader.next(frame)) {
        case TocFramer::Next::NeedMore:
            return true;
        case TocFramer::Next::Violation:
            drop(s, QString(s.reader.violation())); // the session and its reader go with it
            return true;
        case TocFramer::Next::Handshake:
            s.stage = Stage::SignOnFrame;
            sendFrame(s, FrameType::SignOn, kFlapVersion);
            break;
        case TocFramer::Next::Frame:
            handleFrame(s, frame.type, frame.payload);
            break;
        }
    }
    return true;
}

void TocServer::closed(int id)
{
    const auto it = m_sessions.find(id);
    if (it == m_sessions.end())
        return;
    log(it->second, QStringLiteral("disconnected"));
    forget(it->second);
    dropBacklogged();
}

void TocServer::tick(qint64 nowMs)
{
    m_now = nowMs;
    if (m_limits.signOnTimeoutMs > 0) {
        QList<int> late;
        for (const auto& [id, s] : m_sessions)
            if (s.stage < Stage::SignedOn && nowMs - s.openedAt >= m_limits.signOnTimeoutMs)
                late << id;
        const QString reason = QStringLiteral("not signed on within %1 s").arg(m_limits.signOnTimeoutMs / 1000.0);
        for (int id : late)
            drop(m_sessions.at(id), reason); // not signed on: nobody else hears of it
    }
    // An address whose allowance is whole again is the same as one never seen.
    m_loginsFullAt.removeIf([nowMs](const auto& it) { return it.value() <= nowMs; });
}

void TocServer::drop(Session& s, const QString& reason, CloseMode how)
{
    const int id = s.id;
    log(s, QStringLiteral("closing: %1").arg(reason));
    forget(s);
    m_out.close(id, how);
}

void TocServer::forget(Session& s)
{
    signOff(s);
    if (--m_connections[s.address] <= 0)
        m_connections.remove(s.address);
    m_sessions.erase(s.id);
}

// Sessions whose output piled up are closed here, once the command that wrote to them is done:
// while it ran, one of them may have been in a loop over a room's members. Closing one tells
// others (rooms, watchers), which may put more on the list.
void TocServer::dropBacklogged()
{
    while (!m_backlogged.isEmpty()) {
        const auto it = m_sessions.find(m_backlogged.takeFirst());
        if (it != m_sessions.end())
            drop(it->second,
                 QStringLiteral("not reading (over %1 bytes waiting to be sent)").arg(m_limits.maxUnsentBytes),
                 CloseMode::Abort);
    }
}

// One sign-on attempt from address, if its allowance has one left. The allowance is kept as the
// time it will be whole again: each attempt moves that one refill period later, and an attempt is
// allowed while it lies no more than a burst less one of periods ahead.
bool TocServer::takeLogin(const QString& address)
{
    if (m_limits.loginBurst <= 0)
        return true;
    const qint64 fullAt = std::max(m_loginsFullAt.value(address, m_now), m_now);
    if (fullAt - m_now > (m_limits.loginBurst - 1) * m_limits.loginRefillMs)
        return false;
    m_loginsFullAt[address] = fullAt + m_limits.loginRefillMs;
    return true;
}

// Leaves every room and tells the watchers, so nobody is left talking to a gone user.
void TocServer::signOff(Session& s)
{
    if (s.key.isEmpty() || m_signedOn.value(s.key) != s.id)
        return;
    for (int roomId : QSet<int>(s.rooms))
        leaveRoom(s, roomId, false);
    if (s.stage == Stage::Online)
        tellWatchers(s, false);
    m_signedOn.remove(s.key);
}

void TocServer::log(int id, const QString& what) const
{
    if (m_out.log)
        m_out.log(QStringLiteral("conn %1: %2").arg(id).arg(what));
}

// ---- frames

void TocServer::handleFrame(Session& s, int type, const QByteArray& payload)
{
    switch (FrameType(type)) {
    case FrameType::SignOn:
        if (s.stage != Stage::SignOnFrame)
            return drop(s, QStringLiteral("unexpected sign-on frame"));
        return handleSignOnFrame(s, payload);
    case FrameType::Data: {
        if (s.stage == Stage::SignOnFrame)
            return drop(s, QStringLiteral("command before sign-on"));
        // Client commands end in a zero byte; whatever follows one is not part of the command.
        const qsizetype end = payload.indexOf('\0');
        const QByteArrayView line = QByteArrayView(payload).first(end < 0 ? payload.size() : end);
        if (line.trimmed().isEmpty())
            return drop(s, QStringLiteral("empty command"));
        if (s.stage == Stage::Login) {
            const std::optional<QByteArrayList> words = splitTocArgs(line);
            if (!words || words->first() != "toc2_login")
                return drop(s, QStringLiteral("command before sign-on"));
            return handleLogin(s, *words);
        }
        return handleCommand(s, line);
    }
    case FrameType::SignOff:
        return drop(s, QStringLiteral("signed off"));
    case FrameType::KeepAlive:
        return log(s, QStringLiteral("keep-alive"));
    default:
        return drop(s, QStringLiteral("unexpected frame type %1").arg(type));
    }
}

// Version 1, then TLV 1 holding the screen name. The name that counts is the login line's.
void TocServer::handleSignOnFrame(Session& s, const QByteArray& payload)
{
    const bool wellFormed = payload.size() >= 8 && payload.startsWith(kFlapVersion) &&
                            ModTOC::DecodeWord(QByteArrayView(payload).sliced(4, 2)) == 1 &&
                            ModTOC::DecodeWord(QByteArrayView(payload).sliced(6, 2)) == payload.size() - 8;
    if (!wellFormed)
        return drop(s, QStringLiteral("malformed sign-on frame"));
    s.stage = Stage::Login;
}

// toc2_login <auth host> <auth port> <name> <roasted password> <language> <version> ...
// Only the name and the password matter here.
void TocServer::handleLogin(Session& s, const QByteArrayList& words)
{
    const QByteArray key = words.size() > 4 ? NormalizeName(words[3]) : QByteArray();
    // Every attempt counts, so that passwords cannot be guessed at speed.
    if (!takeLogin(s.address)) {
        sendError(s, TocError::ConnectingTooOften);
        return drop(s, QStringLiteral("too many sign-ons from %1").arg(s.address));
    }
    const Account* account = m_accounts.find(key);
    if (!account || words[4].toLower() != ModTOC::RoastPassword(account->password)) {
        sendError(s, TocError::BadLogin);
        return drop(s, QStringLiteral("wrong password or unknown name \"%1\"").arg(QString::fromLatin1(key)));
    }
    // A second sign-on of the same name replaces the first, as the service always did.
    if (const auto it = m_sessions.find(m_signedOn.value(key)); it != m_sessions.end())
        drop(it->second, QStringLiteral("%1 signed on elsewhere").arg(QString::fromLatin1(key)));

    s.key = key;
    s.stage = Stage::SignedOn;
    m_signedOn[key] = s.id;
    log(s, QStringLiteral("signed on as %1").arg(QString::fromLatin1(account->formattedName)));
    send(s, "SIGN_ON:TOC2.0");
    send(s, "NICK:" + account->formattedName);
    QByteArray config = "CONFIG2:";
    for (const QByteArray& entry : account->config)
        config += entry + '\n';
    send(s, config + "done:\n");
}

void TocServer::handleCommand(Session& s, QByteArrayView line)
{
    const std::optional<QByteArrayList> words = splitTocArgs(line);
    if (!words) {
        log(s, QStringLiteral("malformed arguments"));
        return sendError(s, TocError::RequestFailed);
    }
    const QByteArray word = words->first().toLower();
    const auto it = commands().find(word);
    if (it == commands().end()) {
        log(s, QStringLiteral("unknown command \"%1\"").arg(QString::fromLatin1(word.left(64))));
        return sendError(s, TocError::RequestFailed);
    }
    const QByteArrayList args = words->mid(1);
    if (args.size() < it->minArgs)
        return sendError(s, TocError::RequestFailed);
    (this->*it->handler)(s, args, line);
}

// ---- output

void TocServer::sendFrame(Session& s, FrameType type, QByteArrayView payload)
{
    if (payload.size() > 0xFFFF) {
        log(s, QStringLiteral("dropped a message too long for one frame"));
        return;
    }
    if (s.backlogged)
        return;
    const QByteArray frame = TocFramer::encode(type, s.seq++, payload);
    m_turnOutput += frame.size();
    const qint64 waiting = m_out.write(s.id, frame);
    if (m_limits.maxUnsentBytes > 0 && waiting > m_limits.maxUnsentBytes) {
        s.backlogged = true;
        m_backlogged << s.id;
    }
}

void TocServer::sendError(Session& s, TocError code, QByteArrayView arg)
{
    QByteArray line = "ERROR:" + QByteArray::number(int(code));
    if (!arg.isEmpty())
        line += ':' + arg.toByteArray();
    send(s, line);
}

void TocServer::sendToMembers(const Room& room, QByteArrayView line, int except)
{
    for (int id : room.members)
        if (id != except)
            send(m_sessions.at(id), line);
}

// ---- users

TocServer::Session* TocServer::onlineUser(QByteArrayView name)
{
    const auto it = m_sessions.find(m_signedOn.value(NormalizeName(name)));
    return it != m_sessions.end() && it->second.stage == Stage::Online ? &it->second : nullptr;
}

// UPDATE_BUDDY2:<user>:<online T/F>:<warning>:<signon time>:<idle minutes>:<class>:
QByteArray TocServer::buddyLine(const Session& s, bool online)
{
    return "UPDATE_BUDDY2:" + nameOf(s) + (online ? ":T:" : ":F:") + QByteArray::number(s.warning) + ':' +
           QByteArray::number(online ? s.onlineSince : 0) + ":0: O :";
}

void TocServer::tellWatchers(const Session& s, bool online)
{
    for (auto& [id, w] : m_sessions)
        if (id != s.id && w.stage == Stage::Online && w.buddies.contains(s.key) && !denies(s, w))
            send(w, buddyLine(s, online));
}

// Whether who's stored configuration blocks whom.
bool TocServer::denies(const Session& who, const Session& whom)
{
    return listsDenied(*m_accounts.find(who.key), whom.key);
}

void TocServer::cmdInitDone(Session& s, const QByteArrayList&, QByteArrayView)
{
    if (s.stage != Stage::SignedOn)
        return;
    s.stage = Stage::Online;
    s.onlineSince = QDateTime::currentSecsSinceEpoch();
    tellWatchers(s, true);
}

// toc_send_im <name> <message> [auto]
void TocServer::cmdSendIm(Session& s, const QByteArrayList& args, QByteArrayView)
{
    Session* to = onlineUser(args[0]);
    if (!to || denies(*to, s))
        return sendError(s, TocError::UserNotAvailable, args[0]);
    const bool autoResponse = args.size() > 2 && args[2] == "auto";
    send(*to, "IM_IN_ENC2:" + nameOf(s) + (autoResponse ? ":T" : ":F") + ":F:T: O :F:L:en:" + args[1]);
}

// toc_add_buddy <name> [<name> ...]: online buddies are announced at once.
void TocServer::cmdAddBuddy(Session& s, const QByteArrayList& args, QByteArrayView)
{
    for (const QByteArray& name : args) {
        s.buddies.insert(NormalizeName(name));
        if (const Session* buddy = onlineUser(name); buddy && !denies(*buddy, s))
            send(s, buddyLine(*buddy, true));
    }
}

void TocServer::cmdRemoveBuddy(Session& s, const QByteArrayList& args, QByteArrayView)
{
    for (const QByteArray& name : args)
        s.buddies.remove(NormalizeName(name));
}

void TocServer::cmdGetStatus(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const Session* user = onlineUser(args[0]);
    if (!user || denies(*user, s))
        return sendError(s, TocError::UserNotAvailable, args[0]);
    send(s, buddyLine(*user, true));
}

void TocServer::cmdSetInfo(Session& s, const QByteArrayList& args, QByteArrayView)
{
    s.profile = args[0];
}

// A real server answers with the address of a web page showing the profile. tocd serves no web
// pages, so the profile text itself stands where the address would be.
void TocServer::cmdGetInfo(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const Session* user = onlineUser(args[0]);
    if (!user)
        return sendError(s, TocError::UserNotAvailable, args[0]);
    send(s, "GOTO_URL:TIC:" + user->profile);
}

// toc_set_config <config>: accepted, but, as on the real service, kept only for the older sign-on
// (toc_signon), which tocd does not offer: a TOC2 sign-on's CONFIG2 comes from the server's own
// buddy list (toc2_new_buddies, toc2_add_deny).
void TocServer::cmdSetConfig(Session& s, const QByteArrayList&, QByteArrayView)
{
    log(s, QStringLiteral("toc_set_config accepted; it does not change the TOC2 buddy list"));
}

// toc2_new_buddies "{g:<group>\nb:<buddy>\n...}": the buddies join the stored list under the
// group before them (added at the end of the groups when the list has no such group; "Buddies"
// when none is named), are watched from now on, and each is answered NEW_BUDDY_REPLY2:<name>:added.
void TocServer::cmdNewBuddies(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const QByteArrayView text = QByteArrayView(args[0]).trimmed();
    if (!text.startsWith('{') || !text.endsWith('}'))
        return sendError(s, TocError::RequestFailed);
    QByteArrayList& config = m_accounts.find(s.key)->config;
    QByteArray group = "Buddies";
    for (QByteArray entry : text.sliced(1, text.size() - 2).toByteArray().split('\n')) {
        while (entry.endsWith('\r'))
            entry.chop(1);
        if (entry.startsWith("g:")) {
            group = entry.sliced(2);
            continue;
        }
        if (!entry.startsWith("b:") || NormalizeName(entry.sliced(2)).isEmpty())
            continue;
        // After the group's last buddy; a new group goes after the last group's buddies.
        const auto isListEntry = [](const QByteArray& e) { return e.startsWith("g:") || e.startsWith("b:"); };
        qsizetype at = config.indexOf("g:" + group);
        if (at < 0) {
            at = 0;
            while (at < config.size() && isListEntry(config[at]))
                ++at;
            config.insert(at++, "g:" + group);
        } else {
            ++at;
            while (at < config.size() && config[at].startsWith("b:"))
                ++at;
        }
        const QByteArray name = entry.sliced(2);
        if (!config.contains(entry))
            config.insert(at, entry);
        cmdAddBuddy(s, {name}, {});
        send(s, "NEW_BUDDY_REPLY2:" + name + ":added");
    }
}

// toc_evil <name> <norm|anon>: each warning adds 10 to the level, up to 100.
void TocServer::cmdEvil(Session& s, const QByteArrayList& args, QByteArrayView)
{
    Session* user = onlineUser(args[0]);
    if (!user)
        return sendError(s, TocError::WarningNotAvailable, args[0]);
    user->warning = std::min(user->warning + 10, 100);
    const bool anonymous = args.size() > 1 && args[1] == "anon";
    send(*user, "EVILED:" + QByteArray::number(user->warning) + ':' + (anonymous ? QByteArray() : nameOf(s)));
    tellWatchers(*user, true);
}

// Only the capitals and blanks may change: the new form must normalise to the same name.
void TocServer::cmdFormatNickname(Session& s, const QByteArrayList& args, QByteArrayView)
{
    if (NormalizeName(args[0]) != s.key || args[0].contains(':'))
        return sendError(s, TocError::InvalidInput);
    m_accounts.find(s.key)->formattedName = args[0];
    send(s, "ADMIN_NICK_STATUS:0");
    send(s, "NICK:" + args[0]);
}

void TocServer::cmdChangePasswd(Session& s, const QByteArrayList& args, QByteArrayView)
{
    Account* account = m_accounts.find(s.key);
    if (args[0] != account->password || args[1].isEmpty())
        return sendError(s, TocError::InvalidInput);
    account->password = args[1];
    send(s, "ADMIN_PASSWD_STATUS:0");
}

// ---- chat rooms

// toc_chat_join <exchange> <room name>
void TocServer::cmdChatJoin(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const std::optional<int> exchange = toInt(args[0]);
    if (!exchange || !isChatExchange(*exchange) || !isValidRoomName(args[1]))
        return sendError(s, TocError::ChatUnavailable, args[1]);
    const QByteArray key = QByteArray::number(*exchange) + ':' + NormalizeName(args[1]);
    int id = m_roomByKey.value(key);
    if (!id) {
        id = m_nextRoom++;
        m_rooms[id] = Room{id, args[1], key, {}};
        m_roomByKey[key] = id;
    }
    enterRoom(s, m_rooms.at(id));
}

void TocServer::enterRoom(Session& s, Room& room)
{
    const QByteArray id = QByteArray::number(room.id);
    const bool arriving = !room.members.contains(s.id);
    if (arriving) {
        room.members << s.id;
        s.rooms.insert(room.id);
        log(s, QStringLiteral("joined room %1 \"%2\"").arg(room.id).arg(QString::fromLatin1(room.name)));
    }
    s.invitations.remove(room.id);
    send(s, "CHAT_JOIN:" + id + ':' + room.name);
    QByteArray everyone = "CHAT_UPDATE_BUDDY:" + id + ":T";
    for (int member : room.members)
        everyone += ':' + nameOf(m_sessions.at(member));
    send(s, everyone);
    if (arriving)
        sendToMembers(room, "CHAT_UPDATE_BUDDY:" + id + ":T:" + nameOf(s), s.id);
}

void TocServer::leaveRoom(Session& s, int roomId, bool tellLeaver)
{
    Room& room = m_rooms.at(roomId);
    room.members.removeOne(s.id);
    s.rooms.remove(roomId);
    const QByteArray id = QByteArray::number(roomId);
    if (tellLeaver)
        send(s, "CHAT_LEFT:" + id);
    sendToMembers(room, "CHAT_UPDATE_BUDDY:" + id + ":F:" + nameOf(s));
    if (room.members.isEmpty()) {
        m_roomByKey.remove(room.key);
        m_rooms.erase(roomId);
    }
}

// The room with this id if s is in it.
TocServer::Room* TocServer::memberRoom(const Session& s, QByteArrayView id)
{
    const std::optional<int> roomId = toInt(id);
    return roomId && s.rooms.contains(*roomId) ? &m_rooms.at(*roomId) : nullptr;
}

// CHAT_IN_ENC:<id>:<user>:<whisper T/F>:A:<lang>:<message>; the sender gets its own message back.
void TocServer::cmdChatSend(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const Room* room = memberRoom(s, args[0]);
    if (!room)
        return sendError(s, TocError::RequestFailed);
    sendToMembers(*room, "CHAT_IN_ENC:" + QByteArray::number(room->id) + ':' + nameOf(s) + ":F:A:en:" + args[1]);
}

// toc_chat_whisper <id> <name> <message>: only the named member hears it.
void TocServer::cmdChatWhisper(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const Room* room = memberRoom(s, args[0]);
    if (!room)
        return sendError(s, TocError::RequestFailed);
    const QByteArray key = NormalizeName(args[1]);
    for (int member : room->members) {
        Session& to = m_sessions.at(member);
        if (to.key == key)
            return send(to, "CHAT_IN_ENC:" + QByteArray::number(room->id) + ':' + nameOf(s) + ":T:A:en:" + args[2]);
    }
    sendError(s, TocError::UserNotAvailable, args[1]);
}

void TocServer::cmdChatLeave(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const Room* room = memberRoom(s, args[0]);
    if (!room)
        return sendError(s, TocError::RequestFailed);
    log(s, QStringLiteral("left room %1").arg(room->id));
    leaveRoom(s, room->id, true);
}

// toc_chat_invite <id> <message> <name> [<name> ...]
void TocServer::cmdChatInvite(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const Room* room = memberRoom(s, args[0]);
    if (!room)
        return sendError(s, TocError::RequestFailed);
    for (const QByteArray& name : args.mid(2)) {
        Session* to = onlineUser(name);
        if (!to || denies(*to, s)) {
            sendError(s, TocError::UserNotAvailable, name);
            continue;
        }
        to->invitations.insert(room->id);
        send(*to, "CHAT_INVITE:" + room->name + ':' + QByteArray::number(room->id) + ':' + nameOf(s) + ':' + args[1]);
    }
}

// Only an invitation opens a room by its id.
void TocServer::cmdChatAccept(Session& s, const QByteArrayList& args, QByteArrayView)
{
    const std::optional<int> id = toInt(args[0]);
    if (!id || !s.invitations.contains(*id) || !m_rooms.count(*id))
        return sendError(s, TocError::RequestFailed);
    enterRoom(s, m_rooms.at(*id));
}

// ---- blocking, kept as "d:" entries of the stored configuration

void TocServer::cmdAddDeny(Session& s, const QByteArrayList& args, QByteArrayView)
{
    Account& account = *m_accounts.find(s.key);
    for (const QByteArray& name : args) {
        if (listsDenied(account, NormalizeName(name)))
            continue;
        account.config << "d:" + name;
        // The blocked user sees us leave, as if we had signed off.
        if (Session* other = onlineUser(name); other && s.stage == Stage::Online && other->buddies.contains(s.key))
            send(*other, buddyLine(s, false));
    }
}

void TocServer::cmdRemoveDeny(Session& s, const QByteArrayList& args, QByteArrayView)
{
    QByteArrayList& config = m_accounts.find(s.key)->config;
    for (const QByteArray& name : args) {
        const QByteArray key = NormalizeName(name);
        if (!config.removeIf([&](const QByteArray& e) { return isDenyEntryFor(e, key); }))
            continue;
        if (Session* other = onlineUser(name); other && s.stage == Stage::Online && other->buddies.contains(s.key))
            send(*other, buddyLine(s, true));
    }
}

void TocServer::cmdAccept(Session&, const QByteArrayList&, QByteArrayView) {}

#include "TranscriptStore.h"

#include "TranscriptDb.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <QtEndian>

#include <utility>

using Transcript::Line;
using Transcript::LineKind;
using Transcript::RoomRef;
using Transcript::Time;

namespace {

constexpr qint64 kMsPerDay = 24 * 60 * 60 * 1000;

QByteArray roomKey(const QByteArray& account, const QByteArray& name, std::int16_t exchange)
{
    return account + '\0' + Transcript::normalised(name) + '\0' + QByteArray::number(exchange);
}

} // namespace

// Runs statements on one connection and keeps the first error.
struct TranscriptStore::Sql {
    explicit Sql(QSqlDatabase& connection) : db(connection) {}
    QSqlDatabase& db;
    QSqlError error;

    bool ok() const { return !error.isValid(); }

    // The query, executed with values bound in order; invalid after an error.
    QSqlQuery run(const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery q(db);
        if (!ok())
            return q;
        if (values.isEmpty() ? !q.exec(sql) : (!q.prepare(sql) || !bindAll(q, values) || !q.exec()))
            error = q.lastError();
        return q;
    }
    // The first column of the first row, or def when there is none.
    QVariant value(const QString& sql, const QVariantList& values = {}, const QVariant& def = {})
    {
        QSqlQuery q = run(sql, values);
        return ok() && q.next() ? q.value(0) : def;
    }

private:
    static bool bindAll(QSqlQuery& q, const QVariantList& values)
    {
        for (const QVariant& v : values)
            q.addBindValue(v);
        return true; // binding in order cannot fail; exec says what is wrong
    }
};

TranscriptStore::TranscriptStore(QString path, int keepDays, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_keepDays(keepDays)
{
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(kWriteInterval);
    connect(&m_writeTimer, &QTimer::timeout, this, &TranscriptStore::flush);
    m_aliveTimer.setInterval(kAliveInterval);
    connect(&m_aliveTimer, &QTimer::timeout, this, &TranscriptStore::flush);
    m_turnTimer.setSingleShot(true);
    m_turnTimer.setInterval(0);
    connect(&m_turnTimer, &QTimer::timeout, this, [this] { m_turnTime = 0; });
}

Time TranscriptStore::stamp(Time at)
{
    if (at != kNow)
        return at;
    if (m_turnTime == 0) {
        m_turnTime = Transcript::now();
        m_turnTimer.start();
    }
    return m_turnTime;
}

TranscriptStore::~TranscriptStore()
{
    // Nobody hears of this last write: whoever listened may be gone already.
    blockSignals(true);
    const Time at = Transcript::now();
    expireEchoes(at, true);
    if (!m_gaveUp)
        queue({Op::SessionEnd, at, m_account, {}, {}, 0, Reason::Quit});
    flush();
    if (m_db.isValid())
        TranscriptDb::closeConnection(m_db);
}

bool TranscriptStore::open()
{
    if (isOpen())
        return true;
    if (m_gaveUp)
        return false;
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        giveUp(QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    for (int attempt = 0;; ++attempt) {
        QString error;
        m_db = TranscriptDb::openConnection(m_path, false, &error);
        if (!m_db.isValid()) {
            giveUp(QStringLiteral("cannot open %1: %2").arg(QDir::toNativeSeparators(m_path), error));
            return false;
        }
        QSqlError problem;
        if (prepare(problem)) {
            m_aliveTimer.start();
            scheduleWrite();
            return true;
        }
        TranscriptDb::closeConnection(m_db);
        if (!TranscriptDb::isDamaged(problem) || attempt > 0) {
            giveUp(QStringLiteral("cannot use %1: %2")
                       .arg(QDir::toNativeSeparators(m_path), TranscriptDb::describe(problem)));
            return false;
        }
        const QString aside = moveAside();
        if (aside.isEmpty()) {
            giveUp(QStringLiteral("%1 is damaged and could not be moved aside").arg(QDir::toNativeSeparators(m_path)));
            return false;
        }
        const QPointer<TranscriptStore> self(this);
        report(QStringLiteral("%1 was damaged (%2); it was moved to %3 and a new one started")
                   .arg(QDir::toNativeSeparators(m_path), TranscriptDb::describe(problem),
                        QDir::toNativeSeparators(aside)));
        if (!self)
            return false;
    }
}

bool TranscriptStore::prepare(QSqlError& problem)
{
    Sql sql(m_db);
    // Pages that hold a chunk of lines whole or nearly: a flood of lines costs half the writing of 4 KiB pages.
    sql.run(QStringLiteral("PRAGMA page_size=16384")); // takes effect on a new file only
    sql.run(QStringLiteral("PRAGMA journal_mode=WAL"));
    // Written once a second, so a power cut may lose the last second; the file stays whole.
    sql.run(QStringLiteral("PRAGMA synchronous=NORMAL"));
    const int version = sql.value(QStringLiteral("PRAGMA user_version"), {}, 0).toInt();
    if (sql.ok() && version > TranscriptDb::kSchemaVersion) {
        problem = QSqlError(QString(),
                                   QStringLiteral("it was written by a newer Tarnwick (schema %1; this one knows %2)")
                                       .arg(version)
                                       .arg(TranscriptDb::kSchemaVersion),
                                   QSqlError::UnknownError);
        return false;
    }
    sql.run(QStringLiteral("BEGIN IMMEDIATE"));
    for (int step = version; step < TranscriptDb::kSchemaVersion; ++step)
        for (const QString& statement : TranscriptDb::migrations()[step])
            sql.run(statement);
    sql.run(QStringLiteral("PRAGMA user_version=%1").arg(TranscriptDb::kSchemaVersion));

    const Time now = Transcript::now();
    const Time cutoff = now - qint64(m_keepDays) * kMsPerDay;
    sql.run(QStringLiteral("DELETE FROM room_lines WHERE last_at < ?"), {cutoff});
    sql.run(QStringLiteral("DELETE FROM stays WHERE parted < ?"), {cutoff});
    sql.run(QStringLiteral("DELETE FROM sessions WHERE ended < ?"), {cutoff});
    sql.run(QStringLiteral("DELETE FROM ims WHERE at < ?"), {cutoff});
    sql.run(QStringLiteral("DELETE FROM rooms WHERE id NOT IN (SELECT room FROM stays)"
                           " AND id NOT IN (SELECT room FROM room_lines)"));
    // What a run that stopped without a word left open ends where that run was last known alive.
    const QString lastAlive = QStringLiteral("(SELECT alive FROM runs WHERE runs.id = %1.run)");
    const QString stale = QStringLiteral("(run IS NULL OR run IN (SELECT id FROM runs WHERE alive < ?))");
    const int unrecorded = int(Reason::Unrecorded);
    sql.run(QStringLiteral("UPDATE stays SET parted = MAX(joined, COALESCE(%1, joined)), why = %2"
                           " WHERE parted IS NULL AND %3")
                .arg(lastAlive.arg(QStringLiteral("stays")))
                .arg(unrecorded)
                .arg(stale),
            {now - TranscriptDb::kStaleAfterMs});
    sql.run(QStringLiteral("UPDATE sessions SET ended = MAX(started, COALESCE(%1, started)), why = %2"
                           " WHERE ended IS NULL AND %3")
                .arg(lastAlive.arg(QStringLiteral("sessions")))
                .arg(unrecorded)
                .arg(stale),
            {now - TranscriptDb::kStaleAfterMs});
    sql.run(QStringLiteral("DELETE FROM runs WHERE alive < ? AND id NOT IN (SELECT run FROM stays WHERE run NOT NULL)"
                           " AND id NOT IN (SELECT run FROM sessions WHERE run NOT NULL)"),
            {cutoff});
    m_run = sql.run(QStringLiteral("INSERT INTO runs(started, alive) VALUES(?, ?)"), {now, now}).lastInsertId().toLongLong();
    sql.run(QStringLiteral("COMMIT"));
    if (!sql.ok()) {
        problem = sql.error;
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

void TranscriptStore::sessionStarted(const QByteArray& screenName, Time at)
{
    at = stamp(at);
    m_screenName = screenName;
    m_account = Transcript::normalised(screenName);
    queue({Op::SessionStart, at, m_account});
}

void TranscriptStore::sessionEnded(Reason why, Time at)
{
    at = stamp(at);
    expireEchoes(at, true);
    queue({Op::SessionEnd, at, m_account, {}, {}, 0, why});
}

void TranscriptStore::signOnRefused(const QByteArray& screenName, Time at)
{
    queue({Op::Refused, stamp(at), Transcript::normalised(screenName), {}, {}, 0, Reason::Refused});
}

void TranscriptStore::roomEntered(const QByteArray& room, std::int16_t exchange, Time at)
{
    at = stamp(at);
    roomState(room, exchange);
    queue({Op::Enter, at, m_account, room, {}, exchange});
}

void TranscriptStore::roomLeft(const QByteArray& room, std::int16_t exchange, Reason why, Time at)
{
    at = stamp(at);
    roomState(room, exchange);
    queue({Op::Leave, at, m_account, room, {}, exchange, why});
}

void TranscriptStore::chatMessage(const QByteArray& room, std::int16_t exchange, const QByteArray& sender,
                                  bool whisper, const QByteArray& text, Time at)
{
    at = stamp(at);
    if (m_gaveUp)
        return;
    RoomState& state = roomState(room, exchange);
    if (!whisper && !state.awaiting.isEmpty() && Transcript::normalised(sender) == m_account) {
        // The server's echo of one's own line: it is the line; the wait for it ends.
        for (qsizetype i = 0; i < state.awaiting.size(); ++i) {
            if (state.awaiting[i].text == text) {
                state.awaiting.removeAt(i);
                break;
            }
        }
    }
    addLine(state, {at, whisper ? LineKind::Whispered : LineKind::Said, sender, text});
}

void TranscriptStore::memberChanged(const QByteArray& room, std::int16_t exchange, const QByteArray& member,
                                    bool entered, Time at)
{
    at = stamp(at);
    if (!m_gaveUp)
        addLine(roomState(room, exchange), {at, entered ? LineKind::Entered : LineKind::Left, member, {}});
}

void TranscriptStore::instantMessage(const QByteArray& peer, bool outgoing, bool autoResponse, const QByteArray& text,
                                     Time at)
{
    at = stamp(at);
    Op op{Op::Im, at, m_account, peer, text};
    op.flag1 = outgoing;
    op.flag2 = autoResponse;
    queue(std::move(op));
}

void TranscriptStore::ownLineSent(const QByteArray& room, std::int16_t exchange, const QByteArray& text, Time at)
{
    at = stamp(at);
    if (m_gaveUp)
        return;
    RoomState& state = roomState(room, exchange);
    state.awaiting << Line{at, LineKind::Said, m_screenName.isEmpty() ? m_account : m_screenName, text};
    scheduleWrite();
    emit roomChanged(state.ref);
}

void TranscriptStore::markRead(const RoomRef& room, qint64 seq)
{
    RoomState& state = roomState(room.name, room.exchange);
    if (seq <= state.readMark)
        return;
    state.readMark = seq;
    Op op{Op::MarkRead, 0, m_account, room.name, {}, room.exchange};
    op.seq = seq;
    queue(std::move(op));
}

RoomRef TranscriptStore::room(const QByteArray& name, std::int16_t exchange) const
{
    return {m_account, name, exchange};
}

qsizetype TranscriptStore::queuedCount(const RoomRef& room) const
{
    const RoomState* state = findRoom(room);
    return state ? state->offsets.size() : 0;
}

Line TranscriptStore::queuedLine(const RoomRef& room, qsizetype i) const
{
    const RoomState* state = findRoom(room);
    if (!state || i < 0 || i >= state->offsets.size())
        return {};
    qsizetype at = state->offsets[i];
    return TranscriptDb::unpackLine(state->queued, at).value_or(Line());
}

QList<Line> TranscriptStore::queuedLines(const RoomRef& room) const
{
    const RoomState* state = findRoom(room);
    return state ? TranscriptDb::unpackLines(state->queued) : QList<Line>();
}

QList<Line> TranscriptStore::awaitingEcho(const RoomRef& room) const
{
    const RoomState* state = findRoom(room);
    return state ? state->awaiting : QList<Line>();
}

qint64 TranscriptStore::queuedReadMark(const RoomRef& room) const
{
    const RoomState* state = findRoom(room);
    return state ? state->readMark : -1;
}

TranscriptStore::RoomState& TranscriptStore::roomState(const QByteArray& name, std::int16_t exchange)
{
    // Callers pass the same room name object line after line: the same bytes are the same room.
    const auto same = [](const QByteArray& a, const QByteArray& b) {
        return a.size() == b.size() && (a.constData() == b.constData() || a == b);
    };
    if (m_lastRoom && m_lastRoom->ref.exchange == exchange && same(m_lastRoom->ref.name, name)
        && same(m_lastRoom->ref.account, m_account))
        return *m_lastRoom;
    RoomState& state = m_rooms[roomKey(m_account, name, exchange)];
    m_lastRoom = &state;
    if (state.ref.name != name) { // first seen, or the server now spells it otherwise
        state.ref = {m_account, name, exchange};
        state.id = 0; // looked up again, and its name written, at the next write
    }
    return state;
}

TranscriptStore::RoomState& TranscriptStore::stateOf(const Op& op)
{
    RoomState& state = m_rooms[roomKey(op.account, op.a, op.exchange)];
    if (state.ref.name.isEmpty())
        state.ref = {op.account, op.a, op.exchange};
    return state;
}

const TranscriptStore::RoomState* TranscriptStore::findRoom(const RoomRef& room) const
{
    const auto it = m_rooms.find(roomKey(room.account, room.name, room.exchange));
    return it == m_rooms.end() ? nullptr : &it->second;
}

void TranscriptStore::queue(Op op)
{
    if (m_gaveUp)
        return;
    m_ops << std::move(op);
    scheduleWrite();
}

void TranscriptStore::addLine(RoomState& room, const Line& line, bool announce)
{
    room.offsets << room.queued.size();
    TranscriptDb::packLine(room.queued, line);
    scheduleWrite();
    if (announce)
        emit roomChanged(room.ref);
}

void TranscriptStore::scheduleWrite()
{
    if (isOpen() && !m_writeTimer.isActive())
        m_writeTimer.start();
}

void TranscriptStore::expireEchoes(Time now, bool all)
{
    for (auto& [key, state] : m_rooms) {
        while (!state.awaiting.isEmpty() && (all || state.awaiting.front().at + kEchoWaitMs <= now))
            addLine(state, state.awaiting.takeFirst(), false);
    }
}

void TranscriptStore::flush()
{
    if (!isOpen())
        return;
    m_writeTimer.stop();
    expireEchoes(Transcript::now(), false);
    const QPointer<TranscriptStore> self(this);
    if (!write()) {
        scheduleWrite(); // busy: another writer has the file for a moment
        return;
    }
    if (!self) // a listener to failed destroyed the store
        return;
    bool waiting = false;
    for (const auto& [key, state] : m_rooms)
        waiting = waiting || !state.awaiting.isEmpty();
    if (waiting)
        scheduleWrite();
    emit written();
}

// Everything queued, in one transaction. False when the file is busy and the queue is kept for the
// next turn; a failure drops the queue (the record has a hole, memory stays bounded).
bool TranscriptStore::write()
{
    Sql sql(m_db);
    sql.run(QStringLiteral("BEGIN IMMEDIATE"));
    if (!sql.ok() && (sql.error.nativeErrorCode().toInt() & 0xFF) == 5 /* SQLITE_BUSY */)
        return false;
    for (const Op& op : std::as_const(m_ops)) {
        switch (op.kind) {
        case Op::SessionStart:
            // A session not said to have ended did end, without a word.
            if (m_session != 0)
                sql.run(QStringLiteral("UPDATE sessions SET ended = ?, why = ? WHERE id = ? AND ended IS NULL"),
                        {op.at, int(Reason::Unrecorded), m_session});
            m_session = sql.run(QStringLiteral("INSERT INTO sessions(account, started, run) VALUES(?, ?, ?)"),
                                {op.account, op.at, m_run})
                            .lastInsertId()
                            .toLongLong();
            break;
        case Op::SessionEnd:
            if (m_session != 0)
                sql.run(QStringLiteral("UPDATE sessions SET ended = ?, why = ? WHERE id = ? AND ended IS NULL"),
                        {op.at, int(op.why), m_session});
            m_session = 0;
            sql.run(QStringLiteral("UPDATE stays SET parted = MAX(joined, ?), why = ? WHERE run = ? AND parted IS NULL"),
                    {op.at, int(op.why), m_run});
            break;
        case Op::Refused:
            sql.run(QStringLiteral("INSERT INTO sessions(account, started, ended, why, run) VALUES(?, ?, ?, ?, ?)"),
                    {op.account, op.at, op.at, int(op.why), m_run});
            break;
        case Op::Enter: {
            const qint64 room = roomId(stateOf(op), sql);
            // A second confirmation of a room already entered changes nothing.
            sql.run(QStringLiteral("INSERT INTO stays(room, joined, run) SELECT ?, ?, ? WHERE NOT EXISTS"
                                   " (SELECT 1 FROM stays WHERE room = ? AND run = ? AND parted IS NULL)"),
                    {room, op.at, m_run, room, m_run});
            break;
        }
        case Op::Leave: {
            const qint64 room = roomId(stateOf(op), sql);
            sql.run(QStringLiteral("UPDATE stays SET parted = MAX(joined, ?), why = ?"
                                   " WHERE room = ? AND run = ? AND parted IS NULL"),
                    {op.at, int(op.why), room, m_run});
            break;
        }
        case Op::Im:
            sql.run(QStringLiteral("INSERT INTO ims(account, at, peer, outgoing, auto_response, text)"
                                   " VALUES(?, ?, ?, ?, ?, ?)"),
                    {op.account, op.at, op.a, int(op.flag1), int(op.flag2), op.b});
            break;
        case Op::MarkRead: {
            const qint64 room = roomId(stateOf(op), sql);
            sql.run(QStringLiteral("UPDATE rooms SET read_seq = MAX(read_seq, ?) WHERE id = ?"), {op.seq, room});
            break;
        }
        }
    }
    for (auto& [key, state] : m_rooms) {
        if (state.offsets.isEmpty())
            continue;
        const qint64 room = roomId(state, sql);
        // Counted on from what is in the file: another copy may have written this room too.
        qint64 seq = sql.value(QStringLiteral("SELECT first_seq + count FROM room_lines WHERE room = ?"
                                              " ORDER BY first_seq DESC LIMIT 1"),
                               {room}, 0)
                         .toLongLong();
        const qsizetype lines = state.offsets.size();
        for (qsizetype from = 0; from < lines; from += TranscriptDb::kLinesPerChunk) {
            const qsizetype to = std::min<qsizetype>(from + TranscriptDb::kLinesPerChunk, lines);
            const qsizetype begin = state.offsets[from];
            const qsizetype end = to < lines ? state.offsets[to] : state.queued.size();
            const auto timeAt = [&](qsizetype offset) { return qFromLittleEndian<qint64>(state.queued.constData() + offset); };
            sql.run(QStringLiteral("INSERT INTO room_lines(room, first_seq, count, first_at, last_at, lines)"
                                   " VALUES(?, ?, ?, ?, ?, ?)"),
                    {room, seq, to - from, timeAt(begin), timeAt(state.offsets[to - 1]),
                     QByteArray::fromRawData(state.queued.constData() + begin, end - begin)});
            seq += to - from;
        }
    }
    const Time now = Transcript::now();
    sql.run(QStringLiteral("UPDATE runs SET alive = ? WHERE id = ?"), {now, m_run});
    sql.run(QStringLiteral("COMMIT"));
    if (!sql.ok()) {
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        for (auto& [key, state] : m_rooms)
            state.id = 0; // rooms made in the transaction are gone with it
        const QString reason = QStringLiteral("cannot write to %1: %2")
                                   .arg(QDir::toNativeSeparators(m_path), TranscriptDb::describe(sql.error));
        dropQueued();
        report(reason);
        return true;
    }
    dropQueued();
    return true;
}

qint64 TranscriptStore::roomId(RoomState& room, Sql& sql)
{
    if (room.id != 0)
        return room.id;
    const RoomRef& ref = room.ref;
    room.id = sql.value(QStringLiteral("SELECT id FROM rooms WHERE account = ? AND room_key = ? AND exchange = ?"),
                        {ref.account, ref.key(), ref.exchange}, 0)
                  .toLongLong();
    if (room.id == 0)
        room.id = sql.run(QStringLiteral("INSERT INTO rooms(account, room_key, name, exchange) VALUES(?, ?, ?, ?)"),
                          {ref.account, ref.key(), ref.name, ref.exchange})
                      .lastInsertId()
                      .toLongLong();
    else
        sql.run(QStringLiteral("UPDATE rooms SET name = ? WHERE id = ?"), {ref.name, room.id});
    return room.id;
}

// Renames the file, and its log and index beside it, to "<file>.damaged-<UTC time>". The new name,
// or empty when the file could not be moved.
QString TranscriptStore::moveAside()
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmss"));
    QString aside = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = m_path + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(m_path, aside))
        return {};
    for (const char* suffix : {"-wal", "-shm"})
        if (QFile::exists(m_path + QLatin1String(suffix)))
            QFile::rename(m_path + QLatin1String(suffix), aside + QLatin1String(suffix));
    return aside;
}

void TranscriptStore::giveUp(const QString& reason)
{
    m_gaveUp = true;
    m_writeTimer.stop();
    m_aliveTimer.stop();
    m_ops.clear();
    m_rooms.clear();
    m_lastRoom = nullptr;
    report(reason);
}

void TranscriptStore::report(const QString& reason)
{
    if (!m_failure.isEmpty())
        return;
    m_failure = TranscriptDb::failureLine(reason);
    emit failed(m_failure);
}

void TranscriptStore::dropQueued()
{
    m_ops.clear();
    for (auto& [key, state] : m_rooms) {
        state.queued.clear();
        state.offsets.clear();
    }
}

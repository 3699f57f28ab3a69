#include "TranscriptReader.h"

#include "Texts.h"
#include "TranscriptDb.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

using Transcript::Line;
using Transcript::Time;

namespace {

QSqlQuery run(QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    q.exec();
    return q;
}

} // namespace

TranscriptReader::TranscriptReader(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile()) {
        m_error = Texts::get(Text::NoTranscriptYet, {shown});
        return;
    }
    QString error;
    m_db = TranscriptDb::openConnection(path, true, &error);
    if (!m_db.isValid()) {
        m_error = Texts::get(Text::TranscriptUnreadable, {shown, error});
        return;
    }
    QSqlQuery q = run(m_db, QStringLiteral("PRAGMA user_version"), {});
    const int version = q.next() ? q.value(0).toInt() : -1;
    if (version == 0)
        m_error = Texts::get(Text::NoTranscriptYet, {shown});
    else if (version < 0)
        m_error = Texts::get(Text::TranscriptUnreadable, {shown, TranscriptDb::describe(q.lastError())});
    else if (version != TranscriptDb::kSchemaVersion)
        m_error = Texts::get(Text::TranscriptOtherSchema, {shown, QString::number(version),
                                                           QString::number(TranscriptDb::kSchemaVersion)});
}

TranscriptReader::~TranscriptReader()
{
    if (m_db.isValid())
        TranscriptDb::closeConnection(m_db);
}

QList<TranscriptReader::Room> TranscriptReader::rooms(const QByteArray& account) const
{
    QList<Room> out;
    if (!isOpen())
        return out;
    QSqlQuery q = run(m_db,
                      QStringLiteral("SELECT r.id, r.account, r.name, r.exchange, r.read_seq,"
                                     " (SELECT first_seq FROM room_lines WHERE room = r.id ORDER BY first_seq LIMIT 1),"
                                     " (SELECT first_seq + count FROM room_lines WHERE room = r.id"
                                     "  ORDER BY first_seq DESC LIMIT 1)"
                                     " FROM rooms r %1 ORDER BY r.room_key, r.exchange")
                          .arg(account.isEmpty() ? QString() : QStringLiteral("WHERE r.account = ?")),
                      account.isEmpty() ? QVariantList() : QVariantList{account});
    while (q.next()) {
        Room room;
        room.id = q.value(0).toLongLong();
        room.ref = {q.value(1).toByteArray(), q.value(2).toByteArray(), std::int16_t(q.value(3).toInt())};
        room.readSeq = q.value(4).toLongLong();
        room.firstSeq = q.value(5).toLongLong();
        room.endSeq = q.value(6).toLongLong();
        room.readSeq = std::clamp(room.readSeq, room.firstSeq, room.endSeq);
        out << room;
    }
    return out;
}

std::optional<TranscriptReader::Room> TranscriptReader::room(const Transcript::RoomRef& ref) const
{
    for (const Room& room : rooms(ref.account))
        if (room.ref.sameRoom(ref))
            return room;
    return std::nullopt;
}

QList<Line> TranscriptReader::lines(qint64 roomId, qint64 from, qint64 count) const
{
    // From the chunk holding position from (or the first one after it) up to from + count.
    return linesWhere(roomId,
                      QStringLiteral("first_seq >= COALESCE((SELECT first_seq FROM room_lines WHERE room = ?"
                                     " AND first_seq <= ? ORDER BY first_seq DESC LIMIT 1), ?) AND first_seq < ?"),
                      {roomId, from, from, from + count}, from, count);
}

QList<Line> TranscriptReader::linesSince(qint64 roomId, Time since) const
{
    QList<Line> out = linesWhere(roomId, QStringLiteral("last_at >= ?"), {since}, 0, -1);
    out.removeIf([since](const Line& line) { return line.at < since; });
    return out;
}

QList<Line> TranscriptReader::linesWhere(qint64 roomId, const QString& condition, QVariantList values,
                                         qint64 from, qint64 count) const
{
    QList<Line> out;
    if (!isOpen())
        return out;
    values.prepend(roomId);
    QSqlQuery q = run(m_db,
                      QStringLiteral("SELECT first_seq, lines FROM room_lines WHERE room = ? AND %1 ORDER BY first_seq")
                          .arg(condition),
                      values);
    while (q.next()) {
        ++m_chunksRead;
        const qint64 first = q.value(0).toLongLong();
        const QList<Line> chunk = TranscriptDb::unpackLines(q.value(1).toByteArray());
        for (qsizetype i = 0; i < chunk.size(); ++i) {
            const qint64 seq = first + i;
            if (count >= 0 && seq >= from + count)
                return out;
            if (seq >= from)
                out << chunk[i];
        }
    }
    return out;
}

QList<PresenceReport::Stay> TranscriptReader::stays(qint64 roomId, Time now) const
{
    QList<PresenceReport::Stay> out;
    if (!isOpen())
        return out;
    QSqlQuery q = run(m_db,
                      QStringLiteral("SELECT s.joined, s.parted, s.why, r.alive FROM stays s"
                                     " LEFT JOIN runs r ON r.id = s.run WHERE s.room = ? ORDER BY s.joined"),
                      {roomId});
    while (q.next()) {
        PresenceReport::Stay stay;
        stay.from = q.value(0).toLongLong();
        if (!q.value(1).isNull()) {
            stay.to = q.value(1).toLongLong();
            stay.why = Transcript::reasonFrom(q.value(2).toInt()).value_or(Transcript::Reason::Unrecorded);
        } else if (!q.value(3).isNull() && q.value(3).toLongLong() >= now - TranscriptDb::kStaleAfterMs) {
            stay.to = std::max(stay.from, now); // goes on; its reason is not known yet
        } else {
            stay.to = std::max(stay.from, q.value(3).isNull() ? stay.from : q.value(3).toLongLong());
        }
        out << stay;
    }
    return out;
}

QList<TranscriptReader::InstantMessage> TranscriptReader::instantMessages(Time since, int limit) const
{
    QList<InstantMessage> out;
    if (!isOpen())
        return out;
    QSqlQuery q = run(m_db,
                      QStringLiteral("SELECT at, account, peer, text, outgoing, auto_response FROM ims"
                                     " WHERE at >= ? ORDER BY at DESC, id DESC LIMIT ?"),
                      {since, limit});
    while (q.next())
        out << InstantMessage{q.value(0).toLongLong(), q.value(1).toByteArray(), q.value(2).toByteArray(),
                              q.value(3).toByteArray(), q.value(4).toBool(), q.value(5).toBool()};
    return out;
}

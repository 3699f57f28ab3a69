#pragma once
// TranscriptReader: reads the transcript database, without writing anything, while a running copy
// may be writing it. Used by the reports on the command line and by the windows.
#include "PresenceReport.h"
#include "Transcript.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <optional>

class TranscriptReader
{
public:
    using Time = Transcript::Time;

    struct Room {
        qint64 id = 0;
        Transcript::RoomRef ref;
        qint64 firstSeq = 0; // the positions of the lines kept: [firstSeq, endSeq)
        qint64 endSeq = 0;
        qint64 readSeq = 0; // lines before this one have been read
    };
    struct InstantMessage {
        Time at = 0;
        QByteArray account;
        QByteArray peer;
        QByteArray text;
        bool outgoing = false;
        bool autoResponse = false;
    };

    /// Opens the file at path for reading; error() says why when it cannot be read.
    explicit TranscriptReader(const QString& path);
    ~TranscriptReader();
    TranscriptReader(const TranscriptReader&) = delete;
    TranscriptReader& operator=(const TranscriptReader&) = delete;

    bool isOpen() const { return m_error.isEmpty(); }
    /// Why the file cannot be read ("there is no transcript yet (PATH)"), or empty.
    const QString& error() const { return m_error; }

    /// The rooms of account (of every account when empty), by name.
    QList<Room> rooms(const QByteArray& account = {}) const;
    std::optional<Room> room(const Transcript::RoomRef& ref) const;
    /// The room's lines at positions [from, from + count), fewer where the transcript ends.
    QList<Transcript::Line> lines(qint64 roomId, qint64 from, qint64 count) const;
    /// The room's lines from the time since on, oldest first.
    QList<Transcript::Line> linesSince(qint64 roomId, Time since) const;
    /// The room's stays, oldest first. A stay left open by a run still alive at now goes on until
    /// now; one left open by a run that stopped without a word ends where that run was last alive.
    QList<PresenceReport::Stay> stays(qint64 roomId, Time now) const;
    /// Instant messages from since on, newest first, at most limit.
    QList<InstantMessage> instantMessages(Time since, int limit) const;

    /// How many chunks of lines have been read so far (views must not read them all).
    qint64 chunksRead() const { return m_chunksRead; }

private:
    QList<Transcript::Line> linesWhere(qint64 roomId, const QString& condition, QVariantList values, qint64 from,
                                       qint64 count) const;

    mutable QSqlDatabase m_db;
    QString m_error;
    mutable qint64 m_chunksRead = 0;
};

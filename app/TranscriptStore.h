#pragma once
// TranscriptStore: keeps the record of a run in the transcript database: sessions and why they
// ended, stays in rooms, what was said in the rooms and who came and went, instant messages.
//
// Keeping the record never holds up presence: each call only queues in memory; what is queued is
// written in one transaction at most once a second, and when the store is flushed or destroyed. If
// the file cannot be opened or written, the store says so once (failed) and from then on forgets
// what it is given; whoever calls carries on as before. A damaged file is moved aside (renamed
// beside it, never deleted) and a new one started. At open, rows older than the days to keep are
// removed.
//
// One's own lines in a room are kept once: as the server's echo where the server sends one back,
// else as sent (see ownLineSent).
#include "Transcript.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <unordered_map>

class TranscriptStore : public QObject
{
    Q_OBJECT
public:
    using Time = Transcript::Time;
    using Reason = Transcript::Reason;
    static constexpr std::chrono::milliseconds kWriteInterval{1000};
    /// How often a run says it is alive while nothing else is written.
    static constexpr std::chrono::milliseconds kAliveInterval{60000};
    /// How long one's own line waits for the server's echo before it is kept as sent.
    static constexpr Time kEchoWaitMs = 3000;
    static constexpr int kDefaultKeepDays = Transcript::kDefaultKeepDays;

    /// Keeps the record in the file at path (TranscriptDb::defaultPath() for the user's). Nothing
    /// is opened before open().
    explicit TranscriptStore(QString path, int keepDays = kDefaultKeepDays, QObject* parent = nullptr);
    /// Ends whatever is still open as the end of the run (Quit) and writes everything queued.
    ~TranscriptStore() override;

    /// Opens (or creates, or brings up to date) the file and removes what is older than the days to
    /// keep. False, after failed, when there is no record this run. Calls made before are kept.
    bool open();
    bool isOpen() const { return m_db.isValid(); }
    const QString& path() const { return m_path; }
    /// The failure line given, if any.
    const QString& failure() const { return m_failure; }

    /// As a time: now. Read once per turn of the event loop: the lines of one burst from the server
    /// share it (their order is kept), and a flood does not read the clock for each line.
    static constexpr Time kNow = 0;

    // What happened, each at the time given (now when none is).
    /// Signed on as screenName; what follows is that account's.
    void sessionStarted(const QByteArray& screenName, Time at = kNow);
    /// Signed off; every stay in a room still open ends with the same reason.
    void sessionEnded(Reason why, Time at = kNow);
    /// The server refused a sign-on as screenName: kept as a session that ended as it began.
    void signOnRefused(const QByteArray& screenName, Time at = kNow);
    void roomEntered(const QByteArray& room, std::int16_t exchange, Time at = kNow);
    void roomLeft(const QByteArray& room, std::int16_t exchange, Reason why, Time at = kNow);
    void chatMessage(const QByteArray& room, std::int16_t exchange, const QByteArray& sender, bool whisper,
                     const QByteArray& text, Time at = kNow);
    /// A member entered (or left) a room, as ChatUserUpdate tells.
    void memberChanged(const QByteArray& room, std::int16_t exchange, const QByteArray& member, bool entered,
                       Time at = kNow);
    void instantMessage(const QByteArray& peer, bool outgoing, bool autoResponse, const QByteArray& text,
                        Time at = kNow);
    /// One's own line, just sent to a room. It waits for the server's echo (a line from this
    /// account with the same text), which is then kept as the line and the wait ends; without an
    /// echo within kEchoWaitMs it is kept as sent, with the time it was sent.
    void ownLineSent(const QByteArray& room, std::int16_t exchange, const QByteArray& text,
                     Time at = kNow);
    /// The lines of room before seq (counted as TranscriptReader counts them) have been read.
    void markRead(const Transcript::RoomRef& room, qint64 seq);

    /// Writes what is queued now.
    void flush();

    /// The room of this account by that name and exchange.
    Transcript::RoomRef room(const QByteArray& name, std::int16_t exchange) const;
    /// How many lines of room are not yet written; they follow the written ones.
    qsizetype queuedCount(const Transcript::RoomRef& room) const;
    /// The queued line i of room (0 the oldest).
    Transcript::Line queuedLine(const Transcript::RoomRef& room, qsizetype i) const;
    /// All of them, oldest first.
    QList<Transcript::Line> queuedLines(const Transcript::RoomRef& room) const;
    /// One's own lines of room still waiting for an echo, oldest first.
    QList<Transcript::Line> awaitingEcho(const Transcript::RoomRef& room) const;
    /// The read position of room given to markRead and not yet written, or -1.
    qint64 queuedReadMark(const Transcript::RoomRef& room) const;

signals:
    /// Once, when the record cannot be kept: "Could not keep the transcript: REASON."
    void failed(const QString& line);
    /// A line of room was queued, or one of one's own lines began or ended its wait.
    void roomChanged(const Transcript::RoomRef& room);
    /// Queued lines reached the file (or, after a failure, were dropped).
    void written();

private:
    friend struct TranscriptStoreTestAccess; // tests stand for a killed process and a full disk

    struct Op {
        enum Kind { SessionStart, SessionEnd, Refused, Enter, Leave, Im, MarkRead } kind;
        Time at = 0;
        QByteArray account{};
        QByteArray a{}, b{}; // room name or peer; text
        std::int16_t exchange = 0;
        Reason why = Reason::Quit;
        bool flag1 = false, flag2 = false; // outgoing, auto response
        qint64 seq = 0;
    };
    struct RoomState {
        Transcript::RoomRef ref;
        qint64 id = 0; // in the file; 0 until known
        // Queued lines packed as the file keeps them, the moment they come: the server's buffers
        // go at once, and writing is a copy.
        QByteArray queued;
        QList<qsizetype> offsets; // where each queued line starts
        QList<Transcript::Line> awaiting;
        qint64 readMark = -1;
    };

    RoomState& roomState(const QByteArray& name, std::int16_t exchange);
    RoomState& stateOf(const Op& op);
    const RoomState* findRoom(const Transcript::RoomRef& room) const;
    void queue(Op op);
    void addLine(RoomState& room, const Transcript::Line& line, bool announce = true);
    void scheduleWrite();
    Time stamp(Time at);
    void expireEchoes(Time now, bool all);
    bool prepare(QSqlError& problem);
    bool write();
    struct Sql;
    qint64 roomId(RoomState& room, Sql& sql);
    void endOpen(Reason why, Time at);
    QString moveAside();
    void giveUp(const QString& reason);
    void report(const QString& reason);
    void dropQueued();

    QString m_path;
    int m_keepDays;
    QSqlDatabase m_db;
    qint64 m_run = 0;
    qint64 m_session = 0; // the open session's row
    QString m_failure;
    bool m_gaveUp = false;
    QByteArray m_account;
    QByteArray m_screenName; // as signed on
    QList<Op> m_ops;
    struct KeyHash {
        size_t operator()(const QByteArray& key) const noexcept { return qHash(key); }
    };
    // By account, key and exchange; a map whose entries stay in place, so that the room of the last
    // line can be kept at hand (lines come in runs of one room).
    std::unordered_map<QByteArray, RoomState, KeyHash> m_rooms;
    RoomState* m_lastRoom = nullptr;
    QTimer m_writeTimer;
    QTimer m_aliveTimer;
    QTimer m_turnTimer; // forgets the turn's time when the event loop turns
    Time m_turnTime = 0;
};

#pragma once
// TranscriptModel: one room's transcript as a list, for a view, without loading it all. Its rows
// are every line kept (read from the file a chunk at a time, as the view asks for them, a few
// chunks held), then the lines the store has queued and not yet written, then one's own lines
// still waiting for the server's echo. It follows the store as lines arrive.
#include "Transcript.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include <optional>

class TranscriptReader;
class TranscriptStore;

class TranscriptModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        KindRole = Qt::UserRole + 1, // Transcript::LineKind as int
        SenderRole,                  // QString
        TextRole,                    // QString: the message as plain text
        TimeRole,                    // qint64: Transcript::Time
        AwaitingEchoRole,            // bool: one's own line, sent, not yet echoed
        FirstUnreadRole,             // bool: unread lines start here
    };
    /// Lines read from the file per request, and how many such pages are held at most.
    static constexpr int kPageLines = 256;
    static constexpr int kPagesHeld = 8;

    /// The room's transcript from reader, and, with a store, what it has not written yet. Both must
    /// outlive the model.
    TranscriptModel(const TranscriptReader& reader, const TranscriptStore* store, Transcript::RoomRef room,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const Transcript::RoomRef& room() const { return m_room; }
    /// The row where unread lines started when the marker was last placed; -1 for none.
    int markerRow() const { return m_marker; }
    /// Places the marker where the unread lines start now.
    void placeMarker();
    /// Lines received and not read (one's own lines waiting for an echo are not counted).
    int unreadCount() const;
    /// The position to give TranscriptStore::markRead when the lines up to row have been read.
    qint64 readPositionAfter(int row) const;
    /// Lines held in memory from the file (the view must not make it load them all).
    qsizetype linesHeld() const;

    /// Reads again how many lines the file holds (after the store wrote, or when nothing is known).
    void refresh();

private:
    void follow(qint64 written, qint64 queued, qint64 awaiting);
    std::optional<Transcript::Line> line(int row) const;

    const TranscriptReader& m_reader;
    const TranscriptStore* m_store;
    Transcript::RoomRef m_room;
    qint64 m_roomId = 0;
    qint64 m_firstSeq = 0, m_written = 0, m_readSeq = 0;
    qint64 m_queued = 0, m_awaiting = 0;
    int m_marker = -1;
    QList<Transcript::Line> m_awaitingLines; // as last asked of the store

    mutable QHash<qint64, QList<Transcript::Line>> m_pages; // by page number from m_firstSeq
    mutable QList<qint64> m_pageOrder;                      // least recently used first
};

/// How many lines of room are unread, from what the file holds and what the store has queued: for
/// the tray menu's rooms.
int unreadLines(const TranscriptReader& reader, const TranscriptStore* store, const Transcript::RoomRef& room);

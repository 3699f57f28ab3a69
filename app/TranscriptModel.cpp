#include "TranscriptModel.h"

#include "RecordCommands.h"
#include "TranscriptReader.h"
#include "TranscriptStore.h"

#include <algorithm>

using Transcript::Line;
using Transcript::LineKind;

TranscriptModel::TranscriptModel(const TranscriptReader& reader, const TranscriptStore* store,
                                 Transcript::RoomRef room, QObject* parent)
    : QAbstractListModel(parent), m_reader(reader), m_store(store), m_room(std::move(room))
{
    if (m_store) {
        connect(m_store, &TranscriptStore::roomChanged, this, [this](const Transcript::RoomRef& changed) {
            if (changed.sameRoom(m_room))
                follow(m_written, m_store->queuedCount(m_room), m_store->awaitingEcho(m_room).size());
        });
        connect(m_store, &TranscriptStore::written, this, &TranscriptModel::refresh);
    }
    refresh();
    placeMarker();
}

void TranscriptModel::refresh()
{
    const auto room = m_reader.room(m_room);
    const qint64 id = room ? room->id : 0;
    const qint64 first = room ? room->firstSeq : 0;
    if (id != m_roomId || first != m_firstSeq) {
        // Another room row, or older lines removed: positions mean something else now.
        beginResetModel();
        m_roomId = id;
        m_firstSeq = first;
        m_written = room ? room->endSeq - first : 0;
        m_pages.clear();
        m_pageOrder.clear();
        m_queued = m_awaiting = 0;
        m_awaitingLines.clear();
        endResetModel();
    }
    m_readSeq = room ? room->readSeq : 0;
    if (m_store)
        m_readSeq = std::max(m_readSeq, m_store->queuedReadMark(m_room));
    const qint64 written = room ? room->endSeq - first : 0;
    // The page that held the end of the file may have grown.
    const qint64 lastPage = m_written / kPageLines;
    m_pages.remove(lastPage);
    m_pageOrder.removeAll(lastPage);
    follow(written, m_store ? m_store->queuedCount(m_room) : 0,
           m_store ? m_store->awaitingEcho(m_room).size() : 0);
}

// Lines move from queued to written as the store writes them; the rows stay, only the end grows
// or shrinks (a failed write drops what was queued).
void TranscriptModel::follow(qint64 written, qint64 queued, qint64 awaiting)
{
    const qint64 before = m_written + m_queued + m_awaiting;
    const qint64 after = written + queued + awaiting;
    const qint64 changedFrom = std::min(m_written, written);
    if (after > before) {
        beginInsertRows({}, int(before), int(after - 1));
    } else if (after < before) {
        beginRemoveRows({}, int(after), int(before - 1));
    }
    m_written = written;
    m_queued = queued;
    m_awaiting = awaiting;
    m_awaitingLines = m_store ? m_store->awaitingEcho(m_room) : QList<Line>();
    if (after > before)
        endInsertRows();
    else if (after < before)
        endRemoveRows();
    const qint64 last = std::min(before, after) - 1;
    if (last >= changedFrom)
        emit dataChanged(index(int(changedFrom)), index(int(last)));
}

void TranscriptModel::placeMarker()
{
    const qint64 row = m_readSeq - m_firstSeq;
    const int marker = row >= 0 && row < m_written + m_queued ? int(row) : -1;
    if (marker == m_marker)
        return;
    const int old = std::exchange(m_marker, marker);
    for (int changed : {old, marker})
        if (changed >= 0)
            emit dataChanged(index(changed), index(changed), {FirstUnreadRole});
}

int TranscriptModel::unreadCount() const
{
    return int(std::max<qint64>(0, m_firstSeq + m_written + m_queued - std::max(m_readSeq, m_firstSeq)));
}

qint64 TranscriptModel::readPositionAfter(int row) const
{
    return m_firstSeq + std::clamp<qint64>(row + 1, 0, m_written + m_queued);
}

qsizetype TranscriptModel::linesHeld() const
{
    qsizetype n = 0;
    for (const auto& page : m_pages)
        n += page.size();
    return n;
}

int TranscriptModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_written + m_queued + m_awaiting);
}

std::optional<Line> TranscriptModel::line(int row) const
{
    if (row < 0)
        return std::nullopt;
    if (row >= m_written) {
        const qint64 at = row - m_written;
        if (at < m_queued)
            return m_store->queuedLine(m_room, at);
        if (at - m_queued < m_awaitingLines.size())
            return m_awaitingLines[at - m_queued];
        return std::nullopt;
    }
    const qint64 page = row / kPageLines;
    auto it = m_pages.find(page);
    if (it == m_pages.end()) {
        if (m_pages.size() >= kPagesHeld)
            m_pages.remove(m_pageOrder.takeFirst());
        it = m_pages.insert(page, m_reader.lines(m_roomId, m_firstSeq + page * kPageLines, kPageLines));
    } else {
        m_pageOrder.removeOne(page);
    }
    m_pageOrder << page;
    const qint64 at = row - page * kPageLines;
    if (at >= it->size())
        return std::nullopt;
    return (*it)[at];
}

QVariant TranscriptModel::data(const QModelIndex& index, int role) const
{
    const std::optional<Line> l = index.isValid() ? line(index.row()) : std::nullopt;
    if (!l)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return RecordCommands::transcriptLine(*l);
    case KindRole:
        return int(l->kind);
    case SenderRole:
        return Transcript::shownName(l->sender);
    case TextRole:
        return Transcript::shownText(l->text);
    case TimeRole:
        return l->at;
    case AwaitingEchoRole:
        return index.row() >= m_written + m_queued;
    case FirstUnreadRole:
        return index.row() == m_marker;
    default:
        return {};
    }
}

int unreadLines(const TranscriptReader& reader, const TranscriptStore* store, const Transcript::RoomRef& room)
{
    const auto kept = reader.room(room);
    qint64 end = kept ? kept->endSeq : 0;
    qint64 read = kept ? std::max(kept->readSeq, kept->firstSeq) : 0;
    if (store) {
        end += store->queuedCount(room);
        read = std::max(read, store->queuedReadMark(room));
    }
    return int(std::max<qint64>(0, end - read));
}

#pragma once
// RoomWindow: one room to catch up on and reply in. The transcript (times in local time, names,
// whispers marked, comings and goings in a quieter look, a marker where the unread lines start),
// who is in the room now, and a line to say something. Opening it shows the first unread line.
//
// What one says appears once: at once as a line waiting for the server's echo (greyed, "sending"),
// then as the echo where the server sends one back, else as sent after a few seconds (the store
// decides, see TranscriptStore::ownLineSent).
#include "Transcript.h"

#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QTableView;
class QListWidget;
class TranscriptModel;
class TranscriptReader;
class TranscriptStore;

class RoomWindow : public QWidget
{
    Q_OBJECT
public:
    /// Sends a line to the room; false when it could not be sent (the text stays to try again).
    using Send = std::function<bool(const QByteArray& text)>;

    /// The window of room, reading the transcript through reader and following store (either may
    /// be shared by several windows and must outlive this one; store may be null: no record).
    RoomWindow(const TranscriptReader& reader, TranscriptStore* store, const Transcript::RoomRef& room, Send send,
               QWidget* parent = nullptr);

    const Transcript::RoomRef& room() const;
    TranscriptModel& model() const { return *m_model; }
    QTableView& transcriptView() const { return *m_view; }

    /// Who is in the room now (ChatUserUpdate gives them at join, then one by one).
    void setMembers(const QStringList& names);
    void memberChanged(const QString& name, bool inside);
    QStringList members() const;

    /// Shows the line where unread lines start (the last line when all are read).
    void scrollToFirstUnread();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void sendTyped();
    void markSeen();
    void followEnd(bool wasAtEnd);
    void showMembers();

    TranscriptStore* m_store;
    Send m_send;
    TranscriptModel* m_model;
    QTableView* m_view;
    QListWidget* m_members;
    QLabel* m_membersCaption;
    QLineEdit* m_say;
    QStringList m_names;
    bool m_atEnd = true;
};

#pragma once
// RecordWindows: the session's record as the main window offers it, in windows of their own: a
// room's window (a double click on the room list, or the room in the menu's "Rooms", which counts
// each room's unread lines), "Messages" and "Presence". Each window is made once and shown again.
// Without a record (Presence::record()) the menu's items are greyed.
//
// The windows belong to the main window (they stay in front of it and go with it), and closing
// one never ends the program, even while the main window is hidden in the tray.
#include "Transcript.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class MessagesWindow;
class Presence;
class PresenceWindow;
class QAction;
class QMenu;
class QWidget;
class RoomWindow;
class TranscriptReader;

class RecordWindows : public QObject
{
    Q_OBJECT
public:
    /// The record of presence, shown beside owner (which must outlive this object's windows: they
    /// are deleted with this object).
    RecordWindows(Presence& presence, QWidget* owner);
    ~RecordWindows() override;

    /// Adds "Rooms" (a submenu), "Messages" and "Presence" to menu, brought up to date as it opens.
    void addToMenu(QMenu* menu);
    QMenu* roomsMenu() const { return m_roomsMenu; }

    /// Shows the window of the room of a row of the room list (made the first time); null when there
    /// is no record.
    RoomWindow* openRoom(int row);
    RoomWindow* openRoom(const Transcript::RoomRef& room);
    MessagesWindow* openMessages();
    PresenceWindow* openPresence();

private:
    const TranscriptReader* reader();
    void fillRoomsMenu();
    void showMembers();
    void prepare(QWidget* window);
    template <typename Window>
    Window* open(Window*& window);
    static void bringUp(QWidget* window);

    Presence& m_presence;
    QWidget* m_owner;
    std::unique_ptr<TranscriptReader> m_reader;
    QList<QPointer<QWidget>> m_windows; // every window made, for deleting them first
    QList<RoomWindow*> m_roomWindows;
    MessagesWindow* m_messages = nullptr;
    PresenceWindow* m_presenceWindow = nullptr;
    bool m_newMessages = false; // an instant message came since the Messages window last read them
    QMenu* m_roomsMenu = nullptr;
    QList<QAction*> m_items; // greyed without a record
};

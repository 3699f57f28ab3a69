#include "RecordWindows.h"

#include "MessagesWindow.h"
#include "Presence.h"
#include "PresenceWindow.h"
#include "RoomWindow.h"
#include "Texts.h"
#include "TranscriptModel.h"
#include "TranscriptReader.h"
#include "TranscriptStore.h"

#include <QMenu>
#include <QSet>
#include <QWidget>

#include <algorithm>

RecordWindows::RecordWindows(Presence& presence, QWidget* owner)
    : m_presence(presence), m_owner(owner)
{
    connect(&m_presence, &Presence::membersChanged, this, &RecordWindows::showMembers);
    connect(&m_presence, &Presence::instantMessageReceived, this, [this] { m_newMessages = true; });
}

RecordWindows::~RecordWindows()
{
    for (const QPointer<QWidget>& window : std::as_const(m_windows))
        delete window.data();
}

// Made once the record is open, so that it finds the file the store made.
const TranscriptReader* RecordWindows::reader()
{
    TranscriptStore* store = m_presence.record();
    if (!m_reader && m_presence.openRecord()) {
        m_reader = std::make_unique<TranscriptReader>(store->path());
        // An instant message is in the file once written: the open Messages window reads it then.
        connect(store, &TranscriptStore::written, this, [this] {
            if (m_messages && m_messages->isVisible() && std::exchange(m_newMessages, false))
                m_messages->reload();
        });
    }
    return m_reader.get();
}

void RecordWindows::addToMenu(QMenu* menu)
{
    menu->addSeparator();
    m_roomsMenu = menu->addMenu(Texts::get(Text::MenuRooms));
    m_items << m_roomsMenu->menuAction();
    m_items << menu->addAction(Texts::get(Text::MenuMessages), this, &RecordWindows::openMessages);
    m_items << menu->addAction(Texts::get(Text::MenuPresence), this, &RecordWindows::openPresence);
    // Up to date each time the menu opens: the rooms now, and their unread lines.
    connect(menu, &QMenu::aboutToShow, this, &RecordWindows::fillRoomsMenu);
    fillRoomsMenu();
}

namespace {
// The most rooms the Rooms menu names; the rest are in the room list.
constexpr int kMostRoomsInMenu = 50;
} // namespace

void RecordWindows::fillRoomsMenu()
{
    const TranscriptReader* read = reader();
    for (QAction* item : std::as_const(m_items))
        item->setEnabled(read);
    m_roomsMenu->clear();
    QSet<QByteArray> listed; // each room once, however many rows stand for it
    for (const RoomRow& row : m_presence.roomList().rows()) {
        const Transcript::RoomRef room = m_presence.roomOf(row);
        const QByteArray key = room.key() + ':' + QByteArray::number(room.exchange);
        if (listed.contains(key))
            continue;
        listed.insert(key);
        if (listed.size() > kMostRoomsInMenu)
            continue; // counted, not shown: a menu is no place for thousands of rooms
        QString label = Transcript::shownName(row.name) + QLatin1Char(':') + QString::number(row.exchange);
        label.replace(QLatin1Char('&'), QStringLiteral("&&")); // not a shortcut
        const int unread = read ? unreadLines(*read, m_presence.record(), room) : 0;
        QAction* item = m_roomsMenu->addAction(
            unread > 0 ? Texts::get(Text::MenuRoomUnread, {label, QString::number(unread)}) : label);
        connect(item, &QAction::triggered, this, [this, room] { openRoom(room); });
    }
    if (listed.isEmpty())
        m_roomsMenu->addAction(Texts::get(Text::MenuNoRooms))->setEnabled(false);
    if (listed.size() > kMostRoomsInMenu)
        m_roomsMenu->addAction(Texts::get(Text::MenuMoreRooms, {QString::number(listed.size() - kMostRoomsInMenu)}))
            ->setEnabled(false);
}

RoomWindow* RecordWindows::openRoom(int row)
{
    const QList<RoomRow>& rows = m_presence.roomList().rows();
    if (row < 0 || row >= rows.size())
        return nullptr;
    return openRoom(m_presence.roomOf(rows[row]));
}

RoomWindow* RecordWindows::openRoom(const Transcript::RoomRef& room)
{
    const TranscriptReader* read = reader();
    if (!read)
        return nullptr;
    const auto it = std::find_if(m_roomWindows.cbegin(), m_roomWindows.cend(),
                                 [&](const RoomWindow* w) { return w->room().sameRoom(room); });
    RoomWindow* window = it != m_roomWindows.cend() ? *it : nullptr;
    if (!window) {
        window = new RoomWindow(*read, m_presence.record(), room,
                                [this, room](const QByteArray& text) { return m_presence.say(room, text); }, m_owner);
        prepare(window);
        window->setMembers(m_presence.members(room));
        m_roomWindows << window;
    }
    bringUp(window);
    return window;
}

// Made the first time, from the file as the store leaves it now; shown again after.
template <typename Window>
Window* RecordWindows::open(Window*& window)
{
    const TranscriptReader* read = reader();
    if (!read)
        return nullptr;
    m_presence.record()->flush();
    if (!window) {
        window = new Window(*read, m_owner);
        prepare(window);
    } else if (window->isVisible()) {
        window->reload(); // reads again as it does when shown
    }
    bringUp(window);
    return window;
}

MessagesWindow* RecordWindows::openMessages()
{
    MessagesWindow* window = open(m_messages);
    m_newMessages = false; // it has read them
    return window;
}

PresenceWindow* RecordWindows::openPresence()
{
    return open(m_presenceWindow);
}

void RecordWindows::bringUp(QWidget* window)
{
    window->showNormal();
    window->raise();
    window->activateWindow();
}

// A window of its own that stays with the main window; closing it only hides it.
void RecordWindows::prepare(QWidget* window)
{
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    m_windows << window;
}

void RecordWindows::showMembers()
{
    for (RoomWindow* window : std::as_const(m_roomWindows))
        window->setMembers(m_presence.members(window->room()));
}

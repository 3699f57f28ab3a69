// The tray icon's life and the hide / restore cycle. The offscreen platform has no tray, so the
// cases with one pretend it is there; the real tray is exercised by the end-to-end test.
#include "WindowFixture.h"

#include "Autostart.h"

#include "MessagesWindow.h"
#include "PresenceWindow.h"
#include "RoomWindow.h"
#include "TranscriptStore.h"
#include "modSysTray.h"
#include "wait.h"

#include <QFile>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class Tray : public WindowTest
{
protected:
    void TearDown() override { modSysTray::OverrideTrayAvailable(std::nullopt); }
    bool hidden() { return waitFor([&] { return !window.isVisible(); }, 2000); }
};

TEST_F(Tray, IconIsRegisteredAtLoadAndRemovedAtClose)
{
    QSystemTrayIcon* icon = modSysTray::TrayIcon();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), "Tarnwick");
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_EQ(icon->parent(), &window);
    window.show();
    window.close();
    EXPECT_EQ(modSysTray::TrayIcon(), nullptr);
}

TEST_F(Tray, TipIsCutTo63CharactersAndAMissingPictureTakesTheWindowIcon)
{
    QWidget other;
    other.setWindowIcon(window.windowIcon());
    QSystemTrayIcon* icon = modSysTray::AddTrayIcon(&other, QString(70, 'x'), nullptr);
    EXPECT_EQ(icon->toolTip(), QString(63, 'x'));
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_EQ(modSysTray::TrayIcon(), icon); // the new icon replaced the window's
    modSysTray::RemoveTrayIcon();
    EXPECT_EQ(modSysTray::TrayIcon(), nullptr);
}

TEST_F(Tray, MinimisingHidesAndALeftClickTogglesTheWindow)
{
    modSysTray::OverrideTrayAvailable(true);
    window.show();
    window.showMinimized();
    EXPECT_TRUE(hidden());

    window.trayActivated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowState() & Qt::WindowMinimized, 0);
    QCoreApplication::processEvents(); // a hide queued by the earlier minimise must not strike now
    EXPECT_TRUE(window.isVisible());

    window.trayActivated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(hidden());
    EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
}

TEST_F(Tray, OtherClicksDoNothing)
{
    modSysTray::OverrideTrayAvailable(true);
    const QSystemTrayIcon::ActivationReason reasons[] = {QSystemTrayIcon::Context, QSystemTrayIcon::DoubleClick,
                                                         QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown};
    window.show();
    for (auto reason : reasons) {
        window.trayActivated(reason);
        QCoreApplication::processEvents();
        EXPECT_TRUE(window.isVisible()) << reason;
        EXPECT_EQ(window.windowState(), Qt::WindowNoState) << reason;
    }
    window.showMinimized();
    ASSERT_TRUE(hidden());
    for (auto reason : reasons) {
        window.trayActivated(reason);
        QCoreApplication::processEvents();
        EXPECT_FALSE(window.isVisible()) << reason;
    }
}

TEST_F(Tray, StartingInTheTrayShowsNothingUntilTheIconIsClicked)
{
    modSysTray::OverrideTrayAvailable(true);
    window.showInTray();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    window.trayActivated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
}

TEST_F(Tray, AHiddenWindowComesBackWhenTheTrayGoesAway)
{
    modSysTray::OverrideTrayAvailable(true);
    window.show();
    window.showMinimized();
    ASSERT_TRUE(hidden());
    modSysTray::OverrideTrayAvailable(false);
    EXPECT_TRUE(waitFor([&] { return window.isVisible(); }, 5000));
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
}

TEST_F(Tray, TheMenuOffersWhatTheLayoutHasNoRoomFor)
{
    QMenu* menu = window.menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(modSysTray::TrayIcon()->contextMenu(), menu);
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text() + (action->isCheckable() ? (action->isChecked() ? " [x]" : " [ ]") : "");
    EXPECT_EQ(items, (QStringList{"Hide", "Connect", "Disconnect", "Stay signed on [x]", "Remember password [ ]",
                                  "Server: " + window.serverHost() + ":5190...", "Start at login [ ]", "Rooms",
                                  "Messages", "Presence", "Quit"}));
    const auto item = [&](const QString& text) {
        for (QAction* action : menu->actions())
            if (action->text() == text)
                return action;
        return static_cast<QAction*>(nullptr);
    };
    item("Stay signed on")->trigger();
    EXPECT_FALSE(window.presence().staySignedOn());
    item("Start at login")->trigger();
    EXPECT_TRUE(Autostart::isEnabled());
    item("Start at login")->trigger();
    EXPECT_FALSE(QFile::exists(Autostart::entryPath()));
    typeCredentials();
    item("Connect")->trigger();
    EXPECT_EQ(net->connectCalls, 1);
    int quits = 0;
    QObject::connect(&window, &frmMain::quitRequested, [&] { ++quits; });
    window.show();
    item("Quit")->trigger();
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Tray, WithoutATrayMinimisingLeavesTheWindowReachable)
{
    modSysTray::OverrideTrayAvailable(false);
    window.show();
    window.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(waitFor([&] { return !window.isVisible(); }, 200));
    EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
}

TEST_F(Tray, TheRecordOpensFromTheRoomListAndTheMenu)
{
    QTemporaryDir dir;
    window.presence().keepRecord(std::make_unique<TranscriptStore>(dir.filePath("transcript.sqlite")));
    window.show();
    signOn();
    box("txtRoom")->setText("Lobby");
    click("Join");
    for (const QByteArray line : {"CHAT_JOIN:7:Lobby", "CHAT_UPDATE_BUDDY:7:T:Tarn Wick:Some Body",
                                  "CHAT_IN_ENC:7:Some Body:F:A:en:one", "CHAT_IN_ENC:7:Some Body:F:A:en:two"})
        server(line);
    QMenu* menu = window.menu();
    const auto rooms = [&] {
        emit menu->aboutToShow();
        QStringList texts;
        for (QAction* action : window.record().roomsMenu()->actions())
            texts << action->text();
        return texts;
    };
    EXPECT_EQ(rooms(), QStringList{"Lobby:5 (2 unread)"});

    emit lstChats()->doubleClicked(lstChats()->model()->index(0, 0));
    auto* room = window.findChild<RoomWindow*>();
    ASSERT_NE(room, nullptr);
    EXPECT_TRUE(room->isVisible());
    EXPECT_EQ(room->members(), (QStringList{"Some Body", "Tarn Wick"}));
    EXPECT_TRUE(waitFor([&] { return rooms() == QStringList{"Lobby:5"}; }, 2000)); // read, now it was shown
    sentLines();
    auto* say = room->findChild<QLineEdit*>();
    say->setText("hi");
    emit say->returnPressed();
    EXPECT_EQ(sentLines(), QByteArrayList{R"(toc_chat_send "7" "hi")"});

    for (const char* item : {"Messages", "Presence"})
        for (QAction* action : menu->actions())
            if (action->text() == item)
                action->trigger();
    ASSERT_NE(window.findChild<MessagesWindow*>(), nullptr);
    ASSERT_NE(window.findChild<PresenceWindow*>(), nullptr);
    EXPECT_TRUE(window.findChild<PresenceWindow*>()->isVisible());
    EXPECT_FALSE(room->testAttribute(Qt::WA_QuitOnClose)); // closing one never ends the program
}

} // namespace

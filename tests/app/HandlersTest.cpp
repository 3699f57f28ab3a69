// The window's answers to its four buttons and to the client's events, through a scripted socket.
#include "WindowFixture.h"

#include "Button.h"
#include "FakeClock.h"
#include "ServerDialog.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QStringListModel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

void WindowTest::click(const char* name)
{
    Button* button = control<Button>(name);
    ASSERT_NE(button, nullptr);
    emit button->Click();
}

namespace {

using Handlers = WindowTest;

TEST_F(Handlers, ConnectSignsOnWithTheBoxesAsTheyAreAndLogsAtOnce)
{
    window.setServer("toc.example", 5191);
    click("Connect"); // no name: refused, nothing is sent
    EXPECT_EQ(net->connectCalls, 0);
    EXPECT_EQ(logLines(), QStringList{"Invalid screen name or password."});
    clearLog();

    typeCredentials();
    click("Connect");
    EXPECT_EQ(net->connectCalls, 1);
    EXPECT_EQ(net->host, "toc.example");
    EXPECT_EQ(net->port, 5191);
    EXPECT_EQ(logLines(), QStringList{"Connected to server."});
    EXPECT_EQ(status(), "Disconnected"); // nothing is known until the server answers

    click("Connect");
    EXPECT_EQ(net->connectCalls, 2);
    EXPECT_EQ(logLines(), (QStringList{"Connected to server.", "Connected to server."}));
}

TEST_F(Handlers, DefaultServerIsTheBuildsHostOnPort5190)
{
    typeCredentials();
    click("Connect");
    EXPECT_EQ(net->host, window.serverHost());
    EXPECT_FALSE(net->host.isEmpty());
    EXPECT_EQ(net->port, 5190);
}

TEST_F(Handlers, TheServerChosenInTheMenuIsSignedOnToAndRemembered)
{
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<ServerDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->hostBox()->setText("toc.example");
        dialog->portBox()->setText("5191");
        dialog->accept();
    });
    for (QAction* action : window.menu()->actions())
        if (action->text().startsWith("Server: "))
            action->trigger();
    EXPECT_EQ(window.presence().remembered().server, (ServerAddress{"toc.example", 5191}));
    typeCredentials();
    click("Connect");
    EXPECT_EQ(net->host, "toc.example");
    EXPECT_EQ(net->port, 5191);
}

TEST_F(Handlers, SignOnSendsTheNameAndPasswordAsUtf8)
{
    box("txtSN")->setText("Tärn Wick");
    box("txtPW")->setText("sécret");
    click("Connect");
    net->open();
    net->deliver(flapFrame(1, QByteArray("\x00\x00\x00\x01", 4)));
    const QByteArrayList lines = sentLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("toc2_login ")) << lines[0].constData();
    EXPECT_TRUE(lines[0].contains(" t\xC3\xA4rnwick ")) << lines[0].constData();
}

TEST_F(Handlers, LoggedInShowsConnectedAndSetsTheProfile)
{
    typeCredentials();
    click("Connect");
    net->open();
    server("SIGN_ON:TOC2.0");
    sentLines();
    server("CONFIG2:done:");
    EXPECT_EQ(status(), "Connected");
    const QByteArrayList lines = sentLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), R"(toc_set_info "<BODY BGCOLOR=#A1BF9B><FONT FACE=TAHOMA>Tarnwick<SUP>1.0</SUP>")");
}

TEST_F(Handlers, DisconnectLogsDirectlyAndKeepsTheRooms)
{
    signOn();
    server("CHAT_JOIN:7:lobby");
    const int selected = log()->currentRow();
    click("Disconnect");
    EXPECT_EQ(status(), "Disconnected");
    EXPECT_EQ(logLines().last(), "Disconnected from server.");
    EXPECT_FALSE(logLines().contains("Connection to server lost."));
    EXPECT_EQ(log()->currentRow(), selected); // the direct line does not move the selection
    EXPECT_EQ(entries(), QStringList{"lobby:7"});
    EXPECT_EQ(net->state(), TocSocket::Closed);
}

TEST_F(Handlers, DisconnectWithoutASessionStillSaysDisconnected)
{
    click("Disconnect");
    EXPECT_EQ(status(), "Disconnected");
    EXPECT_EQ(logLines(), QStringList{"Disconnected from server."});
}

TEST_F(Handlers, ALostConnectionIsReportedNotHidden)
{
    struct Case {
        const char* what;
        std::function<void(FakeTocSocket&)> end;
        QStringList tail;
    };
    const Case cases[] = {
        {"server closes", [](FakeTocSocket& s) { s.peerClose(); }, {"Connection to server lost."}},
        {"connection breaks", [](FakeTocSocket& s) { s.fail(10054, "The connection was reset", true); },
         {"Connection failed: The connection was reset", "Connection to server lost."}},
    };
    for (const Case& c : cases) {
        auto* fake = new FakeTocSocket;
        frmMain w(std::make_unique<QuonTOCSock>(std::unique_ptr<TocSocket>(fake)));
        QStringList lines;
        QString lastStatus;
        QObject::connect(&w, &frmMain::logLineAdded, [&](const QString& l) { lines << l; });
        QObject::connect(&w, &frmMain::statusChanged, [&](const QString& s) { lastStatus = s; });
        w.findChild<QLineEdit*>("txtSN")->setText("Tarn Wick");
        emit w.findChild<Button*>("Connect")->Click();
        fake->open();
        fake->deliver(flapFrame(2, "SIGN_ON:TOC2.0") + flapFrame(2, "CONFIG2:done:"));
        ASSERT_EQ(lastStatus, "Connected") << c.what;
        c.end(*fake);
        EXPECT_EQ(lastStatus, "Disconnected") << c.what;
        EXPECT_EQ(lines.mid(1), c.tail) << c.what;
    }
}

TEST_F(Handlers, FailedConnectLogsTheReason)
{
    typeCredentials();
    click("Connect");
    net->fail(10061, "Connection refused", false);
    EXPECT_EQ(logLines(), (QStringList{"Connected to server.", "Connection failed: Connection refused"}));
    EXPECT_EQ(status(), "Disconnected");
}

TEST_F(Handlers, ServerErrorsAreLoggedAsSentencesNamingTheirArgument)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"ERROR:980", "Error 980: Incorrect screen name or password."},
        {"ERROR:901:bob", "Error 901: bob is not currently available."},
        {"ERROR:901", "Error 901: The user is not currently available."},
        {"ERROR:950:lobby", "Error 950: Chat in lobby is unavailable."},
        {"ERROR:950:", "Error 950: Chat is unavailable."},
        {"ERROR:950:a\nb:c", "Error 950: Chat in a b is unavailable."}, // one line whatever the server sends
        {"ERROR:983", "Error 983: You have been connecting and disconnecting too frequently; wait 10 minutes and "
                      "try again."},
        {"ERROR:989:5", "Error 989: An unknown sign-on error has occurred (5)."},
        {"ERROR:989", "Error 989: An unknown sign-on error has occurred."},
        {"ERROR:913:%1", "Error 913: Error encountered while processing request."},
        {"ERROR:960:%2", "Error 960: You are sending messages too fast to %2."},
        {"ERROR:999", "Unknown error."},
        {"ERROR:0", "Unknown error."},
    };
    signOn();
    for (const auto& [message, expected] : cases) {
        server(message);
        EXPECT_EQ(logLines().last(), expected) << message.constData();
    }
}

// Answers the next modal message box and records what it showed.
struct MessageBoxSpy {
    QString title, text;
    int buttons = 0;
    void arm()
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return arm();
            title = box->windowTitle();
            text = box->text();
            buttons = int(box->buttons().size());
            box->accept();
        });
    }
};

TEST_F(Handlers, JoinWithoutARoomWarnsAndSendsNothing)
{
    signOn();
    MessageBoxSpy spy;
    spy.arm();
    click("Join");
    EXPECT_EQ(spy.text, "Please enter a chatroom to join.");
    EXPECT_EQ(spy.title, "Tarnwick");
    EXPECT_EQ(spy.buttons, 1);
    EXPECT_TRUE(sentLines().isEmpty());
}

TEST_F(Handlers, JoinSendsOnlyAWholeExchangeFrom0To32767)
{
    const std::pair<QString, const char*> cases[] = {
        {"5", R"(toc_chat_join "5" "lobby")"},
        {"0", R"(toc_chat_join "0" "lobby")"},
        {"32767", R"(toc_chat_join "32767" "lobby")"},
        {" 4 ", R"(toc_chat_join "4" "lobby")"},
        {"", nullptr},
        {"abc", nullptr},
        {"-1", nullptr},
        {"32768", nullptr},
        {"70000", nullptr},
        {"5.5", nullptr},
        {"0x10", nullptr},
    };
    signOn();
    box("txtRoom")->setText("lobby");
    for (const auto& [exchange, expected] : cases) {
        clearLog();
        box("txtExchange")->setText(exchange);
        click("Join");
        const QByteArrayList sent = sentLines();
        if (expected) {
            EXPECT_EQ(sent, QByteArrayList{expected}) << exchange.toStdString();
            EXPECT_TRUE(logLines().isEmpty()) << exchange.toStdString();
        } else {
            EXPECT_TRUE(sent.isEmpty()) << exchange.toStdString();
            EXPECT_EQ(logLines(), QStringList{"Invalid exchange number."}) << exchange.toStdString();
        }
    }
}

TEST_F(Handlers, JoinRefusesARoomNameThatCannotBeSent)
{
    signOn();
    const QString cases[] = {QString("lob") + QChar(0) + "by", QString(30000, QChar(0x4E2D))};
    for (const QString& room : cases) {
        clearLog();
        box("txtRoom")->setText(room);
        click("Join");
        EXPECT_TRUE(sentLines().isEmpty());
        EXPECT_EQ(logLines(), QStringList{"Invalid room name."});
    }
}

TEST_F(Handlers, JoinedChatListsTheServersNameAndLogsTheTypedOne)
{
    signOn();
    box("txtRoom")->setText("Lobby");
    click("Join");
    box("txtRoom")->setText("edited"); // typed between the click and the answer
    server("CHAT_JOIN:7:lobby");
    server("CHAT_JOIN:7:lobby");
    EXPECT_EQ(entries(), (QStringList{"lobby:7", "lobby:7"})); // duplicates are kept
    EXPECT_EQ(logLines().mid(1), (QStringList{"Joined chatroom edited:5", "Joined chatroom edited:5"}));
}

TEST_F(Handlers, LeftChatLogsAndRemovesTheEntry)
{
    signOn();
    server("CHAT_JOIN:7:lobby");
    server("CHAT_LEFT:7");
    EXPECT_EQ(logLines().last(), "Left chatroom, ejected or error.");
    EXPECT_TRUE(entries().isEmpty()); // the list never shows a room the server has left
}

TEST_F(Handlers, LeaveSendsTheSelectedIdAndRemovesTheEntry)
{
    QList<QStringList> reported;
    QObject::connect(&window, &frmMain::roomsChanged, [&] { reported << entries(); });
    signOn();
    server("CHAT_JOIN:7:lobby");
    server("CHAT_JOIN:12:den");
    lstChats()->setCurrentRow(1);
    click("Leave");
    EXPECT_EQ(reported, (QList<QStringList>{{"lobby:7"}, {"lobby:7", "den:12"}, {"lobby:7"}}));
    EXPECT_EQ(sentLines(), QByteArrayList{R"(toc_chat_leave "12")"});
    EXPECT_EQ(entries(), QStringList{"lobby:7"});
    EXPECT_EQ(logLines().last(), "Left chatroom den");
    EXPECT_EQ(window.selectedEntryPieces(), (QStringList{"den", "12"}));
}

TEST_F(Handlers, LeaveLeavesNoEntrySelected)
{
    signOn();
    server("CHAT_JOIN:7:lobby");
    server("CHAT_JOIN:12:den");
    lstChats()->setCurrentRow(0);
    click("Leave");
    EXPECT_EQ(sentLines(), QByteArrayList{R"(toc_chat_leave "7")"});
    EXPECT_FALSE(lstChats()->selectionModel()->hasSelection());
    click("Leave"); // a second click has nothing to leave
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_EQ(entries(), QStringList{"den:12"});
}

TEST_F(Handlers, EnterSignsOnFromThePasswordAndJoinsFromTheRoomBoxes)
{
    typeCredentials();
    QTest::keyClick(box("txtPW"), Qt::Key_Return);
    EXPECT_EQ(net->connectCalls, 1);
    acceptSignOn(*net);
    box("txtRoom")->setText("lobby");
    QTest::keyClick(box("txtRoom"), Qt::Key_Return);
    QTest::keyClick(box("txtExchange"), Qt::Key_Enter);
    EXPECT_EQ(sentLines(), QByteArrayList(2, R"(toc_chat_join "5" "lobby")"));
}

TEST_F(Handlers, AfterASignOnRoomsAreRejoinedAndTheirEntriesReplaced)
{
    auto* fake = new FakeTocSocket;
    auto* clock = new FakeClock;
    frmMain w(std::make_unique<QuonTOCSock>(std::unique_ptr<TocSocket>(fake)), std::unique_ptr<PresenceClock>(clock));
    const auto listed = [&] { return w.presence().roomList().entries(); };
    w.presence().signOn("Tarn Wick", "secret");
    acceptSignOn(*fake);
    for (const char* room : {"lobby", "den", "den", "cellar"}) // den twice: two entries
        w.presence().join(room, 5);
    for (const char* answer : {"CHAT_JOIN:7:lobby", "CHAT_JOIN:12:den", "CHAT_JOIN:12:den", "CHAT_JOIN:13:cellar"})
        serverSays(*fake, answer);
    ASSERT_EQ(listed(), (QStringList{"lobby:7", "den:12", "den:12", "cellar:13"}));

    fake->peerClose();
    clock->settle();
    clock->advance(std::chrono::seconds(2));
    acceptSignOn(*fake);
    serverSays(*fake, "CHAT_JOIN:1:den");
    serverSays(*fake, "CHAT_JOIN:2:lobby");
    EXPECT_EQ(listed(), (QStringList{"lobby:2", "den:1", "den:1", "cellar:13"}));
    clock->advance(std::chrono::seconds(30)); // cellar never answers
    EXPECT_EQ(listed(), (QStringList{"lobby:2", "den:1", "den:1"}));
}

TEST_F(Handlers, LeaveWithoutASelectionDoesNothing)
{
    signOn();
    server("CHAT_JOIN:7:lobby");
    click("Leave");
    EXPECT_TRUE(sentLines().isEmpty());
    EXPECT_EQ(entries(), QStringList{"lobby:7"});
}

TEST_F(Handlers, AddLogMovesTheSelectionOneLineDown)
{
    window.addLog("one");
    EXPECT_EQ(log()->currentRow(), 0);
    window.addLog("two");
    EXPECT_EQ(log()->currentRow(), 1);
    click("Disconnect"); // a direct line: the selection stays on "two"
    EXPECT_EQ(log()->currentRow(), 1);
    window.addLog("four");
    EXPECT_EQ(log()->currentRow(), 2); // one down from where it was, not the newest line
    log()->setCurrentRow(0);           // the user picks a line
    window.addLog("five");
    EXPECT_EQ(log()->currentRow(), 1);
}

TEST_F(Handlers, TheLogKeepsTheNewestLinesWithTheNewestSelected)
{
    for (int i = 0; i < 32770; ++i)
        window.addLog(QString::number(i));
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), LogModel::kMaxLines);
    EXPECT_EQ(lines.first(), QString::number(32770 - LogModel::kMaxLines));
    EXPECT_EQ(log()->currentRow(), LogModel::kMaxLines - 1);
    EXPECT_EQ(log()->text(log()->currentRow()), "32769");
}

TEST_F(Handlers, RemoveRoomReportsWhetherAnEntryCarriesTheId)
{
    const struct {
        QStringList list;
        const char* id;
        bool found;
    } cases[] = {
        {{}, "2", false},
        {{"a:1", "b:2"}, "2", true},
        {{"a:1", "b:2"}, "3", false},
        {{"noid", "b:2"}, "9", false}, // an entry without ":" is no match
        {{"noid"}, "", false},
        {{"x:"}, "", true},
        {{"a:b:7"}, "b", true},
    };
    for (const auto& c : cases) {
        QStringListModel list(c.list);
        EXPECT_EQ(window.removeRoom(list, c.id), c.found) << c.list.join(',').toStdString() << " / " << c.id;
        EXPECT_EQ(list.rowCount(), c.list.size()); // nothing is removed
    }
}

} // namespace

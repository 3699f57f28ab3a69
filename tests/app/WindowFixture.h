#pragma once
// A main window talking through a scripted socket, and helpers to play the server's part.
#include "FakeServer.h"
#include "QuonTOCSock.h"
#include "frmMain.h"
#include "printers.h"

#include "ListBox.h"
#include "LogModel.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

class WindowTest : public ::testing::Test
{
protected:
    FakeTocSocket* net = new FakeTocSocket;
    frmMain window{std::make_unique<QuonTOCSock>(std::unique_ptr<TocSocket>(net))};

    template <typename T>
    T* control(const char* name)
    {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* box(const char* name) { return control<QLineEdit>(name); }
    ListBox* lstChats() { return control<ListBox>("lstChats"); }
    ListBox* log() { return control<ListBox>("Log"); }
    void clearLog() { static_cast<LogModel*>(log()->model())->clear(); }
    QString status() { return control<QLabel>("StatusText")->text(); }

    QStringList logLines()
    {
        return static_cast<LogModel*>(log()->model())->lines();
    }
    QStringList entries()
    {
        return window.presence().roomList().entries();
    }
    void click(const char* button);

    /// The command lines sent since the last call (frame header and zero byte taken off).
    QByteArrayList sentLines() { return takeCommandLines(*net); }
    void server(const QByteArray& payload) { serverSays(*net, payload); }
    void typeCredentials()
    {
        box("txtSN")->setText("Tarn Wick");
        box("txtPW")->setText("secret");
    }
    /// Types a name and password, clicks Connect and lets the server accept the sign-on.
    void signOn()
    {
        typeCredentials();
        click("Connect");
        acceptSignOn(*net);
    }
};

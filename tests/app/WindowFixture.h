#pragma once
// A main window talking through a scripted socket, and helpers to play the server's part.
#include "FakeServer.h"
#include "QuonTOCSock.h"
#include "frmMain.h"
#include "printers.h"

#include <QLineEdit>
#include <QListWidget>
#include <QLabel>

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
    QListWidget* lstChats() { return control<QListWidget>("lstChats"); }
    QListWidget* log() { return control<QListWidget>("Log"); }
    QString status() { return control<QLabel>("StatusText")->text(); }

    QStringList logLines()
    {
        QStringList lines;
        for (int i = 0; i < log()->count(); ++i)
            lines << log()->item(i)->text();
        return lines;
    }
    QStringList entries()
    {
        QStringList lines;
        for (int i = 0; i < lstChats()->count(); ++i)
            lines << lstChats()->item(i)->text();
        return lines;
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

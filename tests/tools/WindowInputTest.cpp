// The window's part of bad input, against tocd: what the user types into the boxes either reaches
// the server as typed, is refused with a line in the log, or brings back the server's error.
#include "Button.h"
#include "LogModel.h"
#include "Texts.h"
#include "TocdProcess.h"
#include "frmMain.h"
#include "printers.h"
#include "wait.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

class WindowInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret"}));
        window.setServer(tocd.host(), tocd.port());
    }

    void type(const char* box, const QString& text) { window.findChild<QLineEdit*>(QLatin1String(box))->setText(text); }
    void click(const char* button) { emit window.findChild<Button*>(QLatin1String(button))->Click(); }
    QStringList log()
    {
        return window.findChild<LogModel*>()->lines();
    }
    bool logEndsWith(const QString& line)
    {
        return waitFor([&] { return !log().isEmpty() && log().last() == line; });
    }

    TocdProcess tocd;
    frmMain window;
};

TEST_F(WindowInput, NamesThatCannotBeSentAreRefusedInTheLog)
{
    // A quoted name would sign on as the name inside the quotes; the longest password the box takes
    // does not fit the login frame once roasted.
    const std::pair<QString, QString> refused[] = {
        {QStringLiteral("\"Tarn Wick\""), QStringLiteral("secret")},
        {QStringLiteral("Tarn Wick"), QString(32767, QLatin1Char('p'))},
    };
    for (const auto& [name, password] : refused) {
        type("txtSN", name);
        type("txtPW", password);
        click("Connect");
        EXPECT_EQ(log().last(), QStringLiteral("Invalid screen name or password.")) << name.toStdString();
    }
    EXPECT_FALSE(tocd.log().contains(QStringLiteral("connected from")));

    // A name the server does not know is its error, shown in the log (then it closes the connection).
    type("txtSN", QStringLiteral("Tärn [Wick]"));
    click("Connect");
    type("txtPW", QStringLiteral("secret"));
    click("Connect");
    EXPECT_TRUE(waitFor([&] { return log().contains(Texts::serverError(980)); }));
}

TEST_F(WindowInput, ExchangesAndRoomNamesGetARefusalOrTheServersError)
{
    type("txtSN", QStringLiteral("Tarn Wick"));
    type("txtPW", QStringLiteral("secret"));
    click("Connect");
    ASSERT_TRUE(waitFor([&] { return window.findChild<QLabel*>(QStringLiteral("StatusText"))->text() == "Connected"; }));

    type("txtRoom", QStringLiteral("Tarn Lounge"));
    for (const QString exchange : {"-1", "32768", "5x", ""}) {
        type("txtExchange", exchange);
        click("Join");
        EXPECT_EQ(log().last(), QStringLiteral("Invalid exchange number.")) << exchange.toStdString();
    }
    type("txtExchange", QStringLiteral("4"));
    type("txtRoom", QStringLiteral("Tarn:Lounge"));
    click("Join");
    // The error names the room as far as its first colon: the field the protocol gives it.
    EXPECT_TRUE(logEndsWith(Texts::serverError(950, QStringLiteral("Tarn"))));
    EXPECT_FALSE(tocd.log().contains(QStringLiteral("joined room")));
}

} // namespace

// The "Server..." dialog: its boxes are checked as --server's value is (ServerOptionTest.cpp).
#include "ServerDialog.h"
#include "printers.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(ServerDialog, OkOnlyForAServerAndSaysWhatIsWrong)
{
    const struct {
        const char* host;
        const char* port;
        const char* expectedHost; // nullptr: refused with the problem below
        quint16 expectedPort;
        const char* problem;
    } cases[] = {
        {"toc.example", "5191", "toc.example", 5191, ""},
        {" toc.example ", "", "toc.example", 5190, ""},
        {"::1", "6000", "::1", 6000, ""},
        {"[::1]", "6000", "::1", 6000, ""},
        {"", "5190", nullptr, 0, "Type the server's host name or address."},
        {"  ", "5190", nullptr, 0, "Type the server's host name or address."},
        {"[::1", "5190", nullptr, 0, "\"[::1\" is not a host name or address."},
        {"host", "0", nullptr, 0, "The port is a number from 1 to 65535."},
        {"host", "65536", nullptr, 0, "The port is a number from 1 to 65535."},
        {"host", "x1", nullptr, 0, "The port is a number from 1 to 65535."},
    };
    ServerDialog dialog({QStringLiteral("localhost"), 5190});
    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(ok->isEnabled());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.host) + " / " + c.port);
        dialog.hostBox()->setText(QString::fromLatin1(c.host));
        dialog.portBox()->setText(QString::fromLatin1(c.port));
        const auto address = dialog.address();
        EXPECT_EQ(ok->isEnabled(), c.expectedHost != nullptr);
        EXPECT_EQ(dialog.problem(), QString::fromLatin1(c.problem));
        ASSERT_EQ(address.has_value(), c.expectedHost != nullptr);
        if (address) {
            EXPECT_EQ(address->host, QString::fromLatin1(c.expectedHost));
            EXPECT_EQ(address->port, c.expectedPort);
        }
    }
}

} // namespace

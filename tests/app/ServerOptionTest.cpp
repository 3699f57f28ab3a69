// The --server option's HOST[:PORT] text.
#include "ServerOption.h"
#include "printers.h"

#include <gtest/gtest.h>

namespace {

TEST(ServerOption, SplitsHostAndPortOrRefuses)
{
    const struct {
        const char* text;
        const char* host; // nullptr: refused
        quint16 port;
    } cases[] = {
        {"toc.example", "toc.example", 5190},
        {"toc.example:5191", "toc.example", 5191},
        {"127.0.0.1:1", "127.0.0.1", 1},
        {" host:65535 ", "host", 65535},
        {"::1", "::1", 5190},
        {"[::1]:6000", "::1", 6000},
        {"[::1]", "::1", 5190},
        {"", nullptr, 0},
        {":5190", nullptr, 0},
        {"host:", nullptr, 0},
        {"host:0", nullptr, 0},
        {"host:65536", nullptr, 0},
        {"host:-1", nullptr, 0},
        {"host:port", nullptr, 0},
        {"[::1", nullptr, 0},
        {"[::1]x", nullptr, 0},
        {"[::1]:", nullptr, 0},
        {"[]:5190", nullptr, 0},
    };
    for (const auto& c : cases) {
        const auto parsed = parseServerOption(QString::fromLatin1(c.text), 5190);
        if (!c.host) {
            EXPECT_FALSE(parsed.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(parsed->host, c.host) << c.text;
        EXPECT_EQ(parsed->port, c.port) << c.text;
    }
}

} // namespace

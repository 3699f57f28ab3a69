// tocd's argument splitting and account loading.
#include "Accounts.h"
#include "TocArgs.h"
#include "printers.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

namespace {

TEST(TocdArgs, SplitsTheTocWay)
{
    struct Case {
        const char* line;
        std::optional<QByteArrayList> words;
    };
    const Case cases[] = {
        {R"(toc_send_im "bob" "hi there")", QByteArrayList{"toc_send_im", "bob", "hi there"}},
        {R"(x "a\"b" "c\\d" "\(\)\$")", QByteArrayList{"x", "a\"b", "c\\d", "()$"}},
        // An escaped quote next to a blank stays inside the argument.
        {R"(x "say \" " y)", QByteArrayList{"x", "say \" ", "y"}},
        {R"(x "ends in \\")", QByteArrayList{"x", "ends in \\"}},
        {R"(x "" "")", QByteArrayList{"x", "", ""}},
        {"toc_add_buddy quon PIMP3", QByteArrayList{"toc_add_buddy", "quon", "PIMP3"}},
        {"  a   b  ", QByteArrayList{"a", "b"}},
        {R"(x a\b c"d)", QByteArrayList{"x", "a\\b", "c\"d"}}, // bare words take backslashes as they are
        {"", QByteArrayList{}},
        {R"(x "unterminated)", std::nullopt},
        {R"(x "dangling\)", std::nullopt},
        {R"(x "ab"cd)", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitTocArgs(c.line), c.words) << c.line;
}

QString load(Accounts& accounts, const QByteArray& text)
{
    QTemporaryFile file;
    if (!file.open())
        return QStringLiteral("no temp file");
    file.write(text);
    file.flush();
    return accounts.loadFile(file.fileName());
}

TEST(TocdAccounts, FileEntriesKeepTheirOrder)
{
    Accounts accounts;
    ASSERT_EQ(load(accounts, "# two accounts\r\naccount Tarn Wick:se:cret\r\ng:Buddies\nb:bob:Bob Smith\n\nd:spammer\n"
                             "m:3\naccount other:\n"),
              QString());
    const Account* tarn = accounts.find("tarnwick");
    ASSERT_NE(tarn, nullptr);
    EXPECT_EQ(tarn->formattedName, "Tarn Wick");
    EXPECT_EQ(tarn->password, "se:cret");
    EXPECT_EQ(tarn->config, (QByteArrayList{"g:Buddies", "b:bob:Bob Smith", "d:spammer", "m:3"}));
    ASSERT_NE(accounts.find("other"), nullptr);
    EXPECT_EQ(accounts.find("other")->password, "");
    EXPECT_TRUE(accounts.find("other")->config.isEmpty());
}

TEST(TocdAccounts, RefusesWhatItCannotUse)
{
    const struct {
        QByteArray text;
        const char* error;
    } cases[] = {
        {"g:Buddies\naccount a:b\n", ":1: entry before the first account"},
        {"account a:b\nx:what\n", ":2: expected"},
        {"account a:b\nbuddy bob\n", ":2: expected"},
        {"account nopassword\n", ":1: account \"nopassword\" has no"},
        {"account  :pw\n", ":1: account"},
        {"account Tarn Wick:a\naccount tarnwick:b\n", ":2: account \"tarnwick\" is given twice"},
    };
    for (const auto& c : cases) {
        Accounts accounts;
        EXPECT_TRUE(load(accounts, c.text).contains(QLatin1String(c.error))) << c.text.constData();
    }
    Accounts accounts;
    EXPECT_EQ(accounts.addFromOption("Tarn Wick:secret"), QString());
    EXPECT_FALSE(accounts.addFromOption("TARNWICK:again").isEmpty());
    EXPECT_FALSE(accounts.loadFile(QStringLiteral("/nonexistent/accounts.txt")).isEmpty());
}

} // namespace

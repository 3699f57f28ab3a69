#include "ModTOC.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ModTOC;

TEST(ModTOC, EncodeWordIsBigEndianAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(EncodeWord(0), QByteArray("\x00\x00", 2));
    EXPECT_EQ(EncodeWord(14), QByteArray("\x00\x0E", 2));
    EXPECT_EQ(EncodeWord(258), QByteArray("\x01\x02", 2));
    EXPECT_EQ(EncodeWord(65535), QByteArray("\xFF\xFF", 2));
    EXPECT_THROW(EncodeWord(65536), std::invalid_argument);
    EXPECT_THROW(EncodeWord(-1), std::invalid_argument);
}

TEST(ModTOC, DecodeWordCountsMissingBytesAsZero)
{
    EXPECT_EQ(DecodeWord(QByteArray("\x01\x02", 2)), 258);
    EXPECT_EQ(DecodeWord(QByteArray("\xFF\xFF\x07", 3)), 65535);
    EXPECT_EQ(DecodeWord(""), 0);
    EXPECT_EQ(DecodeWord("\x03"), 3 * 256);
    for (int n : {0, 1, 255, 256, 4660, 65535})
        EXPECT_EQ(DecodeWord(EncodeWord(n)), n);
}

TEST(ModTOC, RoastPasswordXorsTheCycledKey)
{
    EXPECT_EQ(RoastPassword(""), "0x");
    EXPECT_EQ(RoastPassword("T"), "0x00"); // the first key byte against itself
    // "password": p^T=24 a^i=08 s^c=10 s^/=5c w^T=23 o^o=00 r^c=11 d^T=30 (the key starts again)
    EXPECT_EQ(RoastPassword("password"), "0x2408105c23001130");
    const QByteArray high("\xFF\x80", 2);
    EXPECT_EQ(RoastPassword(high), "0xabe9");
    const QByteArray roasted = RoastPassword("Some Longer Secret!");
    EXPECT_EQ(roasted.size(), 2 + 2 * 19);
    EXPECT_EQ(roasted, roasted.toLower());
}

TEST(ModTOC, EscapeTextPrefixesEachSpecialCharacterOnce)
{
    EXPECT_EQ(EscapeText("say \"hi\""), "say \\\"hi\\\"");
    EXPECT_EQ(EscapeText("a\\b"), "a\\\\b");
    EXPECT_EQ(EscapeText("(word)"), "\\(word\\)");
    EXPECT_EQ(EscapeText("[x]{y}"), "\\[x\\]\\{y\\}");
    EXPECT_EQ(EscapeText("costs $5, ok?"), "costs $5, ok?");
    EXPECT_EQ(EscapeText(""), "");
}

TEST(ModTOC, QuoteArgAndNormalizeName)
{
    EXPECT_EQ(QuoteArg(4), "\"4\"");
    EXPECT_EQ(QuoteArg(-1234), "\"-1234\"");
    EXPECT_EQ(QuoteArg(""), "\"\"");
    EXPECT_EQ(QuoteArg("a \"b\""), "\"a \"b\"\"");

    EXPECT_EQ(NormalizeName("   "), "");
    EXPECT_EQ(NormalizeName(" Tarn  Wick "), "tarnwick");
    EXPECT_EQ(NormalizeName("Tab\tStays"), "tab\tstays");
}

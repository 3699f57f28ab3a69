// The Tahoma the buttons are designed in must be the real thing, or captions measure differently.
#include "Fonts.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

TEST(Fonts, TahomaResolvesAndMeasuresAsDesigned)
{
    ASSERT_TRUE(ensureTahoma());
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Tahoma"));
    // At 96 dpi: 11 px high (ascent 9, descent 2), "Connect" 39 px wide.
    const QFontMetrics metrics(font);
    EXPECT_EQ(metrics.ascent(), 9);
    EXPECT_EQ(metrics.descent(), 2);
    EXPECT_EQ(metrics.height(), 11);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("Connect")), 39);
    EXPECT_TRUE(ensureTahoma()); // a second call finds it loaded
}

// The property bag, reading and writing a button's stored settings, and the size units.
#include "ButtonTestUtil.h"
#include "Fonts.h"
#include "PropertyBag.h"
#include "Units.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

QFont tahoma825()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    return font;
}

// The stored settings of the main window's Connect button.
PropertyBag connectDesign()
{
    return {
        {"_extentx", 1931},           {"_extenty", 661},
        {"buttonstyle", 7},           {"backcolor", 0xD8D8D8u},
        {"backcolorpressed", 0xEFCE92u}, {"backcolorhover", 0xF7DBA5u},
        {"bordercolor", 0x8F8F8Eu},   {"bordercolorpressed", 0x5C411Du},
        {"bordercolorhover", 0xB17F3Cu}, {"forecolorpressed", 0xFFFFFFu},
        {"forecolorhover", 0xFFFFFFu}, {"caption", QStringLiteral("Connect")},
        {"font", tahoma825()},
    };
}

struct Persistence : ::testing::Test {
    static void SetUpTestSuite() { ensureTahoma(); }
    // The window the buttons sit on; its font is the ambient font.
    QWidget form;
    void SetUp() override { form.setFont(tahoma825()); }
};

TEST(PropertyBag, MatchesKeysWithoutCaseWritesLowerCaseAndKeepsOrder)
{
    PropertyBag bag;
    bag.write(QStringLiteral("ButtonStyle"), 7, 1);
    bag.write(QStringLiteral("Caption"), QStringLiteral("Join"), QStringLiteral("Button"));
    bag.write(QStringLiteral("BackColor"), 0x8000000Fu, 0x8000000Fu); // equal to its default: left out
    EXPECT_EQ(bag.keys(), QStringList({"buttonstyle", "caption"}));
    EXPECT_EQ(bag.read(QStringLiteral("BUTTONSTYLE"), 1), QVariant(7));
    EXPECT_EQ(bag.read(QStringLiteral("backcolor"), 0x8000000Fu), QVariant(0x8000000Fu));

    // Writing a key back to its default removes the stale value.
    bag.write(QStringLiteral("buttonStyle"), 1, 1);
    EXPECT_EQ(bag.keys(), QStringList({"caption"}));
    bag.write(QStringLiteral("CAPTION"), QStringLiteral("Leave"), QStringLiteral("Button"));
    EXPECT_EQ(bag.keys(), QStringList({"caption"}));
    EXPECT_EQ(bag.dump(), QStringLiteral("caption = Leave\n"));
}

TEST(PropertyBag, PicturesCompareByPixels)
{
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    EXPECT_TRUE(PropertyBag::sameValue(QPixmap(), QPixmap()));
    EXPECT_TRUE(PropertyBag::sameValue(QPixmap::fromImage(red), QPixmap::fromImage(red)));
    EXPECT_FALSE(PropertyBag::sameValue(QPixmap::fromImage(red), QPixmap()));
    EXPECT_FALSE(PropertyBag::sameValue(QPixmap(), QVariant(0)));
}

TEST_F(Persistence, ReadingStyle7WithoutColoursAppliesNoPreset)
{
    Button button(&form);
    button.readProperties({{"BUTTONSTYLE", 7}});
    EXPECT_EQ(button.ButtonStyle(), 7);
    EXPECT_EQ(button.BackColor(), Button::kButtonFace);
    EXPECT_EQ(button.BackColorPressed(), Button::kButtonFace);
    EXPECT_EQ(button.BackColorHover(), Button::kButtonFace);
    EXPECT_EQ(button.Caption(), QStringLiteral("Button")); // the surface's own name
    EXPECT_EQ(button.Font(), tahoma825());                   // the ambient font
}

TEST_F(Persistence, ReadingReportsOnlyFontAndMouseIcon)
{
    Button button(&form);
    QSignalSpy reports(&button, &Button::propertyChanged);
    button.readProperties(connectDesign());
    QStringList names;
    for (const auto& args : reports)
        names << args[0].toString();
    EXPECT_EQ(names, QStringList({"Font", "MouseIcon"}));
    EXPECT_EQ(button.BorderColorPressed(), 0x5C411Du);
    EXPECT_EQ(button.ForeColor(), 0u);
    EXPECT_EQ(button.Caption(), QStringLiteral("Connect"));
}

TEST_F(Persistence, WritingAFreshInstanceStoresOnlyWhatDiffers)
{
    QWidget plainForm;
    QFont other(QStringLiteral("DejaVu Sans"));
    other.setPointSize(10);
    plainForm.setFont(other);
    Button button(&plainForm);
    button.setObjectName(QStringLiteral("Button3"));
    button.initNew();
    PropertyBag bag;
    units::writeExtent(bag, button.size(), 96, 96);
    button.writeProperties(bag);
    // Besides the size, caption and font: the border colours that style 1 wrote back when it painted.
    EXPECT_EQ(bag.keys(), QStringList({"_extentx", "_extenty", "bordercolor", "bordercolorpressed", "bordercolorhover",
                                       "caption", "font"}))
        << bag.dump().toStdString();
    EXPECT_EQ(bag.read(QStringLiteral("caption")), QVariant(QStringLiteral("Button3")));
    EXPECT_EQ(bag.read(QStringLiteral("_extentx")), QVariant(2117)); // 80 px
}

TEST_F(Persistence, TheWindowDesignSurvivesAReadWriteRoundTrip)
{
    const PropertyBag design = connectDesign();
    Button button(&form);
    button.readProperties(design);
    PropertyBag saved;
    units::writeExtent(saved, units::readExtent(design, {}, 96, 96), 96, 96);
    button.writeProperties(saved);
    // The same keys and values, the font included although the form's font is Tahoma 8.25 too.
    ASSERT_EQ(saved.keys(), design.keys()) << saved.dump().toStdString();
    for (const QString& key : design.keys())
        EXPECT_TRUE(PropertyBag::sameValue(saved.read(key), design.read(key))) << key.toStdString();
}

TEST_F(Persistence, EveryPropertySurvivesARoundTrip)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    Button source(&form);
    source.initNew();
    source.setButtonShape(Button::TriangleLeft);
    source.setButtonStyle(8);
    source.setButtonStyleColors(0);
    source.setButtonTheme(Button::Theme(12));
    source.setButtonType(Button::Toggle);
    source.setCaptionAlignment(3);
    source.setCaptionEffect(5);
    source.setCaptionStyle(1);
    source.setDropDown(2);
    source.setPictureAlignment(-4);
    source.setBorderColor(0x80000010);
    source.setForeColor(0x12);
    source.setEffectColor(0);
    source.setCaption(QString());
    source.setFocusRect(false);
    source.setValue(true);
    source.setHandPointer(true);
    source.setPicture(QPixmap::fromImage(picture));
    source.setPictureGray(true);
    source.setEnabled(false);
    source.setFont(QFont(QStringLiteral("Tahoma"), 14, QFont::Bold));
    source.setMousePointer(99);
    source.setMouseIcon(QPixmap::fromImage(picture));
    PropertyBag bag;
    source.writeProperties(bag);

    Button copy(&form);
    copy.readProperties(bag);
    for (int i = QWidget::staticMetaObject.propertyCount(); i < Button::staticMetaObject.propertyCount(); ++i) {
        const char* name = Button::staticMetaObject.property(i).name();
        EXPECT_TRUE(PropertyBag::sameValue(copy.property(name), source.property(name))) << name;
    }
    EXPECT_EQ(copy.cursor().shape(), Qt::BitmapCursor);
}

// One policy for every key: an unusable value is refused with a warning naming the key, and the
// default stands.
TEST_F(Persistence, UnusableStoredValuesFallBackToDefaults)
{
    Button button(&form);
    ButtonWarnings warnings;
    button.readProperties({{"buttonshape", QStringLiteral("round")}, {"backcolor", QStringLiteral("grey")},
                           {"value", QStringLiteral("maybe")}, {"focusrect", 0}, {"mousepointer", 70000},
                           {"picture", QStringLiteral("logo.bmp")}, {"font", 12},
                           {"forecolor", -2147483633}, {"enabled", QStringLiteral("False")}});
    EXPECT_EQ(button.ButtonShape(), Button::Rectangle);
    EXPECT_EQ(button.BackColor(), Button::kButtonFace);
    EXPECT_FALSE(button.Value());
    EXPECT_FALSE(button.FocusRect());
    EXPECT_EQ(button.MousePointer(), 0);
    EXPECT_TRUE(button.Picture().isNull());
    EXPECT_EQ(button.Font(), tahoma825());
    EXPECT_EQ(button.ForeColor(), 0x8000000Fu); // the same 32 bits, saved as a signed number
    EXPECT_FALSE(button.Enabled());
    ASSERT_EQ(warnings.texts.size(), 6) << warnings.texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(warnings.texts[5].contains(QLatin1String("MousePointer"))) << warnings.texts[5].toStdString();
}

TEST(Units, ConvertBetweenTwipsHimetricAndPixels)
{
    struct Case {
        int himetric, pixels96, pixels120;
    };
    // The main window's buttons: 1931 x 661 and 2566 x 661 hundredths of a millimetre.
    for (const Case c : {Case{1931, 73, 91}, Case{2566, 97, 121}, Case{661, 25, 31}, Case{0, 0, 0}}) {
        EXPECT_EQ(units::himetricToPixels(c.himetric, 96), c.pixels96) << c.himetric;
        EXPECT_EQ(units::himetricToPixels(c.himetric, 120), c.pixels120) << c.himetric;
        EXPECT_EQ(units::himetricToPixels(units::pixelsToHimetric(c.pixels96, 96), 96), c.pixels96);
    }
    EXPECT_EQ(units::twipsToPixels(1200, 96), 80);
    EXPECT_EQ(units::twipsToPixels(500, 96), 33);
    EXPECT_EQ(units::twipsToPixels(375, 96), 25);
    EXPECT_EQ(units::twipsToPixels(7.5, 96), 0); // half a pixel: ties go to even
    EXPECT_EQ(units::pixelsToTwips(73, 96), 1095);
    EXPECT_EQ(units::pixelsToTwips(5, 0), 0);
}

TEST(Units, ExtentFromABagFallsBackForUnusableValues)
{
    EXPECT_EQ(units::readExtent({{"_ExtentX", 2566}, {"_extenty", 661}}, {1, 1}, 96, 96), QSize(97, 25));
    EXPECT_EQ(units::readExtent({{"_extentx", -5}, {"_extenty", QStringLiteral("tall")}}, {7, 8}, 96, 96), QSize(7, 8));
    EXPECT_EQ(units::readExtent({}, {7, 8}, 96, 96), QSize(7, 8));
}

} // namespace

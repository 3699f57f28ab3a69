// Defaults, setters and the colour presets of ButtonStyle and ButtonTheme.
#include "Button.h"
#include "Fonts.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <stdexcept>

namespace {

struct NewButton : ::testing::Test {
    static void SetUpTestSuite() { ensureTahoma(); }
    void SetUp() override
    {
        button.setObjectName(QStringLiteral("Connect1"));
        button.initNew();
    }
    Button button;
};

TEST_F(NewButton, StartsWithTheDefaultsOfANewInstance)
{
    const std::pair<const char*, QVariant> expected[] = {
        {"ButtonShape", int(Button::Rectangle)}, {"ButtonStyle", 1}, {"ButtonStyleColors", 1},
        {"ButtonTheme", int(Button::None)}, {"ButtonType", int(Button::Push)}, {"CaptionAlignment", 2},
        {"CaptionEffect", 0}, {"CaptionStyle", 0}, {"DropDown", 0}, {"PictureAlignment", 2},
        {"BackColor", 0x8000000Fu}, {"BackColorPressed", 0x8000000Fu}, {"BackColorHover", 0x8000000Fu},
        // Style 1 writes its own border colours back on the first paint.
        {"BorderColor", 0x80000015u}, {"BorderColorPressed", 0x80000014u}, {"BorderColorHover", 0x80000015u},
        {"ForeColor", 0u},
        {"ForeColorPressed", 0x0000FFu}, {"ForeColorHover", 0xFF0000u}, {"EffectColor", 0xFFFFFFu},
        {"Caption", QStringLiteral("Connect1")}, {"FocusRect", true}, {"Value", false}, {"HandPointer", false},
        {"PictureGray", false}, {"Enabled", true}, {"MousePointer", 0}, {"UserMode", true},
    };
    for (const auto& [name, value] : expected) {
        QVariant actual = button.property(name);
        if (actual.metaType().flags() & QMetaType::IsEnumeration)
            actual = actual.toInt();
        EXPECT_EQ(actual, value) << name;
    }
    EXPECT_TRUE(button.Picture().isNull());
    EXPECT_EQ(button.Font().family(), QStringLiteral("Tahoma"));
    // 1200 x 500 twips at 96 dpi.
    EXPECT_EQ(button.size(), QSize(80, 33));
    EXPECT_GE(button.paintCount(), 1);
}

TEST_F(NewButton, EverySetterStoresReportsItsOwnNameAndRepaintsOnce)
{
    button.setButtonStyle(0); // the only style that keeps the border colours the user sets
    const std::pair<const char*, QVariant> changes[] = {
        {"ButtonShape", int(Button::ArrowDown)}, {"ButtonStyleColors", 5}, {"ButtonType", int(Button::Toggle)},
        {"CaptionAlignment", 4}, {"CaptionEffect", 3}, {"CaptionStyle", 2}, {"DropDown", 1}, {"PictureAlignment", 0},
        {"BackColor", 0x123456u}, {"BackColorPressed", 0x654321u}, {"BackColorHover", 0x111111u},
        {"BorderColor", 0x222222u}, {"BorderColorPressed", 0x333333u}, {"BorderColorHover", 0x444444u},
        {"ForeColor", 0x555555u}, {"ForeColorPressed", 0x666666u}, {"ForeColorHover", 0x777777u},
        {"EffectColor", 0x888888u}, {"Caption", QStringLiteral("Join Room")}, {"FocusRect", false},
        {"Value", true}, {"HandPointer", true}, {"PictureGray", true}, {"Enabled", false}, {"MousePointer", 11},
        {"Font", QFont(QStringLiteral("Tahoma"), 12)},
        // Out-of-range enumerations are stored as given.
        {"ButtonShape", 42},
    };
    for (const auto& [name, value] : changes) {
        QSignalSpy reports(&button, &Button::propertyChanged);
        const int paints = button.paintCount();
        ASSERT_TRUE(button.setProperty(name, value)) << name;
        QVariant actual = button.property(name);
        if (actual.metaType().flags() & QMetaType::IsEnumeration)
            actual = actual.toInt();
        EXPECT_EQ(actual, value) << name;
        ASSERT_EQ(reports.size(), 1) << name;
        EXPECT_EQ(reports[0][0].toString(), QString::fromLatin1(name));
        EXPECT_EQ(button.paintCount(), paints + 1) << name;
    }
}

TEST_F(NewButton, SettingValueRepaintsButDoesNotClick)
{
    QSignalSpy clicks(&button, &Button::Click);
    button.setButtonType(Button::Toggle);
    button.setValue(true);
    EXPECT_EQ(clicks.size(), 0);
    EXPECT_TRUE(button.pressedFlag()); // a toggle whose Value is true is drawn pressed
}

TEST_F(NewButton, StylePresetsLoadTheBackColoursOnly)
{
    struct Case {
        qint32 style;
        quint32 back, pressed, hover;
    };
    constexpr quint32 face = 0x8000000F, mine = 0x010203;
    const Case cases[] = {
        {1, face, face, face},         {2, face, face, face},           {3, face, face, face},
        {4, face, 0x999999, face},     {5, face, 0xAF8C80, 0xB6A59F},   {6, 0xD2DEDD, 0xFFFFFF, 0xFFFFFF},
        {7, 0xD8D8D8, 0xEFCE92, 0xF7DBA5}, {8, 0x80000001, 0x80000001, 0x80000001},
        {0, mine, mine, mine},         {9, mine, mine, mine},           {-1, mine, mine, mine},
    };
    for (const Case& c : cases) {
        Button b;
        b.initNew();
        b.setButtonStyle(0); // start from colours the user chose, kept by style 0
        b.setBackColor(mine);
        b.setBackColorPressed(mine);
        b.setBackColorHover(mine);
        b.setBorderColor(mine);
        QSignalSpy reports(&b, &Button::propertyChanged);
        b.setButtonStyle(c.style);
        EXPECT_EQ(b.ButtonStyle(), c.style);
        EXPECT_EQ(b.BackColor(), c.back) << "style " << c.style;
        EXPECT_EQ(b.BackColorPressed(), c.pressed) << "style " << c.style;
        EXPECT_EQ(b.BackColorHover(), c.hover) << "style " << c.style;
        if (c.style < 1 || c.style > 8) { // styles 1 to 8 write their own border colours when painting
            EXPECT_EQ(b.BorderColor(), mine) << "style " << c.style;
        }
        // The preset's colours are not reported one by one.
        EXPECT_EQ(reports.size(), 1);
    }
}

TEST_F(NewButton, Styles4And6ChooseTheirPatternUnlessTransparent)
{
    struct Case {
        qint32 style, colorsBefore, colorsAfter;
    };
    const Case cases[] = {{4, 0, 0}, {4, 5, 1}, {4, 1, 1}, {6, 0, 0}, {6, 5, 3}, {6, 7, 3}, {7, 5, 5}, {5, 0, 0}};
    for (const Case& c : cases) {
        button.setButtonStyleColors(c.colorsBefore);
        button.setButtonStyle(c.style);
        EXPECT_EQ(button.ButtonStyleColors(), c.colorsAfter) << "style " << c.style << " from " << c.colorsBefore;
    }
}

TEST_F(NewButton, ThemePresetsLoadSixColours)
{
    struct Case {
        Button::Theme theme;
        quint32 back, pressed, hover, border;
    };
    constexpr quint32 mine = 0x010203;
    const Case cases[] = {
        {Button::Blue, 0xF1B39A, 0xFAE6DD, 0xFDF7F4, 0xF1B39A},
        {Button::Olive, 0x3DB4A2, 0xB8E7E0, 0xDFF4F2, 0x3DB4A2},
        {Button::Silver, 0xB5A09D, 0xECE7E6, 0xF7F5F4, 0xB5A09D},
        {Button::Sand, 0xABC2C2, 0xE6EDEE, 0xF2F8F8, 0xABC2C2},
        {Button::Gold, 0x02C5F5, 0xAFEFFE, 0xE2F9FF, 0x02C5F5},
        {Button::Red, 0x26368B, 0x425CEE, 0x4763FF, 0x0000FF},
        {Button::Green, 0x578B2E, 0x80CD43, 0x9FFF54, 0x00FF00},
        {Button::Navy, 0x8B4027, 0xCD5F3A, 0xFF7648, 0xFF0000},
        {Button::None, mine, mine, mine, mine},                   {Button::Theme(9), mine, mine, mine, mine},
    };
    for (const Case& c : cases) {
        Button b;
        b.initNew();
        b.setButtonStyle(0); // keep the theme's borders: styles 1 to 8 paint their own
        for (auto setter : {&Button::setBackColor, &Button::setBackColorPressed, &Button::setBackColorHover,
                            &Button::setBorderColor, &Button::setBorderColorPressed, &Button::setBorderColorHover})
            (b.*setter)(mine);
        b.setButtonTheme(c.theme);
        EXPECT_EQ(b.ButtonTheme(), c.theme);
        const quint32 actual[] = {b.BackColor(), b.BackColorPressed(), b.BackColorHover(),
                                  b.BorderColor(), b.BorderColorPressed(), b.BorderColorHover()};
        const quint32 wanted[] = {c.back, c.pressed, c.hover, c.border, c.border, c.border};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(actual[i], wanted[i]) << "theme " << int(c.theme) << " colour " << i;
    }
}

TEST_F(NewButton, MousePointerRefusesValuesBeyond16BitsWithoutStoring)
{
    button.setMousePointer(3);
    EXPECT_EQ(button.cursor().shape(), Qt::IBeamCursor);
    for (const qint32 bad : {32768, -32769, 70000}) {
        QSignalSpy reports(&button, &Button::propertyChanged);
        EXPECT_THROW(button.setMousePointer(bad), std::out_of_range);
        EXPECT_EQ(button.MousePointer(), 3);
        EXPECT_EQ(reports.size(), 0);
    }
    button.setMousePointer(-32768);
    EXPECT_EQ(button.MousePointer(), -32768);
    button.setMousePointer(0);
    EXPECT_EQ(button.cursor().shape(), Qt::ArrowCursor);
}

} // namespace

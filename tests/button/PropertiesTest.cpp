// Defaults, setters and the colour presets of ButtonStyle and ButtonTheme.
#include "ButtonTestUtil.h"
#include "Fonts.h"
#include "PropertyBag.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <functional>
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

// A preset loads when the property is set, with one report, and only then.
TEST_F(NewButton, StylePresetsLoadTheBackColoursWhenSet)
{
    constexpr quint32 mine = 0x010203;
    for (qint32 style = -1; style <= 9; ++style) {
        Button b;
        b.initNew();
        b.setButtonStyle(0); // start from colours the user chose, kept by style 0
        for (auto setter : {&Button::setBackColor, &Button::setBackColorPressed, &Button::setBackColorHover})
            (b.*setter)(mine);
        QSignalSpy reports(&b, &Button::propertyChanged);
        b.setButtonStyle(style);
        const bool preset = style >= 1 && style <= 8;
        for (const quint32 colour : {b.BackColor(), b.BackColorPressed(), b.BackColorHover()})
            EXPECT_EQ(colour != mine, preset) << "style " << style;
        EXPECT_EQ(reports.size(), 1) << "style " << style;
    }
    button.setButtonStyle(7);
    EXPECT_EQ(button.BackColor(), 0xD8D8D8u);
    EXPECT_EQ(button.BackColorPressed(), 0xEFCE92u);
    EXPECT_EQ(button.BackColorHover(), 0xF7DBA5u);
    button.setBackColor(mine);
    button.Refresh();
    EXPECT_EQ(button.BackColor(), mine);
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

TEST_F(NewButton, ThemePresetsLoadThreeBackColoursAndOneBorderColour)
{
    constexpr quint32 mine = 0x010203;
    for (qint32 theme = -1; theme <= 9; ++theme) {
        Button b;
        b.initNew();
        b.setButtonStyle(0); // keep the theme's borders: styles 1 to 8 paint their own
        for (auto setter : {&Button::setBackColor, &Button::setBackColorPressed, &Button::setBackColorHover,
                            &Button::setBorderColor, &Button::setBorderColorPressed, &Button::setBorderColorHover})
            (b.*setter)(mine);
        b.setButtonTheme(Button::Theme(theme));
        const bool preset = theme >= 1 && theme <= 8;
        for (const quint32 colour : {b.BackColor(), b.BackColorPressed(), b.BackColorHover(), b.BorderColor()})
            EXPECT_EQ(colour != mine, preset) << "theme " << theme;
        EXPECT_EQ(b.BorderColorPressed(), b.BorderColor()) << "theme " << theme;
        EXPECT_EQ(b.BorderColorHover(), b.BorderColor()) << "theme " << theme;
    }
    button.setButtonStyle(0);
    button.setButtonTheme(Button::Red);
    EXPECT_EQ(button.BorderColor(), 0x0000FFu);
}

// The typed setter throws; through Qt's property system, which may run in the event loop, the value
// is refused with one warning instead.
TEST_F(NewButton, MousePointerRefusesValuesBeyond16BitsWithoutStoring)
{
    button.setMousePointer(3);
    EXPECT_EQ(button.cursor().shape(), Qt::IBeamCursor);
    for (const qint32 bad : {32768, -32769, 70000}) {
        QSignalSpy reports(&button, &Button::propertyChanged);
        EXPECT_THROW(button.setMousePointer(bad), std::out_of_range);
        ButtonWarnings warnings;
        EXPECT_NO_THROW(button.setProperty("MousePointer", bad));
        EXPECT_EQ(warnings.texts.size(), 1) << bad;
        EXPECT_EQ(button.MousePointer(), 3);
        EXPECT_EQ(reports.size(), 0);
    }
    button.setMousePointer(-32768);
    EXPECT_EQ(button.MousePointer(), -32768);
    button.setProperty("MousePointer", 0);
    EXPECT_EQ(button.cursor().shape(), Qt::ArrowCursor);
}

// Enabled and Font are the widget's: however they change, the change is reported under the
// property's name and painted, and the design keeps the button's own enabled setting.
TEST(ButtonSurface, EnabledAndFontChangedAnyWayAreReportedAndPainted)
{
    ensureTahoma();
    QWidget form;
    Button b(&form);
    QSignalSpy reports(&b, &Button::propertyChanged);
    b.initNew();
    b.setButtonStyle(7);
    EXPECT_EQ(reports.size(), 1); // a new instance reports nothing of its own
    QWidget* widget = &b;
    QFont big = b.font();
    big.setPointSize(20);
    const std::pair<std::function<void()>, const char*> changes[] = {
        {[&] { widget->setEnabled(false); }, "Enabled"},
        {[&] { widget->setEnabled(true); }, "Enabled"},
        {[&] { form.setEnabled(false); }, "Enabled"},
        {[&] { widget->setFont(big); }, "Font"},
    };
    for (const auto& [change, name] : changes) {
        reports.clear();
        const int paints = b.paintCount();
        change();
        ASSERT_EQ(reports.size(), 1) << name;
        EXPECT_EQ(reports[0][0].toString(), QLatin1String(name));
        EXPECT_EQ(b.paintCount(), paints + 1) << name;
    }
    EXPECT_FALSE(b.Enabled());
    EXPECT_EQ(b.BorderColor(), 0xB5B2ADu); // style 7 painted disabled
    PropertyBag bag;
    b.writeProperties(bag);
    EXPECT_FALSE(bag.contains(QStringLiteral("enabled")));
    EXPECT_EQ(bag.read(QStringLiteral("font")).value<QFont>(), big);
}

} // namespace

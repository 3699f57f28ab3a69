// What reaches the screen: the face over the parent through the window region and the transparent
// background, the hand cursor, and the gallery's property settings from text.
#include "PaintTestUtil.h"

#include "Gallery.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>

namespace {

struct ScreenCase {
    int shape;
    int styleColors;
    QPoint probe; // in the button
    bool parentShows;
};

TEST(PaintScreen, ParentShowsOutsideTheRegionAndThroughATransparentBackground)
{
    const ScreenCase cases[] = {
        {Button::Rectangle, 1, {0, 0}, false},
        {Button::Rectangle, 1, {20, 12}, false},
        {Button::Rectangle, 0, {20, 12}, true},  // BackColor pixels are not shown
        {Button::Rectangle, 0, {0, 0}, false},   // the outline is
        {Button::RoundedRectangle, 1, {0, 0}, true},
        {Button::RoundedRectangle, 1, {20, 12}, false},
    };
    for (const auto& c : cases) {
        QWidget parent;
        parent.resize(100, 60);
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, QColor(255, 0, 255));
        parent.setPalette(palette);
        auto b = makeButton(c.shape, 0, QSize(73, 25));
        b->setParent(&parent);
        b->move(10, 10);
        b->setBackColor(0x30A060);
        b->setBorderColor(0x102030);
        b->setButtonStyleColors(c.styleColors);
        const QImage screen = parent.grab().toImage();
        const QColor seen = screen.pixelColor(c.probe + QPoint(10, 10));
        EXPECT_EQ(seen == QColor(255, 0, 255), c.parentShows) << c.shape << " " << c.styleColors << " at "
                                                            << c.probe.x() << "," << c.probe.y();
        b->setParent(nullptr);
    }
}

struct CursorCase {
    bool pressed, over, focus;
    bool hand;
};

TEST(PaintScreen, HandCursorWhenHoveredOrFocused)
{
    const CursorCase cases[] = {
        {false, false, false, false}, {false, true, false, true}, {false, false, true, true},
        {true, true, false, false},   {true, true, true, true},
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, 1, QSize(73, 25));
        b->setHandPointer(true);
        b->setStateFlags(c.pressed, c.over, c.focus);
        EXPECT_EQ(b->testAttribute(Qt::WA_SetCursor) && b->cursor().shape() == Qt::PointingHandCursor, c.hand)
            << c.pressed << c.over << c.focus;
    }
}

struct SettingCase {
    const char* name;
    const char* text;
    bool ok;
};

TEST(GallerySettings, PropertiesFromText)
{
    const SettingCase cases[] = {
        {"BackColor", "0x0000FF", true},
        {"BackColor", "255", true},
        {"BackColor", "blue", false},
        {"BackColor", "0x1FFFFFFFF", false},
        {"ButtonShape", "Diamond", true},
        {"ButtonShape", "3", true},
        {"ButtonShape", "Star", false},
        {"Caption", "", true},
        {"FocusRect", "false", true},
        {"FocusRect", "maybe", false},
        {"Font", "Tahoma,8.25", true},
        {"Font", "Tahoma,-3", false},
        {"MousePointer", "70000", false}, // refused by the button with a warning, reported
        {"Picture", "/no/such/file.png", false},
        {"NoSuchProperty", "1", false},
        {"objectName", "x", false},       // QWidget's own properties are not offered
    };
    for (const auto& c : cases) {
        auto b = makeButton(Button::Rectangle, 1, QSize(73, 25));
        const QString error = gallery::setProperty(*b, QLatin1String(c.name), QLatin1String(c.text));
        EXPECT_EQ(error.isEmpty(), c.ok) << c.name << "=" << c.text << ": " << error.toStdString();
    }
    auto b = makeButton(Button::Rectangle, 1, QSize(73, 25));
    ASSERT_TRUE(gallery::setProperty(*b, QStringLiteral("BackColor"), QStringLiteral("0x0000FF")).isEmpty());
    EXPECT_EQ(b->BackColor(), 0x0000FFu);
    ASSERT_TRUE(gallery::setProperty(*b, QStringLiteral("ButtonShape"), QStringLiteral("Diamond")).isEmpty());
    EXPECT_EQ(b->ButtonShape(), Button::Diamond);
}

TEST(GalleryRender, PngShowsOnlyWhatTheScreenShows)
{
    gallery::Request request;
    request.shape = Button::RoundedRectangle;
    request.style = 7;
    request.size = QSize(73, 25);
    request.state = gallery::State::Pressed;
    QString error;
    const QImage image = gallery::render(request, &error);
    ASSERT_FALSE(image.isNull()) << error.toStdString();
    EXPECT_EQ(image.size(), QSize(73, 25));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(36, 12)), 255);

    request.settings = {{QStringLiteral("Bogus"), QStringLiteral("1")}};
    EXPECT_TRUE(gallery::render(request, &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace

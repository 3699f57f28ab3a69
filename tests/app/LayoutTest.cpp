// What the user sees: controls, places, texts, fonts, tab order, and the buttons' stored settings.
#include "WindowFixture.h"

#include "Button.h"
#include "Fonts.h"
#include "PropertyBag.h"
#include "Units.h"
#include "frmMainDesign.h"

#include <QFontInfo>
#include <QListWidget>
#include <QStringListModel>
#include <QGroupBox>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Layout = WindowTest;
namespace D = frmMainDesign;

QRect px(const QWidget& w, int left, int top, int width, int height)
{
    return D::toPixels({left, top, width, height}, w.logicalDpiX(), w.logicalDpiY());
}

TEST_F(Layout, EveryControlSitsWhereTheDesignPutsIt)
{
    const struct {
        const char* name;
        const char* kind;
        const char* container;
        D::Place place;
        QString text;
    } cases[] = {
        {"frameLogin", "QGroupBox", "frmMain", {120, 1440, 3375, 2175}, "Connection"},
        {"lblSN", "QLabel", "frameLogin", {120, 360, 3135, 255}, "ScreenName:"},
        {"txtSN", "QLineEdit", "frameLogin", {120, 600, 3135, 285}, ""},
        {"lblPw", "QLabel", "frameLogin", {120, 960, 3135, 255}, "Password:"},
        {"txtPW", "QLineEdit", "frameLogin", {120, 1200, 3135, 285}, ""},
        {"Connect", "Button", "frameLogin", {960, 1680, 1095, 375}, "Connect"},
        {"Disconnect", "Button", "frameLogin", {2160, 1680, 1095, 375}, "Disconnect"},
        {"Status", "QStatusBar", "frmMain", {0, 5055, 6630, 300}, ""},
        {"Logo", "QLabel", "frmMain", {120, 100, 6375, 1130}, ""},
        {"frameRooms", "QGroupBox", "frmMain", {3600, 1440, 2895, 3495}, "Chatrooms"},
        {"lstChats", "ListBox", "frameRooms", {120, 1440, 2655, 1425}, ""},
        {"lblChatRoom", "QLabel", "frameRooms", {120, 360, 2655, 255}, "RoomName:"},
        {"txtRoom", "QLineEdit", "frameRooms", {120, 600, 2175, 285}, ""},
        {"txtExchange", "QLineEdit", "frameRooms", {2280, 600, 495, 285}, "5"},
        {"Join", "Button", "frameRooms", {1320, 960, 1455, 375}, "Join Room"},
        {"Leave", "Button", "frameRooms", {1320, 3000, 1455, 375}, "Leave Selected"},
        {"Log", "ListBox", "frmMain", {120, 3720, 3375, 1215}, ""},
    };
    for (const auto& c : cases) {
        QWidget* w = window.findChild<QWidget*>(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_STREQ(w->metaObject()->className(), c.kind) << c.name;
        EXPECT_EQ(w->parentWidget()->objectName(), c.container) << c.name;
        EXPECT_EQ(w->geometry(), px(window, c.place.left, c.place.top, c.place.width, c.place.height)) << c.name;
        QString text;
        if (auto* g = qobject_cast<QGroupBox*>(w))
            text = g->title();
        else if (auto* l = qobject_cast<QLabel*>(w))
            text = l->text();
        else if (auto* e = qobject_cast<QLineEdit*>(w))
            text = e->text();
        else if (auto* b = qobject_cast<Button*>(w))
            text = b->Caption();
        EXPECT_EQ(text, c.text) << c.name;
    }
}

TEST_F(Layout, WindowHasItsTitleFixedSizeLogoAndStatusPanel)
{
    EXPECT_EQ(window.windowTitle(), "Tarnwick");
    EXPECT_EQ(window.size(), px(window, 0, 0, 6630, 5355).size());
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const QPoint offCentre = window.geometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(control<QLabel>("Logo")->pixmap().size(), QSize(424, 74));
    EXPECT_EQ(status(), "Disconnected");
    EXPECT_EQ(control<QLabel>("StatusPicture")->pixmap().size(), QSize(14, 14));
    EXPECT_GE(control<QWidget>("StatusPanel1")->minimumWidth(), units::twipsToPixels(1440, window.logicalDpiX()));
}

TEST_F(Layout, FontsAndColoursFollowTheDesign)
{
    const struct {
        const char* name;
        double points;
        bool bold;
    } cases[] = {
        {"frameLogin", 8.25, false}, {"lblSN", 8.25, true}, {"lblPw", 8.25, true}, {"txtSN", 8.25, false},
        {"lblChatRoom", 8.25, false}, {"Status", 9.75, false}, {"Log", 6.75, false},
    };
    for (const auto& c : cases) {
        const QFont font = control<QWidget>(c.name)->font();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), c.points) << c.name;
        EXPECT_EQ(font.bold(), c.bold) << c.name;
        EXPECT_TRUE(font.families().contains("Tahoma")) << c.name;
    }
    // With the free Tahoma loaded, the labels really are drawn bold in Tahoma.
    ASSERT_TRUE(ensureTahoma());
    const QFontInfo label(control<QLabel>("lblSN")->font());
    EXPECT_EQ(label.family(), "Tahoma");
    EXPECT_TRUE(label.bold());
    EXPECT_EQ(control<QLabel>("lblSN")->palette().color(QPalette::WindowText), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(control<QLabel>("lblPw")->palette().color(QPalette::WindowText), QColor(0x40, 0x40, 0x40));
}

// Dark pixels of a label drawn on white: the ink its text leaves.
int ink(QLabel& label)
{
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    label.render(&image, {}, {}, QWidget::DrawChildren);
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 160;
    return dark;
}

TEST_F(Layout, LoginLabelsLookBold)
{
    ASSERT_TRUE(ensureTahoma());
    QLabel* bold = control<QLabel>("lblSN");
    QLabel regular(bold->text());
    regular.setFont(D::windowFont());
    regular.setPalette(bold->palette());
    regular.resize(bold->size());
    // Drawn bold, the same text leaves clearly more ink than in the regular face.
    EXPECT_GT(ink(*bold) * 4, ink(regular) * 5) << ink(*bold) << " against " << ink(regular);
}

TEST_F(Layout, ListBoxesHaveNoHorizontalScrollBar)
{
    window.show();
    window.addLog(QString(200, 'W'));
    signOn();
    server("CHAT_JOIN:7:" + QByteArray(200, 'W'));
    QCoreApplication::processEvents();
    for (const char* name : {"lstChats", "Log"})
        EXPECT_FALSE(control<ListBox>(name)->horizontalScrollBar()->isVisible()) << name;
}

TEST_F(Layout, ListBoxesPaintAsListWidgetsDo)
{
    QStringList lines;
    for (int i = 0; i < 12; ++i)
        lines << QString("Joined chatroom lobby:%1 and a tail too long for the box WWWWWWWW").arg(i);
    QListWidget widget;
    widget.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget.addItems(lines);
    QStringListModel model(lines);
    ListBox box;
    box.setModel(&model);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(&widget), static_cast<QAbstractItemView*>(&box)}) {
        view->setFont(D::logFont());
        view->resize(225, 81);
        view->setCurrentIndex(view->model()->index(3, 0));
        view->show();
    }
    for (bool focused : {false, true}) {
        if (focused)
            widget.setFocus();
        QCoreApplication::processEvents();
        const QImage expected = widget.grab().toImage();
        if (focused)
            box.setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(box.grab().toImage(), expected) << "focused " << focused;
    }
}

TEST_F(Layout, TabOrderFollowsTheDesign)
{
    const QStringList expected{"txtSN", "txtPW", "Connect", "Disconnect", "lstChats",
                               "txtRoom", "txtExchange", "Join", "Leave", "Log"};
    QStringList order;
    QWidget* w = box("txtSN");
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != box("txtSN") && order.size() < 40);
    EXPECT_EQ(order, expected);
}

TEST_F(Layout, PasswordShowsOneStarPerCharacter)
{
    QLineEdit* pw = box("txtPW");
    QTest::keyClicks(pw, "s3cr3t");
    EXPECT_EQ(pw->text(), "s3cr3t");
    EXPECT_EQ(pw->displayText(), "******");
    EXPECT_EQ(pw->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, pw), '*');
}

TEST_F(Layout, ButtonsCarryTheStoredSettings)
{
    for (const QString& name : D::buttonNames()) {
        const Button* b = window.findChild<Button*>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        EXPECT_EQ(b->ButtonStyle(), 7);
        EXPECT_EQ(b->BackColor(), 0xD8D8D8u);
        EXPECT_EQ(b->BackColorPressed(), 0xEFCE92u);
        EXPECT_EQ(b->BackColorHover(), 0xF7DBA5u);
        EXPECT_EQ(b->BorderColor(), 0x8F8F8Eu);
        EXPECT_EQ(b->BorderColorPressed(), 0x5C411Du);
        EXPECT_EQ(b->BorderColorHover(), 0xB17F3Cu);
        EXPECT_EQ(b->ForeColorPressed(), 0xFFFFFFu);
        EXPECT_EQ(b->ForeColorHover(), 0xFFFFFFu);
        // Everything else keeps its default.
        EXPECT_EQ(b->ButtonShape(), Button::Rectangle);
        EXPECT_EQ(b->ButtonStyleColors(), 1);
        EXPECT_EQ(b->ForeColor(), 0u);
        EXPECT_EQ(b->CaptionAlignment(), 2);
        EXPECT_TRUE(b->FocusRect());
        EXPECT_EQ(b->Font().family(), "Tahoma");
        EXPECT_DOUBLE_EQ(b->Font().pointSizeF(), 8.25);
        EXPECT_EQ(b->Font().weight(), QFont::Normal);
        const bool wide = name == "Join" || name == "Leave";
        EXPECT_EQ(b->size(), QSize(units::himetricToPixels(wide ? 2566 : 1931, b->logicalDpiX()),
                                   units::himetricToPixels(661, b->logicalDpiY())));
    }
}

TEST_F(Layout, ButtonSettingsSurviveAWriteBack)
{
    for (const QString& name : D::buttonNames()) {
        const Button* b = window.findChild<Button*>(name);
        ASSERT_NE(b, nullptr);
        const PropertyBag design = D::buttonSettings(name);
        PropertyBag written;
        units::writeExtent(written, b->size(), b->logicalDpiX(), b->logicalDpiY());
        b->writeProperties(written);
        // Every key comes back, the font too although it equals the window's own.
        ASSERT_EQ(b->ambientFont(), design.read("font").value<QFont>());
        const QStringList expectedKeys = design.keys();
        EXPECT_EQ(written.keys(), expectedKeys) << name.toStdString();
        for (const QString& key : expectedKeys)
            EXPECT_TRUE(PropertyBag::sameValue(written.read(key), design.read(key)))
                << name.toStdString() << " " << key.toStdString() << ": " << written.dump().toStdString();

        // Read back in the same container, the written settings give the same button.
        Button again(b->parentWidget());
        again.readProperties(written);
        again.resize(units::readExtent(written, {}, again.logicalDpiX(), again.logicalDpiY()));
        PropertyBag rewritten;
        units::writeExtent(rewritten, again.size(), again.logicalDpiX(), again.logicalDpiY());
        again.writeProperties(rewritten);
        EXPECT_EQ(rewritten.dump(), written.dump()) << name.toStdString();
        EXPECT_EQ(again.Font(), b->Font());
    }
}

} // namespace

// Mouse, keyboard, focus and hover behaviour, and the order of the events.
#include "Button.h"
#include "ButtonTestUtil.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// A shown, hosted 73 x 25 button (the size of the main window's Connect button).
struct Interaction : ::testing::Test {
    Button button;
    void SetUp() override
    {
        QCursor::setPos(-1000, -1000); // no enter when shown, whatever the tests before did with the pointer
        button.initNew();
        button.resize(73, 25);
        button.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    }
    void TearDown() override
    {
        // Leave no mouse button held for the next test: Qt would send its moves to this button.
        for (const Qt::MouseButton held : {Qt::LeftButton, Qt::MiddleButton, Qt::RightButton})
            if (QGuiApplication::mouseButtons() & held)
                QTest::mouseRelease(&button, held, {}, centre);
    }
    const QPoint centre{36, 12};
};

TEST_F(Interaction, MouseButtonsPressAndRelease)
{
    struct Case {
        Qt::MouseButton button;
        QStringList onPress;
        bool pressedAfterPress;
        QString onRelease;
    };
    const Case cases[] = {
        {Qt::LeftButton, {"Click", "MouseDown 1 0 36 12"}, true, "MouseUp 1 0 36 12"},
        {Qt::MiddleButton, {"Click", "MouseDown 4 0 36 12"}, true, "MouseUp 4 0 36 12"},
        // The right button does nothing on press; its release still clears the flag.
        {Qt::RightButton, {}, false, "MouseUp 2 0 36 12"},
    };
    for (const Case& c : cases) {
        EventLog log(button, false);
        const int paints = button.paintCount();
        QTest::mousePress(&button, c.button, {}, centre);
        EXPECT_EQ(log.entries, c.onPress) << c.button;
        EXPECT_EQ(button.pressedFlag(), c.pressedAfterPress) << c.button;
        EXPECT_EQ(button.paintCount() - paints, c.pressedAfterPress ? 2 : 0) << c.button;
        log.entries.clear();
        QTest::mouseRelease(&button, c.button, {}, centre);
        EXPECT_EQ(log.entries, QStringList{c.onRelease}) << c.button;
        EXPECT_FALSE(button.pressedFlag());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr); // the release takes no grab
        QObject::disconnect(&button, nullptr, nullptr, nullptr);
    }
}

TEST_F(Interaction, ClickRunsBeforeThePressedLookAndMouseDown)
{
    bool pressedDuringClick = true;
    QObject::connect(&button, &Button::Click, [&] { pressedDuringClick = button.pressedFlag(); });
    QTest::mousePress(&button, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, centre);
    EXPECT_FALSE(pressedDuringClick);
    EXPECT_TRUE(button.pressedFlag());
}

TEST_F(Interaction, ModifiersArriveAsShiftBits)
{
    EventLog log(button, false);
    QTest::mousePress(&button, Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier, {3, 4});
    EXPECT_EQ(log.entries, QStringList({"Click", "MouseDown 1 5 3 4"}));
}

TEST_F(Interaction, ToggleFlipsValueOnEveryPress)
{
    button.setButtonType(Button::Toggle);
    struct Step {
        bool press;
        bool value, pressed;
    };
    // Value true keeps the pressed look after the release; the next press clears both.
    const Step steps[] = {{true, true, true}, {false, true, true}, {true, false, true}, {false, false, false},
                          {true, true, true}};
    int i = 0;
    for (const Step& s : steps) {
        if (s.press)
            QTest::mousePress(&button, i % 2 ? Qt::MiddleButton : Qt::LeftButton, {}, centre);
        else
            QTest::mouseRelease(&button, Qt::LeftButton, {}, centre);
        EXPECT_EQ(button.Value(), s.value) << "step " << i;
        EXPECT_EQ(button.pressedFlag(), s.pressed) << "step " << i;
        ++i;
    }
    QTest::mousePress(&button, Qt::RightButton, {}, centre);
    EXPECT_TRUE(button.Value()); // the right button does not toggle
    QTest::mouseRelease(&button, Qt::RightButton, {}, centre); // leave no button held for the next test
}

TEST_F(Interaction, Keys)
{
    struct Case {
        Qt::Key key;
        bool pressedWhileHeld;
        QStringList events;
        bool pressedAfter;
    };
    const Case cases[] = {
        // Enter clicks on release with zero arguments and stays pressed until the mouse says otherwise.
        {Qt::Key_Return, true, {"KeyDown 13 0", "KeyPress 13", "Click", "MouseDown 0 0 0 0", "KeyUp 13 0"}, true},
        {Qt::Key_Enter, true, {"KeyDown 13 0", "KeyPress 13", "Click", "MouseDown 0 0 0 0", "KeyUp 13 0"}, true},
        // Space only shows the pressed look while held.
        {Qt::Key_Space, true, {"KeyDown 32 0", "KeyPress 32", "KeyUp 32 0"}, false},
        {Qt::Key_A, false, {"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0"}, false},
        {Qt::Key_Left, false, {"KeyDown 37 0", "KeyUp 37 0"}, false},
    };
    for (const Case& c : cases) {
        Button b;
        b.initNew();
        EventLog log(b);
        QTest::keyPress(&b, c.key);
        EXPECT_EQ(b.pressedFlag(), c.pressedWhileHeld) << c.key;
        QTest::keyRelease(&b, c.key);
        EXPECT_EQ(log.entries, c.events) << c.key;
        EXPECT_EQ(b.pressedFlag(), c.pressedAfter) << c.key;
    }
}

TEST_F(Interaction, KeyReleaseWithTheFlagClearOnlyReportsKeyUp)
{
    EventLog log(button);
    QTest::keyRelease(&button, Qt::Key_Return);
    EXPECT_EQ(log.entries, QStringList({"KeyUp 13 0"}));
    EXPECT_FALSE(button.pressedFlag());
}

TEST_F(Interaction, AHeldKeyRepeatsKeyDownButReleasesOnce)
{
    EventLog log(button);
    QTest::keyPress(&button, Qt::Key_Return);
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(&button, &repeatUp);
    QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(&button, &repeatDown);
    QTest::keyRelease(&button, Qt::Key_Return);
    EXPECT_EQ(log.entries, QStringList({"KeyDown 13 0", "KeyPress 13", "KeyDown 13 0", "KeyPress 13", "Click",
                                        "MouseDown 0 0 0 0", "KeyUp 13 0"}));
}

TEST_F(Interaction, AClickHandlerMayDeleteTheButton)
{
    QPointer<Button> doomed = new Button;
    doomed->initNew();
    QSignalSpy downs(doomed.data(), &Button::MouseDown);
    QObject::connect(doomed.data(), &Button::Click, [&] { delete doomed.data(); });
    QTest::keyPress(doomed.data(), Qt::Key_Return);
    QTest::keyRelease(doomed.data(), Qt::Key_Return);
    EXPECT_TRUE(doomed.isNull());
    EXPECT_EQ(downs.size(), 0);
}

// Hover is the pointer inside the mask; the column x = width and the row y = height count only while a
// mouse button is held on the button (moves then keep coming however far the pointer goes).
TEST_F(Interaction, HoverIsTheMaskAndTheFarEdgesOnlyWhileHeld)
{
    struct Case {
        int shape;
        QPoint pos;
        Qt::MouseButtons held;
        bool inside;
    };
    const Case cases[] = {{0, {0, 0}, {}, true},           {0, {72, 24}, {}, true},
                          {0, {73, 25}, {}, false},        {0, {73, 25}, Qt::LeftButton, true},
                          {0, {73, 0}, Qt::LeftButton, true}, {0, {0, 25}, Qt::MiddleButton, true},
                          {0, {-1, 0}, Qt::LeftButton, false}, {0, {74, 10}, Qt::LeftButton, false},
                          {0, {10, 26}, Qt::LeftButton, false}, {Button::Ellipse, {2, 2}, Qt::LeftButton, false},
                          {Button::Ellipse, {36, 36}, {}, true}};
    for (const Case& c : cases) {
        Button b;
        b.initNew();
        b.setButtonShape(Button::Shape(c.shape));
        b.resize(73, 25);
        b.show();
        EventLog log(b);
        const int paints = b.paintCount();
        sendMove(&b, c.pos, c.held);
        // A first move outside leaves the flag empty and repaints nothing.
        const std::optional<bool> expected = c.inside ? std::optional<bool>(true) : std::nullopt;
        EXPECT_EQ(b.mouseOverFlag(), expected) << c.shape << " " << c.pos.x() << "," << c.pos.y() << " " << c.held;
        EXPECT_EQ(b.paintCount() - paints, c.inside ? 1 : 0);
        EXPECT_EQ(log.entries.size(), 1); // MouseMove either way
    }
}

TEST_F(Interaction, CrossingTheEdgeDropsThePressedLook)
{
    EventLog log(button);
    sendMove(&button, centre);
    QTest::mousePress(&button, Qt::LeftButton, {}, centre);
    ASSERT_TRUE(button.pressedFlag());
    sendMove(&button, {80, 12}, Qt::LeftButton); // dragged out at speed: one move far outside
    EXPECT_EQ(button.mouseOverFlag(), std::optional<bool>(false));
    EXPECT_FALSE(button.pressedFlag());
    sendMove(&button, {10, 10}, Qt::LeftButton); // and back in: the look stays raised
    EXPECT_FALSE(button.pressedFlag());
    EXPECT_EQ(log.entries, QStringList({"MouseMove 0 0 36 12", "Click", "MouseDown 1 0 36 12", "MouseMove 1 0 80 12",
                                        "MouseMove 1 0 10 10"}));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {10, 10});
}

TEST_F(Interaction, AReleaseOutsideTakesNoGrabAndTheLeaveChangesNothingYet)
{
    QTest::mousePress(&button, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {100, 40});
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    const int paints = button.paintCount();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.mouseOverFlag(), std::nullopt); // still empty: nothing to repaint
    EXPECT_EQ(button.paintCount(), paints);
}

// While one button is held, Qt delivers the presses of the others here too, wherever the pointer is.
TEST_F(Interaction, APressOutsideWhileAnotherButtonIsHeldIsNotAClick)
{
    sendMove(&button, centre);
    QTest::mousePress(&button, Qt::LeftButton, {}, centre);
    EventLog log(button);
    QTest::mousePress(&button, Qt::MiddleButton, {}, {300, 300});
    EXPECT_TRUE(log.entries.isEmpty());
    EXPECT_EQ(button.mouseOverFlag(), std::optional<bool>(false));
    EXPECT_FALSE(button.pressedFlag());
    QTest::mouseRelease(&button, Qt::MiddleButton, {}, {300, 300});
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {300, 300});
}

// Resting on a button must not hold the pointer: a click elsewhere reaches the widget it is on.
TEST(InteractionInWindow, HoverHoldsNoGrabSoAClickElsewhereArrives)
{
    QWidget window;
    window.resize(200, 60);
    Button button(&window);
    button.initNew();
    button.setGeometry(10, 10, 73, 25);
    QPushButton other(QStringLiteral("Other"), &window);
    other.setGeometry(100, 10, 73, 25);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicks(&button, &Button::Click);
    QSignalSpy otherClicks(&other, &QPushButton::clicked);
    QTest::mouseMove(window.windowHandle(), {190, 50});
    QTest::mouseMove(window.windowHandle(), {40, 20});
    ASSERT_EQ(button.mouseOverFlag(), std::optional<bool>(true));
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, {130, 20});
    EXPECT_EQ(otherClicks.size(), 1);
    EXPECT_EQ(clicks.size(), 0);
    EXPECT_EQ(button.mouseOverFlag(), std::optional<bool>(false));
}

// A Click handler may run a modal loop (the window's empty-room warning) while the mouse is let go: the
// button must not stay drawn pressed with nothing held.
TEST_F(Interaction, AfterAModalClickHandlerThePressedLookNeedsTheButtonStillHeld)
{
    QObject::connect(&button, &Button::Click, [&] {
        QDialog dialog(&button);
        QTimer::singleShot(0, &dialog, [&] {
            QTest::mouseRelease(button.windowHandle(), Qt::LeftButton, {}, centre);
            dialog.accept();
        });
        dialog.exec();
    });
    QTest::mousePress(button.windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_FALSE(button.pressedFlag());
}

TEST_F(Interaction, DesignModeTracksNothingAndKeepsNoGrab)
{
    button.setUserMode(false);
    EventLog log(button);
    const int paints = button.paintCount();
    sendMove(&button, centre);
    EXPECT_EQ(button.mouseOverFlag(), std::nullopt);
    EXPECT_EQ(button.paintCount(), paints);
    QTest::mouseClick(&button, Qt::LeftButton, {}, centre);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(log.entries, QStringList({"Click", "MouseDown 1 0 36 12", "MouseUp 1 0 36 12"}));
}

TEST_F(Interaction, LosingFocusKeepsThePressedLook)
{
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    button.activateWindow();
    button.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.hasFocusFlag(); }));
    QTest::keyPress(&button, Qt::Key_Space);
    ASSERT_TRUE(button.pressedFlag());
    const int paints = button.paintCount();
    other.activateWindow();
    other.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !button.hasFocusFlag(); }));
    EXPECT_TRUE(button.pressedFlag());
    EXPECT_GE(button.paintCount(), paints + 1);
}

TEST_F(Interaction, DoubleClickOrder)
{
    EventLog log(button, false);
    QTest::mouseDClick(button.windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(log.entries, QStringList({"Click", "MouseDown 1 0 36 12", "MouseUp 1 0 36 12", "DblClick",
                                        "MouseUp 1 0 36 12"}));
    EXPECT_FALSE(button.pressedFlag());
}

TEST_F(Interaction, DropEventsAreForwarded)
{
    QMimeData data;
    data.setText(QStringLiteral("room"));
    QStringList seen;
    QObject::connect(&button, &Button::OLEDragOver,
                     [&](const QMimeData* d, int effect, int, int, float x, float y, int state) {
                         seen << QStringLiteral("OLEDragOver %1 %2 %3 %4 %5")
                                     .arg(d ? d->text() : "-").arg(effect).arg(x).arg(y).arg(state);
                     });
    QObject::connect(&button, &Button::OLEDragDrop, [&](const QMimeData* d, int effect, int, int, float x, float y) {
        seen << QStringLiteral("OLEDragDrop %1 %2 %3 %4").arg(d->text()).arg(effect).arg(x).arg(y);
    });
    QDragEnterEvent enter(QPoint(5, 6), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(QPoint(7, 8), Qt::CopyAction | Qt::MoveAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
    // Qt delivers a leave only to a widget the drag entered, so the drop comes after a second enter.
    QDragLeaveEvent leave;
    QApplication::sendEvent(&button, &leave);
    QApplication::sendEvent(&button, &enter);
    QDropEvent drop(QPointF(7, 8), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &drop);
    EXPECT_EQ(seen, QStringList({"OLEDragOver room 1 5 6 0", "OLEDragOver room 3 7 8 2", "OLEDragOver - 0 0 0 1",
                                 "OLEDragOver room 1 5 6 0", "OLEDragDrop room 1 7 8"}));
}

} // namespace

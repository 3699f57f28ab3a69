// What assistive technology sees of a button, through Qt's accessibility interfaces.
#include "Button.h"
#include "ButtonTestUtil.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QPointer>
#include <QTest>

namespace {

TEST(Accessibility, RoleNameStatesAndThePressAction)
{
    Button b;
    b.initNew();
    b.setCaption(QStringLiteral("&Join && leave"));
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&b);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Join & leave"));

    QTest::keyPress(&b, Qt::Key_Space);
    EXPECT_TRUE(a->state().pressed);
    QTest::keyRelease(&b, Qt::Key_Space);
    EXPECT_FALSE(a->state().pressed);
    b.setEnabled(false);
    EXPECT_TRUE(a->state().disabled);
    b.setEnabled(true);
    b.activateWindow();
    b.setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.hasFocus(); }));
    EXPECT_TRUE(a->state().focused);

    // Pressing clicks and lets go again: the button is not left drawn pressed.
    EventLog log(b);
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(log.entries, QStringList({"Click", "MouseDown 0 0 0 0", "MouseUp 0 0 0 0"}));
    EXPECT_FALSE(b.pressedFlag());

    b.setButtonType(Button::Toggle);
    EXPECT_EQ(a->role(), QAccessible::CheckBox);
    EXPECT_FALSE(a->state().checked);
    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(a->state().checkable);
    EXPECT_TRUE(a->state().checked);
}

TEST(Accessibility, APressActionMayDeleteTheButton)
{
    QPointer<Button> doomed = new Button;
    doomed->initNew();
    QObject::connect(doomed.data(), &Button::Click, [&] { delete doomed.data(); });
    QAccessible::queryAccessibleInterface(doomed.data())->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(doomed.isNull());
}

} // namespace

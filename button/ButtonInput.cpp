// Button: mouse, keyboard, focus and drag-and-drop handling.
//
// Click fires on the press of any mouse button but the right one, before MouseDown, and on the
// release of Enter while the button looks pressed. Hover is the pointer inside the mask, followed
// with mouse tracking and Enter/Leave; no grab is ever taken (on X11 a grab is display-wide: it would
// keep a screen locker from locking and swallow presses meant for other programs). While a mouse
// button is held on the button, Qt's implicit grab brings every move here, and then the column
// x = width and the row y = height still count as inside.
#include "Button.h"

#include <QDrag>
#include <QGuiApplication>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QtMath>

namespace {

constexpr int kEffectCopy = 1, kEffectMove = 2, kEffectLink = 4;
constexpr int kDragEnter = 0, kDragLeave = 1, kDragOver = 2;
constexpr int kTextFormat = 1;

int buttonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return Button::kLeftButton;
    case Qt::RightButton: return Button::kRightButton;
    case Qt::MiddleButton: return Button::kMiddleButton;
    default: return 0;
    }
}

Qt::MouseButton qtButton(int number)
{
    switch (number) {
    case Button::kLeftButton: return Qt::LeftButton;
    case Button::kRightButton: return Qt::RightButton;
    case Button::kMiddleButton: return Qt::MiddleButton;
    default: return Qt::NoButton;
    }
}

int buttonMask(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? Button::kLeftButton : 0)
           | (buttons & Qt::RightButton ? Button::kRightButton : 0)
           | (buttons & Qt::MiddleButton ? Button::kMiddleButton : 0);
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? Button::kShiftMask : 0)
           | (modifiers & Qt::ControlModifier ? Button::kCtrlMask : 0)
           | (modifiers & Qt::AltModifier ? Button::kAltMask : 0);
}

// Virtual-key numbers: letters and digits keep their character codes, the rest comes from a table.
int keyCode(const QKeyEvent* event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return Button::kKeyEnter;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return Button::kKeySpace;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Menu: return 93;
    default: return 0;
    }
}

// The pixel under a pointer position (positions are fractional on scaled screens).
QPoint pixelOf(const QPointF& pos)
{
    return {qFloor(pos.x()), qFloor(pos.y())};
}

int dropEffect(Qt::DropActions actions)
{
    return (actions & Qt::CopyAction ? kEffectCopy : 0) | (actions & Qt::MoveAction ? kEffectMove : 0)
           | (actions & Qt::LinkAction ? kEffectLink : 0);
}

// Drag data that asks the button for a format the moment a drop target wants it and it is empty.
class DragData : public QMimeData
{
public:
    explicit DragData(Button* button) : button_(button) {}

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        QVariant data = QMimeData::retrieveData(mimeType, type);
        if (data.isNull() && button_) {
            const int format = mimeType == QLatin1String("text/plain") ? kTextFormat : 0;
            emit button_->OLESetData(const_cast<DragData*>(this), format);
            data = QMimeData::retrieveData(mimeType, type);
        }
        return data;
    }

private:
    QPointer<Button> button_;
};

} // namespace

bool Button::isInside(QPoint pos, bool held) const
{
    // While held, the far column and row take the answer of the pixel beside them.
    if (held && pos.x() == width())
        pos.rx() = width() - 1;
    if (held && pos.y() == height())
        pos.ry() = height() - 1;
    return rect().contains(pos) && (shapeRegion_.isEmpty() || shapeRegion_.contains(pos));
}

void Button::pressPath(int button, int shift, float x, float y, bool fromWindowSystem)
{
    if (button == kRightButton)
        return;
    if (props_.buttonType == Toggle)
        props_.value = !pressed_;
    PaintButton();
    const QPointer<Button> alive(this);
    emit Click();
    if (!alive)
        return;
    // A handler that ran a modal loop may have seen the mouse button go up meanwhile (the release went
    // to the dialog): the application's record of the buttons says. A press made up by a program
    // leaves no such record, and the keyboard's press (button 0) looks pressed regardless.
    if (button == 0 || !fromWindowSystem || QGuiApplication::mouseButtons() & qtButton(button)) {
        pressed_ = true;
        PaintButton();
    }
    emit MouseDown(button, shift, x, y);
}

void Button::releasePath(int button, int shift, float x, float y)
{
    pressed_ = false;
    PaintButton();
    emit MouseUp(button, shift, x, y);
}

bool Button::trackHover(bool inside)
{
    if (!userMode_)
        return false;
    // An empty flag compares as false, so a first move outside changes nothing.
    if (inside != mouseOver_.value_or(false)) {
        mouseOver_ = inside;
        pressed_ = false;
        PaintButton();
    }
    return true;
}

void Button::mousePressEvent(QMouseEvent* event)
{
    const int button = buttonNumber(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    // The second press of a double click arrives as the double click itself.
    if (button == kLeftButton && event->flags().testFlag(Qt::MouseEventCreatedDoubleClick))
        return;
    // While another button is held, Qt brings this press here wherever the pointer is; one outside
    // was meant for something else.
    const bool othersHeld = (event->buttons() & ~event->button()) != Qt::NoButton;
    if (othersHeld && !isInside(pixelOf(event->position()), true)) {
        trackHover(false);
        return;
    }
    pressPath(button, shiftState(event->modifiers()), float(event->position().x()), float(event->position().y()),
              event->spontaneous());
}

void Button::mouseReleaseEvent(QMouseEvent* event)
{
    const int button = buttonNumber(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    releasePath(button, shiftState(event->modifiers()), float(event->position().x()), float(event->position().y()));
}

void Button::mouseMoveEvent(QMouseEvent* event)
{
    const QPointer<Button> alive(this);
    const bool held = event->buttons() != Qt::NoButton;
    if (!trackHover(isInside(pixelOf(event->position()), held)) || !alive)
        return;
    emit MouseMove(buttonMask(event->buttons()), shiftState(event->modifiers()), float(event->position().x()),
                   float(event->position().y()));
}

void Button::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only the left button double-clicks; the second press of the others already ran the press path.
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = true;
    PaintButton();
    emit DblClick();
}

void Button::enterEvent(QEnterEvent* event)
{
    trackHover(isInside(pixelOf(event->position()), false));
    QWidget::enterEvent(event);
}

void Button::leaveEvent(QEvent* event)
{
    // Qt holds a leave back while a button is held on us, so this is the pointer gone.
    trackHover(false);
    QWidget::leaveEvent(event);
}

void Button::keyPressEvent(QKeyEvent* event)
{
    const int code = keyCode(event);
    const bool ours = code == kKeyEnter || code == kKeySpace;
    if (ours) {
        pressed_ = true;
        PaintButton();
    }
    const QPointer<Button> alive(this);
    emit KeyDown(code, shiftState(event->modifiers()));
    if (!alive)
        return;
    if (const QString text = event->text(); !text.isEmpty())
        emit KeyPress(text.at(0).unicode());
    if (!alive)
        return;
    // Keys the button does not use go on to the parent (a dialog's Escape, for one).
    if (!ours)
        QWidget::keyPressEvent(event);
}

void Button::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its press only; the one real release comes at the end.
    if (event->isAutoRepeat())
        return;
    const int code = keyCode(event);
    const int shift = shiftState(event->modifiers());
    const QPointer<Button> alive(this);
    if (pressed_) {
        pressed_ = false;
        PaintButton();
        if (code == kKeyEnter)
            pressPath(0, 0, 0, 0);
        if (!alive)
            return;
    }
    emit KeyUp(code, shift);
}

void Button::focusInEvent(QFocusEvent* event)
{
    hasFocus_ = true;
    PaintButton();
    QWidget::focusInEvent(event);
}

void Button::focusOutEvent(QFocusEvent* event)
{
    hasFocus_ = false;
    PaintButton();
    QWidget::focusOutEvent(event);
}

void Button::dragEnterEvent(QDragEnterEvent* event)
{
    const QPointF pos = event->position();
    emit OLEDragOver(event->mimeData(), dropEffect(event->possibleActions()), buttonMask(event->buttons()),
                     shiftState(event->modifiers()), float(pos.x()), float(pos.y()), kDragEnter);
    event->acceptProposedAction();
}

void Button::dragMoveEvent(QDragMoveEvent* event)
{
    const QPointF pos = event->position();
    emit OLEDragOver(event->mimeData(), dropEffect(event->possibleActions()), buttonMask(event->buttons()),
                     shiftState(event->modifiers()), float(pos.x()), float(pos.y()), kDragOver);
    event->acceptProposedAction();
}

void Button::dragLeaveEvent(QDragLeaveEvent*)
{
    emit OLEDragOver(nullptr, 0, 0, 0, 0, 0, kDragLeave);
}

void Button::dropEvent(QDropEvent* event)
{
    const QPointF pos = event->position();
    emit OLEDragDrop(event->mimeData(), dropEffect(event->proposedAction()), buttonMask(event->buttons()),
                     shiftState(event->modifiers()), float(pos.x()), float(pos.y()));
    event->acceptProposedAction();
}

void Button::OLEDrag()
{
    auto* drag = new QDrag(this);
    auto* data = new DragData(this);
    drag->setMimeData(data);
    const QPointer<Button> alive(this);
    emit OLEStartDrag(data, kEffectCopy | kEffectMove);
    if (!alive)
        return;
    connect(drag, &QDrag::actionChanged, this,
            [this](Qt::DropAction action) { emit OLEGiveFeedback(dropEffect(action), true); });
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction);
    if (alive)
        emit OLECompleteDrag(dropEffect(done));
}

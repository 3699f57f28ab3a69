// Button: a paint in two steps. First the steps that change the widget (size limits, hand cursor,
// toggle look, border colours written back), then the face from the face renderer, which the widget
// shows with the shape's region as its mask.
#include "Button.h"

#include "FaceRenderer.h"
#include "ShapeFrame.h"
#include "StyleInfo.h"
#include "Units.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kMinTwips = 375;

} // namespace

Button::ScreenMetrics Button::screenMetrics() const
{
    // One look-up of the screen serves the whole paint: each of logicalDpiX(), logicalDpiY() and
    // devicePixelRatioF() does it again, and for a widget without a window it is a search of the
    // screens by position, which only has an answer to find when there is more than one.
    const QWindow* handle = window()->windowHandle();
    const QScreen* screen = handle ? handle->screen() : nullptr;
    if (!screen) {
        const QList<QScreen*> screens = QGuiApplication::screens();
        screen = screens.size() == 1 ? screens.front() : this->screen();
    }
    if (!screen)
        return {double(logicalDpiX()), double(logicalDpiY()), devicePixelRatioF()};
    return {double(qRound(screen->logicalDotsPerInchX())), double(qRound(screen->logicalDotsPerInchY())),
            handle ? handle->devicePixelRatio() : screen->devicePixelRatio()};
}

bool Button::applySizeLimits(double dpiX, double dpiY)
{
    const int widthTwips = std::max(units::pixelsToTwips(width(), dpiX), kMinTwips);
    int heightTwips = std::max(units::pixelsToTwips(height(), dpiY), kMinTwips);
    // A value that names no shape keeps the face square too.
    if (const shape::ShapeTable* table = shape::shapeTable(props_.buttonShape); !table || table->square)
        heightTwips = widthTwips;
    const QSize wanted(units::twipsToPixels(widthTwips, dpiX), units::twipsToPixels(heightTwips, dpiY));
    if (wanted == size())
        return false;
    // The resize event this sends (at once when shown, at the show otherwise) must not paint again:
    // this paint goes on with the new size.
    resizing_ = true;
    resize(wanted);
    resizing_ = false;
    return true;
}

void Button::prepareFace(const ScreenMetrics& metrics)
{
    applySizeLimits(metrics.dpiX, metrics.dpiY);

    const bool hover = mouseOver_.value_or(false);
    if (props_.handPointer && ((pressed_ && hasFocus_) || (!pressed_ && (hover || hasFocus_))))
        setCursor(Qt::PointingHandCursor);

    // A toggle button whose Value is true is drawn pressed, and stays so.
    if (props_.buttonType == Toggle && props_.value)
        pressed_ = true;

    // Styles 1 to 8 write their border colours back into the properties, where the getters and the
    // stored settings see them.
    const StyleInfo& style = styleInfo(props_.buttonStyle);
    if (!style.writesBorders)
        return;
    const ButtonProperties before = props_;
    props_.borderColor = style.borders.normal.resolve(before);
    props_.borderColorHover = style.borders.hover.resolve(before);
    props_.borderColorPressed = style.borders.pressed.resolve(before);
    if (style.showsDisabled(isEnabled(), lookOf(pressed_, hover)))
        props_.borderColor = style.disabledBorder;
}

void Button::PaintButton()
{
    const ScreenMetrics metrics = screenMetrics();
    prepareFace(metrics);

    FaceInput in;
    in.size = size();
    in.ratio = metrics.ratio;
    in.props = props_;
    in.font = font();
    in.pressed = pressed_;
    in.mouseOver = mouseOver_.value_or(false);
    in.hasFocus = hasFocus_;
    in.enabled = isEnabled();
    in.captionRect = captionRect_;
    in.pictureRect = pictureRect_;
    in.backTransparent = backStyleTransparent_;
    in.mask = shapeRegion_;
    in.shapePoints = shapePoints_;
    in.focusMarkPoints = focusMarkPoints_;

    if (!renderer_)
        renderer_ = std::make_unique<FaceRenderer>();
    // Let go of the last face first, so that the renderer can draw the next one in the same buffer.
    face_ = QImage();
    FaceOutput out = renderer_->renderFace(in);
    face_ = std::move(out.face);
    captionRect_ = out.captionRect;
    pictureRect_ = out.pictureRect;
    backStyleTransparent_ = out.backTransparent;
    shapePoints_ = out.shapePoints;
    focusMarkPoints_ = out.focusMarkPoints;
    if (out.region)
        applyShapeRegion(*out.region);
    // Only a fully opaque face may skip the parent's background behind it.
    if (testAttribute(Qt::WA_OpaquePaintEvent) != out.opaque)
        setAttribute(Qt::WA_OpaquePaintEvent, out.opaque);
    ++paintCount_;
    update();
    notifyAccessibleState();
}

void Button::setStateFlags(bool pressed, std::optional<bool> mouseOver, bool hasFocus)
{
    pressed_ = pressed;
    mouseOver_ = mouseOver;
    hasFocus_ = hasFocus;
    PaintButton();
}

void Button::applyShapeRegion(const QRegion& region)
{
    if (region == shapeRegion_)
        return;
    shapeRegion_ = region;
    if (region.isEmpty())
        clearMask();
    else
        setMask(region);
}

void Button::paintEvent(QPaintEvent*)
{
    // The window went to a screen of another pixel density since the last paint.
    if (!face_.isNull() && face_.devicePixelRatio() != devicePixelRatioF())
        PaintButton();
    QPainter painter(this);
    painter.drawImage(0, 0, face_);
}

void Button::resizeEvent(QResizeEvent*)
{
    if (!resizing_)
        PaintButton();
}

void Button::showEvent(QShowEvent*)
{
    PaintButton();
}

void Button::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // However the widget's enabled state or font changed (setEnabled or setFont, through the property
    // system or not, or a parent disabled or given another font), the property changed: it is
    // reported and painted.
    if (event->type() == QEvent::EnabledChange) {
        report("Enabled");
        PaintButton();
    } else if (event->type() == QEvent::FontChange) {
        report("Font");
        PaintButton();
    }
}

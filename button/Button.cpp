// Button: construction, properties, colour presets and persistence.
#include "Button.h"

#include "PropertyBag.h"
#include "Units.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>

#include <limits>
#include <stdexcept>

namespace {

// A stored number as the 32 bits it was saved from; colours written unsigned read back the same.
std::optional<quint32> storedBits(const QVariant& value)
{
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return quint32(n);
}

// Saved booleans may come as true/false or as the classic 0 / -1.
std::optional<bool> storedBool(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (const auto bits = storedBits(value))
        return *bits != 0;
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

QPixmap storedPicture(const QVariant& value)
{
    if (value.typeId() == QMetaType::QPixmap)
        return value.value<QPixmap>();
    if (value.typeId() == QMetaType::QImage)
        return QPixmap::fromImage(value.value<QImage>());
    return {};
}

// The colour presets of ButtonStyle 1..8: back, pressed, hover.
struct StylePreset {
    quint32 back, pressed, hover;
};
constexpr StylePreset kStylePresets[8] = {
    {Button::kButtonFace, Button::kButtonFace, Button::kButtonFace},
    {Button::kButtonFace, Button::kButtonFace, Button::kButtonFace},
    {Button::kButtonFace, Button::kButtonFace, Button::kButtonFace},
    {Button::kButtonFace, 0x999999, Button::kButtonFace},
    {Button::kButtonFace, 0xAF8C80, 0xB6A59F},
    {0xD2DEDD, 0xFFFFFF, 0xFFFFFF},
    {0xD8D8D8, 0xEFCE92, 0xF7DBA5},
    {Button::kDesktop, Button::kDesktop, Button::kDesktop},
};

// The colour presets of ButtonTheme Blue..Navy: back, pressed, hover, and one colour for all borders.
struct ThemePreset {
    quint32 back, pressed, hover, border;
};
constexpr ThemePreset kThemePresets[8] = {
    {0xF1B39A, 0xFAE6DD, 0xFDF7F4, 0xF1B39A}, // Blue
    {0x3DB4A2, 0xB8E7E0, 0xDFF4F2, 0x3DB4A2}, // Olive
    {0xB5A09D, 0xECE7E6, 0xF7F5F4, 0xB5A09D}, // Silver
    {0xABC2C2, 0xE6EDEE, 0xF2F8F8, 0xABC2C2}, // Sand
    {0x02C5F5, 0xAFEFFE, 0xE2F9FF, 0x02C5F5}, // Gold
    {0x26368B, 0x425CEE, 0x4763FF, 0x0000FF}, // Red
    {0x578B2E, 0x80CD43, 0x9FFF54, 0x00FF00}, // Green
    {0x8B4027, 0xCD5F3A, 0xFF7648, 0xFF0000}, // Navy
};

// The classic pointer numbers 1..15 as Qt cursors (0 is the default pointer, 99 the MouseIcon).
constexpr Qt::CursorShape kPointerShapes[16] = {
    Qt::ArrowCursor,     Qt::ArrowCursor,      Qt::CrossCursor,    Qt::IBeamCursor,
    Qt::ArrowCursor,     Qt::SizeAllCursor,    Qt::SizeBDiagCursor, Qt::SizeVerCursor,
    Qt::SizeFDiagCursor, Qt::SizeHorCursor,    Qt::UpArrowCursor,  Qt::WaitCursor,
    Qt::ForbiddenCursor, Qt::BusyCursor,       Qt::WhatsThisCursor, Qt::SizeAllCursor,
};
constexpr int kCustomPointer = 99;

} // namespace

Button::Button(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    // paintEvent covers every pixel with the finished face.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Button::~Button() = default;

QString Button::ambientDisplayName() const
{
    // A container that gives no name behaves like a form naming its first button.
    return objectName().isEmpty() ? QString::fromLatin1(kSurfaceName) + QLatin1Char('1') : objectName();
}

QFont Button::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void Button::initNew()
{
    resize(units::twipsToPixels(kNewWidthTwips, logicalDpiX()), units::twipsToPixels(kNewHeightTwips, logicalDpiY()));
    buttonStyle_ = 1;
    buttonStyleColors_ = 1;
    buttonShape_ = Rectangle;
    captionAlignment_ = 2;
    pictureAlignment_ = 2;
    buttonTheme_ = None;
    backColor_ = backColorPressed_ = backColorHover_ = kButtonFace;
    buttonType_ = Push;
    captionStyle_ = captionEffect_ = dropDown_ = 0;
    foreColor_ = 0;
    foreColorPressed_ = 0x0000FF;
    foreColorHover_ = 0xFF0000;
    effectColor_ = 0xFFFFFF;
    caption_ = ambientDisplayName();
    focusRect_ = true;
    value_ = false;
    handPointer_ = false;
    picture_ = QPixmap();
    pictureGray_ = false;
    QFont tahoma = font();
    tahoma.setFamily(QStringLiteral("Tahoma"));
    settingSurface_ = true;
    QWidget::setEnabled(true);
    QWidget::setFont(tahoma);
    settingSurface_ = false;
    PaintButton();
}

void Button::readProperties(const PropertyBag& bag)
{
    const auto bits = [&](const char* key, quint32 fallback) {
        return storedBits(bag.read(QString::fromLatin1(key))).value_or(fallback);
    };
    const auto flag = [&](const char* key, bool fallback) {
        return storedBool(bag.read(QString::fromLatin1(key))).value_or(fallback);
    };
    buttonShape_ = Shape(bits("ButtonShape", Rectangle));
    buttonStyle_ = qint32(bits("ButtonStyle", 1));
    buttonStyleColors_ = qint32(bits("ButtonStyleColors", 1));
    buttonTheme_ = Theme(bits("ButtonTheme", None));
    buttonType_ = Type(bits("ButtonType", Push));
    captionAlignment_ = qint32(bits("CaptionAlignment", 2));
    captionEffect_ = qint32(bits("CaptionEffect", 0));
    captionStyle_ = qint32(bits("CaptionStyle", 0));
    dropDown_ = qint32(bits("DropDown", 0));
    pictureAlignment_ = qint32(bits("PictureAlignment", 2));
    backColor_ = bits("BackColor", kButtonFace);
    backColorPressed_ = bits("BackColorPressed", kButtonFace);
    backColorHover_ = bits("BackColorHover", kButtonFace);
    borderColor_ = bits("BorderColor", 0);
    borderColorPressed_ = bits("BorderColorPressed", 0);
    borderColorHover_ = bits("BorderColorHover", 0);
    foreColor_ = bits("ForeColor", 0);
    foreColorPressed_ = bits("ForeColorPressed", 0x0000FF);
    foreColorHover_ = bits("ForeColorHover", 0xFF0000);
    effectColor_ = bits("EffectColor", 0xFFFFFF);
    caption_ = bag.read(QStringLiteral("Caption"), QString::fromLatin1(kSurfaceName)).toString();
    focusRect_ = flag("FocusRect", true);
    value_ = flag("Value", false);
    handPointer_ = flag("HandPointer", false);
    picture_ = storedPicture(bag.read(QStringLiteral("Picture")));
    pictureGray_ = flag("PictureGray", false);
    settingSurface_ = true;
    QWidget::setEnabled(flag("Enabled", true));
    settingSurface_ = false;

    const QVariant font = bag.read(QStringLiteral("Font"));
    setFont(font.typeId() == QMetaType::QFont ? font.value<QFont>() : ambientFont());
    setMouseIcon(storedPicture(bag.read(QStringLiteral("MouseIcon"))));
    // A pointer number that does not fit 16 bits is refused; the default pointer stays.
    const qint32 pointer = qint32(bits("MousePointer", 0));
    mousePointer_ = pointer >= std::numeric_limits<qint16>::min() && pointer <= std::numeric_limits<qint16>::max()
                        ? qint16(pointer) : 0;
    applyMousePointer();
}

void Button::writeProperties(PropertyBag& bag) const
{
    const auto number = [&](const char* key, qint32 value, qint32 fallback) {
        bag.write(QString::fromLatin1(key), value, fallback);
    };
    const auto colour = [&](const char* key, quint32 value, quint32 fallback) {
        bag.write(QString::fromLatin1(key), value, fallback);
    };
    const auto flag = [&](const char* key, bool value, bool fallback) {
        bag.write(QString::fromLatin1(key), value, fallback);
    };
    number("ButtonShape", buttonShape_, Rectangle);
    number("ButtonStyle", buttonStyle_, 1);
    number("ButtonStyleColors", buttonStyleColors_, 1);
    number("ButtonTheme", buttonTheme_, None);
    number("ButtonType", buttonType_, Push);
    number("CaptionAlignment", captionAlignment_, 2);
    number("CaptionEffect", captionEffect_, 0);
    number("CaptionStyle", captionStyle_, 0);
    number("DropDown", dropDown_, 0);
    number("PictureAlignment", pictureAlignment_, 2);
    colour("BackColor", backColor_, kButtonFace);
    colour("BackColorPressed", backColorPressed_, kButtonFace);
    colour("BackColorHover", backColorHover_, kButtonFace);
    colour("BorderColor", borderColor_, 0);
    colour("BorderColorPressed", borderColorPressed_, 0);
    colour("BorderColorHover", borderColorHover_, 0);
    colour("ForeColor", foreColor_, 0);
    colour("ForeColorPressed", foreColorPressed_, 0x0000FF);
    colour("ForeColorHover", foreColorHover_, 0xFF0000);
    colour("EffectColor", effectColor_, 0xFFFFFF);
    bag.write(QStringLiteral("Caption"), caption_, QString::fromLatin1(kSurfaceName));
    flag("FocusRect", focusRect_, true);
    flag("Value", value_, false);
    flag("HandPointer", handPointer_, false);
    bag.write(QStringLiteral("Picture"), picture_, QPixmap());
    flag("PictureGray", pictureGray_, false);
    flag("Enabled", isEnabled(), true);
    // A font is stored as an object, whatever its value: the window design keeps each button's
    // font even where it equals the window's own.
    bag.write(QStringLiteral("Font"), font());
    bag.write(QStringLiteral("MouseIcon"), mouseIcon_, QPixmap());
    number("MousePointer", mousePointer_, 0);
}

void Button::Refresh()
{
    PaintButton();
}

void Button::report(const char* name)
{
    emit propertyChanged(QString::fromLatin1(name));
}

template <typename T>
void Button::assign(T& field, const T& value, const char* name)
{
    field = value;
    report(name);
    PaintButton();
}

void Button::setButtonShape(Shape EBS) { assign(buttonShape_, EBS, "ButtonShape"); }

void Button::setButtonStyle(qint32 EBS)
{
    buttonStyle_ = EBS;
    report("ButtonStyle");
    applyStylePreset(EBS);
    PaintButton();
}

void Button::applyStylePreset(qint32 style)
{
    if (style < 1 || style > 8)
        return;
    const StylePreset& preset = kStylePresets[style - 1];
    backColor_ = preset.back;
    backColorPressed_ = preset.pressed;
    backColorHover_ = preset.hover;
    // Styles 4 and 6 need their own background pattern, unless the background is transparent.
    if (style == 4 && buttonStyleColors_ != 0)
        buttonStyleColors_ = 1;
    if (style == 6 && buttonStyleColors_ != 0)
        buttonStyleColors_ = 3;
}

void Button::setButtonStyleColors(qint32 EBSC) { assign(buttonStyleColors_, EBSC, "ButtonStyleColors"); }

void Button::setButtonTheme(Theme EBT)
{
    buttonTheme_ = EBT;
    report("ButtonTheme");
    applyThemePreset(EBT);
    PaintButton();
}

void Button::applyThemePreset(Theme theme)
{
    if (theme < Blue || theme > Navy)
        return;
    const ThemePreset& preset = kThemePresets[theme - Blue];
    backColor_ = preset.back;
    backColorPressed_ = preset.pressed;
    backColorHover_ = preset.hover;
    borderColor_ = borderColorPressed_ = borderColorHover_ = preset.border;
}

void Button::setButtonType(Type EBT) { assign(buttonType_, EBT, "ButtonType"); }
void Button::setCaptionAlignment(qint32 ECA) { assign(captionAlignment_, ECA, "CaptionAlignment"); }
void Button::setCaptionEffect(qint32 ECE) { assign(captionEffect_, ECE, "CaptionEffect"); }
void Button::setCaptionStyle(qint32 ECS) { assign(captionStyle_, ECS, "CaptionStyle"); }
void Button::setDropDown(qint32 EDD) { assign(dropDown_, EDD, "DropDown"); }
void Button::setPictureAlignment(qint32 EPA) { assign(pictureAlignment_, EPA, "PictureAlignment"); }
void Button::setBackColor(quint32 New_Color) { assign(backColor_, New_Color, "BackColor"); }
void Button::setBackColorPressed(quint32 New_Color) { assign(backColorPressed_, New_Color, "BackColorPressed"); }
void Button::setBackColorHover(quint32 New_Color) { assign(backColorHover_, New_Color, "BackColorHover"); }
void Button::setBorderColor(quint32 New_Color) { assign(borderColor_, New_Color, "BorderColor"); }
void Button::setBorderColorPressed(quint32 New_Color) { assign(borderColorPressed_, New_Color, "BorderColorPressed"); }
void Button::setBorderColorHover(quint32 New_Color) { assign(borderColorHover_, New_Color, "BorderColorHover"); }
void Button::setForeColor(quint32 New_Color) { assign(foreColor_, New_Color, "ForeColor"); }
void Button::setForeColorPressed(quint32 New_Color) { assign(foreColorPressed_, New_Color, "ForeColorPressed"); }
void Button::setForeColorHover(quint32 New_Color) { assign(foreColorHover_, New_Color, "ForeColorHover"); }
void Button::setEffectColor(quint32 New_Color) { assign(effectColor_, New_Color, "EffectColor"); }
void Button::setCaption(const QString& NewCaption) { assign(caption_, NewCaption, "Caption"); }
void Button::setFocusRect(bool New_FocusRect) { assign(focusRect_, New_FocusRect, "FocusRect"); }
void Button::setValue(bool New_Value) { assign(value_, New_Value, "Value"); }
void Button::setHandPointer(bool New_HandPointer) { assign(handPointer_, New_HandPointer, "HandPointer"); }
void Button::setPicture(const QPixmap& New_Picture) { assign(picture_, New_Picture, "Picture"); }
void Button::setPictureGray(bool New_PictureGray) { assign(pictureGray_, New_PictureGray, "PictureGray"); }

void Button::setEnabled(bool New_Enabled)
{
    settingSurface_ = true;
    QWidget::setEnabled(New_Enabled);
    settingSurface_ = false;
    report("Enabled");
    PaintButton();
}

void Button::setFont(const QFont& New_Font)
{
    settingSurface_ = true;
    QWidget::setFont(New_Font);
    settingSurface_ = false;
    report("Font");
    PaintButton();
}

void Button::setMousePointer(qint32 New_MousePointer)
{
    if (New_MousePointer < std::numeric_limits<qint16>::min() || New_MousePointer > std::numeric_limits<qint16>::max())
        throw std::out_of_range("MousePointer must fit in 16 bits");
    mousePointer_ = qint16(New_MousePointer);
    applyMousePointer();
    report("MousePointer");
    PaintButton();
}

void Button::setMouseIcon(const QPixmap& New_MouseIcon)
{
    mouseIcon_ = New_MouseIcon;
    applyMousePointer();
    report("MouseIcon");
    PaintButton();
}

void Button::applyMousePointer()
{
    if (mousePointer_ == kCustomPointer && !mouseIcon_.isNull())
        setCursor(QCursor(mouseIcon_));
    else if (mousePointer_ > 0 && mousePointer_ < qint16(std::size(kPointerShapes)))
        setCursor(kPointerShapes[mousePointer_]);
    else
        unsetCursor();
}

void Button::setUserMode(bool userMode)
{
    userMode_ = userMode;
}

void Button::syncToggleLook()
{
    if (buttonType_ == Toggle && value_)
        pressed_ = true;
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
    QPainter painter(this);
    painter.drawImage(0, 0, face_);
}

void Button::resizeEvent(QResizeEvent*)
{
    PaintButton();
}

void Button::showEvent(QShowEvent*)
{
    PaintButton();
}

void Button::changeEvent(QEvent* event)
{
    // A parent that is disabled or changes its font changes our look too.
    if (!settingSurface_ && (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange))
        PaintButton();
    QWidget::changeEvent(event);
}

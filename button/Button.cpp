// Button: construction, properties, colour presets and persistence.
#include "Button.h"

#include "FaceRenderer.h"
#include "PropertyBag.h"
#include "PropertyTable.h"
#include "StyleInfo.h"
#include "Units.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QLoggingCategory>
#include <QSignalBlocker>

#include <limits>
#include <stdexcept>
#include <variant>

Q_LOGGING_CATEGORY(lcButton, "tarnwick.button")

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

bool fitsPointer(qint32 value)
{
    return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max();
}

// A stored value as the property's type; nullopt when it cannot be one.
template <typename T>
std::optional<T> fromStored(const QVariant& value);

template <>
std::optional<quint32> fromStored(const QVariant& value)
{
    return storedBits(value);
}
template <>
std::optional<qint32> fromStored(const QVariant& value)
{
    if (const auto bits = storedBits(value))
        return qint32(*bits);
    return std::nullopt;
}
template <>
std::optional<qint16> fromStored(const QVariant& value)
{
    if (const auto n = fromStored<qint32>(value); n && fitsPointer(*n))
        return qint16(*n);
    return std::nullopt;
}
// Saved booleans may come as true/false or as the classic 0 / -1.
template <>
std::optional<bool> fromStored(const QVariant& value)
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
template <>
std::optional<QString> fromStored(const QVariant& value)
{
    if (!value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}
template <>
std::optional<QPixmap> fromStored(const QVariant& value)
{
    if (value.typeId() == QMetaType::QPixmap)
        return value.value<QPixmap>();
    if (value.typeId() == QMetaType::QImage)
        return QPixmap::fromImage(value.value<QImage>());
    return std::nullopt;
}
template <>
std::optional<QFont> fromStored(const QVariant& value)
{
    if (value.typeId() == QMetaType::QFont)
        return value.value<QFont>();
    return std::nullopt;
}

// The stored value of key, or fallback: silently when the key is absent, with one warning when its
// value cannot be used.
template <typename T>
T readStored(const PropertyBag& bag, const char* key, const T& fallback)
{
    const QVariant value = bag.read(QString::fromLatin1(key));
    if (!value.isValid())
        return fallback;
    if (std::optional<T> usable = fromStored<T>(value))
        return *std::move(usable);
    qCWarning(lcButton).nospace() << "stored " << key << " refused (" << value << "); the default is used";
    return fallback;
}

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
    installAccessibility();
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
    return objectName().isEmpty() ? ButtonProperties().caption + QLatin1Char('1') : objectName();
}

QFont Button::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void Button::initNew()
{
    resize(units::twipsToPixels(kNewWidthTwips, logicalDpiX()), units::twipsToPixels(kNewHeightTwips, logicalDpiY()));
    const ButtonProperties fresh;
    for (const PropertyField& field : kPropertyFields)
        if (!field.keptByInitNew)
            std::visit([&](auto member) { props_.*member = fresh.*member; }, field.member);
    props_.caption = ambientDisplayName();
    QFont tahoma = font();
    tahoma.setFamily(QStringLiteral("Tahoma"));
    {
        // A new instance reports nothing.
        const QSignalBlocker quiet(this);
        setEnabled(true);
        setFont(tahoma);
    }
    PaintButton();
}

void Button::readProperties(const PropertyBag& bag)
{
    const ButtonProperties defaults;
    for (const PropertyField& field : kPropertyFields)
        std::visit([&](auto member) { props_.*member = readStored(bag, field.key, defaults.*member); }, field.member);
    {
        // Stored into the widget directly, like the properties above: not reported.
        const QSignalBlocker quiet(this);
        setEnabled(readStored(bag, "Enabled", true));
    }
    setFont(readStored(bag, "Font", ambientFont()));
    setMouseIcon(readStored(bag, "MouseIcon", QPixmap()));
    mousePointer_ = readStored(bag, "MousePointer", qint16(0));
    applyMousePointer();
}

void Button::writeProperties(PropertyBag& bag) const
{
    const ButtonProperties defaults;
    for (const PropertyField& field : kPropertyFields)
        std::visit(
            [&](auto member) {
                bag.write(QString::fromLatin1(field.key), QVariant::fromValue(props_.*member),
                          QVariant::fromValue(defaults.*member));
            },
            field.member);
    bag.write(QStringLiteral("Enabled"), !testAttribute(Qt::WA_ForceDisabled), true);
    // A font is stored as an object, whatever its value: the window design keeps each button's
    // font even where it equals the window's own.
    bag.write(QStringLiteral("Font"), font());
    bag.write(QStringLiteral("MouseIcon"), mouseIcon_, QPixmap());
    bag.write(QStringLiteral("MousePointer"), qint32(mousePointer_), qint32(0));
}

void Button::Refresh()
{
    PaintButton();
}

void Button::report(const char* name)
{
    emit propertyChanged(QString::fromLatin1(name));
}

template <auto Member, typename T>
void Button::store(const T& value)
{
    static constexpr const char* key = propertyKey<Member>();
    static_assert(key != nullptr, "a property of the table");
    props_.*Member = value;
    report(key);
    PaintButton();
}

void Button::setButtonShape(Shape EBS) { store<&ButtonProperties::buttonShape>(qint32(EBS)); }

void Button::setButtonStyle(qint32 EBS)
{
    props_.buttonStyle = EBS;
    report("ButtonStyle");
    applyStylePreset(EBS);
    PaintButton();
}

void Button::applyStylePreset(qint32 style)
{
    const StyleInfo& info = styleInfo(style);
    if (!info.preset)
        return;
    props_.backColor = info.preset->back;
    props_.backColorPressed = info.preset->pressed;
    props_.backColorHover = info.preset->hover;
    // Styles 4 and 6 need their own background pattern, unless the background is transparent.
    if (info.pattern != 0 && props_.buttonStyleColors != 0)
        props_.buttonStyleColors = info.pattern;
}

void Button::setButtonStyleColors(qint32 EBSC) { store<&ButtonProperties::buttonStyleColors>(EBSC); }

void Button::setButtonTheme(Theme EBT)
{
    props_.buttonTheme = EBT;
    report("ButtonTheme");
    applyThemePreset(EBT);
    PaintButton();
}

void Button::applyThemePreset(Theme theme)
{
    if (theme < Blue || theme > Navy)
        return;
    const ThemePreset& preset = kThemePresets[theme - Blue];
    props_.backColor = preset.back;
    props_.backColorPressed = preset.pressed;
    props_.backColorHover = preset.hover;
    props_.borderColor = props_.borderColorPressed = props_.borderColorHover = preset.border;
}

void Button::setButtonType(Type EBT) { store<&ButtonProperties::buttonType>(qint32(EBT)); }
void Button::setCaptionAlignment(qint32 ECA) { store<&ButtonProperties::captionAlignment>(ECA); }
void Button::setCaptionEffect(qint32 ECE) { store<&ButtonProperties::captionEffect>(ECE); }
void Button::setCaptionStyle(qint32 ECS) { store<&ButtonProperties::captionStyle>(ECS); }
void Button::setDropDown(qint32 EDD) { store<&ButtonProperties::dropDown>(EDD); }
void Button::setPictureAlignment(qint32 EPA) { store<&ButtonProperties::pictureAlignment>(EPA); }
void Button::setBackColor(quint32 New_Color) { store<&ButtonProperties::backColor>(New_Color); }
void Button::setBackColorPressed(quint32 New_Color) { store<&ButtonProperties::backColorPressed>(New_Color); }
void Button::setBackColorHover(quint32 New_Color) { store<&ButtonProperties::backColorHover>(New_Color); }
void Button::setBorderColor(quint32 New_Color) { store<&ButtonProperties::borderColor>(New_Color); }
void Button::setBorderColorPressed(quint32 New_Color) { store<&ButtonProperties::borderColorPressed>(New_Color); }
void Button::setBorderColorHover(quint32 New_Color) { store<&ButtonProperties::borderColorHover>(New_Color); }
void Button::setForeColor(quint32 New_Color) { store<&ButtonProperties::foreColor>(New_Color); }
void Button::setForeColorPressed(quint32 New_Color) { store<&ButtonProperties::foreColorPressed>(New_Color); }
void Button::setForeColorHover(quint32 New_Color) { store<&ButtonProperties::foreColorHover>(New_Color); }
void Button::setEffectColor(quint32 New_Color) { store<&ButtonProperties::effectColor>(New_Color); }
void Button::setCaption(const QString& NewCaption)
{
    store<&ButtonProperties::caption>(NewCaption);
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}
void Button::setFocusRect(bool New_FocusRect) { store<&ButtonProperties::focusRect>(New_FocusRect); }
void Button::setValue(bool New_Value) { store<&ButtonProperties::value>(New_Value); }
void Button::setHandPointer(bool New_HandPointer) { store<&ButtonProperties::handPointer>(New_HandPointer); }
void Button::setPicture(const QPixmap& New_Picture) { store<&ButtonProperties::picture>(New_Picture); }
void Button::setPictureGray(bool New_PictureGray) { store<&ButtonProperties::pictureGray>(New_PictureGray); }

void Button::setMousePointer(qint32 New_MousePointer)
{
    if (!fitsPointer(New_MousePointer))
        throw std::out_of_range("MousePointer must fit in 16 bits");
    storeMousePointer(qint16(New_MousePointer));
}

// Qt's property system may run in the event loop, where nothing may throw.
void Button::writeMousePointer(qint32 New_MousePointer)
{
    if (!fitsPointer(New_MousePointer)) {
        qCWarning(lcButton) << "MousePointer" << New_MousePointer << "refused: it must fit in 16 bits";
        return;
    }
    storeMousePointer(qint16(New_MousePointer));
}

void Button::storeMousePointer(qint16 pointer)
{
    mousePointer_ = pointer;
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

#include "Gallery.h"

#include "Button.h"

#include <QFileInfo>
#include <QMetaProperty>
#include <QPainter>

#include <array>
#include <exception>
#include <variant>
#include <limits>

namespace gallery {

namespace {

struct StateName {
    State state;
    const char* name;
};
constexpr std::array<StateName, 6> kStates = {{
    {State::Normal, "normal"},
    {State::Hover, "hover"},
    {State::Pressed, "pressed"},
    {State::Focus, "focus"},
    {State::Disabled, "disabled"},
    {State::Toggled, "toggled"},
}};

// Decimal, or hexadecimal after 0x; a leading zero does not mean octal here.
std::optional<qint64> parseNumber(const QString& text)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-'))) {
        negative = true;
        t.remove(0, 1);
    }
    bool ok = false;
    qint64 value = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&ok, 16);
    else if (!t.isEmpty() && t.at(0).isDigit())
        value = t.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<bool> parseFlag(const QString& text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("-1") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// "Family,points[,bold]".
std::optional<QFont> parseFont(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    QFont font(parts.at(0).trimmed());
    if (parts.size() > 1) {
        bool ok = false;
        const double points = parts.at(1).toDouble(&ok);
        if (!ok || points <= 0 || points > 500)
            return std::nullopt;
        font.setPointSizeF(points);
    }
    if (parts.size() > 2) {
        if (parts.at(2).trimmed().compare(QLatin1String("bold"), Qt::CaseInsensitive) != 0)
            return std::nullopt;
        font.setBold(true);
    }
    if (parts.size() > 3)
        return std::nullopt;
    return font;
}

// The property value for text, or an error message.
std::variant<QVariant, QString> convert(const QMetaProperty& property, const QString& text)
{
    const QString bad = QStringLiteral("%1: cannot use \"%2\"").arg(QLatin1String(property.name()), text);
    if (text.isEmpty())
        return QVariant(property.metaType());
    if (property.isEnumType()) {
        const QMetaEnum e = property.enumerator();
        bool found = false;
        const int byKey = e.keyToValue(text.toLatin1().constData(), &found);
        if (found)
            return QVariant(byKey);
        const auto n = parseNumber(text);
        if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<qint32>::max())
            return bad;
        return QVariant(int(*n));
    }
    switch (property.metaType().id()) {
    case QMetaType::Int: {
        const auto n = parseNumber(text);
        if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<quint32>::max())
            return bad;
        return QVariant(qint32(quint32(*n)));
    }
    case QMetaType::UInt: {
        const auto n = parseNumber(text);
        if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<quint32>::max())
            return bad;
        return QVariant(quint32(*n));
    }
    case QMetaType::Bool:
        if (const auto flag = parseFlag(text))
            return QVariant(*flag);
        return bad;
    case QMetaType::QString:
        return QVariant(text);
    case QMetaType::QFont:
        if (const auto font = parseFont(text))
            return QVariant(*font);
        return bad;
    case QMetaType::QPixmap: {
        const QImage image(text);
        if (image.isNull())
            return QStringLiteral("%1: cannot read the picture \"%2\"").arg(QLatin1String(property.name()), text);
        return QVariant(QPixmap::fromImage(image));
    }
    default:
        return QStringLiteral("%1: this kind of property cannot be set here").arg(QLatin1String(property.name()));
    }
}

} // namespace

std::optional<State> parseState(const QString& name)
{
    for (const StateName& s : kStates)
        if (name == QLatin1String(s.name))
            return s.state;
    return std::nullopt;
}

QString stateName(State state)
{
    for (const StateName& s : kStates)
        if (s.state == state)
            return QLatin1String(s.name);
    return {};
}

QString setProperty(Button& button, const QString& name, const QString& text)
{
    const QMetaObject* meta = button.metaObject();
    const int index = meta->indexOfProperty(name.toLatin1().constData());
    // Only the Button's own properties, not those QWidget brings along.
    if (index < Button::staticMetaObject.propertyOffset())
        return QStringLiteral("no property named \"%1\"").arg(name);
    const QMetaProperty property = meta->property(index);
    const auto value = convert(property, text);
    if (const QString* error = std::get_if<QString>(&value))
        return *error;
    try {
        if (!property.write(&button, std::get<QVariant>(value)))
            return QStringLiteral("%1: the value \"%2\" was refused").arg(name, text);
    } catch (const std::exception& e) {
        return QStringLiteral("%1: %2").arg(name, QString::fromLocal8Bit(e.what()));
    }
    return {};
}

void applyState(Button& button, State state)
{
    switch (state) {
    case State::Normal: button.setStateFlags(false, false, false); break;
    case State::Hover: button.setStateFlags(false, true, false); break;
    case State::Pressed: button.setStateFlags(true, true, false); break;
    case State::Focus: button.setStateFlags(false, false, true); break;
    case State::Disabled:
        button.setEnabled(false);
        button.setStateFlags(false, false, false);
        break;
    case State::Toggled:
        button.setButtonType(Button::Toggle);
        button.setValue(true);
        button.setStateFlags(false, false, false);
        break;
    }
}

QImage render(const Request& request, QString* error)
{
    Button button;
    button.setUserMode(false);
    button.initNew();
    button.setButtonShape(Button::Shape(request.shape));
    button.setButtonStyle(request.style);
    for (const auto& [name, text] : request.settings) {
        if (const QString message = setProperty(button, name, text); !message.isEmpty()) {
            if (error)
                *error = message;
            return {};
        }
    }
    button.resize(request.size);
    applyState(button, request.state);
    return button.face().convertToFormat(QImage::Format_ARGB32);
}

QImage contactSheet()
{
    constexpr int kShapes = 12, kStyles = 9, kLabelWidth = 56, kHeader = 22, kPad = 8;
    constexpr QSize kWide(73, 25), kSquare(40, 40);
    constexpr int kCellWidth = 84, kRowHeight = 48, kBlockColumns = 3;
    const int blockWidth = kLabelWidth + int(kStates.size()) * kCellWidth + kPad;
    const int blockHeight = kHeader + kStyles * kRowHeight + kPad;
    const int blockRows = (kShapes + kBlockColumns - 1) / kBlockColumns;
    QImage sheet(kBlockColumns * blockWidth + kPad, blockRows * blockHeight + kPad, QImage::Format_ARGB32);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&sheet);
    QFont label(QStringLiteral("Tahoma"));
    label.setPixelSize(11);
    p.setFont(label);
    p.setPen(Qt::black);
    const QMetaEnum shapes = QMetaEnum::fromType<Button::Shape>();
    for (int shape = 0; shape < kShapes; ++shape) {
        const QPoint origin(kPad + shape % kBlockColumns * blockWidth, kPad + shape / kBlockColumns * blockHeight);
        const QString title = QStringLiteral("%1 %2").arg(shape).arg(QLatin1String(shapes.valueToKey(shape)));
        p.drawText(origin + QPoint(0, 14), title);
        for (std::size_t i = 0; i < kStates.size(); ++i)
            p.drawText(origin + QPoint(kLabelWidth + int(i) * kCellWidth, kHeader + 4), QLatin1String(kStates[i].name));
        for (int style = 0; style < kStyles; ++style) {
            const int top = origin.y() + kHeader + 8 + style * kRowHeight;
            p.drawText(QPoint(origin.x(), top + 16), QStringLiteral("style %1").arg(style));
            for (std::size_t i = 0; i < kStates.size(); ++i) {
                Request request;
                request.shape = shape;
                request.style = style;
                request.size = shape < 2 ? kWide : kSquare;
                request.state = kStates[i].state;
                const QString caption = shape < 2 ? QStringLiteral("Button") : QStringLiteral("OK");
                request.settings = {{QStringLiteral("Caption"), caption}};
                p.drawImage(QPoint(origin.x() + kLabelWidth + int(i) * kCellWidth, top), render(request, nullptr));
            }
        }
    }
    return sheet;
}

} // namespace gallery

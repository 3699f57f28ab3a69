#include "Gallery.h"

#include "Button.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMetaProperty>
#include <QPainter>
#include <QTextStream>

#include <array>
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

// Collects the button's warnings (category "tarnwick.button") while it lives; others go on.
class RefusalLog {
public:
    QStringList texts;

    RefusalLog()
    {
        current = this;
        previous = qInstallMessageHandler(&handle);
    }
    ~RefusalLog()
    {
        qInstallMessageHandler(previous);
        current = nullptr;
    }
    RefusalLog(const RefusalLog&) = delete;
    RefusalLog& operator=(const RefusalLog&) = delete;

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (current && type == QtWarningMsg && qstrcmp(context.category, "tarnwick.button") == 0)
            current->texts << text;
        else if (previous)
            previous(type, context, text);
    }
    static inline RefusalLog* current = nullptr;
    static inline QtMessageHandler previous = nullptr;
};

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
    // A value the button refuses is not stored, and the button says why in a warning.
    const RefusalLog refusals;
    if (!property.write(&button, std::get<QVariant>(value)))
        return QStringLiteral("%1: the value \"%2\" was refused").arg(name, text);
    if (!refusals.texts.isEmpty())
        return refusals.texts.join(QLatin1String("; "));
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

namespace {

using Settings = std::vector<std::pair<QString, QString>>;

// The batch's own picture: four coloured quarters and a half-transparent column, so that placement,
// the pressed offset, blending and both grey passes all show.
QImage batchPicture()
{
    QImage image(12, 10, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb quarter = x < 6 ? (y < 5 ? qRgb(200, 40, 30) : qRgb(30, 160, 60))
                                       : (y < 5 ? qRgb(20, 60, 220) : qRgb(250, 220, 40));
            image.setPixel(x, y, x == 11 ? qRgba(0, 0, 0, 128) : quarter);
        }
    return image;
}

struct Named {
    QString name;
    Request request;
};

QString sizeName(QSize size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// Every shape × style × state at the three sizes, then the variants.
std::vector<Named> batchRequests(const QString& picture)
{
    std::vector<Named> all;
    for (const QSize size : {QSize(73, 25), QSize(30, 30), QSize(31, 31)})
        for (int shape = 0; shape < 12; ++shape)
            for (int style = 0; style <= 8; ++style)
                for (const StateName& s : kStates) {
                    Request r;
                    r.shape = shape;
                    r.style = style;
                    r.size = size;
                    r.state = s.state;
                    r.settings = {{QStringLiteral("Caption"), shape < 2 ? QStringLiteral("Button") : QStringLiteral("OK")}};
                    all.push_back({QStringLiteral("shape%1-style%2-%3-%4")
                                       .arg(shape, 2, 10, QLatin1Char('0')).arg(style).arg(QLatin1String(s.name), sizeName(size)),
                                   r});
                }

    int n = 0;
    const auto variant = [&](int shape, int style, State state, const Settings& settings) {
        Request r;
        r.shape = shape;
        r.style = style;
        r.size = shape < 2 ? QSize(73, 25) : QSize(32, 32);
        r.state = state;
        r.settings = {{QStringLiteral("Caption"), QStringLiteral("Go")}};
        r.settings.insert(r.settings.end(), settings.begin(), settings.end());
        all.push_back({QStringLiteral("variant%1-shape%2-style%3-%4")
                           .arg(n++, 3, 10, QLatin1Char('0')).arg(shape).arg(style).arg(stateName(state)),
                       r});
    };
    const auto set = [](const char* name, const QString& value) { return std::pair(QLatin1String(name), value); };
    const auto num = [](qint64 v) { return QString::number(v); };
    const State kLooks[] = {State::Normal, State::Hover, State::Pressed};

    // Background patterns under the plain and the gradient styles, down and across.
    for (const int shape : {0, 8})
        for (const int style : {1, 5, 6, 7, 8})
            for (int fill = 0; fill <= 8; ++fill)
                for (const State state : kLooks)
                    variant(shape, style, state,
                            {set("ButtonStyleColors", num(fill)), set("BackColorHover", QStringLiteral("0x30C0F0")),
                             set("BackColorPressed", QStringLiteral("0x8040E0"))});
    // Caption effects, plain and pressed and disabled; colour gradients over the caption.
    for (int effect = 0; effect <= 4; ++effect)
        for (const State state : {State::Normal, State::Pressed, State::Disabled})
            variant(0, 1, state, {set("CaptionEffect", num(effect)), set("EffectColor", QStringLiteral("0x0000FF")),
                                  set("Caption", QStringLiteral("Effect"))});
    for (int style = 1; style <= 2; ++style)
        for (const State state : kLooks)
            variant(0, 0, state, {set("CaptionStyle", num(style)), set("ForeColor", QStringLiteral("0x00FF00")),
                                  set("Font", QStringLiteral("Tahoma,14,bold")), set("Caption", QStringLiteral("Ramp"))});
    for (const int align : {0, 1, 3, 4, 7})
        variant(0, 1, State::Normal, {set("CaptionAlignment", num(align))});
    // The picture in every alignment and look, greyed at rest and when disabled.
    for (int align = 0; align <= 5; ++align)
        for (const State state : {State::Normal, State::Hover, State::Pressed, State::Disabled})
            variant(0, 5, state, {set("Picture", picture), set("PictureAlignment", num(align))});
    variant(0, 1, State::Normal, {set("Picture", picture), set("PictureGray", QStringLiteral("true"))});
    variant(2, 7, State::Normal, {set("Picture", picture), set("CaptionAlignment", QStringLiteral("4"))});
    // Drop-down marks, themes over style 0, focus looks, values outside the lists.
    for (int dd = 1; dd <= 2; ++dd)
        for (const int shape : {0, 3})
            variant(shape, 1, State::Normal, {set("DropDown", num(dd))});
    for (int theme = 1; theme <= 8; ++theme)
        for (const State state : kLooks)
            variant(0, 0, state, {set("ButtonTheme", num(theme))});
    for (const int shape : {0, 1, 3, 9})
        variant(shape, 1, State::Focus, {set("FocusRect", QStringLiteral("false"))});
    variant(0, 4, State::Focus, {set("Caption", QString())});
    variant(0, 4, State::Focus, {set("CaptionAlignment", QStringLiteral("0"))});
    variant(12, 1, State::Normal, {});
    variant(0, 9, State::Hover, {});
    variant(0, 1, State::Normal, {set("ButtonStyleColors", QStringLiteral("9"))});
    // The main window's Connect button.
    for (const StateName& s : kStates)
        variant(0, 7, s.state,
                {set("BackColor", QStringLiteral("0xD8D8D8")), set("BackColorPressed", QStringLiteral("0xEFCE92")),
                 set("BackColorHover", QStringLiteral("0xF7DBA5")), set("ForeColorPressed", QStringLiteral("0xFFFFFF")),
                 set("ForeColorHover", QStringLiteral("0xFFFFFF")), set("Font", QStringLiteral("Tahoma,8.25")),
                 set("Caption", QStringLiteral("Connect"))});
    return all;
}

std::optional<QByteArray> pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes;
}

// "hash  name" lines as sha256sum writes and reads them, by name.
QMap<QString, QString> readManifest(const QString& path, QString* error)
{
    QMap<QString, QString> sums;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read \"%1\"").arg(path);
        return sums;
    }
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype gap = line.indexOf(QLatin1String("  "));
        if (gap > 0)
            sums.insert(line.mid(gap + 2), line.left(gap));
    }
    return sums;
}

} // namespace

QString renderBatch(const QString& folder)
{
    const QDir dir(folder);
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot create \"%1\"").arg(folder);
    const QString picture = dir.filePath(QStringLiteral("picture.png"));
    if (!batchPicture().save(picture, "PNG"))
        return QStringLiteral("cannot write \"%1\"").arg(picture);

    QString manifest;
    const auto add = [&](const QString& name, const QImage& image) -> QString {
        const auto bytes = pngBytes(image);
        if (!bytes)
            return QStringLiteral("cannot encode %1").arg(name);
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size())
            return QStringLiteral("cannot write \"%1\"").arg(file.fileName());
        manifest += QString::fromLatin1(QCryptographicHash::hash(*bytes, QCryptographicHash::Sha256).toHex())
                    + QLatin1String("  ") + name + QLatin1Char('\n');
        return {};
    };
    for (const Named& item : batchRequests(picture)) {
        QString error;
        const QImage image = render(item.request, &error);
        if (image.isNull())
            return item.name + QLatin1String(": ") + error;
        if (QString e = add(item.name + QLatin1String(".png"), image); !e.isEmpty())
            return e;
    }
    if (QString e = add(QStringLiteral("sheet.png"), contactSheet()); !e.isEmpty())
        return e;

    QFile out(dir.filePath(QLatin1String(kManifestName)));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text) || out.write(manifest.toLatin1()) < 0)
        return QStringLiteral("cannot write \"%1\"").arg(out.fileName());
    return {};
}

QStringList compareManifests(const QString& expectedFile, const QString& actualFile)
{
    QString error;
    const auto expected = readManifest(expectedFile, &error);
    const auto actual = readManifest(actualFile, &error);
    if (!error.isEmpty())
        return {error};
    QStringList differences;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (!actual.contains(it.key()))
            differences << QStringLiteral("missing: %1").arg(it.key());
        else if (actual.value(it.key()) != it.value())
            differences << QStringLiteral("changed: %1").arg(it.key());
    }
    for (auto it = actual.cbegin(); it != actual.cend(); ++it)
        if (!expected.contains(it.key()))
            differences << QStringLiteral("not in the manifest: %1").arg(it.key());
    return differences;
}

} // namespace gallery

#include "frmMainDesign.h"

#include "PropertyBag.h"
#include "Units.h"

#include <QFont>

namespace frmMainDesign {

namespace {

QFont tahoma(double points, QFont::Weight weight)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

// Settings shared by all four buttons: style 7 with its own back colours, a grey border, a dark blue
// border while pressed, a blue one while hovered, and white text in both of those states.
PropertyBag sharedSettings(int extentX, const QString& caption)
{
    return PropertyBag{
        {QStringLiteral("_extentx"), extentX},
        {QStringLiteral("_extenty"), 661},
        {QStringLiteral("buttonstyle"), qint32(7)},
        {QStringLiteral("backcolor"), quint32(0xD8D8D8)},
        {QStringLiteral("backcolorpressed"), quint32(0xEFCE92)},
        {QStringLiteral("backcolorhover"), quint32(0xF7DBA5)},
        {QStringLiteral("bordercolor"), quint32(0x8F8F8E)},
        {QStringLiteral("bordercolorpressed"), quint32(0x5C411D)},
        {QStringLiteral("bordercolorhover"), quint32(0xB17F3C)},
        {QStringLiteral("forecolorpressed"), quint32(0xFFFFFF)},
        {QStringLiteral("forecolorhover"), quint32(0xFFFFFF)},
        {QStringLiteral("caption"), caption},
        {QStringLiteral("font"), tahoma(8.25, QFont::Normal)},
    };
}

} // namespace

QRect toPixels(const Place& place, double dpiX, double dpiY)
{
    return {units::twipsToPixels(place.left, dpiX), units::twipsToPixels(place.top, dpiY),
            units::twipsToPixels(place.width, dpiX), units::twipsToPixels(place.height, dpiY)};
}

QFont windowFont()
{
    return tahoma(8.25, QFont::Normal);
}

QFont labelFont()
{
    // Bold Tahoma's outlines are barely heavier than the regular ones: its bold look at this size lives
    // in the hand-made bitmaps inside the font file. Text drawn without anti-aliasing and fully hinted
    // takes those bitmaps, and their widths.
    QFont font = tahoma(8.25, QFont::Bold);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont statusFont()
{
    return tahoma(9.75, QFont::Normal);
}

QFont logFont()
{
    // "Small Fonts" is a Windows bitmap face with no free equivalent; Tahoma at the same size stays legible.
    QFont font = tahoma(6.75, QFont::Normal);
    font.setFamilies({QStringLiteral("Small Fonts"), QStringLiteral("Tahoma")});
    return font;
}

QStringList buttonNames()
{
    return {QStringLiteral("Connect"), QStringLiteral("Disconnect"), QStringLiteral("Join"), QStringLiteral("Leave")};
}

PropertyBag buttonSettings(const QString& name)
{
    if (name == QLatin1String("Connect"))
        return sharedSettings(1931, QStringLiteral("Connect"));
    if (name == QLatin1String("Disconnect"))
        return sharedSettings(1931, QStringLiteral("Disconnect"));
    if (name == QLatin1String("Join"))
        return sharedSettings(2566, QStringLiteral("Join Room"));
    if (name == QLatin1String("Leave"))
        return sharedSettings(2566, QStringLiteral("Leave Selected"));
    return {};
}

} // namespace frmMainDesign

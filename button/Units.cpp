#include "Units.h"

#include "PropertyBag.h"

#include <cmath>

namespace units {

namespace {

int roundEven(double value)
{
    return int(std::nearbyint(value));
}

// A stored extent, or -1 when it is missing, not a number or negative.
int storedExtent(const PropertyBag& bag, const char* key)
{
    bool ok = false;
    const double value = bag.read(QString::fromLatin1(key)).toDouble(&ok);
    return ok && value >= 0 && value <= 1e7 ? int(value) : -1;
}

} // namespace

int twipsToPixels(double twips, double dpi)
{
    return roundEven(twips * dpi / kTwipsPerInch);
}

int pixelsToTwips(int pixels, double dpi)
{
    return dpi > 0 ? roundEven(pixels * kTwipsPerInch / dpi) : 0;
}

int himetricToPixels(double himetric, double dpi)
{
    return roundEven(himetric * dpi / kHimetricPerInch);
}

int pixelsToHimetric(int pixels, double dpi)
{
    return dpi > 0 ? roundEven(pixels * kHimetricPerInch / dpi) : 0;
}

QSize readExtent(const PropertyBag& bag, QSize fallback, double dpiX, double dpiY)
{
    const int cx = storedExtent(bag, "_extentx");
    const int cy = storedExtent(bag, "_extenty");
    return {cx < 0 ? fallback.width() : himetricToPixels(cx, dpiX),
            cy < 0 ? fallback.height() : himetricToPixels(cy, dpiY)};
}

void writeExtent(PropertyBag& bag, QSize size, double dpiX, double dpiY)
{
    bag.write(QStringLiteral("_extentx"), pixelsToHimetric(size.width(), dpiX));
    bag.write(QStringLiteral("_extenty"), pixelsToHimetric(size.height(), dpiY));
}

} // namespace units

#pragma once
// Length units of window designs. Positions are in twips (1/1440 inch, 15 per pixel at 96 dpi);
// a control's stored size ("_extentx", "_extenty") is in hundredths of a millimetre. Conversions
// to pixels use the widget's logical dpi and round to the nearest pixel, ties to even.
#include <QSize>

class PropertyBag;

namespace units {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr double kHimetricPerInch = 2540.0;

/// Twips to pixels at dpi.
int twipsToPixels(double twips, double dpi);
/// Pixels to twips at dpi, rounded to a whole twip.
int pixelsToTwips(int pixels, double dpi);
/// Hundredths of a millimetre to pixels at dpi.
int himetricToPixels(double himetric, double dpi);
/// Pixels to hundredths of a millimetre at dpi, rounded to a whole unit.
int pixelsToHimetric(int pixels, double dpi);

/// The size a container stored under "_extentx"/"_extenty", in pixels; fallback for a missing
/// or unusable (non-numeric, negative) value.
QSize readExtent(const PropertyBag& bag, QSize fallback, double dpiX, double dpiY);
/// Stores size (pixels) under "_extentx"/"_extenty" in hundredths of a millimetre.
void writeExtent(PropertyBag& bag, QSize size, double dpiX, double dpiY);

} // namespace units

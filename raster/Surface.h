#pragma once
// A pixel surface with the drawing rules of the classic Windows GDI calls the button was designed
// with: lines that leave their end pixel out, hollow outlines, truncating gradients, and text
// without a background box.
#include "Raster.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QFontMetrics;
class QPainter;

namespace raster {

/// One vertex of a two-vertex gradient: a position and 16-bit colour channels (8-bit value × 256).
struct GradientVertex {
    int x = 0;
    int y = 0;
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
};

/// A gradient vertex at (x, y) carrying the 8-bit channels of color, each stored as c × 256.
GradientVertex gradientVertex(int x, int y, ColorRef color);

enum class GradientMode { Horizontal, Vertical };

/// W × H pixels stored 0x00RRGGBB (top byte 0), so the buffer shows as QImage::Format_RGB32 as it is.
/// Everything drawn is clipped to the surface; clipping removes pixels, it never moves them.
class Surface {
public:
    Surface();
    Surface(int width, int height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    /// Makes the surface width × height black pixels; a negative or oversized request gives 0 × 0
    /// and false.
    bool resize(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    /// Sets every pixel to color.
    void fill(ColorRef color);

    /// Sets the colour of lines, outlines and text.
    void setPenColor(ColorRef color);
    /// The pen colour.
    ColorRef penColor() const;

    /// Makes (x, y) the current position; draws nothing.
    void moveTo(int x, int y);
    /// Draws from the current position towards (x, y), leaving (x, y) out, and moves there.
    void lineTo(int x, int y);
    /// The current position.
    QPoint position() const { return m_position; }

    /// A closed hollow outline through the points (fewer than two: nothing); all vertices are painted.
    void polygon(std::span<const QPoint> points);
    /// A hollow rectangle with elliptic corners of cornerWidth × cornerHeight inside [left, right) ×
    /// [top, bottom); corners as large as the box give its ellipse, corners of 2 or less a plain rectangle.
    void roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    /// The hollow ellipse inscribed in the box (the round rect whose corners are the whole box).
    void ellipse(int left, int top, int right, int bottom);
    /// Part of the ellipse inscribed in the box, counter-clockwise from the ray towards (startX, startY)
    /// to the ray towards (endX, endY); the last pixel is left out; the current position is untouched.
    void arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY);

    /// Fills the rectangle spanned by the two vertices with a linear ramp from a to b along x or y.
    void gradientFill(const GradientVertex& a, const GradientVertex& b, GradientMode mode);

    /// Writes one pixel; outside the surface nothing happens.
    void setPixel(int x, int y, ColorRef color)
    {
        if (unsigned(x) < unsigned(m_width) && unsigned(y) < unsigned(m_height))
            m_pixels[std::size_t(y) * m_width + x] = toPixel(color);
    }
    /// The pixel at (x, y) as 0x00BBGGRR, or kInvalidColor outside the surface.
    ColorRef getPixel(int x, int y) const
    {
        if (unsigned(x) < unsigned(m_width) && unsigned(y) < unsigned(m_height))
            return toPixel(m_pixels[std::size_t(y) * m_width + x]); // the swap is its own inverse
        return kInvalidColor;
    }

    /// The font of textOut and textExtent.
    void setFont(const QFont& font);
    const QFont& font() const { return m_font; }
    /// Draws text in the pen colour with the top-left of its first cell at (x, y); no background.
    void textOut(int x, int y, const QString& text);
    /// Width (sum of advances) and height (the font's ascent + descent) of text in the current font.
    QSize textExtent(const QString& text) const;

    /// Draws image in its natural size with its top-left corner at (x, y), blending its alpha.
    void drawImage(int x, int y, const QImage& image);

    /// A read-only Format_RGB32 view sharing the pixel buffer (valid until the next resize).
    QImage image() const;
    /// The pixels, row by row, 0x00RRGGBB.
    const std::uint32_t* bits() const { return m_pixels.data(); }

private:
    // A ColorRef and a stored pixel differ only in the order of red and blue.
    static std::uint32_t toPixel(std::uint32_t c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }
    void drawLine(int x0, int y0, int x1, int y1);
    void drawPolyline(std::span<const QPoint> points, bool closed);
    QPainter* painter();
    const QFontMetrics& metrics() const;
    void clearTopByte(int top, int bottom);
    void forgetText();

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
    std::uint32_t m_pen = 0; // stored pixel form
    QPoint m_position;
    std::vector<QPoint> m_quarter; // scratch for curves, reused between calls
    std::vector<QPoint> m_outline;
    QFont m_font;
    mutable std::unique_ptr<QFontMetrics> m_metrics;
    QImage m_canvas; // writable wrapper of m_pixels for the painter
    std::unique_ptr<QPainter> m_painter;
    // Shaping is most of the cost of text, and a face measures and draws the same caption over and
    // over (up to ten times for an outlined caption): the last text's glyphs and width are kept.
    QString m_shapedText;
    QList<QGlyphRun> m_shapedRuns;
    qreal m_shapedShift = 0; // moves the layout's baseline onto the whole-pixel ascent
    mutable QString m_measuredText;
    mutable int m_measuredWidth = 0;
};

} // namespace raster

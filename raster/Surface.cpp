#include "Surface.h"

#include "EllipseQuarter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace raster {

namespace {

using i64 = std::int64_t;

// Bigger surfaces are refused rather than allocated: no button comes anywhere near this.
constexpr i64 kMaxPixels = i64(1) << 26;

bool inCoordinateRange(i64 v)
{
    return v >= -kMaxCoordinate && v <= kMaxCoordinate;
}

i64 floorDiv(i64 a, i64 b)
{
    const i64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// floor((c0·(len − pos) + c1·pos) / len), stepped one pos at a time with a remainder instead of a
// division per pixel; gives exactly the truncated values the gradient rule asks for.
struct Ramp {
    Ramp(i64 c0, i64 c1, i64 len, i64 pos)
        : len(len)
    {
        const i64 num = c0 * (len - pos) + c1 * pos;
        q = num / len;
        r = num % len;
        dq = floorDiv(c1 - c0, len);
        dr = (c1 - c0) - dq * len;
    }
    std::uint32_t value() const { return std::uint32_t(q) >> 8; }
    void step()
    {
        q += dq;
        r += dr;
        if (r >= len) {
            r -= len;
            ++q;
        }
    }
    i64 len, q, r, dq, dr;
};

} // namespace

GradientVertex gradientVertex(int x, int y, ColorRef color)
{
    return {x, y, std::uint16_t((color & 0xFF) << 8), std::uint16_t(color & 0xFF00),
            std::uint16_t((color >> 16 & 0xFF) << 8)};
}

Surface::Surface() = default;

Surface::Surface(int width, int height)
{
    resize(width, height);
}

Surface::~Surface()
{
    m_painter.reset(); // ends painting before the buffer goes
}

bool Surface::resize(int width, int height)
{
    if (width == m_width && height == m_height) {
        fill(0);
        return true;
    }
    m_painter.reset();
    m_canvas = QImage();
    forgetText();
    if (width < 0 || height < 0 || i64(width) * height > kMaxPixels) {
        m_width = m_height = 0;
        m_pixels.clear();
        return false;
    }
    m_width = width;
    m_height = height;
    m_pixels.assign(std::size_t(width) * height, 0);
    if (!m_pixels.empty())
        m_canvas = QImage(reinterpret_cast<uchar*>(m_pixels.data()), width, height, width * 4, QImage::Format_RGB32);
    return true;
}

void Surface::fill(ColorRef color)
{
    std::fill(m_pixels.begin(), m_pixels.end(), toPixel(color));
}

void Surface::setPenColor(ColorRef color)
{
    m_pen = toPixel(color);
}

ColorRef Surface::penColor() const
{
    return toPixel(m_pen);
}

void Surface::moveTo(int x, int y)
{
    m_position = QPoint(x, y);
}

void Surface::lineTo(int x, int y)
{
    drawLine(m_position.x(), m_position.y(), x, y);
    m_position = QPoint(x, y);
}

// LineTo: one pixel per step of the major axis, from the start up to but not including the end.
// The minor coordinate is the one nearest the true line; an exact half goes up on x-major lines and
// left on y-major ones (45° lines count as y-major), in every direction, so a line and its reverse
// share all pixels but their ends. In closed form, with k steps taken and n = |major delta|:
//   minor offset = floor((2·k·|minor delta| + c) / 2n), c = n − 1 stepping down/right, n stepping up/left.
// The surface only removes pixels; the ones left are where the unclipped line puts them.
void Surface::drawLine(int x0, int y0, int x1, int y1)
{
    if (!inCoordinateRange(x0) || !inCoordinateRange(y0) || !inCoordinateRange(x1) || !inCoordinateRange(y1))
        return;
    const i64 dx = i64(x1) - x0;
    const i64 dy = i64(y1) - y0;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::abs(dx) > std::abs(dy);
    const i64 major = xMajor ? dx : dy;
    const i64 minor = xMajor ? dy : dx;
    const i64 n = std::abs(major);
    const int majorStep = major > 0 ? 1 : -1;
    const int minorStep = minor < 0 ? -1 : 1;
    const int majorStart = xMajor ? x0 : y0;
    const int minorStart = xMajor ? y0 : x0;
    const int majorLimit = xMajor ? m_width : m_height;
    const int minorLimit = xMajor ? m_height : m_width;

    // Only the steps whose major coordinate lands on the surface are walked.
    i64 kLo, kHi;
    if (majorStep > 0) {
        kLo = std::max<i64>(0, -i64(majorStart));
        kHi = std::min<i64>(n, i64(majorLimit) - majorStart);
    } else {
        kLo = std::max<i64>(0, i64(majorStart) - majorLimit + 1);
        kHi = std::min<i64>(n, i64(majorStart) + 1);
    }
    if (kLo >= kHi)
        return;

    const std::ptrdiff_t majorStride = xMajor ? 1 : m_width;
    const std::ptrdiff_t minorStride = xMajor ? m_width : 1;
    int M = majorStart + majorStep * int(kLo);
    if (minor == 0) { // horizontal or vertical: one run
        if (unsigned(minorStart) >= unsigned(minorLimit))
            return;
        std::ptrdiff_t at = minorStart * minorStride + M * majorStride;
        for (i64 k = kLo; k < kHi; ++k, at += majorStep * majorStride)
            m_pixels[std::size_t(at)] = m_pen;
        return;
    }
    const i64 denom = 2 * n;
    const i64 inc = 2 * std::abs(minor);
    const i64 num = kLo * inc + (minor < 0 ? n : n - 1);
    i64 rem = num % denom;
    int m = minorStart + minorStep * int(num / denom);
    for (i64 k = kLo; k < kHi; ++k) {
        if (unsigned(m) < unsigned(minorLimit))
            m_pixels[m * minorStride + M * majorStride] = m_pen;
        M += majorStep;
        rem += inc;
        if (rem >= denom) {
            rem -= denom;
            m += minorStep;
        }
    }
}

void Surface::drawPolyline(std::span<const QPoint> points, bool closed)
{
    if (points.size() < 2)
        return;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        drawLine(points[i].x(), points[i].y(), points[i + 1].x(), points[i + 1].y());
    if (closed)
        drawLine(points.back().x(), points.back().y(), points.front().x(), points.front().y());
}

// Polygon with a hollow brush: the closed chain of LineTo edges, the last one back to the first
// point. Every vertex starts an edge, so all of them are painted; the current position is not used.
void Surface::polygon(std::span<const QPoint> points)
{
    drawPolyline(points, true);
}

// RoundRect / Ellipse: the box is normalised and its right and bottom edges are exclusive, so the
// outline stays inside [left, right−1] × [top, bottom−1]. The corner ellipse is clamped to the box;
// a corner of 2 pixels or less in either direction gives a plain rectangle. Otherwise the quarter walk
// becomes the top-right corner, is mirrored into the other three, and the closed chain of the four
// arcs (the straight edges joining them) is drawn like a Polygon.
void Surface::roundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    const auto [l, t, r, b] = normalisedBox(left, top, right, bottom);
    if (l == r || t == b)
        return;
    const i64 cw = std::min(r - l, std::abs(i64(cornerWidth)));
    const i64 ch = std::min(b - t, std::abs(i64(cornerHeight)));
    if (cw <= 2 || ch <= 2) {
        const QPoint corners[] = {{int(r - 1), int(t)}, {int(l), int(t)}, {int(l), int(b - 1)}, {int(r - 1), int(b - 1)}};
        drawPolyline(corners, true);
        return;
    }
    if (cw > kMaxExtent || ch > kMaxExtent)
        return;
    ellipseQuarter(int(cw), int(ch), m_quarter);
    const std::size_t n = m_quarter.size();
    m_outline.resize(4 * n);
    for (std::size_t i = 0; i < n; ++i) {
        const QPoint topRight(int(r - cw + m_quarter[i].x()), int(t + ch - 1 - m_quarter[i].y()));
        m_outline[i] = topRight;                                               // right side → top
        m_outline[2 * n - 1 - i] = QPoint(int(l + r - 1 - topRight.x()), topRight.y()); // top → left side
    }
    for (std::size_t i = 0; i < 2 * n; ++i) // left side → bottom → right side
        m_outline[4 * n - 1 - i] = QPoint(m_outline[i].x(), int(t + b - 1 - m_outline[i].y()));
    drawPolyline(m_outline, true);
}

void Surface::ellipse(int left, int top, int right, int bottom)
{
    const i64 w = std::abs(i64(right) - left);
    const i64 h = std::abs(i64(bottom) - top);
    // A corner as large as the box is the whole ellipse; anything larger is clamped to it anyway.
    roundRect(left, top, right, bottom, int(std::min<i64>(w, kMaxExtent + 1)), int(std::min<i64>(h, kMaxExtent + 1)));
}

// Arc: the same quarter walk, made relative to the box centre (w/2, h/2 rounded down), gives 4N
// positions around the ellipse. Each ray (start or end point minus centre, y flipped so that
// counter-clockwise on screen counts up) picks the first position at or past its angle; the arc
// covers the positions from the start ray's up to, not including, the end ray's (equal rays: the
// full turn). The positions are drawn as an open polyline, so the last generated pixel stays
// unpainted.
void Surface::arc(int left, int top, int right, int bottom, int startX, int startY, int endX, int endY)
{
    const auto [l, t, r, b] = normalisedBox(left, top, right, bottom);
    const i64 w = r - l;
    const i64 h = b - t;
    if (w == 0 || h == 0 || w > kMaxExtent || h > kMaxExtent)
        return;
    ellipseQuarter(int(w), int(h), m_quarter);
    const i64 n = i64(m_quarter.size());
    const i64 hw = w / 2;
    const i64 hh = h / 2;
    const auto qx = [&](i64 i) { return m_quarter[std::size_t(i)].x() - hw; };
    const auto qy = [&](i64 i) { return m_quarter[std::size_t(i)].y() - hh; };

    const auto first = [&](auto pred) {
        i64 i = 0;
        while (i < n && !pred(qx(i), qy(i)))
            ++i;
        return i;
    };
    const auto index = [&](i64 x, i64 y) -> i64 {
        if (x >= 0 && y >= 0)
            return first([&](i64 px, i64 py) { return px * y <= py * x; });
        if (x < 0 && y >= 0)
            return 2 * n - first([&](i64 px, i64 py) { return px * y < py * -x; });
        if (x >= 0)
            return 4 * n - first([&](i64 px, i64 py) { return px * -y <= py * x; });
        return 2 * n + first([&](i64 px, i64 py) { return px * -y < py * -x; });
    };
    const i64 cx = l + hw;
    const i64 cy = t + hh;
    const i64 from = index(i64(startX) - cx, cy - startY);
    i64 to = index(i64(endX) - cx, cy - endY);
    if (to <= from)
        to += 4 * n;

    m_outline.clear();
    for (i64 i = from; i < to; ++i) {
        const i64 j = i % n;
        const i64 jj = n - 1 - j;
        switch ((i / n) % 4) {
        case 0: // 3 → 12 o'clock
            m_outline.emplace_back(int(l + hw + qx(j)), int(b - 1 - hh - qy(j)));
            break;
        case 1: // 12 → 9
            m_outline.emplace_back(int(r - 1 - hw - qx(jj)), int(b - 1 - hh - qy(jj)));
            break;
        case 2: // 9 → 6
            m_outline.emplace_back(int(r - 1 - hw - qx(j)), int(t + hh + qy(j)));
            break;
        default: // 6 → 3
            m_outline.emplace_back(int(l + hw + qx(jj)), int(t + hh + qy(jj)));
            break;
        }
    }
    drawPolyline(m_outline, false);
}

// GradientFill, rectangle modes, on a 32-bit surface: the vertices are ordered along the ramp's
// axis (swapping their colours with them); the rectangle covers [first, second) along the axis and
// [min, max) across it. A pixel at pos steps from the first vertex out of len gets, per channel,
// floor(floor((C0·(len − pos) + C1·pos) / len) / 256) from the 16-bit channels: truncated, so the
// ramp never reaches the second colour. The ramp is anchored at the unclipped vertices; clipping
// only chooses which pixels are written. The top byte is written 0 like every other call here.
void Surface::gradientFill(const GradientVertex& a, const GradientVertex& b, GradientMode mode)
{
    const bool horizontal = mode == GradientMode::Horizontal;
    const auto along = [&](const GradientVertex& v) { return i64(horizontal ? v.x : v.y); };
    const auto across = [&](const GradientVertex& v) { return i64(horizontal ? v.y : v.x); };
    const GradientVertex& v0 = along(b) < along(a) ? b : a;
    const GradientVertex& v1 = &v0 == &a ? b : a;
    const i64 len = along(v1) - along(v0);
    const i64 alongLimit = horizontal ? m_width : m_height;
    const i64 acrossLimit = horizontal ? m_height : m_width;
    const i64 from = std::max<i64>(along(v0), 0);
    const i64 to = std::min<i64>(along(v1), alongLimit);
    const i64 crossFrom = std::max<i64>(std::min(across(v0), across(v1)), 0);
    const i64 crossTo = std::min<i64>(std::max(across(v0), across(v1)), acrossLimit);
    if (len == 0 || from >= to || crossFrom >= crossTo)
        return;

    const i64 pos = from - along(v0);
    Ramp red(v0.red, v1.red, len, pos), green(v0.green, v1.green, len, pos), blue(v0.blue, v1.blue, len, pos);
    const auto next = [&] {
        const std::uint32_t pixel = red.value() << 16 | green.value() << 8 | blue.value();
        red.step();
        green.step();
        blue.step();
        return pixel;
    };
    if (horizontal) { // one colour per column: fill the first row, copy it to the rest
        std::uint32_t* first = m_pixels.data() + crossFrom * m_width;
        for (i64 x = from; x < to; ++x)
            first[x] = next();
        for (i64 y = crossFrom + 1; y < crossTo; ++y)
            std::memcpy(m_pixels.data() + y * m_width + from, first + from, std::size_t(to - from) * 4);
    } else { // one colour per row
        for (i64 y = from; y < to; ++y) {
            std::uint32_t* row = m_pixels.data() + y * m_width;
            std::fill(row + crossFrom, row + crossTo, next());
        }
    }
}

void Surface::setFont(const QFont& font)
{
    m_font = font;
    // Grey-level edges only: coloured subpixel fringes would not be blends of pen and face.
    m_font.setStyleStrategy(QFont::StyleStrategy(m_font.styleStrategy() | QFont::NoSubpixelAntialias));
    forgetText();
    if (m_painter)
        m_painter->setFont(m_font);
}

void Surface::forgetText()
{
    m_metrics.reset();
    m_shapedText.clear();
    m_shapedRuns.clear();
    m_measuredText.clear();
    m_measuredWidth = 0;
}

const QFontMetrics& Surface::metrics() const
{
    if (!m_metrics) {
        if (m_canvas.isNull())
            m_metrics = std::make_unique<QFontMetrics>(m_font);
        else
            m_metrics = std::make_unique<QFontMetrics>(m_font, &m_canvas);
    }
    return *m_metrics;
}

QPainter* Surface::painter()
{
    // One painter stays open on the buffer between calls: opening one per text call would cost more
    // than drawing the text.
    if (!m_painter && !m_canvas.isNull()) {
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(&m_canvas)) {
            m_painter.reset();
            return nullptr;
        }
        m_painter->setFont(m_font);
    }
    return m_painter.get();
}

void Surface::clearTopByte(int top, int bottom)
{
    top = std::max(top, 0);
    bottom = std::min(bottom, m_height);
    if (top >= bottom)
        return;
    const auto end = m_pixels.begin() + std::ptrdiff_t(bottom) * m_width;
    for (auto p = m_pixels.begin() + std::ptrdiff_t(top) * m_width; p != end; ++p)
        *p &= 0x00FFFFFF;
}

// TextOutA, left/top alignment, transparent background: the first cell's top-left is at (x, y), so
// the baseline is at y + ascent; only glyph pixels are painted, edges blended with what is below.
// The current position is neither used nor moved.
void Surface::textOut(int x, int y, const QString& text)
{
    if (text.isEmpty() || !inCoordinateRange(x) || !inCoordinateRange(y))
        return;
    QPainter* p = painter();
    if (!p)
        return;
    if (text != m_shapedText || m_shapedRuns.isEmpty()) {
        QTextLayout layout(text, m_font, &m_canvas);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        m_shapedRuns = layout.glyphRuns();
        m_shapedShift = metrics().ascent() - line.ascent();
        m_shapedText = text;
    }
    p->setPen(QColor::fromRgb(m_pen));
    for (const QGlyphRun& run : m_shapedRuns)
        p->drawGlyphRun(QPointF(x, y + m_shapedShift), run);
    // Qt's RGB32 writes 0xFF above each painted pixel; some glyphs reach a little beyond their cell.
    const int h = metrics().height();
    clearTopByte(y - h, y + 2 * h);
}

// GetTextExtentPoint32A: the width is the sum of the advances, the height the font's full cell
// (ascent + descent), whatever the characters' ink.
QSize Surface::textExtent(const QString& text) const
{
    const QFontMetrics& fm = metrics();
    if (text != m_measuredText) {
        m_measuredWidth = fm.horizontalAdvance(text);
        m_measuredText = text;
    }
    return QSize(m_measuredWidth, fm.height());
}

void Surface::drawImage(int x, int y, const QImage& image)
{
    if (image.isNull() || !inCoordinateRange(x) || !inCoordinateRange(y))
        return;
    QPainter* p = painter();
    if (!p)
        return;
    p->drawImage(QPoint(x, y), image);
    clearTopByte(y, y + image.height());
}

QImage Surface::image() const
{
    if (m_pixels.empty())
        return QImage();
    return QImage(reinterpret_cast<const uchar*>(m_pixels.data()), m_width, m_height, m_width * 4, QImage::Format_RGB32);
}

} // namespace raster

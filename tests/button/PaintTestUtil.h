#pragma once
// Helpers for the painting tests: design-mode buttons in a chosen state, and face pixels as
// 0x00BBGGRR colours (the form the button's colour properties use).
#include "Button.h"
#include "Colours.h"
#include "Fonts.h"
#include "Raster.h"

#include <QPoint>

#include <memory>
#include <vector>

using raster::ColorRef;

inline constexpr ColorRef kWhite = 0xFFFFFF;
inline constexpr ColorRef kBlack = 0x000000;
inline constexpr ColorRef kFocusGrey = 0xD1D1D1;

/// The fixed colour a system-colour reference stands for.
inline ColorRef sysColour(quint32 reference)
{
    return translateColour(reference).value_or(0xFFFFFFFF);
}

/// A new, design-mode button of the given shape, style and size with an empty caption, not shown.
inline std::unique_ptr<Button> makeButton(int shape, int style, QSize size)
{
    ensureTahoma();
    auto b = std::make_unique<Button>();
    b->setUserMode(false);
    b->initNew();
    b->setCaption(QString());
    b->setButtonShape(Button::Shape(shape));
    b->setButtonStyle(style);
    b->resize(size);
    b->PaintButton();
    return b;
}

/// The face pixel at (x, y) as 0x00BBGGRR; pixels hidden from the screen read as 0.
inline ColorRef facePixel(const Button& b, int x, int y)
{
    const QRgb p = b.face().pixel(x, y);
    return raster::rgb(qRed(p), qGreen(p), qBlue(p));
}

/// Whether the screen shows the face pixel at (x, y).
inline bool shown(const Button& b, int x, int y)
{
    return qAlpha(b.face().pixel(x, y)) == 255;
}

/// The pixels a path of LineTo calls paints (end pixels left out), for axis-parallel segments only.
inline std::vector<QPoint> boxPath(int left, int top, int right, int bottom)
{
    std::vector<QPoint> points;
    for (int y = top; y < bottom; ++y) // down the left side
        points.emplace_back(left, y);
    for (int x = left; x < right; ++x) // along the bottom
        points.emplace_back(x, bottom);
    for (int y = bottom; y > top; --y) // up the right side
        points.emplace_back(right, y);
    for (int x = right; x > left; --x) // back along the top
        points.emplace_back(x, top);
    return points;
}

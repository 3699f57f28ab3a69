#pragma once
// The button's face as a function of its inputs: everything a paint reads goes in as a FaceInput,
// everything it produces comes out as a FaceOutput, and nothing else is touched. The widget's own
// changes (size limits, border write-back, cursor, toggle look) happen before, in Button::PaintButton.
#include "ButtonProperties.h"
#include "ShapeCache.h"
#include "Surface.h"

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QSize>

#include <array>
#include <optional>

using ShapePoints = std::array<QPoint, 7>;

struct FaceInput {
    /// The face in logical pixels, and device pixels per logical pixel.
    QSize size;
    qreal ratio = 1;
    /// The properties after the border write-back.
    ButtonProperties props;
    QFont font;
    /// The state flags after the toggle rule.
    bool pressed = false;
    bool mouseOver = false;
    bool hasFocus = false;
    bool enabled = true;
    // What the last paint left, which this one may keep.
    CaptionRect captionRect;
    PictureRect pictureRect;
    /// The background's BackStyle: transparent after ButtonStyleColors 0, kept by values outside 0..7.
    bool backTransparent = false;
    /// The widget mask in force; clips the face when ButtonShape names no shape.
    QRegion mask;
    ShapePoints shapePoints{};
    ShapePoints focusMarkPoints{};
};

struct FaceOutput {
    /// The face as the screen shows it, device pixels (devicePixelRatio = ratio), premultiplied:
    /// transparent outside the region and, over a transparent background, where it shows BackColor.
    /// Null when the face is too large to draw.
    QImage face;
    CaptionRect captionRect;
    PictureRect pictureRect;
    bool backTransparent = false;
    /// The region for the widget mask (empty: none); nullopt when ButtonShape names no shape and the
    /// mask stays as it was.
    std::optional<QRegion> region;
    ShapePoints shapePoints{};
    ShapePoints focusMarkPoints{};
    /// Every pixel of the face is shown.
    bool opaque = true;
};

/// Draws faces. It keeps only what makes the next face cheaper (the drawing surface with its font and
/// shaped text, the shape's regions and curves by size, the face buffer); the result depends on the
/// input alone.
class FaceRenderer {
public:
    FaceOutput renderFace(const FaceInput& in);

private:
    friend struct FacePass;
    raster::Surface surface_;
    std::optional<QFont> font_;
    std::optional<QSize> extent_; // of extentText_ in font_
    QString extentText_;
    shape::ShapeCache shapes_;
    QImage face_;
};

/// One face from a renderer of its own.
FaceOutput renderFace(const FaceInput& in);

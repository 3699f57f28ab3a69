// The face on a screen of device-pixel ratio 2: this executable runs with QT_SCALE_FACTOR=2.
#include "FaceRenderer.h"
#include "PaintTestUtil.h"

#include "printers.h"

#include <gtest/gtest.h>

#include <QPixmap>

namespace {

TEST(HighDpi, PixelsStayBlocksAndTheCaptionIsDrawnAtDeviceResolution)
{
    auto b = makeButton(Button::Rectangle, 7, QSize(73, 25));
    b->setFont(QFont(QStringLiteral("Tahoma"), 8));
    b->setCaption(QStringLiteral("Connect"));
    b->setStateFlags(false, false, true);
    ASSERT_EQ(b->devicePixelRatioF(), 2.0);
    const QImage face = b->face().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(face.size(), QSize(146, 50));
    EXPECT_EQ(face.devicePixelRatio(), 2.0);

    // The same input at ratio 1 is the face of a standard screen.
    FaceInput in;
    in.size = b->size();
    in.props = b->properties();
    in.font = b->font();
    in.hasFocus = true;
    const QImage one = renderFace(in).face.convertToFormat(QImage::Format_ARGB32);
    const Button::CaptionRect r = b->captionRect();
    const QRect caption(r.x - 1, r.y - 1, r.cx + 3, r.cy + 3);
    int sharp = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 73; ++x) {
            const QRgb block[] = {face.pixel(2 * x, 2 * y), face.pixel(2 * x + 1, 2 * y), face.pixel(2 * x, 2 * y + 1),
                                  face.pixel(2 * x + 1, 2 * y + 1)};
            if (!caption.contains(x, y)) {
                for (const QRgb p : block)
                    ASSERT_EQ(p, one.pixel(x, y)) << x << "," << y;
            } else if (std::count(std::begin(block), std::end(block), block[0]) != 4) {
                ++sharp;
            }
        }
    EXPECT_GT(sharp, 20); // the text has detail finer than a logical pixel

    // What the widget shows is the face, device pixel for device pixel.
    b->show();
    const QImage shown = b->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), face.size());
    EXPECT_EQ(shown.pixel(100, 20), face.pixel(100, 20));
    EXPECT_EQ(shown.pixel(2, 2), face.pixel(2, 2));
}

} // namespace

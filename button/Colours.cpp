#include "Colours.h"

#include <array>

namespace {

using raster::ColorRef;
using raster::rgb;

// Default system colours, indexes 0 (COLOR_SCROLLBAR) to 30 (COLOR_MENUBAR). The classic
// Windows 2000 scheme, except the entries the button uses (1, 5, 8, 15, 16, 20, 21), which carry
// what a fresh Vista-to-11 install shows, so a face looks like today's Windows on every machine.
constexpr std::array<ColorRef, 31> kSystemColours = {
    rgb(212, 208, 200), //  0 scroll bar
    rgb(0, 0, 0),       //  1 desktop (Vista and later)
    rgb(10, 36, 106),   //  2 active caption
    rgb(128, 128, 128), //  3 inactive caption
    rgb(212, 208, 200), //  4 menu
    rgb(255, 255, 255), //  5 window
    rgb(0, 0, 0),       //  6 window frame
    rgb(0, 0, 0),       //  7 menu text
    rgb(0, 0, 0),       //  8 window text
    rgb(255, 255, 255), //  9 caption text
    rgb(212, 208, 200), // 10 active border
    rgb(212, 208, 200), // 11 inactive border
    rgb(128, 128, 128), // 12 application workspace
    rgb(10, 36, 106),   // 13 highlight
    rgb(255, 255, 255), // 14 highlight text
    rgb(240, 240, 240), // 15 button face (Vista and later)
    rgb(160, 160, 160), // 16 button shadow (Vista and later)
    rgb(128, 128, 128), // 17 grey text
    rgb(0, 0, 0),       // 18 button text
    rgb(212, 208, 200), // 19 inactive caption text
    rgb(255, 255, 255), // 20 button highlight
    rgb(105, 105, 105), // 21 3-D dark shadow (Vista and later)
    rgb(212, 208, 200), // 22 3-D light
    rgb(0, 0, 0),       // 23 tooltip text
    rgb(255, 255, 225), // 24 tooltip background
    rgb(181, 181, 181), // 25 alternate button face
    rgb(0, 0, 200),     // 26 hot-tracking
    rgb(166, 202, 240), // 27 active caption gradient
    rgb(192, 192, 192), // 28 inactive caption gradient
    rgb(10, 36, 106),   // 29 menu highlight
    rgb(212, 208, 200), // 30 menu bar
};

} // namespace

std::optional<ColorRef> translateColour(OleColor c)
{
    // The top byte says what the rest means: 0x00 a plain colour, 0x01 a palette index and 0x02 a
    // palette-relative colour (both passed on unchanged), 0x80 a system colour of which only the low
    // byte is the index.
    switch (c >> 24) {
    case 0x00:
    case 0x01:
    case 0x02:
        return c;
    case 0x80:
        if ((c & 0xFF) < kSystemColours.size())
            return kSystemColours[c & 0xFF];
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

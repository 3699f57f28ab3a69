#pragma once
// The main window's design: where each control sits, in twips (1/1440 inch, 15 per pixel at 96 dpi),
// relative to the window's client area or to the frame holding it, and the stored settings of the
// four buttons, kept as the property-bag content the Button reads back.
#include <QRect>
#include <QString>
#include <QStringList>

class PropertyBag;
class QFont;

namespace frmMainDesign {

/// Left, top, width and height of a control, in twips.
struct Place {
    int left, top, width, height;
};

inline constexpr int kClientWidth = 6630;
inline constexpr int kClientHeight = 5355;

inline constexpr Place kFrameLogin{120, 1440, 3375, 2175};
inline constexpr Place kLblSN{120, 360, 3135, 255};
inline constexpr Place kTxtSN{120, 600, 3135, 285};
inline constexpr Place kLblPw{120, 960, 3135, 255};
inline constexpr Place kTxtPW{120, 1200, 3135, 285};
inline constexpr Place kConnect{960, 1680, 1095, 375};
inline constexpr Place kDisconnect{2160, 1680, 1095, 375};
inline constexpr Place kStatus{0, 5055, 6630, 300};
inline constexpr Place kLogo{120, 100, 6375, 1130};
inline constexpr Place kFrameRooms{3600, 1440, 2895, 3495};
inline constexpr Place kLstChats{120, 1440, 2655, 1425};
inline constexpr Place kLblChatRoom{120, 360, 2655, 255};
inline constexpr Place kTxtRoom{120, 600, 2175, 285};
inline constexpr Place kTxtExchange{2280, 600, 495, 285};
inline constexpr Place kJoin{1320, 960, 1455, 375};
inline constexpr Place kLeave{1320, 3000, 1455, 375};
inline constexpr Place kLog{120, 3720, 3375, 1215};
// Below the client area, never seen: the holder of the tray icon's picture.
inline constexpr Place kImgICO{1680, 6600, 480, 480};

// The status bar's one panel.
inline constexpr int kPanelWidth = 6600;
inline constexpr int kPanelMinWidth = 1440;
inline constexpr int kPanelPicturePixels = 14;

// Colours of the design, as 0x00BBGGRR or 0x800000nn for system colour nn.
inline constexpr unsigned kLabelTextColor = 0x404040;
inline constexpr unsigned kLogoBackColor = 0x80000005; // window background
inline constexpr unsigned kLogoForeColor = 0x80000008; // window text

/// A place converted to pixels at the given logical dots per inch.
QRect toPixels(const Place& place, double dpiX, double dpiY);

/// The window's font: Tahoma 8.25 pt, normal weight.
QFont windowFont();
/// The labels of the login frame: Tahoma 8.25 pt bold, drawn from the font's bitmaps.
QFont labelFont();
/// The status bar's font: Tahoma 9.75 pt.
QFont statusFont();
/// The log's font: "Small Fonts" 6.75 pt where it exists, else Tahoma at the same size.
QFont logFont();

/// The names of the four buttons, in tab order.
QStringList buttonNames();
/// The stored settings of the button with the given name (empty for another name).
PropertyBag buttonSettings(const QString& name);

} // namespace frmMainDesign

#pragma once
// The program's artwork, compiled into tarnwick_resources. Linking that library is enough: its
// resources register themselves at start-up, before main().
#include <QIcon>

namespace Artwork {

/// Banner across the top of the main window: 424 x 74, 24 bits per pixel.
inline constexpr char LogoPath[] = ":/tarnwick/logo.bmp";
/// Window and tray icon, all sizes in one file (needs Qt's ico image plugin).
inline constexpr char IconPath[] = ":/tarnwick/tarnwick.ico";
/// The status bar panel's picture, 14 x 14.
inline constexpr char StatusPath[] = ":/tarnwick/status.gif";
/// The client component's badge.
inline constexpr char ClientLogoPath[] = ":/tarnwick/quontocsock.jpg";

/// The window and tray icon at 16, 32, 48 and 128 pixels, built from PNGs so no image plugin is needed.
QIcon appIcon();

} // namespace Artwork

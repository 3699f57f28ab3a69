#pragma once
// "Start at login": a desktop entry in the user's autostart folder
// ($XDG_CONFIG_HOME/autostart/org.tarnwick.Tarnwick.desktop, else ~/.config/autostart), which desktops
// following the XDG autostart rules start at login. Elsewhere (Windows, macOS) it is not supported.
#include <QString>

namespace Autostart {

/// Whether this system starts programs from an autostart folder.
bool isSupported();
/// Where the entry lies.
QString entryPath();
/// Whether the entry is there and not hidden.
bool isEnabled();
/// Writes the entry, which starts program (an absolute path; "tarnwick" from PATH when empty) with
/// "--minimized --connect". Returns why it could not be written, or an empty text.
[[nodiscard]] QString enable(const QString& program);
/// Removes the entry (none there is fine). Returns why it could not be removed, or an empty text.
[[nodiscard]] QString disable();

} // namespace Autostart

#pragma once
// The program's icon in the system tray (the notification area). One icon for the whole run: adding
// it again replaces the earlier one. Clicks on it reach the window through the returned icon's
// activated() signal.
#include <QIcon>
#include <QString>

#include <optional>

class QSystemTrayIcon;
class QWidget;

namespace modSysTray {

/// Registers the tray icon for window with the tip (cut to 63 characters) and the given picture, or
/// the window's own icon when picture is null. Returns the icon, owned by the window.
QSystemTrayIcon* AddTrayIcon(QWidget* window, const QString& tip, const QIcon* picture);
/// Removes the icon registered last, if any.
void RemoveTrayIcon();
/// The icon registered last, or null once removed (or destroyed with its window).
QSystemTrayIcon* TrayIcon();
/// Whether the icon is registered and a tray shows it, so that a hidden window can come back.
bool TrayAvailable();
/// For tests: pretend a tray is (true) or is not (false) present; nullopt asks the system again.
void OverrideTrayAvailable(std::optional<bool> available);

} // namespace modSysTray

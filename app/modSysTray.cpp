#include "modSysTray.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

namespace modSysTray {

namespace {

// Longest tip the classic tray record holds (64 characters with the terminating NUL).
constexpr int kMaxTipLength = 63;

struct TrayIconRecord {
    QPointer<QSystemTrayIcon> icon;
    std::optional<bool> availableOverride;
};

TrayIconRecord& record()
{
    static TrayIconRecord r;
    return r;
}

} // namespace

QSystemTrayIcon* AddTrayIcon(QWidget* window, const QString& tip, const QIcon* picture)
{
    RemoveTrayIcon();
    auto* icon = new QSystemTrayIcon(picture ? *picture : window->windowIcon(), window);
    icon->setToolTip(tip.left(kMaxTipLength));
    // Where no tray runs, show() is harmless; the icon docks by itself if a tray starts later.
    icon->show();
    record().icon = icon;
    return icon;
}

void RemoveTrayIcon()
{
    if (QSystemTrayIcon* icon = record().icon) {
        icon->hide();
        delete icon;
    }
}

QSystemTrayIcon* TrayIcon()
{
    return record().icon;
}

bool TrayAvailable()
{
    if (!record().icon)
        return false;
    if (record().availableOverride)
        return *record().availableOverride;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void OverrideTrayAvailable(std::optional<bool> available)
{
    record().availableOverride = available;
}

} // namespace modSysTray

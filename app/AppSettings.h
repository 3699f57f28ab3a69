#pragma once
// What Tarnwick remembers between runs, in an INI file in the user's configuration folder
// ($XDG_CONFIG_HOME/Tarnwick/Tarnwick.ini on Linux, %APPDATA%\Tarnwick\Tarnwick.ini on Windows).
// Keys: "ScreenName", "Exchange", "StaySignedOn", "RememberPassword", and the array "Rooms" of
// "Name" and "Exchange". Never the password, never the server.
#include "Presence.h"

namespace AppSettings {

/// The most rooms read back: as many as the client's room table holds.
inline constexpr int kMaxRooms = 1000;

/// What the settings file holds; defaults for whatever is missing or cannot be used.
Presence::Remembered load();
void save(const Presence::Remembered& remembered);

} // namespace AppSettings

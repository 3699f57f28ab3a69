#pragma once
// Buttons and the main window are designed in Tahoma. Many systems lack it; a metric-compatible
// free Tahoma (tahoma.ttf, tahomabd.ttf) is loaded into the application's font database then.

/// Makes "Tahoma" available: when the font database has no such family, loads tahoma.ttf and
/// tahomabd.ttf from the folder chosen at build time (TarnwickBuild::kFontDir). Needs a
/// QGuiApplication. Returns whether "Tahoma" is available afterwards.
bool ensureTahoma();

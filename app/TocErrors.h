#pragma once
// The meanings of the server's numbered error messages, as the window logs them.
#include <QString>

#include <cstdint>

namespace TocErrors {

/// The log line for server error code: "Error <code>: <meaning>", or "Unknown error." for a code without one.
QString logLine(std::int16_t code);

} // namespace TocErrors

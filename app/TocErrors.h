#pragma once
// The meanings of the server's numbered error messages, as the log shows them.
#include <QString>

#include <cstdint>

namespace TocErrors {

/// The log line for server error code, naming argument (the user or room the error is about, as
/// its ERROR line gave it; empty when it gave none): "Error <code>: <sentence>", or "Unknown
/// error." for a code without a meaning. Control characters in argument show as blanks, and a long
/// argument is cut.
QString logLine(std::int16_t code, const QString& argument = QString());

/// Text from the network made fit for one line: control characters and line breaks become blanks.
QString oneLine(QString text);

} // namespace TocErrors

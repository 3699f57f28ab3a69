#pragma once
// The record on the command line, without a window or a display: `--report` (how present the
// name was in each room) and `--transcript ROOM[:EXCHANGE]` (what was said there). Both only read
// the database, so they work while another copy is running and writing it.
#include "Transcript.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>

#include <cstdint>
#include <optional>

namespace RecordCommands {

using Transcript::Time;

/// A duration such as "90m", "12h" or "7d": a whole number from 1 of minutes, hours or days, at
/// most ten years. In milliseconds; nothing for anything else.
std::optional<Time> parseDuration(const QString& text);

/// ROOM[:EXCHANGE]: the exchange is the number after the last ":", when there is one.
struct RoomArgument {
    QByteArray name;
    std::optional<std::int16_t> exchange; // none: any exchange
};
/// Nothing for an empty room name or an exchange outside 0..32767.
std::optional<RoomArgument> parseRoom(const QString& text);

struct Options {
    QString databasePath;      // the user's: TranscriptDb::defaultPath()
    std::optional<Time> since; // how far back from now; none: all that is kept
    Time now = 0;              // 0: the clock's
    QByteArray account;        // only this screen name's rooms; empty: every account's
};

/// Per room present in the window, "ROOM:EXCHANGE present P% since TIME; N gaps, longest S s",
/// then each gap as "  gap FROM..TO (S s): WHY" (local times). TIME is where the room's span
/// starts: the later of the window's start and the room's first stay. 0, or 1 with a message on err
/// when there is no transcript to read.
int runReport(const Options& options, QTextStream& out, QTextStream& err);

/// The room's lines from the window's start on, oldest first, one per line:
/// "YYYY-MM-DDTHH:MM:SS NAME: TEXT", "... NAME (whisper): TEXT", "... * NAME entered", "... * NAME left"
/// (local time). Without an exchange, the room's lines in every exchange. 0, or 1 with a message on
/// err when there is no transcript to read or the room is not in it.
int runTranscript(const Options& options, const RoomArgument& room, QTextStream& out, QTextStream& err);

/// One transcript line as runTranscript prints it.
QString transcriptLine(const Transcript::Line& line);

} // namespace RecordCommands

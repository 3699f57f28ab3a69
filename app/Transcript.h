#pragma once
// The record's vocabulary, shared by the store that writes it and everything that reads it: times,
// why a stay ended, the kinds of transcript line, rooms, and how stored bytes are shown.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace Transcript {

/// Milliseconds since 1970-01-01 UTC: every time in the record.
using Time = qint64;
Time now();

/// How many days of the record are kept unless the settings say otherwise.
inline constexpr int kDefaultKeepDays = 90;

/// Why a session or a stay in a room ended. The record keeps these numbers: never renumber.
enum class Reason : int {
    Disconnect = 1,        // the user signed off
    Lost = 2,              // the connection broke
    DeadLink = 3,          // the server stopped answering and the link was given up
    SignedOnElsewhere = 4, // the name signed on in another place and this session was pushed out
    Refused = 5,           // the server refused the sign-on
    Quit = 6,              // the program ended
    Left = 7,              // the user left the room
    Ejected = 8,           // the server put us out of the room
    Unrecorded = 9,        // the program stopped without a word (killed, crashed, power cut)
};
std::optional<Reason> reasonFrom(int stored);
/// A few words for a reason, as reports and windows show it ("connection lost").
QString reasonText(Reason reason);

/// The kinds of transcript line. Kept as these numbers.
enum class LineKind : quint8 { Said = 0, Whispered = 1, Entered = 2, Left = 3 };

struct Line {
    Time at = 0;
    LineKind kind = LineKind::Said;
    QByteArray sender; // as the server wrote it; for Entered and Left, the member
    QByteArray text;   // as received; empty for Entered and Left
    bool operator==(const Line&) const = default;
};

/// A room of one account: the same room to the server is the same name without blanks, in any
/// case, in the same exchange.
struct RoomRef {
    QByteArray account; // the screen name, normalised
    QByteArray name;    // as the server reported it
    std::int16_t exchange = 0;
    QByteArray key() const;
    bool sameRoom(const RoomRef& other) const;
};

/// Blanks removed, lower case: how the server compares screen names and room names.
QByteArray normalised(const QByteArray& name);

/// A name from the network as one line of text (UTF-8; control characters become blanks).
QString shownName(const QByteArray& name);
/// A message from the network as one line of plain text: the markup that clients wrap messages in
/// is dropped, character references are resolved, line breaks and control characters become blanks.
QString shownText(const QByteArray& text);
/// "YYYY-MM-DDTHH:MM:SS" in local time.
QString localIso(Time at);

} // namespace Transcript

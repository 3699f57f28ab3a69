#include "Texts.h"

#include "TocParser.h"

#include <array>
#include <utility>

namespace Texts {

namespace {

constexpr std::pair<Text, const char*> kTexts[] = {
    {Text::ConnectedToServer, "Connected to server."},
    {Text::SigningOnAgain, "Signing on again."},
    {Text::DisconnectedFromServer, "Disconnected from server."},
    {Text::ConnectionLost, "Connection to server lost."},
    {Text::ConnectionFailed, "Connection failed: %1"},
    {Text::ReconnectingIn, "Reconnecting in %1 s."},
    {Text::SignedOnElsewhere, "Signed off three times within a minute of signing on: the screen name is probably "
                              "signed on elsewhere. Not reconnecting; press Connect to sign on here again."},
    {Text::NoAnswer, "No answer from the server for %1 s."},
    {Text::JoinedChatroom, "Joined chatroom %1"},
    {Text::RejoinedChatroom, "Rejoined chatroom %1."},
    {Text::CouldNotRejoin, "Could not rejoin chatroom %1."},
    {Text::LeftChatroom, "Left chatroom %1"},
    {Text::LeftEjected, "Left chatroom, ejected or error."},
    {Text::NotSignedOn, "Not signed on."},
    {Text::InvalidCredentials, "Invalid screen name or password."},
    {Text::InvalidRoomName, "Invalid room name."},
    {Text::InvalidExchange, "Invalid exchange number."},
    {Text::NoKeychain, "No keychain available: the password is kept for this run only."},
    {Text::WaitingForKeychain, "Waiting for the keychain to be unlocked."},
    {Text::KeychainLocked, "The keychain is locked."},
    {Text::NoScreenNameRemembered, "Cannot sign on: no screen name remembered."},
    {Text::NoPasswordRemembered, "Cannot sign on: no password remembered."},
    {Text::SettingsUnreadable, "Could not read all of the settings in %1 (%2); the file is kept as %3."},
    {Text::SettingsNotSaved, "Could not save the settings: %1."},
    {Text::SettingsMalformed, "lines that are not settings"},
    {Text::SettingsComments, "comments"},
    {Text::SettingsBadValue, "the value of %1"},
    {Text::SettingsRoomCount, "the count of rooms"},
    {Text::SettingsBadRooms, "rooms without a usable name or exchange: %1"},
    {Text::SettingsNotKept, "the settings that could not be read are left as they are, since they could not be "
                            "copied to %1 (%2)"},
    {Text::SettingsNoFolder, "the folder %1 cannot be made"},
    {Text::SettingsFolderReadOnly, "the folder %1 is not writable"},
    {Text::SettingsFileReadOnly, "the file %1 is not writable"},
    {Text::SettingsNotWritten, "%1 could not be written"},
    {Text::ServerError, "Error %1: %2"},
    {Text::UnknownError, "Unknown error."},
    {Text::StatusConnected, "Connected"},
    {Text::StatusDisconnected, "Disconnected"},
    {Text::StatusReconnecting, "Reconnecting"},
    {Text::StatusSignedOnElsewhere, "Signed on elsewhere"},
    {Text::NotifySignedOnAgain, "Signed on again."},
    {Text::NotifySignedOnElsewhere, "Signed on elsewhere: not reconnecting."},
    {Text::Title, "Tarnwick"},
    {Text::FrameConnection, "Connection"},
    {Text::LabelScreenName, "ScreenName:"},
    {Text::LabelPassword, "Password:"},
    {Text::FrameChatrooms, "Chatrooms"},
    {Text::LabelRoomName, "RoomName:"},
    {Text::EnterChatroom, "Please enter a chatroom to join."},
    {Text::MenuShow, "Show"},
    {Text::MenuHide, "Hide"},
    {Text::MenuConnect, "Connect"},
    {Text::MenuDisconnect, "Disconnect"},
    {Text::MenuStaySignedOn, "Stay signed on"},
    {Text::MenuRememberPassword, "Remember password"},
    {Text::MenuServer, "Server: %1..."},
    {Text::MenuStartAtLogin, "Start at login"},
    {Text::MenuQuit, "Quit"},
    {Text::ServerTitle, "Server"},
    {Text::ServerHost, "&Host:"},
    {Text::ServerPort, "&Port:"},
    {Text::ServerNoHost, "Type the server's host name or address."},
    {Text::ServerBadHost, "\"%1\" is not a host name or address."},
    {Text::ServerBadPort, "The port is a number from 1 to 65535."},
    {Text::AutostartUnsupported, "Start at login is not supported on this system."},
    {Text::AutostartNoFolder, "Cannot make the folder %1."},
    {Text::AutostartNotWritten, "Cannot write %1: %2"},
    {Text::AutostartNotRemoved, "Cannot remove %1: %2"},
    {Text::AlreadyRunning, "Tarnwick is already running with these settings (process %1)."},
    {Text::PasswordFileMissing, "the password file %1 does not exist or is not a file"},
    {Text::PasswordFileReadable, "others may read the password file %1; make it readable by its owner only "
                                 "(chmod 600)"},
    {Text::PasswordFileWritable, "others may write to the password file %1; make it writable by its owner only "
                                 "(chmod 600)"},
    {Text::PasswordFileNotOwned, "the password file %1 belongs to another user; it must be your own"},
    {Text::PasswordFileUnreadable, "cannot read the password file %1: %2"},
    {Text::PasswordFileTooLarge, "the password file %1 is larger than %2 bytes"},
    {Text::PasswordFileEmpty, "the password file %1 holds no password on its first line"},
    {Text::TranscriptNotKept, "Could not keep the transcript: %1."},
    {Text::NotifyInstantMessage, "Instant message from %1."},
    {Text::MenuRooms, "Rooms"},
    {Text::MenuRoomUnread, "%1 (%2 unread)"},
    {Text::MenuNoRooms, "In no room"},
    {Text::MenuMoreRooms, "%1 more in the room list"},
    {Text::MenuMessages, "Messages"},
    {Text::MenuPresence, "Presence"},
    {Text::UsageSince, "--since wants a number of minutes, hours or days (90m, 12h, 7d), not \"%1\""},
    {Text::UsageTranscript, "--transcript wants ROOM or ROOM:EXCHANGE with an exchange from 0 to 32767, not \"%1\""},
    {Text::UsageRecordTogether, "--report and --transcript go one at a time"},
    {Text::UsageSinceAlone, "--since goes with --report or --transcript"},
    {Text::ReasonDisconnect, "signed off (Disconnect)"},
    {Text::ReasonLost, "connection lost"},
    {Text::ReasonDeadLink, "no answer from the server"},
    {Text::ReasonSignedOnElsewhere, "signed on elsewhere"},
    {Text::ReasonRefused, "sign-on refused"},
    {Text::ReasonQuit, "Tarnwick not running"},
    {Text::ReasonLeft, "left the room"},
    {Text::ReasonEjected, "put out of the room"},
    {Text::ReasonUnrecorded, "Tarnwick stopped without a record"},
    {Text::LineSaid, "%1: %2"},
    {Text::LineWhispered, "%1 (whisper): %2"},
    {Text::LineEntered, "* %1 entered"},
    {Text::LineLeft, "* %1 left"},
    {Text::NoTranscriptYet, "there is no transcript yet (%1)"},
    {Text::TranscriptUnreadable, "cannot read %1: %2"},
    {Text::TranscriptOtherSchema, "%1 was written by another version of Tarnwick (schema %2, this one reads %3); "
                                  "start this Tarnwick once to bring it up to date"},
    {Text::TranscriptNoRoom, "the transcript has no room \"%1\""},
    {Text::RoomMembers, "In the room (%1)"},
    {Text::RoomSayPlaceholder, "Say something in %1"},
    {Text::RoomSend, "Send"},
    {Text::RoomUnreadMarker, "new"},
    {Text::RoomSending, "(sending)"},
    {Text::MessagesTitle, "Messages"},
    {Text::MessagesFrom, "From / message"},
    {Text::MessagesReceived, "Received"},
    {Text::MessagesAutoResponse, "(auto response)"},
    {Text::MessagesSender, "%1 (%2)"},
    {Text::PresenceTitle, "Presence"},
    {Text::PresenceTimelineTip, "The last 7 days, now at the right"},
    {Text::PresenceRoom, "Room"},
    {Text::PresenceDay, "Last 24 h"},
    {Text::PresenceWeek, "Last 7 days"},
    {Text::PresenceGaps, "Gaps"},
    {Text::PresenceLongest, "Longest"},
    {Text::PresenceTimeline, "The 7 days to now"},
    {Text::PresenceNoRooms, "No room in the last 7 days."},
    {Text::PresencePresent, "present"},
    {Text::DurationSeconds, "%1 s"},
    {Text::DurationMinutes, "%1 min"},
    {Text::DurationHours, "%1 h %2 min"},
};

// The table is in the order of the enum, so a text is found by its number.
constexpr bool inOrder()
{
    for (std::size_t i = 0; i < std::size(kTexts); ++i)
        if (std::size_t(kTexts[i].first) != i)
            return false;
    return true;
}
static_assert(inOrder() && std::size(kTexts) == std::size_t(Text::DurationHours) + 1);

struct Meaning {
    TocError code;
    const char* about;   // the protocol's text, %1 standing for the argument
    const char* general; // the same without an argument (null: the text names none)
};

// The protocol's own texts, and for those that name a user or room a phrasing without one, for
// servers that leave the argument out.
constexpr std::array<Meaning, 20> kMeanings{{
    {TocError::UserNotAvailable, "%1 is not currently available.", "The user is not currently available."},
    {TocError::WarningNotAvailable, "Warning of %1 is not currently available.",
     "Warning is not currently available."},
    {TocError::MessageDropped, "A message has been dropped, you are exceeding the server speed limit.", nullptr},
    {TocError::InvalidInput, "Error validating input.", nullptr},
    {TocError::InvalidAccount, "Invalid account.", nullptr},
    {TocError::RequestFailed, "Error encountered while processing request.", nullptr},
    {TocError::ServiceUnavailable, "Service unavailable.", nullptr},
    {TocError::ChatUnavailable, "Chat in %1 is unavailable.", "Chat is unavailable."},
    {TocError::SendingTooFast, "You are sending messages too fast to %1.", "You are sending messages too fast."},
    {TocError::MissedImTooBig, "You missed an IM from %1 because it was too big.",
     "You missed an IM because it was too big."},
    {TocError::MissedImTooFast, "You missed an IM from %1 because it was sent too fast.",
     "You missed an IM because it was sent too fast."},
    {TocError::DirectoryFailure, "Failure.", nullptr},
    {TocError::TooManyMatches, "Too many matches.", nullptr},
    {TocError::NeedMoreQualifiers, "Need more qualifiers.", nullptr},
    {TocError::DirectoryUnavailable, "Directory service temporarily unavailable.", nullptr},
    {TocError::BadLogin, "Incorrect screen name or password.", nullptr},
    {TocError::ServiceTemporarilyUnavailable, "The service is temporarily unavailable.", nullptr},
    {TocError::WarningTooHigh, "Your warning level is currently too high to sign on.", nullptr},
    {TocError::ConnectingTooOften,
     "You have been connecting and disconnecting too frequently; wait 10 minutes and try again.", nullptr},
    {TocError::UnknownSignOnError, "An unknown sign-on error has occurred (%1).",
     "An unknown sign-on error has occurred."},
}};

// The longest argument shown: a name or a short reason, not a page the server chose to send.
constexpr int kMaxArgument = 80;

// The pattern with %1, %2 ... replaced in one pass.
QString fill(const char* utf8, const QStringList& args)
{
    const QString pattern = QString::fromUtf8(utf8);
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('%') && i + 1 < pattern.size() && pattern[i + 1].isDigit()) {
            const qsizetype n = pattern[i + 1].digitValue();
            if (n >= 1 && n <= args.size()) {
                out += args[n - 1];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace

QString get(Text text, const QStringList& args)
{
    if (text == Text::ServerError && !args.isEmpty())
        return serverError(args[0].toShort(), args.value(1));
    return fill(kTexts[std::size_t(text)].second, args);
}

QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return text;
}

QString serverError(std::int16_t code, const QString& argument)
{
    const QString named = oneLine(argument.left(kMaxArgument)).trimmed();
    for (const Meaning& m : kMeanings) {
        if (m.code != TocError(code))
            continue;
        const QString sentence = !m.general        ? QString::fromLatin1(m.about)
                                 : named.isEmpty() ? QString::fromLatin1(m.general)
                                                   : QString::fromLatin1(m.about).arg(named);
        return fill(kTexts[std::size_t(Text::ServerError)].second, {QString::number(code), sentence});
    }
    return get(Text::UnknownError);
}

} // namespace Texts

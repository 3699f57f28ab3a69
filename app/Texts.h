#pragma once
// Every text the program shows or logs, in one table: log lines, status texts, notifications,
// captions, menu items and messages; and the meanings of the server's numbered errors.
#include <QString>
#include <QStringList>

#include <cstdint>

enum class Text {
    // The log.
    ConnectedToServer,
    SigningOnAgain,
    DisconnectedFromServer,
    ConnectionLost,
    ConnectionFailed,   // %1 the reason
    ReconnectingIn,     // %1 seconds
    SignedOnElsewhere,
    NoAnswer,           // %1 seconds
    JoinedChatroom,     // %1 NAME:EXCHANGE
    RejoinedChatroom,   // %1 NAME:EXCHANGE
    CouldNotRejoin,     // %1 NAME:EXCHANGE
    LeftChatroom,       // %1 the room's name
    LeftEjected,
    NotSignedOn,
    InvalidCredentials,
    InvalidRoomName,
    InvalidExchange,
    NoKeychain,
    WaitingForKeychain,
    KeychainLocked,
    NoScreenNameRemembered,
    NoPasswordRemembered,
    SettingsUnreadable, // %1 the file, %2 what could not be read, %3 the copy
    SettingsNotSaved,   // %1 the reason
    SettingsMalformed,
    SettingsComments,
    SettingsBadValue,   // %1 the key
    SettingsRoomCount,
    SettingsBadRooms,   // %1 how many
    SettingsNotKept,    // %1 the copy, %2 why
    SettingsNoFolder,   // %1 the folder
    SettingsFolderReadOnly, // %1 the folder
    SettingsFileReadOnly,   // %1 the file
    SettingsNotWritten,     // %1 the file
    ServerError,        // %1 the code, %2 its meaning (see serverError)
    UnknownError,
    // The status panel.
    StatusConnected,
    StatusDisconnected,
    StatusReconnecting,
    StatusSignedOnElsewhere,
    // Tray notifications, shown while the window is hidden.
    NotifySignedOnAgain,
    NotifySignedOnElsewhere,
    // The window.
    Title,
    FrameConnection,
    LabelScreenName,
    LabelPassword,
    FrameChatrooms,
    LabelRoomName,
    EnterChatroom,
    MenuShow,
    MenuHide,
    MenuConnect,
    MenuDisconnect,
    MenuStaySignedOn,
    MenuRememberPassword,
    MenuServer,           // %1 HOST:PORT
    MenuStartAtLogin,
    MenuQuit,
    ServerTitle,
    ServerHost,
    ServerPort,
    ServerNoHost,
    ServerBadHost,        // %1 what was typed
    ServerBadPort,
    AutostartUnsupported,
    AutostartNoFolder,    // %1 the folder
    AutostartNotWritten,  // %1 the file, %2 why
    AutostartNotRemoved,  // %1 the file, %2 why
    // Standard error.
    AlreadyRunning,       // %1 the process id
    PasswordFileMissing,  // %1 the file
    PasswordFileReadable, // %1 the file
    PasswordFileWritable, // %1 the file
    PasswordFileNotOwned, // %1 the file
    PasswordFileUnreadable, // %1 the file, %2 the reason
    PasswordFileTooLarge, // %1 the file, %2 the size limit
    PasswordFileEmpty,    // %1 the file
    // The record.
    TranscriptNotKept,    // %1 the reason (log)
    NotifyInstantMessage, // %1 the sender
    MenuRooms,
    MenuRoomUnread,       // %1 ROOM:EXCHANGE, %2 unread lines
    MenuNoRooms,
    MenuMoreRooms,        // %1 how many
    MenuMessages,
    MenuPresence,
    UsageSince,           // %1 as given
    UsageTranscript,      // %1 as given
    UsageRecordTogether,
    UsageSinceAlone,
    // Why a session or a stay ended, in the order of Transcript::Reason.
    ReasonDisconnect,
    ReasonLost,
    ReasonDeadLink,
    ReasonSignedOnElsewhere,
    ReasonRefused,
    ReasonQuit,
    ReasonLeft,
    ReasonEjected,
    ReasonUnrecorded,
    // Transcript lines, as --transcript prints them and the room window shows them.
    LineSaid,             // %1 the sender, %2 the text
    LineWhispered,        // %1 the sender, %2 the text
    LineEntered,          // %1 the member
    LineLeft,             // %1 the member
    // Reading the record (standard error).
    NoTranscriptYet,      // %1 the file
    TranscriptUnreadable, // %1 the file, %2 why
    TranscriptOtherSchema, // %1 the file, %2 its schema, %3 the one this program reads
    TranscriptNoRoom,     // %1 ROOM or ROOM:EXCHANGE as given
    // The record's windows.
    RoomMembers,          // %1 how many
    RoomSayPlaceholder,   // %1 ROOM:EXCHANGE
    RoomSend,
    RoomUnreadMarker,
    RoomSending,
    MessagesTitle,
    MessagesFrom,
    MessagesReceived,
    MessagesAutoResponse,
    MessagesSender,       // %1 the sender, %2 how many messages
    PresenceTitle,
    PresenceTimelineTip,
    PresenceRoom,
    PresenceDay,
    PresenceWeek,
    PresenceGaps,
    PresenceLongest,
    PresenceTimeline,
    PresenceNoRooms,
    PresencePresent,
    DurationSeconds,      // %1
    DurationMinutes,      // %1
    DurationHours,        // %1 hours, %2 minutes
};

namespace Texts {

/// The text, with %1, %2 ... replaced by args in one pass (an argument holding "%2" stays as it is).
/// Text::ServerError takes the code and the argument of the ERROR line, as serverError does.
QString get(Text text, const QStringList& args = {});

/// The log line for server error code, naming argument (the user or room the error is about, as
/// its ERROR line gave it; empty when it gave none): "Error <code>: <sentence>", or "Unknown
/// error." for a code without a meaning. Control characters in argument show as blanks, and a long
/// argument is cut.
QString serverError(std::int16_t code, const QString& argument = QString());

/// Text from the network made fit for one line: control characters and line breaks become blanks.
QString oneLine(QString text);

} // namespace Texts

#pragma once
// Readable GoogleTest output for the parser's messages: GoogleTest prints a ServerMessage as the
// name of the alternative it holds and that alternative, which these print field by field, for
// example ImIn user="bob" message="hi".
#include "TocParser.h"
#include "printers.h"

#include <optional>
#include <ostream>

namespace TocMessage {

inline void printValue(std::ostream* os, const QByteArray& v)
{
    PrintTo(v, os);
}
inline void printValue(std::ostream* os, bool v)
{
    *os << (v ? "true" : "false");
}
inline void printValue(std::ostream* os, std::int32_t v)
{
    *os << v;
}
inline void printValue(std::ostream* os, const QByteArrayList& list)
{
    *os << '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *os << (i ? ", " : "");
        printValue(os, list[i]);
    }
    *os << ']';
}
template <typename T>
void printValue(std::ostream* os, const std::optional<T>& v)
{
    if (v)
        printValue(os, *v);
    else
        *os << "none";
}
inline void printValue(std::ostream* os, const TocConfig::Parsed& c);

/// " name=value" for each name and value given.
inline void printFields(std::ostream*) {}
template <typename T, typename... Rest>
void printFields(std::ostream* os, const char* name, const T& value, const Rest&... rest)
{
    *os << ' ' << name << '=';
    printValue(os, value);
    printFields(os, rest...);
}

/// The message's name, then its fields.
template <typename... Fields>
void printMessage(std::ostream* os, const char* name, const Fields&... fields)
{
    *os << name;
    printFields(os, fields...);
}

inline void printValue(std::ostream* os, const TocConfig::Parsed& c)
{
    *os << '{';
    printFields(os, "buddyList", c.buddyList, "blocked", c.blocked, "buddies", c.buddies, "denied", c.denied,
                "others", c.others);
    *os << " }";
}

inline void PrintTo(const Unknown&, std::ostream* os) { printMessage(os, "Unknown"); }
inline void PrintTo(const SignOn&, std::ostream* os) { printMessage(os, "SignOn"); }
inline void PrintTo(const Config2& m, std::ostream* os) { printMessage(os, "Config2", "config", m.config); }
inline void PrintTo(const Nick& m, std::ostream* os) { printMessage(os, "Nick", "name", m.name); }
inline void PrintTo(const ImIn& m, std::ostream* os)
{
    printMessage(os, "ImIn", "user", m.user, "message", m.message);
}
inline void PrintTo(const UpdateBuddy& m, std::ostream* os)
{
    printMessage(os, "UpdateBuddy", "user", m.user, "online", m.online);
}
inline void PrintTo(const BuddyCaps& m, std::ostream* os)
{
    printMessage(os, "BuddyCaps", "user", m.user, "capabilities", m.capabilities);
}
inline void PrintTo(const Bart& m, std::ostream* os) { printMessage(os, "Bart", "user", m.user, "data", m.data); }
inline void PrintTo(const Error& m, std::ostream* os)
{
    printMessage(os, "Error", "code", m.code, "argument", m.argument);
}
inline void PrintTo(const Eviled& m, std::ostream* os)
{
    printMessage(os, "Eviled", "level", m.level, "warner", m.warner);
}
inline void PrintTo(const ChatJoin& m, std::ostream* os) { printMessage(os, "ChatJoin", "id", m.id, "name", m.name); }
inline void PrintTo(const ChatIn& m, std::ostream* os)
{
    printMessage(os, "ChatIn", "roomId", m.roomId, "user", m.user, "whisper", m.whisper, "message", m.message);
}
inline void PrintTo(const ChatUpdateBuddy& m, std::ostream* os)
{
    printMessage(os, "ChatUpdateBuddy", "roomId", m.roomId, "inside", m.inside, "user", m.user, "user2", m.user2);
}
inline void PrintTo(const ChatInvite& m, std::ostream* os)
{
    printMessage(os, "ChatInvite", "roomName", m.roomName, "roomId", m.roomId, "user", m.user, "message", m.message);
}
inline void PrintTo(const ChatLeft& m, std::ostream* os) { printMessage(os, "ChatLeft", "roomId", m.roomId); }
inline void PrintTo(const GotoUrl& m, std::ostream* os) { printMessage(os, "GotoUrl", "url", m.url); }
inline void PrintTo(const AdminNickStatus& m, std::ostream* os)
{
    printMessage(os, "AdminNickStatus", "success", m.success);
}
inline void PrintTo(const AdminPasswdStatus& m, std::ostream* os)
{
    printMessage(os, "AdminPasswdStatus", "success", m.success);
}
inline void PrintTo(const RvousPropose& m, std::ostream* os)
{
    printMessage(os, "RvousPropose", "user", m.user, "uuid", m.uuid, "cookie", m.cookie, "rendezvousIp", m.rendezvousIp);
}

} // namespace TocMessage

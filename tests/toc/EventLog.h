#pragma once
// Records the client's events as readable lines, in the order they are raised, so a test can
// compare a whole transcript at once: "IncomingMessage(tocTestOne, hi: there)".
#include "QuonTOCSock.h"

#include <QString>

#include <string>
#include <utility>
#include <vector>

class EventLog
{
public:
    std::vector<std::string> lines;

    /// Listens to every event; IncomingPacket only when asked, since every frame raises it.
    explicit EventLog(QuonTOCSock& sock, bool withPackets = false)
    {
        on(sock, &QuonTOCSock::LoggedIn, "LoggedIn");
        on(sock, &QuonTOCSock::LoggedOff, "LoggedOff");
        on(sock, &QuonTOCSock::Error, "Error");
        on(sock, &QuonTOCSock::IncomingBuddyCapabilities, "IncomingBuddyCapabilities");
        if (withPackets)
            on(sock, &QuonTOCSock::IncomingPacket, "IncomingPacket");
        on(sock, &QuonTOCSock::IncomingMessage, "IncomingMessage");
        on(sock, &QuonTOCSock::BuddyOnline, "BuddyOnline");
        on(sock, &QuonTOCSock::BuddyOffline, "BuddyOffline");
        on(sock, &QuonTOCSock::Warned, "Warned");
        on(sock, &QuonTOCSock::JoinedChat, "JoinedChat");
        on(sock, &QuonTOCSock::IncomingChatMessage, "IncomingChatMessage");
        on(sock, &QuonTOCSock::ChatUserUpdate, "ChatUserUpdate");
        on(sock, &QuonTOCSock::IncomingChatInvite, "IncomingChatInvite");
        on(sock, &QuonTOCSock::LeftChat, "LeftChat");
        on(sock, &QuonTOCSock::PassWordUpdate, "PassWordUpdate");
        on(sock, &QuonTOCSock::ScreenNameFormatUpdate, "ScreenNameFormatUpdate");
        on(sock, &QuonTOCSock::IncomingProfile, "IncomingProfile");
        on(sock, &QuonTOCSock::RendevousRequest, "RendevousRequest");
        on(sock, &QuonTOCSock::IncomingBartData, "IncomingBartData");
        on(sock, &QuonTOCSock::SocketError, "SocketError");
    }

    /// The lines so far; the log starts empty again.
    std::vector<std::string> take() { return std::exchange(lines, {}); }

private:
    static std::string text(const QByteArray& v) { return v.toStdString(); }
    static std::string text(const QString& v) { return v.toStdString(); }
    static std::string text(bool v) { return v ? "true" : "false"; }
    static std::string text(std::int16_t v) { return std::to_string(v); }
    static std::string text(std::int32_t v) { return std::to_string(v); }

    template <typename... Args>
    void on(QuonTOCSock& sock, void (QuonTOCSock::*signal)(Args...), const char* name)
    {
        QObject::connect(&sock, signal, &sock, [this, name](Args... args) {
            std::string line = std::string(name) + '(';
            const char* sep = "";
            ((line += sep, line += text(args), sep = ", "), ...);
            lines.push_back(line + ')');
        });
    }
};

// What the client does with each server message.
#include "QuonTOCSock.h"

#include "ModTOC.h"

#ifndef TARNWICK_AUTH_HOST
#define TARNWICK_AUTH_HOST "login.oscar.aol.com"
#endif

namespace {
const QByteArray kFlapVersion("\x00\x00\x00\x01", 4);
constexpr char kClientVersion[] = "QuonSockTOC2.0";
} // namespace

// The server opens the FLAP layer with its version; we answer with our sign-on frame (version,
// TLV 1 carrying the screen name) and the login command.
void QuonTOCSock::handleSignOnFrame(const QByteArray& payload)
{
    using namespace ModTOC;
    if (payload != kFlapVersion)
        return;

    SendPacket(1, kFlapVersion + EncodeWord(1) + EncodeWord(static_cast<std::int32_t>(mstrUserName.size())) +
                      mstrUserName);

    const QByteArray login = "toc2_login " TARNWICK_AUTH_HOST " 29999 " + mstrUserName + ' ' + mstrRoasted +
                             " English  " + QuoteArg(kClientVersion) + " 160 US " + QuoteArg("") + ' ' +
                             QuoteArg("") + " 3 0 30303 -kentucky -utf8 " + "51837264" + '\0';
    SendPacket(2, login);
}

void QuonTOCSock::handleDataFrame(const QByteArray& payload)
{
    Q_UNUSED(payload);
}

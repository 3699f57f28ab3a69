#include "TocErrors.h"

#include <array>
#include <utility>

namespace TocErrors {

namespace {

// The protocol's own texts. "$1" stands for the user or room a message is about; the client reports only
// the number, so the placeholder is dropped when the line is made.
constexpr std::array<std::pair<int, const char*>, 20> kMeanings{{
    {901, "$1 not currently available"},
    {902, "Warning of $1 not currently available"},
    {903, "A message has been dropped, you are exceeding the server speed limit"},
    {911, "Error validating input"},
    {912, "Invalid account"},
    {913, "Error encountered while processing request"},
    {914, "Service unavailable"},
    {950, "Chat in $1 is unavailable"},
    {960, "You are sending messages too fast to $1"},
    {961, "You missed an IM from $1 because it was too big"},
    {962, "You missed an IM from $1 because it was sent too fast"},
    {970, "Failure"},
    {971, "Too many matches"},
    {972, "Need more qualifiers"},
    {973, "Directory service temporarily unavailable"},
    {980, "Incorrect screen name or password"},
    {981, "The service is temporarily unavailable"},
    {982, "Your warning level is currently too high to sign on"},
    {983, "You have been connecting and disconnecting too frequently; wait 10 minutes and try again"},
    {989, "An unknown sign-on error has occurred $1"},
}};

} // namespace

QString logLine(std::int16_t code)
{
    for (const auto& [number, meaning] : kMeanings)
        if (number == code)
            return QStringLiteral("Error %1: %2")
                .arg(code)
                .arg(QString::fromLatin1(meaning).remove(QStringLiteral("$1")).simplified());
    return QStringLiteral("Unknown error.");
}

} // namespace TocErrors

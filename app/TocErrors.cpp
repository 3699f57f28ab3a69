#include "TocErrors.h"

#include "TocParser.h"

#include <array>

namespace TocErrors {

namespace {

struct Meaning {
    TocError code;
    const char* about;   // the protocol's text, %1 standing for the argument
    const char* general; // the same without an argument (null: the text names none)
};

// The protocol's own texts, and for those that name a user or room a phrasing without one, for
// servers that leave the argument out.
constexpr std::array<Meaning, 20> kMeanings{{
    {TocError::UserNotAvailable, "%1 is not currently available.", "The user is not currently available."},
    {TocError::WarningNotAvailable, "Warning of %1 is not currently available.", "Warning is not currently available."},
    {TocError::MessageDropped, "A message has been dropped, you are exceeding the server speed limit.", nullptr},
    {TocError::InvalidInput, "Error validating input.", nullptr},
    {TocError::InvalidAccount, "Invalid account.", nullptr},
    {TocError::RequestFailed, "Error encountered while processing request.", nullptr},
    {TocError::ServiceUnavailable, "Service unavailable.", nullptr},
    {TocError::ChatUnavailable, "Chat in %1 is unavailable.", "Chat is unavailable."},
    {TocError::SendingTooFast, "You are sending messages too fast to %1.", "You are sending messages too fast."},
    {TocError::MissedImTooBig, "You missed an IM from %1 because it was too big.", "You missed an IM because it was too big."},
    {TocError::MissedImTooFast, "You missed an IM from %1 because it was sent too fast.", "You missed an IM because it was sent too fast."},
    {TocError::DirectoryFailure, "Failure.", nullptr},
    {TocError::TooManyMatches, "Too many matches.", nullptr},
    {TocError::NeedMoreQualifiers, "Need more qualifiers.", nullptr},
    {TocError::DirectoryUnavailable, "Directory service temporarily unavailable.", nullptr},
    {TocError::BadLogin, "Incorrect screen name or password.", nullptr},
    {TocError::ServiceTemporarilyUnavailable, "The service is temporarily unavailable.", nullptr},
    {TocError::WarningTooHigh, "Your warning level is currently too high to sign on.", nullptr},
    {TocError::ConnectingTooOften, "You have been connecting and disconnecting too frequently; wait 10 minutes and try again.", nullptr},
    {TocError::UnknownSignOnError, "An unknown sign-on error has occurred (%1).", "An unknown sign-on error has occurred."},
}};

// The longest argument shown: a name or a short reason, not a page the server chose to send.
constexpr int kMaxArgument = 80;

} // namespace

QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    return text;
}

QString logLine(std::int16_t code, const QString& argument)
{
    const QString named = oneLine(argument.left(kMaxArgument)).trimmed();
    for (const Meaning& m : kMeanings) {
        if (m.code != TocError(code))
            continue;
        const QString sentence = !m.general        ? QString::fromLatin1(m.about)
                                 : named.isEmpty() ? QString::fromLatin1(m.general)
                                                   : QString::fromLatin1(m.about).arg(named);
        return QStringLiteral("Error %1: %2").arg(code).arg(sentence);
    }
    return QStringLiteral("Unknown error.");
}

} // namespace TocErrors

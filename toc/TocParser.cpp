#include "TocParser.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

namespace TocParser {

namespace {
using namespace TocMessage;

// The fields of one line, found once; nothing is copied until a value is taken out.
class Fields
{
public:
    explicit Fields(QByteArrayView line)
        : m_line(line)
    {
        const char* const begin = line.data();
        const char* const end = begin + line.size();
        for (const char* p = begin; m_count < kRecorded; ++p) {
            p = static_cast<const char*>(std::memchr(p, ':', std::size_t(end - p)));
            if (!p)
                break;
            m_start[m_count++] = p - begin + 1;
        }
    }

    /// Field n (n below kRecorded - 1), empty when the line has fewer fields.
    QByteArrayView view(qsizetype n) const
    {
        if (n >= m_count)
            return {};
        const qsizetype end = n + 1 < m_count ? m_start[n + 1] - 1 : m_line.size();
        return m_line.sliced(m_start[n], end - m_start[n]);
    }
    QByteArray text(qsizetype n) const { return view(n).toByteArray(); }
    std::optional<QByteArray> textIfAny(qsizetype n) const
    {
        return n < m_count ? std::optional(text(n)) : std::nullopt;
    }

    /// Fields n.. with the colons between them: free text, which may hold colons of its own.
    QByteArray rest(qsizetype n) const { return n < m_count ? m_line.sliced(m_start[n]).toByteArray() : QByteArray(); }

    /// Field n as a decimal number of type T (blanks around it allowed); nothing when it is
    /// missing or is not a number of that range. Every byte must belong to the number: a zero
    /// byte does not end the text.
    template <typename T>
    std::optional<T> number(qsizetype n) const
    {
        if (n >= m_count)
            return std::nullopt;
        const QByteArrayView digits = view(n).trimmed();
        T value = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        return value;
    }
    template <typename T>
    T numberOr0(qsizetype n) const
    {
        return number<T>(n).value_or(0);
    }

private:
    static constexpr qsizetype kRecorded = 12; // enough for every field read by position
    QByteArrayView m_line;
    std::array<qsizetype, kRecorded> m_start{};
    qsizetype m_count = 1;
};

ServerMessage signOn(const Fields&) { return SignOn{}; }
ServerMessage nick(const Fields& f) { return Nick{f.textIfAny(1)}; }
ServerMessage imIn(const Fields& f) { return ImIn{f.text(1), f.rest(9), f.view(2) == "T"}; }
ServerMessage updateBuddy(const Fields& f)
{
    const QByteArrayView flag = f.view(2);
    return UpdateBuddy{f.text(1), flag == "T" || flag == "t"};
}
ServerMessage buddyCaps(const Fields& f) { return BuddyCaps{f.text(1), f.text(2)}; }
ServerMessage bart(const Fields& f) { return Bart{f.text(1), f.text(2)}; }
ServerMessage error(const Fields& f) { return Error{f.numberOr0<std::int16_t>(1), f.text(2)}; }
ServerMessage eviled(const Fields& f) { return Eviled{f.numberOr0<std::int16_t>(1), f.text(2)}; }
ServerMessage chatJoin(const Fields& f) { return ChatJoin{f.number<std::int32_t>(1), f.textIfAny(2)}; }
ServerMessage chatIn(const Fields& f)
{
    return ChatIn{f.numberOr0<std::int32_t>(1), f.text(2), f.view(3) == "T", f.rest(6)};
}
ServerMessage chatUpdateBuddy(const Fields& f)
{
    const QByteArray names = f.rest(3);
    return ChatUpdateBuddy{f.numberOr0<std::int32_t>(1), f.view(2) == "T", f.text(3), f.text(4),
                           names.isEmpty() ? QByteArrayList() : names.split(':')};
}
ServerMessage chatInvite(const Fields& f)
{
    return ChatInvite{f.text(1), f.numberOr0<std::int32_t>(2), f.text(3), f.rest(4)};
}
ServerMessage chatLeft(const Fields& f) { return ChatLeft{f.numberOr0<std::int32_t>(1)}; }
ServerMessage gotoUrl(const Fields& f) { return GotoUrl{f.rest(2)}; }
ServerMessage adminNickStatus(const Fields& f) { return AdminNickStatus{f.number<std::int16_t>(1) == 0}; }
ServerMessage adminPasswdStatus(const Fields& f) { return AdminPasswdStatus{f.number<std::int16_t>(1) == 0}; }
ServerMessage rvousPropose(const Fields& f) { return RvousPropose{f.text(1), f.text(2), f.text(3), f.text(5)}; }

struct Command {
    std::string_view word; // lower case
    ServerMessage (*parse)(const Fields&);
};
// CONFIG2 is parsed apart: its entries are lines, not fields.
constexpr Command kCommands[] = {
    {"sign_on", signOn},
    {"nick", nick},
    {"im_in_enc2", imIn},
    {"update_buddy2", updateBuddy},
    {"buddy_caps2", buddyCaps},
    {"bart2", bart},
    {"error", error},
    {"eviled", eviled},
    {"chat_join", chatJoin},
    {"chat_in_enc", chatIn},
    {"chat_update_buddy", chatUpdateBuddy},
    {"chat_invite", chatInvite},
    {"chat_left", chatLeft},
    {"goto_url", gotoUrl},
    {"admin_nick_status", adminNickStatus},
    {"admin_passwd_status", adminPasswdStatus},
    {"rvous_propose", rvousPropose},
};
constexpr std::size_t kLongestWord = 19;

// The command word in lower case (ASCII letters only), or nothing when it is longer than any
// word we know.
std::optional<std::string_view> lowerWord(QByteArrayView word, std::array<char, kLongestWord>& buffer)
{
    if (std::size_t(word.size()) > buffer.size())
        return std::nullopt;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char c = word[i];
        buffer[std::size_t(i)] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return std::string_view(buffer.data(), std::size_t(word.size()));
}
} // namespace

ServerMessage parse(QByteArrayView payload)
{
    const auto* colon = static_cast<const char*>(std::memchr(payload.data(), ':', std::size_t(payload.size())));
    std::array<char, kLongestWord> buffer;
    const std::optional<std::string_view> word =
        lowerWord(colon ? payload.first(colon - payload.data()) : payload, buffer);
    if (!word)
        return Unknown{};
    if (*word == "config2")
        return Config2{TocConfig::parse(payload)};
    for (const Command& command : kCommands) {
        if (command.word == *word)
            return command.parse(Fields(payload));
    }
    return Unknown{};
}

bool isSignOnVersion(QByteArrayView payload)
{
    return payload == QByteArrayView("\x00\x00\x00\x01", 4);
}

} // namespace TocParser

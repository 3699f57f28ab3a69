#include "RecordCommands.h"

#include "PresenceReport.h"
#include "Texts.h"
#include "TranscriptReader.h"

#include <QRegularExpression>

#include <algorithm>

namespace RecordCommands {

namespace {

constexpr Time kMinute = 60 * 1000;
constexpr Time kMaxDays = 3650;

qint64 wholeSeconds(Time ms)
{
    return (ms + 500) / 1000;
}

int noRecord(const TranscriptReader& reader, QTextStream& err)
{
    err << "tarnwick: " << reader.error() << '\n';
    err.flush();
    return 1;
}

Time windowStart(const Options& options, Time now)
{
    return options.since ? now - *options.since : 0;
}

} // namespace

std::optional<Time> parseDuration(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,7})([mhd])$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const Time n = m.captured(1).toLongLong();
    const QChar unit = m.captured(2)[0];
    const Time ms = n * kMinute * (unit == QLatin1Char('m') ? 1 : unit == QLatin1Char('h') ? 60 : 60 * 24);
    if (n < 1 || ms > kMaxDays * 24 * 60 * kMinute)
        return std::nullopt;
    return ms;
}

std::optional<RoomArgument> parseRoom(const QString& text)
{
    RoomArgument out;
    QString name = text;
    static const QRegularExpression exchange(QStringLiteral(":([0-9]{1,5})$"));
    const QRegularExpressionMatch m = exchange.match(text);
    if (m.hasMatch()) {
        const int number = m.captured(1).toInt();
        if (number > 32767)
            return std::nullopt;
        out.exchange = std::int16_t(number);
        name.chop(m.capturedLength(0));
    }
    out.name = name.toUtf8();
    if (Transcript::normalised(out.name).isEmpty())
        return std::nullopt;
    return out;
}

QString transcriptLine(const Transcript::Line& line)
{
    using Transcript::LineKind;
    const QString name = Transcript::shownName(line.sender);
    QString what;
    switch (line.kind) {
    case LineKind::Said:
        what = Texts::get(Text::LineSaid, {name, Transcript::shownText(line.text)});
        break;
    case LineKind::Whispered:
        what = Texts::get(Text::LineWhispered, {name, Transcript::shownText(line.text)});
        break;
    case LineKind::Entered:
        what = Texts::get(Text::LineEntered, {name});
        break;
    case LineKind::Left:
        what = Texts::get(Text::LineLeft, {name});
        break;
    }
    return Transcript::localIso(line.at) + QLatin1Char(' ') + what;
}

int runReport(const Options& options, QTextStream& out, QTextStream& err)
{
    const TranscriptReader reader(options.databasePath);
    if (!reader.isOpen())
        return noRecord(reader, err);
    const Time now = options.now ? options.now : Transcript::now();
    const Time start = windowStart(options, now);
    for (const TranscriptReader::Room& room : reader.rooms(options.account)) {
        const QList<PresenceReport::Stay> stays = reader.stays(room.id, now);
        const PresenceReport::Presence presence = PresenceReport::measure(stays, start, now);
        if (!presence.any())
            continue;
        out << Transcript::shownName(room.ref.name) << ':' << room.ref.exchange << " present " << presence.percent()
            << "% since " << Transcript::localIso(presence.since) << "; " << presence.gaps.size() << " gaps, longest "
            << wholeSeconds(presence.longestGap()) << " s\n";
        for (const PresenceReport::Gap& gap : presence.gaps)
            out << "  gap " << Transcript::localIso(gap.from) << ".." << Transcript::localIso(gap.to) << " ("
                << wholeSeconds(gap.length()) << " s): " << Transcript::reasonText(gap.why) << '\n';
    }
    out.flush();
    return 0;
}

int runTranscript(const Options& options, const RoomArgument& room, QTextStream& out, QTextStream& err)
{
    const TranscriptReader reader(options.databasePath);
    if (!reader.isOpen())
        return noRecord(reader, err);
    const Time now = options.now ? options.now : Transcript::now();
    const QByteArray key = Transcript::normalised(room.name);
    QList<Transcript::Line> lines;
    int found = 0;
    for (const TranscriptReader::Room& r : reader.rooms(options.account)) {
        if (r.ref.key() != key || (room.exchange && *room.exchange != r.ref.exchange))
            continue;
        ++found;
        lines += reader.linesSince(r.id, windowStart(options, now));
    }
    if (found == 0) {
        const QString named = QString::fromUtf8(room.name)
                              + (room.exchange ? QStringLiteral(":%1").arg(*room.exchange) : QString());
        err << "tarnwick: " << Texts::get(Text::TranscriptNoRoom, {named}) << '\n';
        err.flush();
        return 1;
    }
    // Several exchanges or accounts: one list by time, each room's own order kept.
    if (found > 1)
        std::stable_sort(lines.begin(), lines.end(), [](const auto& a, const auto& b) { return a.at < b.at; });
    for (const Transcript::Line& line : std::as_const(lines))
        out << transcriptLine(line) << '\n';
    out.flush();
    return 0;
}

} // namespace RecordCommands

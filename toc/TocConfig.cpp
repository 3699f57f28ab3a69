#include "TocConfig.h"

#include <stdexcept>

namespace TocConfig {

namespace {
QByteArrayView kindOf(QByteArrayView entry)
{
    const qsizetype colon = entry.indexOf(':');
    return colon < 0 ? entry : entry.first(colon);
}
} // namespace

// The command word and its colon go first: servers put the first entry on the same line.
Parsed parse(QByteArrayView payload)
{
    Parsed out;
    const qsizetype wordEnd = payload.indexOf(':');
    const QByteArrayView entries = wordEnd < 0 ? QByteArrayView() : payload.sliced(wordEnd + 1);

    for (const QByteArray& entry : entries.toByteArray().split('\n')) {
        const qsizetype colon = entry.indexOf(':');
        const QByteArrayView kind = kindOf(entry);
        if (kind != "g" && kind != "b" && kind != "d") {
            out.others << entry;
            continue;
        }
        if (colon < 0)
            continue; // a kind letter alone carries nothing
        const QByteArrayView rest = QByteArrayView(entry).sliced(colon + 1);
        if (kind == "d") {
            out.blocked += rest;
            out.blocked += "\r\n";
            out.denied << entry;
        } else {
            if (kind == "g")
                out.buddyList += "GROUP [" + rest.toByteArray() + "]\r\n";
            else
                out.buddyList += rest.toByteArray() + "\r\n";
            out.buddies << entry;
        }
    }
    return out;
}

void addBuddy(QByteArrayList& buddies, QByteArrayView name)
{
    if (name.contains('\n'))
        throw std::invalid_argument("addBuddy: a line feed would split the configuration entry");
    // Servers file a buddy under the group above it, so one that stands first needs a group.
    if (buddies.isEmpty() || kindOf(buddies.first()) != "g")
        buddies.prepend("g:Buddies");
    buddies << "b:" + name.toByteArray();
}

QByteArray groupForNewBuddy(const QByteArrayList& buddies)
{
    for (auto it = buddies.crbegin(); it != buddies.crend(); ++it) {
        if (kindOf(*it) == "g")
            return it->sliced(2);
    }
    return "Buddies";
}

QByteArray text(const QByteArrayList& buddies, const QByteArrayList& denied, const QByteArrayList& others)
{
    QByteArrayList lines = buddies + denied;
    for (const QByteArray& entry : others) {
        if (!entry.isEmpty() && kindOf(entry) != "done")
            lines << entry;
    }
    return lines.join('\n');
}

} // namespace TocConfig

#pragma once
// The buddy configuration that the server stores for a screen name: one "kind:value" entry per
// line ("g" group, "b" buddy, "d" blocked name, anything else another setting).
#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

namespace TocConfig {

struct Parsed {
    QByteArray buddyList;   // "GROUP [name]" and buddy lines, each ended by CR LF
    QByteArray blocked;     // blocked names, each ended by CR LF
    QByteArrayList buddies; // the "g:" and "b:" entries, in payload order
    QByteArrayList denied;  // the "d:" entries, in payload order
    QByteArrayList others;  // every other piece, in payload order (the terminator and empty pieces too)

    bool operator==(const Parsed&) const = default;
};

/// Splits a "config2" payload (command word and its colon first) into the two texts and the entries.
Parsed parse(QByteArrayView payload);

/// Appends "b:" + name at the end of the last group, opening a group "Buddies" first when the list
/// does not start with one. Throws std::invalid_argument for a name with a line feed in it.
void addBuddy(QByteArrayList& buddies, QByteArrayView name);

/// The group addBuddy files a new buddy under: the last one of the list, or "Buddies".
QByteArray groupForNewBuddy(const QByteArrayList& buddies);

/// The text to store: groups with their buddies, then blocked names, then the other settings, one
/// entry per line. Empty pieces and the "done:" terminator are left out: servers add their own.
QByteArray text(const QByteArrayList& buddies, const QByteArrayList& denied, const QByteArrayList& others);

} // namespace TocConfig

#pragma once
// Splitting a TOC command line into its words, the way clients quote them.
#include <QByteArrayList>
#include <QByteArrayView>

#include <optional>

/// The command word and its arguments, or nothing when the line is malformed (an unterminated
/// quote, or a closing quote not followed by a blank).
std::optional<QByteArrayList> splitTocArgs(QByteArrayView line);

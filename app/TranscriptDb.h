#pragma once
// The record's database file, shared by its writer (TranscriptStore) and its readers
// (TranscriptReader): where it lives, its schema and the steps that bring an older file up to date,
// how a room's lines are packed, and the one failure sentence.
//
// The file is SQLite in write-ahead-log mode, so reports and windows read it while a running copy
// writes. Times are milliseconds since 1970 UTC; names and texts are the bytes the server sent.
#include "Transcript.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <optional>

namespace TranscriptDb {

/// The schema this program writes. Each step of kMigrations takes a file one version further.
constexpr int kSchemaVersion = 2;
/// Lines of one room are written in chunks of at most this many lines, the unit a view reads.
constexpr int kLinesPerChunk = 256;
/// A run that has not said it is alive for this long has ended without a record.
constexpr Transcript::Time kStaleAfterMs = 3 * 60 * 1000;

/// The SQL of the step from version n to n + 1 (n counted from 0), one statement per entry.
const QList<QStringList>& migrations();

/// "Tarnwick/transcript.sqlite" in the user's data folder.
QString defaultPath();

/// "Could not keep the transcript: REASON.", the one line a failure of the record gives.
QString failureLine(const QString& reason);

/// Opens a connection of a unique name (readOnly: no writes, no file created).
QSqlDatabase openConnection(const QString& path, bool readOnly, QString* error);
/// Closes and forgets a connection opened by openConnection.
void closeConnection(QSqlDatabase& db);

/// Whether an error says the file is damaged or not a database at all.
bool isDamaged(const QSqlError& error);
/// The reason an error gives, for the failure line.
QString describe(const QSqlError& error);

/// A room's lines as one chunk: per line its time (8 bytes), kind (1 byte), then sender and text,
/// each as a 4-byte length and the bytes; numbers little-endian.
void packLine(QByteArray& chunk, const Transcript::Line& line);
/// The line starting at byte at of chunk, moving at past it; nothing at the end or where the
/// bytes are cut short.
std::optional<Transcript::Line> unpackLine(const QByteArray& chunk, qsizetype& at);
/// The lines of a chunk; a chunk cut short gives the whole lines before the cut.
QList<Transcript::Line> unpackLines(const QByteArray& chunk);

} // namespace TranscriptDb

#include "TranscriptDb.h"

#include "Texts.h"

#include <QDir>
#include <QStandardPaths>
#include <QtEndian>

#include <atomic>
#include <cstring>

namespace TranscriptDb {

const QList<QStringList>& migrations()
{
    // Never edit a step once released: files out there are at every version. Add a step instead.
    static const QList<QStringList> steps{
        // 1: sessions, rooms, stays in rooms, room lines in chunks, instant messages.
        {
            "CREATE TABLE sessions(id INTEGER PRIMARY KEY, account BLOB NOT NULL, started INTEGER NOT NULL,"
            " ended INTEGER, why INTEGER)",
            "CREATE TABLE rooms(id INTEGER PRIMARY KEY, account BLOB NOT NULL, room_key BLOB NOT NULL, name BLOB NOT NULL,"
            " exchange INTEGER NOT NULL, read_seq INTEGER NOT NULL DEFAULT 0, UNIQUE(account, room_key, exchange))",
            "CREATE TABLE stays(id INTEGER PRIMARY KEY, room INTEGER NOT NULL REFERENCES rooms(id),"
            " joined INTEGER NOT NULL, parted INTEGER, why INTEGER)",
            "CREATE INDEX stays_room ON stays(room, joined)",
            "CREATE TABLE room_lines(id INTEGER PRIMARY KEY, room INTEGER NOT NULL REFERENCES rooms(id),"
            " first_seq INTEGER NOT NULL, count INTEGER NOT NULL, first_at INTEGER NOT NULL, last_at INTEGER NOT NULL,"
            " lines BLOB NOT NULL)",
            "CREATE UNIQUE INDEX room_lines_seq ON room_lines(room, first_seq)",
            "CREATE TABLE ims(id INTEGER PRIMARY KEY, account BLOB NOT NULL, at INTEGER NOT NULL, peer BLOB NOT NULL,"
            " outgoing INTEGER NOT NULL, auto_response INTEGER NOT NULL, text BLOB NOT NULL)",
            "CREATE INDEX ims_at ON ims(at)",
        },
        // 2: each run of the program says now and then that it is alive, so that the stays a killed
        // run left open can be told from those of a copy still running, and ended where it stopped.
        {
            "CREATE TABLE runs(id INTEGER PRIMARY KEY, started INTEGER NOT NULL, alive INTEGER NOT NULL)",
            "ALTER TABLE sessions ADD COLUMN run INTEGER REFERENCES runs(id)",
            "ALTER TABLE stays ADD COLUMN run INTEGER REFERENCES runs(id)",
        },
    };
    return steps;
}

QString defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/transcript.sqlite");
}

QString failureLine(const QString& reason)
{
    return Texts::get(Text::TranscriptNotKept, {reason});
}

QSqlDatabase openConnection(const QString& path, bool readOnly, QString* error)
{
    static std::atomic<int> serial{0};
    const QString name = QStringLiteral("transcript-%1").arg(++serial);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    if (!db.isValid()) {
        *error = QStringLiteral("the SQLite driver of Qt is missing");
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    db.setDatabaseName(path);
    // A second writer (another copy sharing the data folder) holds its lock for a moment only;
    // waiting longer would hold up whoever called.
    db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
    if (!db.open()) {
        *error = describe(db.lastError());
        closeConnection(db);
        return {};
    }
    return db;
}

void closeConnection(QSqlDatabase& db)
{
    const QString name = db.connectionName();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

bool isDamaged(const QSqlError& error)
{
    // SQLITE_CORRUPT and SQLITE_NOTADB, with any extended code.
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    return ok && (code == 11 || code == 26);
}

QString describe(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

void packLine(QByteArray& chunk, const Transcript::Line& line)
{
    // Written in place: appending piece by piece costs more than the bytes themselves.
    const qsizetype at = chunk.size();
    chunk.resize(at + 8 + 1 + 4 + line.sender.size() + 4 + line.text.size());
    char* p = chunk.data() + at;
    qToLittleEndian<qint64>(line.at, p);
    p[8] = char(line.kind);
    p += 9;
    for (const QByteArray* bytes : {&line.sender, &line.text}) {
        qToLittleEndian<quint32>(quint32(bytes->size()), p);
        std::memcpy(p + 4, bytes->constData(), size_t(bytes->size()));
        p += 4 + bytes->size();
    }
}

std::optional<Transcript::Line> unpackLine(const QByteArray& chunk, qsizetype& at)
{
    const char* p = chunk.constData() + at;
    const char* end = chunk.constData() + chunk.size();
    if (at < 0 || end - p < 9)
        return std::nullopt;
    Transcript::Line line;
    line.at = qFromLittleEndian<qint64>(p);
    const auto kind = quint8(p[8]);
    if (kind > quint8(Transcript::LineKind::Left))
        return std::nullopt;
    line.kind = Transcript::LineKind(kind);
    p += 9;
    for (QByteArray* bytes : {&line.sender, &line.text}) {
        if (end - p < 4)
            return std::nullopt;
        const quint32 n = qFromLittleEndian<quint32>(p);
        p += 4;
        if (quint64(end - p) < n)
            return std::nullopt;
        *bytes = QByteArray(p, qsizetype(n));
        p += n;
    }
    at = p - chunk.constData();
    return line;
}

QList<Transcript::Line> unpackLines(const QByteArray& chunk)
{
    QList<Transcript::Line> out;
    qsizetype at = 0;
    while (const auto line = unpackLine(chunk, at))
        out << *line;
    return out;
}

} // namespace TranscriptDb

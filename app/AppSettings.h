#pragma once
// What Tarnwick remembers between runs, in an INI file in the user's configuration folder
// ($XDG_CONFIG_HOME/Tarnwick/Tarnwick.ini on Linux, %APPDATA%\Tarnwick\Tarnwick.ini on Windows).
// Keys: "Server" (HOST:PORT, written once the user chooses one), "ScreenName", "Exchange",
// "StaySignedOn", "RememberPassword", and the array "Rooms" of "Name" and "Exchange". Never the
// password. "KeepDays", how many days the transcript keeps, is set by hand (written back as read,
// the default when missing).
//
// Nothing in the file is lost without a word: a file with anything that cannot be read back as it
// is (a malformed line, a comment, a room or value that cannot be used) is copied beside it as
// Tarnwick.ini.unreadable before anything is written, and the log says so. A save that fails says
// why, once for each cause.
#include "PresenceTypes.h"

#include <QString>

#include <optional>

class AppSettings
{
public:
    /// The user's settings file.
    AppSettings();
    /// Another file (tests).
    explicit AppSettings(QString path);

    const QString& path() const { return m_path; }
    /// The folder that holds the file: one running copy per folder.
    QString folder() const;

    /// What the file holds; defaults for whatever is missing or cannot be used. When something
    /// could not be read, the file is copied aside first and problem() gives the log line.
    RememberedSettings load();
    const QString& problem() const { return m_problem; }
    /// The server alone, read without a word about anything else in the file (for --help).
    std::optional<ServerAddress> rememberedServer() const;
    /// How many days the transcript keeps (from 1 to kMostKeepDays), as load() read it.
    int keepDays() const { return m_keepDays; }
    static constexpr int kMostKeepDays = 36500;

    /// Writes the settings. Returns the log line for a failure not told before, else nothing.
    QString save(const RememberedSettings& remembered);

private:
    QString keepUnreadable(const QString& what);

    QString m_path;
    QString m_problem;
    QString m_lastFailure;
    QString m_keepAsItIs; // why the file must not be written: its copy failed
    int m_keepDays;
};

#pragma once
// The window-less mode: the same session as the window's, for a machine without a display. Log
// lines and status changes go to standard output ("log: ...", "status: ..."); no widget is made.
#include "Presence.h"

#include <QString>

struct HeadlessOptions {
    std::optional<ServerAddress> server; // --server: this run only; else the remembered one, else the build's
    QString screenName;   // empty: the remembered one
    QString passwordFile; // empty: the keychain
    QList<Presence::Room> rooms;
    double retryScale = 1.0;
    bool echo = false; // also the room list, as "rooms: ..."
};

/// Exit codes of the window-less mode.
enum HeadlessExit {
    kExitStopped = 0,        // SIGINT, SIGTERM or SIGHUP: signed off
    kExitEnded = 1,          // the server refused the sign-on for good, or nothing to sign on with
    kExitRefused = 2,        // a password file that cannot be used
    kExitAlreadyRunning = 3, // another copy runs with the same settings
};

/// Runs the session until a stop signal or until it ends with nothing more planned. Needs a
/// QCoreApplication.
int runHeadless(const HeadlessOptions& options);

/// The password on the first line of a file, or why the file cannot be used.
struct PasswordFile {
    QString password;
    QString error; // empty when the password was read
};
/// Reads the password file at path; refuses one that cannot be read, holds no password on its first
/// line, or (on Unix) may be read or written by anyone but its owner, or is not the user's own.
PasswordFile readPasswordFile(const QString& path);

/// One line of the echo on standard output, "kind: text", with control characters shown as blanks.
void printEcho(const char* kind, const QString& text);

#pragma once
// The window-less mode: the same session as the window's, for a machine without a display. Log
// lines and status changes go to standard output ("log: ...", "status: ..."); no widget is made.
#include "Presence.h"

#include <QString>


struct HeadlessOptions {
    QString host;
    quint16 port = Presence::kDefaultPort;
    QString screenName;   // empty: the remembered one
    QString passwordFile; // empty: the keychain
    QList<Presence::Room> rooms;
    double retryScale = 1.0;
};

/// Runs the session until SIGINT or SIGTERM (which sign off and give 0) or until it ends with
/// nothing more planned (1). Needs a QCoreApplication. A password file that cannot be used gives 2
/// at once, with a message on standard error.
int runHeadless(const HeadlessOptions& options);

/// The password on the first line of a file, or why the file cannot be used.
struct PasswordFile {
    QString password;
    QString error; // empty when the password was read
};
/// Reads the password file at path; refuses one that cannot be read, holds no password on its first
/// line, or (on Unix) may be read by anyone but its owner.
PasswordFile readPasswordFile(const QString& path);

/// One line of the echo on standard output, "kind: text", with control characters shown as blanks.
void printEcho(const char* kind, const QString& text);

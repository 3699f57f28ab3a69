#pragma once
// The accounts tocd knows: screen name, password and the stored configuration each one receives
// at sign-on. They live only as long as the process.
#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QString>

struct Account {
    QByteArray formattedName;  // as given, e.g. "Tarn Wick"; NICK carries it
    QByteArray password;       // in plain text; the login line carries it roasted
    QByteArrayList config;     // "kind:value" entries in order, without the "done:" terminator
};

class Accounts
{
public:
    /// Adds "NAME:PASSWORD" (split at the first colon). Returns an error text, empty on success.
    QString addFromOption(QByteArrayView nameAndPassword);
    /// Reads a file of "account NAME:PASSWORD" lines, each followed by its "kind:value" entries
    /// (kinds g, b, d, p, m). Blank lines and lines starting with "#" are skipped.
    /// Returns an error text naming the line, empty on success.
    QString loadFile(const QString& path);

    /// The account whose normalised name is key, or null.
    Account* find(QByteArrayView key);
    bool isEmpty() const { return m_byKey.isEmpty(); }

private:
    QString add(QByteArrayView nameAndPassword, Account** added);

    QHash<QByteArray, Account> m_byKey; // keyed by normalised screen name
};

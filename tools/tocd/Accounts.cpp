#include "Accounts.h"

#include "ModTOC.h"

#include <QFile>

namespace {
bool isConfigKind(QByteArrayView kind)
{
    return kind.size() == 1 && QByteArrayView("gbdpm").contains(kind[0]);
}
} // namespace

QString Accounts::add(QByteArrayView nameAndPassword, Account** added)
{
    const qsizetype colon = nameAndPassword.indexOf(':');
    if (colon < 0)
        return QStringLiteral("account \"%1\" has no \":PASSWORD\"").arg(QString::fromLatin1(nameAndPassword));
    const QByteArrayView name = nameAndPassword.first(colon);
    const QByteArray key = ModTOC::NormalizeName(name);
    if (key.isEmpty())
        return QStringLiteral("account \"%1\" has an empty name").arg(QString::fromLatin1(nameAndPassword));
    if (m_byKey.contains(key))
        return QStringLiteral("account \"%1\" is given twice").arg(QString::fromLatin1(name));
    Account& account = m_byKey[key];
    account.formattedName = name.trimmed().toByteArray();
    account.password = nameAndPassword.sliced(colon + 1).toByteArray();
    if (added)
        *added = &account;
    return {};
}

QString Accounts::addFromOption(QByteArrayView nameAndPassword)
{
    return add(nameAndPassword, nullptr);
}

QString Accounts::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    Account* current = nullptr;
    int lineNumber = 0;
    while (!file.atEnd()) {
        ++lineNumber;
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        const auto where = [&] { return QStringLiteral("%1:%2: ").arg(path).arg(lineNumber); };
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith("account ")) {
            const QString error = add(QByteArrayView(line).sliced(8), &current);
            if (!error.isEmpty())
                return where() + error;
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || !isConfigKind(QByteArrayView(line).first(colon)))
            return where() + QStringLiteral("expected \"account NAME:PASSWORD\" or a g:, b:, d:, p: or m: entry");
        if (!current)
            return where() + QStringLiteral("entry before the first account");
        current->config << line;
    }
    return {};
}

Account* Accounts::find(QByteArrayView key)
{
    const auto it = m_byKey.find(key.toByteArray());
    return it == m_byKey.end() ? nullptr : &*it;
}

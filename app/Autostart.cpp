#include "Autostart.h"

#include "Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr char kEntryName[] = "org.tarnwick.Tarnwick.desktop";

// One argument of an Exec line, as the desktop entry rules want it: in double quotes when it holds
// a reserved character, with ", `, $ and \ escaped inside them; then the string rules of the file
// double every backslash, and a literal % is written %%.
QString execArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString text = argument;
    if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return reserved.contains(c); })) {
        QString quoted;
        for (const QChar c : text) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        text = u'"' + quoted + u'"';
    }
    return text.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("%%")).replace(u'\n', QStringLiteral("\\n"));
}

} // namespace

namespace Autostart {

bool isSupported()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return true;
#else
    return false;
#endif
}

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/") +
           QLatin1String(kEntryName);
}

bool isEnabled()
{
    QFile file(entryPath());
    if (!isSupported() || !file.open(QIODevice::ReadOnly))
        return false;
    // An entry with Hidden=true counts as deleted (how a desktop's own settings turn one off).
    while (!file.atEnd())
        if (file.readLine().trimmed() == "Hidden=true")
            return false;
    return true;
}

QString enable(const QString& program)
{
    if (!isSupported())
        return Texts::get(Text::AutostartUnsupported);
    const QString path = entryPath();
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder))
        return Texts::get(Text::AutostartNoFolder, {folder});
    const QString exec = execArgument(program.isEmpty() ? QStringLiteral("tarnwick") : program);
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Tarnwick\n"
                                         "Comment=Keep a screen name present in TOC2 chat rooms\n"
                                         "Exec=%1 --minimized --connect\n"
                                         "Icon=org.tarnwick.Tarnwick\n"
                                         "Terminal=false\n")
                              .arg(exec);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit())
        return Texts::get(Text::AutostartNotWritten, {path, file.errorString()});
    return {};
}

QString disable()
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return {};
    return Texts::get(Text::AutostartNotRemoved, {file.fileName(), file.errorString()});
}

} // namespace Autostart

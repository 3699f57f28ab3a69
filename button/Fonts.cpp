#include "Fonts.h"

#include "TarnwickBuildConfig.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace {

bool haveTahoma()
{
    return QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive);
}

} // namespace

bool ensureTahoma()
{
    if (haveTahoma())
        return true;
    const QString folder = QString::fromUtf8(TarnwickBuild::kFontDir);
    if (folder.isEmpty())
        return false;
    for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(file));
        if (QFileInfo::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
    return haveTahoma();
}

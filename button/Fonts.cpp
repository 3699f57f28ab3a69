#include "Fonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStringList>

#ifndef TARNWICK_FONT_DIR
#define TARNWICK_FONT_DIR ""
#endif

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
    // The override comes first so that a packaged copy can be used without rebuilding.
    QStringList folders;
    if (const QString dir = qEnvironmentVariable("TARNWICK_FONT_DIR"); !dir.isEmpty())
        folders << dir;
    if (const QString dir = QStringLiteral(TARNWICK_FONT_DIR); !dir.isEmpty())
        folders << dir;
    for (const QString& folder : folders) {
        for (const char* file : {"tahoma.ttf", "tahomabd.ttf"}) {
            const QString path = QDir(folder).filePath(QString::fromLatin1(file));
            if (QFileInfo::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
        if (haveTahoma())
            return true;
    }
    return false;
}

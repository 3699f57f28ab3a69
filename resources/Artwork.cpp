#include "Artwork.h"

namespace Artwork {

QIcon appIcon()
{
    // The PNG copies of the .ico's alpha images: PNG support is built into QtGui, whereas the .ico needs a plugin
    // that a deployment may leave out, and a QIcon made from the .ico would also hold its 256-colour duplicates.
    QIcon icon;
    for (const char* path : {":/tarnwick/icon-16.png", ":/tarnwick/icon-32.png", ":/tarnwick/icon-48.png",
                             ":/tarnwick/icon-128.png"})
        icon.addFile(QString::fromLatin1(path));
    return icon;
}

} // namespace Artwork

#include "AppIcon.h"

#include <QDirIterator>

QIcon applicationIcon()
{
    // One PNG per size, laid out as in the hicolor theme; QIcon picks the
    // closest size for the title bar, the task bar and the switcher.
    QIcon icon;
    QDirIterator it(QStringLiteral(":/icons/hicolor"), {QStringLiteral("zanfor-layout.png")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        icon.addFile(it.next());
    return icon;
}

#include "LayoutDocument.h"

#include <QFileInfo>

void LayoutDocument::setFile(const QString &path, const Layout &content)
{
    m_path = path;
    m_saved = content;
}

QString LayoutDocument::fileName() const
{
    return QFileInfo(m_path).fileName();
}

bool LayoutDocument::isModified(const Layout &current) const
{
    // The lists share their data with the file's copy until either changes,
    // so an unchanged list compares at once.
    return hasFile() && current != m_saved;
}

QString LayoutDocument::caption(const Layout &current) const
{
    if (!hasFile())
        return programName();
    return (isModified(current) ? QStringLiteral("*") : QString()) % fileName() % u" - " % programName();
}

QString LayoutDocument::closeQuestion() const
{
    return u"布局已修改，是否保存到 " % fileName() % u"？";
}

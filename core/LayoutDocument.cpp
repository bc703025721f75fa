#include "LayoutDocument.h"

#include "ScratchPlatform.h"

#include <QFileInfo>

void LayoutDocument::setFile(const QString &path, const Layout &content, const LayoutFile::FileStamp &stamp)
{
    m_path = path;
    m_saved = content;
    m_stamp = stamp;
    m_recovered = false;
}

void LayoutDocument::setRecovered(const QString &path, const LayoutFile::FileStamp &stamp)
{
    m_path = path;
    m_saved = Layout{};
    m_stamp = stamp;
    m_recovered = true;
}

QString LayoutDocument::fileName() const
{
    QString name = ScratchPlatform::displayPath(QFileInfo(m_path).fileName());
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return name;
}

bool LayoutDocument::isModified(const Layout &current) const
{
    // The lists share their data with the file's copy until either changes,
    // so an unchanged list compares at once.
    return m_recovered || current != m_saved;
}

QString LayoutDocument::caption(const Layout &current) const
{
    if (!hasFile())
        return m_recovered ? u"*未命名 - " % programName() : programName();
    return (isModified(current) ? QStringLiteral("*") : QString()) % fileName() % u" - " % programName();
}

QString LayoutDocument::closeQuestion() const
{
    if (!hasFile())
        return QStringLiteral("页面尚未保存，是否保存？");
    return u"布局已修改，是否保存到 " % fileName() % u"？";
}

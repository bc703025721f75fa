#include "ScratchPlatform.h"

#include <QDir>
#include <QStringConverter>

#ifdef Q_OS_WIN
#  include <windows.h>
#endif

namespace ScratchPlatform {

#ifdef Q_OS_WIN

QString directory()
{
    return QStringLiteral("c:/");
}

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

QString encodingName()
{
    return QStringLiteral("windows-%1").arg(GetACP());
}

#else

QString directory()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    // An unset or relative value is ignored, as the XDG rules require.
    if (cache.isEmpty() || QDir::isRelativePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(cache + QStringLiteral("/zanfor-layout")) + u'/';
}

QByteArray encode(const QString &text)
{
    return text.toUtf8();
}

QString decode(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

QString encodingName()
{
    return QStringLiteral("UTF-8");
}

#endif

} // namespace ScratchPlatform

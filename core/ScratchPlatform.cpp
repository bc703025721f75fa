#include "ScratchPlatform.h"

#include <QDir>
#include <QFile>
#include <QStringConverter>

#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#  include <windows.h>
#endif

namespace ScratchPlatform {

#ifdef Q_OS_WIN

QString directory(int copy)
{
    if (copy > 1)
        return QStringLiteral("c:/zanfor-layout-%1/").arg(copy);
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

Result<> replaceFile(const QString &source, const QString &target)
{
    const QString from = QDir::toNativeSeparators(source);
    const QString to = QDir::toNativeSeparators(target);
    if (MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()), reinterpret_cast<const wchar_t *>(to.utf16()),
                    MOVEFILE_REPLACE_EXISTING))
        return {};
    return Failure{qt_error_string(int(GetLastError()))};
}

#else

QString directory(int copy)
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    // An unset or relative value is ignored, as the XDG rules require.
    if (cache.isEmpty() || QDir::isRelativePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    QString folder = cache + QStringLiteral("/zanfor-layout");
    if (copy > 1)
        folder += u'-' + QString::number(copy);
    return QDir::cleanPath(folder) + u'/';
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

Result<> replaceFile(const QString &source, const QString &target)
{
    // rename() replaces an existing target atomically.
    if (::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
        return {};
    return Failure{qt_error_string(errno)};
}

#endif

} // namespace ScratchPlatform

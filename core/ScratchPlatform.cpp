#include "ScratchPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef Q_OS_WIN
#  include <windows.h>
#else
#  include <QRandomGenerator>
#  include <QUtf8StringView>

#  include <dirent.h>
#  include <fcntl.h>
#  include <sys/stat.h>
#  include <unistd.h>
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

Result<QString> findFile(const QString &path)
{
    // Windows names are UTF-16 and Qt keeps them exactly.
    return path;
}

QString displayPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

FileStatus fileStatus(const QString &path)
{
    const QFileInfo info(path);
    FileStatus status;
    if (!info.exists())
        return status;
    status.kind = info.isDir() ? FileStatus::Folder : info.isFile() ? FileStatus::Regular : FileStatus::Other;
    status.size = info.size();
    status.modified = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return status;
}

Result<QByteArray> readFile(const QString &path, qint64 maxBytes, FileStatus *status)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{file.errorString()};
    if (status)
        *status = fileStatus(path);
    QByteArray bytes(qsizetype(std::min(maxBytes, file.size())), Qt::Uninitialized);
    const qint64 read = file.read(bytes.data(), bytes.size());
    if (read < 0)
        return Failure{file.errorString()};
    bytes.truncate(qsizetype(read));
    return bytes;
}

Result<qint64> writeFileWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, with a short write retried, so that the write that fails
    // reports why (disk full, file too large): QSaveFile would otherwise
    // accept a short write and say nothing.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Failure{file.errorString()};
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return Failure{reason};
        }
        done += written;
    }
    if (!file.commit())
        return Failure{file.errorString()};
    return fileStatus(path).modified;
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

namespace {

// A name's bytes as text: UTF-8, and each byte that is not part of a valid
// sequence as the lone surrogate U+DC00 + byte, which no UTF-8 name holds.
QString decodeName(const QByteArray &bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QString name;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto c = uchar(bytes.at(i));
        const qsizetype length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const QByteArrayView sequence = QByteArrayView(bytes).sliced(i, std::min(length, n - i));
        if (sequence.size() == length && QUtf8StringView(sequence).isValidUtf8()) {
            name += QString::fromUtf8(sequence);
            i += length;
        } else {
            name += QChar(0xDC00 + c);
            ++i;
        }
    }
    return name;
}

// The bytes of a path as decodeName() or Qt gave it.
QByteArray encodeName(const QString &path)
{
    QByteArray bytes;
    qsizetype start = 0;
    const qsizetype n = path.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = path.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && path.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            bytes += QStringView(path).sliced(start, i - start).toUtf8();
            bytes += char(c - 0xDC00);
            start = i + 1;
        }
    }
    if (start == 0)
        return QFile::encodeName(path);
    return bytes + QStringView(path).sliced(start).toUtf8();
}

qint64 modifiedTime(const struct stat &st)
{
#  ifdef Q_OS_MACOS
    return qint64(st.st_mtimespec.tv_sec) * 1000000000 + st.st_mtimespec.tv_nsec;
#  else
    return qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#  endif
}

FileStatus statusOf(const struct stat &st)
{
    FileStatus status;
    status.kind = S_ISDIR(st.st_mode) ? FileStatus::Folder
        : S_ISREG(st.st_mode)         ? FileStatus::Regular
                                      : FileStatus::Other;
    status.size = qint64(st.st_size);
    status.modified = modifiedTime(st);
    return status;
}

QString systemReason()
{
    return qt_error_string(errno);
}

// Writes all of `bytes`, retrying short and interrupted writes.
bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

Result<QString> findFile(const QString &path)
{
    if (!path.contains(QChar::ReplacementCharacter) || fileStatus(path).kind != FileStatus::Missing)
        return path;
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + u'/' + path;
    QString found;
    for (const QString &part : absolute.split(u'/', Qt::SkipEmptyParts)) {
        if (!part.contains(QChar::ReplacementCharacter)) {
            found += u'/' + part;
            continue;
        }
        DIR *dir = ::opendir(found.isEmpty() ? "/" : encodeName(found).constData());
        if (!dir)
            return path;
        QStringList matches;
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (QString::fromUtf8(name) == part)
                matches.append(decodeName(name));
        }
        ::closedir(dir);
        if (matches.isEmpty())
            return path;
        if (matches.size() > 1)
            return Failure{u"这个文件夹里有 " % QString::number(matches.size()) % u" 个文件的名称都显示为 \"" % part
                           % u"\"，无法分辨是哪一个"};
        found += u'/' + matches.constFirst();
    }
    return found;
}

QString displayPath(const QString &path)
{
    QString shown = path;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t c = shown.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate())
            ++i;
        else if (QChar::isSurrogate(c))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

FileStatus fileStatus(const QString &path)
{
    struct stat st;
    if (::stat(encodeName(path).constData(), &st) == 0)
        return statusOf(st);
    FileStatus status;
    if (errno != ENOENT && errno != ENOTDIR) {
        status.kind = FileStatus::Unknown;
        status.reason = systemReason();
    }
    return status;
}

Result<QByteArray> readFile(const QString &path, qint64 maxBytes, FileStatus *status)
{
    // Not blocking: a pipe put in the file's place meanwhile must not hang
    // the window.
    const int fd = ::open(encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Failure{systemReason()};
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const QString reason = systemReason();
        ::close(fd);
        return Failure{reason};
    }
    if (status)
        *status = statusOf(st);
    QByteArray bytes(qsizetype(std::min<qint64>(maxBytes, std::max<qint64>(st.st_size, 0))), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t read = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0) {
            const QString reason = systemReason();
            ::close(fd);
            return Failure{reason};
        }
        if (read == 0)
            break;
        done += read;
    }
    ::close(fd);
    bytes.truncate(done);
    return bytes;
}

Result<qint64> writeFileWhole(const QString &path, const QByteArray &bytes)
{
    QByteArray target = encodeName(path);
    // A link stays a link: the file it points to is the one replaced.
    struct stat st;
    if (::lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char *real = ::realpath(target.constData(), nullptr)) {
            target = real;
            ::free(real);
        }
    }
    const bool replacing = ::stat(target.constData(), &st) == 0;
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);

    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100))
            return Failure{systemReason()};
    }
    const auto fail = [&] {
        const QString reason = systemReason();
        ::close(fd);
        ::unlink(temporary.constData());
        return Failure{reason};
    };
    if (replacing)
        (void)::fchmod(fd, st.st_mode & 07777);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return fail();
    struct stat written;
    if (::fstat(fd, &written) != 0)
        return fail();
    if (::close(fd) != 0) {
        const QString reason = systemReason();
        ::unlink(temporary.constData());
        return Failure{reason};
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const QString reason = systemReason();
        ::unlink(temporary.constData());
        return Failure{reason};
    }
    // The rename itself reaches the disk with the folder.
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return modifiedTime(written);
}

#endif

} // namespace ScratchPlatform

#include "ScratchFiles.h"

#include "ScratchFolder.h"
#include "ScratchPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace {

// Creates the folder and any missing parent; a failure carries the
// system's reason (a file standing where a folder should be, no right to
// write there).
Result<> makeFolder(const QString &folder)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder.toStdU16String()), error);
    if (error)
        return Failure{QString::fromLocal8Bit(error.message())};
    return {};
}

} // namespace

Result<> SaveFileWriter::write(const QString &path, const QByteArray &bytes)
{
    if (Result<> folder = makeFolder(QFileInfo(path).absolutePath()); !folder)
        return folder;
    // The bytes go to a new file beside the target, which then replaces the
    // target in one rename: a reader (the web view) sees the old file or the
    // new one, never part of one, and a failed write leaves the old file as
    // it was. Unlike QSaveFile this does not wait for the disk (fsync): the
    // scratch files are rewritten at every preview and need not outlive a
    // power cut, and that wait was most of the time a style click spent.
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    // Unbuffered, so every write reaches the system here and reports its
    // own failure; a short write is retried, so the system's reason for the
    // failure (disk full, file too large) is the one reported. (The open
    // with a mode is reached through QFile, where it is public.)
    QFile &plain = file;
    if (!plain.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return Failure{file.errorString()};
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return Failure{file.errorString()}; // the temporary file removes itself
        done += written;
    }
    // The name is asked for before closing: a file the system created
    // without one gets it now.
    const QString temporaryName = file.fileName();
    file.close();
    if (temporaryName.isEmpty())
        return Failure{file.errorString()};
    if (Result<> replaced = ScratchPlatform::replaceFile(temporaryName, path); !replaced)
        return replaced;
    file.setAutoRemove(false); // it is the target now
    return {};
}

ScratchFiles::ScratchFiles()
    : ScratchFiles(ScratchPlatform::directory(), std::make_unique<SaveFileWriter>())
{
    // Without a folder of its own (no right to create or lock one) the copy
    // uses the usual folder, whose writes report their own failures.
    const Result<std::shared_ptr<ScratchFolder>> folder = ScratchFolder::take(&ScratchPlatform::directory);
    if (!folder)
        return;
    m_folder = *folder;
    m_listPath = m_folder->path() + ListName;
    m_previewPath = m_folder->path() + PreviewName;
}

ScratchFiles::ScratchFiles(const QString &directory, std::unique_ptr<FileWriter> writer)
    : m_writer(std::move(writer))
{
    QString folder = directory;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    m_listPath = folder + ListName;
    m_previewPath = folder + PreviewName;
}

ScratchFiles::~ScratchFiles() = default;

Result<> ScratchFiles::write(const QString &path, const QByteArray &bytes)
{
    const Result<> written = m_writer->write(path, bytes);
    if (written)
        return written;
    return Failure{
        QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), written.error())};
}

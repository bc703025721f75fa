#include "ScratchFiles.h"

#include "ScratchFolder.h"
#include "ScratchPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

// Opens a new file beside `path`, named `path` + "." + six random letters
// or digits. A name already taken (another copy of the program writing at
// the same moment) is tried again with another; any other failure carries
// its reason.
Result<> createBeside(const QString &path, QFile &file)
{
    static const QLatin1String letters("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    constexpr int Attempts = 16;
    for (int i = 0; i < Attempts; ++i) {
        QString name = path + u'.';
        for (int k = 0; k < 6; ++k)
            name += letters.at(QRandomGenerator::global()->bounded(int(letters.size())));
        file.setFileName(name);
        // Unbuffered, so every write reaches the system here and reports
        // its own failure.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return {};
        if (!file.exists())
            break;
    }
    return Failure{file.errorString()};
}

// A short write is retried, so the system's reason for a failure (disk
// full, file too large) is the one reported.
Result<> writeAll(QFile &file, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return Failure{file.errorString()};
        done += written;
    }
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
    //
    // A plain file rather than a QTemporaryFile: that one's close() only
    // rewinds and keeps the file open under a name it owns, so the system's
    // answer to the real close came after the rename, unheard, and on
    // Windows the rename met a file still open. Here the file is closed
    // before the rename, and removed by its name whatever step fails.
    QFile file;
    Result<> done = createBeside(path, file);
    if (!done)
        return done;
    done = writeAll(file, bytes);
    file.close();
    if (done && file.error() != QFileDevice::NoError)
        done = Failure{file.errorString()};
    if (done)
        done = ScratchPlatform::replaceFile(file.fileName(), path);
    if (!done)
        QFile::remove(file.fileName());
    return done;
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

int ScratchFiles::copy() const
{
    return m_folder ? m_folder->copy() : 1;
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

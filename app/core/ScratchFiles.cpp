#include "ScratchFiles.h"

#include "ScratchPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

bool SaveFileWriter::write(const QString &path, const QByteArray &bytes, QString *reason)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *reason = QFileInfo(folder).exists() ? QStringLiteral("A file stands where the folder should be.")
                                             : QStringLiteral("The folder cannot be created.");
        return false;
    }
    if (QFileInfo(path).isDir()) {
        *reason = QStringLiteral("A folder stands where the file should be.");
        return false;
    }
    // Unbuffered, so every write reaches the system here and a failure shows
    // before commit(): a buffered write that fails only when commit() flushes
    // it is not reported by QSaveFile, which would then replace the old file
    // with a truncated one. A short write is retried, so the system's reason
    // for the failure (disk full, file too large) is the one reported.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            *reason = file.errorString();
            file.cancelWriting();
            return false;
        }
        done += written;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

ScratchFiles::ScratchFiles()
    : ScratchFiles(ScratchPlatform::directory(), std::make_unique<SaveFileWriter>())
{
}

ScratchFiles::ScratchFiles(const QString &directory, std::unique_ptr<FileWriter> writer)
    : m_writer(std::move(writer))
{
    QString folder = directory;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    m_listPath = folder + QStringLiteral("files.txt");
    m_previewPath = folder + QStringLiteral("files.html");
}

ScratchFiles::~ScratchFiles() = default;

QString ScratchFiles::write(const QString &path, const QByteArray &bytes)
{
    QString reason;
    if (m_writer->write(path, bytes, &reason))
        return {};
    return QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason);
}

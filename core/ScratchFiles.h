#pragma once

#include "Result.h"

#include <QByteArray>
#include <QLatin1String>
#include <QString>

#include <memory>

class ScratchFolder;

// Writes one whole file; a failure carries the system's reason alone.
class FileWriter
{
public:
    virtual ~FileWriter() = default;
    virtual Result<> write(const QString &path, const QByteArray &bytes) = 0;
};

// Writes through a temporary file in the same folder and a rename, creating
// the folder when it is missing, so a failure never leaves a half-written file.
class SaveFileWriter : public FileWriter
{
public:
    Result<> write(const QString &path, const QByteArray &bytes) override;
};

// The two scratch files through which previews reach the web view: the list
// file (every snippet of the page) and the preview file (what the view shows).
class ScratchFiles
{
public:
    static constexpr QLatin1String ListName{"files.txt"};
    static constexpr QLatin1String PreviewName{"files.html"};

    // This running copy's own folder (ScratchFolder) and a SaveFileWriter.
    ScratchFiles();
    // A given folder (ending in a separator or not) and writer, for tests.
    ScratchFiles(const QString &directory, std::unique_ptr<FileWriter> writer);
    ~ScratchFiles();

    QString listPath() const { return m_listPath; }
    // This running copy's number (1, 2, ...): 1 for a folder given by hand.
    int copy() const;
    QString previewPath() const { return m_previewPath; }

    // Writes the bytes as the whole file. A failure's message is the one to
    // show: Cannot create file "<path>". <reason>
    Result<> write(const QString &path, const QByteArray &bytes);

private:
    std::shared_ptr<ScratchFolder> m_folder;
    QString m_listPath;
    QString m_previewPath;
    std::unique_ptr<FileWriter> m_writer;
};

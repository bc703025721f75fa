#pragma once

// Fixtures the tests share: a workspace over a fresh scratch folder, a
// file's bytes, a small page, and Add as the window runs it.

#include "Generator.h"
#include "Workspace.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A page of `count` small items under a shop type.
inline Layout sampleLayout(int shopType, int count)
{
    Layout layout{shopType, {}, {}};
    for (int i = 0; i < count; ++i) {
        layout.names.append(QStringLiteral("  样式-%1").arg(i));
        layout.snippets.append(QStringLiteral("<p>%1</p>\r\n").arg(i));
    }
    return layout;
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<missing>");
    return f.readAll();
}

// A workspace whose scratch files live in a fresh temporary folder.
struct TemporaryWorkspace
{
    TemporaryWorkspace()
        : ws(std::make_unique<ScratchFiles>(tmp.path(), std::make_unique<SaveFileWriter>()))
    {
    }
    QString path(const QString &file) const { return tmp.filePath(file); }
    QByteArray preview() const { return readBytes(path(QStringLiteral("files.html"))); }

    // Add as the window runs it: the frame's entry goes to the end of the
    // list. False when the frame refused.
    bool add(SectionFrame &frame, const SectionInputs &inputs)
    {
        const Result<GeneratedItem> item = frame.add(inputs);
        if (item)
            ws.items().append(item->snippet, item->name);
        return item.ok();
    }
    void addCustom(SectionFrame &frame, const QString &snippet, const QString &name)
    {
        SectionInputs inputs;
        inputs.name = name;
        const GeneratedItem item = frame.addCustom(snippet, inputs);
        ws.items().append(item.snippet, item.name);
    }

    QTemporaryDir tmp;
    Workspace ws;
};

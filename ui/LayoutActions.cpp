#include "LayoutActions.h"

#include "LayoutCommands.h"
#include "UserPrompts.h"
#include "WindowShortcuts.h"
#include "Workspace.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QUndoStack>
#include <QWidget>

namespace {

QString layoutFilter()
{
    return QStringLiteral("布局文件 (*.zlayout)");
}

QString htmlFilter()
{
    return QStringLiteral("HTML 文件 (*.html *.htm)");
}

} // namespace

LayoutActions::LayoutActions(Workspace &workspace, QUndoStack &undo, UserPrompts &prompts, QWidget *window)
    : QObject(window)
    , m_workspace(workspace)
    , m_undo(undo)
    , m_prompts(prompts)
    , m_window(window)
    , m_recentMenu(new QMenu(QStringLiteral("最近的布局"), window))
{
    auto *shortcuts = new WindowShortcuts(window);
    const auto action = [&](const QString &text, QKeyCombination keys, auto run) {
        auto *a = new QAction(text, window);
        a->setShortcut(keys);
        connect(a, &QAction::triggered, this, run);
        window->addAction(a);
        shortcuts->add(a);
        return a;
    };
    m_save = action(QStringLiteral("保存"), Qt::CTRL | Qt::Key_S, [this] { save(); });
    m_saveAs = action(QStringLiteral("另存为…"), Qt::CTRL | Qt::SHIFT | Qt::Key_S, [this] { saveAs(); });
    m_open = action(QStringLiteral("打开…"), Qt::CTRL | Qt::Key_O, [this] { open(); });
    m_insert = action(QStringLiteral("插入布局…"), Qt::CTRL | Qt::SHIFT | Qt::Key_O, [this] { insert(); });
    m_export = action(QStringLiteral("导出页面为 HTML…"), Qt::CTRL | Qt::Key_E, [this] { exportPage(); });

    m_recentMenu->setObjectName(QStringLiteral("recentLayouts"));
    // Read when shown: another copy of the program may have changed it.
    connect(m_recentMenu, &QMenu::aboutToShow, this, &LayoutActions::fillRecentMenu);

    // Every change of the list is a step on the stack, so the caption
    // follows the list through that one signal.
    connect(&m_undo, &QUndoStack::indexChanged, this, &LayoutActions::refreshCaption);
    refreshCaption();
}

bool LayoutActions::save()
{
    return m_document.hasFile() ? saveTo(m_document.path()) : saveAs();
}

bool LayoutActions::saveAs()
{
    const QString suggested = m_document.hasFile() ? m_document.path() : startFolder();
    const QString path = m_prompts.askSaveFile(QStringLiteral("保存布局"), suggested, layoutFilter(),
                                               LayoutFile::suffix());
    return !path.isEmpty() && saveTo(path);
}

bool LayoutActions::saveTo(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    const Layout layout = m_workspace.layout();
    if (const Result<> saved = LayoutFile::save(file, layout); !saved) {
        m_prompts.error(saved.error());
        return false;
    }
    m_document.setFile(file, layout);
    m_recent.add(file);
    refreshCaption();
    return true;
}

void LayoutActions::open()
{
    const QString path = m_prompts.askOpenFile(QStringLiteral("打开布局"), startFolder(), layoutFilter());
    if (!path.isEmpty())
        openFile(path);
}

bool LayoutActions::openFile(const QString &path)
{
    const QString file = QFileInfo(path).absoluteFilePath();
    const Result<Layout> opened = LayoutFile::open(file);
    if (!opened) {
        m_prompts.error(opened.error());
        return false;
    }
    // Undo would bring the changes back, but once another file is the
    // document nothing would ask about them on closing.
    if (!settleChanges())
        return false;
    // The file first, so the caption the new step brings names it.
    m_document.setFile(file, *opened);
    m_undo.push(new OpenLayoutCommand(m_workspace, *opened));
    m_recent.add(file);
    refreshCaption();
    return true;
}

void LayoutActions::insert()
{
    const QString path = m_prompts.askOpenFile(QStringLiteral("插入布局"), startFolder(), layoutFilter());
    if (path.isEmpty())
        return;
    const Result<Layout> inserted = LayoutFile::open(QFileInfo(path).absoluteFilePath());
    if (!inserted) {
        m_prompts.error(inserted.error());
        return;
    }
    // An empty file adds nothing, and no step that undoes nothing.
    if (!inserted->names.isEmpty())
        m_undo.push(new InsertLayoutCommand(m_workspace.items(), *inserted));
}

void LayoutActions::exportPage()
{
    QString suggested = startFolder();
    if (m_document.hasFile()) {
        const QFileInfo file(m_document.path());
        suggested = file.dir().filePath(file.completeBaseName() + QStringLiteral(".html"));
    }
    const QString path = m_prompts.askSaveFile(QStringLiteral("导出页面为 HTML"), suggested, htmlFilter(),
                                               QStringLiteral("html"));
    if (path.isEmpty())
        return;
    if (const Result<> exported = LayoutFile::exportPage(path, m_workspace.items().snippets()); !exported)
        m_prompts.error(exported.error());
}

void LayoutActions::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        m_recent.remove(path);
        m_prompts.error(u"无法打开布局文件 \"" % QDir::toNativeSeparators(path)
                        % u"\"：文件不存在，已从最近的布局中移除");
        return;
    }
    openFile(path);
}

void LayoutActions::fillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList paths = m_recent.paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QString shown = QDir::toNativeSeparators(paths.at(i));
        shown.replace(u'&', QStringLiteral("&&")); // a lone & would mark a key
        QAction *entry = m_recentMenu->addAction(u'&' % QString::number(i + 1) % u' ' % shown);
        connect(entry, &QAction::triggered, this, [this, path = paths.at(i)] { openRecent(path); });
    }
    if (paths.isEmpty())
        m_recentMenu->addAction(QStringLiteral("（无）"))->setEnabled(false);
}

QString LayoutActions::startFolder() const
{
    if (m_document.hasFile())
        return QFileInfo(m_document.path()).absolutePath();
    const QStringList recent = m_recent.paths();
    return recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.constFirst()).absolutePath();
}

void LayoutActions::refreshCaption()
{
    m_window->setWindowTitle(m_document.caption(m_workspace.layout()));
}

bool LayoutActions::confirmClose()
{
    return settleChanges();
}

bool LayoutActions::settleChanges()
{
    if (!m_document.isModified(m_workspace.layout()))
        return true;
    switch (m_prompts.askSaveChanges(m_document.closeQuestion())) {
    case UserPrompts::SaveAnswer::Save:
        return save();
    case UserPrompts::SaveAnswer::Discard:
        return true;
    case UserPrompts::SaveAnswer::Cancel:
        break;
    }
    return false;
}

#include "LayoutActions.h"

#include "LayoutCommands.h"
#include "ScratchPlatform.h"
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
    if (!m_document.hasFile())
        return saveAs();
    // Another program, or another copy of this one, may have written the
    // file since: its work is not overwritten without a word.
    if (!LayoutFile::isUnchanged(m_document.path(), m_document.stamp())
        && !m_prompts.askYesNo(u"布局文件 " % m_document.fileName() % u" 已在别处修改。仍要覆盖吗？",
                               QStringLiteral("覆盖"), QStringLiteral("取消"), false))
        return false;
    return saveTo(m_document.path());
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
    LayoutFile::FileStamp stamp;
    if (const Result<> saved = LayoutFile::save(file, layout, &stamp); !saved) {
        m_prompts.error(saved.error());
        return false;
    }
    m_document.setFile(file, layout, stamp);
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

Result<Layout> LayoutActions::read(const QString &path, QString *file, LayoutFile::FileStamp *stamp)
{
    const Result<QString> found = LayoutFile::locate(path);
    if (!found)
        return Failure{found.error()};
    *file = *found;
    return LayoutFile::open(*file, LayoutFile::MaxBytes, stamp);
}

bool LayoutActions::openFile(const QString &path)
{
    QString file;
    LayoutFile::FileStamp stamp;
    Result<Layout> opened = read(path, &file, &stamp);
    if (!opened) {
        m_prompts.error(opened.error());
        return false;
    }
    // Undo would bring the changes back, but once another file is the
    // document nothing would ask about them on closing.
    const QString previous = m_document.path();
    switch (settleChanges()) {
    case Settled::Cancelled:
        return false;
    case Settled::Saved:
        // The file being opened may be the one just saved: what it holds
        // now is what opens, not what it held before the question.
        if (previous == file) {
            opened = read(file, &file, &stamp);
            if (!opened) {
                m_prompts.error(opened.error());
                return false;
            }
        }
        break;
    case Settled::Unchanged:
    case Settled::Discarded:
        break;
    }
    // The file first, so the caption the new step brings names it.
    m_document.setFile(file, *opened, stamp);
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
    QString file;
    const Result<Layout> inserted = read(path, &file, nullptr);
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
    const Result<QString> found = LayoutFile::locate(path);
    if (found && ScratchPlatform::fileStatus(*found).kind == ScratchPlatform::FileStatus::Missing) {
        m_recent.remove(path);
        m_prompts.error(u"无法打开布局文件 \"" % ScratchPlatform::displayPath(path)
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
        QString shown = ScratchPlatform::displayPath(paths.at(i));
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

void LayoutActions::recover(const Layout &page, const LayoutFile::Origin &origin)
{
    QString file = origin.file;
    if (!file.isEmpty()) {
        // Kept with U+FFFD for bytes of its name that are not text.
        if (const Result<QString> found = LayoutFile::locate(file))
            file = *found;
    }
    m_document.setRecovered(file, origin.stamp);
    auto *step = new OpenLayoutCommand(m_workspace, page);
    step->setText(QStringLiteral("恢复"));
    m_undo.push(step);
    refreshCaption();
}

LayoutFile::Origin LayoutActions::origin() const
{
    return {m_document.path(), m_document.isModified(m_workspace.layout()), m_document.stamp()};
}

void LayoutActions::refreshCaption()
{
    m_window->setWindowTitle(m_document.caption(m_workspace.layout()));
    emit pageChanged();
}

bool LayoutActions::confirmClose()
{
    return settleChanges() != Settled::Cancelled;
}

LayoutActions::Settled LayoutActions::settleChanges()
{
    if (!m_document.isModified(m_workspace.layout()))
        return Settled::Unchanged;
    switch (m_prompts.askSaveChanges(m_document.closeQuestion())) {
    case UserPrompts::SaveAnswer::Save:
        return save() ? Settled::Saved : Settled::Cancelled;
    case UserPrompts::SaveAnswer::Discard:
        return Settled::Discarded;
    case UserPrompts::SaveAnswer::Cancel:
        break;
    }
    return Settled::Cancelled;
}

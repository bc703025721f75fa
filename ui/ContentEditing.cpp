#include "ContentEditing.h"

#include "DialogFit.h"
#include "ItemCommands.h"
#include "ItemEditor.h"
#include "PageAssetsDialog.h"
#include "PreviewView.h"
#include "SampleAddresses.h"
#include "UserPrompts.h"
#include "Workspace.h"

#include <QUndoStack>

ContentEditing::ContentEditing(Workspace &workspace, QUndoStack &undo, UserPrompts &prompts, PreviewView &view,
                               QWidget *window)
    : QObject(window)
    , m_workspace(workspace)
    , m_undo(undo)
    , m_prompts(prompts)
    , m_view(view)
    , m_window(window)
    , m_samples(SampleAddresses::everySampleAddress())
{
}

void ContentEditing::editItem(int row, qsizetype focusAt)
{
    GeneratedItems &items = m_workspace.items();
    if (row < 0 || row >= items.count())
        return;
    const QString snippet = items.snippet(row);
    const QString name = items.name(row);
    ContentPieces pieces(snippet);
    // The field to start in: the name's comes first, then one per piece.
    int field = -1;
    for (std::size_t i = 0; i < pieces.pieces().size() && focusAt >= 0; ++i) {
        if (pieces.pieces()[i].start == focusAt)
            field = int(i) + 1;
    }
    // Every entry has a name to edit, whether or not its snippet has pieces.
    ItemEditor editor(name, std::move(pieces), m_samples, m_prompts, m_window);
    if (field >= 0)
        editor.setStartField(field);
    new DialogFit(&editor, &m_view);
    connect(&editor, &ItemEditor::previewChanged, this, [this](const QString &edited) { preview(edited); });
    // One message per editing session: a full disk would otherwise answer
    // every pause in typing with another box.
    m_previewFailureShown = false;
    // The entry from its top, whichever page was scrolled down before; the
    // edits that follow keep the place the seller scrolls to.
    preview(snippet, true);
    if (editor.exec() == QDialog::Accepted && (editor.editedSnippet() != snippet || editor.editedName() != name)) {
        m_undo.push(new EditItemCommand(items, row, {editor.editedName(), editor.editedSnippet()}));
    }
    preview(items.snippet(row));
}

void ContentEditing::editPageAddresses()
{
    const QStringList snippets = m_workspace.items().snippets();
    if (snippets.isEmpty()) {
        m_prompts.notice(QStringLiteral("生成项目是空的，还没有图片和链接"));
        return;
    }
    std::vector<PageAddress> addresses = collectPageAddresses(snippets);
    if (addresses.empty()) {
        m_prompts.notice(QStringLiteral("生成项目中没有图片和链接"));
        return;
    }

    PageAssetsDialog dialog(snippets, std::move(addresses), m_samples, m_prompts, m_window);
    new DialogFit(&dialog, &m_view);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PageReplacement &replacement = dialog.replacement();
    if (replacement.changedItems.empty())
        return;
    std::vector<ReplaceSnippetsCommand::Change> changes;
    changes.reserve(replacement.changedItems.size());
    for (const int i : replacement.changedItems)
        changes.push_back({i, replacement.snippets.at(i)});
    m_undo.push(new ReplaceSnippetsCommand(m_workspace.items(), std::move(changes), QStringLiteral("图片链接")));
}

void ContentEditing::preview(const QString &snippet, bool fromTop)
{
    const PreviewResult written = m_workspace.output().itemPreview(snippet);
    if (written) {
        fromTop ? m_view.showFileFromTop(*written) : m_view.showFile(*written);
    } else if (!m_previewFailureShown) {
        m_previewFailureShown = true;
        m_prompts.error(written.error());
    }
}

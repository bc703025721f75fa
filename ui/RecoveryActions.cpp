#include "RecoveryActions.h"

#include "LayoutActions.h"
#include "PageRecovery.h"
#include "UserPrompts.h"
#include "Workspace.h"

RecoveryActions::RecoveryActions(std::shared_ptr<RecoveryStore> store, Workspace &workspace,
                                 LayoutActions &layoutActions, UserPrompts &prompts, QObject *parent)
    : QObject(parent)
    , m_store(std::move(store))
    , m_layoutActions(layoutActions)
    , m_prompts(prompts)
{
    m_store->keepEarlier();
    m_writer = new RecoveryWriter(
        m_store,
        [&workspace, &layoutActions] {
            const LayoutFile::Origin origin = layoutActions.origin();
            // Nothing to recover from a page its file holds, or from the
            // empty page of a new window.
            return RecoveryWriter::Snapshot{origin.modified, workspace.layout(), origin};
        },
        this);
    connect(&layoutActions, &LayoutActions::pageChanged, m_writer, &RecoveryWriter::changed);
    connect(m_writer, &RecoveryWriter::writeFailed, this, [this](const QString &message) {
        if (!message.isEmpty())
            m_prompts.error(message);
    });
}

void RecoveryActions::offer()
{
    for (const QString &path : m_store->leftOvers()) {
        const Result<RecoveredPage> page = m_store->claim(path);
        if (!page) {
            if (!page.error().isEmpty())
                m_prompts.error(page.error());
            continue;
        }
        if (m_prompts.askYesNo(QStringLiteral("上次的页面没有正常关闭。要恢复它吗？"), QStringLiteral("恢复"),
                               QStringLiteral("放弃"), true)) {
            // Ours from now on: kept until this copy has written its own.
            m_store->adopt(*page);
            m_layoutActions.recover(page->layout, page->origin);
        } else {
            m_store->discard(*page);
        }
        return;
    }
}

void RecoveryActions::finish()
{
    m_writer->finish();
}

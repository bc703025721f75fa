#pragma once

#include <QObject>

#include <memory>

class LayoutActions;
class RecoveryStore;
class RecoveryWriter;
class UserPrompts;
class Workspace;

// The recovery copy in the window: written after every change to the page
// (the list, the shop type, the file it belongs to), removed on a clean
// end, and offered back at the next start.
class RecoveryActions : public QObject
{
    Q_OBJECT
public:
    RecoveryActions(std::shared_ptr<RecoveryStore> store, Workspace &workspace, LayoutActions &layoutActions,
                    UserPrompts &prompts, QObject *parent);

    // Asks, once, whether to give back the newest copy no running copy
    // holds; copies that cannot be read are set aside with a message.
    void offer();
    // A clean end: the copy goes.
    void finish();

    RecoveryWriter *writer() const { return m_writer; }

private:
    std::shared_ptr<RecoveryStore> m_store;
    LayoutActions &m_layoutActions;
    UserPrompts &m_prompts;
    RecoveryWriter *m_writer;
};

#include "GeneratedItems.h"

void GeneratedItems::append(const QString &snippet, const QString &name)
{
    insert(count(), snippet, name);
}

void GeneratedItems::insert(int i, const QString &snippet, const QString &name)
{
    if (i < 0 || i > count())
        return;
    if (m_listener)
        m_listener->aboutToInsert(i);
    // The snippet goes in first, then its name.
    m_snippets.insert(i, snippet);
    m_names.insert(i, name);
    if (m_listener)
        m_listener->inserted();
}

static bool move(GeneratedItems::Listener *listener, QStringList &names, QStringList &snippets, int from, int to)
{
    if (listener)
        listener->aboutToMove(from, to);
    names.move(from, to);
    snippets.move(from, to);
    if (listener)
        listener->moved();
    return true;
}

bool GeneratedItems::moveUp(int i)
{
    return canMoveUp(i, count()) && move(m_listener, m_names, m_snippets, i, i - 1);
}

bool GeneratedItems::moveDown(int i)
{
    return canMoveDown(i, count()) && move(m_listener, m_names, m_snippets, i, i + 1);
}

bool GeneratedItems::remove(int i)
{
    if (i < 0 || i >= count())
        return false;
    if (m_listener)
        m_listener->aboutToRemove(i);
    m_names.removeAt(i);
    m_snippets.removeAt(i);
    if (m_listener)
        m_listener->removed();
    return true;
}

bool GeneratedItems::replaceSnippet(int i, const QString &snippet)
{
    if (i < 0 || i >= count())
        return false;
    m_snippets[i] = snippet;
    return true;
}

bool GeneratedItems::clear()
{
    if (count() == 0)
        return false;
    assign({}, {});
    return true;
}

void GeneratedItems::assign(const QStringList &snippets, const QStringList &names)
{
    Q_ASSERT(snippets.size() == names.size());
    if (snippets.size() != names.size())
        return;
    if (m_listener)
        m_listener->aboutToReset();
    m_snippets = snippets;
    m_names = names;
    if (m_listener)
        m_listener->reset();
}

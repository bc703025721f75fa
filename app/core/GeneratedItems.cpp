#include "GeneratedItems.h"

void GeneratedItems::append(const QString &snippet, const QString &name)
{
    // The snippet goes in first, then its name.
    m_snippets.append(snippet);
    m_names.append(name);
}

void GeneratedItems::insert(int i, const QString &snippet, const QString &name)
{
    m_snippets.insert(i, snippet);
    m_names.insert(i, name);
}

bool GeneratedItems::moveUp(int i)
{
    if (!canMoveUp(i, count()))
        return false;
    m_names.move(i, i - 1);
    m_snippets.move(i, i - 1);
    return true;
}

bool GeneratedItems::moveDown(int i)
{
    if (!canMoveDown(i, count()))
        return false;
    m_names.move(i, i + 1);
    m_snippets.move(i, i + 1);
    return true;
}

bool GeneratedItems::remove(int i)
{
    if (i < 0 || i >= count())
        return false;
    m_names.removeAt(i);
    m_snippets.removeAt(i);
    return true;
}

void GeneratedItems::clear()
{
    m_names.clear();
    m_snippets.clear();
}

void GeneratedItems::assign(const QStringList &snippets, const QStringList &names)
{
    Q_ASSERT(snippets.size() == names.size());
    if (snippets.size() != names.size())
        return;
    m_snippets = snippets;
    m_names = names;
}

#pragma once

#include <QString>
#include <QStringList>

// The page under construction: display names and snippets in two parallel
// lists of equal length whose entries match by position. Every operation
// changes both lists at the same index, so the pairing can never drift.
class GeneratedItems
{
public:
    int count() const { return int(m_names.size()); }
    const QStringList &names() const { return m_names; }
    const QStringList &snippets() const { return m_snippets; }
    QString name(int i) const { return m_names.at(i); }
    QString snippet(int i) const { return m_snippets.at(i); }

    void append(const QString &snippet, const QString &name);
    void insert(int i, const QString &snippet, const QString &name);

    static bool canMoveUp(int i, int count) { return i >= 1 && i < count; }
    static bool canMoveDown(int i, int count) { return i >= 0 && i < count - 1; }

    // Each returns false and changes nothing when the index does not allow it
    // (no selection is -1).
    bool moveUp(int i);
    bool moveDown(int i);
    bool remove(int i);
    void clear();

    // Replaces both lists at once (used by undo to restore a whole page).
    void assign(const QStringList &snippets, const QStringList &names);

private:
    QStringList m_names;
    QStringList m_snippets;
};

#pragma once

#include <QString>
#include <QStringList>

// One entry of the list: the name it shows and the snippet it stands for.
struct GeneratedItem
{
    QString name;
    QString snippet;
    bool operator==(const GeneratedItem &o) const { return name == o.name && snippet == o.snippet; }
};

// The page under construction: display names and snippets in two parallel
// lists of equal length whose entries match by position. Every operation
// changes both lists at the same index, so the pairing can never drift.
class GeneratedItems
{
public:
    // Told before and after every change, so a view can follow the lists.
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void aboutToInsert(int i) = 0;
        virtual void inserted() = 0;
        virtual void aboutToMove(int from, int to) = 0;
        virtual void moved() = 0;
        virtual void aboutToRemove(int i) = 0;
        virtual void removed() = 0;
        virtual void aboutToReset() = 0;
        virtual void reset() = 0;
    };
    void setListener(Listener *listener) { m_listener = listener; }

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
    // (no selection is -1), or for clear(), when the list is empty.
    bool moveUp(int i);
    bool moveDown(int i);
    bool remove(int i);
    bool clear();
    // Gives entry i a new snippet under the same name; false, changing
    // nothing, when there is no entry i. The names, and so the view, stay.
    bool replaceSnippet(int i, const QString &snippet);

    // Replaces both lists at once (used by undo to restore a whole page).
    void assign(const QStringList &snippets, const QStringList &names);

private:
    Listener *m_listener = nullptr;
    QStringList m_names;
    QStringList m_snippets;
};

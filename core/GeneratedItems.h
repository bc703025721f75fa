#pragma once

#include "Result.h"

#include <QList>
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
        // Entries first … last (new rows, both included) come in.
        virtual void aboutToInsert(int first, int last) = 0;
        virtual void inserted() = 0;
        // Entries first … last (both included) go.
        virtual void aboutToRemove(int first, int last) = 0;
        virtual void removed() = 0;
        // Entries change places, none comes or goes: entry i afterwards is
        // the one that stood at order[i].
        virtual void aboutToReorder() = 0;
        virtual void reordered(const QList<int> &order) = 0;
        // Entry i has a new name or snippet.
        virtual void changed(int i) = 0;
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

    // Each returns false and changes nothing when the index does not allow it
    // (no selection is -1), or for clear(), when the list is empty.
    bool remove(int i);
    bool clear();
    // Gives entry i a new snippet under the same name; false, changing
    // nothing, when there is no entry i. The names, and so the view, stay.
    bool replaceSnippet(int i, const QString &snippet);

    // A display name is one line of at least one character: anything else
    // fails with why.
    static Result<> checkName(const QString &name);
    // Gives entry i a new snippet and name; false, changing nothing, when
    // there is no entry i.
    bool replace(int i, const QString &snippet, const QString &name);

    // Replaces both lists at once (used by undo to restore a whole page).
    void assign(const QStringList &snippets, const QStringList &names);

    // Several entries at once. A selection is a list of rows, ascending and
    // distinct, each an entry of a list of `count` entries; an operation
    // given anything else changes nothing.
    static bool isSelection(const QList<int> &rows, int count);

    // New orders for the selected entries: entry i of an order is the row
    // of the entry that goes to row i. Each is empty when the move would
    // leave the list as it is. Up and down move every selected entry one
    // place, the others closing up; once the first (last) selected entry
    // is at the top (bottom) none moves.
    static QList<int> orderMovingUp(const QList<int> &rows, int count);
    static QList<int> orderMovingDown(const QList<int> &rows, int count);
    // The selected entries, in their order, to the place before entry `row`
    // (`count`: the end), the others closing up.
    static QList<int> orderMovingTo(const QList<int> &rows, int row, int count);
    // The order that puts the entries back.
    static QList<int> inverseOrder(const QList<int> &order);
    // Where the entries at `rows` stand once `order` is applied, ascending.
    static QList<int> rowsAfter(const QList<int> &order, const QList<int> &rows);

    // Puts the entries in `order`, one of the orders above, as one change
    // for the view; false, changing nothing, for anything but an order of
    // every entry.
    bool reorder(const QList<int> &order);
    // The entries at `rows`, which must be a selection.
    QList<GeneratedItem> entries(const QList<int> &rows) const;
    // Removes the selected entries; false when `rows` is no selection.
    bool removeRows(const QList<int> &rows);
    // Puts `entries` back so that they stand at `rows`, which undoes
    // removeRows(rows); false, changing nothing, when they cannot stand
    // there.
    bool insertRows(const QList<int> &rows, const QList<GeneratedItem> &entries);
    // Inserts a copy of each selected entry, in their order, right after the
    // last of them; the rows of the copies, empty when `rows` is no
    // selection.
    QList<int> duplicate(const QList<int> &rows);

private:
    // Makes `names` and `snippets` the lists, the entries at `rows` having
    // come in (`inserted`) or gone: for the view a block of rows is one
    // insertion or removal, scattered rows one reset.
    void take(QStringList &names, QStringList &snippets, const QList<int> &rows, bool inserted);

    Listener *m_listener = nullptr;
    QStringList m_names;
    QStringList m_snippets;
};

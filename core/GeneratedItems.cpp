#include "GeneratedItems.h"

#include "LineBreaks.h"

#include <vector>

namespace {

// Marks the rows among `count`.
std::vector<bool> marked(const QList<int> &rows, int count)
{
    std::vector<bool> marks(std::size_t(count), false);
    for (const int row : rows)
        marks[std::size_t(row)] = true;
    return marks;
}

QList<int> identity(int count)
{
    QList<int> order(count);
    for (int i = 0; i < count; ++i)
        order[i] = i;
    return order;
}

} // namespace

void GeneratedItems::append(const QString &snippet, const QString &name)
{
    insert(count(), snippet, name);
}

void GeneratedItems::insert(int i, const QString &snippet, const QString &name)
{
    if (i < 0 || i > count())
        return;
    if (m_listener)
        m_listener->aboutToInsert(i, i);
    // The snippet goes in first, then its name.
    m_snippets.insert(i, snippet);
    m_names.insert(i, name);
    if (m_listener)
        m_listener->inserted();
}

bool GeneratedItems::remove(int i)
{
    if (i < 0 || i >= count())
        return false;
    if (m_listener)
        m_listener->aboutToRemove(i, i);
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

Result<> GeneratedItems::checkName(const QString &name)
{
    if (name.isEmpty())
        return Failure{QStringLiteral("不能为空")};
    // The break characters layout files refuse in a name.
    if (withoutLineBreaks(name).size() != name.size())
        return Failure{QStringLiteral("不能含有换行")};
    return {};
}

bool GeneratedItems::replace(int i, const QString &snippet, const QString &name)
{
    if (i < 0 || i >= count())
        return false;
    m_snippets[i] = snippet;
    m_names[i] = name;
    if (m_listener)
        m_listener->changed(i);
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

bool GeneratedItems::isSelection(const QList<int> &rows, int count)
{
    if (rows.isEmpty() || rows.constFirst() < 0 || rows.constLast() >= count)
        return false;
    for (qsizetype k = 1; k < rows.size(); ++k) {
        if (rows.at(k) <= rows.at(k - 1))
            return false;
    }
    return true;
}

QList<int> GeneratedItems::orderMovingUp(const QList<int> &rows, int count)
{
    if (!isSelection(rows, count) || rows.constFirst() == 0)
        return {};
    // Each selected entry changes places with the entry above it, top down,
    // so a block of them moves as one and the entry above goes below it.
    QList<int> order = identity(count);
    for (const int row : rows)
        std::swap(order[row - 1], order[row]);
    return order;
}

QList<int> GeneratedItems::orderMovingDown(const QList<int> &rows, int count)
{
    if (!isSelection(rows, count) || rows.constLast() == count - 1)
        return {};
    QList<int> order = identity(count);
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        std::swap(order[*row], order[*row + 1]);
    return order;
}

QList<int> GeneratedItems::orderMovingTo(const QList<int> &rows, int row, int count)
{
    if (!isSelection(rows, count) || row < 0 || row > count)
        return {};
    const std::vector<bool> selected = marked(rows, count);
    QList<int> order;
    order.reserve(count);
    for (int i = 0; i < row; ++i) {
        if (!selected[std::size_t(i)])
            order.append(i);
    }
    order.append(rows);
    for (int i = row; i < count; ++i) {
        if (!selected[std::size_t(i)])
            order.append(i);
    }
    return order == identity(count) ? QList<int>() : order;
}

QList<int> GeneratedItems::inverseOrder(const QList<int> &order)
{
    QList<int> inverse(order.size());
    for (int i = 0; i < order.size(); ++i)
        inverse[order.at(i)] = i;
    return inverse;
}

QList<int> GeneratedItems::rowsAfter(const QList<int> &order, const QList<int> &rows)
{
    const std::vector<bool> selected = marked(rows, int(order.size()));
    QList<int> after;
    after.reserve(rows.size());
    for (int i = 0; i < order.size(); ++i) {
        if (selected[std::size_t(order.at(i))])
            after.append(i);
    }
    return after;
}

bool GeneratedItems::reorder(const QList<int> &order)
{
    if (order.size() != count())
        return false;
    std::vector<bool> seen(std::size_t(count()), false);
    for (const int from : order) {
        if (from < 0 || from >= count() || seen[std::size_t(from)])
            return false;
        seen[std::size_t(from)] = true;
    }
    QStringList names;
    QStringList snippets;
    names.reserve(count());
    snippets.reserve(count());
    for (const int from : order) {
        names.append(m_names.at(from));
        snippets.append(m_snippets.at(from));
    }
    if (m_listener)
        m_listener->aboutToReorder();
    m_names.swap(names);
    m_snippets.swap(snippets);
    if (m_listener)
        m_listener->reordered(order);
    return true;
}

QList<GeneratedItem> GeneratedItems::entries(const QList<int> &rows) const
{
    QList<GeneratedItem> out;
    out.reserve(rows.size());
    for (const int row : rows)
        out.append({m_names.at(row), m_snippets.at(row)});
    return out;
}

bool GeneratedItems::removeRows(const QList<int> &rows)
{
    if (!isSelection(rows, count()))
        return false;
    const std::vector<bool> selected = marked(rows, count());
    QStringList names;
    QStringList snippets;
    names.reserve(count() - rows.size());
    snippets.reserve(count() - rows.size());
    for (int i = 0; i < count(); ++i) {
        if (!selected[std::size_t(i)]) {
            names.append(m_names.at(i));
            snippets.append(m_snippets.at(i));
        }
    }
    take(names, snippets, rows, false);
    return true;
}

bool GeneratedItems::insertRows(const QList<int> &rows, const QList<GeneratedItem> &entries)
{
    const int total = count() + int(entries.size());
    if (rows.size() != entries.size() || !isSelection(rows, total))
        return false;
    QStringList names;
    QStringList snippets;
    names.reserve(total);
    snippets.reserve(total);
    qsizetype next = 0; // the next entry to put back
    int kept = 0;       // the next entry of the list as it is
    for (int i = 0; i < total; ++i) {
        if (next < rows.size() && rows.at(next) == i) {
            names.append(entries.at(next).name);
            snippets.append(entries.at(next).snippet);
            ++next;
        } else {
            names.append(m_names.at(kept));
            snippets.append(m_snippets.at(kept));
            ++kept;
        }
    }
    take(names, snippets, rows, true);
    return true;
}

void GeneratedItems::take(QStringList &names, QStringList &snippets, const QList<int> &rows, bool inserted)
{
    // Scattered rows: one reset for the view rather than one change each.
    if (rows.constLast() - rows.constFirst() + 1 != rows.size()) {
        assign(snippets, names);
        return;
    }
    if (m_listener) {
        if (inserted)
            m_listener->aboutToInsert(rows.constFirst(), rows.constLast());
        else
            m_listener->aboutToRemove(rows.constFirst(), rows.constLast());
    }
    m_names.swap(names);
    m_snippets.swap(snippets);
    if (m_listener)
        inserted ? m_listener->inserted() : m_listener->removed();
}

QList<int> GeneratedItems::duplicate(const QList<int> &rows)
{
    if (!isSelection(rows, count()))
        return {};
    QList<int> copies(rows.size());
    for (int k = 0; k < copies.size(); ++k)
        copies[k] = rows.constLast() + 1 + k;
    insertRows(copies, entries(rows));
    return copies;
}

#include "GeneratedItems.h"

#include <QtTest>

#include <functional>

namespace {

// Every snippet is derived from its name, so a name that drifts away from
// its snippet shows as a mismatch.
QString snippetOf(const QString &name)
{
    return QLatin1String("<p>") % name % QLatin1String("</p>\r\n<br>");
}

GeneratedItems itemsNamed(const QStringList &names)
{
    GeneratedItems items;
    for (const QString &n : names)
        items.append(snippetOf(n), n);
    return items;
}

// Both lists have the same length and entry i of one names entry i of the other.
bool paired(const GeneratedItems &items)
{
    if (items.names().size() != items.snippets().size() || items.count() != items.names().size())
        return false;
    for (int i = 0; i < items.count(); ++i) {
        if (items.snippet(i) != snippetOf(items.name(i)))
            return false;
    }
    return true;
}

// Entry i one place up or down, as 上移 and 下移 move a selection of one.
bool moveUp(GeneratedItems &items, int i)
{
    const QList<int> order = GeneratedItems::orderMovingUp({i}, items.count());
    return !order.isEmpty() && items.reorder(order);
}

bool moveDown(GeneratedItems &items, int i)
{
    const QList<int> order = GeneratedItems::orderMovingDown({i}, items.count());
    return !order.isEmpty() && items.reorder(order);
}

QStringList split(const char *names)
{
    return QString::fromLatin1(names).split(u',', Qt::SkipEmptyParts);
}

enum Op { Up, Down, Delete, Clear };
// The same on a selection, and what only a selection has.
enum class Several { Up, Down, Delete, Drop, Duplicate };

QStringList bigNames()
{
    QStringList names;
    names.reserve(10000);
    for (int i = 0; i < 10000; ++i)
        names.append(QStringLiteral("item%1").arg(i));
    return names;
}

} // namespace

Q_DECLARE_METATYPE(Op)
Q_DECLARE_METATYPE(Several)

class TestGeneratedItems : public QObject
{
    Q_OBJECT
private slots:
    void operation_data();
    void operation();
    void sequence_keepsPairs();
    void selection_data();
    void selection();
    void large_data();
    void large();
};

void TestGeneratedItems::operation_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<Op>("op");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QStringList>("after");

    const QStringList abcd = split("a,b,c,d");
    QTest::newRow("up: third") << abcd << Up << 2 << true << split("a,c,b,d");
    QTest::newRow("up: last") << abcd << Up << 3 << true << split("a,b,d,c");
    QTest::newRow("up: second") << abcd << Up << 1 << true << split("b,a,c,d");
    QTest::newRow("up: first") << abcd << Up << 0 << false << abcd;
    QTest::newRow("up: no selection") << abcd << Up << -1 << false << abcd;
    QTest::newRow("up: past the end") << abcd << Up << 4 << false << abcd;
    QTest::newRow("up: far out") << abcd << Up << 1000 << false << abcd;
    QTest::newRow("up: below -1") << abcd << Up << -2 << false << abcd;
    QTest::newRow("up: empty list") << QStringList() << Up << 0 << false << QStringList();
    QTest::newRow("up: single") << split("a") << Up << 0 << false << split("a");

    QTest::newRow("down: first") << abcd << Down << 0 << true << split("b,a,c,d");
    QTest::newRow("down: second") << abcd << Down << 1 << true << split("a,c,b,d");
    QTest::newRow("down: next to last") << abcd << Down << 2 << true << split("a,b,d,c");
    QTest::newRow("down: last") << abcd << Down << 3 << false << abcd;
    QTest::newRow("down: no selection") << abcd << Down << -1 << false << abcd;
    QTest::newRow("down: past the end") << abcd << Down << 4 << false << abcd;
    QTest::newRow("down: empty list") << QStringList() << Down << 0 << false << QStringList();
    QTest::newRow("down: empty list, -1") << QStringList() << Down << -1 << false << QStringList();
    QTest::newRow("down: single") << split("a") << Down << 0 << false << split("a");

    QTest::newRow("delete: first") << abcd << Delete << 0 << true << split("b,c,d");
    QTest::newRow("delete: middle") << abcd << Delete << 2 << true << split("a,b,d");
    QTest::newRow("delete: last") << abcd << Delete << 3 << true << split("a,b,c");
    QTest::newRow("delete: only") << split("a") << Delete << 0 << true << QStringList();
    QTest::newRow("delete: no selection") << abcd << Delete << -1 << false << abcd;
    QTest::newRow("delete: past the end") << abcd << Delete << 4 << false << abcd;
    QTest::newRow("delete: empty list") << QStringList() << Delete << 0 << false << QStringList();

    // Duplicates: the entry at the index moves or goes, not the first equal one.
    const QStringList dup = split("x,a,x,b");
    QTest::newRow("duplicates: up") << dup << Up << 2 << true << split("x,x,a,b");
    QTest::newRow("duplicates: down") << dup << Down << 2 << true << split("x,a,b,x");
    QTest::newRow("duplicates: delete second") << dup << Delete << 2 << true << split("x,a,b");

    QTest::newRow("clear") << abcd << Clear << -1 << true << QStringList();
    QTest::newRow("clear: empty list") << QStringList() << Clear << -1 << false << QStringList();
}

void TestGeneratedItems::operation()
{
    QFETCH(QStringList, before);
    QFETCH(Op, op);
    QFETCH(int, index);
    QFETCH(bool, changed);
    QFETCH(QStringList, after);

    GeneratedItems items = itemsNamed(before);
    bool result = true;
    switch (op) {
    case Up:
        result = moveUp(items, index);
        break;
    case Down:
        result = moveDown(items, index);
        break;
    case Delete:
        result = items.remove(index);
        break;
    case Clear:
        result = items.clear();
        break;
    }
    QCOMPARE(result, changed);
    QCOMPARE(items.names(), after);
    QVERIFY(paired(items));
}

void TestGeneratedItems::sequence_keepsPairs()
{
    // A session of mixed operations, the pairing checked after each one.
    // Duplicates, empty names and empty snippets are entries like any other.
    GeneratedItems items = itemsNamed(split("a,b,c"));
    items.append(QString(), QString());
    items.append(snippetOf(QStringLiteral("  默认样式-关联促销")), QStringLiteral("  默认样式-关联促销"));
    items.append(snippetOf(QStringLiteral("  默认样式-关联促销")), QStringLiteral("  默认样式-关联促销"));
    QCOMPARE(items.count(), 6);
    QCOMPARE(items.snippet(3), QString());
    QCOMPARE(items.name(5), QStringLiteral("  默认样式-关联促销"));
    QVERIFY(items.remove(3));
    QVERIFY(paired(items));
    QVERIFY(items.remove(3));
    QVERIFY(items.remove(3));
    moveUp(items, 2);
    QVERIFY(paired(items));
    items.append(snippetOf(QStringLiteral("d")), QStringLiteral("d"));
    moveDown(items, 0);
    QVERIFY(paired(items));
    items.insert(1, snippetOf(QStringLiteral("e")), QStringLiteral("e"));
    QVERIFY(paired(items));
    items.remove(3);
    QVERIFY(paired(items));
    QCOMPARE(items.names(), split("c,e,a,d"));

    // Restoring a whole page replaces both lists together.
    const GeneratedItems saved = items;
    items.clear();
    QVERIFY(paired(items));
    QCOMPARE(items.count(), 0);
    items.assign(saved.snippets(), saved.names());
    QCOMPARE(items.names(), split("c,e,a,d"));
    QVERIFY(paired(items));
}

// Operations on several selected entries as the list's commands make and
// undo them.
void TestGeneratedItems::selection_data()
{
    QTest::addColumn<Several>("op");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("dropRow");
    QTest::addColumn<QStringList>("after"); // of a,b,c,d,e,f
    QTest::addColumn<QList<int>>("selectedAfter");

    const QStringList same = split("a,b,c,d,e,f");
    const QList<int> none;
    QTest::newRow("up: block") << Several::Up << QList<int>{2, 3} << 0 << split("a,c,d,b,e,f") << QList<int>{1, 2};
    QTest::newRow("up: scattered") << Several::Up << QList<int>{1, 3, 5} << 0 << split("b,a,d,c,f,e")
                                   << QList<int>{0, 2, 4};
    QTest::newRow("up: first at the top") << Several::Up << QList<int>{0, 2} << 0 << same << none;
    QTest::newRow("up: all") << Several::Up << QList<int>{0, 1, 2, 3, 4, 5} << 0 << same << none;
    QTest::newRow("up: none") << Several::Up << none << 0 << same << none;
    QTest::newRow("down: block") << Several::Down << QList<int>{1, 2} << 0 << split("a,d,b,c,e,f") << QList<int>{2, 3};
    QTest::newRow("down: scattered") << Several::Down << QList<int>{0, 2, 4} << 0 << split("b,a,d,c,f,e")
                                     << QList<int>{1, 3, 5};
    QTest::newRow("down: last at the bottom") << Several::Down << QList<int>{3, 5} << 0 << same << none;
    QTest::newRow("down: unsorted") << Several::Down << QList<int>{2, 1} << 0 << same << none;

    QTest::newRow("drop: scattered to the top")
        << Several::Drop << QList<int>{2, 4, 5} << 0 << split("c,e,f,a,b,d") << QList<int>{0, 1, 2};
    QTest::newRow("drop: to the end") << Several::Drop << QList<int>{0, 2} << 6 << split("b,d,e,f,a,c")
                                      << QList<int>{4, 5};
    QTest::newRow("drop: into the middle")
        << Several::Drop << QList<int>{0, 5} << 3 << split("b,c,a,f,d,e") << QList<int>{2, 3};
    QTest::newRow("drop: between selected entries")
        << Several::Drop << QList<int>{1, 3} << 3 << split("a,c,b,d,e,f") << QList<int>{2, 3};
    QTest::newRow("drop: before the block") << Several::Drop << QList<int>{2, 3} << 2 << same << none;
    QTest::newRow("drop: after the block") << Several::Drop << QList<int>{2, 3} << 4 << same << none;
    QTest::newRow("drop: past the end") << Several::Drop << QList<int>{2} << 7 << same << none;
    QTest::newRow("drop: before the start") << Several::Drop << QList<int>{2} << -1 << same << none;

    QTest::newRow("delete: block") << Several::Delete << QList<int>{1, 2} << 0 << split("a,d,e,f") << none;
    QTest::newRow("delete: scattered") << Several::Delete << QList<int>{0, 2, 5} << 0 << split("b,d,e") << none;
    QTest::newRow("delete: all") << Several::Delete << QList<int>{0, 1, 2, 3, 4, 5} << 0 << QStringList() << none;
    QTest::newRow("delete: past the end") << Several::Delete << QList<int>{4, 6} << 0 << same << none;

    QTest::newRow("duplicate: one") << Several::Duplicate << QList<int>{1} << 0 << split("a,b,b,c,d,e,f")
                                    << QList<int>{2};
    QTest::newRow("duplicate: scattered")
        << Several::Duplicate << QList<int>{0, 2} << 0 << split("a,b,c,a,c,d,e,f") << QList<int>{3, 4};
    QTest::newRow("duplicate: the last") << Several::Duplicate << QList<int>{5} << 0 << split("a,b,c,d,e,f,f")
                                         << QList<int>{6};
    QTest::newRow("duplicate: none") << Several::Duplicate << none << 0 << same << none;
}

void TestGeneratedItems::selection()
{
    QFETCH(Several, op);
    QFETCH(QList<int>, rows);
    QFETCH(int, dropRow);
    QFETCH(QStringList, after);
    QFETCH(QList<int>, selectedAfter);

    GeneratedItems items = itemsNamed(split("a,b,c,d,e,f"));
    const GeneratedItems before = items;
    const bool changed = after != before.names();
    // Each operation with its undo, as the commands pair them.
    std::function<void()> undo;
    QList<int> selected;
    if (op == Several::Delete) {
        const QList<GeneratedItem> removed = GeneratedItems::isSelection(rows, items.count()) ? items.entries(rows)
                                                                                              : QList<GeneratedItem>();
        QCOMPARE(items.removeRows(rows), changed);
        undo = [&, removed] { QVERIFY(items.insertRows(rows, removed)); };
    } else if (op == Several::Duplicate) {
        selected = items.duplicate(rows);
        undo = [&] { QVERIFY(items.removeRows(selected)); };
    } else {
        const int count = items.count();
        const QList<int> order = op == Several::Up ? GeneratedItems::orderMovingUp(rows, count)
            : op == Several::Down                  ? GeneratedItems::orderMovingDown(rows, count)
                                                   : GeneratedItems::orderMovingTo(rows, dropRow, count);
        QCOMPARE(order.isEmpty(), !changed);
        if (changed) {
            QVERIFY(items.reorder(order));
            selected = GeneratedItems::rowsAfter(order, rows);
        }
        undo = [&, order] { QVERIFY(items.reorder(GeneratedItems::inverseOrder(order))); };
    }
    QCOMPARE(items.names(), after);
    QVERIFY(paired(items));
    QCOMPARE(selected, selectedAfter);
    if (changed) {
        undo();
        QCOMPARE(items.names(), before.names());
        QVERIFY(paired(items));
    }
}

void TestGeneratedItems::large_data()
{
    QTest::addColumn<Op>("op");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("movedTo"); // where the entry ends up; -1 when it is gone

    QTest::newRow("up: first") << Up << 0 << false << 0;
    QTest::newRow("up: middle") << Up << 5000 << true << 4999;
    QTest::newRow("up: last") << Up << 9999 << true << 9998;
    QTest::newRow("down: first") << Down << 0 << true << 1;
    QTest::newRow("down: middle") << Down << 5000 << true << 5001;
    QTest::newRow("down: last") << Down << 9999 << false << 9999;
    QTest::newRow("delete: first") << Delete << 0 << true << -1;
    QTest::newRow("delete: middle") << Delete << 5000 << true << -1;
    QTest::newRow("delete: last") << Delete << 9999 << true << -1;
    QTest::newRow("delete: past the end") << Delete << 10000 << false << -1;
}

void TestGeneratedItems::large()
{
    QFETCH(Op, op);
    QFETCH(int, index);
    QFETCH(bool, changed);
    QFETCH(int, movedTo);

    const QStringList names = bigNames();
    GeneratedItems items = itemsNamed(names);
    QStringList expected = names;
    bool result = false;
    switch (op) {
    case Up:
        result = moveUp(items, index);
        break;
    case Down:
        result = moveDown(items, index);
        break;
    case Delete:
        result = items.remove(index);
        if (changed)
            expected.removeAt(index);
        break;
    case Clear:
        break;
    }
    if (op != Delete && changed)
        expected.move(index, movedTo);
    QCOMPARE(result, changed);
    QCOMPARE(items.names(), expected);
    QVERIFY(paired(items));
    if (movedTo >= 0)
        QCOMPARE(items.name(movedTo), names.at(index));

    items.clear();
    QCOMPARE(items.count(), 0);
    QVERIFY(items.snippets().isEmpty());
}

QTEST_APPLESS_MAIN(TestGeneratedItems)
#include "test_generated_items.moc"

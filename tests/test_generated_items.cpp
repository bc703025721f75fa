#include "GeneratedItems.h"

#include <QtTest>

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

QStringList split(const char *names)
{
    return QString::fromLatin1(names).split(u',', Qt::SkipEmptyParts);
}

enum Op { Up, Down, Delete, Clear };

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

class TestGeneratedItems : public QObject
{
    Q_OBJECT
private slots:
    void operation_data();
    void operation();
    void sequence_keepsPairs();
    void canMove_agreesWithMoves();
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
        result = items.moveUp(index);
        break;
    case Down:
        result = items.moveDown(index);
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
    items.moveUp(2);
    QVERIFY(paired(items));
    items.append(snippetOf(QStringLiteral("d")), QStringLiteral("d"));
    items.moveDown(0);
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

void TestGeneratedItems::canMove_agreesWithMoves()
{
    // The predicates that enable the buttons promise exactly what the moves do.
    for (int count = 0; count <= 4; ++count) {
        for (int i = -2; i <= count + 1; ++i) {
            GeneratedItems up = itemsNamed(split("a,b,c,d").mid(0, count));
            GeneratedItems down = up;
            QCOMPARE(up.moveUp(i), GeneratedItems::canMoveUp(i, count));
            QCOMPARE(down.moveDown(i), GeneratedItems::canMoveDown(i, count));
            QVERIFY(paired(up));
            QVERIFY(paired(down));
        }
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
        result = items.moveUp(index);
        break;
    case Down:
        result = items.moveDown(index);
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

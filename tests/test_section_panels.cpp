// The section panels' own inputs in the real window: the shop's page width
// reaching a divider bar, the related-sales width box and height edit, and
// what counts as a click beside a style group's items.

#include "TestSupport.h"
#include "WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestSectionPanels : public QObject
{
    Q_OBJECT
private slots:
    void dividerBarTakesTheShopWidth_data();
    void dividerBarTakesTheShopWidth();
    void relatedSalesInputsClearTheStyle_data();
    void relatedSalesInputsClearTheStyle();
    void widthBoxKeepsTheTypedText();
    void clickBesideTheItems_data();
    void clickBesideTheItems();
};

void TestSectionPanels::dividerBarTakesTheShopWidth_data()
{
    QTest::addColumn<int>("shop"); // -1: none chosen
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("width");

    QTest::newRow("no shop, 标准样式") << -1 << 0 << "width:750px;";
    QTest::newRow("天猫店, 标准样式") << 1 << 0 << "width:790px;";
    QTest::newRow("天猫店, 个性居中") << 1 << 2 << "width=\"790\"";
    QTest::newRow("天猫店 then 集市店, 个性居中") << 0 << 2 << "width=\"750\"";
}

void TestSectionPanels::dividerBarTakesTheShopWidth()
{
    QFETCH(int, shop);
    QFETCH(int, style);
    QFETCH(QString, width);

    WindowFixture f;
    QVERIFY(f.start());
    const QList<QRadioButton *> shops = f.find(QStringLiteral("rzrdgrpleixing"))->findChildren<QRadioButton *>();
    QCOMPARE(shops.size(), 2);
    if (shop >= 0) {
        QTest::mouseClick(shops.at(1), Qt::LeftButton, {}, QPoint(6, shops.at(1)->height() / 2));
        QTest::mouseClick(shops.at(shop), Qt::LeftButton, {}, QPoint(6, shops.at(shop)->height() / 2));
    }
    QTest::mouseClick(f.window.functionButton(DividerBarSection), Qt::LeftButton);
    const qsizetype loads = f.loads.size();
    f.clickStyle(DividerBarSection, style);

    const QString code = f.ws.section(DividerBarSection).code();
    QVERIFY2(code.contains(width), qPrintable(code));
    QVERIFY(waitUntil([&] { return f.loads.size() > loads; }));
    QVERIFY(f.loads.last().first().toBool());
    QVERIFY(QString::fromUtf8(readBytes(f.ws.files().previewPath())).contains(width));
}

void TestSectionPanels::relatedSalesInputsClearTheStyle_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("built"); // in the snippet the same style builds afterwards

    QTest::newRow("height typed") << "height"
                                  << "height = \"3005\"";
    QTest::newRow("width typed") << "width"
                                 << "width = \"1805\"";
    QTest::newRow("width picked from the list") << "pick"
                                                << "width = \"190\"";
}

void TestSectionPanels::relatedSalesInputsClearTheStyle()
{
    QFETCH(QString, change);
    QFETCH(QString, built);

    WindowFixture f;
    QVERIFY(f.start());
    f.window.openSection(RelatedSalesSection);
    StyleGroup *group = f.window.panel(RelatedSalesSection)->styleGroup();
    f.clickStyle(RelatedSalesSection, 0);
    QCOMPARE(group->choice(), 0);
    const QString code = f.ws.section(RelatedSalesSection).code();

    auto *width = f.find<QComboBox>(QStringLiteral("cbb1"));
    auto *height = f.find<QLineEdit>(QStringLiteral("edt6"));
    QVERIFY(width && height);
    if (change == u"height") {
        height->setFocus();
        height->end(false);
        QTest::keyClick(height, Qt::Key_5);
    } else if (change == u"width") {
        width->setFocus();
        width->lineEdit()->end(false);
        QTest::keyClick(width, Qt::Key_5);
    } else {
        width->setFocus();
        QTest::keyClick(width, Qt::Key_Down);
        QCOMPARE(width->currentText(), QStringLiteral("190"));
    }
    // Nothing is rebuilt, the choice is gone, and Add is refused.
    QCOMPARE(group->choice(), -1);
    QVERIFY(!group->item(0)->isChecked());
    QCOMPARE(f.ws.section(RelatedSalesSection).code(), code);
    QTest::mouseClick(f.find<QPushButton>(QStringLiteral("btn2")), Qt::LeftButton);
    QCOMPARE(f.prompts.notices, QStringList{QStringLiteral("请至少选择一项！")});
    QCOMPARE(f.ws.items().count(), 0);

    // The same style, clicked again, builds with the new size.
    f.clickStyle(RelatedSalesSection, 0);
    QCOMPARE(group->choice(), 0);
    const QString rebuilt = f.ws.section(RelatedSalesSection).code();
    QVERIFY2(rebuilt.contains(built), qPrintable(rebuilt));
    QVERIFY(f.prompts.errors.isEmpty());
}

void TestSectionPanels::widthBoxKeepsTheTypedText()
{
    WindowFixture f;
    QVERIFY(f.start());
    f.window.openSection(RelatedSalesSection);
    auto *width = f.find<QComboBox>(QStringLiteral("cbb1"));
    QVERIFY(width);
    width->setFocus();
    width->lineEdit()->selectAll();
    QTest::keyClicks(width, QStringLiteral("19"));
    QCOMPARE(width->currentText(), QStringLiteral("19"));
    QTest::keyClick(width, Qt::Key_Return);
    QCOMPARE(width->currentText(), QStringLiteral("19"));
    QCOMPARE(width->count(), 2);
    QCOMPARE(width->itemText(0), QStringLiteral("180"));
    QCOMPARE(width->itemText(1), QStringLiteral("190"));
}

void TestSectionPanels::clickBesideTheItems_data()
{
    QTest::addColumn<bool>("pressOnItem");
    QTest::addColumn<bool>("releaseOnItem");
    QTest::addColumn<bool>("builds");

    QTest::newRow("pressed and released beside") << false << false << true;
    QTest::newRow("pressed on an item, released beside") << true << false << false;
    QTest::newRow("pressed beside, released on an item") << false << true << false;
}

void TestSectionPanels::clickBesideTheItems()
{
    QFETCH(bool, pressOnItem);
    QFETCH(bool, releaseOnItem);
    QFETCH(bool, builds);

    WindowFixture f;
    QVERIFY(f.start());
    f.window.openSection(3);
    StyleGroup *group = f.window.panel(3)->styleGroup();
    QRadioButton *item = group->item(1);
    const QPoint beside(4, 4);
    QVERIFY(!group->childAt(beside));
    const QPoint onItem = item->geometry().center();

    // With no style chosen a build previews the code edit as it stands.
    if (pressOnItem)
        QTest::mousePress(item, Qt::LeftButton, {}, item->rect().center());
    else
        QTest::mousePress(group, Qt::LeftButton, {}, beside);
    QTest::mouseRelease(group, Qt::LeftButton, {}, releaseOnItem ? onItem : beside);

    QCOMPARE(f.ws.output().memo(), builds ? QStringLiteral("edtguanlian") : QStringLiteral("mmo1"));
    QCOMPARE(group->choice(), -1);
}

QTEST_MAIN(TestSectionPanels)
#include "test_section_panels.moc"

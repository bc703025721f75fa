#include "Generators.h"
#include "SectionFrame.h"
#include "TestSupport.h"
#include "Workspace.h"

#include <QtTest>

namespace {

// A workspace whose scratch files live in a temporary folder.
struct Fixture : TemporaryWorkspace
{
    QString memo() { return ws.output().memo(); }
    // Puts a marker into the memo and the preview file, to see whether a
    // later step touches them.
    void mark() { QVERIFY(ws.output().stylePreview(QStringLiteral("marker")).ok()); }

    const SectionInputs inputs = defaultInputs();
};

// The code edit's text after the generator runs with `style` on `code`.
QString built(const SectionInfo &info, int style, const QString &code)
{
    return info.generate(style, defaultInputs()).value().value_or(code);
}

QByteArray threeUp(const QString &block)
{
    return (QLatin1String("<table width=\"100%\" border=\"0\"><tr><td>") % block % QLatin1String("</td><td>") % block
            % QLatin1String("</td><td>") % block % QLatin1String("</td></tr></table>\r\n"))
        .toUtf8();
}

// Checks what the section's preview left after a build of `code`: the
// standard preview puts it in the memo and the preview file, the coupon
// shows it three times without the memo, the spacer line shows nothing.
void checkPreview(Fixture &f, const SectionInfo &info, const QString &code, const QString &memoBefore,
                  const QByteArray &previewBefore)
{
    switch (info.preview) {
    case PreviewKind::Standard:
        QCOMPARE(f.memo(), code);
        QCOMPARE(f.preview(), code.toUtf8());
        break;
    case PreviewKind::Coupon:
        QCOMPARE(f.memo(), memoBefore);
        QCOMPARE(f.preview(), threeUp(code));
        break;
    case PreviewKind::None:
        QCOMPARE(f.memo(), memoBefore);
        QCOMPARE(f.preview(), previewBefore);
        break;
    }
}

// One row per section that has a style group.
void styledSections()
{
    QTest::addColumn<int>("number");
    for (const SectionInfo &info : sectionTable()) {
        if (!info.styles.isEmpty())
            QTest::addRow("%s", qPrintable(info.panelName())) << info.number;
    }
}

} // namespace

class TestSectionFrame : public QObject
{
    Q_OBJECT
private slots:
    void newStyleRunsGenerator_data() { styledSections(); }
    void newStyleRunsGenerator();
    void chosenStyleRebuildsOnlyAfterClear_data() { styledSections(); }
    void chosenStyleRebuildsOnlyAfterClear();
    void clickBeside_data() { styledSections(); }
    void clickBeside();
    void addAfterClick_data();
    void addAfterClick();
    void refusedAddAndCancel_data() { styledSections(); }
    void refusedAddAndCancel();
    void dividerBarNameAtAdd();
    void failedBuildKeepsStyle();
    void spacerLine_data();
    void spacerLine();
    void customAdd_data();
    void customAdd();
    void severalAddsInOrder();
    void wholePageFromEverySection();
    void panelStates();
    void colourText_data();
    void colourText();
};

void TestSectionFrame::newStyleRunsGenerator()
{
    QFETCH(int, number);
    Fixture f;
    SectionFrame &frame = f.ws.section(number);
    const SectionInfo &info = frame.info();

    // Every style in turn, then back to the first one.
    QList<int> order;
    for (int i = 0; i < info.styles.size(); ++i)
        order.append(i);
    if (order.size() > 1)
        order.append(0);
    for (int style : order) {
        const QString memoBefore = f.memo();
        const QByteArray previewBefore = f.preview();
        const QString expected = built(info, style, frame.code());
        const ClickOutcome out = frame.clickStyle(style, f.inputs);
        QVERIFY(out.ran);
        QVERIFY(out.error().isEmpty());
        QCOMPARE(frame.choice(), style);
        QCOMPARE(frame.code(), expected);
        QCOMPARE(out.preview.has_value(), info.preview != PreviewKind::None);
        checkPreview(f, info, expected, memoBefore, previewBefore);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(f.ws.items().count(), 0);
}

void TestSectionFrame::chosenStyleRebuildsOnlyAfterClear()
{
    QFETCH(int, number);
    Fixture f;
    SectionFrame &frame = f.ws.section(number);
    const int last = int(frame.info().styles.size()) - 1;
    QVERIFY(frame.clickStyle(last, f.inputs).ran);
    const QString code = frame.code();
    f.mark();

    // The chosen style again, and indices that are no style at all.
    for (int index : {last, last + 1, -1}) {
        const ClickOutcome out = frame.clickStyle(index, f.inputs);
        QVERIFY(!out.ran);
        QVERIFY(!out.preview);
        QCOMPARE(frame.choice(), last);
    }
    QCOMPARE(frame.code(), code);
    QCOMPARE(f.memo(), QStringLiteral("marker"));
    QCOMPARE(f.preview(), QByteArray("marker"));

    // Clearing builds nothing; the same style then builds again.
    frame.clearChoice();
    QCOMPARE(frame.choice(), -1);
    QCOMPARE(f.memo(), QStringLiteral("marker"));
    QVERIFY(frame.clickStyle(last, f.inputs).ran);
    QCOMPARE(frame.choice(), last);
    checkPreview(f, frame.info(), frame.code(), QStringLiteral("marker"), QByteArrayLiteral("marker"));
    if (QTest::currentTestFailed())
        return;

    // Add clears the choice too.
    QVERIFY(f.add(frame, f.inputs));
    f.mark();
    QVERIFY(frame.clickStyle(last, f.inputs).ran);
    checkPreview(f, frame.info(), frame.code(), QStringLiteral("marker"), QByteArrayLiteral("marker"));
}

void TestSectionFrame::clickBeside()
{
    QFETCH(int, number);
    Fixture f;
    SectionFrame &frame = f.ws.section(number);
    const SectionInfo &info = frame.info();
    const QString placeholder = number == RelatedSalesSection ? QStringLiteral("edt01")
        : number == DividerBarSection                         ? QStringLiteral("edt02")
                                                              : QStringLiteral("edtguanlian");

    // No style chosen: nothing is built, but the preview shows the placeholder.
    ClickOutcome out = frame.clickBeside(f.inputs);
    QVERIFY(out.ran);
    QVERIFY(out.error().isEmpty());
    QCOMPARE(frame.choice(), -1);
    QCOMPARE(frame.code(), placeholder);
    checkPreview(f, info, placeholder, QStringLiteral("mmo1"), QByteArrayLiteral("<missing>"));
    if (QTest::currentTestFailed())
        return;

    // With a style chosen, the click rebuilds it and previews again.
    QVERIFY(frame.clickStyle(0, f.inputs).ran);
    const QString code = frame.code();
    f.mark();
    out = frame.clickBeside(f.inputs);
    QVERIFY(out.ran);
    QCOMPARE(frame.choice(), 0);
    QCOMPARE(frame.code(), built(info, 0, code));
    checkPreview(f, info, frame.code(), QStringLiteral("marker"), QByteArrayLiteral("marker"));
}

void TestSectionFrame::addAfterClick_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("displayName");

    const struct
    {
        int number;
        const char16_t *names[4];
    } rows[] = {
        {1, {u"  默认样式-关联促销", u"  图片样式-关联促销", u"  图文混排-关联促销", u"  不规则图-关联促销"}},
        {2, {u"  标准样式-自定义标签", u"  版块分割-自定义标签", u"  个性居中-自定义标签", u"  简约直线-自定义标签"}},
        {3, {u"  默认模式-产品信息", u"  右图左文-产品信息", u"  左图右文-产品信息", nullptr}},
        {4, {u"  默认样式-尺码表", nullptr, nullptr, nullptr}},
        {5, {u"  单行图文-图片列表", u"  双列图文-图片列表", u"  双列图片-图片列表", u"  图文交错-图片列表"}},
        {6, {u"  默认样式-产品细节", nullptr, nullptr, nullptr}},
        {7, {u"  搭配销售  -搭配销售", nullptr, nullptr, nullptr}},
        {8, {u"  卖家说明  -售后说明", u"  自助问答-售后说明", nullptr, nullptr}},
        {9, {u"  默认样式-优惠券", nullptr, nullptr, nullptr}},
        {11, {u"  10px-分割线", u"  20px-分割线", u"  30px-分割线", nullptr}},
    };
    for (const auto &row : rows) {
        for (int style = 0; style < 4 && row.names[style]; ++style)
            QTest::addRow("rzpnlcan%d style %d", row.number, style)
                << row.number << style << QString::fromUtf16(row.names[style]);
    }
}

void TestSectionFrame::addAfterClick()
{
    QFETCH(int, number);
    QFETCH(int, style);
    QFETCH(QString, displayName);
    Fixture f;
    SectionFrame &frame = f.ws.section(number);
    frame.open();
    QVERIFY(frame.clickStyle(style, f.inputs).ran);
    const QString code = frame.code();
    const QString memo = f.memo();
    const QByteArray preview = f.preview();

    QVERIFY(f.add(frame, f.inputs));
    QCOMPARE(f.ws.items().names(), QStringList{displayName});
    QCOMPARE(f.ws.items().snippets(), QStringList{code});
    QCOMPARE(frame.panel(), PanelState::Closed);
    QCOMPARE(frame.choice(), -1);
    // Add neither rebuilds nor previews.
    QCOMPARE(frame.code(), code);
    QCOMPARE(f.memo(), memo);
    QCOMPARE(f.preview(), preview);

    // Reopened, the panel has no style chosen and refuses at once.
    frame.open();
    QVERIFY(!f.add(frame, f.inputs));
    QCOMPARE(f.ws.items().count(), 1);
    QCOMPARE(frame.panel(), PanelState::Open);
}

void TestSectionFrame::refusedAddAndCancel()
{
    QFETCH(int, number);
    Fixture f;
    SectionFrame &frame = f.ws.section(number);
    const bool keeps = number == SpacerLineSection;
    const int last = int(frame.info().styles.size()) - 1;
    frame.open();
    f.mark();

    // Add with no style chosen is refused and changes nothing.
    QVERIFY(!f.add(frame, f.inputs));
    QCOMPARE(f.ws.items().count(), 0);
    QCOMPARE(frame.panel(), PanelState::Open);
    QCOMPARE(frame.choice(), -1);
    QCOMPARE(f.memo(), QStringLiteral("marker"));

    QVERIFY(frame.clickStyle(last, f.inputs).ran);
    const QString code = frame.code();
    frame.cancel();
    QCOMPARE(frame.panel(), PanelState::Closed);
    QCOMPARE(frame.choice(), keeps ? last : -1);
    QCOMPARE(frame.code(), code);
    QCOMPARE(f.ws.items().count(), 0);

    frame.open();
    QCOMPARE(frame.choice(), keeps ? last : -1);
    QCOMPARE(f.add(frame, f.inputs), keeps);
    QCOMPARE(f.ws.items().snippets(), keeps ? QStringList{code} : QStringList());
}

void TestSectionFrame::dividerBarNameAtAdd()
{
    Fixture f;
    SectionFrame &frame = f.ws.section(DividerBarSection);
    SectionInputs in = f.inputs;
    in.name = QStringLiteral("旧名");
    QVERIFY(frame.clickStyle(1, in).ran);
    in.name = QStringLiteral("新名 ");
    QVERIFY(f.add(frame, in));

    QVERIFY(frame.clickStyle(0, in).ran);
    in.name.clear();
    QVERIFY(f.add(frame, in));
    QCOMPARE(f.ws.items().names(), QStringList({QStringLiteral("  版块分割-新名 "), QStringLiteral("  标准样式-")}));
}

void TestSectionFrame::failedBuildKeepsStyle()
{
    // A build that fails before writing the code edit keeps the clicked
    // style chosen, previews nothing, and Add takes the earlier text.
    Fixture f;
    SectionFrame &frame = f.ws.section(RelatedSalesSection);
    SectionInputs in = f.inputs;
    in.heightText = QStringLiteral("abc");
    const ClickOutcome out = frame.clickStyle(0, in);
    QVERIFY(out.ran);
    QVERIFY(!out.error().isEmpty());
    QCOMPARE(frame.choice(), 0);
    QCOMPARE(frame.code(), QStringLiteral("edt01"));
    QCOMPARE(f.memo(), QStringLiteral("mmo1"));
    QCOMPARE(f.preview(), QByteArrayLiteral("<missing>"));

    QVERIFY(f.add(frame, in));
    QCOMPARE(f.ws.items().snippet(0), QStringLiteral("edt01"));
    QCOMPARE(f.ws.items().name(0), QStringLiteral("  默认样式-关联促销"));
}

void TestSectionFrame::spacerLine_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("snippet");
    QTest::newRow("10px") << 0
                          << QStringLiteral("<table width=\"100%\" height=\"10\" border=\"0\" cellpadding=\"0\" "
                                            "cellspacing=\"0\"><tr><td></td></tr></table>");
    QTest::newRow("20px") << 1
                          << QStringLiteral("<table width=\"100%\" height=\"20\" border=\"0\" cellpadding=\"0\" "
                                            "cellspacing=\"0\"><tr><td></td></tr></table>");
    QTest::newRow("30px") << 2
                          << QStringLiteral("<table width=\"100%\" height=\"30\" border=\"0\" cellpadding=\"0\" "
                                            "cellspacing=\"0\"><tr><td></td></tr></table>");
}

void TestSectionFrame::spacerLine()
{
    QFETCH(int, style);
    QFETCH(QString, snippet);
    Fixture f;
    SectionFrame &frame = f.ws.section(SpacerLineSection);
    const ClickOutcome out = frame.clickStyle(style, f.inputs);
    QVERIFY(out.ran);
    QVERIFY(!out.preview);
    QCOMPARE(frame.code(), snippet);
    // Only the code edit changes.
    QCOMPARE(f.memo(), QStringLiteral("mmo1"));
    QVERIFY(QDir(f.tmp.path()).isEmpty());

    QVERIFY(f.add(frame, f.inputs));
    QCOMPARE(f.ws.items().snippet(0), snippet);
}

void TestSectionFrame::customAdd_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("snippet");
    QTest::addColumn<QString>("displayName");

    QTest::newRow("defaults: empty memo")
        << QString() << QStringLiteral("自定义名") << QString() << QStringLiteral("  自定义-自定义名");
    QTest::newRow("empty name") << QStringLiteral("<p>x</p>") << QString() << QStringLiteral("<p>x</p>")
                                << QStringLiteral("  自定义-");
    QTest::newRow("paragraphs") << QStringLiteral("<div>\u2029<p>中文</p>\u2029</div>") << QStringLiteral("段落")
                                << QStringLiteral("<div>\r\n<p>中文</p>\r\n</div>") << QStringLiteral("  自定义-段落");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QStringLiteral("n") << QStringLiteral("a\r\nb")
                                    << QStringLiteral("  自定义-n");
    QTest::newRow("trailing paragraph separator")
        << QStringLiteral("a\u2029") << QStringLiteral("n") << QStringLiteral("a\r\n") << QStringLiteral("  自定义-n");
    QTest::newRow("empty lines") << QStringLiteral("\u2029\u2029") << QStringLiteral("n") << QStringLiteral("\r\n\r\n")
                                 << QStringLiteral("  自定义-n");
    QTest::newRow("non-breaking space kept") << QStringLiteral("a\u00A0&nbsp;b") << QStringLiteral("n")
                                             << QStringLiteral("a\u00A0&nbsp;b") << QStringLiteral("  自定义-n");
    QTest::newRow("control characters kept") << QStringLiteral("\t\x01\x1b<b>") << QStringLiteral(" x ")
                                             << QStringLiteral("\t\x01\x1b<b>") << QStringLiteral("  自定义- x ");
}

void TestSectionFrame::customAdd()
{
    QFETCH(QString, raw);
    QFETCH(QString, name);
    QFETCH(QString, snippet);
    QFETCH(QString, displayName);
    Fixture f;
    SectionFrame &frame = f.ws.section(CustomSection);
    frame.open();
    f.ws.section(SpacerLineSection).open();

    // A second Add without edits appends the same pair again.
    f.addCustom(frame, customSnippet(raw), name);
    frame.open();
    f.addCustom(frame, customSnippet(raw), name);
    QCOMPARE(f.ws.items().snippets(), QStringList({snippet, snippet}));
    QCOMPARE(f.ws.items().names(), QStringList({displayName, displayName}));
    QCOMPARE(frame.panel(), PanelState::Closed);
    QCOMPARE(f.ws.section(SpacerLineSection).panel(), PanelState::Open);
    QCOMPARE(f.memo(), QStringLiteral("mmo1"));
    QVERIFY(QDir(f.tmp.path()).isEmpty());
}

void TestSectionFrame::severalAddsInOrder()
{
    Fixture f;
    SectionFrame &spacer = f.ws.section(SpacerLineSection);
    SectionFrame &info = f.ws.section(3);
    SectionFrame &custom = f.ws.section(CustomSection);
    QStringList snippets;

    info.open();
    spacer.open();
    QVERIFY(spacer.clickStyle(2, f.inputs).ran);
    snippets << spacer.code();
    QVERIFY(f.add(spacer, f.inputs));
    QCOMPARE(info.panel(), PanelState::Open); // other panels stay as they are

    QVERIFY(info.clickStyle(0, f.inputs).ran);
    snippets << info.code();
    QVERIFY(f.add(info, f.inputs));

    f.addCustom(custom, QStringLiteral("<hr>"), QStringLiteral("线"));
    snippets << QStringLiteral("<hr>");

    spacer.open();
    QVERIFY(spacer.clickStyle(0, f.inputs).ran);
    snippets << spacer.code();
    QVERIFY(f.add(spacer, f.inputs));

    QCOMPARE(f.ws.items().names(),
             QStringList({QStringLiteral("  30px-分割线"), QStringLiteral("  默认模式-产品信息"),
                          QStringLiteral("  自定义-线"), QStringLiteral("  10px-分割线")}));
    QCOMPARE(f.ws.items().snippets(), snippets);
}

void TestSectionFrame::wholePageFromEverySection()
{
    // Every style of every section added once, plus a custom item with LF
    // breaks: the page is the snippets in order, each followed by CR LF,
    // with every break made CR LF, and it reaches memo and preview file alike.
    Fixture f;
    QString expected;
    int added = 0;
    for (const SectionInfo &info : sectionTable()) {
        SectionFrame &frame = f.ws.section(info.number);
        frame.open();
        for (int style = 0; style < info.styles.size(); ++style) {
            QVERIFY(frame.clickStyle(style, f.inputs).error().isEmpty());
            QVERIFY(f.add(frame, f.inputs));
            expected += frame.code() + QLatin1String("\r\n");
            frame.open();
            ++added;
        }
    }
    f.addCustom(f.ws.section(CustomSection), QStringLiteral("<p>一\n二\r三</p>"), QStringLiteral("x"));
    expected += QStringLiteral("<p>一\r\n二\r\n三</p>\r\n");
    QCOMPARE(added, 24);
    QCOMPARE(f.ws.items().count(), 25);

    const PreviewResult result = f.ws.output().pagePreview(f.ws.items().snippets());
    QVERIFY(result.ok());
    QCOMPARE(f.memo(), expected);
    QCOMPARE(f.preview(), expected.toUtf8());
    QVERIFY(!f.memo().contains(QRegularExpression(QStringLiteral("\r(?!\n)|(?<!\r)\n"))));
}

void TestSectionFrame::panelStates()
{
    Fixture f;
    for (const SectionInfo &info : sectionTable()) {
        SectionFrame &frame = f.ws.section(info.number);
        QCOMPARE(frame.panel(), info.number == CustomSection ? PanelState::Closed : PanelState::Stored);
        QCOMPARE(frame.choice(), -1);
        frame.open();
        QCOMPARE(frame.panel(), PanelState::Open);
        frame.open();
        QCOMPARE(frame.panel(), PanelState::Open);
        QCOMPARE(frame.choice(), -1); // opening builds nothing
        frame.cancel();
        QCOMPARE(frame.panel(), PanelState::Closed);
    }

    // The custom section has no styles: clicks and the frame's Add do nothing.
    SectionFrame &custom = f.ws.section(CustomSection);
    QVERIFY(!custom.clickStyle(0, f.inputs).ran);
    QVERIFY(!custom.clickBeside(f.inputs).ran);
    QVERIFY(!f.add(custom, f.inputs));
    QCOMPARE(f.ws.items().count(), 0);
    QCOMPARE(f.memo(), QStringLiteral("mmo1"));
    QVERIFY(QDir(f.tmp.path()).isEmpty());
}

void TestSectionFrame::colourText_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QString>("text");
    QTest::newRow("black") << 0 << 0 << 0 << QStringLiteral("#000000");
    QTest::newRow("red") << 255 << 0 << 0 << QStringLiteral("#FF0000");
    QTest::newRow("green") << 0 << 255 << 0 << QStringLiteral("#00FF00");
    QTest::newRow("blue") << 0 << 0 << 255 << QStringLiteral("#0000FF");
    QTest::newRow("mixed") << 10 << 171 << 205 << QStringLiteral("#0AABCD");
    QTest::newRow("white") << 255 << 255 << 255 << QStringLiteral("#FFFFFF");
}

void TestSectionFrame::colourText()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QString, text);
    QCOMPARE(::colourText(red, green, blue), text);
}

QTEST_APPLESS_MAIN(TestSectionFrame)
#include "test_section_frame.moc"

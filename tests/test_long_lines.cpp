// Long lines pasted into the custom section's code box: kept byte for byte,
// without laying the long lines out as text.
#include "CodeEdit.h"
#include "Generators.h"
#include "SectionPanel.h"
#include "TestSupport.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QtTest>

class TestLongLines : public QObject
{
    Q_OBJECT

private slots:
    void pastedLinesAreKeptWhole_data();
    void pastedLinesAreKeptWhole();
};

void TestLongLines::pastedLinesAreKeptWhole_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    // Minified markup: 25,000 characters and no blank to break the line at.
    const QString markup = QStringLiteral("<div>").repeated(5000);
    const QString odd = QStringLiteral("a\u2028b\u00a0c\td\ufdd0e\ufffc");
    QTest::newRow("one long line") << QString() << markup;
    QTest::newRow("among short lines") << QStringLiteral("<p>a</p>")
                                       << QStringLiteral("\r\n") + markup + QStringLiteral("\r\n<p>b</p>\n");
    QTest::newRow("two, after CR and LF") << QStringLiteral("x") << u'\r' + markup + u'\n' + markup;
    QTest::newRow("odd characters inside") << QString() << odd + markup + odd + u'\r' + odd;
    QTest::newRow("short lines only") << QStringLiteral("x") << odd + QStringLiteral("\r\n") + markup.left(20000);
}

void TestLongLines::pastedLinesAreKeptWhole()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QClipboard *clipboard = QGuiApplication::clipboard();

    // What a plain text box holds after the same paste, and copies back.
    QPlainTextEdit plain(typed);
    plain.moveCursor(QTextCursor::End);
    clipboard->setText(pasted);
    plain.paste();
    const QString plainRaw = plain.document()->toRawText();
    plain.selectAll();
    plain.copy();
    const QString plainCopy = clipboard->text();

    TemporaryWorkspace scratch;
    UserPrompts prompts;
    SectionPanel panel(scratch.ws.section(10), prompts, {});
    auto *box = panel.findChild<CodeEdit *>(QStringLiteral("mmo10"));
    QVERIFY(box);
    box->setPlainText(typed);
    box->moveCursor(QTextCursor::End);
    clipboard->setText(pasted);
    box->paste();
    // Long lines are not there as text to lay out.
    if (pasted.size() > CodeEdit::FoldLength + 20)
        QVERIFY(box->document()->characterCount() < typed.size() + pasted.size() / 10);

    QSignalSpy added(&panel, &SectionPanel::addRequested);
    panel.add();
    QCOMPARE(added.size(), 1);
    QCOMPARE(added.at(0).at(0).value<GeneratedItem>().snippet, customSnippet(plainRaw));
    box->selectAll();
    box->copy();
    QCOMPARE(clipboard->text(), plainCopy);
    box->undo();
    QCOMPARE(box->rawText(), typed);
}

QTEST_MAIN(TestLongLines)
#include "test_long_lines.moc"

// What a paste leaves in a section panel's fields: the code box keeps long
// lines byte for byte without laying them out as text; one-line fields keep
// no line break, and never a text cut short without a word.
#include "CodeEdit.h"
#include "Generators.h"
#include "RecordingPrompts.h"
#include "SectionPanel.h"
#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

namespace {

} // namespace

class TestPastes : public QObject
{
    Q_OBJECT

private slots:
    void codeBox_data();
    void codeBox();
    void oneLineField_data();
    void oneLineField();
};

void TestPastes::codeBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<bool>("folds");
    // Minified markup: 25,000 characters and no blank to break the line at.
    const QString markup = QStringLiteral("<div>").repeated(5000);
    const QString odd = QStringLiteral("a\u2028b\u00a0c\td\ufdd0e\ufffc");
    QTest::newRow("one long line") << QString() << markup << true;
    QTest::newRow("among short lines") << "<p>a</p>"
                                       << "\r\n" + markup + "\r\n<p>b</p>\n"
                                       << true;
    QTest::newRow("two, after CR and LF") << "x"
                                          << "y\r" + markup + u'\n' + markup << true;
    QTest::newRow("odd characters inside") << QString() << odd + markup + odd + u'\r' + odd << true;
    QTest::newRow("longest line kept as text") << "x" << odd + "\r\n" + markup.left(20000) << false;
    QTest::newRow("one character longer") << "x" << markup.left(20001) << true;
}

void TestPastes::codeBox()
{
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(bool, folds);
    QClipboard *clipboard = QGuiApplication::clipboard();

    // What a plain text box holds after the same pastes, and copies back.
    QPlainTextEdit plain(typed);
    plain.moveCursor(QTextCursor::End);
    clipboard->setText(pasted);
    plain.paste();
    plain.paste();
    const QString plainRaw = plain.document()->toRawText();
    plain.selectAll();
    plain.copy();
    const QString plainCopy = clipboard->text();

    TemporaryWorkspace scratch;
    UserPrompts prompts;
    SectionPanel panel(scratch.ws.section(10), prompts, {});
    auto *box = panel.findChild<CodeEdit *>(QStringLiteral("mmo10"));
    box->setPlainText(typed);
    box->moveCursor(QTextCursor::End);
    clipboard->setText(pasted);
    box->paste();
    box->paste();
    // Long lines are not there as text to lay out; other lines are.
    if (folds)
        QVERIFY(box->document()->characterCount() < plain.document()->characterCount() / 10);
    else
        QCOMPARE(box->document()->characterCount(), plain.document()->characterCount());

    QSignalSpy added(&panel, &SectionPanel::addRequested);
    panel.add();
    QCOMPARE(added.value(0).value(0).value<GeneratedItem>().snippet, customSnippet(plainRaw));
    box->selectAll();
    box->copy();
    QCOMPARE(clipboard->text(), plainCopy);
    box->undo();
    box->undo();
    QCOMPARE(box->rawText(), typed);
}

void TestPastes::oneLineField_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept"); // null: the field refused and kept its text
    const QString longest(32767, u'名');
    QTest::newRow("height from a spreadsheet") << 1 << "edt6"
                                               << "300\r\n"
                                               << "300";
    QTest::newRow("width") << 1 << "cbb1"
                           << "790\n"
                           << "790";
    QTest::newRow("divider name, three lines") << 2 << "edtname02"
                                               << "a\r\nb\u2029c\u2028"
                                               << "abc";
    QTest::newRow("divider colour") << 2 << "edt2"
                                    << "#FF0000\n"
                                    << "#FF0000";
    QTest::newRow("coupon colour") << 9 << "edtyouhuiquancolor"
                                   << "\r#00FF00\r"
                                   << "#00FF00";
    QTest::newRow("custom name, blanks kept") << 10 << "edt10"
                                              << " x\ny "
                                              << " xy ";
    QTest::newRow("custom name, longest") << 10 << "edt10" << longest << longest;
    QTest::newRow("custom name, too long") << 10 << "edt10" << longest + u'x' << QString();
    QTest::newRow("divider name, far too long") << 2 << "edtname02" << QString(1 << 20, u'x') << QString();
}

void TestPastes::oneLineField()
{
    QFETCH(int, section);
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    TemporaryWorkspace scratch;
    RecordingPrompts prompts;
    SectionPanel panel(scratch.ws.section(section), prompts, {});
    auto *edit = field == u"cbb1" ? panel.findChild<QComboBox *>(field)->lineEdit()
                                  : panel.findChild<QLineEdit *>(field);
    const QString before = edit->text();

    edit->selectAll();
    QGuiApplication::clipboard()->setText(pasted);
    edit->paste();
    QCoreApplication::processEvents();
    QCOMPARE(edit->text(), kept.isNull() ? before : kept);
    QCOMPARE(prompts.notices.size(), kept.isNull() ? 1 : 0);
}

QTEST_MAIN(TestPastes)
#include "test_pastes.moc"

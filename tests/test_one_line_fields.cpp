// What a paste leaves in the panels' one-line fields: no line break, and
// never a text cut short without a word.
#include "SectionPanel.h"
#include "TestSupport.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

namespace {

class RecordingPrompts : public UserPrompts
{
public:
    void notice(const QString &text) override { notices.append(text); }
    QStringList notices;
};

} // namespace

class TestOneLineFields : public QObject
{
    Q_OBJECT

private slots:
    void paste_data();
    void paste();
};

void TestOneLineFields::paste_data()
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

void TestOneLineFields::paste()
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
    QVERIFY(edit);
    const QString before = edit->text();

    edit->selectAll();
    QGuiApplication::clipboard()->setText(pasted);
    edit->paste();
    QCoreApplication::processEvents();
    QCOMPARE(edit->text(), kept.isNull() ? before : kept);
    QCOMPARE(prompts.notices.size(), kept.isNull() ? 1 : 0);
}

QTEST_MAIN(TestOneLineFields)
#include "test_one_line_fields.moc"

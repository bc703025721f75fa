#include "CommandLine.h"

#include <QtTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("exitNow");
    QTest::addColumn<QString>("file");
    // Matched against the help or version text, or against the error message.
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, const QStringList &arguments, bool ok, bool exitNow, const QString &file,
                        const QString &text = QString()) {
        QTest::newRow(name) << arguments << ok << exitNow << file << text;
    };
    row("nothing", {}, true, false, QString());
    row("file", {QStringLiteral("页面.zlayout")}, true, false, QStringLiteral("页面.zlayout"));
    row("Qt options left to Qt",
        {QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-style=fusion"),
         QStringLiteral("--reverse"), QStringLiteral("a.zlayout")},
        true, false, QStringLiteral("a.zlayout"));
    row("file after --", {QStringLiteral("--"), QStringLiteral("-h.zlayout")}, true, false,
        QStringLiteral("-h.zlayout"));
    row("help", {QStringLiteral("--help")}, true, true, QString(),
        QStringLiteral("^Usage: zanfor-layout \\[options\\] \\[FILE\\]\n(.|\n)*--version(.|\n)*FILE"));
    row("version", {QStringLiteral("--version")}, true, true, QString(),
        QStringLiteral("^zanfor-layout [0-9]+(\\.[0-9]+)+\n$"));
    row("Qt options stay out of the help", {QStringLiteral("-h")}, true, true, QString(),
        QStringLiteral("^((?!platform|reverse).|\n)*$"));
    row("unknown option", {QStringLiteral("--bogus")}, false, false, QString(),
        QStringLiteral("^zanfor-layout: Unknown option 'bogus'.*\nTry 'zanfor-layout --help'"));
    row("unknown option beside help", {QStringLiteral("--help"), QStringLiteral("-x")}, false, false, QString(),
        QStringLiteral("'x'"));
    row("two files", {QStringLiteral("a.zlayout"), QStringLiteral("b.zlayout")}, false, false, QString(),
        QStringLiteral("only one layout file.*2"));
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(bool, exitNow);
    QFETCH(QString, file);
    QFETCH(QString, text);

    arguments.prepend(QStringLiteral("/usr/bin/zanfor-layout"));
    const Result<CommandLine> result = parseCommandLine(arguments);
    QCOMPARE(result.ok(), ok);
    if (!ok) {
        QVERIFY2(QRegularExpression(text).match(result.error()).hasMatch(), qPrintable(result.error()));
        return;
    }
    QCOMPARE(result->exitNow, exitNow);
    QCOMPARE(result->file, file);
    QVERIFY2(QRegularExpression(text).match(result->output).hasMatch(), qPrintable(result->output));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"

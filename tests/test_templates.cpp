#include <QtTest>

class TestTemplates : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() { QVERIFY(true); }
};

QTEST_APPLESS_MAIN(TestTemplates)
#include "test_templates.moc"

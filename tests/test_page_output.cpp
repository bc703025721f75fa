#include <QtTest>

class TestPageOutput : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() { QVERIFY(true); }
};

QTEST_APPLESS_MAIN(TestPageOutput)
#include "test_page_output.moc"

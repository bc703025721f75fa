#include <QtTest>

class TestSectionFrame : public QObject
{
    Q_OBJECT
private slots:
    void placeholder() { QVERIFY(true); }
};

QTEST_APPLESS_MAIN(TestSectionFrame)
#include "test_section_frame.moc"

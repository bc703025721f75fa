// The message boxes the window really shows, with the caption the X server
// holds for them, and the failures that reach them with the system's reason.

#include "ApplicationSetup.h"
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include <cerrno>
#include <cstring>

namespace {

// The caption the X server holds for a window, as a window manager or a
// task bar reads it (_NET_WM_NAME).
QString serverCaption(WId window)
{
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    xprop.setProcessEnvironment(env);
    xprop.start(
        QStringLiteral("xprop"),
        {QStringLiteral("-id"), QString::number(window), QStringLiteral("-notype"), QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(60000))
        return QStringLiteral("<xprop gave no answer>");
    // _NET_WM_NAME = "caption"
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype open = out.indexOf(u'"');
    return open < 0 ? out : out.mid(open + 1, out.lastIndexOf(u'"') - open - 1);
}

struct ShownBox
{
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QString caption;
    QString serverCaption;
    int icon = -1;
    QList<QAbstractButton *> buttons;
    QMessageBox::StandardButtons standardButtons;
    QWidget *owner = nullptr;
    bool modal = false;
};

// Answers every message box the window shows with its OK button, after
// noting what the box was.
class BoxAnswerer
{
public:
    BoxAnswerer()
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            boxes.append({box->text(), label ? label->textFormat() : Qt::AutoText, box->windowTitle(),
                          serverCaption(box->winId()), int(box->icon()), box->buttons(), box->standardButtons(),
                          box->parentWidget(), box->isModal()});
            box->button(QMessageBox::Ok)->click();
        });
        m_poll.start(20);
    }

    QList<ShownBox> boxes;

private:
    QTimer m_poll;
};

const QString Notice = QStringLiteral("提示信息");
const QString Program = QStringLiteral("Zanfor描述排版器");

} // namespace

class TestMessageBoxes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void mainWindowCaption();
    void boxes_data();
    void boxes();
};

void TestMessageBoxes::initTestCase()
{
    // The application as the program sets it up: its names decide how the
    // platform titles a window.
    setUpApplication(*qApp);
}

void TestMessageBoxes::mainWindowCaption()
{
    WindowFixture f(true);
    QVERIFY(f.start());
    QCOMPARE(serverCaption(f.window.winId()), Program);
}

void TestMessageBoxes::boxes_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("folder");  // the scratch folder, in the test's temporary folder
    QTest::addColumn<QString>("failing"); // the scratch file that cannot be written, or none
    QTest::addColumn<int>("reason");      // its errno
    QTest::addColumn<QString>("text");    // %1: the failing file
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("icon");

    const QString scratch = QStringLiteral("scratch");
    QTest::newRow("coupon notice") << "coupon" << scratch << QString() << 0
                                   << "优惠券版式有些许错位，如果懂html代码可直接修改代码或者等待新版中修复！！"
                                   << Notice << int(QMessageBox::NoIcon);
    QTest::newRow("Add without a style") << "add" << scratch << QString() << 0 << "请至少选择一项！" << Notice
                                         << int(QMessageBox::NoIcon);
    QTest::newRow("extract") << "extract" << scratch << QString() << 0 << "代码已经提取" << Notice
                             << int(QMessageBox::NoIcon);
    const QString cannotCreate = QStringLiteral("Cannot create file \"%1\". ");
    QTest::newRow("style preview, files.html is a folder")
        << "style" << scratch << "files.html" << EISDIR << cannotCreate << Program << int(QMessageBox::Critical);
    QTest::newRow("page preview, a file where the folder's parent should be")
        << "page"
        << "file/scratch"
        << "files.txt" << ENOTDIR << cannotCreate << Program << int(QMessageBox::Critical);
}

void TestMessageBoxes::boxes()
{
    QFETCH(QString, action);
    QFETCH(QString, folder);
    QFETCH(QString, failing);
    QFETCH(int, reason);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(int, icon);

    WindowFixture f(true, folder);
    QVERIFY(f.start());
    const QString failingPath = f.tmp.filePath(folder + u'/' + failing);
    if (reason == EISDIR)
        QVERIFY(QDir().mkpath(failingPath + QStringLiteral("/inner")));
    if (reason == ENOTDIR) {
        QFile file(f.tmp.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (!failing.isEmpty())
        text = text.arg(QDir::toNativeSeparators(failingPath)) + QString::fromLocal8Bit(std::strerror(reason));
    const qsizetype loads = f.loads.size();
    QSignalSpy started(f.window.preview()->view()->page(), &QWebEnginePage::loadStarted);

    BoxAnswerer answerer;
    if (action == u"coupon") {
        QTest::mouseClick(f.window.functionButton(CouponSection), Qt::LeftButton);
    } else if (action == u"add") {
        f.window.openSection(3);
        QTest::mouseClick(f.find<QPushButton>(QStringLiteral("btn9")), Qt::LeftButton);
    } else if (action == u"extract") {
        QTest::mouseClick(f.find<QPushButton>(QStringLiteral("btntiqu")), Qt::LeftButton);
    } else if (action == u"style") {
        f.window.openSection(3);
        f.clickStyle(3, 0);
    } else {
        f.ws.items().append(QStringLiteral("<p>a</p>"), QStringLiteral("  自定义-a"));
        QTest::mouseClick(f.find<QPushButton>(QStringLiteral("btn5")), Qt::LeftButton);
    }

    // One box, modal and owned by the window, with one OK button.
    QCOMPARE(answerer.boxes.size(), 1);
    const ShownBox &box = answerer.boxes.first();
    QCOMPARE(box.text, text);
    QCOMPARE(box.format, Qt::PlainText);
    QCOMPARE(box.caption, caption);
    QCOMPARE(box.serverCaption, caption);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.buttons.size(), 1);
    QCOMPARE(box.standardButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box.owner, &f.window);
    QVERIFY(box.modal);

    // A failed preview is not shown as one: the view loads nothing.
    if (!failing.isEmpty()) {
        QApplication::processEvents();
        QCOMPARE(started.size(), 0);
        QCOMPARE(f.loads.size(), loads);
        QVERIFY(f.window.preview()->lastFile().isEmpty());
    }
}

QTEST_MAIN(TestMessageBoxes)
#include "test_message_boxes.moc"

// The cheapest program that does what zanfor-layout does on a style click:
// a 1345 x 714 window holding only an 850 x 714 web view, which shows one
// line of HTML at start, and one radio group whose click loads a local file
// (the first argument). Measurements compare the real program against it.
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <QUrl>
#include <QWebEngineView>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QDir::temp().filePath(QStringLiteral("zanfor-baseline.html"));
    const QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());

    QWidget window;
    window.setObjectName(QStringLiteral("baseline"));
    window.setFixedSize(1345, 714);

    auto *view = new QWebEngineView(&window);
    view->setGeometry(219, 0, 850, 714);

    auto *group = new QButtonGroup(&window);
    for (int i = 0; i < 4; ++i) {
        auto *button = new QRadioButton(QStringLiteral("样式 %1").arg(i + 1), &window);
        button->setGeometry(1090, 40 + 25 * i, 200, 25);
        group->addButton(button, i);
    }
    QObject::connect(group, &QButtonGroup::idClicked, view, [view, url] { view->load(url); });

    view->setHtml(QStringLiteral("点击左边的标签，右侧选择样式即可预览"));
    window.show();
    return app.exec();
}

// The cheapest program that shows a window of zanfor-layout's size: an empty
// 1345 x 714 Qt Widgets window. The time until zanfor-layout's window is on
// the screen is compared with this one's.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1345, 714);
    window.show();
    return app.exec();
}

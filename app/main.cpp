#include "AppIcon.h"
#include "MainWindow.h"
#include "Workspace.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zanfor-layout"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zanfor描述排版器"));
    QApplication::setDesktopFileName(QStringLiteral("zanfor-layout"));
    QApplication::setWindowIcon(applicationIcon());

    // Qt's own dialogs (message-box buttons, the colour chooser) speak
    // Chinese like the rest of the window, whatever the system locale.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    // Tahoma where it exists, a CJK face for the Chinese captions.
    QFont font(QStringList{QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei"),
                           QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    QApplication::setFont(font);

    Workspace workspace;
    MainWindow window(workspace);
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
    window.show();
    return app.exec();
}

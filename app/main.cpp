#include "AppIcon.h"
#include "CommandLine.h"
#include "LayoutActions.h"
#include "MainWindow.h"
#include "Workspace.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

int main(int argc, char *argv[])
{
    // --help, --version and a wrong command line are answered before the
    // GUI application exists, so they need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const Result<CommandLine> commandLine = parseCommandLine(arguments);
    if (!commandLine || commandLine->exitNow)
        return finishCommandLine(commandLine);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zanfor-layout"));
    QApplication::setApplicationDisplayName(QStringLiteral("Zanfor描述排版器"));
    QApplication::setApplicationVersion(applicationVersion());
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

    // The file comes from the application's arguments: on Windows they are
    // read from the Unicode command line, which argv cannot always carry.
    const Result<CommandLine> startArguments = parseCommandLine(QCoreApplication::arguments());
    const QString layoutFile = startArguments ? startArguments->file : commandLine->file;
    // Opened once the event loop runs, as Open would open it (a bad file:
    // its message over the window, and the list stays empty). Nothing here
    // waits for the web view.
    if (!layoutFile.isEmpty()) {
        QMetaObject::invokeMethod(
            &window, [&window, layoutFile] { window.layoutActions()->openFile(layoutFile); }, Qt::QueuedConnection);
    }
    return app.exec();
}

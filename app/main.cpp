#include "AppIcon.h"
#include "CommandLine.h"
#include "MainWindow.h"
#include "Workspace.h"

#include <QApplication>
#include <QLibraryInfo>
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
    window.show();

    // The file comes from the application's arguments: on Windows they are
    // read from the Unicode command line, which argv cannot always carry.
    const Result<CommandLine> startArguments = parseCommandLine(QCoreApplication::arguments());
    const QString layoutFile = startArguments ? startArguments->file : commandLine->file;
    // TODO: the window opens layoutFile here when it is not empty (a bad
    // file: its message, and the list stays empty).
    return app.exec();
}

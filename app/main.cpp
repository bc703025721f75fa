#include "AppIcon.h"
#include "ApplicationSetup.h"
#include "CommandLine.h"
#include "FontWarmup.h"
#include "LayoutActions.h"
#include "MainWindow.h"
#include "PageRecovery.h"
#include "PreviewView.h"
#include "RecoveryActions.h"
#include "Workspace.h"

#include <QApplication>

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

    FontWarmup fonts;
    QApplication app(argc, argv);
    fonts.finish(); // the window's first text needs them
    setUpApplication(app);

    Workspace workspace;
    MainWindow window(workspace);
    window.show();
    // The web engine's libraries and the OpenGL driver load once the window
    // is on the screen, on a thread of their own, ahead of the icon and of
    // the preview's wish for the engine, which its first paint queues.
    // Started any earlier, the loading holds up the window: its building,
    // or its mapping on the screen.
    whenFirstShown(window.windowHandle(), [&window] {
        PreviewView::preloadEngine();
        setIconOnceShown(window.windowHandle());
    });
    // The page is kept in a recovery copy of this copy's own from now on.
    window.keepRecoveryCopies(std::make_shared<RecoveryStore>(RecoveryStore::defaultFolder(), workspace.files().copy(),
                                                              &RecoveryStore::isCopyRunning));

    // The file comes from the application's arguments: on Windows they are
    // read from the Unicode command line, which argv cannot always carry.
    const Result<CommandLine> startArguments = parseCommandLine(QCoreApplication::arguments());
    const QString layoutFile = startArguments ? startArguments->file : commandLine->file;
    // Opened once the event loop runs, as Open would open it (a bad file:
    // its message over the window, and the list stays empty). Nothing here
    // waits for the web view.
    // Without one, a page an earlier run left unsaved is offered back, once
    // the window is there; with one, that page waits for a later start.
    if (!layoutFile.isEmpty()) {
        QMetaObject::invokeMethod(
            &window, [&window, layoutFile] { window.layoutActions()->openFile(layoutFile); }, Qt::QueuedConnection);
    } else {
        whenFirstShown(window.windowHandle(), [&window] { window.recovery()->offer(); });
    }
    return app.exec();
}

#include "ApplicationSetup.h"

#include "CommandLine.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("zanfor-layout"));
    // No display name: X11 and Wayland append it to every window title that
    // does not already end with it, and the message boxes must read exactly
    // "提示信息". The main window's own caption is the program's name.
    QApplication::setApplicationVersion(applicationVersion());
    QApplication::setDesktopFileName(QStringLiteral("zanfor-layout"));

    // Qt's own dialogs (message-box buttons, the colour chooser) speak
    // Chinese like the rest of the window, whatever the system locale.
    auto *qtTranslator = new QTranslator(&app);
    if (qtTranslator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTranslator);

    // Tahoma where it exists, a CJK face for the Chinese captions; 11
    // pixels high, at which WenQuanYi Micro Hei's Chinese stays legible.
    QFont font(QStringList{QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei"),
                           QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(11);
    QApplication::setFont(font);
}

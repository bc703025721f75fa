#pragma once

#include <QIcon>

#include <functional>

class QWindow;

// The program's icon in every size it ships, read from the resources
// embedded in the executable, so the window needs no file beside it.
QIcon applicationIcon();

// Gives the program's windows that icon once `window` is on the screen.
// Reading the pictures and handing every size to the window system takes
// longer than drawing the whole window, and the icon of a window that is
// not there yet helps nobody.
void setIconOnceShown(QWindow *window);

// Runs `run` once `window` is first on the screen: queued from its first
// expose, so it follows the first picture. A window the window manager
// keeps minimised from the start is never exposed: then after a second.
void whenFirstShown(QWindow *window, std::function<void()> run);

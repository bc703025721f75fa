#pragma once

#include <QIcon>

class QWindow;

// The program's icon in every size it ships, read from the resources
// embedded in the executable, so the window needs no file beside it.
QIcon applicationIcon();

// Gives the program's windows that icon once `window` is on the screen.
// Reading the pictures and handing every size to the window system takes
// longer than drawing the whole window, and the icon of a window that is
// not there yet helps nobody.
void setIconOnceShown(QWindow *window);

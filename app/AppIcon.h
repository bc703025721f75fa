#pragma once

#include <QIcon>

// The program's icon in every size it ships, read from the resources
// embedded in the executable, so the window needs no file beside it.
QIcon applicationIcon();

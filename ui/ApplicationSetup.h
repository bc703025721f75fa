#pragma once

class QApplication;

// What every run of the program sets on the application before its window
// exists: its names, the Chinese texts of Qt's own dialogs and the font.
void setUpApplication(QApplication &app);

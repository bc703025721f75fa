#pragma once

class PreviewView;
class QPushButton;
class QWidget;

// The preview's phone look, on and off: the checkable button `phoneButton`
// "手机" in the list's button column and its key Ctrl+M, which works
// window-wide, from a text field too. The choice is kept in the settings
// and the view starts in it.
namespace PhoneToggle {

// Adds the button to `column` below the others and the key to `window`.
QPushButton *add(QWidget *column, QWidget *window, PreviewView &view);

} // namespace PhoneToggle

#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

class QLabel;
class QWidget;

// The small pieces of the window's look that its parts share.
namespace WindowLook {

// The application's font at a size in pixels.
QFont pixelFont(int pixels, bool bold = false);

// A caption of plain text at `pos` in `parent`, sized to its text; an
// invalid colour keeps the palette's.
QLabel *label(const QString &name, const QString &text, QPoint pos, int pixels, const QColor &colour, QWidget *parent);

// Paints the widget's background in `colour`.
void fill(QWidget *widget, const QColor &colour);

} // namespace WindowLook

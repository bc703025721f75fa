#include "WindowLook.h"

#include <QGuiApplication>
#include <QLabel>

namespace WindowLook {

QFont pixelFont(int pixels, bool bold)
{
    QFont f = QGuiApplication::font();
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel *label(const QString &name, const QString &text, QPoint pos, int pixels, const QColor &colour, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setFont(pixelFont(pixels));
    if (colour.isValid()) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour);
        l->setPalette(p);
    }
    l->move(pos);
    l->adjustSize();
    return l;
}

void fill(QWidget *widget, const QColor &colour)
{
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
}

} // namespace WindowLook

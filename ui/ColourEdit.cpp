#include "ColourEdit.h"

#include <QKeyEvent>

ColourEdit::ColourEdit(const QString &text, QWidget *parent)
    : QLineEdit(text, parent)
{
    setToolTip(QStringLiteral("双击选择颜色 (F4)"));
}

void ColourEdit::setBackground(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

QColor ColourEdit::background() const
{
    return palette().color(QPalette::Base);
}

void ColourEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    emit chooserRequested();
}

void ColourEdit::keyPressEvent(QKeyEvent *event)
{
    const bool altDown = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
    if (event->key() == Qt::Key_F4 || altDown) {
        emit chooserRequested();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

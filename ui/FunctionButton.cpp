#include "FunctionButton.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

const QColor FunctionButton::HoverColour(192, 220, 192);
const QColor FunctionButton::NormalColour(255, 255, 255);

FunctionButton::FunctionButton(const QString &caption, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(caption);
    setAccessibleName(caption);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void FunctionButton::setColour(const QColor &colour)
{
    if (m_colour == colour)
        return;
    m_colour = colour;
    update();
}

void FunctionButton::enterEvent(QEnterEvent *event)
{
    setColour(HoverColour);
    QAbstractButton::enterEvent(event);
}

void FunctionButton::leaveEvent(QEvent *event)
{
    setColour(NormalColour);
    QAbstractButton::leaveEvent(event);
}

void FunctionButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(isDown() ? m_colour.darker(110) : m_colour);
    painter.drawRoundedRect(frame, 4, 4);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(rect(), Qt::AlignCenter, text());
    if (hasFocus()) {
        // A clear focus mark for keyboard users, inside the border.
        QPen pen(palette().color(QPalette::Highlight), 2, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(frame.adjusted(3, 3, -3, -3), 3, 3);
    }
}

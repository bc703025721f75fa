#include "WindowFit.h"

QRect fitWindow(QSize designed, QMargins frame, const QRect &available)
{
    const QSize client = designed.boundedTo(available.size().shrunkBy(frame)).expandedTo(QSize(1, 1));
    const QSize outer = client.grownBy(frame);
    const QPoint corner(available.x() + qMax(0, available.width() - outer.width()) / 2,
                        available.y() + qMax(0, available.height() - outer.height()) / 2);
    return {corner + QPoint(frame.left(), frame.top()), client};
}

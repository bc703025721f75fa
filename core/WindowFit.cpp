#include "WindowFit.h"

#include <tuple>

QRect fitWindow(QSize designed, QMargins frame, const QRect &available)
{
    const QSize client = designed.boundedTo(available.size().shrunkBy(frame)).expandedTo(QSize(1, 1));
    const QSize outer = client.grownBy(frame);
    const QPoint corner(available.x() + qMax(0, available.width() - outer.width()) / 2,
                        available.y() + qMax(0, available.height() - outer.height()) / 2);
    return {corner + QPoint(frame.left(), frame.top()), client};
}

QRect fitDialog(QSize wanted, QSize minimum, QMargins frame, const QRect &available, const QRect &view)
{
    const QRect band(view.topLeft(), QSize(view.width(), qMin(view.height(), PreviewBandHeight)));
    const int left = available.left(), top = available.top(), right = available.right(), bottom = available.bottom();
    // The free area's parts clear of the band, in the order of preference;
    // a part the band leaves no room for comes out empty.
    const auto part = [](int l, int t, int r, int b) {
        return l <= r && t <= b ? QRect(QPoint(l, t), QPoint(r, b)) : QRect();
    };
    const QRect leftPart = part(left, top, qMin(right, band.left() - 1), bottom);
    const QRect rightPart = part(qMax(left, band.right() + 1), top, right, bottom);
    const bool rightWider = rightPart.width() >= leftPart.width();
    const QRect parts[] = {part(left, qMax(top, band.bottom() + 1), right, bottom), rightWider ? rightPart : leftPart,
                           rightWider ? leftPart : rightPart, part(left, top, right, qMin(bottom, band.top() - 1))};

    QRect chosen;
    QSize client;
    // Whole first; then holding the minimum, then width (the fields' need),
    // then height (less to scroll). The earlier part wins a tie.
    std::tuple<bool, bool, int, int> best(false, false, 0, 0);
    for (const QRect &room : parts) {
        const QSize inside = room.size().shrunkBy(frame);
        if (inside.width() <= 0 || inside.height() <= 0)
            continue;
        const QSize size = wanted.boundedTo(inside);
        const std::tuple<bool, bool, int, int> rank(
            size == wanted, minimum.width() <= size.width() && minimum.height() <= size.height(), size.width(),
            size.height());
        if (chosen.isNull() || rank > best) {
            best = rank;
            chosen = room;
            client = size;
        }
    }
    if (chosen.isNull())
        return fitWindow(wanted, frame, available);

    const QSize outer = client.grownBy(frame);
    const QPoint near = band.center() - QPoint(outer.width() / 2, outer.height() / 2);
    const QPoint corner(qBound(chosen.left(), near.x(), chosen.right() + 1 - outer.width()),
                        qBound(chosen.top(), near.y(), chosen.bottom() + 1 - outer.height()));
    return {corner + QPoint(frame.left(), frame.top()), client};
}

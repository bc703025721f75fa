#include "StyleGroup.h"

#include <QButtonGroup>
#include <QMouseEvent>
#include <QRadioButton>

namespace {
// The first item stands 20 pixels in and 15 pixels down.
constexpr int ItemsLeft = 20;
constexpr int ItemsTop = 15;

// An item answers clicks anywhere in its cell, not only on its circle and
// caption, so only the group's own margins count as "beside the items".
class StyleItem : public QRadioButton
{
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};
} // namespace

StyleGroup::StyleGroup(const QStringList &items, int columns, int itemHeight, QWidget *parent)
    : QGroupBox(parent)
    , m_group(new QButtonGroup(this))
    , m_columns(qMax(1, columns))
    , m_itemHeight(itemHeight)
{
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new StyleItem(items.at(i), this);
        m_group->addButton(button, i);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &StyleGroup::itemClicked);
    placeItems();
}

int StyleGroup::choice() const
{
    return m_group->checkedId();
}

void StyleGroup::setChoice(int index)
{
    if (index == choice())
        return;
    if (index < 0) {
        // An exclusive group cannot uncheck its last checked button.
        m_group->setExclusive(false);
        if (QAbstractButton *checked = m_group->checkedButton())
            checked->setChecked(false);
        m_group->setExclusive(true);
    } else if (QAbstractButton *button = m_group->button(index)) {
        button->setChecked(true);
    }
}

QRadioButton *StyleGroup::item(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

int StyleGroup::count() const
{
    return int(m_group->buttons().size());
}

bool StyleGroup::isBesideItems(const QPoint &pos) const
{
    if (!rect().contains(pos))
        return false;
    auto *button = qobject_cast<QAbstractButton *>(childAt(pos));
    return !button || !m_group->buttons().contains(button);
}

void StyleGroup::mousePressEvent(QMouseEvent *event)
{
    QGroupBox::mousePressEvent(event);
    m_pressedBeside = event->button() == Qt::LeftButton && isBesideItems(event->position().toPoint());
}

void StyleGroup::mouseReleaseEvent(QMouseEvent *event)
{
    QGroupBox::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // A press elsewhere (on an item, or none seen) makes this release the
    // end of a drag, not a click.
    const bool click = m_pressedBeside && isBesideItems(event->position().toPoint());
    m_pressedBeside = false;
    if (click)
        emit clickedBeside();
}

void StyleGroup::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    placeItems();
}

void StyleGroup::placeItems()
{
    // Items fill the columns top to bottom, column after column.
    const int n = count();
    const int rows = (n + m_columns - 1) / m_columns;
    const int columnWidth = (width() - ItemsLeft) / m_columns;
    for (int i = 0; i < n; ++i) {
        const int column = rows ? i / rows : 0;
        const int row = rows ? i % rows : 0;
        item(i)->setGeometry(ItemsLeft + column * columnWidth, ItemsTop + row * m_itemHeight, columnWidth,
                             m_itemHeight);
    }
}

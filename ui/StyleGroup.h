#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

// A radio group without caption. It reports a click on an item (which the
// frame ignores when the item is already chosen) and a click on the group
// outside its items: pressed and released there, not a drag that starts or
// ends on an item. Setting the choice from code reports nothing.
class StyleGroup : public QGroupBox
{
    Q_OBJECT
public:
    StyleGroup(const QStringList &items, int columns, int itemHeight, QWidget *parent = nullptr);

    int choice() const;
    void setChoice(int index);
    QRadioButton *item(int index) const;
    int count() const;

signals:
    void itemClicked(int index);
    void clickedBeside();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeItems();
    bool isBesideItems(const QPoint &pos) const;

    QButtonGroup *m_group;
    int m_columns;
    int m_itemHeight;
    bool m_pressedBeside = false;
};

#pragma once

#include "GeneratedItems.h"

#include <QAbstractListModel>

// Shows the display names of the generated-items list in `lstlei` and
// follows every change of the list, whoever makes it. Its entries can be
// dragged within the list, dropped between entries, never onto one.
class GeneratedItemsModel
    : public QAbstractListModel
    , private GeneratedItems::Listener
{
    Q_OBJECT
public:
    explicit GeneratedItemsModel(GeneratedItems &items, QObject *parent = nullptr);
    ~GeneratedItemsModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;

private:
    void aboutToInsert(int first, int last) override;
    void inserted() override;
    void aboutToRemove(int first, int last) override;
    void removed() override;
    void aboutToReorder() override;
    void reordered(const QList<int> &order) override;
    void changed(int i) override;
    void aboutToReset() override;
    void reset() override;

    GeneratedItems &m_items;
};

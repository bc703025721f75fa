#pragma once

#include "GeneratedItems.h"

#include <QAbstractListModel>

// Shows the display names of the generated-items list in `lstlei` and
// follows every change of the list, whoever makes it.
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

private:
    void aboutToInsert(int i) override;
    void inserted() override;
    void aboutToMove(int from, int to) override;
    void moved() override;
    void aboutToRemove(int i) override;
    void removed() override;
    void aboutToReset() override;
    void reset() override;

    GeneratedItems &m_items;
};

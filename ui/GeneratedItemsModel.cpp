#include "GeneratedItemsModel.h"

GeneratedItemsModel::GeneratedItemsModel(GeneratedItems &items, QObject *parent)
    : QAbstractListModel(parent)
    , m_items(items)
{
    m_items.setListener(this);
}

GeneratedItemsModel::~GeneratedItemsModel()
{
    m_items.setListener(nullptr);
}

int GeneratedItemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_items.count();
}

QVariant GeneratedItemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_items.name(index.row());
    return {};
}

void GeneratedItemsModel::aboutToInsert(int i)
{
    beginInsertRows({}, i, i);
}

void GeneratedItemsModel::inserted()
{
    endInsertRows();
}

void GeneratedItemsModel::aboutToMove(int from, int to)
{
    // Moving one row down means inserting it after the next row.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
}

void GeneratedItemsModel::moved()
{
    endMoveRows();
}

void GeneratedItemsModel::aboutToRemove(int i)
{
    beginRemoveRows({}, i, i);
}

void GeneratedItemsModel::removed()
{
    endRemoveRows();
}

void GeneratedItemsModel::aboutToReset()
{
    beginResetModel();
}

void GeneratedItemsModel::reset()
{
    endResetModel();
}

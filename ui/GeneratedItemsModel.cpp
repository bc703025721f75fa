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

Qt::ItemFlags GeneratedItemsModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

Qt::DropActions GeneratedItemsModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

void GeneratedItemsModel::aboutToInsert(int first, int last)
{
    beginInsertRows({}, first, last);
}

void GeneratedItemsModel::inserted()
{
    endInsertRows();
}

void GeneratedItemsModel::aboutToRemove(int first, int last)
{
    beginRemoveRows({}, first, last);
}

void GeneratedItemsModel::removed()
{
    endRemoveRows();
}

void GeneratedItemsModel::aboutToReorder()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GeneratedItemsModel::reordered(const QList<int> &order)
{
    // The selection and the current entry follow their entries to where
    // they now stand.
    const QList<int> newRow = GeneratedItems::inverseOrder(order);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(this->index(newRow.at(index.row()), 0));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GeneratedItemsModel::changed(int i)
{
    const QModelIndex entry = index(i, 0);
    emit dataChanged(entry, entry);
}

void GeneratedItemsModel::aboutToReset()
{
    beginResetModel();
}

void GeneratedItemsModel::reset()
{
    endResetModel();
}

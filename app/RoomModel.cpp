#include "RoomModel.h"

int RoomModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant RoomModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const RoomRow& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return row.text();
    case IdRole:
        return row.id;
    case NameRole:
        return row.name;
    case KeyRole:
        return row.key;
    default:
        return {};
    }
}

QStringList RoomModel::entries() const
{
    QStringList texts;
    texts.reserve(m_rows.size());
    for (const RoomRow& row : m_rows)
        texts << row.text();
    return texts;
}

void RoomModel::append(const RoomRow& row)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows << row;
    endInsertRows();
}

void RoomModel::replace(int index, const RoomRow& row)
{
    if (index < 0 || index >= m_rows.size())
        return;
    m_rows[index] = row;
    emit dataChanged(this->index(index), this->index(index));
}

void RoomModel::remove(int index)
{
    if (index < 0 || index >= m_rows.size())
        return;
    beginRemoveRows({}, index, index);
    m_rows.removeAt(index);
    endRemoveRows();
}

#include "LogModel.h"

LogModel::LogModel(int maxLines, QObject* parent)
    : QAbstractListModel(parent)
    , m_max(std::max(1, maxLines))
{
}

int LogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant LogModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size()
        || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return m_lines[index.row()];
}

bool LogModel::append(const QString& line)
{
    const bool full = m_lines.size() >= m_max;
    if (full) {
        beginRemoveRows({}, 0, 0);
        m_lines.removeFirst();
        endRemoveRows();
    }
    const int at = int(m_lines.size());
    beginInsertRows({}, at, at);
    m_lines << line;
    endInsertRows();
    return full;
}

void LogModel::clear()
{
    beginResetModel();
    m_lines.clear();
    endResetModel();
}

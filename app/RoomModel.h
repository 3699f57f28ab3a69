#pragma once
// The room list: one row per room the server confirmed, "NAME:ID" as its text. The room's name, id
// and key are data of the row (roles), so nothing is ever parsed back from the text. The session
// keeper changes it; the window shows it.
#include "PresenceTypes.h"

#include <QAbstractListModel>
#include <QList>
#include <QStringList>

class RoomModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole, // int
        NameRole,              // QByteArray, as the server named the room
        KeyRole,               // QString, the room asked for (empty: nobody asked)
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QList<RoomRow>& rows() const { return m_rows; }
    /// The rows' texts, in order.
    QStringList entries() const;

    void append(const RoomRow& row);
    void replace(int index, const RoomRow& row);
    void remove(int index);

private:
    QList<RoomRow> m_rows;
};

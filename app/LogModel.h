#pragma once
// The activity log's lines, oldest first. It keeps the newest kMaxLines: a server that sends line
// after line must not grow memory without end.
#include <QAbstractListModel>
#include <QStringList>

class LogModel final : public QAbstractListModel
{
    Q_OBJECT
public:
    static constexpr int kMaxLines = 10000;

    explicit LogModel(int maxLines = kMaxLines, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// Adds a line at the end; true when the oldest line went to make room.
    bool append(const QString& line);
    void clear();
    const QStringList& lines() const { return m_lines; }

private:
    int m_max;
    QStringList m_lines;
};

#pragma once
// ListBox: a list of text lines on a model, looking as a QListWidget does, that stays as fast with
// 100,000 lines as with ten. One column, every row the height of one line: adding a row costs the
// same however many there are (a QListView lays out every row again on each insert).
#include <QTableView>

class ListBox final : public QTableView
{
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    int count() const;
    /// The current row, or -1.
    int currentRow() const;
    /// Makes row current and selects it (-1: none).
    void setCurrentRow(int row);
    /// The text of a row.
    QString text(int row) const;
    /// Whether the current row is also selected: what the user picked.
    bool currentRowSelected() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fitRowHeight();
};

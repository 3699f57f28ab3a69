#include "ListBox.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>

namespace {

// A table outlines its current cell; a list shows the selected line alone.
class ListItemDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

ListBox::ListBox(QWidget* parent)
    : QTableView(parent)
{
    setItemDelegate(new ListItemDelegate(this));
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(ScrollPerItem);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    fitRowHeight();
}

void ListBox::setModel(QAbstractItemModel* model)
{
    QTableView::setModel(model);
    fitRowHeight();
}

// One line of text in the view's font, as a list view sizes its items.
void ListBox::fitRowHeight()
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = QStringLiteral("X");
    option.features |= QStyleOptionViewItem::HasDisplay;
    const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
    verticalHeader()->setDefaultSectionSize(size.height());
}

void ListBox::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitRowHeight();
}

int ListBox::count() const
{
    return model() ? model()->rowCount() : 0;
}

int ListBox::currentRow() const
{
    return currentIndex().row();
}

void ListBox::setCurrentRow(int row)
{
    if (!model())
        return;
    if (row < 0 || row >= count()) {
        setCurrentIndex({});
        clearSelection();
        return;
    }
    setCurrentIndex(model()->index(row, 0));
}

QString ListBox::text(int row) const
{
    return model() ? model()->index(row, 0).data().toString() : QString();
}

bool ListBox::currentRowSelected() const
{
    return currentIndex().isValid() && selectionModel() && selectionModel()->isSelected(currentIndex());
}

#include "RoomWindow.h"

#include "Texts.h"
#include "TranscriptModel.h"
#include "TranscriptStore.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QTableView>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using Transcript::LineKind;

// The colours of the transcript: the quiet grey of comings and goings, the whisper's mark, and
// the unread marker (vermillion, told apart from the others by being a line, not a colour only).
constexpr QRgb kQuiet = 0x6e6e6e;
constexpr QRgb kWhisper = 0x8a3f73;
constexpr QRgb kMarker = 0xD55E00;
constexpr int kPadding = 3;

QString timeText(qint64 at)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(at).toLocalTime();
    return local.date() == QDate::currentDate() ? local.toString(QStringLiteral("HH:mm:ss"))
                                                 : local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// Draws a line in pieces: time, name (bold; a whisper marked), text. Every row has the same
// height, so the view never measures rows it does not show.
class LineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {200, option.fontMetrics.height() + 2 * kPadding};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto kind = LineKind(index.data(TranscriptModel::KindRole).toInt());
        const bool awaiting = index.data(TranscriptModel::AwaitingEchoRole).toBool();
        const bool quiet = kind == LineKind::Entered || kind == LineKind::Left || awaiting;
        const QColor text = quiet ? QColor(kQuiet) : option.palette.color(QPalette::Text);
        p->save();
        if (option.state & QStyle::State_Selected)
            p->fillRect(option.rect, option.palette.color(QPalette::Highlight).lighter(170));
        QRect r = option.rect.adjusted(kPadding, 0, -kPadding, 0);
        QFont font = option.font;
        auto piece = [&](const QString& s, const QColor& colour, bool bold, bool italic) {
            font.setBold(bold);
            font.setItalic(italic);
            p->setFont(font);
            p->setPen(colour);
            const QFontMetrics fm(font);
            const QString shown = fm.elidedText(s, Qt::ElideRight, std::max(0, r.width()));
            p->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
            r.setLeft(r.left() + fm.horizontalAdvance(shown));
        };
        piece(timeText(index.data(TranscriptModel::TimeRole).toLongLong()) + QStringLiteral("  "), QColor(kQuiet),
              false, false);
        const QString name = index.data(TranscriptModel::SenderRole).toString();
        const QString said = index.data(TranscriptModel::TextRole).toString();
        // The line's text with the name at its start and what was said at its end: what stands
        // between them is drawn plain.
        const auto between = [&](Text pattern) {
            const QString line = Texts::get(pattern, {name, said});
            return line.mid(name.size(), line.size() - name.size() - said.size());
        };
        switch (kind) {
        case LineKind::Entered:
        case LineKind::Left:
            piece(Texts::get(kind == LineKind::Entered ? Text::LineEntered : Text::LineLeft, {name}), text, false,
                  true);
            break;
        case LineKind::Whispered:
            piece(name, QColor(kWhisper), true, true);
            piece(between(Text::LineWhispered), QColor(kWhisper), false, true);
            piece(said, text, false, true);
            break;
        case LineKind::Said:
            piece(name, text, true, false);
            piece(between(Text::LineSaid), text, false, false);
            piece(said + (awaiting ? QStringLiteral("  ") + Texts::get(Text::RoomSending) : QString()), text, false,
                  awaiting);
            break;
        }
        if (index.data(TranscriptModel::FirstUnreadRole).toBool()) {
            p->setPen(QPen(QColor(kMarker), 2));
            p->drawLine(option.rect.topLeft() + QPoint(0, 1), option.rect.topRight() + QPoint(0, 1));
            font.setBold(true);
            font.setItalic(false);
            font.setPointSizeF(font.pointSizeF() * 0.85);
            p->setFont(font);
            const QRect label = option.rect.adjusted(0, 2, -kPadding, 0);
            p->drawText(label, Qt::AlignRight | Qt::AlignTop, Texts::get(Text::RoomUnreadMarker));
        }
        p->restore();
    }
};

} // namespace

RoomWindow::RoomWindow(const TranscriptReader& reader, TranscriptStore* store, const Transcript::RoomRef& room,
                       Send send, QWidget* parent)
    : QWidget(parent), m_store(store), m_send(std::move(send))
{
    setWindowTitle(QStringLiteral("%1:%2").arg(Transcript::shownName(room.name)).arg(room.exchange));
    m_model = new TranscriptModel(reader, store, room, this);
    // A table of one column with rows of one height: it lays out a million rows without visiting
    // them (a list view walks every row to place it).
    // Sized before the model comes: resizing a million sections afterwards visits each.
    m_view = new QTableView;
    m_view->setItemDelegate(new LineDelegate(m_view));
    m_view->horizontalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2 * kPadding);
    m_view->setShowGrid(false);
    m_view->setWordWrap(false);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setModel(m_model);

    m_membersCaption = new QLabel;
    m_members = new QListWidget;
    auto* people = new QWidget;
    auto* peopleLayout = new QVBoxLayout(people);
    peopleLayout->setContentsMargins(0, 0, 0, 0);
    peopleLayout->addWidget(m_membersCaption);
    peopleLayout->addWidget(m_members);

    auto* split = new QSplitter;
    split->addWidget(m_view);
    split->addWidget(people);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);

    m_say = new QLineEdit;
    m_say->setPlaceholderText(Texts::get(Text::RoomSayPlaceholder, {windowTitle()}));
    auto* sendButton = new QPushButton(Texts::get(Text::RoomSend));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_say);
    bottom->addWidget(sendButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);
    layout->addLayout(bottom);
    resize(640, 420);
    showMembers();

    connect(m_say, &QLineEdit::returnPressed, this, &RoomWindow::sendTyped);
    connect(sendButton, &QPushButton::clicked, this, &RoomWindow::sendTyped);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, &RoomWindow::markSeen);
    // New lines keep the end in view when it was in view.
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar* bar = m_view->verticalScrollBar();
        m_atEnd = bar->value() >= bar->maximum();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { followEnd(m_atEnd); });
}

const Transcript::RoomRef& RoomWindow::room() const
{
    return m_model->room();
}

void RoomWindow::setMembers(const QStringList& names)
{
    m_names = names;
    showMembers();
}

void RoomWindow::memberChanged(const QString& name, bool inside)
{
    const QByteArray key = Transcript::normalised(name.toUtf8());
    m_names.removeIf([&](const QString& n) { return Transcript::normalised(n.toUtf8()) == key; });
    if (inside)
        m_names << name;
    showMembers();
}

QStringList RoomWindow::members() const
{
    return m_names;
}

void RoomWindow::showMembers()
{
    m_names.sort(Qt::CaseInsensitive);
    m_members->clear();
    m_members->addItems(m_names);
    m_membersCaption->setText(Texts::get(Text::RoomMembers, {QString::number(m_names.size())}));
}

void RoomWindow::scrollToFirstUnread()
{
    const int marker = m_model->markerRow();
    if (marker >= 0)
        m_view->scrollTo(m_model->index(marker), QAbstractItemView::PositionAtTop);
    else
        m_view->scrollToBottom();
}

void RoomWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_model->refresh();
    m_model->placeMarker();
    scrollToFirstUnread();
    m_say->setFocus();
    // Once laid out, what is in view has been seen.
    QTimer::singleShot(0, this, &RoomWindow::markSeen);
}

void RoomWindow::sendTyped()
{
    const QString typed = m_say->text();
    if (typed.trimmed().isEmpty() || !m_send)
        return;
    const QByteArray text = typed.toUtf8();
    if (!m_send(text))
        return;
    m_say->clear();
    if (m_store)
        m_store->ownLineSent(room().name, room().exchange, text);
    m_view->scrollToBottom();
}

// Lines count as read once they have been in view.
void RoomWindow::markSeen()
{
    if (!m_store || !isVisible())
        return;
    const QModelIndex last = m_view->indexAt(QPoint(1, m_view->viewport()->height() - 1));
    const int row = last.isValid() ? last.row() : (m_model->rowCount() > 0 ? m_model->rowCount() - 1 : -1);
    if (row >= 0)
        m_store->markRead(room(), m_model->readPositionAfter(row));
}

void RoomWindow::followEnd(bool wasAtEnd)
{
    if (wasAtEnd && isVisible())
        m_view->scrollToBottom();
    markSeen();
}

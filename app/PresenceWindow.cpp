#include "PresenceWindow.h"

#include "Texts.h"
#include "TranscriptReader.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace PresenceView {

QList<RoomRow> roomRows(const TranscriptReader& reader, Time now, const QByteArray& account)
{
    QList<RoomRow> out;
    for (const TranscriptReader::Room& room : reader.rooms(account)) {
        const QList<PresenceReport::Stay> stays = reader.stays(room.id, now);
        RoomRow row{QStringLiteral("%1:%2").arg(Transcript::shownName(room.ref.name)).arg(room.ref.exchange),
                    PresenceReport::measure(stays, now - kDayMs, now), PresenceReport::measure(stays, now - kWeekMs, now)};
        if (row.week.any())
            out << row;
    }
    return out;
}

// Okabe-Ito: bluish green for present; for each absence its own colour and pattern.
Look presentLook()
{
    return {QColor(0x00, 0x9E, 0x73), Qt::NoBrush};
}

Look absentLook(Transcript::Reason why)
{
    using R = Transcript::Reason;
    switch (why) {
    case R::Lost:
        return {QColor(0xD5, 0x5E, 0x00), Qt::BDiagPattern};
    case R::DeadLink:
        return {QColor(0xE6, 0x9F, 0x00), Qt::FDiagPattern};
    case R::SignedOnElsewhere:
        return {QColor(0xCC, 0x79, 0xA7), Qt::DiagCrossPattern};
    case R::Refused:
        return {QColor(0x00, 0x72, 0xB2), Qt::HorPattern};
    case R::Ejected:
        return {QColor(0xF0, 0xE4, 0x42), Qt::VerPattern};
    case R::Disconnect:
        return {QColor(0x56, 0xB4, 0xE9), Qt::Dense6Pattern};
    case R::Quit:
    case R::Left:
        return {QColor(0xBB, 0xBB, 0xBB), Qt::Dense6Pattern};
    case R::Unrecorded:
        break;
    }
    return {QColor(0x00, 0x00, 0x00), Qt::CrossPattern};
}

void paintLook(QPainter& painter, const QRectF& rect, const Look& look)
{
    painter.fillRect(rect, look.colour);
    if (look.pattern != Qt::NoBrush) {
        // Dark lines on light colours, light lines on dark ones.
        const QColor lines = look.colour.lightness() > 110 ? QColor(0, 0, 0, 150) : QColor(255, 255, 255, 190);
        painter.fillRect(rect, QBrush(lines, look.pattern));
    }
}

Timeline::Timeline(PresenceReport::Presence week, Time now, QWidget* parent)
    : QWidget(parent), m_week(std::move(week)), m_now(now)
{
    setMinimumSize(168, 14);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip(Texts::get(Text::PresenceTimelineTip));
}

void Timeline::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const Time start = m_now - kWeekMs;
    const auto x = [&](Time t) { return area.left() + area.width() * double(t - start) / double(kWeekMs); };
    // A stretch of minutes is still seen, at the right edge too: at least two pixels inside the frame.
    const auto stretch = [&](Time from, Time to) {
        constexpr double kLeast = 2.0;
        const double left = std::min(x(from), area.right() - 1.0 - kLeast);
        return QRectF(QPointF(left, area.top()), QPointF(std::max(x(to), left + kLeast), area.bottom()));
    };
    // Not measured (before the room's first stay, after a Leave): the window's own background.
    p.fillRect(area, palette().color(QPalette::Base));
    for (const PresenceReport::Stay& s : m_week.stretches)
        paintLook(p, stretch(s.from, s.to), presentLook());
    for (const PresenceReport::Gap& g : m_week.gaps)
        paintLook(p, stretch(g.from, g.to), absentLook(g.why));
    p.setPen(QColor(0, 0, 0, 90));
    for (int day = 1; day < 7; ++day)
        p.drawLine(QPointF(x(start + day * kDayMs), area.top()), QPointF(x(start + day * kDayMs), area.bottom()));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(area);
}

} // namespace PresenceView

namespace {

QString duration(Transcript::Time ms)
{
    const qint64 s = (ms + 500) / 1000;
    if (s < 120)
        return Texts::get(Text::DurationSeconds, {QString::number(s)});
    if (s < 2 * 3600)
        return Texts::get(Text::DurationMinutes, {QString::number(s / 60)});
    return Texts::get(Text::DurationHours, {QString::number(s / 3600), QString::number(s / 60 % 60)});
}

// A swatch of the legend, drawn as the timeline draws.
class Swatch : public QWidget
{
public:
    explicit Swatch(PresenceView::Look look) : m_look(look) { setFixedSize(28, 14); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        PresenceView::paintLook(p, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_look);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }

private:
    PresenceView::Look m_look;
};

QWidget* legend()
{
    using R = Transcript::Reason;
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 6, 0, 0);
    QList<std::pair<PresenceView::Look, QString>> entries{
        {PresenceView::presentLook(), Texts::get(Text::PresencePresent)}};
    for (R why : {R::Lost, R::DeadLink, R::SignedOnElsewhere, R::Refused, R::Ejected, R::Disconnect, R::Quit,
                  R::Unrecorded})
        entries.append({PresenceView::absentLook(why), Transcript::reasonText(why)});
    constexpr int kColumns = 3;
    for (int i = 0; i < entries.size(); ++i) {
        grid->addWidget(new Swatch(entries[i].first), i / kColumns, (i % kColumns) * 2);
        grid->addWidget(new QLabel(entries[i].second), i / kColumns, (i % kColumns) * 2 + 1);
    }
    grid->setColumnStretch(kColumns * 2 - 1, 1);
    return box;
}

} // namespace

PresenceWindow::PresenceWindow(const TranscriptReader& reader, QWidget* parent)
    : QWidget(parent), m_reader(reader), m_scroll(new QScrollArea)
{
    setWindowTitle(Texts::get(Text::PresenceTitle));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(legend());
    resize(720, 360);
    reload();
}

void PresenceWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    reload();
}

void PresenceWindow::reload(Transcript::Time now)
{
    auto* table = new QWidget;
    auto* grid = new QGridLayout(table);
    grid->setHorizontalSpacing(14);
    QStringList headers;
    for (Text t : {Text::PresenceRoom, Text::PresenceDay, Text::PresenceWeek, Text::PresenceGaps, Text::PresenceLongest,
                   Text::PresenceTimeline})
        headers << Texts::get(t);
    for (int c = 0; c < headers.size(); ++c) {
        auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(headers[c].toHtmlEscaped()));
        grid->addWidget(label, 0, c, c > 0 && c < 5 ? Qt::AlignRight : Qt::AlignLeft);
    }
    const QList<PresenceView::RoomRow> rows = PresenceView::roomRows(m_reader, now);
    for (int r = 0; r < rows.size(); ++r) {
        const PresenceView::RoomRow& row = rows[r];
        auto* name = new QLabel;
        name->setTextFormat(Qt::PlainText);
        name->setText(row.label);
        grid->addWidget(name, r + 1, 0);
        const auto right = [&](const QString& text, int column) {
            grid->addWidget(new QLabel(text), r + 1, column, Qt::AlignRight);
        };
        right(row.day.any() ? row.day.percent() + QLatin1Char('%') : QStringLiteral("-"), 1);
        right(row.week.percent() + QLatin1Char('%'), 2);
        right(QString::number(row.week.gaps.size()), 3);
        right(row.week.gaps.isEmpty() ? QStringLiteral("-") : duration(row.week.longestGap()), 4);
        grid->addWidget(new PresenceView::Timeline(row.week, now), r + 1, 5);
    }
    if (rows.isEmpty())
        grid->addWidget(new QLabel(Texts::get(Text::PresenceNoRooms)), 1, 0, 1, headers.size());
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(int(rows.size()) + 1, 1);
    m_scroll->setWidget(table); // the old table goes
    m_rows = int(rows.size());
}

#pragma once
// PresenceWindow: how present the screen name has been in each room of the last 7 days: the share
// of the last 24 hours and of the 7 days, the gaps and the longest, and a timeline per room
// (present, absent and why), with a legend. The colours are the Okabe-Ito set, each absence also
// with a pattern of its own, so that they are told apart without telling colours apart.
#include "PresenceReport.h"

#include <QList>
#include <QString>
#include <QWidget>

class TranscriptReader;

namespace PresenceView {

using Transcript::Time;
constexpr Time kDayMs = 24 * 3600 * 1000;
constexpr Time kWeekMs = 7 * kDayMs;

/// One room's presence over the last day and week.
struct RoomRow {
    QString label; // "ROOM:EXCHANGE"
    PresenceReport::Presence day, week;
};
/// The rooms with a stay in the 7 days before now, by name.
QList<RoomRow> roomRows(const TranscriptReader& reader, Time now, const QByteArray& account = {});

/// How a stretch of the timeline looks.
struct Look {
    QColor colour;
    Qt::BrushStyle pattern = Qt::NoBrush; // drawn over the colour
};
Look presentLook();
Look absentLook(Transcript::Reason why);
/// Fills rect with a look, as the timeline and the legend do.
void paintLook(QPainter& painter, const QRectF& rect, const Look& look);

/// A week drawn from left (7 days ago) to right (now), a thin line at each day.
class Timeline : public QWidget
{
public:
    Timeline(PresenceReport::Presence week, Time now, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {336, 18}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PresenceReport::Presence m_week;
    Time m_now;
};

} // namespace PresenceView

class PresenceWindow : public QWidget
{
    Q_OBJECT
public:
    /// Reads through reader, which must outlive the window.
    explicit PresenceWindow(const TranscriptReader& reader, QWidget* parent = nullptr);

    /// Works the figures out again for the week before now (done each time the window is shown).
    void reload(Transcript::Time now = Transcript::now());
    int roomCount() const { return m_rows; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TranscriptReader& m_reader;
    class QScrollArea* m_scroll;
    int m_rows = 0;
};

#include "MessagesWindow.h"

#include "Texts.h"
#include "TranscriptReader.h"

#include <QDateTime>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString shownTime(Transcript::Time at)
{
    return QDateTime::fromMSecsSinceEpoch(at).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

} // namespace

MessagesWindow::MessagesWindow(const TranscriptReader& reader, QWidget* parent)
    : QWidget(parent), m_reader(reader), m_tree(new QTreeWidget)
{
    setWindowTitle(Texts::get(Text::MessagesTitle));
    m_tree->setColumnCount(2);
    m_tree->setHeaderLabels({Texts::get(Text::MessagesFrom), Texts::get(Text::MessagesReceived)});
    m_tree->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_tree->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    m_tree->setRootIsDecorated(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    resize(560, 380);
    reload();
}

void MessagesWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    reload();
}

void MessagesWindow::reload()
{
    m_tree->clear();
    QHash<QByteArray, QTreeWidgetItem*> senders;
    // Newest first: the first message of a sender opens that sender's entry, so the entries come
    // in the order of their newest message.
    for (const TranscriptReader::InstantMessage& im : m_reader.instantMessages(0, kMostMessages)) {
        if (im.outgoing)
            continue;
        const QByteArray key = Transcript::normalised(im.peer);
        QTreeWidgetItem*& sender = senders[key];
        if (!sender) {
            sender = new QTreeWidgetItem(m_tree, {Transcript::shownName(im.peer), shownTime(im.at)});
            QFont bold = sender->font(0);
            bold.setBold(true);
            sender->setFont(0, bold);
        }
        QString text = Transcript::shownText(im.text);
        if (im.autoResponse)
            text += QStringLiteral("  ") + Texts::get(Text::MessagesAutoResponse);
        new QTreeWidgetItem(sender, {text, shownTime(im.at)});
    }
    for (QTreeWidgetItem* sender : std::as_const(senders))
        sender->setText(0, Texts::get(Text::MessagesSender, {sender->text(0), QString::number(sender->childCount())}));
    if (m_tree->topLevelItemCount() > 0)
        m_tree->topLevelItem(0)->setExpanded(true);
}

#pragma once
// MessagesWindow: the instant messages received, by sender, the newest conversation first and
// each sender's messages newest first.
#include "Transcript.h"

#include <QWidget>

class QTreeWidget;
class TranscriptReader;

class MessagesWindow : public QWidget
{
    Q_OBJECT
public:
    /// At most this many messages are listed.
    static constexpr int kMostMessages = 5000;

    /// Reads through reader, which must outlive the window.
    explicit MessagesWindow(const TranscriptReader& reader, QWidget* parent = nullptr);

    /// Reads the messages again (done each time the window is shown).
    void reload();
    QTreeWidget& tree() const { return *m_tree; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TranscriptReader& m_reader;
    QTreeWidget* m_tree;
};

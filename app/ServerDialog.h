#pragma once
// "Server...": the TOC server to sign on to, as a host and a port box. What the boxes hold is checked
// as --server checks its value; OK stays disabled, and a line says why, until it is a server.
#include "ServerOption.h"

#include <QDialog>

#include <optional>

class QDialogButtonBox;
class QLabel;
class QLineEdit;

class ServerDialog : public QDialog
{
    Q_OBJECT
public:
    /// Starts with current in the boxes.
    explicit ServerDialog(const ServerAddress& current, QWidget* parent = nullptr);

    /// The server the boxes name (the default port when the port box is empty), or nullopt.
    std::optional<ServerAddress> address() const;
    /// Why the boxes name no server, or an empty text when they do.
    QString problem() const;

    QLineEdit* hostBox() const { return m_host; }
    QLineEdit* portBox() const { return m_port; }

private:
    void check();

    QLineEdit* m_host;
    QLineEdit* m_port;
    QLabel* m_problem;
    QDialogButtonBox* m_buttons;
};

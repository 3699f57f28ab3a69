#include "ServerDialog.h"

#include "Texts.h"

#include "TarnwickBuildConfig.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The boxes as one --server value: an IPv6 address goes in brackets so that its colons are not
// read as the port's.
QString serverText(const QString& host, const QString& port)
{
    QString text = host.trimmed();
    if (text.contains(u':') && !text.startsWith(u'['))
        text = u'[' + text + u']';
    return port.trimmed().isEmpty() ? text : text + u':' + port.trimmed();
}

} // namespace

ServerDialog::ServerDialog(const ServerAddress& current, QWidget* parent)
    : QDialog(parent)
    , m_host(new QLineEdit(current.host, this))
    , m_port(new QLineEdit(QString::number(current.port), this))
    , m_problem(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(Texts::get(Text::ServerTitle));
    m_port->setPlaceholderText(QString::number(TarnwickBuild::kTocPort));
    m_problem->setWordWrap(true);
    // Room for a host name and for the line that says what is wrong; the dialog grows with that line.
    m_host->setMinimumWidth(m_host->fontMetrics().averageCharWidth() * 32);
    auto* form = new QFormLayout(this);
    form->setSizeConstraint(QLayout::SetFixedSize);
    form->addRow(Texts::get(Text::ServerHost), m_host);
    form->addRow(Texts::get(Text::ServerPort), m_port);
    form->addRow(m_problem);
    form->addRow(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_host, &QLineEdit::textChanged, this, &ServerDialog::check);
    connect(m_port, &QLineEdit::textChanged, this, &ServerDialog::check);
    check();
}

std::optional<ServerAddress> ServerDialog::address() const
{
    return parseServerOption(serverText(m_host->text(), m_port->text()), TarnwickBuild::kTocPort);
}

QString ServerDialog::problem() const
{
    if (address())
        return {};
    if (m_host->text().trimmed().isEmpty())
        return Texts::get(Text::ServerNoHost);
    if (!parseServerOption(serverText(m_host->text(), {}), TarnwickBuild::kTocPort))
        return Texts::get(Text::ServerBadHost, {m_host->text().trimmed()});
    return Texts::get(Text::ServerBadPort);
}

void ServerDialog::check()
{
    const QString why = problem();
    m_problem->setText(why);
    m_problem->setVisible(!why.isEmpty());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(why.isEmpty());
}

#include "frmMain.h"

#include "Artwork.h"
#include "Button.h"
#include "PropertyBag.h"
#include "QuonTOCSock.h"
#include "TocErrors.h"
#include "Units.h"
#include "frmMainDesign.h"
#include "modSysTray.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QProxyStyle>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <limits>
#include <stdexcept>

#ifndef TARNWICK_TOC_HOST
#define TARNWICK_TOC_HOST "localhost"
#endif

namespace D = frmMainDesign;

namespace {

// The password box shows one "*" per character, whatever the platform's style would use.
class StarPasswordStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A design colour (0x00BBGGRR, or 0x800000nn for system colour nn) as the palette shows it.
QColor designColor(unsigned value, const QPalette& palette)
{
    if (value & 0x80000000u) {
        switch (value & 0xFF) {
        case 5: return palette.color(QPalette::Base);
        case 8: return palette.color(QPalette::Text);
        default: return palette.color(QPalette::Window);
        }
    }
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace

frmMain::frmMain(std::unique_ptr<QuonTOCSock> sock, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
    , Sock(sock ? std::move(sock) : std::make_unique<QuonTOCSock>())
    , m_host(QStringLiteral(TARNWICK_TOC_HOST))
    , m_icon(Artwork::appIcon())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(m_icon);
    setFont(D::windowFont());
    buildControls();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    connect(Connect, &Button::Click, this, &frmMain::onConnectClick);
    connect(Disconnect, &Button::Click, this, &frmMain::onDisconnectClick);
    connect(Join, &Button::Click, this, &frmMain::onJoinClick);
    connect(Leave, &Button::Click, this, &frmMain::onLeaveClick);
    connect(Sock.get(), &QuonTOCSock::LoggedIn, this, &frmMain::onLoggedIn);
    connect(Sock.get(), &QuonTOCSock::LoggedOff, this, &frmMain::onLoggedOff);
    connect(Sock.get(), &QuonTOCSock::JoinedChat, this, &frmMain::onJoinedChat);
    connect(Sock.get(), &QuonTOCSock::LeftChat, this, &frmMain::onLeftChat);
    connect(Sock.get(), &QuonTOCSock::Error, this, &frmMain::onError);
    connect(Sock.get(), &QuonTOCSock::SocketError, this, &frmMain::onSocketError);

    // Load: the tray icon, holding imgICO's picture.
    QSystemTrayIcon* tray = modSysTray::AddTrayIcon(this, QString::fromLatin1(kTitle), &m_icon);
    connect(tray, &QSystemTrayIcon::activated, this, &frmMain::trayActivated);
}

frmMain::~frmMain()
{
    // Sock's events must not reach a window that is half gone.
    Sock->disconnect(this);
}

void frmMain::buildControls()
{
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    const auto place = [&](QWidget* control, const D::Place& where) {
        control->setGeometry(D::toPixels(where, dpiX, dpiY));
    };
    const auto named = [](QWidget* control, const char* name) {
        control->setObjectName(QString::fromLatin1(name));
        return control;
    };
    setFixedSize(units::twipsToPixels(D::kClientWidth, dpiX), units::twipsToPixels(D::kClientHeight, dpiY));

    // Created in tab order, so the focus chain follows the design without further ordering.
    frameLogin = new QGroupBox(QStringLiteral("Connection"), this);
    named(frameLogin, "frameLogin");
    place(frameLogin, D::kFrameLogin);

    QPalette labelPalette = palette();
    labelPalette.setColor(QPalette::WindowText, designColor(D::kLabelTextColor, labelPalette));
    const auto loginLabel = [&](const char* name, const QString& text, const D::Place& where) {
        auto* label = new QLabel(text, frameLogin);
        named(label, name);
        label->setFont(D::labelFont());
        label->setPalette(labelPalette);
        place(label, where);
        return label;
    };
    const auto textBox = [&](const char* name, QWidget* container, const D::Place& where) {
        auto* box = new QLineEdit(container);
        named(box, name);
        place(box, where);
        return box;
    };

    lblSN = loginLabel("lblSN", QStringLiteral("ScreenName:"), D::kLblSN);
    txtSN = textBox("txtSN", frameLogin, D::kTxtSN);
    lblPw = loginLabel("lblPw", QStringLiteral("Password:"), D::kLblPw);
    txtPW = textBox("txtPW", frameLogin, D::kTxtPW);
    auto* starStyle = new StarPasswordStyle;
    starStyle->setParent(txtPW);
    txtPW->setStyle(starStyle);
    txtPW->setEchoMode(QLineEdit::Password);
    Connect = makeButton(QStringLiteral("Connect"), frameLogin);
    place(Connect, D::kConnect);
    Disconnect = makeButton(QStringLiteral("Disconnect"), frameLogin);
    place(Disconnect, D::kDisconnect);

    Status = new QStatusBar(this);
    named(Status, "Status");
    Status->setSizeGripEnabled(false);
    Status->setFont(D::statusFont());
    place(Status, D::kStatus);
    auto* panel = new QWidget(Status);
    named(panel, "StatusPanel1");
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(2, 0, 2, 0);
    panelLayout->setSpacing(4);
    statusPicture = new QLabel(panel);
    named(statusPicture, "StatusPicture");
    statusPicture->setPixmap(QPixmap(QString::fromLatin1(Artwork::StatusPath)));
    statusPicture->setFixedSize(D::kPanelPicturePixels, D::kPanelPicturePixels);
    statusText = new QLabel(QStringLiteral("Disconnected"), panel);
    named(statusText, "StatusText");
    panelLayout->addWidget(statusPicture);
    panelLayout->addWidget(statusText, 1);
    panel->setMinimumWidth(units::twipsToPixels(D::kPanelMinWidth, dpiX));
    panel->resize(units::twipsToPixels(D::kPanelWidth, dpiX), panel->sizeHint().height());
    Status->addWidget(panel, 1);

    Logo = new QLabel(this);
    named(Logo, "Logo");
    place(Logo, D::kLogo);
    QPalette logoPalette = palette();
    logoPalette.setColor(QPalette::Window, designColor(D::kLogoBackColor, logoPalette));
    logoPalette.setColor(QPalette::WindowText, designColor(D::kLogoForeColor, logoPalette));
    Logo->setPalette(logoPalette);
    Logo->setAutoFillBackground(true);
    Logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Logo->setPixmap(QPixmap(QString::fromLatin1(Artwork::LogoPath)));

    frameRooms = new QGroupBox(QStringLiteral("Chatrooms"), this);
    named(frameRooms, "frameRooms");
    place(frameRooms, D::kFrameRooms);
    lstChats = new QListWidget(frameRooms);
    named(lstChats, "lstChats");
    place(lstChats, D::kLstChats);
    lblChatRoom = new QLabel(QStringLiteral("RoomName:"), frameRooms);
    named(lblChatRoom, "lblChatRoom");
    place(lblChatRoom, D::kLblChatRoom);
    txtRoom = textBox("txtRoom", frameRooms, D::kTxtRoom);
    txtExchange = textBox("txtExchange", frameRooms, D::kTxtExchange);
    txtExchange->setText(QStringLiteral("5"));
    Join = makeButton(QStringLiteral("Join"), frameRooms);
    place(Join, D::kJoin);
    Leave = makeButton(QStringLiteral("Leave"), frameRooms);
    place(Leave, D::kLeave);

    Log = new QListWidget(this);
    named(Log, "Log");
    Log->setFont(D::logFont());
    place(Log, D::kLog);

    imgICO = new QLabel(this);
    named(imgICO, "imgICO");
    place(imgICO, D::kImgICO);
    imgICO->setPixmap(m_icon.pixmap(32));
}

Button* frmMain::makeButton(const QString& name, QWidget* container)
{
    auto* button = new Button(container);
    button->setObjectName(name);
    const PropertyBag bag = D::buttonSettings(name);
    button->readProperties(bag);
    button->resize(units::readExtent(bag, button->size(), logicalDpiX(), logicalDpiY()));
    return button;
}

void frmMain::setServer(const QString& host, quint16 port)
{
    m_host = host;
    m_port = port;
}

void frmMain::addLog(const QString& text)
{
    appendLogLine(text);
    Log->setCurrentRow(Log->currentRow() + 1);
}

bool frmMain::removeRoom(const QListWidget& list, const QString& roomId) const
{
    for (int i = 0; i < list.count(); ++i) {
        const QStringList pieces = list.item(i)->text().split(QLatin1Char(':'));
        if (pieces.size() > 1 && pieces[1] == roomId)
            return true;
    }
    return false;
}

void frmMain::appendLogLine(const QString& text)
{
    Log->addItem(text);
    emit logLineAdded(text);
}

void frmMain::reportRooms()
{
    QStringList entries;
    for (int i = 0; i < lstChats->count(); ++i)
        entries << lstChats->item(i)->text();
    emit roomsChanged(entries);
}

void frmMain::setStatusText(const QString& text)
{
    statusText->setText(text);
    emit statusChanged(text);
}

void frmMain::onConnectClick()
{
    // The server judges the name and password; only what cannot be sent as typed is refused here.
    try {
        Sock->Login(txtSN->text().toUtf8(), txtPW->text().toUtf8(), m_host, m_port);
    } catch (const std::invalid_argument&) {
        addLog(QStringLiteral("Invalid screen name or password."));
        return;
    }
    addLog(QStringLiteral("Connected to server."));
}

void frmMain::onDisconnectClick()
{
    m_disconnecting = true;
    Sock->LogOff();
    m_disconnecting = false;
    // Added directly: the log's selection stays where it is for this line.
    appendLogLine(QStringLiteral("Disconnected from server."));
    setStatusText(QStringLiteral("Disconnected"));
}

void frmMain::onJoinClick()
{
    if (txtRoom->text().isEmpty()) {
        QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kTitle),
                        QStringLiteral("Please enter a chatroom to join."), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    // The exchange is a 16-bit number on the wire; only whole numbers the server can mean are sent.
    bool ok = false;
    const int exchange = txtExchange->text().trimmed().toInt(&ok);
    if (!ok || exchange < 0 || exchange > std::numeric_limits<std::int16_t>::max()) {
        addLog(QStringLiteral("Invalid exchange number."));
        return;
    }
    try {
        Sock->JoinChat(txtRoom->text().toUtf8(), static_cast<std::int16_t>(exchange));
    } catch (const std::invalid_argument&) {
        // A zero byte in the name, or a name too long for one frame.
        addLog(QStringLiteral("Invalid room name."));
    }
}

void frmMain::onLeaveClick()
{
    const int row = lstChats->currentRow();
    if (row < 0 || !lstChats->item(row)->isSelected())
        return;
    m_selectedPieces = lstChats->item(row)->text().split(QLatin1Char(':'));
    bool ok = false;
    const std::int32_t id = m_selectedPieces.size() > 1 ? m_selectedPieces[1].toInt(&ok) : 0;
    if (!ok)
        return; // no id to leave: a name holding ":" or an entry without one
    Sock->ChatLeave(id);
    delete lstChats->takeItem(row);
    reportRooms();
    addLog(QStringLiteral("Left chatroom ") + m_selectedPieces[0]);
}

void frmMain::onLoggedIn()
{
    setStatusText(QStringLiteral("Connected"));
    Sock->SetProfile(QByteArray(kProfile));
}

void frmMain::onLoggedOff()
{
    // LogOff raises LoggedOff inside the Disconnect click; that click writes its own lines.
    if (m_disconnecting)
        return;
    setStatusText(QStringLiteral("Disconnected"));
    addLog(QStringLiteral("Connection to server lost."));
}

void frmMain::onJoinedChat(const QByteArray& strRoomName, std::int32_t lngRoomID)
{
    lstChats->addItem(QString::fromUtf8(strRoomName) + QLatin1Char(':') + QString::number(lngRoomID));
    reportRooms();
    // The line names the room as typed; the list entry carries the server's name and the id.
    addLog(QStringLiteral("Joined chatroom ") + txtRoom->text() + QLatin1Char(':') + txtExchange->text());
}

void frmMain::onLeftChat()
{
    addLog(QStringLiteral("Left chatroom, ejected or error."));
}

void frmMain::onError(std::int16_t intErrorCode)
{
    addLog(TocErrors::logLine(intErrorCode));
}

void frmMain::onSocketError(std::int16_t, const QString& strDescription)
{
    // Whatever failed, no connection is left: the status bar must not go on saying "Connected".
    setStatusText(QStringLiteral("Disconnected"));
    addLog(QStringLiteral("Connection failed: ") + strDescription);
}

void frmMain::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason != QSystemTrayIcon::Trigger)
        return;
    if (isVisible() && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        // Hidden at once rather than from changeEvent: without a window manager nobody confirms the
        // minimised state, and the platform may report the window normal again before a deferred hide.
        showMinimized();
        hide();
        return;
    }
    showNormal();
    raise();
    activateWindow();
}

void frmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized))
        return;
    // Only a tray icon can bring a hidden window back; without one the window stays minimised.
    if (!modSysTray::TrayAvailable())
        return;
    // Hidden once the state change is through; a restore in between wins.
    QTimer::singleShot(0, this, [this] {
        if (windowState() & Qt::WindowMinimized)
            hide();
    });
}

void frmMain::closeEvent(QCloseEvent* event)
{
    modSysTray::RemoveTrayIcon();
    event->accept();
}

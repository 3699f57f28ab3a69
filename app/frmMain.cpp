#include "frmMain.h"

#include "Artwork.h"
#include "Autostart.h"
#include "Button.h"
#include "ListBox.h"
#include "LogModel.h"
#include "PropertyBag.h"
#include "QuonTOCSock.h"
#include "ServerDialog.h"
#include "Texts.h"
#include "Units.h"
#include "frmMainDesign.h"
#include "modSysTray.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QProxyStyle>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <limits>

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

frmMain::frmMain(std::unique_ptr<QuonTOCSock> sock, std::unique_ptr<PresenceClock> clock,
                 std::unique_ptr<PasswordVault> vault, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint)
    , Sock(sock ? std::move(sock) : std::make_unique<QuonTOCSock>())
    , m_presence(std::make_unique<Presence>(*Sock, std::move(clock), std::move(vault)))
    , m_record(std::make_unique<RecordWindows>(*m_presence, this))
    , m_icon(Artwork::appIcon())
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Texts::get(Text::Title));
    setWindowIcon(m_icon);
    setFont(D::windowFont());
    buildControls();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    connect(Connect, &Button::Click, this, &frmMain::onConnectClick);
    connect(Disconnect, &Button::Click, this, &frmMain::onDisconnectClick);
    connect(Join, &Button::Click, this, &frmMain::onJoinClick);
    connect(Leave, &Button::Click, this, &frmMain::onLeaveClick);
    // Enter signs on from the password box and joins from the room boxes.
    connect(txtPW, &QLineEdit::returnPressed, this, &frmMain::onConnectClick);
    connect(txtRoom, &QLineEdit::returnPressed, this, &frmMain::onJoinClick);
    connect(txtExchange, &QLineEdit::returnPressed, this, &frmMain::onJoinClick);
    // A double click on a room opens its window.
    connect(lstChats, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { m_record->openRoom(index.row()); });

    Presence* p = m_presence.get();
    connect(p, &Presence::logLine, this, &frmMain::addLog);
    connect(p, &Presence::directLogLine, this, &frmMain::appendLogLine);
    connect(p, &Presence::statusChanged, this, &frmMain::setStatusText);
    connect(p, &Presence::roomsChanged, this, &frmMain::roomsChanged);
    connect(p, &Presence::passwordRecalled, this, [this](const QString& password) {
        if (txtPW->text().isEmpty())
            txtPW->setText(password);
    });
    connect(p, &Presence::notify, this, &frmMain::notify);
    // The "Joined chatroom" line names the room and exchange as the boxes show them when the server answers.
    p->setJoinLabel([this] { return txtRoom->text() + QLatin1Char(':') + txtExchange->text(); });

    m_trayCheck = new QTimer(this);
    m_trayCheck->setInterval(kTrayCheckMs);
    connect(m_trayCheck, &QTimer::timeout, this, &frmMain::checkTray);
    buildMenu();

    // Load: the tray icon, holding imgICO's picture.
    QSystemTrayIcon* tray = modSysTray::AddTrayIcon(this, Texts::get(Text::Title), &m_icon);
    connect(tray, &QSystemTrayIcon::activated, this, &frmMain::trayActivated);
    tray->setContextMenu(m_menu);
}

frmMain::~frmMain()
{
    // The session keeper's events must not reach a window that is half gone.
    m_presence->disconnect(this);
}

void frmMain::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("Menu"));
    m_showHide = m_menu->addAction(Texts::get(Text::MenuHide), this, &frmMain::toggleShown);
    m_menu->addSeparator();
    m_menu->addAction(Texts::get(Text::MenuConnect), this, &frmMain::onConnectClick);
    m_menu->addAction(Texts::get(Text::MenuDisconnect), this, &frmMain::onDisconnectClick);
    m_menu->addSeparator();
    m_staySignedOn = m_menu->addAction(Texts::get(Text::MenuStaySignedOn));
    m_staySignedOn->setCheckable(true);
    connect(m_staySignedOn, &QAction::toggled, m_presence.get(), &Presence::setStaySignedOn);
    m_rememberPassword = m_menu->addAction(Texts::get(Text::MenuRememberPassword));
    m_rememberPassword->setCheckable(true);
    connect(m_rememberPassword, &QAction::toggled, m_presence.get(), &Presence::setRememberPassword);
    m_server = m_menu->addAction(QString(), this, &frmMain::chooseServer);
    if (Autostart::isSupported()) {
        m_startAtLogin = m_menu->addAction(Texts::get(Text::MenuStartAtLogin));
        m_startAtLogin->setCheckable(true);
        connect(m_startAtLogin, &QAction::triggered, this, &frmMain::setStartAtLogin);
    }
    m_record->addToMenu(m_menu);
    m_menu->addSeparator();
    m_menu->addAction(Texts::get(Text::MenuQuit), this, &frmMain::quit);
    // Its items say what is true when it opens.
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        const bool shown = isVisible() && !(windowState() & Qt::WindowMinimized);
        m_showHide->setText(Texts::get(shown ? Text::MenuHide : Text::MenuShow));
        refreshMenu();
    });
    refreshMenu();

    // Where no tray shows the icon, the logo and the status bar open the same menu.
    for (QWidget* w : {static_cast<QWidget*>(Logo), static_cast<QWidget*>(Status)}) {
        w->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(w, &QWidget::customContextMenuRequested, this,
                [this, w](const QPoint& at) { m_menu->popup(w->mapToGlobal(at)); });
    }
}

// The checks and the server as they are now.
void frmMain::refreshMenu()
{
    m_staySignedOn->setChecked(m_presence->staySignedOn());
    m_rememberPassword->setChecked(m_presence->rememberPassword());
    m_server->setText(Texts::get(Text::MenuServer, {ServerAddress{serverHost(), serverPort()}.text()}));
    if (m_startAtLogin)
        m_startAtLogin->setChecked(Autostart::isEnabled());
}

void frmMain::chooseServer()
{
    ServerDialog dialog({serverHost(), serverPort()}, this);
    if (dialog.exec() == QDialog::Accepted && dialog.address())
        m_presence->chooseServer(*dialog.address());
}

void frmMain::setStartAtLogin(bool on)
{
    const QString failure = on ? Autostart::enable(QCoreApplication::applicationFilePath()) : Autostart::disable();
    if (failure.isEmpty())
        return;
    addLog(failure);
    m_startAtLogin->setChecked(Autostart::isEnabled());
}

void frmMain::restore(const Presence::Remembered& remembered)
{
    m_presence->restore(remembered);
    txtSN->setText(remembered.screenName);
    txtExchange->setText(QString::number(remembered.exchange));
    m_staySignedOn->setChecked(remembered.staySignedOn);
    m_rememberPassword->setChecked(remembered.rememberPassword);
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
    frameLogin = new QGroupBox(Texts::get(Text::FrameConnection), this);
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

    lblSN = loginLabel("lblSN", Texts::get(Text::LabelScreenName), D::kLblSN);
    txtSN = textBox("txtSN", frameLogin, D::kTxtSN);
    lblPw = loginLabel("lblPw", Texts::get(Text::LabelPassword), D::kLblPw);
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
    statusText = new QLabel(Texts::get(Text::StatusDisconnected), panel);
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

    frameRooms = new QGroupBox(Texts::get(Text::FrameChatrooms), this);
    named(frameRooms, "frameRooms");
    place(frameRooms, D::kFrameRooms);
    // List boxes scroll up and down only: a long line is cut at the edge, as in the classic list box.
    lstChats = new ListBox(frameRooms);
    named(lstChats, "lstChats");
    lstChats->setModel(&m_presence->roomList());
    place(lstChats, D::kLstChats);
    lblChatRoom = new QLabel(Texts::get(Text::LabelRoomName), frameRooms);
    named(lblChatRoom, "lblChatRoom");
    place(lblChatRoom, D::kLblChatRoom);
    txtRoom = textBox("txtRoom", frameRooms, D::kTxtRoom);
    txtExchange = textBox("txtExchange", frameRooms, D::kTxtExchange);
    txtExchange->setText(QStringLiteral("5"));
    Join = makeButton(QStringLiteral("Join"), frameRooms);
    place(Join, D::kJoin);
    Leave = makeButton(QStringLiteral("Leave"), frameRooms);
    place(Leave, D::kLeave);

    Log = new ListBox(this);
    named(Log, "Log");
    m_log = new LogModel(LogModel::kMaxLines, Log);
    Log->setModel(m_log);
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

void frmMain::addLog(const QString& text)
{
    appendLogLine(text);
    Log->setCurrentRow(Log->currentRow() + 1);
}

bool frmMain::removeRoom(const QAbstractItemModel& list, const QString& roomId) const
{
    for (int i = 0; i < list.rowCount(); ++i) {
        const QStringList pieces = list.index(i, 0).data().toString().split(QLatin1Char(':'));
        if (pieces.size() > 1 && pieces[1] == roomId)
            return true;
    }
    return false;
}

void frmMain::appendLogLine(const QString& text)
{
    m_log->append(text);
    emit logLineAdded(text);
}

void frmMain::setStatusText(const QString& text)
{
    statusText->setText(text);
    emit statusChanged(text);
}

void frmMain::onConnectClick()
{
    m_presence->signOn(txtSN->text(), txtPW->text());
}

void frmMain::onDisconnectClick()
{
    m_presence->signOff();
}

void frmMain::onJoinClick()
{
    if (txtRoom->text().isEmpty()) {
        QMessageBox box(QMessageBox::NoIcon, Texts::get(Text::Title), Texts::get(Text::EnterChatroom),
                        QMessageBox::Ok, this);
        box.exec();
        return;
    }
    // The exchange is a 16-bit number on the wire; only whole numbers the server can mean are sent.
    bool ok = false;
    const int exchange = txtExchange->text().trimmed().toInt(&ok);
    if (!ok || exchange < 0 || exchange > std::numeric_limits<std::int16_t>::max()) {
        addLog(Texts::get(Text::InvalidExchange));
        return;
    }
    m_presence->join(txtRoom->text(), static_cast<std::int16_t>(exchange));
}

// The row's name and id are its data: a room whose name holds ":" is left like any other.
void frmMain::onLeaveClick()
{
    if (!lstChats->currentRowSelected())
        return;
    const int row = lstChats->currentRow();
    const RoomRow& entry = m_presence->roomList().rows()[row];
    m_selectedPieces = {QString::fromUtf8(entry.name), QString::number(entry.id)};
    m_presence->leave(row);
    // Nothing is picked for the next click: the view would pick the next entry, a room nobody chose.
    lstChats->setCurrentRow(-1);
}

void frmMain::notify(const QString& text)
{
    QSystemTrayIcon* tray = modSysTray::TrayIcon();
    if (!isVisible() && tray && modSysTray::TrayAvailable())
        tray->showMessage(Texts::get(Text::Title), text, m_icon);
}

void frmMain::trayActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        toggleShown();
}

void frmMain::toggleShown()
{
    if (isVisible() && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        // Hidden at once rather than from changeEvent: without a window manager nobody confirms the
        // minimised state, and the platform may report the window normal again before a deferred hide.
        showMinimized();
        if (modSysTray::TrayAvailable())
            hideToTray();
        return;
    }
    bringBack();
}

void frmMain::bringBack()
{
    m_trayCheck->stop();
    showNormal();
    raise();
    activateWindow();
}

void frmMain::quit()
{
    close();
    emit quitRequested();
}

void frmMain::showInTray()
{
    setWindowState(Qt::WindowMinimized);
    if (modSysTray::TrayAvailable())
        m_trayCheck->start(); // never shown, so nothing to hide
    else
        showMinimized();
}

void frmMain::hideToTray()
{
    hide();
    m_trayCheck->start();
}

// A hidden window can only come back through the tray: when the tray goes away, it comes back now.
void frmMain::checkTray()
{
    if (isVisible()) {
        m_trayCheck->stop();
        return;
    }
    if (!modSysTray::TrayAvailable())
        bringBack();
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
            hideToTray();
    });
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // A pending sign-on goes with the window; the connection ends with the client.
    m_presence->stop();
    m_trayCheck->stop();
    modSysTray::RemoveTrayIcon();
    event->accept();
}

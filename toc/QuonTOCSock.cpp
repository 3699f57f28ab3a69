// Connection life and FLAP framing of the client.
#include "QuonTOCSock.h"

#include "ModTOC.h"
#include "TocSocket.h"

#include <QPointer>

#include <exception>
#include <stdexcept>

namespace {
// Sent right after the TCP connection is made; not a frame.
constexpr char kHandshake[] = "FLAPON\r\n\r\n";
constexpr int kFlapHeaderSize = 6;
constexpr qsizetype kMaxFramePayload = 0xFFFF;
constexpr qsizetype kMaxSignOnName = kMaxFramePayload - 8; // after version, TLV type and length
} // namespace

QuonTOCSock::QuonTOCSock(QObject* parent)
    : QuonTOCSock(std::make_unique<TcpTocSocket>(), parent)
{
}

QuonTOCSock::QuonTOCSock(std::unique_ptr<TocSocket> socket, QObject* parent)
    : QObject(parent)
    , Sock(std::move(socket))
{
    connect(Sock.get(), &TocSocket::connected, this, &QuonTOCSock::onConnected);
    connect(Sock.get(), &TocSocket::dataArrival, this, &QuonTOCSock::onDataArrival);
    connect(Sock.get(), &TocSocket::closed, this, &QuonTOCSock::onClosed);
    connect(Sock.get(), &TocSocket::errorOccurred, this, &QuonTOCSock::onSocketError);

    tmrAntiIdle.setInterval(kAntiIdleIntervalMs);
    connect(&tmrAntiIdle, &QTimer::timeout, this, [this] { SendPacket(5, QByteArray()); });

    tmrConnect.setInterval(kConnectTimeoutMs);
    tmrConnect.setSingleShot(true);
    connect(&tmrConnect, &QTimer::timeout, this, &QuonTOCSock::onConnectTimeout);
}

QuonTOCSock::~QuonTOCSock()
{
    // The connection simply ends with the control; no event is raised for it.
    Sock->disconnect(this);
}

void QuonTOCSock::Login(const QByteArray& strUserName, const QByteArray& strPassword, const QString& strServer,
                        quint16 intPort)
{
    const QByteArray name = ModTOC::NormalizeName(strUserName);
    const QByteArray roasted = ModTOC::RoastPassword(strPassword);
    // The server reads the bare name up to a blank or a zero byte, and a leading quote would make
    // it read a quoted word: either way it would sign on a name other than the one typed. Both
    // frames of the sign-on must also fit; failing later, the sign-on would silently stall.
    if (name.startsWith('"') || name.contains('\0') || name.size() > kMaxSignOnName ||
        loginCommand(name, roasted).size() > kMaxFramePayload)
        throw std::invalid_argument("Login: the screen name or password cannot be sent as typed");
    mstrUserName = name;
    mstrRoasted = roasted;
    mstrServer = strServer;
    mintPort = intPort;
    Sock->close();
    tmrConnect.start();
    Sock->connectToHost(mstrServer, mintPort);
}

void QuonTOCSock::LogOff()
{
    tmrConnect.stop();
    Sock->close();
    mstrServer.clear();
    mstrRoasted.clear();
    mintPort = 0;
    mlngSeq = 0;
    mChatRooms.fill(ChatRoomEntry{});
    mlngRoomSlot = 0;
    mlngLastChatID = 0;
    emit LoggedOff(mstrUserName);
}

void QuonTOCSock::SendPacket(std::int16_t intIndex, const QByteArray& strData)
{
    if (Sock->state() != TocSocket::Connected)
        return;
    if (++mlngSeq >= 65535)
        mlngSeq = 0;
    if (intIndex < 0 || intIndex > 255)
        throw std::invalid_argument("SendPacket: frame type outside 0..255");
    if (strData.size() > 0xFFFF)
        throw std::invalid_argument("SendPacket: payload longer than 65535 bytes");

    QByteArray frame;
    frame.reserve(kFlapHeaderSize + strData.size());
    frame += '*';
    frame += static_cast<char>(intIndex);
    frame += ModTOC::EncodeWord(mlngSeq);
    frame += ModTOC::EncodeWord(static_cast<std::int32_t>(strData.size()));
    frame += strData;
    Sock->send(frame);
}

void QuonTOCSock::SendPacket2(const QByteArray& strDatas)
{
    SendPacket(2, strDatas + '\0');
}

void QuonTOCSock::AntiIdle(bool blnEnabled)
{
    if (blnEnabled)
        tmrAntiIdle.start();
    else
        tmrAntiIdle.stop();
}

void QuonTOCSock::onConnected()
{
    tmrConnect.stop();
    Sock->send(QByteArray(kHandshake, sizeof kHandshake - 1));
}

// Takes every complete frame out of the socket's buffer and dispatches it. What is buffered is
// measured again on each pass: a handler may log off (emptying the buffer) or run the event loop
// and take frames itself, so a count taken earlier could be stale.
void QuonTOCSock::onDataArrival()
{
    const QPointer<QuonTOCSock> self(this);
    for (;;) {
        const QByteArrayView buffered = Sock->peek();
        if (buffered.size() < kFlapHeaderSize)
            return; // a partial header stays until it completes
        const qsizetype frameLength = ModTOC::DecodeWord(buffered.sliced(4, 2)) + kFlapHeaderSize;
        if (buffered.size() < frameLength)
            return;
        const QByteArray frame = Sock->take(frameLength);
        DispatchFrame(static_cast<unsigned char>(frame[1]), frame.sliced(kFlapHeaderSize));
        if (!self)
            return; // a handler destroyed the control
    }
}

void QuonTOCSock::onClosed()
{
    emit LoggedOff(mstrUserName);
}

void QuonTOCSock::onSocketError(int code, const QString& description)
{
    tmrConnect.stop();
    emit SocketError(static_cast<std::int16_t>(code), description);
}

void QuonTOCSock::onConnectTimeout()
{
    if (Sock->state() == TocSocket::Connected)
        return;
    Sock->close();
    emit SocketError(10060, QStringLiteral("Connection timed out"));
}

// Every frame raises IncomingPacket first; sign-on frames and data frames are then handled.
// A handler's failure never leaves the dispatcher: the frame is simply done with.
void QuonTOCSock::DispatchFrame(int frameType, const QByteArray& payload)
{
    const QPointer<QuonTOCSock> self(this);
    emit IncomingPacket(static_cast<std::int16_t>(frameType), payload);
    if (!self)
        return; // the handler destroyed the control
    try {
        if (frameType == 1)
            handleSignOnFrame(payload);
        else if (frameType == 2)
            handleDataFrame(payload);
    } catch (const std::exception&) {
        // Nothing to do: the frame is dropped and the connection goes on.
    }
}

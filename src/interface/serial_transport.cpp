#include "interface/serial_transport.h"

#include "common/resstrings.h"
#include "common/system_error.h"

#include <QFileInfo>
#include <QStringList>

#include <poll.h>

namespace {

struct LineParams {
    qint32 baud = 19200;
    QSerialPort::Parity parity = QSerialPort::EvenParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

bool ParseSettings(const QString& text, LineParams* out)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0)
        return false;
    LineParams p;
    p.baud = baud;
    const QString parity = parts[1].trimmed().toLower();
    if (parity == QLatin1String("n"))
        p.parity = QSerialPort::NoParity;
    else if (parity == QLatin1String("e"))
        p.parity = QSerialPort::EvenParity;
    else if (parity == QLatin1String("o"))
        p.parity = QSerialPort::OddParity;
    else if (parity == QLatin1String("m"))
        p.parity = QSerialPort::MarkParity;
    else if (parity == QLatin1String("s"))
        p.parity = QSerialPort::SpaceParity;
    else
        return false;
    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8)
        return false;
    p.dataBits = static_cast<QSerialPort::DataBits>(bits);
    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        p.stopBits = QSerialPort::OneStop;
    else if (stop == QLatin1String("1.5"))
        p.stopBits = QSerialPort::OneAndHalfStop;
    else if (stop == QLatin1String("2"))
        p.stopBits = QSerialPort::TwoStop;
    else
        return false;
    *out = p;
    return true;
}

} // namespace

SerialTransport::SerialTransport(QObject* parent)
    : QObject(parent), m_port(new QSerialPort(this))
{
    m_port->setReadBufferSize(0);
    connect(m_port, &QSerialPort::readyRead, this, [this] { emit CommEvent(DataReceived); });
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialTransport::OnError);
}

SerialTransport::~SerialTransport()
{
    m_failing = true; // no events while the port is torn down
    m_port->close();
}

QString SerialTransport::DeviceName() const
{
    if (!m_devicePath.isEmpty())
        return m_devicePath;
    return QStringLiteral("/dev/ttyS%1").arg(qMax(0, m_portNumber - 1));
}

bool SerialTransport::SetSettings(const QString& settings)
{
    LineParams p;
    if (!ParseSettings(settings, &p))
        return false;
    m_settings = settings;
    if (m_port->isOpen())
        ApplySettings();
    return true;
}

void SerialTransport::ApplySettings()
{
    LineParams p;
    if (!ParseSettings(m_settings, &p))
        return;
    if (!m_port->setBaudRate(p.baud))
        emit Note(GetResString(5944, p.baud, DeviceName()));
    m_port->setParity(p.parity);
    m_port->setDataBits(p.dataBits);
    m_port->setStopBits(p.stopBits);
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
    if (m_handshaking == 1 || m_handshaking == 3)
        flow = QSerialPort::SoftwareControl;
    else if (m_handshaking == 2)
        flow = QSerialPort::HardwareControl;
    m_port->setFlowControl(flow);
}

void SerialTransport::SetRts(bool on)
{
    m_rts = on;
    // Under RTS/CTS handshaking the driver owns RTS.
    if (m_port->isOpen() && m_handshaking != 2 && !m_port->setRequestToSend(on))
        emit Note(GetResString(5945, DeviceName(), m_port->errorString()));
}

void SerialTransport::SetDtr(bool on)
{
    m_dtr = on;
    if (m_port->isOpen() && !m_port->setDataTerminalReady(on))
        emit Note(GetResString(5946, DeviceName(), m_port->errorString()));
}

void SerialTransport::SetHandshaking(int mode)
{
    m_handshaking = mode;
    if (m_port->isOpen())
        ApplySettings();
}

bool SerialTransport::Open()
{
    if (m_port->isOpen())
        return true;
    m_failing = false;
    m_linesUnknown = false;
    m_modemStatus = 0;
    m_port->setPortName(DeviceName());
    if (!m_port->open(QIODevice::ReadWrite)) {
        emit Note(GetResString(5943, DeviceName(), m_port->errorString()));
        m_port->clearError();
        return false;
    }
    ApplySettings();
    SetDtr(m_dtr);
    SetRts(m_rts);
    m_port->clearError();
    Poll();
    return true;
}

void SerialTransport::Close()
{
    if (!m_port->isOpen())
        return;
    m_port->close();
    m_modemStatus = 0;
}

bool SerialTransport::IsOpen() const
{
    return m_port->isOpen();
}

bool SerialTransport::Write(const QByteArray& data)
{
    if (!m_port->isOpen())
        return false;
    return m_port->write(data) == data.size();
}

QByteArray SerialTransport::ReadAll()
{
    if (!m_port->isOpen())
        return {};
    return m_port->readAll();
}

void SerialTransport::ClearOutput()
{
    if (m_port->isOpen())
        m_port->clear(QSerialPort::Output);
}

void SerialTransport::Poll()
{
    if (!m_port->isOpen()) {
        UpdateModemStatus(0);
        return;
    }
    if (m_linesUnknown) {
        UpdateModemStatus(kCts | kDsr);
        return;
    }
    m_port->clearError();
    const QSerialPort::PinoutSignals lines = m_port->pinoutSignals();
    if (m_port->error() != QSerialPort::NoError) {
        // This port cannot report its modem lines: count them as on while
        // it is open, so the connect probe finds out whether anyone answers.
        m_port->clearError();
        if (!m_port->isOpen())
            return;
        m_linesUnknown = true;
        UpdateModemStatus(kCts | kDsr);
        return;
    }
    int status = 0;
    if (lines & QSerialPort::ClearToSendSignal)
        status |= kCts;
    if (lines & QSerialPort::DataSetReadySignal)
        status |= kDsr;
    UpdateModemStatus(status);
}

void SerialTransport::UpdateModemStatus(int status)
{
    const int old = m_modemStatus;
    if (status == old)
        return;
    m_modemStatus = status;
    if ((old ^ status) & kCts)
        emit CommEvent(CtsChanged);
    else if ((old ^ status) & kDsr)
        emit CommEvent(DsrChanged);
}

void SerialTransport::OnError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (m_failing || !m_port->isOpen())
        return;
    // Qt repeats a read error for ever on a dead device: report the line as
    // gone once and close the port.
    m_failing = true;
    const QString reason = LostReason(error);
    emit Note(GetResString(5942, DeviceName(), reason));
    const int old = m_modemStatus;
    m_modemStatus = 0;
    if (old != 0)
        emit CommEvent((old & kCts) ? CtsChanged : DsrChanged);
    m_port->close();
    m_port->clearError();
    emit Lost(reason);
}

QString SerialTransport::LostReason(QSerialPort::SerialPortError error) const
{
    if (!QFileInfo::exists(DeviceName()))
        return GetResString(5940);
    // A read that found the line hung up returns no bytes and sets no error
    // number, so Qt's text then names whatever error came before it.
    if (error == QSerialPort::ReadError) {
        pollfd p{static_cast<int>(m_port->handle()), POLLIN, 0};
        if (p.fd >= 0 && ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)))
            return GetResString(5941);
    }
    return SystemErrorText(m_port->errorString());
}

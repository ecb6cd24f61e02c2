#include "common/portfinder.h"

#include "common/appstate.h"
#include "common/errors.h"
#include "common/prompt.h"
#include "common/resstrings.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

namespace {

SerialPortSource& SourceOverride()
{
    static SerialPortSource source;
    return source;
}

QList<SerialPortCandidate> SystemPorts()
{
    QList<SerialPortCandidate> out;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortCandidate c;
        c.portName = info.portName();
        c.systemLocation = info.systemLocation();
        c.hasIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
        c.vendorId = info.vendorIdentifier();
        c.productId = info.productIdentifier();
        out.append(c);
    }
    return out;
}

} // namespace

void SetSerialPortSource(SerialPortSource source)
{
    SourceOverride() = std::move(source);
}

QList<SerialPortCandidate> SerialPorts()
{
    if (SourceOverride())
        return SourceOverride()();
    return SystemPorts();
}

bool ParseHardwareId(const QString& hardwareId, quint16* vendorId, quint16* productId)
{
    static const QRegularExpression re(QStringLiteral("^VID_([0-9A-F]{4})&PID_([0-9A-F]{4})$"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(hardwareId.trimmed());
    if (!m.hasMatch())
        return false;
    *vendorId = static_cast<quint16>(m.captured(1).toUInt(nullptr, 16));
    *productId = static_cast<quint16>(m.captured(2).toUInt(nullptr, 16));
    return true;
}

QStringList FindUsbSerialDevices(const QString& hardwareId)
{
    const QString overridePath = qEnvironmentVariable("PELKAR_SERIAL_PORT").trimmed();
    if (!overridePath.isEmpty())
        return {overridePath};
    quint16 vendor = 0;
    quint16 product = 0;
    if (!ParseHardwareId(hardwareId, &vendor, &product))
        return {};
    QStringList devices;
    for (const SerialPortCandidate& c : SerialPorts()) {
        if (c.hasIds && c.vendorId == vendor && c.productId == product)
            devices << (c.systemLocation.isEmpty() ? c.portName : c.systemLocation);
    }
    return devices;
}

long long PortNumberFromDevice(const QString& devicePath)
{
    static const QRegularExpression trailing(QStringLiteral("(\\d+)$"));
    const QString name = QFileInfo(devicePath).fileName();
    const QRegularExpressionMatch m = trailing.match(name);
    if (!m.hasMatch())
        return 1;
    bool ok = false;
    const long long n = m.captured(1).toLongLong(&ok);
    if (!ok)
        return -1; // too many digits: no valid port number
    return n + 1;
}

bool AdoptUsbSerialDevice(const QString& devicePath)
{
    const long long number = PortNumberFromDevice(devicePath);
    if (number < 1 || number > 32767)
        return false;
    AppState& app = App();
    app.CommPort = static_cast<std::int16_t>(number);
    app.CommDevice = devicePath;
    return true;
}

void FindUsbSerialPort(const QString& hardwareId)
{
    const QStringList devices = FindUsbSerialDevices(hardwareId);
    AppState& app = App();
    if (devices.size() == 1) {
        if (!AdoptUsbSerialDevice(devices.first()))
            throw OverflowError(QStringLiteral("No port number for %1").arg(devices.first()));
        return;
    }
    if (devices.size() > 1)
        MsgBox(GetResString(20014), MsgButtons::Ok, MsgIcon::Critical, GetResString(20015));
    app.CommPort = 0;
    app.CommDevice.clear();
}

QString CommDevicePath()
{
    const AppState& app = App();
    if (app.CommPort == 0)
        return QString();
    if (!app.CommDevice.isEmpty())
        return app.CommDevice;
    return QStringLiteral("/dev/ttyS%1").arg(app.CommPort - 1);
}

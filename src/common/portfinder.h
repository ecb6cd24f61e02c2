#pragma once
#include <QList>
#include <QString>
#include <functional>

// The USB-serial converter search. The ports come from a replaceable source
// (by default the system's serial ports); PELKAR_SERIAL_PORT, when set,
// names the one converter found by its device path (for converters whose
// USB ids the system cannot report, and for simulators).

struct SerialPortCandidate {
    QString portName;       // "ttyUSB0"
    QString systemLocation; // "/dev/ttyUSB0", what the transport opens
    bool hasIds = false;    // vendor and product ids are known
    quint16 vendorId = 0;
    quint16 productId = 0;
};

using SerialPortSource = std::function<QList<SerialPortCandidate>()>;

// Replaces the port list (tests); an empty function restores the system's.
void SetSerialPortSource(SerialPortSource source);
// The ports of the current source.
QList<SerialPortCandidate> SerialPorts();

// Reads "VID_10C4&PID_EA60" (any case); false for another form.
bool ParseHardwareId(const QString& hardwareId, quint16* vendorId, quint16* productId);

// The device paths of the converters matching hardwareId.
QStringList FindUsbSerialDevices(const QString& hardwareId);

// Makes devicePath the program's port (CommPort and CommDevice). False,
// with nothing changed, when the device name gives no port number.
bool AdoptUsbSerialDevice(const QString& devicePath);

// Sets App().CommPort and App().CommDevice from the converters found:
// exactly one gives the device's port number (PortNumberFromDevice) and its
// path; none gives 0; several show message 20014 (title 20015, critical
// icon, OK) and then give 0. Raises OverflowError, changing nothing, when the
// number does not fit 16 bits.
void FindUsbSerialPort(const QString& hardwareId);

// The port number of a device: its trailing number plus one (ttyUSB0 gives
// 1, /dev/pts/3 gives 4), or 1 when the name ends in no number.
long long PortNumberFromDevice(const QString& devicePath);

// The device the transport opens for App().CommPort: App().CommDevice when
// the finder set it, else /dev/ttyS(n-1) for a number from the settings
// file, else "" (port 0).
QString CommDevicePath();

#pragma once
#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

// The serial line to the instrument, over QSerialPort. It reports what
// happens on the line as numbered events, the same numbers the control's
// serial handler acts on:
//   2 data received; 3 CTS changed; 4 DSR changed; 1001 break;
//   1004 framing error; 1006 overrun; 1008 receive buffer overflow;
//   1009 parity error; 1010 send buffer full; 1011 device control error.
//
// QSerialPort has no signal for modem-line changes, so Poll() (called on the
// control's 100 ms tick, and once right after the port opens) reads the
// lines and raises 3/4 on a change. A port that cannot report its lines (a
// pseudo-terminal, some converters) counts as CTS and DSR on while open.
// The first ReadError or ResourceError closes the port, counts as CTS and
// DSR off, and raises Lost with the reason. Line errors that QSerialPort cannot report can be raised
// through RaiseLineEvent (tests do).
class SerialTransport : public QObject {
    Q_OBJECT
public:
    enum Event {
        DataReceived = 2,
        CtsChanged = 3,
        DsrChanged = 4,
        BreakSignal = 1001,
        FramingError = 1004,
        Overrun = 1006,
        ReceiveOverflow = 1008,
        ParityError = 1009,
        SendBufferFull = 1010,
        DeviceControlError = 1011,
    };
    static constexpr int kCts = 0x10;
    static constexpr int kDsr = 0x20;

    explicit SerialTransport(QObject* parent = nullptr);
    ~SerialTransport() override;

    // Port number and device: the device path when one is set, else
    // "/dev/ttyS<n-1>" for port number n.
    int PortNumber() const { return m_portNumber; }
    void SetPortNumber(int n) { m_portNumber = n; }
    QString DevicePath() const { return m_devicePath; }
    void SetDevicePath(const QString& path) { m_devicePath = path; }
    QString DeviceName() const;

    // "baud,parity,data,stop" such as "921600,n,8,1" or "19200,E,8,1".
    // A text that cannot be read is kept but leaves the line parameters as
    // they were; false then.
    QString Settings() const { return m_settings; }
    bool SetSettings(const QString& settings);

    bool Rts() const { return m_rts; }
    void SetRts(bool on);
    bool Dtr() const { return m_dtr; }
    void SetDtr(bool on);
    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both (XON/XOFF is used then).
    int Handshaking() const { return m_handshaking; }
    void SetHandshaking(int mode);

    // Opens the device with the current parameters; false when it cannot.
    bool Open();
    void Close();
    bool IsOpen() const;

    // Writes the frame; false when the port is closed or the write fails.
    bool Write(const QByteArray& data);
    QByteArray ReadAll();
    void ClearOutput();

    // Modem status word: 0x10 CTS, 0x20 DSR.
    int ModemStatus() const { return m_modemStatus; }
    // Reads the modem lines and raises 3/4 on a change.
    void Poll();

    // Raises a line event as if the port had reported it.
    void RaiseLineEvent(int code) { emit CommEvent(code); }

signals:
    void CommEvent(int code);
    // A problem worth a serial-log line (RTS/DTR not settable, open failed).
    void Note(const QString& text);
    // The open port was lost (the device unplugged, hung up or failing); the
    // port is closed when this is raised.
    void Lost(const QString& reason);

private:
    void OnError(QSerialPort::SerialPortError error);
    // What is known of why the port was lost, in words.
    QString LostReason(QSerialPort::SerialPortError error) const;
    void ApplySettings();
    void UpdateModemStatus(int status);

    QSerialPort* m_port;
    int m_portNumber = 1;
    QString m_devicePath;
    QString m_settings = QStringLiteral("19200,E,8,1");
    bool m_rts = false;
    bool m_dtr = true;
    int m_handshaking = 0;
    int m_modemStatus = 0;
    bool m_linesUnknown = false;
    bool m_failing = false;
};

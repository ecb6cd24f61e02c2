#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

// The infrared link to the instrument. Events, as the control's IrDA
// handler numbers them: 2 data received, 1020 remote device found,
// 1021 socket error (LastError holds the error number); any other code is
// an IrDA error.
class IrdaTransport : public QObject {
    Q_OBJECT
public:
    enum Event { DataReceived = 2, DeviceFound = 1020, SocketError = 1021 };

    explicit IrdaTransport(QObject* parent = nullptr) : QObject(parent) {}
    ~IrdaTransport() override = default;

    // True while a link to a remote device exists.
    virtual bool IsConnected() const = 0;
    virtual bool IsOpen() const = 0;
    virtual void SetOpen(bool open) = 0;
    // Name the remote device reported (empty when it gave none).
    virtual QString RemoteName() const = 0;
    virtual int LastError() const = 0;
    virtual bool Write(const QByteArray& data) = 0;
    virtual QByteArray ReadAll() = 0;
    // Looks for devices (called every sixth tick of the control's timer).
    virtual void Poll() = 0;

    // Line parameters kept for the control's properties while IrDA is
    // active; the link itself has none.
    int PortNumber() const { return m_portNumber; }
    void SetPortNumber(int n) { m_portNumber = n; }
    QString Settings() const { return m_settings; }
    void SetSettings(const QString& s) { m_settings = s; }
    bool Dtr() const { return m_dtr; }
    void SetDtr(bool on) { m_dtr = on; }
    bool Rts() const { return m_rts; }
    void SetRts(bool on) { m_rts = on; }
    int Handshaking() const { return m_handshaking; }
    void SetHandshaking(int mode) { m_handshaking = mode; }

signals:
    void IrdaEvent(int code);

private:
    int m_portNumber = 0;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_dtr = false;
    bool m_rts = false;
    int m_handshaking = 0;
};

// This platform has no infrared stack the program can use: the transport
// opens and closes, never finds a device and never connects.
class NoIrdaTransport : public IrdaTransport {
    Q_OBJECT
public:
    using IrdaTransport::IrdaTransport;
    bool IsConnected() const override { return false; }
    bool IsOpen() const override { return m_open; }
    void SetOpen(bool open) override { m_open = open; }
    QString RemoteName() const override { return {}; }
    int LastError() const override { return 0; }
    bool Write(const QByteArray&) override { return false; }
    QByteArray ReadAll() override { return {}; }
    void Poll() override {}

private:
    bool m_open = false;
};

// The platform's IrDA transport.
std::unique_ptr<IrdaTransport> MakePlatformIrda();

#pragma once
#include "interface/irda_transport.h"

#include <QByteArray>
#include <QList>

class FakeInstrument;

// An infrared link for tests: a test makes a device appear (with or without
// a name), raises error events, and can attach a FakeInstrument in-process
// so that frames written here reach it and its answers come back as data
// events (delivered through the event loop, as a real link would).
class FakeIrda : public IrdaTransport {
    Q_OBJECT
public:
    using IrdaTransport::IrdaTransport;

    void Attach(FakeInstrument* instrument);

    // A remote device appears: connected (or not, as an IrCOMM port would
    // appear), then the device-found event is raised.
    void FindDevice(const QString& name, bool connected = true);
    void Drop() { m_connected = false; }
    // Raises an error event with an error number.
    void RaiseError(int code, int errorNumber);
    // Delivers bytes as if received.
    void Deliver(const QByteArray& bytes);

    const QList<QByteArray>& Written() const { return m_written; }
    int Polls() const { return m_polls; }

    bool IsConnected() const override { return m_connected; }
    bool IsOpen() const override { return m_open; }
    void SetOpen(bool open) override { m_open = open; }
    QString RemoteName() const override { return m_name; }
    int LastError() const override { return m_lastError; }
    bool Write(const QByteArray& data) override;
    QByteArray ReadAll() override;
    void Poll() override { ++m_polls; }

private:
    FakeInstrument* m_instrument = nullptr;
    bool m_connected = false;
    bool m_open = false;
    QString m_name;
    int m_lastError = 0;
    int m_polls = 0;
    QByteArray m_rx;
    QList<QByteArray> m_written;
};

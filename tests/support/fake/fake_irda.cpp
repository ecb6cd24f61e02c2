#include "fake_irda.h"

#include "fake_instrument.h"

#include <QTimer>

void FakeIrda::Attach(FakeInstrument* instrument)
{
    m_instrument = instrument;
    instrument->SetWriter([this](const QByteArray& bytes) { Deliver(bytes); });
}

void FakeIrda::FindDevice(const QString& name, bool connected)
{
    m_name = name;
    m_connected = connected;
    emit IrdaEvent(DeviceFound);
}

void FakeIrda::RaiseError(int code, int errorNumber)
{
    m_lastError = errorNumber;
    emit IrdaEvent(code);
}

void FakeIrda::Deliver(const QByteArray& bytes)
{
    QTimer::singleShot(0, this, [this, bytes] {
        m_rx.append(bytes);
        emit IrdaEvent(DataReceived);
    });
}

bool FakeIrda::Write(const QByteArray& data)
{
    m_written.append(data);
    if (m_instrument) {
        FakeInstrument* instrument = m_instrument;
        QTimer::singleShot(0, instrument, [instrument, data] { instrument->Receive(data); });
    }
    return true;
}

QByteArray FakeIrda::ReadAll()
{
    QByteArray out = m_rx;
    m_rx.clear();
    return out;
}

// Calibration and maintenance commands: zero and span calibration with
// their completion polls, calibration coefficients, the clock, defaults,
// initialising an instrument, clearing the logger and switching off.
#include "interface/uclQvif.h"

#include "common/clock.h"
#include "common/dates.h"
#include "interface/frame.h"
#include "interface/irda_transport.h"
#include "interface/messages.h"
#include "interface/serial_transport.h"
#include "records/instrument.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

// A coefficient as four hex digits (16-bit two's complement).
QByteArray Hex4(std::int16_t value)
{
    return HexText(static_cast<quint16>(value), 4);
}

} // namespace

bool uclQvif::Calibrate(const QByteArray& execute, const QByteArray& check, QString& result)
{
    // Start: the instrument acknowledges and begins working.
    if (!Exchange(execute, 5, {})) {
        WriteSerialLog(Msg(5516, GeneralDate(Now())));
        return false;
    }
    // Completion: asked again at once until a result comes; a busy answer
    // (SUB) leaves the result empty. Only a failed exchange or a cancel
    // ends the poll early.
    result.clear();
    for (;;) {
        if (!Exchange(check, 5, {}))
            return false;
        if (result.size() == 2)
            return true;
    }
}

bool uclQvif::ZeroCal(const QString& gasFlags)
{
    return Calibrate(QByteArrayLiteral("SZ,E,") + gasFlags.toLatin1(), QByteArrayLiteral("SZ,C,"), m_zeroResult);
}

bool uclQvif::SpanCal(const QString& gasFlags)
{
    return Calibrate(QByteArrayLiteral("S1,E,") + gasFlags.toLatin1(), QByteArrayLiteral("S1,C,"), m_spanResult);
}

bool uclQvif::SZX(std::int16_t c1, std::int16_t c2, std::int16_t c3)
{
    m_tickCount = 0;
    return Exchange("SZ,X," + Hex4(c1) + ',' + Hex4(c2) + ',' + Hex4(c3), 5, {});
}

bool uclQvif::S1X(std::int16_t c1, std::int16_t c2)
{
    m_tickCount = 0;
    return Exchange("S1,X," + Hex4(c1) + ',' + Hex4(c2), 5, {});
}

bool uclQvif::SetDateTime(const QDateTime& dateTime)
{
    // The instrument keeps a two-digit year (2000 + YY): any other year
    // would be set wrong, so it is not sent.
    if (!dateTime.isValid() || dateTime.date().year() < 2000 || dateTime.date().year() > 2099) {
        WriteSerialLog(QStringLiteral("<<< Date out of range >>> ") + GeneralDate(dateTime));
        return false;
    }
    m_tickCount = 0;
    return Exchange("HC,W," + dateTime.toString(QStringLiteral("yyMMddHHmmss")).toLatin1(), 5, {});
}

bool uclQvif::SetDefault()
{
    m_tickCount = 0;
    return Exchange("UX,E,", 5, {});
}

bool uclQvif::SetInitValue(clsInstrument* instrument)
{
    if (!instrument)
        return false;
    clsInstrument& inst = *instrument;
    inst.ClearChangeFlags();
    inst.SetChange_UserID(true);
    inst.SetChange_StationID(true);
    inst.SetChange_SerialNo(true);
    inst.SetChange_DummySerial(true);
    for (int g = 0; g < 2; ++g) {
        inst.SetChange_GasEnable(g, true);
        inst.SetChange_Alarm(g, true);
        inst.SetChange_Warn(g, true);
        inst.SetChange_AutoCal(g, true);
    }
    // Each step runs even when an earlier one failed.
    bool result = SetInstrument(instrument);
    result = SetDateTime(Now()) && result;
    result = BodyDataClear() && result;
    return result;
}

bool uclQvif::BodyDataClear()
{
    m_cancel = false;
    WriteSerialLog(Msg(5556));
    bool ok = Exchange("XC,E,", 5, {});
    if (ok) {
        m_dataClearDone = false;
        do
            ok = Exchange("XC,C,", 5, {});
        while (ok && !m_dataClearDone);
    }
    WriteSerialLog(Msg(ok ? 5557 : 5558));
    return ok;
}

bool uclQvif::BodyPowerOff()
{
    WriteSerialLog(Msg(5506));
    // Whether the instrument acknowledges or not, it is treated as off.
    Exchange("RO,W,", 5, {});

    if (m_serial->IsOpen())
        m_serial->Close();
    m_irda->SetOpen(false);

    // Five seconds (50 ticks) for the instrument to go down. Without the
    // tick timer no tick would ever come, so the wait ends then.
    m_tickCount = 0;
    while (m_tickCount < 50 && m_timer->isActive())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);

    m_linkState = 0;
    m_status = 0;
    if (!m_serialComm)
        m_irda->SetOpen(true);
    WriteSerialLog(Msg(5507));
    return true;
}

// The request methods: each sets the request state, sends, and waits in a
// loop that yields to the event loop until the receive handler or the tick
// has moved the state to 6 (done), 7 (failed) or 8 (cancelled).
#include "interface/uclQvif.h"

#include "interface/frame.h"
#include "records/instrument.h"

#include <QCoreApplication>

void uclQvif::WaitWhile(int state, const Forward& forward)
{
    ++m_waitDepth;
    while (m_status == state) {
        if (forward)
            forward();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    --m_waitDepth;
}

bool uclQvif::Exchange(const QByteArray& command, int state, const Forward& forward)
{
    m_status = state;
    DataSend(BuildFrame(command, Wire::EOT), true);
    WaitWhile(state, forward);
    return m_status == 6;
}

uclQvif::Forward uclQvif::InstForward(void (QvifPort::*signal)(const QString&))
{
    clsInstrument* inst = m_instrument;
    return [this, inst, signal] {
        if (!inst || inst->MessageString().isEmpty())
            return;
        const QString text = inst->MessageString();
        emit(this->*signal)(text);
        inst->SetMessageString(QString());
    };
}

bool uclQvif::GetInstrument(clsInstrument* instrument)
{
    if (!instrument)
        return false;
    m_cancel = false;
    bool ok = true;
    m_requestOK = true;
    m_instrument = instrument;
    instrument->ClearDatas();
    instrument->SetFailLine(QString());
    const Forward forward = InstForward(&QvifPort::InstMessage);
    for (const ReadCommand& slot : m_readCommands) {
        if (slot.command.isEmpty() || !ok)
            continue;
        // The ROM number read by the first slot gates the later ones.
        if (instrument->RomNumber() > slot.threshold && !Exchange(slot.command, 4, forward))
            ok = false;
    }
    return ok;
}

// Not built yet in this control: they report failure and send nothing.
bool uclQvif::GetInterval(clsIntervals*) { return false; }
bool uclQvif::GetHistory(clsHistorys*) { return false; }
bool uclQvif::GetLatestHistory(clsInstrument*) { return false; }
bool uclQvif::GetAlarm(clsAlarms*) { return false; }
bool uclQvif::GetPowerEvent(clsPowerEvents*) { return false; }
bool uclQvif::GetRomDump(const QString&) { return false; }
bool uclQvif::GetRomDump2(const QString&) { return false; }
bool uclQvif::HandleRecordBlock(const Answer&) { return false; }
bool uclQvif::HandleDumpBlock(const Answer&) { return false; }
void uclQvif::WriteDumpList() {}

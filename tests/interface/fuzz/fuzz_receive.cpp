// Robustness entry point: arbitrary bytes through the control's receive path
// (cutting, acknowledging, resending) and through ParseResponse directly.
// Built as a libFuzzer target (PELKAR_FUZZ) and replayed over the checked-in
// corpus by an ordinary test.
#include "fuzz_receive.h"

#include "common/appstate.h"
#include "fake_irda.h"
#include "interface/frame.h"
#include "interface/uclQvif.h"
#include "records/collections.h"
#include "records/instrument.h"

#include <QCoreApplication>
#include <memory>

namespace {

void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

} // namespace

int FuzzReceiveOneInput(const uint8_t* data, size_t size)
{
    EnsureApplication();
    ResetAppState();
    if (size < 2)
        return 0;

    // Byte 0: the request state and the link; byte 1: the piece size.
    const int state = 3 + data[0] % 3;
    const qsizetype piece = 1 + data[1] % 32;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));

    clsInstrument inst;
    clsIntervals intervals;
    clsAlarms alarms;
    clsHistorys histories;
    clsPowerEvents powerEvents;
    intervals.SetInstruments(&inst);
    alarms.SetInstruments(&inst);
    histories.SetInstruments(&inst);
    powerEvents.SetInstruments(&inst);
    auto irda = std::make_unique<FakeIrda>();
    FakeIrda* link = irda.get();
    uclQvif ctl(nullptr, std::move(irda));
    ctl.SetTimerEnabled(false);
    ctl.SetInstrumentRef(&inst);
    ctl.SetIntervalsRef(&intervals);
    ctl.SetAlarmsRef(&alarms);
    ctl.SetHistoryRef(&histories);
    ctl.SetPowerEventListRef(&powerEvents);
    if (data[0] & 0x80)
        inst.SetGasEnabled(1, true);
    link->FindDevice(QString()); // connected, so every send has somewhere to go

    ctl.SetStatus(state);
    ctl.DataSend(BuildFrame(data[0] & 0x40 ? (data[0] & 0x10 ? "IH,R,2," : "IH,R,1,") : "DR,R,", Wire::EOT), true);
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        ctl.ReceiveData(bytes.mid(at, piece), (data[0] & 0x20) != 0);
    for (int i = 0; i < 3; ++i)
        ctl.Tick();
    ctl.ParseResponse(bytes);
    (void)FormatControlChars(bytes);
    return 0;
}

#pragma once
// The program state that several panels read and write, owned by the main
// window and handed to each panel when it is created.

#include <QString>

#include <array>
#include <cstdint>
#include <memory>

class QvifPort;
class clsInstrument;
class clsIntervals;
class clsAlarms;
class clsPowerEvents;
class clsHistorys;

class SharedState {
public:
    SharedState();
    ~SharedState();
    SharedState(const SharedState&) = delete;
    SharedState& operator=(const SharedState&) = delete;

    // The interface control (never null once the window is built).
    QvifPort* uclQvport = nullptr;

    // The connected instrument and the collections that download into the
    // database; the collections bind new records to MainInstrument.
    clsInstrument& MainInstrument();
    clsIntervals& MainIntervals();
    clsAlarms& MainAlarms();
    clsPowerEvents& MainPowerEvents();
    clsHistorys& MainHistorys();
    // An instrument filled from a stored record for the browser and the
    // views; never the connected one.
    clsInstrument& StoredInstrument();

    // From the window's loading (and from the reset after a power-off) until
    // its next activation: the defaults and the settings file are being
    // applied, and option handlers that would read the database leave that
    // to the panel's first showing.
    bool StartupPending = false;
    // Show the sample instrument's values instead of blank fields.
    bool ShowSampleInstrument = false;
    // The data panel's tree is rebuilt the next time it is shown.
    bool TreeRefreshNeeded = false;
    // The live readings go to the settings panel while this is on.
    bool LiveValuesOn = false;
    // Last live reading per gas (-101 for a disabled gas).
    std::array<float, 2> LiveValues{{-101.0f, -101.0f}};
    // The gases of the running (or last) span adjustment, and the live
    // reading of each gas when it started (-101 when there was none); the
    // information panel shows that reading as "Before" of a failed span.
    std::array<bool, 2> SpanSelection{{false, false}};
    std::array<float, 2> SpanStartReading{{-101.0f, -101.0f}};
    // Ticks of the 100 ms clock timer since the last reset by a caller.
    std::int32_t InterTicks = 0;
    // The last file a record was exported to.
    QString ExportFileName;

private:
    std::unique_ptr<clsInstrument> m_mainInstrument;
    std::unique_ptr<clsIntervals> m_mainIntervals;
    std::unique_ptr<clsAlarms> m_mainAlarms;
    std::unique_ptr<clsPowerEvents> m_mainPowerEvents;
    std::unique_ptr<clsHistorys> m_mainHistorys;
    std::unique_ptr<clsInstrument> m_storedInstrument;
};

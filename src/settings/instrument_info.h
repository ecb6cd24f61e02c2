#pragma once
#include "common/appstate.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

class clsInstrument;

// What the instrument information panel shows, built without widgets: its
// caption, the identity labels, the calibration grid and the sensor grid,
// for one of three states.

enum class InstrumentInfoState {
    NoLink,       // nothing to show: blanks, gas headings from the settings file
    StoredRecord, // a record opened from the stored-data browser
    Connected,    // the instrument as read over the link
};

// The state of a rebuild: a stored record shown from the browser always
// shows as such; otherwise the connected state needs a link (status 2 or
// more) and the instrument information read over it (commFlags non-zero).
InstrumentInfoState DecideInstrumentInfoState(std::int32_t status, std::int16_t commFlags, bool showingStored);

struct InstrumentInfoInput {
    InstrumentInfoState state = InstrumentInfoState::NoLink;
    // The record shown: the stored instrument in the stored-record state,
    // the live one when connected; not read without a link.
    const clsInstrument* record = nullptr;
    // The settings file's gas configuration (headings without a link).
    std::array<GasSetting, 2> currentGas{};
    bool serviceMode = false;
    std::int32_t processState = 0;
    // Per gas: ticked for the running span adjustment, the factory
    // auto-calibration value, and the live reading taken when the span
    // started (-101 when there was none).
    std::array<bool, 2> spanSelection{false, false};
    std::array<float, 2> factAutoCal{0, 0};
    std::array<float, 2> spanStartReading{-101.0f, -101.0f};
    QDateTime now;
};

struct InstrumentInfoView {
    QString caption;
    bool serviceLabelsVisible = false; // ROM number and checksum labels
    QString serialNo, stationId, userId, romNumber, sum;
    // vfgInst: row 0 title, row 1 headers, rows 2 and 3 the gases.
    std::array<std::array<QString, 5>, 4> calibration;
    // A gas whose span adjustment failed: its row is red from column 1.
    std::array<bool, 2> spanFailed{false, false};
    // vfgInstSensor: row 0 titles, row 1 headers, rows 2 and 3 the gases;
    // column 1 of a gas row is a check box (enabled).
    std::array<std::array<QString, 6>, 4> sensor;
    std::array<bool, 2> enabled{false, false};
};

InstrumentInfoView BuildInstrumentInfo(const InstrumentInfoInput& input);

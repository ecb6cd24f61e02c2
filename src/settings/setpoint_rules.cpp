#include "settings/setpoint_rules.h"

#include "records/instrument.h"

namespace {

constexpr float kNoValue = -101.0f;

bool IsOxygenLowLow(const clsInstrument& instrument)
{
    return instrument.OxyAlarmType() == QLatin1String("00");
}

} // namespace

bool CheckAlarmOrderRising(const clsInstrument& instrument, int gas)
{
    const float w = instrument.Warning(gas);
    const float a = instrument.Alarm(gas);
    return w < 0.0f || a < 0.0f || w < a || (w == 0.0f && a == 0.0f);
}

bool CheckAlarmOrderFalling(const clsInstrument& instrument, int gas)
{
    const float w = instrument.Warning(gas);
    const float a = instrument.Alarm(gas);
    return w < 0.0f || a < 0.0f || w >= a;
}

bool SetPointsInOrder(const clsInstrument& instrument, int gas)
{
    if (gas == 1)
        return IsOxygenLowLow(instrument) ? CheckAlarmOrderFalling(instrument, 1)
                                          : CheckAlarmOrderRising(instrument, 1);
    return instrument.Warning(gas) <= instrument.Alarm(gas);
}

bool IsAtWarningLevel(const clsInstrument& instrument, int gas, float value)
{
    if (gas == 1)
        return value <= instrument.Warning(1);
    return value >= instrument.Warning(gas);
}

const GasTable& ReplacementGasTable(const QString& specType)
{
    return specType == QLatin1String("00") ? App().ChgGasTable : App().ChgGas01Table;
}

bool ApplyGasTypeDefaults(clsInstrument& instrument, int gas, int& entry)
{
    if (gas < 0 || gas > 1)
        return false;
    if (instrument.OxyAlarmType() == QLatin1String("01") && gas == 1)
        entry = 1;
    if (entry < 0 || entry > 8)
        return false;
    const GasEntry& e = ReplacementGasTable(instrument.SpecType())[gas][entry];
    instrument.SetGasName(gas, e.Name);
    instrument.SetGasEnabled(gas, true);
    instrument.SetGasPoint(gas, e.Points);
    instrument.SetGasUnit(gas, e.Unit);
    instrument.SetWarning(gas, e.Warning);
    instrument.SetAlarm(gas, e.Alarm);
    instrument.SetStel(gas, e.Stel);
    instrument.SetTwa(gas, e.Twa);
    instrument.SetGasDesit(gas, e.Desit);
    instrument.SetGasFullScale(gas, e.FullScale);
    instrument.SetAutoCalib(gas, e.AutoCal);
    return true;
}

void InitAutoCalibTable(const clsInstrument& instrument)
{
    AppState& app = App();
    for (int g = 0; g < 2; ++g) {
        if (app.FactAutoCal[g] != kNoValue)
            continue;
        app.FactAutoCal[g] = instrument.AutoCalib(g) != kNoValue ? instrument.AutoCalib(g)
                                                                  : app.CurrentGas[g].AutoCalib;
    }
}

UploadCheck CheckSettingsForUpload(const clsInstrument& instrument)
{
    for (int g = 0; g < 2; ++g) {
        if (instrument.GasEnabled(g) && !SetPointsInOrder(instrument, g))
            return UploadCheck::SetPointsOutOfOrder;
    }
    if (!instrument.GasEnabled(0) && !instrument.GasEnabled(1))
        return UploadCheck::NoSensor;
    return UploadCheck::Ok;
}

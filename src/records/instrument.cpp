#include "records/instrument.h"

#include "common/services.h"

clsInstrument::clsInstrument()
{
    ClearDatas();
}

void clsInstrument::ClearDatas()
{
    m_key.clear();
    m_messageString.clear();
    m_commFlags = 0;
    m_userID = m_stationID = m_serialNo = m_dummySerial = QStringLiteral("*");
    m_romNumber = 0;
    m_sysDate = DateZero();
    m_sysDateOffset = 0.0;
    m_specType = QStringLiteral("00");
    for (Gas& g : m_gas) {
        g.name.clear();
        g.autoCalib = -101.0f;
        g.desit = 1.0f;
        g.enabled = false;
        g.point = 0;
        g.alarm = g.warning = g.stel = g.twa = -101.0f;
        g.calibAfter = g.calibBefore = -101.0f;
    }
    ClearChangeFlags();
}

void clsInstrument::ClearChangeFlags()
{
    m_chg = Flags{};
    for (Gas& g : m_gas) {
        const bool keep = g.chg.calCoefficient;
        g.chg = GasFlags{};
        g.chg.calCoefficient = keep;
    }
}

clsInstrument::Gas* clsInstrument::gasAt(int gas)
{
    return (gas == 0 || gas == 1) ? &m_gas[static_cast<size_t>(gas)] : nullptr;
}

const clsInstrument::Gas* clsInstrument::gasAt(int gas) const
{
    return (gas == 0 || gas == 1) ? &m_gas[static_cast<size_t>(gas)] : nullptr;
}

QString clsInstrument::UserID() const { return NzStar(m_userID); }
void clsInstrument::SetUserID(const QString& v) { m_userID = NzStar(v); m_chg.userID = true; }
QString clsInstrument::StationID() const { return NzStar(m_stationID); }
void clsInstrument::SetStationID(const QString& v) { m_stationID = NzStar(v); m_chg.stationID = true; }
QString clsInstrument::SerialNo() const { return NzStar(m_serialNo); }
void clsInstrument::SetSerialNo(const QString& v) { m_serialNo = NzStar(v); m_chg.serialNo = true; }
QString clsInstrument::DummySerial() const { return NzStar(m_dummySerial); }
void clsInstrument::SetDummySerial(const QString& v) { m_dummySerial = NzStar(v); m_chg.dummySerial = true; }

void clsInstrument::SetSpecType(const QString& v) { m_specType = v; m_chg.specType = true; }
void clsInstrument::SetColdDistricts(const QString& v) { m_coldDistricts = v; m_chg.coldDistricts = true; }
void clsInstrument::SetOxyAlarmType(const QString& v) { m_oxyAlarmType = v; m_chg.oxyAlarmType = true; }
void clsInstrument::SetWarningType(const QString& v) { m_warningType = v; m_chg.warningType = true; }
void clsInstrument::SetAlarmType(const QString& v) { m_alarmType = v; m_chg.alarmType = true; }
void clsInstrument::SetVibration(const QString& v) { m_vibration = v; m_chg.vibration = true; }
void clsInstrument::SetBackLight(std::int16_t v) { m_backLight = v; m_chg.backLight = true; }
void clsInstrument::SetAlarmPassword(const QString& v) { m_alarmPassword = v; m_chg.alarmPassword = true; }
void clsInstrument::SetAirP1Coefficient(std::int16_t v) { m_airP1 = v; m_chg.airCoefficient = true; }
void clsInstrument::SetAirP2Coefficient(std::int16_t v) { m_airP2 = v; m_chg.airCoefficient = true; }
void clsInstrument::SetAirO2Coefficient(std::int16_t v) { m_airO2 = v; m_chg.airCoefficient = true; }
void clsInstrument::SetWarmDisp(const QString& v) { m_warmDisp = v; m_chg.warmDisp = true; }
void clsInstrument::SetWarmTime(std::int16_t v) { m_warmTime = v; m_chg.warmTime = true; }

std::int16_t clsInstrument::AnalogValue(int index) const
{
    return (index >= 0 && index < static_cast<int>(m_analog.size())) ? m_analog[static_cast<size_t>(index)] : 0;
}
void clsInstrument::SetAnalogValue(int index, std::int16_t v)
{
    if (index >= 0 && index < static_cast<int>(m_analog.size()))
        m_analog[static_cast<size_t>(index)] = v;
}
float clsInstrument::LimitValue(int index) const
{
    return (index >= 0 && index < static_cast<int>(m_limit.size())) ? m_limit[static_cast<size_t>(index)] : 0.0f;
}
void clsInstrument::SetLimitValue(int index, float v)
{
    if (index >= 0 && index < static_cast<int>(m_limit.size()))
        m_limit[static_cast<size_t>(index)] = v;
}

// Per-gas accessors: a bad index reads the zero value and writes nothing.
#define GAS_GET(Type, Name, field, zero)                \
    Type clsInstrument::Name(int gas) const             \
    {                                                   \
        const Gas* g = gasAt(gas);                      \
        return g ? g->field : zero;                     \
    }
#define GAS_SET(Type, Name, field)                      \
    void clsInstrument::Set##Name(int gas, Type v)      \
    {                                                   \
        if (Gas* g = gasAt(gas))                        \
            g->field = v;                               \
    }
#define GAS_SET_FLAG(Type, Name, field, flag)           \
    void clsInstrument::Set##Name(int gas, Type v)      \
    {                                                   \
        if (Gas* g = gasAt(gas)) {                      \
            g->field = v;                               \
            g->chg.flag = true;                         \
        }                                               \
    }

GAS_GET(QString, GasName, name, QString())
GAS_SET(const QString&, GasName, name)
GAS_GET(float, GasDesit, desit, 0.0f)
GAS_SET(float, GasDesit, desit)
GAS_GET(std::int16_t, GasPoint, point, 0)
GAS_SET_FLAG(std::int16_t, GasPoint, point, gasPoint)
GAS_GET(QString, GasUnit, unit, QString())
GAS_SET(const QString&, GasUnit, unit)
GAS_GET(float, GasFullScale, fullScale, 0.0f)
GAS_SET(float, GasFullScale, fullScale)
GAS_GET(bool, GasEnabled, enabled, false)
GAS_SET_FLAG(bool, GasEnabled, enabled, gasEnable)
GAS_GET(float, Warning, warning, 0.0f)
GAS_SET_FLAG(float, Warning, warning, warn)
GAS_GET(float, Alarm, alarm, 0.0f)
GAS_SET_FLAG(float, Alarm, alarm, alarm)
GAS_GET(float, Stel, stel, 0.0f)
GAS_SET_FLAG(float, Stel, stel, stel)
GAS_GET(float, Twa, twa, 0.0f)
GAS_SET_FLAG(float, Twa, twa, twa)
GAS_GET(QDateTime, CalibDate, calibDate, DateZero())
GAS_SET(const QDateTime&, CalibDate, calibDate)
GAS_GET(float, CalibBefore, calibBefore, 0.0f)
GAS_SET(float, CalibBefore, calibBefore)
GAS_GET(float, CalibAfter, calibAfter, 0.0f)
GAS_SET(float, CalibAfter, calibAfter)
GAS_GET(std::int16_t, CalCoefficient, calCoefficient, 0)
GAS_SET(std::int16_t, CalCoefficient, calCoefficient)
GAS_GET(float, AutoCalib, autoCalib, 0.0f)
GAS_SET_FLAG(float, AutoCalib, autoCalib, autoCal)
GAS_GET(float, LogMax, logMax, 0.0f)
GAS_SET(float, LogMax, logMax)
GAS_GET(float, LogMin, logMin, 0.0f)
GAS_SET(float, LogMin, logMin)
GAS_GET(float, LogAvr, logAvr, 0.0f)
GAS_SET(float, LogAvr, logAvr)
GAS_GET(QDateTime, LogMaxDate, logMaxDate, DateZero())
GAS_SET(const QDateTime&, LogMaxDate, logMaxDate)
GAS_GET(QDateTime, LogMinDate, logMinDate, DateZero())
GAS_SET(const QDateTime&, LogMinDate, logMinDate)

GAS_GET(bool, Change_GasPoint, chg.gasPoint, false)
GAS_SET(bool, Change_GasPoint, chg.gasPoint)
GAS_GET(bool, Change_GasEnable, chg.gasEnable, false)
GAS_SET(bool, Change_GasEnable, chg.gasEnable)
GAS_GET(bool, Change_Warn, chg.warn, false)
GAS_SET(bool, Change_Warn, chg.warn)
GAS_GET(bool, Change_Alarm, chg.alarm, false)
GAS_SET(bool, Change_Alarm, chg.alarm)
GAS_GET(bool, Change_Stel, chg.stel, false)
GAS_SET(bool, Change_Stel, chg.stel)
GAS_GET(bool, Change_Twa, chg.twa, false)
GAS_SET(bool, Change_Twa, chg.twa)
GAS_GET(bool, Change_CalCoefficient, chg.calCoefficient, false)
GAS_SET(bool, Change_CalCoefficient, chg.calCoefficient)
GAS_GET(bool, Change_AutoCal, chg.autoCal, false)
GAS_SET(bool, Change_AutoCal, chg.autoCal)

#undef GAS_GET
#undef GAS_SET
#undef GAS_SET_FLAG

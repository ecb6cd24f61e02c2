#pragma once
#include "common/dates.h"
#include "common/gascaption.h"
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

// Everything the program knows about one instrument: identity, clock,
// option settings, per-gas settings and calibration data, logged statistics,
// live readings, and one change flag per writable setting.
//
// Property convention: `X()` reads, `SetX(value)` writes. Per-gas members
// take a gas index (0 = first gas, 1 = second gas); any other index reads as
// the zero value of the type and is ignored on write.
//
// Change flags: the setter of every writable setting stores the value and
// sets that setting's `Change_` flag to true, always, even when the value is
// unchanged. The flags have their own getters/setters (`Change_X()`,
// `SetChange_X(bool)`) so the upload can read and clear them one by one.
// `Change_CalCoefficient` is set only by its own setter and survives
// ClearChangeFlags and ClearDatas.
//
// Identity texts (UserID, StationID, SerialNo, DummySerial) are stored
// trimmed, "*" when empty.
class clsInstrument : public GasCaptionSource {
public:
    clsInstrument();

    // GasCaptionSource: the gas's name, full scale and unit.
    QString CaptionGasName(int gas) const override { return GasName(gas); }
    float CaptionGasFull(int gas) const override { return GasFullScale(gas); }
    QString CaptionGasUnit(int gas) const override { return GasUnit(gas); }

    // Resets identity, clock, SpecType and the per-gas set points to their
    // empty values and clears the change flags (see the .cpp for the list);
    // every other field keeps its value.
    void ClearDatas();
    // Clears every change flag except Change_CalCoefficient.
    void ClearChangeFlags();

    // Log database. LoadDatabase copies the identity, gas configuration and
    // logged statistics stored with the record head seqNo into this object
    // (straight into the fields: no change flag is set); nothing changes when
    // the file or the row is missing. False only on a database failure.
    bool LoadDatabase(qint64 seqNo);
    // Replaces this instrument's latest-calibration row (one per identity)
    // with the current calibration data, in one transaction: a failure keeps
    // the old row. False when the database file is missing or on a failure.
    bool HistoryUpdate();

    // ---- instrument-wide fields ----
    const QString& Key() const { return m_key; }
    void SetKey(const QString& v) { m_key = v; }
    const QString& MessageString() const { return m_messageString; }
    void SetMessageString(const QString& v) { m_messageString = v; }
    const QString& FailLine() const { return m_failLine; }
    void SetFailLine(const QString& v) { m_failLine = v; }
    // -1 once the information has been read over the current connection.
    std::int16_t CommFlags() const { return m_commFlags; }
    void SetCommFlags(std::int16_t v) { m_commFlags = v; }
    const QString& Model() const { return m_model; }
    void SetModel(const QString& v) { m_model = v; }
    std::int32_t RomNumber() const { return m_romNumber; }
    void SetRomNumber(std::int32_t v) { m_romNumber = v; }
    const QString& SUM() const { return m_sum; }
    void SetSUM(const QString& v) { m_sum = v; }

    QString UserID() const;
    void SetUserID(const QString& v);
    QString StationID() const;
    void SetStationID(const QString& v);
    QString SerialNo() const;
    void SetSerialNo(const QString& v);
    QString DummySerial() const;
    void SetDummySerial(const QString& v);

    // Instrument clock as last read (wall-clock, marked as UTC).
    const QDateTime& SysDate() const { return m_sysDate; }
    void SetSysDate(const QDateTime& v) { m_sysDate = v; }
    // PC clock minus instrument clock, in days (positive when the PC is
    // ahead); 0 when unknown. Instrument time = PC time - offset.
    double SysDateOffset() const { return m_sysDateOffset; }
    void SetSysDateOffset(double days) { m_sysDateOffset = days; }

    const QString& SpecType() const { return m_specType; }
    void SetSpecType(const QString& v);
    const QString& ColdDistricts() const { return m_coldDistricts; }
    void SetColdDistricts(const QString& v);
    const QString& OxyAlarmType() const { return m_oxyAlarmType; }
    void SetOxyAlarmType(const QString& v);
    const QString& WarningType() const { return m_warningType; }
    void SetWarningType(const QString& v);
    const QString& AlarmType() const { return m_alarmType; }
    void SetAlarmType(const QString& v);
    const QString& Vibration() const { return m_vibration; }
    void SetVibration(const QString& v);
    std::int16_t BackLight() const { return m_backLight; }
    void SetBackLight(std::int16_t v);
    const QString& AlarmPassword() const { return m_alarmPassword; }
    void SetAlarmPassword(const QString& v);
    float Battery() const { return m_battery; }
    void SetBattery(float v) { m_battery = v; }
    std::int16_t AirP1Coefficient() const { return m_airP1; }
    void SetAirP1Coefficient(std::int16_t v);
    std::int16_t AirP2Coefficient() const { return m_airP2; }
    void SetAirP2Coefficient(std::int16_t v);
    std::int16_t AirO2Coefficient() const { return m_airO2; }
    void SetAirO2Coefficient(std::int16_t v);
    const QString& WarmDisp() const { return m_warmDisp; }
    void SetWarmDisp(const QString& v);
    std::int16_t WarmTime() const { return m_warmTime; }
    void SetWarmTime(std::int16_t v);

    // Raw A/D values, index 0..10; live readings, index 0..2 (-101 no value,
    // -110 failure). Other indexes read 0 and are ignored on write.
    std::int16_t AnalogValue(int index) const;
    void SetAnalogValue(int index, std::int16_t v);
    float LimitValue(int index) const;
    void SetLimitValue(int index, float v);

    // ---- instrument-wide change flags ----
    bool Change_UserID() const { return m_chg.userID; }
    void SetChange_UserID(bool v) { m_chg.userID = v; }
    bool Change_StationID() const { return m_chg.stationID; }
    void SetChange_StationID(bool v) { m_chg.stationID = v; }
    bool Change_SerialNo() const { return m_chg.serialNo; }
    void SetChange_SerialNo(bool v) { m_chg.serialNo = v; }
    bool Change_DummySerial() const { return m_chg.dummySerial; }
    void SetChange_DummySerial(bool v) { m_chg.dummySerial = v; }
    bool Change_SpecType() const { return m_chg.specType; }
    void SetChange_SpecType(bool v) { m_chg.specType = v; }
    bool Change_ColdDistricts() const { return m_chg.coldDistricts; }
    void SetChange_ColdDistricts(bool v) { m_chg.coldDistricts = v; }
    bool Change_OxyAlarmType() const { return m_chg.oxyAlarmType; }
    void SetChange_OxyAlarmType(bool v) { m_chg.oxyAlarmType = v; }
    bool Change_WarningType() const { return m_chg.warningType; }
    void SetChange_WarningType(bool v) { m_chg.warningType = v; }
    bool Change_AlarmType() const { return m_chg.alarmType; }
    void SetChange_AlarmType(bool v) { m_chg.alarmType = v; }
    bool Change_Vibration() const { return m_chg.vibration; }
    void SetChange_Vibration(bool v) { m_chg.vibration = v; }
    bool Change_BackLight() const { return m_chg.backLight; }
    void SetChange_BackLight(bool v) { m_chg.backLight = v; }
    bool Change_AlarmPassword() const { return m_chg.alarmPassword; }
    void SetChange_AlarmPassword(bool v) { m_chg.alarmPassword = v; }
    // One flag for the three air coefficients.
    bool Change_AirCoefficient() const { return m_chg.airCoefficient; }
    void SetChange_AirCoefficient(bool v) { m_chg.airCoefficient = v; }
    bool Change_WarmDisp() const { return m_chg.warmDisp; }
    void SetChange_WarmDisp(bool v) { m_chg.warmDisp = v; }
    bool Change_WarmTime() const { return m_chg.warmTime; }
    void SetChange_WarmTime(bool v) { m_chg.warmTime = v; }

    // ---- per-gas fields ----
    QString GasName(int gas) const;
    void SetGasName(int gas, const QString& v);
    float GasDesit(int gas) const;
    void SetGasDesit(int gas, float v);
    std::int16_t GasPoint(int gas) const;
    void SetGasPoint(int gas, std::int16_t v);           // sets Change_GasPoint
    QString GasUnit(int gas) const;
    void SetGasUnit(int gas, const QString& v);
    float GasFullScale(int gas) const;
    void SetGasFullScale(int gas, float v);
    bool GasEnabled(int gas) const;
    void SetGasEnabled(int gas, bool v);                 // sets Change_GasEnable
    float Warning(int gas) const;
    void SetWarning(int gas, float v);                   // sets Change_Warn
    float Alarm(int gas) const;
    void SetAlarm(int gas, float v);                     // sets Change_Alarm
    float Stel(int gas) const;
    void SetStel(int gas, float v);                      // sets Change_Stel
    float Twa(int gas) const;
    void SetTwa(int gas, float v);                       // sets Change_Twa
    QDateTime CalibDate(int gas) const;
    void SetCalibDate(int gas, const QDateTime& v);
    float CalibBefore(int gas) const;
    void SetCalibBefore(int gas, float v);
    float CalibAfter(int gas) const;
    void SetCalibAfter(int gas, float v);
    std::int16_t CalCoefficient(int gas) const;
    void SetCalCoefficient(int gas, std::int16_t v);     // no flag
    float AutoCalib(int gas) const;
    void SetAutoCalib(int gas, float v);                 // sets Change_AutoCal
    float LogMax(int gas) const;
    void SetLogMax(int gas, float v);
    float LogMin(int gas) const;
    void SetLogMin(int gas, float v);
    float LogAvr(int gas) const;
    void SetLogAvr(int gas, float v);
    QDateTime LogMaxDate(int gas) const;
    void SetLogMaxDate(int gas, const QDateTime& v);
    QDateTime LogMinDate(int gas) const;
    void SetLogMinDate(int gas, const QDateTime& v);

    // ---- per-gas change flags ----
    bool Change_GasPoint(int gas) const;
    void SetChange_GasPoint(int gas, bool v);
    bool Change_GasEnable(int gas) const;
    void SetChange_GasEnable(int gas, bool v);
    bool Change_Warn(int gas) const;
    void SetChange_Warn(int gas, bool v);
    bool Change_Alarm(int gas) const;
    void SetChange_Alarm(int gas, bool v);
    bool Change_Stel(int gas) const;
    void SetChange_Stel(int gas, bool v);
    bool Change_Twa(int gas) const;
    void SetChange_Twa(int gas, bool v);
    bool Change_CalCoefficient(int gas) const;
    void SetChange_CalCoefficient(int gas, bool v);
    bool Change_AutoCal(int gas) const;
    void SetChange_AutoCal(int gas, bool v);

private:
    struct GasFlags {
        bool gasPoint = false, gasEnable = false, warn = false, alarm = false, stel = false,
             twa = false, calCoefficient = false, autoCal = false;
    };
    struct Gas {
        QString name;
        float desit = 1.0f;
        std::int16_t point = 0;
        QString unit;
        float fullScale = 0.0f;
        bool enabled = false;
        float warning = -101.0f, alarm = -101.0f, stel = -101.0f, twa = -101.0f;
        QDateTime calibDate = DateZero();
        float calibBefore = -101.0f, calibAfter = -101.0f;
        std::int16_t calCoefficient = 0;
        float autoCalib = -101.0f;
        float logMax = 0.0f, logMin = 0.0f, logAvr = 0.0f;
        QDateTime logMaxDate = DateZero(), logMinDate = DateZero();
        GasFlags chg;
    };
    struct Flags {
        bool userID = false, stationID = false, serialNo = false, dummySerial = false,
             specType = false, coldDistricts = false, oxyAlarmType = false, warningType = false,
             alarmType = false, vibration = false, backLight = false, alarmPassword = false,
             airCoefficient = false, warmDisp = false, warmTime = false;
    };

    Gas* gasAt(int gas);
    const Gas* gasAt(int gas) const;

    QString m_key;
    QString m_messageString;
    QString m_failLine;
    std::int16_t m_commFlags = 0;
    QString m_model;
    std::int32_t m_romNumber = 0;
    QString m_sum;
    QString m_userID, m_stationID, m_serialNo, m_dummySerial;
    QDateTime m_sysDate = DateZero();
    double m_sysDateOffset = 0.0;
    QString m_specType;
    QString m_coldDistricts, m_oxyAlarmType, m_warningType, m_alarmType, m_vibration;
    std::int16_t m_backLight = 0;
    QString m_alarmPassword;
    float m_battery = 0.0f;
    std::int16_t m_airP1 = 0, m_airP2 = 0, m_airO2 = 0;
    QString m_warmDisp;
    std::int16_t m_warmTime = 0;
    Flags m_chg;
    std::array<Gas, 2> m_gas;
    std::array<std::int16_t, 11> m_analog{};
    std::array<float, 3> m_limit{};
};

#pragma once
// Stand-in for the instrument interface control until the real one lands:
// a control with no instrument behind it. Every request fails at once.
#include "interface/qvif_port.h"

class StandInQvifPort final : public QvifPort {
public:
    using QvifPort::QvifPort;
    void AddLog(const QString& text) override {}
    int Timeout() const override { return 0; }
    void SetTimeout(int seconds) override {}
    int Retry() const override { return 0; }
    void SetRetry(int count) override {}
    clsAlarms* Alarms() const override { return nullptr; }
    void SetAlarmsRef(clsAlarms* alarms) override {}
    bool Cancel() const override { return false; }
    void SetCancel(bool cancel) override {}
    QString RCName() const override { return {}; }
    bool BodyDataClear() override { return false; }
    bool BodyPowerOff() override { return false; }
    int DumpListFileNo() const override { return 0; }
    void SetDumpListFileNo(int fileNo) override {}
    bool Enabled() const override { return false; }
    void SetEnabled(bool enabled) override {}
    int CommPort() const override { return 0; }
    void SetCommPort(int port) override {}
    QString DevicePath() const override { return {}; }
    void SetDevicePath(const QString& path) override {}
    bool SerialComm() const override { return false; }
    void SetSerialComm(bool serial) override {}
    bool PortOpen() const override { return m_open; }
    void SetPortOpen(bool open) override { m_open = open; }
    bool DTREnable() const override { return false; }
    void SetDTREnable(bool enable) override {}
    int Handshaking() const override { return 0; }
    void SetHandshaking(int mode) override {}
    std::int32_t FactCal(int index) const override { return 0; }
    void SetFactCal(int index, std::int32_t value) override {}
    bool GetRomDump(const QString& path) override { return false; }
    bool GetRomDump2(const QString& path) override { return false; }
    clsHistorys* History() const override { return nullptr; }
    void SetHistoryRef(clsHistorys* history) override {}
    clsInstrument* Instrument() const override { return nullptr; }
    void SetInstrumentRef(clsInstrument* instrument) override {}
    clsIntervals* Intervals() const override { return nullptr; }
    void SetIntervalsRef(clsIntervals* intervals) override {}
    bool SetDateTime(const QDateTime& dateTime) override { return false; }
    bool SetDefault() override { return false; }
    bool SetInitValue(clsInstrument* instrument) override { return false; }
    bool SpanStatus(int index) const override { return false; }
    void SetSystemBlock(const QVariant& value) override {}
    bool RTSEnable() const override { return false; }
    void SetRTSEnable(bool enable) override {}
    int SerialFileNo() const override { return 0; }
    void SetSerialFileNo(int fileNo) override {}
    QString Settings() const override { return {}; }
    void SetSettings(const QString& settings) override {}
    bool GetInstrument(clsInstrument* instrument) override { return false; }
    bool SetInstrument(clsInstrument* instrument) override { return false; }
    bool GetInterval(clsIntervals* intervals) override { return false; }
    bool GetHistory(clsHistorys* histories) override { return false; }
    bool GetLatestHistory(clsInstrument* instrument) override { return false; }
    bool GetAlarm(clsAlarms* alarms) override { return false; }
    bool GetPowerEvent(clsPowerEvents* events) override { return false; }
    bool DisConnect() override { return false; }
    bool Connected() const override { return false; }
    void SetConnected(bool connected) override {}
    bool TimerEnabled() const override { return false; }
    void SetTimerEnabled(bool enabled) override {}
    bool SpanCal(const QString& gasFlags) override { return false; }
    std::int32_t Status() const override { return 0; }
    void SetStatus(std::int32_t status) override {}
    void DataSend(const QByteArray& frame, bool resetRetry) override {}
    bool RunDensty() const override { return false; }
    void SetRunDensty(bool run) override {}
    bool ZeroCal(const QString& gasFlags) override { return false; }
    bool ZeroStatus(int index) const override { return false; }
    bool SZX(std::int16_t c1, std::int16_t c2, std::int16_t c3) override { return false; }
    bool S1X(std::int16_t c1, std::int16_t c2) override { return false; }

private:
    bool m_open = false;
};

#pragma once
#include "interface/qvif_port.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <functional>
#include <optional>

// A scripted interface control for window tests. It records every call in
// `calls` (setters with their value, e.g. "SetRetry(3)"; requests by name,
// e.g. "GetInterval"), keeps its properties as plain fields, and answers each
// request from a queue of scripted steps per method. A request without a
// queued step fails at once (result false, Status 7).
//
// A step can raise the method's progress events, run an action (e.g. put
// records into the collection the window passed: see lastIntervals and the
// other last* pointers, which are set before the action runs), and leave
// Status, AnswerReceived and the communication counters at given values.
class FakeQvif final : public QvifPort {
    Q_OBJECT
public:
    struct Step {
        bool result = true;
        // Raised through the method's message event, in order.
        QStringList messages;
        // Runs after the messages, before the end values are set.
        std::function<void()> action;
        // End values; Status defaults to 6 on success and 7 on failure.
        std::optional<std::int32_t> status;
        std::optional<bool> answerReceived;
        std::optional<std::int16_t> framesSent;
        std::optional<std::int16_t> naksSent;
        std::optional<std::int16_t> checksumErrors;
    };

    explicit FakeQvif(QObject* parent = nullptr) : QvifPort(parent) {}

    // Queues a step for a request method ("GetInterval", "BodyPowerOff", ...).
    void Script(const QString& method, Step step) { m_script[method].append(std::move(step)); }
    // Steps still queued for a method (all methods when empty).
    int Pending(const QString& method = QString()) const;
    // Calls whose text starts with prefix.
    QStringList CallsStartingWith(const QString& prefix) const;

    // Recorded calls and serial-log lines (AddLog texts, without the time).
    QStringList calls;
    QStringList serialLog;

    // Whether setting PortOpen true opens the serial transport / the IrDA one.
    bool serialOpens = true;
    bool irdaOpens = true;

    // Plain properties.
    int timeout = 0, retry = 0, dumpListFileNo = 0, serialFileNo = 0, commPort = 0, handshaking = 0;
    bool cancel = false, enabled = true, serialComm = false, portOpen = false, dtr = false, rts = false;
    bool connected = false, timerEnabled = true, runDensty = false;
    std::int32_t status = 0;
    QString devicePath, settings, rcName;
    // What DumpFileError() and LineDisturbed() give (a step's action may
    // set them; each request clears them).
    QString dumpFileError;
    bool lineDisturbed = false;
    std::int32_t factCal[5] = {0, 0, 0, 0, 0};
    bool spanStatus[2] = {false, false};
    bool zeroStatus[2] = {false, false};

    clsAlarms* alarmsRef = nullptr;
    clsHistorys* historyRef = nullptr;
    clsInstrument* instrumentRef = nullptr;
    clsIntervals* intervalsRef = nullptr;

    // Arguments of the last request of each kind.
    clsInstrument* lastInstrument = nullptr;
    clsIntervals* lastIntervals = nullptr;
    clsAlarms* lastAlarms = nullptr;
    clsHistorys* lastHistorys = nullptr;
    clsPowerEvents* lastPowerEvents = nullptr;
    QString lastPath, lastGasFlags;
    QDateTime lastDateTime;

    // Raise OnConnect / OnDisconnect queued, as the control does (they run
    // at the next turn of the event loop).
    void RaiseOnConnect();
    void RaiseOnDisconnect();

    // ---- QvifPort ----
    void AddLog(const QString& text) override;
    int Timeout() const override { return timeout; }
    void SetTimeout(int seconds) override;
    int Retry() const override { return retry; }
    void SetRetry(int count) override;
    clsAlarms* Alarms() const override { return alarmsRef; }
    void SetAlarmsRef(clsAlarms* alarms) override;
    bool Cancel() const override { return cancel; }
    void SetCancel(bool c) override;
    QString RCName() const override { return rcName; }
    bool BodyDataClear() override { return Run(QStringLiteral("BodyDataClear"), nullptr); }
    bool BodyPowerOff() override { return Run(QStringLiteral("BodyPowerOff"), nullptr); }
    int DumpListFileNo() const override { return dumpListFileNo; }
    void SetDumpListFileNo(int fileNo) override;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool e) override;
    int CommPort() const override { return commPort; }
    void SetCommPort(int port) override;
    QString DevicePath() const override { return devicePath; }
    void SetDevicePath(const QString& path) override;
    bool SerialComm() const override { return serialComm; }
    void SetSerialComm(bool serial) override;
    bool PortOpen() const override { return portOpen; }
    void SetPortOpen(bool open) override;
    bool DTREnable() const override { return dtr; }
    void SetDTREnable(bool enable) override;
    int Handshaking() const override { return handshaking; }
    void SetHandshaking(int mode) override;
    std::int32_t FactCal(int index) const override;
    void SetFactCal(int index, std::int32_t value) override;
    bool GetRomDump(const QString& path) override;
    bool GetRomDump2(const QString& path) override;
    QString DumpFileError() const override { return dumpFileError; }
    bool LineDisturbed() const override { return lineDisturbed; }
    clsHistorys* History() const override { return historyRef; }
    void SetHistoryRef(clsHistorys* history) override;
    clsInstrument* Instrument() const override { return instrumentRef; }
    void SetInstrumentRef(clsInstrument* instrument) override;
    clsIntervals* Intervals() const override { return intervalsRef; }
    void SetIntervalsRef(clsIntervals* intervals) override;
    bool SetDateTime(const QDateTime& dateTime) override;
    bool SetDefault() override { return Run(QStringLiteral("SetDefault"), nullptr); }
    bool SetInitValue(clsInstrument* instrument) override;
    bool SpanStatus(int index) const override { return index >= 0 && index < 2 && spanStatus[index]; }
    void SetSystemBlock(const QVariant&) override { calls << QStringLiteral("SetSystemBlock"); }
    bool RTSEnable() const override { return rts; }
    void SetRTSEnable(bool enable) override;
    int SerialFileNo() const override { return serialFileNo; }
    void SetSerialFileNo(int fileNo) override;
    QString Settings() const override { return settings; }
    void SetSettings(const QString& s) override;
    bool GetInstrument(clsInstrument* instrument) override;
    bool SetInstrument(clsInstrument* instrument) override;
    bool GetInterval(clsIntervals* intervals) override;
    bool GetHistory(clsHistorys* histories) override;
    bool GetLatestHistory(clsInstrument* instrument) override;
    bool GetAlarm(clsAlarms* alarms) override;
    bool GetPowerEvent(clsPowerEvents* events) override;
    bool DisConnect() override;
    bool Connected() const override { return connected; }
    void SetConnected(bool) override { calls << QStringLiteral("SetConnected"); }
    bool TimerEnabled() const override { return timerEnabled; }
    void SetTimerEnabled(bool e) override;
    bool SpanCal(const QString& gasFlags) override;
    std::int32_t Status() const override { return status; }
    void SetStatus(std::int32_t s) override;
    void DataSend(const QByteArray& frame, bool resetRetry) override;
    bool RunDensty() const override { return runDensty; }
    void SetRunDensty(bool run) override;
    bool ZeroCal(const QString& gasFlags) override;
    bool ZeroStatus(int index) const override { return index >= 0 && index < 2 && zeroStatus[index]; }
    bool SZX(std::int16_t c1, std::int16_t c2, std::int16_t c3) override;
    bool S1X(std::int16_t c1, std::int16_t c2) override;

private:
    // The progress event a method raises its messages through.
    using MessageSignal = void (QvifPort::*)(const QString&);
    bool Run(const QString& method, MessageSignal signal, const QString& callText = QString());
    QHash<QString, QList<Step>> m_script;
};

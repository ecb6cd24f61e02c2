#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>

class clsInstrument;
class clsIntervals;
class clsAlarms;
class clsHistorys;
class clsPowerEvents;

// The public surface of the instrument interface control: every property,
// method and event the windows use. The real control (uclQvif) implements
// it; window tests substitute a scripted implementation.
//
// Conventions:
// - A property `X` reads through `X()` and writes through `SetX(value)`.
//   The four object-reference properties (Alarms, History, Instrument,
//   Intervals) write through `SetXRef(pointer)`, because `SetInstrument`
//   is the settings-upload method. A null pointer is ignored by the Ref
//   setters and makes the request methods return false without sending.
// - Request methods are synchronous: they send, wait in a loop that yields
//   to the event loop, and return true on success. Records and the
//   instrument object are filled in place through the pointer passed in;
//   the caller keeps ownership.
// - Events are Qt signals. OnConnect, OnDisconnect, AlarmMessage,
//   ConnectRetry and PortLost are delivered queued, so a host may run
//   requests from their handlers. The other events are emitted directly.
// - Request states (Status): 0 initial, 2 idle, 3 multi-block download
//   running, 4 waiting for a read answer, 5 waiting for a write/execute
//   answer, 6 done, 7 failed, 8 cancelled.
class QvifPort : public QObject {
    Q_OBJECT
public:
    explicit QvifPort(QObject* parent = nullptr) : QObject(parent) {}
    ~QvifPort() override = default;

    // 1: writes one time-stamped line to the serial log.
    virtual void AddLog(const QString& text) = 0;

    // 2: answer time-out in seconds (held to 1..3276; 0 gives 3).
    virtual int Timeout() const = 0;
    virtual void SetTimeout(int seconds) = 0;

    // 3: limit for resends, NAK blocks and connect probes (0 gives 3).
    virtual int Retry() const = 0;
    virtual void SetRetry(int count) = 0;

    // 4: alarm-trend collection; filled by GetAlarm.
    virtual clsAlarms* Alarms() const = 0;
    virtual void SetAlarmsRef(clsAlarms* alarms) = 0;

    // 5: while true, arriving answers are thrown away and the request ends
    // cancelled (state 8).
    virtual bool Cancel() const = 0;
    virtual void SetCancel(bool cancel) = 0;

    // 6: model name of the last accepted connect answer.
    virtual QString RCName() const = 0;

    // 7, 8: clear the logger memory; switch the instrument off (the port is
    // left closed and the link state 0; always true).
    virtual bool BodyDataClear() = 0;
    virtual bool BodyPowerOff() = 0;

    // 9: file number for dump lists (only "in use" matters: below 1 is off).
    virtual int DumpListFileNo() const = 0;
    virtual void SetDumpListFileNo(int fileNo) = 0;

    // 10
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;

    // 11: port number (the IrDA port's while IrDA is active).
    virtual int CommPort() const = 0;
    virtual void SetCommPort(int port) = 0;
    // The serial device the port opens ("/dev/ttyUSB0", a pseudo-terminal).
    // Empty: "/dev/ttyS<CommPort-1>".
    virtual QString DevicePath() const = 0;
    virtual void SetDevicePath(const QString& path) = 0;

    // 12: true forces the serial transport even when an IrDA link exists.
    virtual bool SerialComm() const = 0;
    virtual void SetSerialComm(bool serial) = 0;

    // 13: open state of the active transport; a failure to open or close is
    // not reported (read PortOpen() back).
    virtual bool PortOpen() const = 0;
    virtual void SetPortOpen(bool open) = 0;

    // 14
    virtual bool DTREnable() const = 0;
    virtual void SetDTREnable(bool enable) = 0;

    // 15: 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both.
    virtual int Handshaking() const = 0;
    virtual void SetHandshaking(int mode) = 0;

    // 16: index 0..4; any other index throws std::out_of_range.
    virtual std::int32_t FactCal(int index) const = 0;
    virtual void SetFactCal(int index, std::int32_t value) = 0;

    // 17, 18: flash-ROM / FRAM dump list into the file at path. The file is
    // replaced only by the whole listing of a download that succeeded: when
    // the download fails, or the file cannot be written (a full disk), the
    // old file stays and the request returns false; DumpFileError() says
    // why a write failed.
    virtual bool GetRomDump(const QString& path) = 0;
    virtual bool GetRomDump2(const QString& path) = 0;
    // Why the last dump list could not be written, in words (message 5960);
    // empty when it was written.
    virtual QString DumpFileError() const = 0;
    // The last download failed because the line was disturbed so that its
    // blocks could not be told apart (the next block, or one sent again).
    virtual bool LineDisturbed() const { return false; }

    // 19: calibration-history collection; set by GetHistory.
    virtual clsHistorys* History() const = 0;
    virtual void SetHistoryRef(clsHistorys* history) = 0;

    // 20: the instrument object the requests fill and read.
    virtual clsInstrument* Instrument() const = 0;
    virtual void SetInstrumentRef(clsInstrument* instrument) = 0;

    // 21: interval-trend collection; filled by GetInterval.
    virtual clsIntervals* Intervals() const = 0;
    virtual void SetIntervalsRef(clsIntervals* intervals) = 0;

    // 22, 23, 24: set the instrument clock; restore its defaults;
    // initialise an instrument from the object.
    virtual bool SetDateTime(const QDateTime& dateTime) = 0;
    virtual bool SetDefault() = 0;
    virtual bool SetInitValue(clsInstrument* instrument) = 0;

    // 25: true when the last span result has two characters and character
    // index+1 is "0"; false for any other index.
    virtual bool SpanStatus(int index) const = 0;

    // 26: accepts a value and does nothing.
    virtual void SetSystemBlock(const QVariant& value) = 0;

    // 27
    virtual bool RTSEnable() const = 0;
    virtual void SetRTSEnable(bool enable) = 0;

    // 28: file number of the serial log; below 1 the log is off.
    virtual int SerialFileNo() const = 0;
    virtual void SetSerialFileNo(int fileNo) = 0;

    // 29: line settings such as "921600,n,8,1".
    virtual QString Settings() const = 0;
    virtual void SetSettings(const QString& settings) = 0;

    // 30, 31: read the instrument information; upload the changed settings.
    virtual bool GetInstrument(clsInstrument* instrument) = 0;
    virtual bool SetInstrument(clsInstrument* instrument) = 0;

    // 32..36: log downloads and the latest calibration.
    virtual bool GetInterval(clsIntervals* intervals) = 0;
    virtual bool GetHistory(clsHistorys* histories) = 0;
    virtual bool GetLatestHistory(clsInstrument* instrument) = 0;
    virtual bool GetAlarm(clsAlarms* alarms) = 0;
    virtual bool GetPowerEvent(clsPowerEvents* events) = 0;

    // 37: Status := 2; always false; the link state is not touched.
    virtual bool DisConnect() = 0;

    // 38: true exactly while connected (link state 3); the setter does
    // nothing.
    virtual bool Connected() const = 0;
    virtual void SetConnected(bool connected) = 0;

    // 39: the 100 ms timer (the main window stops it when it closes).
    virtual bool TimerEnabled() const = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;

    // 40: span calibration with gas flags such as "10".
    virtual bool SpanCal(const QString& gasFlags) = 0;

    // 41: the request state.
    virtual std::int32_t Status() const = 0;
    virtual void SetStatus(std::int32_t status) = 0;

    // 42: sends one built frame.
    virtual void DataSend(const QByteArray& frame, bool resetRetry) = 0;

    // 43: live readings once a second.
    virtual bool RunDensty() const = 0;
    virtual void SetRunDensty(bool run) = 0;

    // 44: zero calibration with gas flags (the host passes "11").
    virtual bool ZeroCal(const QString& gasFlags) = 0;

    // 45: as SpanStatus, on the zero result.
    virtual bool ZeroStatus(int index) const = 0;

    // 46, 47: write calibration coefficients.
    virtual bool SZX(std::int16_t c1, std::int16_t c2, std::int16_t c3) = 0;
    virtual bool S1X(std::int16_t c1, std::int16_t c2) = 0;

signals:
    // 1: the link became connected. Queued.
    void OnConnect();
    // 2: live readings of gas 1 and gas 2.
    void Densty(float Value1, float Value2);
    // 3: a connect attempt is repeated. Queued.
    void ConnectRetry(int RetryCount);
    // 4: progress text of instrument information, settings, live readings.
    void InstMessage(const QString& MessageString);
    // 5: progress text of interval-trend and calibration-history downloads.
    void InterMessage(const QString& MessageString);
    // 6: progress text of alarm-trend and power-event downloads; connect
    // given up. Queued.
    void AlarmMessage(const QString& MessageString);
    // 7: progress of a dump-list download.
    void DumpMessage(const QString& MessageString);
    // 8: the instrument's line went away (CTS and DSR both off). Queued.
    void OnDisconnect();
    // 9: IrDA socket error.
    void IrDAError(int ErrorNumber);
    // 10: a frame is sent, or data arrive.
    void StsTransmit();
    // 11: a serial event has been handled.
    void StsIdle();
    // The open serial port was lost (the converter unplugged or failing):
    // the port is closed and stays closed until it is opened again. device
    // is the port's device, reason what is known of why. Queued.
    void PortLost(const QString& device, const QString& reason);
};

#pragma once
#include "interface/block_exchange.h"
#include "interface/irda_transport.h"
#include "interface/qvif_port.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QTimer;
class QIODevice;
class SerialTransport;

// The instrument interface control: the program's only path to the
// instrument. It owns the serial and IrDA transports, frames and checks
// every exchange, resends and times out, runs the connect probe, and offers
// one synchronous method per request (see QvifPort for the public surface).
//
// Link states (LinkState): 0 none, 2 connecting (probing with "RC,R,"),
// 3 connected, 4 reopen the serial port.
//
// Everything runs on the thread that created the control. The request
// methods wait in a loop that yields to the event loop; the transports'
// events and the 100 ms tick are served inside those waits.
class uclQvif : public QvifPort {
    Q_OBJECT
public:
    // irda: the IrDA transport to use (tests pass a fake); null takes the
    // platform's, which on this platform never finds a device.
    explicit uclQvif(QObject* parent = nullptr, std::unique_ptr<IrdaTransport> irda = {});
    ~uclQvif() override;

    // ---- QvifPort ----
    void AddLog(const QString& text) override;
    int Timeout() const override;
    void SetTimeout(int seconds) override;
    int Retry() const override { return m_retry; }
    void SetRetry(int count) override;
    clsAlarms* Alarms() const override { return m_alarms; }
    void SetAlarmsRef(clsAlarms* alarms) override;
    bool Cancel() const override { return m_cancel; }
    void SetCancel(bool cancel) override { m_cancel = cancel; }
    QString RCName() const override { return m_rcName; }
    bool BodyDataClear() override;
    bool BodyPowerOff() override;
    int DumpListFileNo() const override { return m_dumpListFileNo; }
    void SetDumpListFileNo(int fileNo) override { m_dumpListFileNo = fileNo; }
    bool Enabled() const override { return m_enabled; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    int CommPort() const override;
    void SetCommPort(int port) override;
    QString DevicePath() const override;
    void SetDevicePath(const QString& path) override;
    bool SerialComm() const override { return m_serialComm; }
    void SetSerialComm(bool serial) override { m_serialComm = serial; }
    bool PortOpen() const override;
    void SetPortOpen(bool open) override;
    bool DTREnable() const override;
    void SetDTREnable(bool enable) override;
    int Handshaking() const override;
    void SetHandshaking(int mode) override;
    std::int32_t FactCal(int index) const override;
    void SetFactCal(int index, std::int32_t value) override;
    bool GetRomDump(const QString& path) override;
    bool GetRomDump2(const QString& path) override;
    QString DumpFileError() const override { return m_dumpFileError; }
    bool LineDisturbed() const override { return m_lineDisturbed; }
    clsHistorys* History() const override { return m_history; }
    void SetHistoryRef(clsHistorys* history) override;
    clsInstrument* Instrument() const override { return m_instrument; }
    void SetInstrumentRef(clsInstrument* instrument) override;
    clsIntervals* Intervals() const override { return m_intervals; }
    void SetIntervalsRef(clsIntervals* intervals) override;
    bool SetDateTime(const QDateTime& dateTime) override;
    bool SetDefault() override;
    bool SetInitValue(clsInstrument* instrument) override;
    bool SpanStatus(int index) const override;
    void SetSystemBlock(const QVariant&) override {}
    bool RTSEnable() const override;
    void SetRTSEnable(bool enable) override;
    int SerialFileNo() const override { return m_serialFileNo; }
    void SetSerialFileNo(int fileNo) override { m_serialFileNo = fileNo; }
    QString Settings() const override;
    void SetSettings(const QString& settings) override;
    bool GetInstrument(clsInstrument* instrument) override;
    bool SetInstrument(clsInstrument* instrument) override;
    bool GetInterval(clsIntervals* intervals) override;
    bool GetHistory(clsHistorys* histories) override;
    bool GetLatestHistory(clsInstrument* instrument) override;
    bool GetAlarm(clsAlarms* alarms) override;
    bool GetPowerEvent(clsPowerEvents* events) override;
    bool DisConnect() override;
    bool Connected() const override { return m_linkState == 3; }
    void SetConnected(bool) override {}
    bool TimerEnabled() const override;
    void SetTimerEnabled(bool enabled) override;
    bool SpanCal(const QString& gasFlags) override;
    std::int32_t Status() const override { return m_status; }
    void SetStatus(std::int32_t status) override { m_status = status; }
    void DataSend(const QByteArray& frame, bool resetRetry) override;
    bool RunDensty() const override;
    void SetRunDensty(bool run) override;
    bool ZeroCal(const QString& gasFlags) override;
    bool ZeroStatus(int index) const override;
    bool SZX(std::int16_t c1, std::int16_t c2, std::int16_t c3) override;
    bool S1X(std::int16_t c1, std::int16_t c2) override;

    // ---- beyond the public surface: state for the host's diagnostics and
    // for tests ----
    int LinkState() const { return m_linkState; }
    QByteArray LastFrame() const { return m_lastFrame; }
    int RetryCount() const { return m_retryCount; }
    // The power-event collection (set by GetPowerEvent; tests bind it).
    clsPowerEvents* PowerEventList() const { return m_powerEvents; }
    void SetPowerEventListRef(clsPowerEvents* events)
    {
        if (events)
            m_powerEvents = events;
    }
    SerialTransport* Serial() const { return m_serial; }
    IrdaTransport* Irda() const { return m_irda.get(); }

    // One 100 ms tick: probe, reopen, answer time-out, IrDA poll, modem
    // lines. The timer calls it; tests may call it themselves (with the
    // timer stopped or its interval changed by SetTickInterval).
    void Tick();
    void SetTickInterval(int ms);

    // One tick of the live readings: the 1000 ms timer calls it while
    // RunDensty is on; tests may call it themselves (or change the interval).
    void DenstTick();
    void SetDenstInterval(int ms);

    // The receive path both transports feed. Only while a request waits
    // (states 3, 4, 5) is anything taken: the bytes are cut into frames
    // (STX ... ETX, checksum, ETB or EOT), CRs outside a frame and noise;
    // each frame is checked, then judged and taken, acknowledged or asked
    // for again, until the request ends. During a download each checked
    // block is judged by the exchange model (BlockExchange) before its data
    // are read: a repeat is not taken again, a block of an earlier request
    // never, and a block the bytes cannot place fails a dump list (records
    // take it: they are stored once); lines the instrument left out fail
    // the download at once. What arrives after the request has ended, up to
    // the next one, is logged and dropped. Public for the robustness tests.
    void ReceiveData(const QByteArray& data, bool viaIrda);

    // Judges one answer frame and takes its data (see the .cpp).
    bool ParseResponse(const QByteArray& frame);

private:
    struct ReadCommand {
        QByteArray command;
        std::int32_t threshold = -1;
    };
    // Raises a request's progress event with the text its target left.
    using Forward = std::function<void()>;

    void OnSerialEvent(int code);
    void OnIrdaEvent(int code);
    bool IrdaActive() const;
    // Sends a frame without dropping what stands received behind the block
    // just read (from the next STX on).
    void SendKeepingReceived(const QByteArray& frame, bool resetRetry = true);
    // One frame cut from what arrived, while a request waits.
    void ReceiveFrame(const QByteArray& frame, bool viaIrda);
    // A frame that failed: asked for again, up to Retry times.
    void AskAgainAfterBadFrame(bool viaIrda);
    // Logs bytes that no request takes (why: the note, when not that they
    // came outside a request).
    void DropReceived(const QByteArray& bytes, const QString& why = {});
    bool SerialLogOn() const { return m_serialFileNo >= 1; }
    // What a download sends to have its current block again: the request
    // until block 0 is taken, the NAK block after it. Neither moves the
    // instrument on. Outside a download: the frame sent last when it ends in
    // EOT, otherwise the NAK block.
    QByteArray AskAgainFrame() const;
    bool Downloading() const { return m_status == 3 && !m_blockEcho.isEmpty(); }
    // A download whose blocks cannot be followed any more ends here.
    void EndDisturbed();
    void WriteSerialLog(const QString& text);

    // One exchange: sets state, sends command, waits while the state holds.
    // True when the state ended at 6. takeUnplaced: see m_takeUnplaced (a
    // download only).
    bool Exchange(const QByteArray& command, int state, const Forward& forward, bool takeUnplaced = true);
    // Zero or span calibration: the execute command, then the check command
    // until result holds the instrument's two-character answer.
    bool Calibrate(const QByteArray& execute, const QByteArray& check, QString& result);
    void WaitWhile(int state, const Forward& forward);
    Forward InstForward(void (QvifPort::*signal)(const QString&));

    // The checks of an answer frame (from its STX): checksum, length, the
    // instrument's refusal, and during a download its echo.
    enum class AnswerCheck { Ok, Garbled, Refused, Foreign };
    AnswerCheck CheckAnswer(const QByteArray& frame);
    // Takes the data of a frame that passed the checks.
    bool ParseChecked(const QByteArray& frame);
    // ParseResponse's handlers; Answer is the checked, cut answer frame.
    struct Answer;
    bool Dispatch(const Answer& a);
    bool HandleSetPoints(const Answer& a);
    bool HandleGasTable(const Answer& a);
    bool HandleLatestCalibration(const Answer& a);
    bool HandleClock(const Answer& a);
    bool HandleLiveReadings(const Answer& a);
    bool HandleAirCoefficients(const Answer& a, bool replaceDisabled);
    bool HandleSpanValues(const Answer& a, bool replaceDisabled);
    bool HandleConnect(const Answer& a);
    bool HandleRecordBlock(const Answer& a);
    bool HandleDumpBlock(const Answer& a);
    bool FrameEchoOk(const Answer& a);
    bool ValueEcho(const Answer& a);
    clsInstrument& Inst() const;
    void AnswerTimeout();
    void PostOnConnect();

    void WriteDumpList();
    bool RomDump(const QString& path, const QByteArray& command, const QByteArray& title);
    template <class C>
    bool DownloadInto(C* target, const QByteArray& command, void (QvifPort::*signal)(const QString&));

    SerialTransport* m_serial = nullptr;
    std::unique_ptr<IrdaTransport> m_irda;
    QTimer* m_timer = nullptr;
    QTimer* m_denstTimer = nullptr;

    // Request and link state.
    std::int32_t m_status = 0;
    std::int32_t m_linkState = 0;
    QByteArray m_receiveBuffer;
    QByteArray m_lastFrame;
    int m_retryCount = 0;
    int m_retry = 3;
    int m_timeoutTicks = 30;
    int m_answerTicks = 0;
    std::int32_t m_tickCount = 0;
    int m_irdaPollTicks = 5;
    bool m_cancel = false;
    bool m_serialComm = false;
    bool m_enabled = true;
    int m_waitDepth = 0;

    // The download running in request state 3 (set by Exchange): the echo
    // its blocks carry (characters 6 to 10 of the request), the request
    // frame, and whether the collection found record lines left out. Empty
    // / false outside a download.
    QByteArray m_blockEcho;
    QByteArray m_downloadRequest;
    bool m_linesMissing = false;
    // What the download's blocks answer (fed by DataSend and ReceiveData).
    BlockExchange m_exchange;
    // Records are stored once by their number, or by date and kind, so a
    // record download takes a block the bytes cannot place; a dump list
    // fails instead.
    bool m_takeUnplaced = false;
    // The last download ended because its blocks could not be told apart.
    bool m_lineDisturbed = false;
    // The running download has taken its block 0.
    bool m_firstBlockTaken = false;

    // Bound objects (owned by the host).
    clsInstrument* m_instrument = nullptr;
    clsIntervals* m_intervals = nullptr;
    clsAlarms* m_alarms = nullptr;
    clsHistorys* m_history = nullptr;
    clsPowerEvents* m_powerEvents = nullptr;
    int m_historyGasIndex = 0;

    int m_serialFileNo = 0;
    int m_dumpListFileNo = 0;
    QString m_rcName;
    std::array<std::int32_t, 5> m_factCal{};
    QString m_zeroResult;
    QString m_spanResult;
    bool m_dataClearDone = false;
    std::array<ReadCommand, 26> m_readCommands;

    // Dump list download.
    QByteArray m_dumpPending;
    std::array<QByteArray, 16> m_dumpLines;
    std::array<std::int32_t, 16> m_dumpAddresses{};
    int m_dumpLineCount = 0;
    QIODevice* m_dumpFile = nullptr;
    QString m_dumpFileError;
};

#include "interface/uclQvif.h"

#include "common/appstate.h"
#include "common/clock.h"
#include "common/dates.h"
#include "interface/frame.h"
#include "interface/irda_transport.h"
#include "interface/messages.h"
#include "common/serial_log.h"
#include "interface/serial_transport.h"

#include <QTimer>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

constexpr int kTickMs = 100;

// The communication counters are 16-bit; a very long exchange stops them at
// their largest value instead of wrapping.
void Count(std::int16_t& counter)
{
    if (counter < std::numeric_limits<std::int16_t>::max())
        ++counter;
}

bool Waiting(std::int32_t status)
{
    return status == 3 || status == 4 || status == 5;
}

} // namespace

uclQvif::uclQvif(QObject* parent, std::unique_ptr<IrdaTransport> irda)
    : QvifPort(parent), m_serial(new SerialTransport(this)), m_irda(std::move(irda))
{
    if (!m_irda)
        m_irda = MakePlatformIrda();
    m_irda->setParent(nullptr);

    connect(m_serial, &SerialTransport::CommEvent, this, &uclQvif::OnSerialEvent);
    connect(m_serial, &SerialTransport::Note, this, &uclQvif::WriteSerialLog);
    connect(m_serial, &SerialTransport::Lost, this, [this](const QString& reason) {
        const QString device = m_serial->DeviceName();
        QMetaObject::invokeMethod(this, [this, device, reason] { emit PortLost(device, reason); },
                                  Qt::QueuedConnection);
    });
    connect(m_irda.get(), &IrdaTransport::IrdaEvent, this, &uclQvif::OnIrdaEvent);

    // Creation: both transports closed, the serial line at its defaults
    // (port 1, "19200,E,8,1", DTR on, RTS off, no handshaking).
    m_irda->SetOpen(false);
    m_irdaPollTicks = 5;
    m_lastFrame.clear();

    m_timer = new QTimer(this);
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(kTickMs);
    connect(m_timer, &QTimer::timeout, this, &uclQvif::Tick);
    m_timer->start();

    m_denstTimer = new QTimer(this);
    m_denstTimer->setObjectName(QStringLiteral("tmrDenst"));
    m_denstTimer->setInterval(1000);

    WriteSerialLog(QStringLiteral("startup")); // logging is still off here

    static const char* const kReadCommands[25] = {
        "VP,R,", "HB,R,", "HA,R,", "XZ,R,", "XS,R,", "IN,R,", "HN,R,", "HC,R,", "UJ,R,",
        "GJ,R,", "A1,R,", "A2,R,", "AS,R,", "AW,R,", "UV,R,", "AP,R,", "AT,R,", "AU,R,",
        "AV,R,", "XT,R,", "AL,R,", "SZ,R,", "S1,R,", "WD,R,", "WT,R,"};
    for (int i = 0; i < 25; ++i)
        m_readCommands[i] = ReadCommand{QByteArray(kReadCommands[i]), -1};
    m_readCommands[25] = ReadCommand{QByteArray(), -1};
}

uclQvif::~uclQvif()
{
    m_timer->stop();
    m_denstTimer->stop();
    disconnect(m_serial, nullptr, this, nullptr);
    disconnect(m_irda.get(), nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------
// Serial log

void uclQvif::WriteSerialLog(const QString& text)
{
    if (m_serialFileNo < 1)
        return;
    AppendSerialLogLine(SerialLogPath(), Now(), text);
}

void uclQvif::AddLog(const QString& text)
{
    WriteSerialLog(text);
}

// ---------------------------------------------------------------------------
// Simple properties

int uclQvif::Timeout() const
{
    return m_timeoutTicks / 10;
}

void uclQvif::SetTimeout(int seconds)
{
    if (seconds == 0)
        seconds = 3;
    m_timeoutTicks = qBound(1, seconds, 3276) * 10;
}

void uclQvif::SetRetry(int count)
{
    m_retry = count <= 0 ? 3 : qMin(count, 32767);
}

void uclQvif::SetAlarmsRef(clsAlarms* alarms)
{
    if (alarms)
        m_alarms = alarms;
}

void uclQvif::SetHistoryRef(clsHistorys* history)
{
    if (history)
        m_history = history;
}

void uclQvif::SetInstrumentRef(clsInstrument* instrument)
{
    if (instrument)
        m_instrument = instrument;
}

void uclQvif::SetIntervalsRef(clsIntervals* intervals)
{
    if (intervals)
        m_intervals = intervals;
}

bool uclQvif::IrdaActive() const
{
    return !m_serialComm && m_irda->IsConnected();
}

int uclQvif::CommPort() const
{
    return IrdaActive() ? m_irda->PortNumber() : m_serial->PortNumber();
}

void uclQvif::SetCommPort(int port)
{
    m_serial->SetPortNumber(port);
}

QString uclQvif::DevicePath() const
{
    return m_serial->DevicePath();
}

void uclQvif::SetDevicePath(const QString& path)
{
    m_serial->SetDevicePath(path);
}

bool uclQvif::PortOpen() const
{
    return IrdaActive() ? m_irda->IsOpen() : m_serial->IsOpen();
}

void uclQvif::SetPortOpen(bool open)
{
    if (IrdaActive()) {
        m_irda->SetOpen(open);
        return;
    }
    // A port that cannot be opened or closed keeps its state; the caller
    // reads PortOpen back.
    if (open)
        m_serial->Open();
    else
        m_serial->Close();
}

bool uclQvif::DTREnable() const
{
    return IrdaActive() ? m_irda->Dtr() : m_serial->Dtr();
}

void uclQvif::SetDTREnable(bool enable)
{
    if (IrdaActive())
        m_irda->SetDtr(enable);
    else
        m_serial->SetDtr(enable);
}

bool uclQvif::RTSEnable() const
{
    return IrdaActive() ? m_irda->Rts() : m_serial->Rts();
}

void uclQvif::SetRTSEnable(bool enable)
{
    if (IrdaActive())
        m_irda->SetRts(enable);
    else
        m_serial->SetRts(enable);
}

int uclQvif::Handshaking() const
{
    return IrdaActive() ? m_irda->Handshaking() : m_serial->Handshaking();
}

void uclQvif::SetHandshaking(int mode)
{
    if (IrdaActive())
        m_irda->SetHandshaking(mode);
    else
        m_serial->SetHandshaking(mode);
}

QString uclQvif::Settings() const
{
    return IrdaActive() ? m_irda->Settings() : m_serial->Settings();
}

void uclQvif::SetSettings(const QString& settings)
{
    if (IrdaActive())
        m_irda->SetSettings(settings);
    else
        m_serial->SetSettings(settings);
}

std::int32_t uclQvif::FactCal(int index) const
{
    if (index < 0 || index > 4)
        throw std::out_of_range("FactCal index outside 0..4");
    return m_factCal[static_cast<size_t>(index)];
}

void uclQvif::SetFactCal(int index, std::int32_t value)
{
    if (index < 0 || index > 4)
        throw std::out_of_range("FactCal index outside 0..4");
    m_factCal[static_cast<size_t>(index)] = value;
}

bool uclQvif::SpanStatus(int index) const
{
    if (index < 0 || index > 1 || m_spanResult.size() != 2)
        return false;
    return m_spanResult.at(index) == QLatin1Char('0');
}

bool uclQvif::ZeroStatus(int index) const
{
    if (index < 0 || index > 1 || m_zeroResult.size() != 2)
        return false;
    return m_zeroResult.at(index) == QLatin1Char('0');
}

bool uclQvif::TimerEnabled() const
{
    return m_timer->isActive();
}

void uclQvif::SetTimerEnabled(bool enabled)
{
    if (enabled)
        m_timer->start();
    else
        m_timer->stop();
}

void uclQvif::SetTickInterval(int ms)
{
    m_timer->setInterval(qMax(1, ms));
}

bool uclQvif::DisConnect()
{
    m_status = 2;
    m_tickCount = 0;
    return false;
}

// ---------------------------------------------------------------------------
// Sending

void uclQvif::DataSend(const QByteArray& frame, bool resetRetry)
{
    if (!m_receiveBuffer.isEmpty())
        DropReceived(std::exchange(m_receiveBuffer, {}), QStringLiteral("<<< No block: dropped before sending >>>"));
    if (IrdaActive()) {
        m_irda->Write(frame);
    } else if (!m_serial->Write(frame)) {
        m_status = 7;
        return;
    }
    emit StsTransmit();
    App().AnswerReceived = false;
    m_lastFrame = frame;
    if (Downloading()) {
        // An ACK or NAK block ends its text in ACK or NAK, before ETX.
        const qsizetype etx = frame.lastIndexOf(Wire::ETX);
        if (frame == m_downloadRequest)
            m_exchange.Sent(BlockExchange::Ask::Request);
        else if (etx > 0 && frame.at(etx - 1) == Wire::ACK)
            m_exchange.Sent(BlockExchange::Ask::Ack);
        else
            m_exchange.Sent(BlockExchange::Ask::Nak);
    }
    m_answerTicks = m_timeoutTicks;
    if (resetRetry)
        m_retryCount = 0;
    if (SerialLogOn())
        WriteSerialLog(Msg(5552, FormatControlChars(frame)));
    if (frame.contains(Wire::NAK))
        Count(App().NaksSent);
    else
        Count(App().FramesSent);
}

void uclQvif::PostOnConnect()
{
    QMetaObject::invokeMethod(this, [this] { emit OnConnect(); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------
// Receiving

void uclQvif::DropReceived(const QByteArray& bytes, const QString& why)
{
    if (bytes.isEmpty() || !SerialLogOn())
        return;
    WriteSerialLog(Msg(5549, FormatControlChars(bytes)));
    AddLog(why.isEmpty() ? QStringLiteral("<<< Not part of a request: dropped >>>") : why);
}

void uclQvif::ReceiveData(const QByteArray& data, bool viaIrda)
{
    emit StsTransmit();
    if (!Waiting(m_status)) {
        // A request has one end: what comes after it, up to the next request,
        // is neither parsed nor answered, and changes no state.
        DropReceived(data);
        return;
    }
    App().AnswerReceived = true;
    m_receiveBuffer.append(data);
    if (m_cancel) {
        m_status = 8;
        DropReceived(std::exchange(m_receiveBuffer, {}));
        return;
    }
    while (Waiting(m_status)) {
        std::optional<LinePiece> piece = CutPiece(m_receiveBuffer);
        if (!piece)
            break;
        if (piece->kind == LinePiece::Kind::Noise) {
            // Bytes outside a frame are no block of any kind: a block that
            // lost its framing is a block lost on the way.
            if (SerialLogOn()) {
                WriteSerialLog(Msg(5549, FormatControlChars(piece->bytes)));
                AddLog(QStringLiteral("<<< Noise >>>"));
            }
            continue;
        }
        if (piece->kind == LinePiece::Kind::Cr) {
            // A bare CR: the instrument did not take the frame sent last.
            if (SerialLogOn())
                WriteSerialLog(Msg(5549, FormatControlChars(piece->bytes)));
            if (m_retryCount >= m_retry) {
                m_status = 7;
                break;
            }
            ++m_retryCount;
            if (m_retryCount > 1) {
                const int count = m_retryCount;
                QMetaObject::invokeMethod(this, [this, count] { emit ConnectRetry(count); },
                                          Qt::QueuedConnection);
            }
            if (Downloading()) {
                // A download asks again without moving the instrument on: an
                // ACK block sent twice could make it skip a block.
                m_exchange.Refused();
                DataSend(AskAgainFrame(), false);
            } else {
                DataSend(m_lastFrame, false);
            }
            break;
        }
        if (SerialLogOn())
            WriteSerialLog(Msg(5549, FormatControlChars(piece->bytes)));
        ReceiveFrame(piece->bytes, viaIrda);
    }
    if (!Waiting(m_status) && !m_receiveBuffer.isEmpty())
        DropReceived(std::exchange(m_receiveBuffer, {}));
}

void uclQvif::ReceiveFrame(const QByteArray& frame, bool viaIrda)
{
    if (!Downloading()) {
        if (ParseResponse(frame)) {
            if (frame.back() == Wire::ETB)
                SendKeepingReceived(AckBlock(m_lastFrame));
            else
                m_status = 6;
            return;
        }
        AskAgainAfterBadFrame(viaIrda);
        return;
    }

    // A download: the frame checks first, then what the block answers
    // decides what it is, not its bytes alone (an erased region of memory
    // goes out as equal blocks), and only then are its data read.
    switch (CheckAnswer(frame)) {
    case AnswerCheck::Garbled:
        m_exchange.Garbled();
        AskAgainAfterBadFrame(viaIrda);
        return;
    case AnswerCheck::Refused:
        m_exchange.Refused();
        AskAgainAfterBadFrame(viaIrda);
        return;
    case AnswerCheck::Foreign:
        m_exchange.Foreign();
        AskAgainAfterBadFrame(viaIrda);
        return;
    case AnswerCheck::Ok:
        break;
    }

    // A history block's header starts with the gas it answers for, which
    // numbers no block.
    const bool history = m_blockEcho.startsWith("IH");
    const BlockExchange::Judgement judged
        = m_exchange.Judge(frame, history ? std::nullopt : BlockHeaderNumber(frame));
    switch (judged.Verdict()) {
    case BlockExchange::Verdict::Lost:
        m_exchange.Decline(judged);
        EndDisturbed();
        return;
    case BlockExchange::Verdict::Stale:
        // A block of an earlier request that was still on its way: nothing
        // of it is taken, and this request's answer may still come.
        m_exchange.Decline(judged);
        AddLog(QStringLiteral("<<< Block of an earlier request >>>"));
        return;
    case BlockExchange::Verdict::MayBeStale:
        // Never taken on a guess: the request is asked again until the line
        // tells. Each such block uses up a frame that could still have been
        // answered, so this ends.
        m_exchange.Decline(judged);
        AddLog(QStringLiteral("<<< Block may be of an earlier request >>>"));
        SendKeepingReceived(AskAgainFrame(), false);
        return;
    case BlockExchange::Verdict::Repeat:
        m_exchange.Accept(judged);
        AddLog(QStringLiteral("<<< Repeated block >>>"));
        if (judged.Ack())
            SendKeepingReceived(AckBlock(m_downloadRequest));
        return;
    case BlockExchange::Verdict::CannotTell:
        if (!m_takeUnplaced) {
            m_exchange.Decline(judged);
            EndDisturbed();
            return;
        }
        break;
    case BlockExchange::Verdict::Take:
        break;
    }

    if (ParseChecked(frame)) {
        m_exchange.Accept(judged);
        m_firstBlockTaken = true;
        if (frame.back() == Wire::EOT)
            m_status = 6;
        else if (judged.Ack())
            SendKeepingReceived(AckBlock(m_downloadRequest));
        // Otherwise an ACK block could be one too many: the time-out asks
        // for the block again, which tells more.
        return;
    }
    m_exchange.Decline(judged);
    if (m_linesMissing) {
        // The instrument left record lines out: asking again cannot bring
        // them back, and a trend with a gap would be stored shifted in time.
        // The download fails at once.
        m_status = 7;
        return;
    }
    AskAgainAfterBadFrame(viaIrda);
}

void uclQvif::AskAgainAfterBadFrame(bool viaIrda)
{
    if (m_retryCount >= m_retry) {
        m_status = 7;
        return;
    }
    ++m_retryCount;
    if (m_status == 4 || m_status == 5) {
        DataSend(m_lastFrame, false);
        return;
    }
    if (Downloading() && !m_firstBlockTaken) {
        // Until block 0 is taken, only the request itself asks for it: a NAK
        // block could bring back a block of an earlier request.
        DataSend(AskAgainFrame(), false);
        return;
    }
    // A download's ACK and NAK blocks carry the echo of its request,
    // whatever was sent last (a time-out NAK block carries a short one).
    const QByteArray& echoSource = Downloading() ? m_downloadRequest : m_lastFrame;
    const char terminator = viaIrda ? Wire::ETB : (m_lastFrame.isEmpty() ? Wire::EOT : m_lastFrame.back());
    DataSend(NakBlock(echoSource, true, terminator), false);
}

void uclQvif::EndDisturbed()
{
    AddLog(QStringLiteral("<<< Blocks cannot be told apart >>>"));
    m_lineDisturbed = true;
    m_status = 7;
}

QByteArray uclQvif::AskAgainFrame() const
{
    if (Downloading() && !m_firstBlockTaken)
        return m_downloadRequest;
    if (!m_lastFrame.isEmpty() && m_lastFrame.back() == Wire::EOT && !Downloading())
        return m_lastFrame;
    return NakBlock(m_lastFrame, false, Wire::ETB);
}

void uclQvif::SendKeepingReceived(const QByteArray& frame, bool resetRetry)
{
    // A block that has already arrived behind the one just read (from its
    // STX on) is read next; a send would otherwise throw it away.
    const qsizetype stx = m_receiveBuffer.indexOf(Wire::STX);
    QByteArray rest;
    if (stx >= 0) {
        rest = m_receiveBuffer.mid(stx);
        m_receiveBuffer.truncate(stx);
    }
    const std::int32_t status = m_status;
    DataSend(frame, resetRetry);
    if (m_status == 7 && status != 7)
        return; // the write failed: the exchange has ended
    m_receiveBuffer = rest + m_receiveBuffer;
}

void uclQvif::OnSerialEvent(int code)
{
    if (!m_serial->IsOpen())
        return;
    try {
        const QString now = GeneralDate(Now());
        switch (code) {
        case SerialTransport::DataReceived:
            ReceiveData(m_serial->ReadAll(), false);
            break;
        case SerialTransport::CtsChanged:
        case SerialTransport::DsrChanged: {
            const int lines = m_serial->ModemStatus();
            if ((lines & (SerialTransport::kCts | SerialTransport::kDsr)) == 0) {
                // The line went away. A request still waiting has failed: it
                // must not end as done with half its data.
                m_linkState = 0;
                m_status = Waiting(m_status) ? 7 : 6;
                m_retryCount = 0;
                QMetaObject::invokeMethod(this, [this] { emit OnDisconnect(); }, Qt::QueuedConnection);
            } else if (m_linkState == 0) {
                // Only a new line starts a probe; a running exchange or probe
                // is left alone.
                m_linkState = 2;
                m_retryCount = 0;
            }
            break;
        }
        case SerialTransport::BreakSignal:
            WriteSerialLog(Msg(5542, now));
            break;
        case SerialTransport::FramingError:
            WriteSerialLog(Msg(5543, now));
            m_status = 7;
            break;
        case SerialTransport::Overrun:
            WriteSerialLog(Msg(5544, now));
            m_status = 7;
            break;
        case SerialTransport::ReceiveOverflow:
            WriteSerialLog(Msg(5545, now));
            m_status = 7;
            break;
        case SerialTransport::ParityError:
            WriteSerialLog(Msg(5546, now));
            m_status = 7;
            break;
        case SerialTransport::SendBufferFull:
            if (m_linkState == 2)
                break;
            WriteSerialLog(Msg(5547, now));
            m_status = Waiting(m_status) ? 7 : 6;
            break;
        case SerialTransport::DeviceControlError:
            WriteSerialLog(Msg(5548, now));
            m_status = Waiting(m_status) ? 7 : 6;
            break;
        default:
            break;
        }
        emit StsIdle();
    } catch (...) {
        WriteSerialLog(QStringLiteral("<<< system error >>> %1").arg(code));
    }
}

void uclQvif::OnIrdaEvent(int code)
{
    const QString now = GeneralDate(Now());
    if (code == IrdaTransport::DataReceived) {
        ReceiveData(m_irda->ReadAll(), true);
        return;
    }
    if (code == IrdaTransport::DeviceFound) {
        if (m_linkState != 0)
            return;
        const QString name = m_irda->RemoteName();
        bool known = name.isEmpty();
        for (int n = 5; n >= 1 && !known; --n)
            known = name.contains(QStringLiteral("KV-%1").arg(n));
        if (!known)
            return;
        WriteSerialLog(Msg(5550, now));
        m_receiveBuffer.clear();
        if (name.isEmpty() || App().ServiceMode) {
            m_linkState = 3;
            m_rcName.clear();
            m_cancel = false; // a new connection starts
            PostOnConnect();
        } else {
            m_linkState = 2;
            m_retryCount = 0;
        }
        // IrCOMM: the infrared link may appear as a serial port instead.
        if (!m_irda->IsConnected() && !m_serial->IsOpen()) {
            m_serial->SetSettings(QStringLiteral("19200,E,8,1"));
            m_serial->SetPortNumber(App().CommPort);
            m_serial->SetDevicePath(App().CommDevice);
            m_serial->ClearOutput();
            m_serial->Open();
        }
        return;
    }
    m_status = 7;
    const int error = m_irda->LastError();
    if (code == IrdaTransport::SocketError) {
        WriteSerialLog(QStringLiteral("Soket Error[%1](%2)").arg(now).arg(error));
        emit IrDAError(error);
    } else {
        WriteSerialLog(QStringLiteral("IrDA Error[%1][%2] (%3)").arg(now).arg(code).arg(error));
    }
}

// ---------------------------------------------------------------------------
// The 100 ms tick

void uclQvif::AnswerTimeout()
{
    if (m_answerTicks > 0) {
        --m_answerTicks;
        return;
    }
    if (m_retryCount >= m_retry) {
        if (m_status == 8) {
            m_status = 2;
        } else if (m_status != 6 && m_status != 2) {
            m_status = 7;
            App().AnswerReceived = false;
        }
        return;
    }
    ++m_retryCount;
    if (m_status == 3) {
        DataSend(AskAgainFrame(), false);
    } else if (m_status == 4 || m_status == 5) {
        DataSend(m_lastFrame, false);
    }
}

void uclQvif::Tick()
{
    // Modem lines first, so a change is acted on in this tick.
    m_serial->Poll();

    ++m_tickCount;
    const int link = m_linkState;
    const bool requestWaits = m_waitDepth > 0 && Waiting(m_status);

    if (requestWaits && link != 3) {
        // A request waiting without a connection: the connect probe keeps
        // out of its way, and it ends by cancel or by the time-out rule.
        if (m_cancel)
            m_status = 8;
        else
            AnswerTimeout();
    } else {
        if (link == 2) {
            if (m_status != 4) {
                WriteSerialLog(Msg(5512));
                if (m_retryCount >= m_retry) {
                    m_status = 0;
                    m_linkState = 0;
                    const QString text = Msg(5405);
                    QMetaObject::invokeMethod(this, [this, text] { emit AlarmMessage(text); },
                                              Qt::QueuedConnection);
                    m_tickCount = 0;
                } else {
                    if (m_retryCount == 0)
                        m_cancel = false; // a new connection starts
                    ++m_retryCount;
                    if (m_retryCount > 1 && m_retryCount % 5 == 0) {
                        const int count = m_retryCount / 5;
                        QMetaObject::invokeMethod(this, [this, count] { emit ConnectRetry(count); },
                                                  Qt::QueuedConnection);
                    }
                    m_status = 4;
                    DataSend(BuildFrame("RC,R,", Wire::EOT), false);
                    m_tickCount = 0;
                }
            } else if (m_tickCount > 10) {
                m_status = 0;
                if (!m_irda->IsConnected()) {
                    m_serial->Close();
                    m_linkState = 4;
                }
                m_tickCount = 0;
            }
        }
        if (link == 4) {
            if (!m_serial->IsOpen())
                m_serial->Open();
            m_status = 0;
            m_linkState = 2;
            m_tickCount = 0;
        }
        if (link == 3)
            AnswerTimeout();
    }

    if (m_irdaPollTicks > 0) {
        --m_irdaPollTicks;
    } else {
        m_irda->Poll();
        m_irdaPollTicks = 5;
    }
}


#include "fake_qvif.h"

#include "common/appstate.h"

#include <QMetaObject>
#include <stdexcept>

namespace {
QString B(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
}

int FakeQvif::Pending(const QString& method) const
{
    if (!method.isEmpty())
        return m_script.value(method).size();
    int n = 0;
    for (const auto& q : m_script)
        n += q.size();
    return n;
}

QStringList FakeQvif::CallsStartingWith(const QString& prefix) const
{
    QStringList out;
    for (const QString& c : calls)
        if (c.startsWith(prefix))
            out << c;
    return out;
}

void FakeQvif::RaiseOnConnect()
{
    QMetaObject::invokeMethod(this, [this] { emit OnConnect(); }, Qt::QueuedConnection);
}

void FakeQvif::RaiseOnDisconnect()
{
    QMetaObject::invokeMethod(this, [this] { emit OnDisconnect(); }, Qt::QueuedConnection);
}

bool FakeQvif::Run(const QString& method, MessageSignal signal, const QString& callText)
{
    calls << (callText.isEmpty() ? method : callText);
    lineDisturbed = false;
    QList<Step>& queue = m_script[method];
    if (queue.isEmpty()) {
        status = 7;
        return false;
    }
    Step step = queue.takeFirst();
    for (const QString& m : step.messages)
        if (signal)
            emit(this->*signal)(m);
    if (step.action)
        step.action();
    status = step.status.value_or(step.result ? 6 : 7);
    AppState& app = App();
    if (step.answerReceived)
        app.AnswerReceived = *step.answerReceived;
    if (step.framesSent)
        app.FramesSent = *step.framesSent;
    if (step.naksSent)
        app.NaksSent = *step.naksSent;
    if (step.checksumErrors)
        app.ChecksumErrors = *step.checksumErrors;
    return step.result;
}

void FakeQvif::AddLog(const QString& text)
{
    calls << QStringLiteral("AddLog");
    if (serialFileNo >= 1)
        serialLog << text;
}

void FakeQvif::SetTimeout(int seconds) { timeout = seconds; calls << QStringLiteral("SetTimeout(%1)").arg(seconds); }
void FakeQvif::SetRetry(int count) { retry = count; calls << QStringLiteral("SetRetry(%1)").arg(count); }
void FakeQvif::SetAlarmsRef(clsAlarms* a) { if (a) alarmsRef = a; calls << QStringLiteral("SetAlarmsRef"); }
void FakeQvif::SetCancel(bool c) { cancel = c; calls << QStringLiteral("SetCancel(%1)").arg(B(c)); }
void FakeQvif::SetDumpListFileNo(int n) { dumpListFileNo = n; calls << QStringLiteral("SetDumpListFileNo(%1)").arg(n); }
void FakeQvif::SetEnabled(bool e) { enabled = e; calls << QStringLiteral("SetEnabled(%1)").arg(B(e)); }
void FakeQvif::SetCommPort(int p) { commPort = p; calls << QStringLiteral("SetCommPort(%1)").arg(p); }
void FakeQvif::SetDevicePath(const QString& p) { devicePath = p; calls << QStringLiteral("SetDevicePath(%1)").arg(p); }
void FakeQvif::SetSerialComm(bool s) { serialComm = s; calls << QStringLiteral("SetSerialComm(%1)").arg(B(s)); }

void FakeQvif::SetPortOpen(bool open)
{
    calls << QStringLiteral("SetPortOpen(%1)").arg(B(open));
    portOpen = open && (serialComm ? serialOpens : irdaOpens);
}

void FakeQvif::SetDTREnable(bool e) { dtr = e; calls << QStringLiteral("SetDTREnable(%1)").arg(B(e)); }
void FakeQvif::SetHandshaking(int m) { handshaking = m; calls << QStringLiteral("SetHandshaking(%1)").arg(m); }

std::int32_t FakeQvif::FactCal(int index) const
{
    if (index < 0 || index > 4)
        throw std::out_of_range("FactCal index");
    return factCal[index];
}

void FakeQvif::SetFactCal(int index, std::int32_t value)
{
    if (index < 0 || index > 4)
        throw std::out_of_range("FactCal index");
    factCal[index] = value;
    calls << QStringLiteral("SetFactCal(%1,%2)").arg(index).arg(value);
}

bool FakeQvif::GetRomDump(const QString& path)
{
    lastPath = path;
    dumpFileError.clear();
    return Run(QStringLiteral("GetRomDump"), &QvifPort::DumpMessage);
}

bool FakeQvif::GetRomDump2(const QString& path)
{
    lastPath = path;
    dumpFileError.clear();
    return Run(QStringLiteral("GetRomDump2"), &QvifPort::DumpMessage);
}

void FakeQvif::SetHistoryRef(clsHistorys* h) { if (h) historyRef = h; calls << QStringLiteral("SetHistoryRef"); }
void FakeQvif::SetInstrumentRef(clsInstrument* i) { if (i) instrumentRef = i; calls << QStringLiteral("SetInstrumentRef"); }
void FakeQvif::SetIntervalsRef(clsIntervals* i) { if (i) intervalsRef = i; calls << QStringLiteral("SetIntervalsRef"); }

bool FakeQvif::SetDateTime(const QDateTime& dateTime)
{
    lastDateTime = dateTime;
    return Run(QStringLiteral("SetDateTime"), &QvifPort::InstMessage);
}

bool FakeQvif::SetInitValue(clsInstrument* instrument)
{
    lastInstrument = instrument;
    return Run(QStringLiteral("SetInitValue"), &QvifPort::InstMessage);
}

void FakeQvif::SetRTSEnable(bool e) { rts = e; calls << QStringLiteral("SetRTSEnable(%1)").arg(B(e)); }
void FakeQvif::SetSerialFileNo(int n) { serialFileNo = n; calls << QStringLiteral("SetSerialFileNo(%1)").arg(n); }
void FakeQvif::SetSettings(const QString& s) { settings = s; calls << QStringLiteral("SetSettings(%1)").arg(s); }

bool FakeQvif::GetInstrument(clsInstrument* instrument)
{
    lastInstrument = instrument;
    return Run(QStringLiteral("GetInstrument"), &QvifPort::InstMessage);
}

bool FakeQvif::SetInstrument(clsInstrument* instrument)
{
    lastInstrument = instrument;
    return Run(QStringLiteral("SetInstrument"), &QvifPort::InstMessage);
}

bool FakeQvif::GetInterval(clsIntervals* intervals)
{
    lastIntervals = intervals;
    return Run(QStringLiteral("GetInterval"), &QvifPort::InterMessage);
}

bool FakeQvif::GetHistory(clsHistorys* histories)
{
    lastHistorys = histories;
    return Run(QStringLiteral("GetHistory"), &QvifPort::InterMessage);
}

bool FakeQvif::GetLatestHistory(clsInstrument* instrument)
{
    lastInstrument = instrument;
    return Run(QStringLiteral("GetLatestHistory"), &QvifPort::InterMessage);
}

bool FakeQvif::GetAlarm(clsAlarms* alarms)
{
    lastAlarms = alarms;
    return Run(QStringLiteral("GetAlarm"), &QvifPort::AlarmMessage);
}

bool FakeQvif::GetPowerEvent(clsPowerEvents* events)
{
    lastPowerEvents = events;
    return Run(QStringLiteral("GetPowerEvent"), &QvifPort::AlarmMessage);
}

bool FakeQvif::DisConnect()
{
    calls << QStringLiteral("DisConnect");
    status = 2;
    return false;
}

void FakeQvif::SetTimerEnabled(bool e) { timerEnabled = e; calls << QStringLiteral("SetTimerEnabled(%1)").arg(B(e)); }

bool FakeQvif::SpanCal(const QString& gasFlags)
{
    lastGasFlags = gasFlags;
    return Run(QStringLiteral("SpanCal"), &QvifPort::InstMessage);
}

void FakeQvif::SetStatus(std::int32_t s) { status = s; calls << QStringLiteral("SetStatus(%1)").arg(s); }

void FakeQvif::DataSend(const QByteArray& frame, bool resetRetry)
{
    calls << QStringLiteral("DataSend(%1,%2)").arg(QString::fromLatin1(frame.toHex()), B(resetRetry));
}

void FakeQvif::SetRunDensty(bool run) { runDensty = run; calls << QStringLiteral("SetRunDensty(%1)").arg(B(run)); }

bool FakeQvif::ZeroCal(const QString& gasFlags)
{
    lastGasFlags = gasFlags;
    return Run(QStringLiteral("ZeroCal"), &QvifPort::InstMessage);
}

bool FakeQvif::SZX(std::int16_t c1, std::int16_t c2, std::int16_t c3)
{
    return Run(QStringLiteral("SZX"), &QvifPort::InstMessage, QStringLiteral("SZX(%1,%2,%3)").arg(c1).arg(c2).arg(c3));
}

bool FakeQvif::S1X(std::int16_t c1, std::int16_t c2)
{
    return Run(QStringLiteral("S1X"), &QvifPort::InstMessage, QStringLiteral("S1X(%1,%2)").arg(c1).arg(c2));
}

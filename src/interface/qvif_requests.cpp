// The request methods: each sets the request state, sends, and waits in a
// loop that yields to the event loop until the receive handler or the tick
// has moved the state to 6 (done), 7 (failed) or 8 (cancelled).
#include "interface/uclQvif.h"

#include "common/clock.h"
#include "common/dates.h"
#include "common/file_write.h"
#include "common/resstrings.h"
#include "common/system_error.h"
#include "interface/frame.h"
#include "interface/messages.h"
#include "records/collections.h"
#include "records/instrument.h"

#include <QCoreApplication>
#include <QIODevice>

void uclQvif::WaitWhile(int state, const Forward& forward)
{
    ++m_waitDepth;
    while (m_status == state) {
        if (forward)
            forward();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    --m_waitDepth;
}

bool uclQvif::Exchange(const QByteArray& command, int state, const Forward& forward, bool takeUnplaced)
{
    const QByteArray frame = BuildFrame(command, Wire::EOT);
    // A request has one start: what arrived before it is no answer to it.
    DropReceived(std::exchange(m_receiveBuffer, {}));
    // A download's blocks are judged against its request (see ReceiveData).
    m_downloadRequest = state == 3 ? frame : QByteArray();
    m_blockEcho = state == 3 ? command.left(5) : QByteArray();
    m_linesMissing = false;
    m_lineDisturbed = false;
    m_firstBlockTaken = false;
    m_takeUnplaced = takeUnplaced;
    if (state == 3)
        m_exchange.Start(m_blockEcho);
    m_status = state;
    DataSend(frame, true);
    WaitWhile(state, forward);
    m_downloadRequest.clear();
    m_blockEcho.clear();
    m_linesMissing = false;
    return m_status == 6;
}

namespace {

// Raises signal with the progress text target left, then empties it.
template <class C>
std::function<void()> MessageForward(QvifPort* port, void (QvifPort::*signal)(const QString&), C* target)
{
    return [port, signal, target] {
        if (!target || target->MessageString().isEmpty())
            return;
        const QString text = target->MessageString();
        emit(port->*signal)(text);
        target->SetMessageString(QString());
    };
}

} // namespace

uclQvif::Forward uclQvif::InstForward(void (QvifPort::*signal)(const QString&))
{
    return MessageForward(this, signal, m_instrument);
}

bool uclQvif::GetInstrument(clsInstrument* instrument)
{
    if (!instrument)
        return false;
    m_cancel = false;
    bool ok = true;
    m_instrument = instrument;
    instrument->ClearDatas();
    instrument->SetFailLine(QString());
    const Forward forward = InstForward(&QvifPort::InstMessage);
    for (const ReadCommand& slot : m_readCommands) {
        if (slot.command.isEmpty() || !ok)
            continue;
        // The ROM number read by the first slot gates the later ones.
        if (instrument->RomNumber() > slot.threshold && !Exchange(slot.command, 4, forward))
            ok = false;
    }
    return ok;
}

// ---------------------------------------------------------------------------
// Log downloads

template <class C>
bool uclQvif::DownloadInto(C* target, const QByteArray& command, void (QvifPort::*signal)(const QString&))
{
    target->Clear();
    target->SetFailLine(QString());
    m_cancel = false;
    if (Exchange(command, 3, MessageForward(this, signal, target)))
        return true;
    m_status = 2;
    return false;
}

bool uclQvif::GetInterval(clsIntervals* intervals)
{
    if (!intervals)
        return false;
    m_intervals = intervals;
    return DownloadInto(intervals, "DR,R,", &QvifPort::InterMessage);
}

bool uclQvif::GetAlarm(clsAlarms* alarms)
{
    if (!alarms)
        return false;
    m_alarms = alarms;
    return DownloadInto(alarms, "DJ,R,", &QvifPort::AlarmMessage);
}

bool uclQvif::GetPowerEvent(clsPowerEvents* events)
{
    if (!events)
        return false;
    m_powerEvents = events;
    return DownloadInto(events, "DO,R,", &QvifPort::AlarmMessage);
}

bool uclQvif::GetHistory(clsHistorys* histories)
{
    SetHistoryRef(histories);
    if (histories)
        histories->Clear();
    bool result = true;
    // Both gases are asked for, whatever happened to the first.
    for (int gas = 0; gas < 2; ++gas) {
        m_historyGasIndex = gas;
        if (!histories) {
            result = false;
            continue;
        }
        m_cancel = false;
        const QByteArray command = "IH,R," + QByteArray::number(gas + 1) + ",";
        if (!Exchange(command, 3, MessageForward(this, &QvifPort::InterMessage, histories))) {
            m_status = 2;
            result = false;
        }
    }
    return result;
}

bool uclQvif::GetLatestHistory(clsInstrument* instrument)
{
    SetInstrumentRef(instrument);
    if (!instrument)
        return false;
    if (Exchange("SO,R,", 4, InstForward(&QvifPort::InterMessage)))
        return true;
    m_status = 2;
    return false;
}

// ---------------------------------------------------------------------------
// Dump lists

namespace {

QByteArray Hex6(qint64 value)
{
    return HexText(static_cast<quint32>(value), 6);
}

// Columns 8 to 74 of a data line: 16 bytes as hex (an extra blank after the
// eighth), two blanks, the bytes as characters ("." outside 32..126).
QByteArray FormatDumpLine(const QByteArray& line)
{
    QByteArray text;
    text.reserve(16 * 3 + 1 + 2 + 16);
    char ascii[16];
    for (int i = 0; i < 16; ++i) {
        const int hi = 2 * i < line.size() ? HexDigit(line.at(2 * i)) : -1;
        const int lo = 2 * i + 1 < line.size() ? HexDigit(line.at(2 * i + 1)) : -1;
        const int value = hi >= 0 && lo >= 0 ? hi * 16 + lo : 0xFF;
        text += HexChar(value >> 4);
        text += HexChar(value);
        text += ' ';
        if (i == 7)
            text += ' ';
        ascii[i] = (value >= 32 && value <= 126) ? static_cast<char>(value) : '.';
    }
    text += "  ";
    text.append(ascii, 16);
    return text;
}

void WriteLine(QIODevice* file, const QByteArray& line)
{
    if (file)
        file->write(line + "\r\n");
}

} // namespace

void uclQvif::WriteDumpList()
{
    WriteLine(m_dumpFile, "Adrs   +0 +1 +2 +3 +4 +5 +6 +7  +8 +9 +A +B +C +D +E +F   List Of ASCII   ");
    WriteLine(m_dumpFile, QByteArray(74, '-'));
    for (int i = 0; i < 16; ++i)
        WriteLine(m_dumpFile, Hex6(m_dumpAddresses[i]) + ' ' + FormatDumpLine(m_dumpLines[i]));
    WriteLine(m_dumpFile, QByteArray());
    emit DumpMessage(QStringLiteral("Get Dump %1-%2")
                         .arg(QString::fromLatin1(Hex6(m_dumpAddresses[0])),
                              QString::fromLatin1(Hex6(qint64(m_dumpAddresses[15]) + 15))));
}

bool uclQvif::RomDump(const QString& path, const QByteArray& command, const QByteArray& title)
{
    const QDateTime started = Now();
    WriteSerialLog(Msg(5569, GeneralDate(started)));
    m_dumpFileError.clear();
    // The listing goes to a temporary file that replaces the old one only
    // when it is complete and has reached the disk.
    WholeFileWriter listing(path);
    QString openError;
    if (!listing.Open(&openError)) {
        // Nothing is asked of the instrument for a list that cannot be kept.
        m_dumpFileError = GetResString(5960, path, SystemErrorText(openError));
        WriteSerialLog(m_dumpFileError);
        return false;
    }
    QIODevice* file = listing.Device();
    m_dumpFile = file;
    WriteLine(file, ";\tPelkar Data Logger Program");
    WriteLine(file, ";\t" + title + GeneralDate(started).toLatin1());
    WriteLine(file, ";\tPelkar Instruments, service department");
    WriteLine(file, QByteArray());

    m_dumpPending.clear();
    m_dumpLineCount = 0;
    m_dumpAddresses.fill(0);
    for (QByteArray& line : m_dumpLines)
        line.clear();

    m_cancel = false;
    const bool done = Exchange(command, 3, {}, false);
    if (!done) {
        // Only the listing of a whole download replaces the old one: the
        // lines of a failed one are not known to stand at their addresses
        // (the blocks are cut into lines only when the last has come).
        m_dumpFile = nullptr;
        m_status = 2;
        return false;
    }

    if (m_dumpLineCount != 0) {
        for (int i = m_dumpLineCount; i < 16; ++i) {
            m_dumpLines[i] = QByteArray(32, 'F');
            m_dumpAddresses[i] = i > 0 ? m_dumpAddresses[i - 1] + 16 : 0;
        }
        WriteDumpList();
        m_dumpLineCount = 0;
    }
    WriteLine(file, QByteArray());
    WriteLine(file, ";\tTotal Download Time = " + ElapsedHms(started, Now()).toLatin1());
    m_dumpFile = nullptr;
    QString error;
    if (!listing.Commit(&error)) {
        m_dumpFileError = GetResString(5960, path, SystemErrorText(error));
        WriteSerialLog(m_dumpFileError);
        m_status = 2;
        return false;
    }
    return true;
}

bool uclQvif::GetRomDump(const QString& path)
{
    return RomDump(path, "EP,R,", "Flush ROM Dump List ");
}

bool uclQvif::GetRomDump2(const QString& path)
{
    return RomDump(path, "EF,R,", "FRAM Dump List ");
}

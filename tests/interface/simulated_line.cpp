#include "simulated_line.h"

#include "common/appstate.h"
#include "fake_records.h"
#include "interface/frame.h"
#include "interface/irda_transport.h"
#include "interface/uclQvif.h"
#include "records/collections.h"
#include "records/instrument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>

namespace simline {

namespace {

constexpr int kTimeoutTicks = 10; // the control's time-out of one second
constexpr int kRetry = 3;
constexpr int kLateTicks = kTimeoutTicks + 5;
constexpr int kGiveUpTicks = 20000;
constexpr int kBytesPerDumpBlock = 16;
constexpr int kLinesPerRecordBlock = 2;
// Line noise with the bytes that end a block, but no STX and no CR.
const QByteArray kNoise("\x17\x31\x04\x32\x17", 5);
const QByteArray kOldListing("an older listing\r\n");

bool Waiting(int status)
{
    return status == 3 || status == 4 || status == 5;
}

QByteArray CommandOf(const QByteArray& frame)
{
    const qsizetype etx = frame.lastIndexOf(Wire::ETX);
    return etx > 5 ? frame.mid(5, etx - 5) : QByteArray();
}

QByteArray Number4(int n)
{
    return QByteArray::number(n).rightJustified(4, '0');
}

QByteArray Garble(QByteArray frame)
{
    // The same block with wrong checksum digits.
    const qsizetype at = frame.size() - 2;
    frame[at] = frame.at(at) == '0' ? '1' : '0';
    return frame;
}

QString TempFolder()
{
    // The listing is written through the program's whole-file writer (with
    // its sync), so it goes to memory where the machine has it.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/simline-XXXXXX")
                                                                         : QDir::tempPath() + QStringLiteral("/simline-XXXXXX"));
    return dir.path();
}

// ---- what the instrument holds ----------------------------------------------

std::vector<int> BlockContents(const Config& c);

QByteArray DumpMemory(const Config& c)
{
    // A memory of equal blocks holds zeros, not the erased value: the
    // listing fills its last lines with FF, where a block taken twice or
    // left out would not show. A random memory holds erased, zeroed and
    // data blocks.
    QByteArray bytes;
    for (int content : BlockContents(c)) {
        QByteArray block(kBytesPerDumpBlock, '\xFF');
        if (c.memory == Memory::AllEqual || (c.memory == Memory::Random && content % 3 == 1))
            block.fill('\0');
        else if (c.memory != Memory::AllEqual && (c.memory != Memory::Random || content % 3 == 2)) {
            for (int i = 0; i < kBytesPerDumpBlock; ++i)
                block[i] = static_cast<char>(i == 0 ? content : 0x30 + (content * 7 + i) % 64);
        }
        bytes += block;
    }
    return bytes;
}

// Which blocks hold the same: the index of each block's content, by the
// memory's pattern.
std::vector<int> BlockContents(const Config& c)
{
    std::vector<int> contents;
    std::mt19937 random(c.seed);
    for (int b = 0; b < c.blocks; ++b) {
        switch (c.memory) {
        case Memory::AllEqual: contents.push_back(0); break;
        case Memory::EqualRuns: contents.push_back(b / 3); break;
        case Memory::AllDifferent: contents.push_back(b); break;
        case Memory::Random: contents.push_back(random() % 2 == 0 && b > 0 ? contents.back() : b); break;
        }
    }
    return contents;
}

// The calibration history of one gas, two entries a block: blocks of the
// same content hold the same entries (the same dates and readings).
QList<FakeCalibration> HistoryEntries(int gas, const Config& c)
{
    QList<FakeCalibration> entries;
    for (int content : BlockContents(c)) {
        for (int i = 2 * content; i < 2 * content + 2; ++i) {
            const QDateTime when = QDateTime(QDate(2023, 1, 1), QTime(9, 0), Qt::UTC).addDays(i * 3);
            entries.append(
                {when, gas == 0 ? float(i % 50) : 20.0f + float(i % 9) / 10.0f, gas == 0 ? 50.0f : 20.9f});
        }
    }
    return entries;
}

FakeIntervalTrend IntervalTrend(int blocks)
{
    return MakeIntervalTrend(1, QDateTime(QDate(2024, 3, 5), QTime(8, 0), Qt::UTC),
                             std::max(3, kLinesPerRecordBlock * blocks - 8));
}

// The command texts of the blocks a request is answered with.
std::vector<QByteArray> RecordBlocks(const QByteArray& request, const QList<QByteArray>& lines, bool numbered,
                                     bool history)
{
    std::vector<QByteArray> blocks;
    const int count = static_cast<int>((lines.size() + kLinesPerRecordBlock - 1) / kLinesPerRecordBlock);
    for (int b = 0; b < std::max(1, count); ++b) {
        const QList<QByteArray> part = lines.mid(b * kLinesPerRecordBlock, kLinesPerRecordBlock);
        QByteArray block = request;
        // Three header tokens; the history request's gas number is the first.
        if (!history)
            block += Number4(numbered ? b + 1 : 0) + ',';
        block += Number4(numbered ? count : 0) + ',';
        block += QByteArray::number(part.size()).rightJustified(2, '0');
        for (const QByteArray& line : part)
            block += Wire::CR + line;
        blocks.push_back(block);
    }
    return blocks;
}

// ---- the line and the instrument --------------------------------------------

class Simulation;

// The infrared link the control sends through: every frame goes to the
// simulated line.
class LineTransport : public IrdaTransport {
public:
    explicit LineTransport(Simulation* sim) : m_sim(sim) {}
    bool IsConnected() const override { return true; }
    bool IsOpen() const override { return true; }
    void SetOpen(bool) override {}
    QString RemoteName() const override { return {}; }
    int LastError() const override { return 0; }
    bool Write(const QByteArray& data) override;
    QByteArray ReadAll() override { return {}; }
    void Poll() override {}

private:
    Simulation* m_sim;
};

class Simulation {
public:
    Simulation(const Config& config, bool trace) : m_config(config), m_trace(trace)
    {
        ResetAppState();
        m_ctl = std::make_unique<uclQvif>(nullptr, std::make_unique<LineTransport>(this));
        m_ctl->SetTimerEnabled(false);
        m_ctl->SetTimeout(kTimeoutTicks / 10);
        m_ctl->SetRetry(kRetry);
        // The program's folder is the simulation's own (the records note
        // what they find twice in the serial log whatever the control's
        // setting); the control's serial log only where the run is told, as
        // it costs time.
        qputenv("PELKAR_HOME", TempFolder().toLocal8Bit());
        if (trace)
            QFile::remove(TempFolder() + QStringLiteral("/SerialLog.log"));
        m_ctl->SetSerialFileNo(trace ? 1 : 0);
        m_inst.SetModel(QStringLiteral("KV-5"));
        m_inst.SetRomNumber(1203);
        m_ctl->SetInstrumentRef(&m_inst);
        m_intervals.SetInstruments(&m_inst);
        m_histories.SetInstruments(&m_inst);
        m_pump.setInterval(0);
        QObject::connect(&m_pump, &QTimer::timeout, [this] { Pump(); });

        switch (config.kind) {
        case Kind::Dump: {
            m_memory = DumpMemory(config);
            const int count = config.blocks;
            std::vector<QByteArray> blocks;
            for (int b = 0; b < count; ++b) {
                blocks.push_back("EP,R," + Number4(config.numbered ? b + 1 : 0) + ','
                                 + Number4(config.numbered ? count : 0) + ",00,"
                                 + m_memory.mid(b * kBytesPerDumpBlock, kBytesPerDumpBlock).toHex().toUpper());
            }
            m_held["EP,R,"] = blocks;
            break;
        }
        case Kind::History:
            for (int gas = 0; gas < 2; ++gas) {
                m_history[gas] = HistoryEntries(gas, config);
                const QByteArray request = "IH,R," + QByteArray::number(gas + 1) + ',';
                m_held[request] = RecordBlocks(request, HistoryLines(m_history[gas]), config.numbered, true);
            }
            break;
        case Kind::Interval: {
            // The same trend for the same size: made once.
            static std::map<std::pair<int, bool>, std::pair<FakeIntervalTrend, std::vector<QByteArray>>> made;
            auto& [trend, blocks] = made[{config.blocks, config.numbered}];
            if (blocks.empty()) {
                trend = IntervalTrend(config.blocks);
                blocks = RecordBlocks("DR,R,", IntervalLines(trend), config.numbered, false);
            }
            m_trend = trend;
            m_held["DR,R,"] = blocks;
            break;
        }
        }
    }

    Result Run()
    {
        m_pump.start();
        switch (m_config.kind) {
        case Kind::Dump:
            for (int d = 0; d < m_config.downloads; ++d)
                RunDump();
            break;
        case Kind::History:
            RunHistory();
            break;
        case Kind::Interval:
            for (int d = 0; d < m_config.downloads; ++d)
                RunInterval();
            break;
        }
        m_pump.stop();
        // What is still on its way reaches the instrument and the control,
        // which takes none of it: an ACK block over would show here.
        for (int i = 0; i < 6 * kTimeoutTicks; ++i)
            Step();
        m_result.ticks = m_now;
        if (m_trace) {
            QFile log(TempFolder() + QStringLiteral("/SerialLog.log"));
            if (log.open(QIODevice::ReadOnly))
                m_result.trace += "serial log:\n" + log.readAll().toStdString();
        }
        return m_result;
    }

    // ---- the program's frames ----

    void FromProgram(const QByteArray& frame)
    {
        const int n = ++m_result.framesSent;
        Note([&] { return "program sends " + Show(frame) + " (#" + std::to_string(n) + ")"; });
        if (CommandOf(frame).endsWith(Wire::NAK))
            ++m_result.naksSent;
        if (Has(Fault::NoiseInGap, n))
            ToLine(m_now + 3, kNoise);
        if (Has(Fault::OurFrameLost, n))
            return;
        if (Has(Fault::OurFrameLate, n)) {
            m_heldFrames.push_back({m_now + 1, frame, n});
            return;
        }
        m_toInstrument.push_back({m_now + 1, frame, n});
        for (const OnLine& held : m_heldFrames)
            m_toInstrument.push_back({m_now + 1, held.frame, held.number});
        m_heldFrames.clear();
    }

private:
    struct OnLine {
        int due;
        QByteArray frame;
        int number;
    };
    struct ToProgram {
        int due;
        QByteArray bytes;
    };

    bool Has(Fault fault, int at) const
    {
        return std::any_of(m_config.faults.begin(), m_config.faults.end(),
                           [&](const Placement& p) { return p.fault == fault && p.at == at; });
    }

    // Notes what happened in a traced run (the text is made only then).
    template <class Text>
    void Note(Text&& what)
    {
        if (m_trace)
            m_result.trace += std::to_string(m_now) + " " + std::string(what()) + "\n";
    }

    static std::string Show(const QByteArray& frame)
    {
        return FormatControlChars(frame).toStdString();
    }

    void Wrong(const std::string& what)
    {
        if (m_result.wrong.empty())
            m_result.wrong = "download " + std::to_string(m_download) + ": " + what;
    }

    // Bytes on the line to the program, in the order they fall due.
    void ToLine(int due, const QByteArray& bytes)
    {
        auto at = m_toProgram.end();
        while (at != m_toProgram.begin() && std::prev(at)->due > due)
            --at;
        m_toProgram.insert(at, {due, bytes});
    }

    // ---- time ----

    void Step()
    {
        ++m_now;
        while (!m_toInstrument.empty() && m_toInstrument.front().due <= m_now) {
            const OnLine f = m_toInstrument.front();
            m_toInstrument.pop_front();
            Hear(f);
        }
        QByteArray read;
        while (!m_toProgram.empty() && m_toProgram.front().due <= m_now) {
            read += m_toProgram.front().bytes;
            m_toProgram.pop_front();
        }
        if (!read.isEmpty()) {
            Note([&] { return "program reads " + Show(read); });
            m_ctl->ReceiveData(read, false);
        }
        m_ctl->Tick();
    }

    // Runs the request the control waits for until it ends; the control
    // calls it from its wait.
    void Pump()
    {
        if (!Waiting(m_ctl->Status()))
            return;
        while (Waiting(m_ctl->Status()) && m_now < kGiveUpTicks)
            Step();
        if (Waiting(m_ctl->Status())) {
            Wrong("the exchange never ended");
            m_ctl->SetStatus(7);
        }
        m_ends.push_back({m_ctl->Status(), m_ctl->LineDisturbed()});
        Note([&] { return "request ends in state " + std::to_string(m_ctl->Status()); });
    }

    // ---- the instrument ----

    void Hear(const OnLine& f)
    {
        const QByteArray command = CommandOf(f.frame);
        Note([&] { return "instrument hears " + Show(f.frame); });
        if (Has(Fault::FrameRefused, f.number)) {
            SendAnswer(BuildFrame(command.left(5) + Wire::NAK, Wire::EOT), false);
            return;
        }
        if (command.endsWith(Wire::ACK)) {
            if (m_current < 0)
                return;
            if (m_current + 1 >= static_cast<int>(m_blocks.size())) {
                ++m_result.acksPastEnd;
                return;
            }
            ++m_current;
        } else if (command.endsWith(Wire::NAK)) {
            if (m_current < 0)
                return;
        } else {
            const auto held = m_held.find(command);
            if (held == m_held.end()) {
                m_current = -1;
                return;
            }
            m_blocks = held->second;
            m_current = 0;
        }
        const bool last = m_current + 1 == static_cast<int>(m_blocks.size());
        SendAnswer(BuildFrame(m_blocks[static_cast<std::size_t>(m_current)], last ? Wire::EOT : Wire::ETB), true);
    }

    void SendAnswer(QByteArray bytes, bool block)
    {
        const int n = block ? ++m_blocksSent : 0;
        if (block && Has(Fault::BlockLost, n)) {
            Note([&] { return "block #" + std::to_string(n) + " is lost"; });
            return;
        }
        if (block && Has(Fault::BlockGarbled, n))
            bytes = Garble(bytes);
        if (block && Has(Fault::NoiseBefore, n))
            bytes.prepend(kNoise);
        if (block && Has(Fault::CrBehind, n))
            bytes.append(Wire::CR);
        if (block && Has(Fault::Stall, n)) {
            Note([&] { return "the line holds block #" + std::to_string(n); });
            m_stalled += bytes;
            return;
        }
        bytes.prepend(std::exchange(m_stalled, {}));
        // One line: an answer never overtakes the one sent before it.
        int due = std::max(m_now + 1, m_lastDue);
        if (block && Has(Fault::BlockLate, n))
            due += kLateTicks;
        m_lastDue = due;
        ToLine(due, bytes);
    }

    // ---- the downloads and what they left ----

    struct End {
        int status;
        bool disturbed;
    };

    // How the request that ended n-th ended, by the state it ended in.
    Ending EndingOf(std::size_t n)
    {
        if (n >= m_ends.size()) {
            Wrong("no request ended");
            return Ending::Wrong;
        }
        const End& e = m_ends[n];
        if (e.status == 6)
            return Ending::Exact;
        return e.disturbed ? Ending::Disturbed : Ending::Failed;
    }

    // The ending of a download whose method reported ok.
    Ending EndingOf(std::size_t n, bool ok)
    {
        const Ending e = EndingOf(n);
        if (e != Ending::Wrong && ok != (e == Ending::Exact)) {
            Wrong("the method's result and the request's state disagree");
            return Ending::Wrong;
        }
        return e;
    }

    void RunDump()
    {
        m_download = static_cast<int>(m_result.endings.size()) + 1;
        const QString path = TempFolder() + QStringLiteral("/Dump.dat");
        {
            QFile f(path);
            f.open(QIODevice::WriteOnly | QIODevice::Truncate);
            f.write(kOldListing);
        }
        const bool ok = m_ctl->GetRomDump(path);
        Ending ending = EndingOf(m_result.endings.size(), ok);
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray listing = f.readAll();
        if (ending == Ending::Exact) {
            const std::string wrong = CheckListing(listing);
            if (!wrong.empty()) {
                Wrong(wrong);
                ending = Ending::Wrong;
            }
        } else if (ending != Ending::Wrong && listing != kOldListing) {
            Wrong("a failed dump did not keep the old listing");
            ending = Ending::Wrong;
        }
        m_result.endings.push_back(ending);
    }

    // Every data line of the listing in address order, each holding the
    // memory at its address (the last group of 16 lines filled with FF).
    std::string CheckListing(const QByteArray& listing) const
    {
        const auto hex = &HexDigit;
        qint64 next = 0;
        for (qsizetype at = 0; at < listing.size();) {
            qsizetype eol = listing.indexOf('\n', at);
            if (eol < 0)
                eol = listing.size();
            const QByteArrayView line(listing.constData() + at, eol - at);
            at = eol + 1;
            // A data line: six hex digits of the address, a blank, 16 bytes
            // of two hex digits and a blank (one more after the eighth).
            if (line.size() < 7 + 16 * 3 + 1 || line.at(6) != ' ')
                continue;
            qint64 address = 0;
            bool isData = true;
            for (int i = 0; i < 6 && isData; ++i) {
                isData = hex(line.at(i)) >= 0;
                address = address * 16 + hex(line.at(i));
            }
            if (!isData)
                continue;
            if (address != next)
                return "listing line at " + std::to_string(address) + ", expected " + std::to_string(next);
            for (int i = 0; i < 16; ++i) {
                const qsizetype p = 7 + 3 * i + (i >= 8 ? 1 : 0);
                const int got = hex(line.at(p)) * 16 + hex(line.at(p + 1));
                const qint64 byte = address + i;
                const int want = byte < m_memory.size() ? static_cast<unsigned char>(m_memory.at(byte)) : 0xFF;
                if (got != want || hex(line.at(p)) < 0 || hex(line.at(p + 1)) < 0)
                    return "listing byte at " + std::to_string(byte) + " is wrong";
            }
            next += 16;
        }
        // Lines come in groups of 16, the last group filled up.
        const qint64 whole = (m_memory.size() + 255) / 256 * 256;
        if (next != whole)
            return "the listing ends at " + std::to_string(next) + ", not at " + std::to_string(whole);
        return {};
    }

    void RunHistory()
    {
        m_download = static_cast<int>(m_result.endings.size()) + 1;
        m_ctl->SetHistoryRef(&m_histories);
        const bool ok = m_ctl->GetHistory(&m_histories);
        const std::size_t first = m_result.endings.size();
        bool each = true;
        for (std::size_t gas = 0; gas < 2; ++gas) {
            const Ending e = EndingOf(first + gas);
            each = each && e == Ending::Exact;
            m_result.endings.push_back(e);
        }
        if (ok != each) {
            Wrong("the history's result does not tell its gases' endings");
            m_result.endings.back() = Ending::Wrong;
        }
        // What was collected: every value held for its date by its gas, and
        // every entry of a gas that was done.
        if (m_histories.Count() > 1)
            Wrong("more than one history record");
        const clsHistory* rec = m_histories.Count() > 0 ? m_histories.Item(1) : nullptr;
        for (int gas = 0; gas < 2; ++gas) {
            std::map<QDateTime, std::pair<float, float>> held;
            for (const FakeCalibration& e : m_history[gas])
                held[e.when] = {e.before, e.after};
            int found = 0;
            for (int e = 0; rec && e < rec->DCount(); ++e) {
                const float before = rec->Before(gas, e);
                const float after = rec->After(gas, e);
                if (before == -101.0f && after == -101.0f)
                    continue;
                const auto it = held.find(rec->Dates(e));
                if (it == held.end() || it->second != std::make_pair(before, after)) {
                    Wrong("gas " + std::to_string(gas + 1) + " holds a value it was not sent for its date");
                    m_result.endings[first + gas] = Ending::Wrong;
                    break;
                }
                ++found;
            }
            if (m_result.endings[first + gas] == Ending::Exact && found != static_cast<int>(held.size())) {
                Wrong("gas " + std::to_string(gas + 1) + " is done with " + std::to_string(found) + " of "
                      + std::to_string(held.size()) + " entries");
                m_result.endings[first + gas] = Ending::Wrong;
            }
        }
    }

    void RunInterval()
    {
        m_download = static_cast<int>(m_result.endings.size()) + 1;
        m_ctl->SetIntervalsRef(&m_intervals);
        const bool ok = m_ctl->GetInterval(&m_intervals);
        Ending ending = EndingOf(m_result.endings.size(), ok);
        if (ending == Ending::Exact) {
            const clsInterval* rec = m_intervals.Count() == 1 ? m_intervals.Item(1) : nullptr;
            std::string wrong;
            if (!rec || rec->DataCount() != m_trend.samples.size()) {
                wrong = "the trend is not whole";
            } else {
                for (int k = 0; k < m_trend.samples.size() && wrong.empty(); ++k) {
                    // Readings travel as text with one decimal.
                    const auto near = [](float a, float b) { return std::fabs(a - b) < 1e-3f; };
                    if (rec->DateTimes(k) != m_trend.SampleTime(k) || !near(rec->GasValue(0, k), m_trend.samples[k][0])
                        || !near(rec->GasValue(1, k), m_trend.samples[k][1]))
                        wrong = "sample " + std::to_string(k) + " is wrong: "
                                + rec->DateTimes(k).toString(Qt::ISODate).toStdString() + " "
                                + std::to_string(rec->GasValue(0, k)) + " " + std::to_string(rec->GasValue(1, k))
                                + " for " + m_trend.SampleTime(k).toString(Qt::ISODate).toStdString() + " "
                                + std::to_string(m_trend.samples[k][0]) + " " + std::to_string(m_trend.samples[k][1]);
                }
                if (wrong.empty() && rec->EventCount() != m_trend.events.size())
                    wrong = "the trend's events are wrong";
            }
            if (!wrong.empty()) {
                Wrong(wrong);
                ending = Ending::Wrong;
            }
        }
        m_result.endings.push_back(ending);
    }

    const Config m_config;
    const bool m_trace;
    Result m_result;
    clsInstrument m_inst;
    clsIntervals m_intervals;
    clsHistorys m_histories;
    std::unique_ptr<uclQvif> m_ctl;
    QTimer m_pump;
    int m_now = 0;
    int m_download = 0; // the download being checked, 1-based
    std::vector<End> m_ends;

    // What the instrument holds: the blocks of each request.
    std::map<QByteArray, std::vector<QByteArray>> m_held;
    QByteArray m_memory;
    std::array<QList<FakeCalibration>, 2> m_history;
    FakeIntervalTrend m_trend;
    // The download under way at the instrument.
    std::vector<QByteArray> m_blocks;
    int m_current = -1;
    int m_blocksSent = 0;

    std::deque<OnLine> m_toInstrument;
    std::vector<OnLine> m_heldFrames;
    std::deque<ToProgram> m_toProgram;
    QByteArray m_stalled;
    int m_lastDue = 0;
};

bool LineTransport::Write(const QByteArray& data)
{
    m_sim->FromProgram(data);
    return true;
}

} // namespace

Result Run(const Config& config, bool trace)
{
    return Simulation(config, trace).Run();
}

const char* Name(Fault fault)
{
    switch (fault) {
    case Fault::OurFrameLost: return "our frame lost";
    case Fault::OurFrameLate: return "our frame late";
    case Fault::FrameRefused: return "our frame refused";
    case Fault::NoiseInGap: return "noise in the gap after our frame";
    case Fault::BlockLost: return "block lost";
    case Fault::BlockGarbled: return "block garbled";
    case Fault::BlockLate: return "block late";
    case Fault::Stall: return "line stalls at block";
    case Fault::NoiseBefore: return "noise before block";
    case Fault::CrBehind: return "CR behind block";
    }
    return "";
}

const char* Name(Kind kind)
{
    switch (kind) {
    case Kind::Dump: return "dumps";
    case Kind::History: return "history";
    case Kind::Interval: return "interval trends";
    }
    return "";
}

const char* Name(Memory memory)
{
    switch (memory) {
    case Memory::AllEqual: return "all blocks equal";
    case Memory::EqualRuns: return "equal runs";
    case Memory::AllDifferent: return "all blocks different";
    case Memory::Random: return "random memory";
    }
    return "";
}

const char* Name(Ending ending)
{
    switch (ending) {
    case Ending::Exact: return "exact";
    case Ending::Disturbed: return "failed, blocks not told apart";
    case Ending::Failed: return "failed, retries used up";
    case Ending::Wrong: return "WRONG";
    }
    return "";
}

std::string Describe(const std::vector<Placement>& faults)
{
    std::ostringstream out;
    if (faults.empty())
        out << "no fault";
    for (const Placement& p : faults)
        out << (&p == &faults.front() ? "" : ", ") << Name(p.fault) << " #" << p.at;
    return out.str();
}

} // namespace simline

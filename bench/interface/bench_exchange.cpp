// The block exchange model of downloads against the bare work of a program
// without it, both timed in the same iteration and reported as a ratio
// (ratio_to_baseline: time with the model over time without it):
// - one block checked, judged and taken while 16 or 64 NAK blocks of
//   time-outs may still be heard, against checking the block's checksum and
//   comparing it with the block before;
// - a download of 2,000 blocks over a line that fails every 20 to 50 blocks
//   (a lost ACK block, a lost, garbled or late block), simulated tick by
//   tick, against the same simulation whose program takes every block in
//   answer order; with numbered headers and with unnumbered ones. Also how
//   many readings the model follows over the run and the most frames of
//   ours one of them has yet to hear.
// The time column is the model's side only: a batch of blocks, or one whole
// download.
#include "interface/block_exchange.h"
#include "interface/frame.h"

#include <QByteArray>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace {

using Ask = BlockExchange::Ask;
using Verdict = BlockExchange::Verdict;

const QByteArray kEcho = "EP,R,";

template <class Work>
double Seconds(Work&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Data that differ from block to block (a 32-bit integer hash).
quint32 Mix(quint32 x)
{
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

// Block index of a download of count blocks, from its STX on: the header
// numbers the blocks from 1 or carries zeros, then 64 bytes of data in hex
// (all F where the memory is erased); the last block ends in EOT.
QByteArray Block(int index, int count, bool numbered, bool erased)
{
    QByteArray data;
    for (quint32 i = 0; i < 16; ++i)
        data += erased ? QByteArray(8, 'F') : HexText(Mix(static_cast<quint32>(index) * 16u + i), 8);
    const QByteArray header = numbered ? QByteArray::number(index + 1).rightJustified(4, '0') : QByteArray("0000");
    const QByteArray text = kEcho + header + ',' + QByteArray::number(count).rightJustified(4, '0') + ",00," + data;
    return FromStx(BuildFrame(text, index + 1 == count ? Wire::EOT : Wire::ETB));
}

void Report(benchmark::State& state, double withModel, double without)
{
    state.counters["ratio_to_baseline"] = withModel / without;
}

// ---- one block ------------------------------------------------------------

// The model as block 1 arrives: block 0 taken, its ACK block sent, then naks
// NAK blocks of time-outs, none of them answered yet.
BlockExchange WaitingForBlock1(const QByteArray& block0, int naks)
{
    BlockExchange model;
    model.Start(kEcho);
    model.Sent(Ask::Request);
    model.Accept(model.Judge(block0, BlockHeaderNumber(block0)));
    model.Sent(Ask::Ack);
    for (int i = 0; i < naks; ++i)
        model.Sent(Ask::Nak);
    return model;
}

void OneBlockJudged(benchmark::State& state)
{
    const int naks = static_cast<int>(state.range(0));
    const QByteArray block0 = Block(0, 64, true, false);
    const QByteArray block1 = Block(1, 64, true, false);
    const BlockExchange waiting = WaitingForBlock1(block0, naks);
    {
        BlockExchange model = waiting;
        const BlockExchange::Judgement judged = model.Judge(block1, BlockHeaderNumber(block1));
        if (judged.Verdict() != Verdict::Take) {
            state.SkipWithError("block 1 is not taken");
            return;
        }
        model.Accept(judged);
        state.counters["readings_after"] = static_cast<double>(model.Readings());
        state.counters["pending_after"] = static_cast<double>(model.Pending());
    }

    // Copies of the model are made outside the timed part, a batch at a time
    // so the clock's own cost stays small beside the bare work.
    constexpr int kBatch = 256;
    std::vector<BlockExchange> models;
    std::vector<QByteArray> before;
    double withModel = 0, without = 0;
    for (auto _ : state) {
        models.assign(kBatch, waiting);
        before.assign(kBatch, block0);
        const double m = Seconds([&] {
            for (BlockExchange& model : models) {
                benchmark::DoNotOptimize(FrameChecksumOk(block1));
                const BlockExchange::Judgement judged = model.Judge(block1, BlockHeaderNumber(block1));
                model.Accept(judged);
            }
        });
        const double b = Seconds([&] {
            for (QByteArray& last : before) {
                benchmark::DoNotOptimize(FrameChecksumOk(block1));
                benchmark::DoNotOptimize(block1 == last);
                last = block1;
            }
        });
        benchmark::ClobberMemory();
        state.SetIterationTime(m);
        withModel += m;
        without += b;
    }
    Report(state, withModel, without);
}
BENCHMARK(OneBlockJudged)
    ->Arg(16)
    ->Arg(64)
    ->ArgName("naks")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// ---- a download over a failing line ---------------------------------------

constexpr int kTimeoutTicks = 10;
constexpr int kRetry = 3;
constexpr std::uint64_t kSeed = 20240305;
// Erased memory in the middle of the download: equal blocks in a row.
constexpr int kErasedFrom = 1000;
constexpr int kErasedTo = 1040;

enum class Fault : std::uint8_t { AckLost, BlockLost, BlockGarbled, BlockLate };

// Where the line fails: at the n-th block the instrument sends, n drawn 20
// to 50 blocks after the failure before, the fault drawn too; the same
// draws in every run.
class FaultSchedule {
public:
    FaultSchedule() { Draw(); }

    // The fault of the block the instrument sends next, if any.
    std::optional<Fault> NextBlock()
    {
        if (++m_blocks != m_at)
            return std::nullopt;
        const Fault fault = m_fault;
        Draw();
        return fault;
    }

private:
    void Draw()
    {
        m_state = m_state * 6364136223846793005u + 1442695040888963407u;
        const auto draw = static_cast<std::uint32_t>(m_state >> 33);
        m_at += 20 + static_cast<int>(draw % 31);
        m_fault = static_cast<Fault>((draw >> 8) % 4);
    }

    std::uint64_t m_state = kSeed;
    int m_blocks = 0;
    int m_at = 0;
    Fault m_fault = Fault::AckLost;
};

// The download's blocks as the instrument sends them, and as they arrive
// garbled (one data character changed: the checksum fails).
struct Download {
    std::vector<QByteArray> blocks;
    std::vector<QByteArray> garbled;

    Download(int count, bool numbered)
    {
        for (int i = 0; i < count; ++i) {
            blocks.push_back(Block(i, count, numbered, i >= kErasedFrom && i < kErasedTo));
            QByteArray bad = blocks.back();
            bad[bad.size() - 10] = bad.at(bad.size() - 10) == '0' ? '1' : '0';
            garbled.push_back(bad);
        }
    }
    int Count() const { return static_cast<int>(blocks.size()); }
};

// What the model saw over a run.
struct Probe {
    std::size_t samples = 0;
    double readingsSum = 0;
    std::size_t readingsMax = 0;
    std::size_t pendingMax = 0;
};

struct Outcome {
    bool success = false;
    bool outOfPlace = false; // a block taken that is neither the next one nor the last again
    int faults = 0;
    int ticks = 0;
};

// The program, the instrument and the line between them, tick by tick. With
// a model the program follows the control's rules (an ACK block only where
// the model advises one, a CannotTell block taken as records take it);
// without, it takes every block that passes the checksum and acknowledges
// it. Either way a time-out asks again: the request until block 0 is taken,
// a NAK block after. The line fails as the FaultSchedule says.
class Simulation {
public:
    Simulation(const Download& download, BlockExchange* model, Probe* probe)
        : m_download(download), m_model(model), m_probe(probe)
    {
    }

    Outcome Run()
    {
        const int giveUp = 40 * m_download.Count();
        if (m_model)
            m_model->Start(kEcho);
        Send(Ask::Request, true);
        for (m_now = 0; m_now < giveUp && !m_ended; ++m_now) {
            while (!m_toInstrument.empty() && m_toInstrument.front().due <= m_now) {
                const Ask ask = m_toInstrument.front().ask;
                m_toInstrument.pop_front();
                Hear(ask);
            }
            while (!m_ended && !m_toProgram.empty() && m_toProgram.front().due <= m_now) {
                const OnLine block = m_toProgram.front();
                m_toProgram.pop_front();
                Arrived(block);
            }
            if (!m_ended && --m_answerTicks < 0)
                AskAgain();
        }
        m_outcome.ticks = m_now;
        return m_outcome;
    }

private:
    struct OnLine {
        int due;
        Ask ask;         // a frame of ours
        int index = -1;  // a block
        bool garbled = false;
    };

    void Observe()
    {
        if (!m_probe)
            return;
        ++m_probe->samples;
        m_probe->readingsSum += static_cast<double>(m_model->Readings());
        m_probe->readingsMax = std::max(m_probe->readingsMax, m_model->Readings());
        m_probe->pendingMax = std::max(m_probe->pendingMax, m_model->Pending());
    }

    // ---- the program ----

    void Send(Ask ask, bool resetRetry)
    {
        if (m_model) {
            m_model->Sent(ask);
            Observe();
        }
        m_answerTicks = kTimeoutTicks;
        if (resetRetry)
            m_retryCount = 0;
        if (ask == Ask::Ack && m_loseAck) {
            m_loseAck = false;
            return;
        }
        m_toInstrument.push_back({m_now + 1, ask});
    }

    void AskAgain()
    {
        if (m_retryCount >= kRetry) {
            m_ended = true;
            return;
        }
        ++m_retryCount;
        Send(m_taken.empty() ? Ask::Request : Ask::Nak, false);
    }

    void Arrived(const OnLine& b)
    {
        const std::size_t i = static_cast<std::size_t>(b.index);
        const QByteArray& bytes = b.garbled ? m_download.garbled[i] : m_download.blocks[i];
        if (!FrameChecksumOk(bytes)) {
            if (m_model) {
                m_model->Garbled();
                Observe();
            }
            AskAgain();
            return;
        }
        bool ack = true;
        if (m_model) {
            const BlockExchange::Judgement judged = m_model->Judge(bytes, BlockHeaderNumber(bytes));
            switch (judged.Verdict()) {
            case Verdict::Lost:
                m_ended = true;
                return;
            case Verdict::Stale:
            case Verdict::MayBeStale:
                m_model->Decline(judged);
                Observe();
                if (judged.Verdict() == Verdict::MayBeStale)
                    AskAgain();
                return;
            case Verdict::Repeat:
                m_model->Accept(judged);
                Observe();
                if (judged.Ack())
                    Send(Ask::Ack, true);
                return;
            case Verdict::CannotTell:
            case Verdict::Take:
                break;
            }
            m_model->Accept(judged);
            Observe();
            ack = judged.Ack();
        }
        Take(b.index);
        if (bytes.back() == Wire::EOT) {
            m_outcome.success = true;
            m_ended = true;
        } else if (ack) {
            Send(Ask::Ack, true);
        }
    }

    void Take(int index)
    {
        const int last = m_taken.empty() ? -1 : m_taken.back();
        if (index != last + 1 && index != last)
            m_outcome.outOfPlace = true;
        m_taken.push_back(index);
    }

    // ---- the instrument and the line ----

    void Hear(Ask ask)
    {
        switch (ask) {
        case Ask::Request:
            m_current = 0;
            break;
        case Ask::Ack:
            if (m_current < 0 || m_current + 1 >= m_download.Count())
                return;
            ++m_current;
            break;
        case Ask::Nak:
            if (m_current < 0)
                return;
            break;
        }
        OnLine block{std::max(m_now + 1, m_lastBlockDue), ask, m_current};
        if (const std::optional<Fault> fault = m_faults.NextBlock()) {
            ++m_outcome.faults;
            switch (*fault) {
            case Fault::AckLost: m_loseAck = true; break;
            case Fault::BlockLost: return;
            case Fault::BlockGarbled: block.garbled = true; break;
            case Fault::BlockLate: block.due += kTimeoutTicks + 5; break;
            }
        }
        // One line: a block never overtakes the one sent before it.
        m_lastBlockDue = block.due;
        m_toProgram.push_back(block);
    }

    const Download& m_download;
    BlockExchange* const m_model;
    Probe* const m_probe;
    Outcome m_outcome;
    int m_now = 0;
    bool m_ended = false;
    int m_answerTicks = 0;
    int m_retryCount = 0;
    std::vector<int> m_taken;
    std::deque<OnLine> m_toInstrument;

    int m_current = -1;       // the instrument's current block
    int m_lastBlockDue = 0;
    std::deque<OnLine> m_toProgram;
    FaultSchedule m_faults;
    bool m_loseAck = false; // the next ACK block of ours is lost
};

void DownloadOverFailingLine(benchmark::State& state)
{
    const Download download(static_cast<int>(state.range(0)), state.range(1) != 0);
    Probe probe;
    {
        BlockExchange model;
        const Outcome probed = Simulation(download, &model, &probe).Run();
        if (!probed.success || probed.outOfPlace) {
            state.SkipWithError(probed.outOfPlace ? "a block taken out of place" : "the download did not complete");
            return;
        }
        state.counters["faults"] = probed.faults;
        state.counters["ticks"] = probed.ticks;
        // The program without the model acknowledges every block at once,
        // where the model may leave it to the time-out: fewer ticks.
        state.counters["baseline_ticks"] = Simulation(download, nullptr, nullptr).Run().ticks;
    }
    double withModel = 0, without = 0;
    for (auto _ : state) {
        BlockExchange model;
        Outcome o;
        const double m = Seconds([&] { o = Simulation(download, &model, nullptr).Run(); });
        const double b = Seconds([&] { benchmark::DoNotOptimize(Simulation(download, nullptr, nullptr).Run()); });
        benchmark::DoNotOptimize(o);
        state.SetIterationTime(m);
        withModel += m;
        without += b;
    }
    Report(state, withModel, without);
    state.counters["readings_mean"] = probe.readingsSum / static_cast<double>(probe.samples);
    state.counters["readings_max"] = static_cast<double>(probe.readingsMax);
    state.counters["pending_max"] = static_cast<double>(probe.pendingMax);
}
BENCHMARK(DownloadOverFailingLine)
    ->Args({2000, 1})
    ->Args({2000, 0})
    ->ArgNames({"blocks", "numbered"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// Downloads through the real interface control over a simulated line (see
// simulated_line.h): every placement of up to two line faults over two
// downloads in a row, named sequences, and a seeded random campaign. A
// download must end exact or fail cleanly; none may succeed wrongly.
#include "simulated_line.h"

#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <string>

using namespace simline;

namespace {

// Two downloads of four blocks each: places reach past the frames and
// blocks of an undisturbed run, to those only a disturbed one sends.
constexpr int kBlocks = 4;
constexpr int kPlaces = 2 * kBlocks + 2;

std::vector<std::vector<Placement>> EveryPlacementOfUpToTwoFaults()
{
    std::vector<Placement> one;
    for (Fault f : kFaults)
        for (int at = 1; at <= kPlaces; ++at)
            one.push_back({f, at});
    std::vector<std::vector<Placement>> all{{}};
    for (std::size_t i = 0; i < one.size(); ++i) {
        all.push_back({one[i]});
        for (std::size_t k = i + 1; k < one.size(); ++k)
            all.push_back({one[i], one[k]});
    }
    return all;
}

std::string ConfigName(const Config& c)
{
    return std::string(Name(c.kind)) + ", " + Name(c.memory) + (c.numbered ? ", numbered" : ", unnumbered");
}

// The endings of downloads, counted.
struct Tally {
    std::map<Ending, int> endings;
    void Add(const Result& r)
    {
        for (Ending e : r.endings)
            ++endings[e];
    }
    void Add(const Tally& t)
    {
        for (const auto& [e, n] : t.endings)
            endings[e] += n;
    }
    int Downloads() const
    {
        int n = 0;
        for (const auto& [e, count] : endings)
            n += count;
        return n;
    }
    std::string Text() const
    {
        std::string out;
        for (const auto& [ending, count] : endings)
            out += (out.empty() ? "" : ", ") + std::to_string(count) + " " + Name(ending);
        return out;
    }
};

// A run that went wrong, told with what happened.
std::string Explain(const Config& c)
{
    const Result traced = simline::Run(c, true);
    return ConfigName(c) + ", " + std::to_string(c.downloads) + " downloads of " + std::to_string(c.blocks)
           + " blocks; " + Describe(c.faults) + ": " + traced.wrong
           + (traced.acksPastEnd ? " (an ACK block past the end)" : "") + "\n" + traced.trace;
}

bool WentWrong(const Result& r)
{
    // An ACK block heard at the last block means one was sent while the
    // one before could still be heard: in another run it skips a block.
    return !r.wrong.empty() || r.acksPastEnd > 0;
}

// Numbered headers tell equal blocks apart, so one memory of equal runs
// between different blocks stands for all with them.
const Config kPlacementConfigs[] = {
    {Kind::Dump, Memory::AllEqual, false, kBlocks, 2},
    {Kind::Dump, Memory::EqualRuns, false, kBlocks, 2},
    {Kind::Dump, Memory::AllDifferent, false, kBlocks, 2},
    {Kind::Dump, Memory::EqualRuns, true, kBlocks, 2},
    {Kind::History, Memory::EqualRuns, false, kBlocks, 2},
};

class EveryPlacement : public ::testing::TestWithParam<Config> {};

} // namespace

TEST_P(EveryPlacement, OfUpToTwoFaultsOverTwoDownloadsEndsExactOrFailsCleanly)
{
    Config config = GetParam();
    int wrong = 0;
    Tally tally;
    const auto placements = EveryPlacementOfUpToTwoFaults();
    for (const auto& faults : placements) {
        config.faults = faults;
        const Result r = simline::Run(config);
        tally.Add(r);
        if (WentWrong(r) && ++wrong <= 3)
            ADD_FAILURE() << Explain(config);
        // Without faults every download succeeds; with numbered headers so
        // does every one that meets a single fault.
        if (faults.empty() || (config.numbered && faults.size() == 1)) {
            for (Ending e : r.endings)
                EXPECT_EQ(e, Ending::Exact) << ConfigName(config) << "; " << Describe(faults);
        }
    }
    EXPECT_EQ(wrong, 0);
    std::cout << ConfigName(config) << ": " << placements.size() << " runs, " << tally.Downloads()
              << " downloads: " << tally.Text() << "\n";
}

INSTANTIATE_TEST_SUITE_P(ExchangeLine, EveryPlacement, ::testing::ValuesIn(kPlacementConfigs),
                         [](const ::testing::TestParamInfo<Config>& info) {
                             std::string name = ConfigName(info.param);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// Sequences that once ended in a wrong result reported as done, or that
// show a rule of the exchange at its edges, by name.
TEST(ExchangeLine, NamedSequencesEndExactOrFailCleanly)
{
    using E = Ending;
    struct Case {
        const char* name;
        Config config;
        std::vector<Ending> endings;
    };
    const auto dump = [](Memory memory, bool numbered, int downloads, std::vector<Placement> faults) {
        return Config{Kind::Dump, memory, numbered, 7, downloads, 1, std::move(faults)};
    };
    const Case cases[] = {
        // The second dump's request is refused once: asked again with the
        // request, never a NAK block, which could bring back the first
        // dump's last block.
        {"a refused request after an earlier dump", dump(Memory::AllDifferent, false, 2, {{Fault::FrameRefused, 8}}),
         {E::Exact, E::Exact}},
        {"a refused request after an earlier numbered dump",
         dump(Memory::AllDifferent, true, 2, {{Fault::FrameRefused, 8}}), {E::Exact, E::Exact}},
        // Gas 1 fails by its time-outs (its ACK and two NAK blocks lost)
        // while the answer to its last NAK block is on its way; gas 2 is
        // asked at once and that block comes first.
        {"the history with gas 1's last block late",
         Config{Kind::History, Memory::AllDifferent, false, 5, 2, 1,
                {{Fault::OurFrameLost, 3}, {Fault::OurFrameLost, 4}, {Fault::OurFrameLost, 5}, {Fault::BlockLate, 3}}},
         {E::Failed, E::Exact}},
        // A stalled converter delivers the last block and its resend in one
        // read: the first ends the dump, the second is no block of it.
        {"the last block and its resend in one read", dump(Memory::AllDifferent, false, 2, {{Fault::Stall, 7}}),
         {E::Exact, E::Exact}},
        {"noise holding ETB and EOT between blocks and in a gap",
         dump(Memory::AllEqual, false, 1, {{Fault::NoiseBefore, 3}, {Fault::NoiseInGap, 4}}), {E::Exact}},
        {"a CR behind the last block", dump(Memory::AllDifferent, false, 2, {{Fault::CrBehind, 7}}),
         {E::Exact, E::Exact}},
        // The good copy of a garbled block equals the block taken before it:
        // the NAK block asked for the garbled block, so its answer is new.
        {"a NAK block for a garbled block asks for that block",
         dump(Memory::AllEqual, false, 1, {{Fault::BlockGarbled, 2}}), {E::Exact}},
        // The first ACK block was never heard: the block that answers the
        // time-out's NAK block may be the first erased block again or the
        // second.
        {"a time-out does not assume that a late answer is coming",
         dump(Memory::EqualRuns, false, 1, {{Fault::OurFrameLost, 2}}), {E::Disturbed}},
        {"a time-out whose block was lost", dump(Memory::EqualRuns, false, 1, {{Fault::BlockLost, 2}}),
         {E::Disturbed}},
        // The answer to the garbled block's NAK block comes later than the
        // time-out: two asks for the same block are open, and both copies
        // arrive.
        {"two asks open for the same block",
         dump(Memory::AllDifferent, true, 1, {{Fault::BlockGarbled, 2}, {Fault::BlockLate, 3}}), {E::Exact}},
        {"two time-outs during a stall of the link",
         dump(Memory::AllDifferent, true, 1, {{Fault::OurFrameLate, 2}, {Fault::BlockLate, 3}}), {E::Exact}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = simline::Run(c.config);
        EXPECT_FALSE(WentWrong(r)) << Explain(c.config);
        EXPECT_EQ(r.endings, c.endings) << Explain(c.config);
    }
}

// Records after a block the bytes could not place go on at the pace of the
// line: only the block right after the fault waits for a time-out. (Record
// blocks differ, as their lines carry their numbers or dates.)
TEST(ExchangeLine, RecordsAfterAnAmbiguityGoOnAtThePaceOfTheLine)
{
    Config config{Kind::History, Memory::AllDifferent, false, 40, 2};
    const Result clean = simline::Run(config);
    ASSERT_EQ(clean.endings, (std::vector<Ending>{Ending::Exact, Ending::Exact}));
    // An ACK block lost early in gas 1: the time-out's NAK block brings the
    // block taken last again, which could also be the next one (equal to
    // it), and that block waits for the next time-out; every later block
    // follows at once.
    config.faults = {{Fault::OurFrameLost, 4}};
    const Result r = simline::Run(config);
    EXPECT_EQ(r.endings, clean.endings) << Explain(config);
    EXPECT_EQ(r.naksSent, 2) << Explain(config);
    EXPECT_LE(r.ticks, clean.ticks + 2 * 10 + 4) << Explain(config);
}

// A seeded campaign over the real control: dumps, calibration histories and
// interval trends of 8 to 60 blocks, two or three downloads in a row on one
// line, up to five faults anywhere, every memory, numbered and unnumbered
// headers. No download may succeed wrongly.
TEST(ExchangeLine, SeededCampaignNeverSucceedsWrongly)
{
    std::mt19937 random(20261211);
    const auto pick = [&](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    std::map<std::string, Tally> tallies;
    Tally all;
    int runs = 0, wrong = 0;
    while (all.Downloads() < 10000) {
        Config c;
        c.kind = static_cast<Kind>(pick(0, 9) < 6 ? 0 : pick(1, 2));
        c.memory = static_cast<Memory>(pick(0, 3));
        if (c.kind == Kind::Interval)
            c.memory = Memory::AllDifferent; // a trend's lines carry their numbers
        c.numbered = pick(0, 1) == 1;
        c.blocks = pick(8, 60);
        c.downloads = c.kind == Kind::History ? 2 : pick(2, 3);
        c.seed = static_cast<std::uint32_t>(random());
        const int places = c.downloads * c.blocks + 6;
        for (int n = pick(0, 5); n > 0; --n)
            c.faults.push_back({kFaults[pick(0, std::size(kFaults) - 1)], pick(1, places)});
        const Result r = simline::Run(c);
        ++runs;
        all.Add(r);
        tallies[std::string(Name(c.kind)) + (c.numbered ? ", numbered" : ", unnumbered")].Add(r);
        if (WentWrong(r) && ++wrong <= 3)
            ADD_FAILURE() << Explain(c);
    }
    EXPECT_EQ(wrong, 0);
    std::cout << runs << " runs, " << all.Downloads() << " downloads: " << all.Text() << "\n";
    for (const auto& [name, tally] : tallies)
        std::cout << "  " << name << ": " << tally.Text() << "\n";
}

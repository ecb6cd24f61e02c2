#pragma once
#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

// Downloads over a line and an instrument simulated tick by tick, in
// process, against the real interface control: the control sends through
// an infrared transport of the simulation's own, the simulation hands the
// instrument our frames and the control the bytes that arrive (one read per
// tick), and calls the control's tick. Several downloads run in a row on
// the one line, so what one request leaves on the line meets the next.
//
// Faults are placed over the run: the n-th frame of ours, or the n-th block
// the instrument sends, counted from the first request on (1-based).
//
// Each download ends exact (every block at its place, checked against what
// the instrument holds, independently of how the program lists or stores
// it), fails cleanly (the old listing kept, nothing collected that the
// instrument did not hold there), or wrong.
namespace simline {

enum class Kind : std::uint8_t {
    Dump,     // memory dumps ("EP,R,"): the listing file is read back
    History,  // the calibration history: gas 1, then gas 2
    Interval, // interval trends ("DR,R,"): the collection is read back
};

enum class Memory : std::uint8_t { AllEqual, EqualRuns, AllDifferent, Random };

enum class Fault : std::uint8_t {
    OurFrameLost, // the n-th frame of ours never reaches the instrument
    OurFrameLate, // it reaches the instrument only after our next frame
    FrameRefused, // the instrument answers it with its refusal (echo + NAK)
                  // and does not act on it: a refused request, ACK or NAK
    NoiseInGap,   // noise holding ETB and EOT arrives on its own while the
                  // program waits for the answer to it
    BlockLost,    // the n-th block the instrument sends never arrives
    BlockGarbled, // it arrives with a wrong checksum
    BlockLate,    // it arrives more than a time-out late, after the next
                  // request went out if that came first
    Stall,        // the line holds it back and delivers it in one read with
                  // the next block the instrument sends
    NoiseBefore,  // noise holding ETB and EOT arrives just ahead of it, in
                  // the same read
    CrBehind,     // a CR follows it in the same read
};
inline constexpr Fault kFaults[] = {Fault::OurFrameLost, Fault::OurFrameLate, Fault::FrameRefused,
                                    Fault::NoiseInGap,   Fault::BlockLost,    Fault::BlockGarbled,
                                    Fault::BlockLate,    Fault::Stall,        Fault::NoiseBefore,
                                    Fault::CrBehind};

struct Placement {
    Fault fault;
    int at;
};

struct Config {
    Kind kind = Kind::Dump;
    Memory memory = Memory::AllDifferent; // dumps and histories
    bool numbered = true;                 // headers number the blocks
    int blocks = 5;                       // per download
    int downloads = 2;                    // a history is two (its gases)
    std::uint32_t seed = 1;               // Memory::Random
    std::vector<Placement> faults;
};

enum class Ending : std::uint8_t {
    Exact,      // done, every block at its place
    Disturbed,  // failed: the blocks could not be told apart or followed
    Failed,     // failed: retries used up
    Wrong,      // done with a wrong result, or a failure that left one
};

struct Result {
    std::vector<Ending> endings; // one per download
    std::string wrong;           // what was wrong; empty when nothing was
    std::string trace;           // what happened, tick by tick (with trace)
    int acksPastEnd = 0;         // ACK blocks heard at a download's last block
    int framesSent = 0;
    int naksSent = 0;            // NAK blocks the program sent
    int ticks = 0;
};

Result Run(const Config& config, bool trace = false);

const char* Name(Fault fault);
const char* Name(Kind kind);
const char* Name(Memory memory);
const char* Name(Ending ending);
std::string Describe(const std::vector<Placement>& faults);

} // namespace simline

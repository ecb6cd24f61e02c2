#pragma once
#include <QByteArray>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// What the blocks of a download answer: the exchange of downloads as a
// model of its own, without I/O. The control tells it when a request
// starts, what it sent and what arrived; the model says what each block
// that passed the frame checks is, and whether an ACK block may follow it.
//
// The instrument keeps one block as its current one. A request makes
// block 0 of its download current and sends it, an ACK block makes the
// next block current and sends it, a NAK block sends the current block
// again. Blocks carry no number the program can rely on, and consecutive
// blocks may be equal byte for byte (an erased region of memory).
//
// The line may lose any frame of ours or any block, garble a block, hold a
// block back for longer than a time-out, and deliver a frame of ours only
// after the one we sent next. A time-out therefore tells nothing: what was
// sent may still be heard, and what was answered may still come. That
// holds across requests too: when a request starts, the instrument may
// still hold a block of the one before, and frames of ours sent for it may
// still be heard and answered with its blocks (stale blocks).
//
// The model follows every reading of the line that fits what the control
// saw. A reading is the instrument's current block (of which request, which
// index), which frames of ours it has yet to hear, and how many blocks the
// program has taken of the current request. A block's verdict is the same
// in every reading (take it, it is a repeat, it is a stale block), or the
// bytes cannot tell. An ACK block is advised only when it asks for the
// block the program needs next in every reading: a second ACK for the same
// block, heard after the first, would make the instrument skip a block.
//
// Readings are merged as they form: of two readings that differ only in
// the frames still to be heard, the one with fewer is dropped when the
// other has all of its frames (losing the rest brings it there), so the
// work per block grows with the frames pending, not with the ways they
// could have fared.
//
// A header that numbers the blocks (its first field counting on by one
// from a first block numbered 1 or more) tells readings apart where the
// bytes are equal. The model relies on it only while every block taken
// confirms it; a block that breaks it after the model has relied on it
// ends the exchange. Without numbers, once a block was taken that the bytes
// could not place, readings that differ only by how many blocks were taken
// (and where the instrument stands by as many) are one: everything to come
// is judged relative to what was taken, as long as no request that would
// start the download over is still to be heard.
class BlockExchange {
public:
    // A frame of ours: the download's request, an ACK block, a NAK block.
    enum class Ask : std::uint8_t { Request, Ack, Nak };

    enum class Verdict : std::uint8_t {
        Take,       // the next block, in every reading
        Repeat,     // a block taken already, sent again, in every reading
        CannotTell, // the next block in some readings, a repeat in others
        Stale,      // no block to take, in every reading: one of an earlier
                    // request, or one the instrument sent past block 0
                    // before this request's block 0 was taken (asking with
                    // the request starts it over)
        MayBeStale, // the next block in some readings, in others one not to
                    // take: never taken on a guess
        Lost,       // no reading fits it, or in one the instrument has run
                    // ahead: the exchange cannot be followed any more
    };

private:
    // What the instrument does when it hears a frame (a Request belongs to
    // the request it started).
    struct Frame {
        Ask ask;
        int request;
    };
    struct Reading {
        int request = -1;       // whose block the instrument holds (-1: none)
        int index = -1;         // which one (kAnyBlock: a stale one)
        std::int64_t from = 0;  // the oldest frame of ours it has yet to hear
        bool skip = false;      // the frame after it was heard already
        int got = 0;            // blocks of the current request taken
        QByteArray lastGot;     // the bytes of block got - 1
    };

public:
    // A block judged but not yet accepted: the control first checks the
    // block's data, and accepts the judgement only when they pass.
    class Judgement {
    public:
        BlockExchange::Verdict Verdict() const { return m_verdict; }
        // After the block is taken, an ACK block asks for the next block
        // needed in every reading.
        bool Ack() const { return m_ack; }

    private:
        friend class BlockExchange;
        enum class Kind : std::uint8_t { New, Repeat, Stale };
        struct Outcome {
            Reading reading; // after the block arrived, before it is taken
            Kind kind;
        };
        BlockExchange::Verdict m_verdict = BlockExchange::Verdict::Lost;
        bool m_ack = false;
        std::vector<Outcome> m_outcomes;
        QByteArray m_block;
        bool m_reliesOnNumbers = false;
        bool m_numbersBroken = false;
        std::optional<std::int64_t> m_number;
    };

    BlockExchange();

    // A new request, before it goes out. echo: the characters its blocks
    // carry after "0001" (the command code, mode and commas). What the line
    // may still hold of the requests before is kept.
    void Start(const QByteArray& echo);
    // A frame of ours went out on the line.
    void Sent(Ask ask);
    // A block of this request's kind that passed the frame checks arrived.
    // number: the first field of its header, when that is a number.
    Judgement Judge(const QByteArray& block, std::optional<std::int64_t> number) const;
    // The block was taken, or counted a repeat, as judged.
    void Accept(const Judgement& judgement);
    // The block was not taken: its data failed, or it may belong to another
    // request. The instrument moved as judged; the program has no more.
    void Decline(const Judgement& judgement);
    // A block arrived that failed the checks (its bytes tell nothing).
    void Garbled();
    // A checked frame of another command arrived: a block of ours whose
    // place an answer of another kind took, a stale block of another kind,
    // or the late answer of another request.
    void Foreign();
    // An answer without a block (a refusal, a bare CR): a frame of ours
    // that the instrument did not act on, or noise on the line.
    void Refused();

    // For tests and benchmarks: how many readings the model follows, and
    // the most frames of ours that one of them has yet to hear.
    std::size_t Readings() const { return m_readings.size(); }
    std::size_t Pending() const;

private:
    struct State; // a reading's instrument and the frames it has yet to hear
    // Every state the line can reach from a reading by frames heard or lost
    // whose blocks (if any) were lost; visit(state, block) for each frame
    // heard on the way, with the block it sends (request -1: none).
    // reached(state) for each state on the way, the reading's own first.
    template <class Visit, class Reached>
    void Explore(const Reading& r, Visit&& visit, Reached&& reached) const;
    // The readings in which a block (of ours or a stale one) arrives now.
    std::vector<Reading> Arrivals() const;
    static Reading With(const Reading& r, const State& s);
    const Frame& At(std::int64_t position) const;
    std::int64_t End() const;
    bool EchoFits(int request, const QByteArray& block) const;
    // How far the instrument's block of this request can get by the frames
    // it has yet to hear, at most (kNever: a request of another download
    // may still reset it).
    int Reach(const Reading& r) const;
    // A request the reading has yet to hear would start a download over:
    // where the instrument then stands is no longer relative to what was
    // taken.
    bool RequestPending(const Reading& r) const;
    // Drops every item whose reading another covers: the same in all but
    // the frames still to be heard, of which the other has all (tag: what
    // else must be the same).
    template <class T, class Get, class Tag>
    void Merge(std::vector<T>& items, Get reading, Tag tag) const;
    void Keep(std::vector<Reading> readings);
    void Resolve(const Judgement& judgement, bool taken);

    std::vector<Reading> m_readings;
    std::deque<Frame> m_sent;    // every frame some reading has yet to hear
    std::int64_t m_base = 0;     // the position of m_sent.front()
    int m_request = -1;          // the current request
    std::int64_t m_requestStart = 0;
    std::vector<QByteArray> m_echoes; // by request
    bool m_lost = false;
    // The bytes of the blocks taken, by index, up to the first block taken
    // though the bytes could not place it: until then every reading agrees
    // on which block each was, and a later one changes none of them.
    std::vector<QByteArray> m_taken;
    bool m_alignKnown = true;
    // The header's number of block 0, once known to count the blocks.
    std::optional<std::int64_t> m_numberBase;
    bool m_numbersOff = false;
    bool m_reliedOnNumbers = false;
};

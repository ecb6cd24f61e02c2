#pragma once
#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

// What the blocks of a download answer: the exchange of a download as a
// model of its own, without I/O. The control tells it what it sent and
// what arrived; the model says what each block that passed the checks is,
// and whether an ACK block may follow it.
//
// The instrument keeps one block as its current one. The request makes
// block 0 current and sends it, an ACK block makes the next block current
// and sends it, a NAK block sends the current block again. Blocks carry no
// number the program can rely on, and consecutive blocks may be equal byte
// for byte (an erased region of memory).
//
// The line may lose any frame of ours or any block, garble a block, hold a
// block back for longer than a time-out, and deliver a frame of ours only
// after the one we sent next. A time-out therefore tells nothing: what was
// sent may still be heard, and what was answered may still come.
//
// The model follows every reading of the line that fits what the control
// saw. A reading is what the instrument's current block is, which frames of
// ours it has yet to hear, and how many blocks the program has got. A
// block's verdict is the same in every reading (take it, or it is a
// repeat), or the bytes cannot tell. An ACK block is advised only when it
// asks for the block the program needs next in every reading: a second ACK
// for the same block, heard after the first, would make the instrument
// skip a block.
//
// A header that numbers the blocks (its first field counting on by one
// from a first block numbered 1 or more) tells readings apart where the
// bytes are equal.
// The model relies on it only while every block taken confirms it; a block
// that breaks it after the model has relied on it ends the exchange.
class BlockExchange {
public:
    // A frame of ours: the download's request, an ACK block, a NAK block.
    enum class Ask : std::uint8_t { Request, Ack, Nak };

    enum class Verdict : std::uint8_t {
        Take,       // the next block, in every reading
        Repeat,     // a block taken already, sent again, in every reading
        CannotTell, // the next block in some readings, a repeat in others
        Lost,       // no reading fits it, or in one the instrument has run
                    // ahead: the exchange cannot be followed any more
    };

private:
    struct Outgoing {
        Ask ask;
        bool overtaken; // the frame sent after it was heard first
        bool operator==(const Outgoing&) const = default;
    };
    struct Reading {
        int current = -1;       // the instrument's current block (-1: none)
        std::vector<Outgoing> toHear; // frames of ours not heard yet, oldest first
        int got = 0;            // blocks the program has got
        QByteArray lastGot;     // the bytes of block got - 1
        bool operator==(const Reading&) const = default;
    };

public:
    // A block judged but not yet accepted: the control first checks the
    // block's data, and accepts the judgement only when they pass.
    class Judgement {
    public:
        BlockExchange::Verdict Verdict() const { return m_verdict; }
        // After the block, an ACK block asks for the next block needed in
        // every reading.
        bool Ack() const { return m_ack; }

    private:
        friend class BlockExchange;
        BlockExchange::Verdict m_verdict = BlockExchange::Verdict::Lost;
        bool m_ack = false;
        std::vector<Reading> m_readings;
        bool m_reliesOnNumbers = false;
        bool m_numbersBroken = false;
        std::optional<std::int64_t> m_number;
    };

    // A new download, before its request goes out.
    void Start();
    // A frame of ours went out on the line.
    void Sent(Ask ask);
    // A block that passed the frame checks arrived. number: the first field
    // of its header, when that is a number.
    Judgement Judge(const QByteArray& block, std::optional<std::int64_t> number) const;
    // The block was taken, or counted a repeat, as judged.
    void Accept(const Judgement& judgement);
    // A block arrived that failed the checks (its bytes tell nothing).
    void Garbled();
    // An answer without a block (a refusal, a bare CR): a frame of ours
    // that the instrument did not act on, or noise on the line.
    void Refused();

    // For tests: how many readings the model follows.
    std::size_t Readings() const { return m_readings.size(); }

private:
    // What the instrument does on hearing ask: its current block changes,
    // and the block it sends, if any.
    static std::optional<int> Hear(int& current, Ask ask);
    // Each way in which ask is the next frame of ours the instrument acts
    // on: the frames before it lost, or it heard ahead of the one before it.
    template <class Visit>
    static void NextHeard(const Reading& r, Visit&& visit);
    // Each reading in which a block arrives now, with the block's index.
    template <class Found>
    static void Arrivals(const Reading& r, Found&& found);
    template <class Found>
    static void Unanswered(const Reading& r, Found&& found);
    // How far the instrument's current block can get by the frames it has
    // yet to hear, at most.
    static int Reach(const Reading& r);
    void Keep(std::vector<Reading> readings);

    std::vector<Reading> m_readings;
    bool m_lost = false;
    // The header's number of block 0, once known to count the blocks.
    std::optional<std::int64_t> m_numberBase;
    bool m_numbersOff = false;
    bool m_reliedOnNumbers = false;
};

// The exchange model's verdicts on single blocks, where the reason is plain.
// Downloads through the control over a simulated line, with every placement
// of up to two line faults, are in test_exchange_line.cpp.
#include "interface/block_exchange.h"
#include "interface/frame.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

using Ask = BlockExchange::Ask;
using Verdict = BlockExchange::Verdict;

// ---- the download -------------------------------------------------------

enum class Memory { AllEqual, EqualRuns, AllDifferent };

constexpr int kBlocks = 7;

// Block index of a download of kBlocks blocks, as the instrument sends it:
// the header numbers the blocks or carries zeros, the data follow the
// memory, the last block ends in EOT.
QByteArray BlockFrame(int index, Memory memory, bool numbered)
{
    static const char kRuns[] = "AAABCCD"; // erased blocks, then data
    char data = 'F';
    if (memory == Memory::EqualRuns)
        data = kRuns[index];
    else if (memory == Memory::AllDifferent)
        data = static_cast<char>('A' + index);
    const QByteArray header = numbered ? QByteArray::number(index + 1).rightJustified(4, '0') : QByteArray("0000");
    const QByteArray text = "EP,R," + header + ',' + QByteArray::number(kBlocks).rightJustified(4, '0') + ",00,"
                            + QByteArray(32, data);
    return FromStx(BuildFrame(text, index + 1 == kBlocks ? Wire::EOT : Wire::ETB));
}

} // namespace

TEST(BlockExchange, VerdictsAndAcks)
{
    const QByteArray x = BlockFrame(0, Memory::AllEqual, false);
    const QByteArray y = BlockFrame(1, Memory::AllDifferent, false);
    const QByteArray n0 = BlockFrame(0, Memory::AllEqual, true); // numbered, equal data
    const QByteArray n1 = BlockFrame(1, Memory::AllEqual, true);
    struct Step {
        enum { Send, Block, Bad, Refusal } what;
        Ask ask = Ask::Nak;
        QByteArray bytes = {};
        Verdict verdict = Verdict::Take;
        bool ack = false;
    };
    using S = Step;
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"blocks in answer to ACK blocks are new, equal or not",
         {{S::Send, Ask::Request}, {S::Block, {}, x, Verdict::Take, true}, {S::Send, Ask::Ack},
          {S::Block, {}, x, Verdict::Take, true}, {S::Send, Ask::Ack}, {S::Block, {}, y, Verdict::Take, true}}},
        {"a garbled block's NAK is answered by that block",
         {{S::Send, Ask::Request}, {S::Block, {}, x, Verdict::Take, true}, {S::Send, Ask::Ack}, {S::Bad},
          {S::Send, Ask::Nak}, {S::Block, {}, x, Verdict::Take, true}}},
        {"after a time-out an equal block cannot be placed",
         {{S::Send, Ask::Request}, {S::Block, {}, x, Verdict::Take, true}, {S::Send, Ask::Ack},
          {S::Send, Ask::Nak}, {S::Block, {}, x, Verdict::CannotTell, false}}},
        {"after a time-out a different block is the next one",
         {{S::Send, Ask::Request}, {S::Block, {}, x, Verdict::Take, true}, {S::Send, Ask::Ack},
          {S::Send, Ask::Nak}, {S::Block, {}, y, Verdict::Take, true}}},
        {"the repeat of a taken block gets no second ACK block while the first may still be heard",
         {{S::Send, Ask::Request}, {S::Block, {}, n0, Verdict::Take, true}, {S::Send, Ask::Ack},
          {S::Send, Ask::Nak}, {S::Block, {}, n1, Verdict::Take, true}, {S::Send, Ask::Ack},
          {S::Block, {}, n1, Verdict::Repeat, false}}},
        {"a numbered repeat after a lost ACK block is acknowledged once the ACK cannot come late",
         {{S::Send, Ask::Request}, {S::Block, {}, n0, Verdict::Take, true}, {S::Send, Ask::Ack},
          {S::Send, Ask::Nak}, {S::Block, {}, n0, Verdict::Repeat, false}, {S::Send, Ask::Nak},
          {S::Block, {}, n0, Verdict::Repeat, true}, {S::Send, Ask::Ack}, {S::Block, {}, n1, Verdict::Take, true}}},
        {"a refusal leaves the block to be asked for again",
         {{S::Send, Ask::Request}, {S::Block, {}, x, Verdict::Take, true}, {S::Send, Ask::Ack}, {S::Refusal},
          {S::Send, Ask::Nak}, {S::Block, {}, y, Verdict::Take, true}}},
        {"a block that no reading explains loses the exchange",
         {{S::Send, Ask::Request}, {S::Block, {}, x, Verdict::Take, true}, {S::Block, {}, y, Verdict::Lost, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BlockExchange model;
        model.Start("EP,R,");
        int n = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(++n);
            switch (s.what) {
            case S::Send: model.Sent(s.ask); break;
            case S::Bad: model.Garbled(); break;
            case S::Refusal: model.Refused(); break;
            case S::Block: {
                const auto judged = model.Judge(s.bytes, BlockHeaderNumber(s.bytes));
                EXPECT_EQ(judged.Verdict(), s.verdict);
                EXPECT_EQ(judged.Ack(), s.ack);
                model.Accept(judged);
                break;
            }
            }
        }
    }
}

// A header that numbers the blocks places an equal block; a header that
// stops numbering after the model relied on it ends the exchange.
TEST(BlockExchange, NumberedHeadersAreReliedOnOnlyWhileTheyHold)
{
    const auto frame = [](int number, char data) {
        return FromStx(BuildFrame("EP,R," + QByteArray::number(number).rightJustified(4, '0') + ",0000,00,"
                                      + QByteArray(32, data),
                                  Wire::ETB));
    };
    BlockExchange model;
    model.Start("EP,R,");
    model.Sent(Ask::Request);
    auto judged = model.Judge(frame(1, 'F'), 1);
    ASSERT_EQ(judged.Verdict(), Verdict::Take);
    model.Accept(judged);
    model.Sent(Ask::Ack);
    // Two time-outs: by the number, each answer is block 0 again.
    for (bool ack : {false, true}) {
        model.Sent(Ask::Nak);
        judged = model.Judge(frame(1, 'F'), 1);
        EXPECT_EQ(judged.Verdict(), Verdict::Repeat);
        EXPECT_EQ(judged.Ack(), ack);
        model.Accept(judged);
    }
    model.Sent(Ask::Ack);
    // A block that breaks the numbering now cannot be trusted: the repeats
    // may have been new blocks with a header that counts nothing.
    EXPECT_EQ(model.Judge(frame(1, 'F'), 1).Verdict(), Verdict::Lost);

    // A header that never numbered anything is dropped before it is relied
    // on (on a line with nothing of an earlier request left on it).
    model = BlockExchange();
    model.Start("EP,R,");
    model.Sent(Ask::Request);
    judged = model.Judge(frame(7, 'A'), 7);
    model.Accept(judged);
    model.Sent(Ask::Ack);
    judged = model.Judge(frame(7, 'B'), 7);
    EXPECT_EQ(judged.Verdict(), Verdict::Take);
    model.Accept(judged);
    model.Sent(Ask::Ack);
    model.Sent(Ask::Nak);
    EXPECT_EQ(model.Judge(frame(7, 'B'), 7).Verdict(), Verdict::CannotTell);
}

// A request starts on a line that may still hold what the one before left:
// a block its frames may still bring is never taken into the new request.
TEST(BlockExchange, BlocksOfAnEarlierRequestAreNeverTaken)
{
    const auto block = [](const char* echo, int index) {
        return FromStx(BuildFrame(QByteArray(echo) + "0000,0000,00," + QByteArray(32, char('A' + index)), Wire::ETB));
    };
    // The earlier dump took block 0; its ACK block and a time-out's NAK
    // block may still be heard.
    BlockExchange model;
    model.Start("EP,R,");
    model.Sent(Ask::Request);
    model.Accept(model.Judge(block("EP,R,", 0), 0));
    model.Sent(Ask::Ack);
    model.Sent(Ask::Nak);

    // A request of another kind: a block with its echo is its own.
    BlockExchange other = model;
    other.Start("EF,R,");
    other.Sent(Ask::Request);
    EXPECT_EQ(other.Judge(block("EF,R,", 0), 0).Verdict(), Verdict::Take);

    // The same request again: the block may answer either. It is asked for
    // again until no frame of the earlier request can be heard any more.
    model.Start("EP,R,");
    model.Sent(Ask::Request);
    int asked = 0;
    for (;; ++asked) {
        ASSERT_LT(asked, 5);
        const auto judged = model.Judge(block("EP,R,", 0), 0);
        if (judged.Verdict() == Verdict::Take)
            break;
        ASSERT_EQ(judged.Verdict(), Verdict::MayBeStale);
        model.Decline(judged);
        model.Sent(Ask::Request);
    }
    EXPECT_GE(asked, 2); // the ACK block and the NAK block
}

// Every frame of ours still to be heard is kept, but readings merge as they
// form: a block judged after many time-outs follows one reading.
TEST(BlockExchange, ManyFramesPendingAreFollowedAsOneReading)
{
    const QByteArray first = BlockFrame(0, Memory::AllDifferent, false);
    const QByteArray second = BlockFrame(1, Memory::AllDifferent, false);
    for (int naks : {16, 64, 32767}) {
        SCOPED_TRACE(naks);
        BlockExchange model;
        model.Start("EP,R,");
        model.Sent(Ask::Request);
        model.Accept(model.Judge(first, 0));
        model.Sent(Ask::Ack);
        for (int i = 0; i < naks; ++i)
            model.Sent(Ask::Nak);
        EXPECT_EQ(model.Readings(), 1u);
        EXPECT_EQ(model.Pending(), static_cast<std::size_t>(naks + 1));
        const auto judged = model.Judge(second, 0);
        EXPECT_EQ(judged.Verdict(), Verdict::Take);
        model.Accept(judged);
        EXPECT_LE(model.Readings(), 2u);
    }
}

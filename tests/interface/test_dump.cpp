// Dump lists: the flash-ROM and FRAM contents written as a hex listing with
// an ASCII column, over a pseudo-terminal against the fake instrument.
#include "common/clock.h"
#include "common/dates.h"
#include "fault_run.h"
#include "link_fixture.h"

#include <QDir>
#include <algorithm>

using Fault = FakeInstrument::Fault;

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// 20 lines of memory: "ABC", a NUL, DEL and 0x80 in the first line.
QByteArray Memory()
{
    QByteArray bytes;
    for (int i = 0; i < 320; ++i)
        bytes.append(static_cast<char>((i * 7 + 0x20) & 0xFF));
    bytes.replace(0, 6, QByteArray("ABC\x00\x7F\x80", 6));
    return bytes;
}

class DumpTest : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        SetClock([] { return MakeDate(2024, 3, 5, 14, 7, 9); });
    }
    void TearDown() override
    {
        SetClock({});
        LinkFixture::TearDown();
    }
};

} // namespace

TEST_F(DumpTest, ListLayoutMatchesTheExpectedFile)
{
    Connect();
    fake.SetDump("EP,R,", Memory(), 100); // four blocks, the last one short
    QSignalSpy progress(ctl.get(), &QvifPort::DumpMessage);
    const QString path = home.file(QStringLiteral("Dump.dat"));
    ASSERT_TRUE(ctl->GetRomDump(path));
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_EQ(fake.Commands().first(), QByteArray("EP,R,"));
    EXPECT_EQ(fake.Commands().size(), 4);

    const QByteArray expected = ReadFile(QStringLiteral(PELKAR_SOURCE_DIR "/tests/interface/data/dump_expected.dat"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(ReadFile(path), expected);
    ASSERT_EQ(progress.count(), 2);
    EXPECT_EQ(progress.at(0).at(0).toString(), QStringLiteral("Get Dump 000000-0000FF"));
    EXPECT_EQ(progress.at(1).at(0).toString(), QStringLiteral("Get Dump 000100-0001FF"));
    EXPECT_TRUE(SerialLogText().contains("--- Dump List Download Started. ---(2024/03/05 14:07:09)"));
}

TEST_F(DumpTest, FramListAndFailures)
{
    Connect();
    // Exactly 16 lines: one block, no filler; FRAM title.
    fake.SetDump("EF,R,", QByteArray(256, '\x41'));
    const QString path = home.file(QStringLiteral("DumpEF.dat"));
    ASSERT_TRUE(ctl->GetRomDump2(path));
    const QList<QByteArray> lines = ReadFile(path).split('\n');
    EXPECT_EQ(lines.at(1), QByteArray(";\tFRAM Dump List 2024/03/05 14:07:09\r"));
    EXPECT_EQ(lines.size(), 4 + 19 + 2 + 1);
    EXPECT_EQ(lines.at(21), QByteArray("0000F0 41 41 41 41 41 41 41 41  41 41 41 41 41 41 41 41   AAAAAAAAAAAAAAAA\r"));

    // No data at all: only the head and the tail.
    fake.SetDump("EF,R,", QByteArray());
    ASSERT_TRUE(ctl->GetRomDump2(path));
    EXPECT_EQ(ReadFile(path).count('\n'), 6);

    // A silent instrument: false, state 2, and the listing before it stays
    // as it was (a failed download lists nothing at its addresses).
    const QByteArray before = ReadFile(path);
    fake.AddFault(Fault::Silence, 1, -1);
    fake.ClearFrames();
    EXPECT_FALSE(ctl->GetRomDump(path));
    EXPECT_EQ(ctl->Status(), 2);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_FALSE(ctl->LineDisturbed());

    // A file that cannot be written: nothing is asked of the instrument.
    fake.ClearFaults();
    fake.ClearFrames();
    EXPECT_FALSE(ctl->GetRomDump(home.file(QStringLiteral("no/such/folder/Dump.dat"))));
    EXPECT_TRUE(fake.Commands().isEmpty());
}

// An erased memory whose blocks carry no number goes out over the serial
// line as equal blocks, each the answer to an ACK block: every block is
// listed once, each line at its address. With an ACK lost on the way, the
// block that answers the NAK after the time-out is either the next erased
// block or the last one again, and nothing tells which: the download fails,
// the old listing stays, and the control says the line was disturbed.
TEST_F(DumpTest, ErasedMemoryOfEqualBlocksIsListedWholeOrNotAtAll)
{
    Connect();
    // Three equal erased blocks, then one of data.
    fake.SetDump("EF,R,", QByteArray(384, '\xFF') + QByteArray(128, 'A'), 128);
    fake.AddFaultOn(Fault::UnnumberedBlocks, "EF,R,");
    const QByteArray ack("EF,R,\x06");
    const QString path = home.file(QStringLiteral("DumpEF.dat"));
    ASSERT_TRUE(ctl->GetRomDump2(path));
    const QByteArray list = ReadFile(path);
    const QByteArray erased = " FF FF FF FF FF FF FF FF  FF FF FF FF FF FF FF FF   ................\r\n";
    const QByteArray data = " 41 41 41 41 41 41 41 41  41 41 41 41 41 41 41 41   AAAAAAAAAAAAAAAA\r\n";
    for (int address = 0; address < 512; address += 16) {
        const QByteArray at = QByteArray::number(address, 16).toUpper().rightJustified(6, '0');
        EXPECT_TRUE(list.contains(at + (address < 384 ? erased : data))) << at.constData();
    }
    EXPECT_EQ(list.count(erased), 24);
    EXPECT_EQ(list.count(data), 8);
    EXPECT_EQ(fake.Commands().count(ack), 3); // one ACK block per block with more to follow

    fake.ClearFrames();
    fake.AddFaultOn(Fault::UnnumberedBlocks, "EF,R,");
    fake.AddFaultOn(Fault::Silence, ack, 2);
    EXPECT_FALSE(ctl->GetRomDump2(path));
    EXPECT_EQ(ctl->Status(), 2);
    EXPECT_TRUE(ctl->LineDisturbed());
    EXPECT_EQ(ReadFile(path), list);
    EXPECT_TRUE(Log().contains(QStringLiteral("<<< Blocks cannot be told apart >>>")));
}

// A handful of line faults over the serial line, against the fake
// instrument (the model-driven test tries every placement): a dump either
// lists every line at its address, the instrument having heard one ACK block
// per block with more to follow, or fails, keeping the old listing and
// saying the line was disturbed. With numbered blocks each single fault is
// mended by asking again.
TEST_F(DumpTest, LineFaultsEndInAnExactListingOrKeepTheOldOne)
{
    Connect();
    // Six blocks: data, three erased blocks, data, data.
    constexpr int kBlockBytes = 64;
    constexpr int kBlocks = 6;
    QByteArray memory;
    for (int i = 0; i < kBlockBytes; ++i)
        memory.append(static_cast<char>(0x30 + i % 40));
    memory.append(QByteArray(3 * kBlockBytes, '\xFF'));
    memory.append(QByteArray(kBlockBytes, 'A') + QByteArray(kBlockBytes, 'B'));
    fake.SetDump("EP,R,", memory, kBlockBytes);
    const QString path = home.file(QStringLiteral("Dump.dat"));
    ASSERT_TRUE(ctl->GetRomDump(path));
    const QByteArray expected = ReadFile(path);
    ASSERT_EQ(expected.count("\r\n000"), 2 * 16); // 24 lines and 8 of filler

    const QByteArray ack("EP,R,\x06");
    const QByteArray nak("EP,R,\x15");
    struct Case {
        const char* name;
        bool numbered;
        std::function<void()> arrange;
        int outcome; // 1 listed, 0 kept the old listing, -1 either
    };
    const Case cases[] = {
        {"our ACK block lost", true, [&] { fake.AddFaultOn(Fault::Silence, ack, 2); }, 1},
        {"a block lost on the way", true, [&] { fake.AddFaultOn(Fault::AnswerLost, ack, 2); }, 1},
        {"a block garbled", true, [&] { fake.AddFaultOn(Fault::BadChecksum, ack, 2); }, 1},
        {"a block late by more than a time-out", true, [&] { fake.AddFaultOn(Fault::LateBlock, ack, 2); }, 1},
        {"our ACK block heard after our next frame", true, [&] { fake.AddFaultOn(Fault::FrameHeld, ack, 2); }, 1},
        {"our ACK block lost, unnumbered", false, [&] { fake.AddFaultOn(Fault::Silence, ack, 4); }, -1},
        {"a block late, unnumbered", false, [&] { fake.AddFaultOn(Fault::LateBlock, ack, 4); }, -1},
        // The good copy of a garbled erased block equals the block before it:
        // the NAK asked for the garbled block, so the copy is new.
        {"a NAK for a garbled block asks for that block", false,
         [&] { fake.AddFaultOn(Fault::BadChecksum, ack, 2); }, 1},
        // Three erased blocks, then data; the ACK block for the second erased
        // block is never heard: the answer to the time-out's NAK is the first
        // erased block again or the second, and nothing tells which.
        {"a time-out does not assume that a late answer is coming", false,
         [&] { fake.AddFaultOn(Fault::Silence, ack, 2); }, 0},
        // The answer to the garbled block's NAK is late: two asks for one
        // block are open, and both copies come.
        {"two asks open for the same block", true,
         [&] {
             fake.AddFaultOn(Fault::BadChecksum, ack, 2);
             fake.AddFaultOn(Fault::LateBlock, nak, 1);
         },
         1},
    };
    const QByteArray old = "an older listing\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartFaultRun(fake, home.file(QStringLiteral("SerialLog.log")), path, old);
        if (!c.numbered)
            fake.AddFaultOn(Fault::UnnumberedBlocks, "EP,R,");
        c.arrange();
        const bool listed = ctl->GetRomDump(path);
        if (c.outcome >= 0) {
            EXPECT_EQ(listed, c.outcome == 1) << Log().toStdString();
        }
        if (listed) {
            EXPECT_EQ(ReadFile(path).toStdString(), expected.toStdString());
            EXPECT_EQ(fake.AcksHeard(), kBlocks - 1);
        } else {
            EXPECT_EQ(ReadFile(path), old);
            EXPECT_TRUE(ctl->LineDisturbed()) << Log().toStdString();
        }
    }
}

// A dump after another takes nothing of the dump before (each case on a
// control of its own, after one undisturbed dump). A request refused after a
// good dump is asked for again with the request itself (a NAK block could
// bring back a block of the dump before). A block of a failed dump, heard
// only after the next request, is never listed. The second dump lists its
// memory exactly or keeps the old listing.
namespace {

struct NextDumpCase {
    const char* name;
    bool numbered;
    void (*arrange)(FakeInstrument&); // the faults over both dumps
    bool firstListed;
    bool mustList; // the second dump lists; otherwise it may fail cleanly
    bool refused;  // the second dump's request is refused once
};

void PrintTo(const NextDumpCase& c, std::ostream* os) { *os << c.name; }

class NextDumpTest : public DumpTest, public ::testing::WithParamInterface<NextDumpCase> {};

const QByteArray kRequest("EP,R,");
const QByteArray kAck("EP,R,\x06");
const QByteArray kNak("EP,R,\x15");

void RefuseTheSecondRequest(FakeInstrument& f)
{
    f.AddFaultOn(Fault::NakRefusal, kRequest, 2);
}

// The instrument moved on to block 1, but its answers were lost until the
// time-outs ended the dump; the answer to the last NAK block comes after the
// next request.
void HoldTheNextBlockIntoTheNextRequest(FakeInstrument& f)
{
    f.AddFaultOn(Fault::AnswerLost, kAck, 1);
    f.AddFaultOn(Fault::Silence, kNak, 1, 2);
    f.AddFaultOn(Fault::HeldIntoNextRequest, kNak, 3);
}

// The ACK block was never heard: the late block is block 0 again.
void HoldARepeatIntoTheNextRequest(FakeInstrument& f)
{
    f.AddFaultOn(Fault::Silence, kAck, 1);
    f.AddFaultOn(Fault::Silence, kNak, 1, 2);
    f.AddFaultOn(Fault::HeldIntoNextRequest, kNak, 3);
}

} // namespace

TEST_P(NextDumpTest, TakesNoBlockOfTheOneBefore)
{
    const NextDumpCase& c = GetParam();
    Connect();
    constexpr int kBlockBytes = 100; // four blocks, the last one short
    constexpr int kBlocks = 4;
    // After a failed dump the next one reads other memory: a block of the
    // failed one listed in it would show.
    const QByteArray first = Memory();
    QByteArray second = first;
    if (!c.firstListed)
        std::reverse(second.begin(), second.end());
    const QString path = home.file(QStringLiteral("Dump.dat"));
    fake.SetDump("EP,R,", second, kBlockBytes);
    ASSERT_TRUE(ctl->GetRomDump(path));
    const QByteArray expected = ReadFile(path);

    const QByteArray old = "an older listing\r\n";
    StartFaultRun(fake, home.file(QStringLiteral("SerialLog.log")), path, old);
    // A fault rule takes the frames it fits, in the order added.
    c.arrange(fake);
    if (!c.numbered)
        fake.AddFaultOn(Fault::UnnumberedBlocks, kRequest, 1, -1);
    fake.SetDump("EP,R,", first, kBlockBytes);
    ASSERT_EQ(ctl->GetRomDump(path), c.firstListed) << Log().toStdString();
    const QByteArray before = ReadFile(path);
    const qsizetype asked = fake.Commands().size();
    const int acksBefore = fake.AcksHeard();
    fake.SetDump("EP,R,", second, kBlockBytes);

    const bool listed = ctl->GetRomDump(path);
    if (c.mustList) {
        EXPECT_TRUE(listed) << Log().toStdString();
    }
    if (listed) {
        EXPECT_EQ(ReadFile(path).toStdString(), expected.toStdString());
        EXPECT_EQ(ctl->Status(), 6);
        EXPECT_EQ(fake.AcksHeard() - acksBefore, kBlocks - 1);
    } else {
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(ctl->Status(), 2);
    }
    // Until block 0 is taken only the request asks for it; no block of the
    // second dump needed a NAK block.
    const QList<QByteArray> commands = fake.Commands().mid(asked);
    const qsizetype firstAck = commands.indexOf(kAck);
    EXPECT_EQ(commands.mid(0, firstAck).count(kRequest), firstAck < 0 ? commands.size() : firstAck)
        << Log().toStdString();
    EXPECT_GE(commands.count(kRequest), c.refused ? 2 : 1);
    EXPECT_FALSE(commands.contains(kNak)) << Log().toStdString();
    // The late block came during the second dump and was turned away.
    if (!c.firstListed) {
        EXPECT_TRUE(Log().contains(QStringLiteral(" of an earlier request >>>"))) << Log().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, NextDumpTest,
    ::testing::Values(NextDumpCase{"RefusedRequest", true, RefuseTheSecondRequest, true, true, true},
                      NextDumpCase{"RefusedRequestUnnumbered", false, RefuseTheSecondRequest, true, true, true},
                      NextDumpCase{"NextBlockOfAFailedDump", true, HoldTheNextBlockIntoTheNextRequest, false, false, false},
                      NextDumpCase{"NextBlockOfAFailedDumpUnnumbered", false, HoldTheNextBlockIntoTheNextRequest, false,
                                   false, false},
                      NextDumpCase{"RepeatOfAFailedDumpsBlock", true, HoldARepeatIntoTheNextRequest, false, false, false},
                      NextDumpCase{"RepeatOfAFailedDumpsBlockUnnumbered", false, HoldARepeatIntoTheNextRequest, false,
                                   false, false}),
    [](const ::testing::TestParamInfo<NextDumpCase>& info) { return info.param.name; });

// The last block and its repeat in one read (a converter that stalled and
// then flushed both): the answer to the last ACK block is held until the
// time-out's NAK block has been answered too. The first copy ends the dump;
// the second is dropped, neither listed again at address 000000 nor
// acknowledged.
namespace {
class FlushedLastBlockTest : public DumpTest, public ::testing::WithParamInterface<bool> {};
} // namespace

TEST_P(FlushedLastBlockTest, IsListedOnce)
{
    const bool numbered = GetParam();
    Connect();
    fake.SetDump("EP,R,", Memory(), 100); // four blocks, the last one short
    const QString path = home.file(QStringLiteral("Dump.dat"));
    ASSERT_TRUE(ctl->GetRomDump(path));
    const QByteArray expected = ReadFile(path);

    StartFaultRun(fake, home.file(QStringLiteral("SerialLog.log")), path, "an older listing\r\n");
    if (!numbered)
        fake.AddFaultOn(Fault::UnnumberedBlocks, kRequest, 1, -1);
    fake.AddFaultOn(Fault::FlushedWithNext, kAck, 3);
    EXPECT_TRUE(ctl->GetRomDump(path)) << Log().toStdString();
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_EQ(ReadFile(path).toStdString(), expected.toStdString());
    EXPECT_EQ(fake.Commands(), (QList<QByteArray>{kRequest, kAck, kAck, kAck, kNak})) << Log().toStdString();
    EXPECT_TRUE(Log().contains(QStringLiteral("<<< Not part of a request: dropped >>>")));
}

INSTANTIATE_TEST_SUITE_P(Headers, FlushedLastBlockTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Numbered" : "Unnumbered";
                         });

// The receive path and the IrDA events, over the fake infrared link (no
// port): frames (STX to ETB or EOT) are cut from the noise around them,
// acknowledged, refused or resent.
#include "common/appstate.h"
#include "common/clock.h"
#include "common/dates.h"
#include "fake_instrument.h"
#include "fake_irda.h"
#include "fault_run.h"
#include "interface/frame.h"
#include "interface/uclQvif.h"
#include "records/instrument.h"
#include "temp_home.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Five dump blocks of 64 bytes: data, three erased blocks (all 0xFF), data.
// Without block numbers in their headers the erased blocks go out as equal
// frames.
constexpr int kBlockBytes = 64;
constexpr int kBlocks = 5;

QByteArray MemoryWithErasedRegion()
{
    QByteArray bytes;
    for (int i = 0; i < kBlockBytes; ++i)
        bytes.append(static_cast<char>(0x30 + i % 40));
    bytes.append(QByteArray(3 * kBlockBytes, '\xFF'));
    for (int i = 0; i < kBlockBytes; ++i)
        bytes.append(static_cast<char>(0x41 + i % 26));
    return bytes;
}

class ReceiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAppState();
        auto irda = std::make_unique<FakeIrda>();
        link = irda.get();
        ctl = std::make_unique<uclQvif>(nullptr, std::move(irda));
        ctl->SetTimerEnabled(false);
        ctl->SetSerialFileNo(1);
        ctl->SetInstrumentRef(&inst);
    }
    // A connected infrared link without a name: connected at once.
    void ConnectIrda()
    {
        link->FindDevice(QString());
        ASSERT_TRUE(ctl->Connected());
    }
    void TearDown() override { SetClock({}); }
    QByteArray Log() const
    {
        QFile f(home.file(QStringLiteral("SerialLog.log")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The fake instrument in-process on the link, holding the memory with an
    // erased region; a fast tick and a short time-out. Returns the listing
    // of an undisturbed dump.
    QByteArray AttachForDumps(FakeInstrument& fake)
    {
        SetClock([] { return MakeDate(2024, 3, 5, 14, 7, 9); });
        link->Attach(&fake);
        ConnectIrda();
        ctl->SetTickInterval(10);
        ctl->SetTimeout(1);
        ctl->SetTimerEnabled(true);
        fake.SetDump("EP,R,", MemoryWithErasedRegion(), kBlockBytes);
        const QString reference = home.file(QStringLiteral("Reference.dat"));
        EXPECT_TRUE(ctl->GetRomDump(reference));
        return ReadAll(reference);
    }

    TempHome home;
    clsInstrument inst;
    FakeIrda* link = nullptr;
    std::unique_ptr<uclQvif> ctl;
};

} // namespace

TEST_F(ReceiveTest, CrInsideABlockIsDataNotARequestForAResend)
{
    ConnectIrda();
    ctl->SetStatus(4);
    ctl->DataSend(BuildFrame("XZ,R,", Wire::EOT), true);
    const QByteArray answer = BuildFrame("XZ,R,AB\rCD", Wire::EOT);
    const qsizetype cr = answer.indexOf('\r');
    ctl->ReceiveData(answer.left(cr + 1), true);
    EXPECT_EQ(link->Written().size(), 1); // no resend
    EXPECT_EQ(ctl->Status(), 4);
    ctl->ReceiveData(answer.mid(cr + 1), true);
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_EQ(inst.UserID(), QStringLiteral("AB"));
}

TEST_F(ReceiveTest, BareCrAsksAgainUntilTheRetriesAreUsed)
{
    ConnectIrda();
    QSignalSpy retries(ctl.get(), &QvifPort::ConnectRetry);
    ctl->SetStatus(4);
    ctl->DataSend(BuildFrame("XZ,R,", Wire::EOT), true);
    for (int i = 0; i < 3; ++i)
        ctl->ReceiveData("\r", true);
    EXPECT_EQ(link->Written().size(), 4);
    EXPECT_EQ(link->Written().last(), BuildFrame("XZ,R,", Wire::EOT));
    EXPECT_EQ(ctl->Status(), 4);
    ctl->ReceiveData("\r", true);
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_EQ(link->Written().size(), 4);
    QCoreApplication::processEvents();
    EXPECT_EQ(retries.count(), 2); // raised from the second retry on
}

TEST_F(ReceiveTest, BlocksAreAcknowledgedRefusedAndFinished)
{
    ConnectIrda();
    App().FramesSent = App().NaksSent = 0;
    ctl->SetStatus(3);
    const QByteArray request = BuildFrame("XZ,R,", Wire::EOT);
    ctl->DataSend(request, true);
    // A good ETB block: ACK block, which holds the echo.
    ctl->ReceiveData(BuildFrame("XZ,R,AB", Wire::ETB), true);
    ASSERT_EQ(link->Written().size(), 2);
    EXPECT_EQ(link->Written().at(1), BuildFrame("XZ,R,\x06", Wire::ETB));
    // A bad block: NAK block (ETB over this link).
    QByteArray bad = BuildFrame("XZ,R,CD", Wire::ETB);
    bad[bad.size() - 2] = bad.at(bad.size() - 2) == '0' ? '1' : '0';
    ctl->ReceiveData(bad, true);
    ASSERT_EQ(link->Written().size(), 3);
    EXPECT_EQ(link->Written().at(2), BuildFrame("XZ,R,\x15", Wire::ETB));
    EXPECT_EQ(App().NaksSent, 1);
    EXPECT_EQ(App().FramesSent, 2);
    EXPECT_EQ(App().ChecksumErrors, 1);
    // The last block ends in EOT and the request with it: what stands
    // behind it in the same read is logged and dropped, not answered.
    ctl->ReceiveData(BuildFrame("XZ,R,EF", Wire::EOT) + "\r", true);
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_EQ(link->Written().size(), 3);
    EXPECT_EQ(inst.UserID(), QStringLiteral("EF"));
    EXPECT_TRUE(Log().contains("<<< Not part of a request: dropped >>>"));
}

// A block that has arrived behind another in the same read is read after
// the first one is acknowledged, not thrown away by that ACK block; noise
// behind a block (no STX) still goes.
TEST_F(ReceiveTest, BlockBehindAnAcknowledgedOneIsRead)
{
    ConnectIrda();
    ctl->SetStatus(3);
    ctl->DataSend(BuildFrame("XZ,R,", Wire::EOT), true);
    ctl->ReceiveData(BuildFrame("XZ,R,AB", Wire::ETB) + BuildFrame("XZ,R,CD", Wire::ETB) + "\r", true);
    ASSERT_EQ(link->Written().size(), 3);
    EXPECT_EQ(link->Written().at(1), BuildFrame("XZ,R,\x06", Wire::ETB));
    EXPECT_EQ(link->Written().at(2), BuildFrame("XZ,R,\x06", Wire::ETB));
    EXPECT_EQ(inst.UserID(), QStringLiteral("CD"));
    EXPECT_EQ(ctl->Status(), 3);
    ctl->ReceiveData(BuildFrame("XZ,R,EF", Wire::EOT), true);
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_EQ(inst.UserID(), QStringLiteral("EF"));
}

TEST_F(ReceiveTest, CancelThrowsAnswersAway)
{
    ConnectIrda();
    ctl->SetStatus(4);
    ctl->DataSend(BuildFrame("XZ,R,", Wire::EOT), true);
    ctl->SetCancel(true);
    ctl->ReceiveData(BuildFrame("XZ,R,AB", Wire::EOT), true);
    EXPECT_EQ(ctl->Status(), 8);
    EXPECT_EQ(inst.UserID(), QStringLiteral("*"));
    EXPECT_EQ(link->Written().size(), 1);
    // The time-out with the retries used turns 8 into 2.
    for (int i = 0; i < 200 && ctl->Status() == 8; ++i)
        ctl->Tick();
    EXPECT_EQ(ctl->Status(), 2);
}

TEST_F(ReceiveTest, FrameEchoMustMatchTheRequestExactly)
{
    ConnectIrda();
    const QByteArray request = BuildFrame("A1,W,00C8,0FA0", Wire::EOT);
    ctl->SetStatus(5);
    ctl->DataSend(request, true);
    EXPECT_TRUE(ctl->ParseResponse(request));
    EXPECT_FALSE(ctl->ParseResponse(BuildFrame("A1,W,00C8,0FA0", Wire::ETB)));
    EXPECT_TRUE(Log().contains("<<< Response error >>>"));
    EXPECT_FALSE(ctl->ParseResponse(BuildFrame("A1,W,00C8", Wire::EOT)));
}

// A stray byte the converter put ahead of STX (a NUL, line noise) is not
// part of the block: every check counts from the STX, so a good answer is
// taken and a refusal is still read as one.
TEST_F(ReceiveTest, StrayByteAheadOfStxIsNotPartOfTheBlock)
{
    ConnectIrda();
    const QByteArray write = BuildFrame("A1,W,00C8,0FA0", Wire::EOT);
    const QByteArray read = BuildFrame("XZ,R,", Wire::EOT);
    QByteArray badSum = BuildFrame("XZ,R,CD", Wire::EOT);
    badSum[badSum.size() - 2] = badSum.at(badSum.size() - 2) == '0' ? '1' : '0';
    struct Case {
        const char* name;
        int status;
        QByteArray request;
        QByteArray answer;
        bool ok;
        const char* logged; // the serial-log line the answer leaves, if any
    };
    const Case cases[] = {
        {"a write's echo", 5, write, write, true, nullptr},
        {"a read answer", 4, read, BuildFrame("XZ,R,AB", Wire::EOT), true, nullptr},
        {"a refusal", 4, read, BuildFrame("XZ,R,\x15", Wire::EOT), false, "<<< NAK received >>>"},
        {"a wrong checksum", 4, read, badSum, false, "<<< Check SUM error >>>"},
    };
    for (const char stray : {'\0', '\xFF'}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (stray ? " after noise" : " after a NUL"));
            QFile::remove(home.file(QStringLiteral("SerialLog.log")));
            ctl->SetStatus(c.status);
            ctl->DataSend(c.request, true);
            EXPECT_EQ(ctl->ParseResponse(QByteArray(1, stray) + c.answer), c.ok);
            EXPECT_FALSE(Log().contains("<<< Response error >>>"));
            if (c.logged) {
                EXPECT_TRUE(Log().contains(c.logged));
            }
        }
    }
    EXPECT_EQ(inst.UserID(), QStringLiteral("AB"));
}

TEST_F(ReceiveTest, TimeOutResendsThenFails)
{
    ConnectIrda();
    ctl->SetTimeout(1);
    ctl->SetStatus(3);
    ctl->DataSend(BuildFrame("DR,R,", Wire::EOT), true);
    for (int i = 0; i < 11; ++i)
        ctl->Tick();
    ASSERT_EQ(link->Written().size(), 2); // the request again
    EXPECT_EQ(link->Written().last(), BuildFrame("DR,R,", Wire::EOT));
    ctl->ReceiveData(BuildFrame("DR,R,1,2,3", Wire::ETB), true); // not parsed: no collection, refused
    const int before = static_cast<int>(link->Written().size());
    ctl->DataSend(AckBlock(BuildFrame("DR,R,", Wire::EOT)), true);
    for (int i = 0; i < 11; ++i)
        ctl->Tick();
    // After an ACK block the time-out sends the NAK block.
    EXPECT_EQ(link->Written().last(), BuildFrame("DR,R,\x15", Wire::ETB));
    for (int i = 0; i < 40; ++i)
        ctl->Tick();
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_FALSE(App().AnswerReceived);
    EXPECT_GT(link->Written().size(), before);
}

TEST_F(ReceiveTest, InfraredDeviceEvents)
{
    QSignalSpy connected(ctl.get(), &QvifPort::OnConnect);
    QSignalSpy irdaError(ctl.get(), &QvifPort::IrDAError);
    link->FindDevice(QStringLiteral("Phone"));
    EXPECT_EQ(ctl->LinkState(), 0);
    link->FindDevice(QStringLiteral("Pelkar KV-3"));
    EXPECT_EQ(ctl->LinkState(), 2); // probed by the tick
    link->Drop();
    ctl->DisConnect();

    uclQvif service(nullptr, std::make_unique<FakeIrda>());
    App().ServiceMode = true;
    static_cast<FakeIrda*>(service.Irda())->FindDevice(QStringLiteral("KV-1"));
    EXPECT_EQ(service.LinkState(), 3);
    App().ServiceMode = false;

    link->RaiseError(1021, 10054);
    EXPECT_EQ(ctl->Status(), 7);
    ASSERT_EQ(irdaError.count(), 1);
    EXPECT_EQ(irdaError.at(0).at(0).toInt(), 10054);
    EXPECT_TRUE(Log().contains("Soket Error["));
    ctl->SetStatus(2);
    link->RaiseError(1030, 5);
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_TRUE(Log().contains("IrDA Error["));
    EXPECT_TRUE(Log().contains("][1030] (5)"));
    QCoreApplication::processEvents();
    EXPECT_EQ(connected.count(), 0);

    // Polled every sixth tick.
    const int polls = link->Polls();
    for (int i = 0; i < 12; ++i)
        ctl->Tick();
    EXPECT_EQ(link->Polls() - polls, 2);
}

TEST_F(ReceiveTest, InstrumentReadInProcess)
{
    FakeInstrument fake;
    link->Attach(&fake);
    ConnectIrda();
    ctl->SetTimerEnabled(true);
    ASSERT_TRUE(ctl->GetInstrument(&inst));
    EXPECT_EQ(fake.Commands().size(), 25);
    EXPECT_EQ(inst.SerialNo(), QStringLiteral("SN123456"));
    EXPECT_EQ(inst.Model(), QString()); // connected without a name
}

// A memory dump over the in-process fake instrument. What a block answers
// decides what it is: a block equal to the one taken last is a repeat only
// where the line leaves no other reading (a numbered header, or no time-out
// in between); in answer to an ACK block it is the next block and is taken.
// A dump either lists every line at its address, with one ACK block heard
// per block that had more to follow and none left over, or, where equal
// unnumbered blocks after a time-out cannot be told apart, fails and keeps
// the old listing whole.
TEST_F(ReceiveTest, DumpBlocksAreTakenByWhatTheyAnswer)
{
    using Fault = FakeInstrument::Fault;
    FakeInstrument fake;
    // The listing of an undisturbed download, numbered blocks.
    const QByteArray expected = AttachForDumps(fake);
    // The last block's lines stand at its address.
    ASSERT_TRUE(expected.contains("000100 41 42 43 44 45 46 47 48  49 4A 4B 4C 4D 4E 4F 50   ABCDEFGHIJKLMNOP\r\n"));
    ASSERT_TRUE(expected.contains("0000F0 FF FF FF FF FF FF FF FF  FF FF FF FF FF FF FF FF   ................\r\n"));

    const QByteArray ack("EP,R,\x06");
    const QByteArray nak("EP,R,\x15");
    struct Case {
        const char* name;
        std::function<void(FakeInstrument&)> arrange;
        bool exact;    // listed whole; otherwise the blocks cannot be told apart
        int lostAcks;  // ACK blocks the instrument did not hear
        bool repeat;   // a block came again in answer to a NAK block
    };
    const auto unnumbered = [](FakeInstrument& f) { f.AddFaultOn(Fault::UnnumberedBlocks, "EP,R,", 1, -1); };
    const Case cases[] = {
        {"equal blocks, each answering an ACK", unnumbered, true, 0, false},
        {"a block sent again after our NAK (the ACK went astray)",
         [&](FakeInstrument& f) { f.AddFaultOn(Fault::Silence, ack, 1); }, true, 1, true},
        {"a late block crossed by our NAK, then its repeat",
         [&](FakeInstrument& f) { f.AddFaultOn(Fault::LateBlock, ack, 1); }, true, 0, true},
        {"equal blocks, the first of them late",
         [&](FakeInstrument& f) {
             unnumbered(f);
             f.AddFaultOn(Fault::LateBlock, ack, 1);
         },
         false, 0, false},
        {"equal blocks, a late one equal to the one before it",
         [&](FakeInstrument& f) {
             unnumbered(f);
             f.AddFaultOn(Fault::LateBlock, ack, 2);
         },
         false, 0, false},
        {"equal blocks, an ACK astray among them",
         [&](FakeInstrument& f) {
             unnumbered(f);
             f.AddFaultOn(Fault::Silence, ack, 2);
         },
         false, 1, false},
        {"a NUL before STX", [](FakeInstrument& f) { f.AddFault(Fault::StrayNul, 1, -1); }, true, 0, false},
        {"a NUL before a repeat",
         [&](FakeInstrument& f) {
             f.AddFaultOn(Fault::Silence, ack, 2);
             f.AddFaultOn(Fault::StrayNul, nak, 1);
         },
         true, 1, true},
    };
    const QString path = home.file(QStringLiteral("Dump.dat"));
    const QByteArray old = "an older listing\r\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartFaultRun(fake, home.file(QStringLiteral("SerialLog.log")), path, old);
        c.arrange(fake);
        EXPECT_EQ(ctl->GetRomDump(path), c.exact) << Log().toStdString();
        EXPECT_EQ(ctl->LineDisturbed(), !c.exact);
        EXPECT_EQ(Log().contains("<<< Blocks cannot be told apart >>>"), !c.exact);
        if (c.exact) {
            EXPECT_EQ(ctl->Status(), 6);
            EXPECT_EQ(ReadAll(path).toStdString(), expected.toStdString());
            EXPECT_EQ(fake.Commands().count(ack) - c.lostAcks, kBlocks - 1);
        } else {
            EXPECT_EQ(ctl->Status(), 2);
            EXPECT_EQ(ReadAll(path), old);
            EXPECT_LE(fake.Commands().count(ack) - c.lostAcks, kBlocks - 1);
        }
        EXPECT_EQ(Log().contains("<<< Repeated block >>>"), c.repeat);
        EXPECT_FALSE(Log().contains("<<< Response error >>>"));
    }
}

// Bytes outside a frame are no block of any kind, whatever they hold: a block
// that lost its STX, or stray ETB and EOT bytes, in a read of their own or
// in a block's read, is neither acknowledged nor asked for again, counts no
// checksum error and ends nothing; the good block is taken.
TEST_F(ReceiveTest, NoiseHoldingBlockEndsIsNoBlock)
{
    FakeInstrument fake;
    const QByteArray expected = AttachForDumps(fake);
    enum class Place { OwnRead, Ahead, Behind };
    struct Case {
        const char* name;
        int answer;       // the answer the noise comes with
        Place place;
        QByteArray noise; // empty: the answer without its STX
    };
    const Case cases[] = {
        {"a block without its STX, in a read of its own", 1, Place::OwnRead, {}},
        {"the last block without its STX, in a read of its own", kBlocks - 1, Place::OwnRead, {}},
        {"ETB and EOT bytes ahead of a block", 2, Place::Ahead, "\x17?\x04"},
        {"EOT and ETB bytes behind a block", 1, Place::Behind, "\x04?\x17"},
    };
    const QString path = home.file(QStringLiteral("Dump.dat"));
    const QByteArray ack("EP,R,\x06");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartFaultRun(fake, home.file(QStringLiteral("SerialLog.log")), path, "an older listing\r\n");
        int answers = 0;
        fake.SetWriter([&](const QByteArray& bytes) {
            if (answers++ != c.answer) {
                link->Deliver(bytes);
                return;
            }
            const QByteArray noise = c.noise.isEmpty() ? bytes.mid(1) : c.noise;
            if (c.place == Place::OwnRead)
                link->Deliver(noise);
            link->Deliver(c.place == Place::Ahead ? noise + bytes : c.place == Place::Behind ? bytes + noise : bytes);
        });
        App().ChecksumErrors = 0;
        EXPECT_TRUE(ctl->GetRomDump(path)) << Log().toStdString();
        EXPECT_EQ(ctl->Status(), 6);
        EXPECT_EQ(ReadAll(path).toStdString(), expected.toStdString());
        EXPECT_EQ(fake.Commands(), (QList<QByteArray>{"EP,R,", ack, ack, ack, ack})) << Log().toStdString();
        EXPECT_EQ(App().ChecksumErrors, 0);
    }
}

// Calibration and maintenance commands against the fake instrument over a
// pseudo-terminal.
#include "common/clock.h"
#include "common/dates.h"
#include "link_fixture.h"
#include "records/instrument.h"

using Fault = FakeInstrument::Fault;

namespace {

class CommandFixture : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        Connect();
    }
    void TearDown() override
    {
        SetClock({});
        LinkFixture::TearDown();
    }
};

QList<QByteArray> Repeat(const QByteArray& command, int times)
{
    return QList<QByteArray>(times, command);
}

} // namespace

TEST_F(CommandFixture, CalibrationPollsThroughBusyAnswersToThePerGasResults)
{
    struct Case {
        const char* name;
        bool zero;
        const char* flags;
        int busy;
        QByteArray result;
        bool gas1Ok, gas2Ok;
    } cases[] = {
        {"zero, both passed", true, "11", 3, "00", true, true},
        {"zero, second gas failed", true, "11", 1, "01", true, false},
        {"zero, at once", true, "11", 0, "10", false, true},
        {"span, first gas", false, "10", 3, "01", true, false},
        {"span, both failed", false, "11", 2, "11", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.ClearFrames();
        FakeCommandState& cmd = fake.CommandState();
        (c.zero ? cmd.zeroBusyAnswers : cmd.spanBusyAnswers) = c.busy;
        (c.zero ? cmd.zeroResult : cmd.spanResult) = c.result;
        const QByteArray code = c.zero ? "SZ" : "S1";

        const bool ok = c.zero ? ctl->ZeroCal(QString::fromLatin1(c.flags)) : ctl->SpanCal(QString::fromLatin1(c.flags));
        EXPECT_TRUE(ok);
        EXPECT_EQ(ctl->Status(), 6);
        // One start, then one check per busy answer and one for the result.
        EXPECT_EQ(fake.Commands(), QList<QByteArray>{code + ",E," + c.flags} + Repeat(code + ",C,", c.busy + 1));
        EXPECT_EQ(c.zero ? cmd.zeroGasFlags : cmd.spanGasFlags, QByteArray(c.flags));
        const auto status = [&](int i) { return c.zero ? ctl->ZeroStatus(i) : ctl->SpanStatus(i); };
        EXPECT_EQ(status(0), c.gas1Ok);
        EXPECT_EQ(status(1), c.gas2Ok);
        EXPECT_FALSE(status(2));
        EXPECT_FALSE(status(-1));
    }
}

TEST_F(CommandFixture, CalibrationThatCannotStartSendsNoCheck)
{
    fake.AddFaultOn(Fault::NakRefusal, "SZ,E,11", 1, -1);
    EXPECT_FALSE(ctl->ZeroCal(QStringLiteral("11")));
    EXPECT_EQ(fake.Commands(), Repeat("SZ,E,11", 4));
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_TRUE(Log().contains(QStringLiteral("---Calibration Upload Failed---. Date = ")));
}

TEST_F(CommandFixture, CalibrationPollEndsOnAFailedCheckOrACancel)
{
    // The instrument stops answering while it is busy.
    fake.CommandState().spanBusyAnswers = 5;
    fake.AddFaultOn(Fault::Silence, "S1,C,", 3, -1);
    EXPECT_FALSE(ctl->SpanCal(QStringLiteral("01")));
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_EQ(fake.Commands(), QList<QByteArray>{"S1,E,01"} + Repeat("S1,C,", 2 + 4));
    EXPECT_FALSE(ctl->SpanStatus(0)); // still busy: no result
    EXPECT_FALSE(Log().contains(QStringLiteral("Calibration Upload Failed")));

    // The host cancels during the poll: the next answer ends it.
    fake.ClearFaults();
    fake.ClearFrames();
    fake.CommandState().zeroBusyAnswers = 100;
    QObject::connect(&fake, &FakeInstrument::FrameReceived, ctl.get(), [this](const QByteArray&) {
        if (fake.Commands().size() == 3)
            ctl->SetCancel(true);
    });
    EXPECT_FALSE(ctl->ZeroCal(QStringLiteral("11")));
    EXPECT_EQ(ctl->Status(), 8);
    EXPECT_EQ(fake.Commands().size(), 3);
    QObject::disconnect(&fake, nullptr, ctl.get(), nullptr);
}

TEST_F(CommandFixture, CoefficientWrites)
{
    clsInstrument inst;
    ASSERT_TRUE(ctl->GetInstrument(&inst));
    fake.ClearFrames();

    EXPECT_TRUE(ctl->SZX(1, -1, 300));
    EXPECT_TRUE(ctl->S1X(-32768, 32767));
    const QList<QByteArray> expected = {"SZ,X,0001,FFFF,012C", "S1,X,8000,7FFF"};
    EXPECT_EQ(fake.Commands(), expected);
    EXPECT_EQ(fake.State().airP1, 1);
    EXPECT_EQ(fake.State().airP2, -1);
    EXPECT_EQ(fake.State().airO2, 300);
    EXPECT_EQ(fake.State().gas[0].calCoefficient, -32768);
    EXPECT_EQ(fake.State().gas[1].calCoefficient, 32767);
    // The answers carry the values the instrument now holds.
    EXPECT_EQ(inst.AirP2Coefficient(), -1);
    EXPECT_EQ(inst.CalCoefficient(1), 32767);
    EXPECT_FLOAT_EQ(inst.AutoCalib(1), 20.9f);

    // A refused write fails after its resends.
    fake.ClearFrames();
    fake.AddFaultOn(Fault::NakRefusal, "SZ,X,0000,0000,0000", 1, -1);
    EXPECT_FALSE(ctl->SZX(0, 0, 0));
    EXPECT_EQ(fake.Commands().size(), 4);
    EXPECT_EQ(fake.State().airO2, 300);
}

TEST_F(CommandFixture, ClockDefaultsAndTheirRefusals)
{
    EXPECT_TRUE(ctl->SetDateTime(MakeDate(2024, 3, 5, 14, 7, 9)));
    EXPECT_EQ(fake.State().clock, QStringLiteral("240305140709"));
    EXPECT_TRUE(ctl->SetDefault());
    EXPECT_EQ(fake.CommandState().defaultsRestored, 1);
    EXPECT_EQ(fake.Commands(), (QList<QByteArray>{"HC,W,240305140709", "UX,E,"}));

    // A year the instrument's two digits cannot hold is not sent.
    fake.ClearFrames();
    EXPECT_FALSE(ctl->SetDateTime(MakeDate(1999, 12, 31, 23, 59, 59)));
    EXPECT_FALSE(ctl->SetDateTime(MakeDate(2100, 1, 1)));
    EXPECT_FALSE(ctl->SetDateTime(QDateTime()));
    EXPECT_TRUE(fake.Commands().isEmpty());
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_TRUE(Log().contains(QStringLiteral("<<< Date out of range >>> 1999/12/31 23:59:59")));

    fake.AddFaultOn(Fault::Silence, "UX,E,", 1, -1);
    EXPECT_FALSE(ctl->SetDefault());
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_EQ(fake.Commands(), Repeat("UX,E,", 4));
}

TEST_F(CommandFixture, ClearLoggerPollsUntilTheInstrumentReportsIt)
{
    fake.CommandState().clearBusyAnswers = 2;
    ctl->SetCancel(true); // left from an earlier request: cleared here
    EXPECT_TRUE(ctl->BodyDataClear());
    EXPECT_FALSE(ctl->Cancel());
    EXPECT_EQ(fake.Commands(), QList<QByteArray>{"XC,E,"} + Repeat("XC,C,", 3));
    EXPECT_TRUE(fake.CommandState().loggerCleared);
    EXPECT_EQ(fake.CommandState().loggerClears, 1);
    EXPECT_TRUE(Log().contains(QStringLiteral("--- Data Remove Start Sequence---")));
    EXPECT_TRUE(Log().contains(QStringLiteral("--- Data Remove Finished---.")));

    // A refused start sends no check.
    fake.ClearFrames();
    fake.AddFaultOn(Fault::NakRefusal, "XC,E,", 1, -1);
    EXPECT_FALSE(ctl->BodyDataClear());
    EXPECT_EQ(fake.Commands(), Repeat("XC,E,", 4));
    EXPECT_TRUE(Log().contains(QStringLiteral("--- Data Remove Failed---.")));
}

TEST_F(CommandFixture, PowerOffLeavesTheLineClosedAndTheInstrumentSilent)
{
    ctl->SetSerialComm(false); // the IrDA transport is reopened afterwards
    EXPECT_TRUE(ctl->BodyPowerOff());
    EXPECT_EQ(fake.Commands(), QList<QByteArray>{"RO,W,"});
    EXPECT_TRUE(fake.CommandState().poweredOff);
    EXPECT_FALSE(ctl->Serial()->IsOpen());
    EXPECT_TRUE(ctl->Irda()->IsOpen());
    EXPECT_EQ(ctl->LinkState(), 0);
    EXPECT_EQ(ctl->Status(), 0);
    EXPECT_FALSE(ctl->Connected());
    const QString log = Log();
    EXPECT_TRUE(log.indexOf(QStringLiteral("---Auto Power OFF Start Sequence---"))
                < log.indexOf(QStringLiteral("---Auto Power OFF Finished---")));

    // The host reopens the port: the instrument no longer answers the probe.
    QSignalSpy alarm(ctl.get(), &QvifPort::AlarmMessage);
    QSignalSpy connected(ctl.get(), &QvifPort::OnConnect);
    fake.ClearFrames();
    ctl->SetSerialComm(true);
    ctl->SetPortOpen(true);
    ASSERT_TRUE(WaitUntil([&] { return alarm.count() == 1; }));
    EXPECT_EQ(fake.Commands(), Repeat("RC,R,", 3));
    EXPECT_EQ(connected.count(), 0);

    // Switched on again, it is found as before.
    fake.CommandState().poweredOff = false;
    ctl->SetPortOpen(false);
    ctl->SetPortOpen(true);
    ASSERT_TRUE(WaitUntil([&] { return connected.count() == 1; }));
}

TEST_F(CommandFixture, PowerOffWithoutAnAnswerStillRestartsTheTransport)
{
    fake.AddFaultOn(Fault::Silence, "RO,W,", 1, -1);
    EXPECT_TRUE(ctl->BodyPowerOff());
    EXPECT_EQ(fake.Commands(), Repeat("RO,W,", 4));
    EXPECT_FALSE(ctl->Serial()->IsOpen());
    EXPECT_FALSE(ctl->Irda()->IsOpen()); // serial forced: IrDA stays closed
    EXPECT_EQ(ctl->LinkState(), 0);
    EXPECT_EQ(ctl->Status(), 0);
}

TEST_F(CommandFixture, PowerOffDoesNotWaitForTicksThatCannotCome)
{
    ctl->SetTimerEnabled(false); // as while the main window closes
    EXPECT_TRUE(ctl->BodyPowerOff());
    EXPECT_EQ(fake.Commands(), QList<QByteArray>{"RO,W,"});
    EXPECT_EQ(ctl->LinkState(), 0);
}

TEST_F(CommandFixture, InitialiseWritesTheIdentityGasesAndSetPointsThenClockAndClear)
{
    SetClock([] { return MakeDate(2025, 1, 2, 3, 4, 5); });
    clsInstrument inst;
    ASSERT_TRUE(ctl->GetInstrument(&inst));
    inst.SetChange_SpecType(true); // not part of the initialisation: cleared first
    fake.ClearFrames();

    EXPECT_TRUE(ctl->SetInitValue(&inst));
    const QList<QByteArray> expected = {
        "XZ,W,USER01    ",
        "XS,W,ST-7      ",
        "IN,W,SN123456    ",
        "HN,W,DUMMY1      ",
        "GJ,W,11,CO  500.0  1.0ppm ,OXY  40.0  0.1VOL%",
        "A2,W,01F4,00B4",
        "A1,W,00FA,00C3",
        "S1,W,0000,00D1",
        "HC,W,250102030405",
        "XC,E,",
        "XC,C,",
        "XC,C,",
    };
    EXPECT_EQ(fake.Commands(), expected);
    EXPECT_FALSE(inst.Change_SpecType());

    // A failed upload still sets the clock and clears the logger.
    fake.ClearFrames();
    fake.AddFaultOn(Fault::NakRefusal, "XS,W,ST-7      ", 1, -1);
    EXPECT_FALSE(ctl->SetInitValue(&inst));
    const QList<QByteArray> commands = fake.Commands();
    ASSERT_EQ(commands.size(), 1 + 4 + 1 + 3);
    EXPECT_EQ(commands.mid(5), (QList<QByteArray>{"HC,W,250102030405", "XC,E,", "XC,C,", "XC,C,"}));
    EXPECT_TRUE(inst.Change_StationID());
    EXPECT_TRUE(inst.Change_AutoCal(0));

    EXPECT_FALSE(ctl->SetInitValue(nullptr));
}

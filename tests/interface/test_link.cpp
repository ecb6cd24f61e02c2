#include "link_fixture.h"
#include "records/instrument.h"

#include <QTimer>

using Fault = FakeInstrument::Fault;

TEST_F(LinkFixture, ConnectsWithTheProbe)
{
    Connect();
    EXPECT_EQ(ctl->RCName(), QStringLiteral("KV-5"));
    EXPECT_EQ(ctl->LinkState(), 3);
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_TRUE(SerialLogText().contains("W : [STX]0001RC,R,[ETX]FB[EOT]"));
    EXPECT_TRUE(SerialLogText().contains("R : [STX]0001RC,R,KV-5[ETX]"));
    // A pseudo-terminal has no modem lines to set: noted, and the line works.
    EXPECT_TRUE(SerialLogText().contains("DTR cannot be set"));
}

TEST_F(LinkFixture, GetInstrumentReadsEverySlotInOrder)
{
    Connect();
    clsInstrument inst;
    QSignalSpy progress(ctl.get(), &QvifPort::InstMessage);
    ASSERT_TRUE(ctl->GetInstrument(&inst));
    EXPECT_EQ(ctl->Status(), 6);
    const QList<QByteArray> expected = {"VP,R,", "HB,R,", "HA,R,", "XZ,R,", "XS,R,", "IN,R,", "HN,R,",
                                        "HC,R,", "UJ,R,", "GJ,R,", "A1,R,", "A2,R,", "AS,R,", "AW,R,",
                                        "UV,R,", "AP,R,", "AT,R,", "AU,R,", "AV,R,", "XT,R,", "AL,R,",
                                        "SZ,R,", "S1,R,", "WD,R,", "WT,R,"};
    EXPECT_EQ(fake.Commands(), expected);
    EXPECT_EQ(inst.RomNumber(), 1203);
    EXPECT_EQ(inst.SUM(), QStringLiteral("A5C3"));
    EXPECT_FLOAT_EQ(inst.Battery(), 3.0f);
    EXPECT_EQ(inst.AnalogValue(4), 500);
    EXPECT_EQ(inst.UserID(), QStringLiteral("USER01"));
    EXPECT_EQ(inst.StationID(), QStringLiteral("ST-7"));
    EXPECT_EQ(inst.SerialNo(), QStringLiteral("SN123456"));
    EXPECT_EQ(inst.Model(), QStringLiteral("KV-5"));
    EXPECT_EQ(inst.DummySerial(), QStringLiteral("DUMMY1"));
    EXPECT_EQ(inst.SysDate(), MakeDate(2024, 3, 5, 14, 7, 9));
    EXPECT_EQ(inst.SpecType(), QStringLiteral("01"));
    EXPECT_EQ(inst.GasName(0), QStringLiteral("CO"));
    EXPECT_EQ(inst.GasName(1), QStringLiteral("OXY"));
    EXPECT_TRUE(inst.GasEnabled(1));
    EXPECT_FLOAT_EQ(inst.GasFullScale(1), 40.0f);
    EXPECT_FLOAT_EQ(inst.GasDesit(1), 0.1f);
    EXPECT_EQ(inst.GasPoint(1), 1);
    EXPECT_EQ(inst.GasUnit(1), QStringLiteral("VOL%"));
    EXPECT_FLOAT_EQ(inst.Warning(0), 25.0f);
    EXPECT_FLOAT_EQ(inst.Alarm(1), 18.0f);
    EXPECT_FLOAT_EQ(inst.Stel(1), -101.0f);
    EXPECT_EQ(inst.WarningType(), QStringLiteral("02"));
    EXPECT_EQ(inst.BackLight(), 10);
    EXPECT_EQ(inst.AirP2Coefficient(), -2);
    EXPECT_EQ(inst.AirO2Coefficient(), 300);
    EXPECT_FLOAT_EQ(inst.AutoCalib(1), 20.9f);
    EXPECT_EQ(inst.CalCoefficient(1), 250);
    EXPECT_EQ(inst.WarmTime(), 30);
    EXPECT_EQ(inst.WarmDisp(), QStringLiteral("01"));
    // A freshly read instrument has no pending change.
    EXPECT_FALSE(inst.Change_Warn(0) || inst.Change_Alarm(1) || inst.Change_GasEnable(1) || inst.Change_UserID()
                 || inst.Change_AutoCal(1) || inst.Change_AirCoefficient() || inst.Change_BackLight());
    EXPECT_EQ(progress.count(), 0);
}

namespace {

int CountOf(const QList<QByteArray>& commands, const QByteArray& command)
{
    return static_cast<int>(commands.count(command));
}

} // namespace

// One fault on the third slot's answer ("HA,R,"): each ends as the exchange
// rules say, and a failed slot stops the sending.
TEST_F(LinkFixture, FaultModesDuringTheInstrumentRead)
{
    struct Case {
        const char* name;
        Fault fault;
        int times;
        bool ok;
        int haFrames;      // "HA,R," frames the fake received
        int checksumErrors;
    } cases[] = {
        {"bad checksum once", Fault::BadChecksum, 1, true, 2, 1},
        {"NAK refusal once", Fault::NakRefusal, 1, true, 2, 0},
        {"silence once", Fault::Silence, 1, true, 2, 0},
        {"answer only to the resend", Fault::AnswerOnlyToResend, 1, true, 2, 0},
        {"bare CR", Fault::BareCr, 1, true, 2, 0},
        {"silence for good", Fault::Silence, -1, false, 4, 0},
        {"bad checksum for good", Fault::BadChecksum, -1, false, 4, 4},
        {"NAK refusal for good", Fault::NakRefusal, -1, false, 4, 0},
    };
    Connect();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.ClearFaults();
        fake.ClearFrames();
        App().ChecksumErrors = 0;
        fake.AddFaultOn(c.fault, "HA,R,", 1, c.times);
        clsInstrument inst;
        EXPECT_EQ(ctl->GetInstrument(&inst), c.ok);
        const QList<QByteArray> commands = fake.Commands();
        EXPECT_EQ(CountOf(commands, "HA,R,"), c.haFrames);
        EXPECT_EQ(App().ChecksumErrors, c.checksumErrors);
        if (c.ok) {
            EXPECT_EQ(ctl->Status(), 6);
            EXPECT_EQ(commands.size(), 25 + c.haFrames - 1);
            EXPECT_EQ(inst.AnalogValue(0), 100);
        } else {
            EXPECT_EQ(ctl->Status(), 7);
            EXPECT_EQ(commands.last(), QByteArray("HA,R,"));
            EXPECT_EQ(inst.UserID(), QStringLiteral("*")); // later slots keep their cleared values
            EXPECT_FLOAT_EQ(inst.Battery(), 3.0f);          // earlier ones stay
        }
    }
}

TEST_F(LinkFixture, AnswersInSmallPiecesMakeOneFrameEach)
{
    Connect();
    fake.SetSplit(3);
    clsInstrument inst;
    ASSERT_TRUE(ctl->GetInstrument(&inst));
    EXPECT_EQ(fake.Commands().size(), 25); // not one resend
    EXPECT_EQ(inst.GasName(1), QStringLiteral("OXY"));
}

TEST_F(LinkFixture, CancelEndsTheRequestAtTheNextAnswer)
{
    Connect();
    QObject::connect(&fake, &FakeInstrument::FrameReceived, ctl.get(), [this](const QByteArray& frame) {
        if (FakeInstrument::CommandOf(frame) == "HA,R,")
            ctl->SetCancel(true);
    });
    clsInstrument inst;
    EXPECT_FALSE(ctl->GetInstrument(&inst));
    EXPECT_EQ(ctl->Status(), 8);
    EXPECT_EQ(fake.Commands().last(), QByteArray("HA,R,"));
    EXPECT_TRUE(ctl->Cancel()); // left set: a late answer of this exchange still finds it
    QObject::disconnect(&fake, nullptr, ctl.get(), nullptr);
    // The next instrument read clears it and runs.
    EXPECT_TRUE(ctl->GetInstrument(&inst));
}

TEST_F(LinkFixture, WrongModelIsNeverConnected)
{
    fake.State().model = QStringLiteral("XX-9");
    QSignalSpy connected(ctl.get(), &QvifPort::OnConnect);
    QSignalSpy alarm(ctl.get(), &QvifPort::AlarmMessage);
    QSignalSpy retry(ctl.get(), &QvifPort::ConnectRetry);
    OpenPort();
    ASSERT_TRUE(WaitUntil([&] { return alarm.count() == 1; }));
    EXPECT_EQ(connected.count(), 0);
    EXPECT_EQ(retry.count(), 0);
    EXPECT_EQ(CountOf(fake.Commands(), "RC,R,"), 3);
    EXPECT_EQ(ctl->LinkState(), 0);
    EXPECT_EQ(ctl->Status(), 0);
    EXPECT_TRUE(alarm.at(0).at(0).toString().contains(QStringLiteral("No Response")));
}

TEST_F(LinkFixture, LineCutInTheMiddleFailsTheRequest)
{
    Connect();
    QSignalSpy disconnected(ctl.get(), &QvifPort::OnDisconnect);
    fake.AddFaultOn(Fault::LineCut, "HA,R,");
    clsInstrument inst;
    EXPECT_FALSE(ctl->GetInstrument(&inst));
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_TRUE(WaitUntil([&] { return disconnected.count() == 1; }));
    EXPECT_FALSE(ctl->Connected());
    EXPECT_FALSE(ctl->PortOpen());
    EXPECT_EQ(fake.Commands().last(), QByteArray("HA,R,"));
}

TEST_F(LinkFixture, LineEventsWhileARequestWaitsFailIt)
{
    Connect();
    for (int code : {1010, 1011}) {
        SCOPED_TRACE(code);
        fake.ClearFaults();
        fake.AddFaultOn(Fault::Silence, "VP,R,", 1, -1);
        fake.ClearFrames();
        QTimer::singleShot(30, ctl.get(), [this, code] { ctl->Serial()->RaiseLineEvent(code); });
        clsInstrument inst;
        EXPECT_FALSE(ctl->GetInstrument(&inst));
        EXPECT_EQ(ctl->Status(), 7);
        EXPECT_EQ(fake.Commands().size(), 1);
    }
    // Idle, the same event leaves the state done, as before.
    ctl->Serial()->RaiseLineEvent(1011);
    EXPECT_EQ(ctl->Status(), 6);
    ctl->Serial()->RaiseLineEvent(1004);
    EXPECT_EQ(ctl->Status(), 7);
}

TEST_F(LinkFixture, LinesOnEventDoesNotRestartTheProbe)
{
    Connect();
    QObject::connect(&fake, &FakeInstrument::FrameReceived, ctl.get(), [this](const QByteArray& frame) {
        if (FakeInstrument::CommandOf(frame) == "HA,R,")
            ctl->Serial()->RaiseLineEvent(SerialTransport::CtsChanged);
    });
    clsInstrument inst;
    EXPECT_TRUE(ctl->GetInstrument(&inst));
    EXPECT_EQ(ctl->LinkState(), 3);
    EXPECT_EQ(fake.Commands().size(), 25);
    EXPECT_EQ(CountOf(fake.Commands(), "RC,R,"), 0);
}

TEST_F(LinkFixture, ACancelLeftSetDoesNotStopTheNextConnection)
{
    ctl->SetCancel(true);
    Connect();
    EXPECT_FALSE(ctl->Cancel());
}

TEST_F(LinkFixture, RequestWithoutAConnectionStillEnds)
{
    // The probe gives up (wrong model): the port stays open, link state 0.
    fake.State().model = QStringLiteral("XX-9");
    QSignalSpy alarm(ctl.get(), &QvifPort::AlarmMessage);
    OpenPort();
    ASSERT_TRUE(WaitUntil([&] { return alarm.count() == 1; }));
    fake.AddFault(Fault::Silence, 1, -1);
    fake.ClearFrames();

    clsInstrument inst;
    EXPECT_FALSE(ctl->GetInstrument(&inst)); // the time-out rule ends it
    EXPECT_EQ(ctl->Status(), 7);
    EXPECT_EQ(fake.Commands(), QList<QByteArray>(4, "VP,R,"));

    // A cancel ends such a wait on the next tick.
    QTimer::singleShot(30, ctl.get(), [this] { ctl->SetCancel(true); });
    const bool ok = ctl->GetInstrument(&inst);
    EXPECT_FALSE(ok);
    EXPECT_EQ(ctl->Status(), 8);
}

TEST_F(LinkFixture, HostMayRunARequestFromOnConnect)
{
    // The automatic mode reads the instrument from its OnConnect handler;
    // the event arrives queued, so the answers still reach the control.
    clsInstrument inst;
    bool ran = false, ok = false;
    QObject::connect(ctl.get(), &QvifPort::OnConnect, ctl.get(), [&] {
        ran = true;
        ok = ctl->GetInstrument(&inst);
    });
    OpenPort();
    ASSERT_TRUE(WaitUntil([&] { return ran; }));
    EXPECT_TRUE(ok);
    EXPECT_EQ(inst.SerialNo(), QStringLiteral("SN123456"));
}

TEST_F(LinkFixture, LostPortIsReportedOnceWithItsOwnReason)
{
    Connect();
    QSignalSpy disconnected(ctl.get(), &QvifPort::OnDisconnect);
    QSignalSpy lost(ctl.get(), &QvifPort::PortLost);
    const QString device = fake.DevicePath();
    fake.CutLine();
    ASSERT_TRUE(WaitUntil([&] { return lost.count() == 1 && disconnected.count() == 1; }));
    WaitUntil([] { return false; }, 200);
    EXPECT_EQ(lost.count(), 1);
    EXPECT_FALSE(ctl->PortOpen());
    EXPECT_EQ(lost.at(0).at(0).toString(), device);
    const QString reason = lost.at(0).at(1).toString();
    EXPECT_TRUE(reason == "the device hung up" || reason == "the device is gone") << reason.toStdString();
    // The serial log names the same reason, not an unrelated error number.
    EXPECT_TRUE(Log().contains(QStringLiteral("Port %1 lost (%2)").arg(device, reason))) << Log().toStdString();
    EXPECT_FALSE(Log().contains(QStringLiteral("File exists")));

    // A port that is closed on purpose is not lost.
    QSignalSpy lostAgain(ctl.get(), &QvifPort::PortLost);
    FakeInstrument other;
    ASSERT_TRUE(other.OpenPty());
    ctl->SetDevicePath(other.DevicePath());
    ctl->SetPortOpen(true);
    ASSERT_TRUE(ctl->PortOpen());
    ctl->SetPortOpen(false);
    WaitUntil([] { return false; }, 200);
    EXPECT_EQ(lostAgain.count(), 0);
}

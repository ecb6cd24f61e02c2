// Live readings against the fake instrument over a pseudo-terminal. The
// tests drive the one-second ticks themselves, or count the polls of a
// faster timer.
#include "link_fixture.h"
#include "records/instrument.h"

#include <QTimer>

using Fault = FakeInstrument::Fault;

namespace {

class LiveFixture : public ReadInstrumentFixture {
protected:
    void SetUp() override
    {
        ReadInstrumentFixture::SetUp();
        ctl->SetDenstInterval(3600 * 1000); // ticks come from the test
    }

    int TimeOutLines() const
    {
        return static_cast<int>(SerialLogText().count("--- Current reading download time out.Date= "));
    }
};

const QList<QByteArray> kOneTick = {"DN,R,", "HA,R,", "HB,R,"};

} // namespace

TEST_F(LiveFixture, TickPollsReadingsAnalogueValuesAndBattery)
{
    fake.State().gas[0].reading = 12.3f;
    fake.State().analog = {1, 2, 3, 4, 5};
    fake.State().batteryMillivolts = 2800;
    QSignalSpy densty(ctl.get(), &QvifPort::Densty);
    ctl->SetRunDensty(true);
    ASSERT_TRUE(ctl->RunDensty());

    ctl->DenstTick();
    ASSERT_EQ(densty.count(), 1);
    EXPECT_FLOAT_EQ(densty.at(0).at(0).toFloat(), 12.3f);
    EXPECT_FLOAT_EQ(densty.at(0).at(1).toFloat(), 20.9f);
    EXPECT_EQ(inst.AnalogValue(4), 5);
    // The battery poll is not waited for: its answer ends the state later.
    EXPECT_EQ(ctl->Status(), 4);
    ASSERT_TRUE(WaitUntil([&] { return ctl->Status() == 6; }));
    EXPECT_FLOAT_EQ(inst.Battery(), 2.8f);
    EXPECT_EQ(fake.Commands(), kOneTick);

    // Failure and no-value readings, and a disabled gas.
    struct Case {
        const char* name;
        bool fails0;
        float reading1;
        bool enabled1;
        float expected0, expected1;
    } cases[] = {
        {"failure and no value", true, -101.0f, true, -110.0f, -101.0f},
        {"second gas disabled", false, 19.0f, false, 12.3f, -101.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        densty.clear();
        fake.State().gas[0].readingFails = c.fails0;
        fake.State().gas[1].reading = c.reading1;
        inst.SetGasEnabled(1, c.enabled1);
        ctl->DenstTick();
        ASSERT_EQ(densty.count(), 1);
        EXPECT_FLOAT_EQ(densty.at(0).at(0).toFloat(), c.expected0);
        EXPECT_FLOAT_EQ(densty.at(0).at(1).toFloat(), c.expected1);
        ASSERT_TRUE(WaitUntil([&] { return ctl->Status() == 6; }));
    }
}

TEST_F(LiveFixture, UnansweredBatteryPollIsNotedOnEverySecondTick)
{
    ctl->SetTimerEnabled(false); // no answer time-out between the ticks
    fake.AddFaultOn(Fault::Silence, "HB,R,", 1, -1);
    ctl->SetRunDensty(true);

    ctl->DenstTick(); // polls; the battery answer does not come
    EXPECT_EQ(ctl->Status(), 4);
    ctl->DenstTick(); // finds it pending: noted, and idle again
    EXPECT_EQ(ctl->Status(), 2);
    EXPECT_EQ(TimeOutLines(), 1);
    ctl->DenstTick(); // polls again
    ctl->DenstTick();
    EXPECT_EQ(TimeOutLines(), 2);
    ASSERT_TRUE(WaitUntil([&] { return fake.Commands().size() == 6; }));
    EXPECT_EQ(fake.Commands(), kOneTick + kOneTick);
}

TEST_F(LiveFixture, SilentWhileARequestHasFailed)
{
    ctl->SetRunDensty(true);
    ctl->SetStatus(7);
    ctl->DenstTick();
    WaitUntil([] { return false; }, 50);
    EXPECT_TRUE(fake.Commands().isEmpty());
    EXPECT_EQ(ctl->Status(), 7);

    // A request that leaves the control idle lets the polls resume.
    ctl->DisConnect();
    ctl->DenstTick();
    ASSERT_TRUE(WaitUntil([&] { return fake.Commands().size() == 3; }));
    EXPECT_EQ(fake.Commands(), kOneTick);
}

TEST_F(LiveFixture, SwitchingOffWaitsForThePendingPoll)
{
    ctl->SetRunDensty(true);
    ctl->SetRunDensty(true); // already on: nothing restarts
    ctl->DenstTick();
    ASSERT_EQ(ctl->Status(), 4); // the battery poll is still out
    ctl->SetRunDensty(false);
    EXPECT_FALSE(ctl->RunDensty());
    EXPECT_EQ(ctl->Status(), 6);
    EXPECT_FLOAT_EQ(inst.Battery(), 3.0f);
    ctl->SetRunDensty(false); // already off: nothing to wait for
    EXPECT_EQ(fake.Commands(), kOneTick);
}

TEST_F(LiveFixture, TimerPollsOnceASecondUntilSwitchedOff)
{
    // The live timer ticks once a second; here it ticks faster, and the test
    // counts the polls rather than timing them.
    {
        const uclQvif fresh;
        const QTimer* timer = fresh.findChild<QTimer*>(QStringLiteral("tmrDenst"));
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), 1000);
    }
    const QTimer* timer = ctl->findChild<QTimer*>(QStringLiteral("tmrDenst"));
    ASSERT_NE(timer, nullptr);
    ctl->SetDenstInterval(20);
    int polls = 0;
    QObject::connect(&fake, &FakeInstrument::FrameReceived, ctl.get(), [&](const QByteArray& frame) {
        if (FakeInstrument::CommandOf(frame) == "DN,R,")
            ++polls;
    });
    ctl->SetRunDensty(true);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(polls, 0) << "the first poll waits one tick";
    ASSERT_TRUE(WaitUntil([&] { return polls >= 2; }, 20000));

    ctl->SetRunDensty(false);
    EXPECT_FALSE(timer->isActive());
    const int count = polls;
    ctl->SetDenstInterval(10); // were it still running, it would poll now
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(polls, count);
    QObject::disconnect(&fake, nullptr, ctl.get(), nullptr);
}

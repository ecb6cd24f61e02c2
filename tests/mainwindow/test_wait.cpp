#include "main_window_fixture.h"

#include <QTimer>

TEST_F(MainWindowTest, WaitEndsWhenDoneAtItsBoundOrWhenTheWindowCloses)
{
    // The wait's clock stands still unless a case moves it, so only done()
    // or a closing window can end a wait that is not meant to reach its bound.
    qint64 now = 0;
    SetWaitClock([&now] { return now; });

    // Done: timers run inside the wait, and it returns at the first turn
    // that finds done() true.
    int ticks = 0;
    QTimer t;
    t.setInterval(20);
    QObject::connect(&t, &QTimer::timeout, [&] { ++ticks; });
    t.start();
    EXPECT_TRUE(WaitYielding([&] { return ticks >= 3; }, 5000));
    EXPECT_EQ(ticks, 3);
    t.stop();

    // Never done: the bound ends it once the clock has moved that far, and
    // not a turn before.
    int turns = 0;
    EXPECT_FALSE(WaitYielding([&] {
        ++turns;
        now += 10;
        return false;
    }, 150));
    EXPECT_EQ(turns, 15);

    // The main window is closed while a wait runs: the wait returns at its
    // next turn and the window is hidden, not deleted. (Were the close not
    // to end it, done() would after many turns, and the wait return true.)
    frmMain& w = MakeWindow();
    w.show();
    prompt.ExpectBox(MsgResult::Yes); // "End ?"
    QTimer::singleShot(50, &w, [&w] { w.close(); });
    turns = 0;
    EXPECT_FALSE(WaitYielding([&turns] { return ++turns > 2000; }, 20000));
    EXPECT_TRUE(w.IsClosing());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(WaitYielding([] { return false; }, 20000)) << "later waits end at once too";
}

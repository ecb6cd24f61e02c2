#include "main_window_fixture.h"

#include <QElapsedTimer>
#include <QTimer>

TEST_F(MainWindowTest, WaitEndsWhenDoneAtItsBoundOrWhenTheWindowCloses)
{
    QElapsedTimer clock;

    // Done: timers run inside the wait.
    int ticks = 0;
    QTimer t;
    t.setInterval(20);
    QObject::connect(&t, &QTimer::timeout, [&] { ++ticks; });
    t.start();
    clock.start();
    EXPECT_TRUE(WaitYielding([&] { return ticks >= 3; }, 5000));
    EXPECT_LT(clock.elapsed(), 4000);

    // Never done: the bound ends it.
    clock.restart();
    EXPECT_FALSE(WaitYielding([] { return false; }, 150));
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_LT(clock.elapsed(), 3000);

    // The main window is closed while a wait runs: the wait returns at its
    // next turn and the window is hidden, not deleted.
    frmMain& w = MakeWindow();
    w.show();
    prompt.ExpectBox(MsgResult::Yes); // "End ?"
    QTimer::singleShot(50, &w, [&w] { w.close(); });
    clock.restart();
    EXPECT_FALSE(WaitYielding([] { return false; }, 20000));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(w.IsClosing());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(WaitYielding([] { return false; }, 20000)) << "later waits end at once too";
}

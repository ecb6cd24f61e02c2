#pragma once
#include <QtGlobal>
#include <functional>

// The one wait of the windows that serves the event loop meanwhile (the
// splash wait, the two-second waits, waits for a file to go away).
//
// Waits until done() returns true, at most maxMs milliseconds, and stops
// early once waits are abandoned (the main window is closing or the
// application is quitting). done() is tested before the first turn.
// Returns true when done() became true.
bool WaitYielding(const std::function<bool()>& done, int maxMs);

// The milliseconds a wait measures its bound with: a monotonic clock.
// Tests replace it to end a wait by its bound, or never, at will; an empty
// function restores the real one.
qint64 WaitClockMs();
void SetWaitClock(std::function<qint64()> clock);

// Set by the main window once its close has been accepted; every running
// and later wait then returns at its next turn.
void SetWaitsAbandoned(bool abandoned);
bool WaitsAbandoned();

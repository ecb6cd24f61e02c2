#pragma once
#include <functional>

// The one wait of the windows that serves the event loop meanwhile (the
// splash wait, the two-second waits, waits for a file to go away).
//
// Waits until done() returns true, at most maxMs milliseconds, and stops
// early once waits are abandoned (the main window is closing or the
// application is quitting). done() is tested before the first turn.
// Returns true when done() became true.
bool WaitYielding(const std::function<bool()>& done, int maxMs);

// Set by the main window once its close has been accepted; every running
// and later wait then returns at its next turn.
void SetWaitsAbandoned(bool abandoned);
bool WaitsAbandoned();
